#include "output/FormatSortie.h"

#include "commun/NomsFichiers.h"

namespace {
constexpr FormatSortie Formats[] = {FormatSortie::Bmp, FormatSortie::Png, FormatSortie::Pdf, FormatSortie::Svg};
} // namespace

const char* ExtensionFormat(FormatSortie format)
{
    switch (format) {
    case FormatSortie::Bmp: return "bmp";
    case FormatSortie::Png: return "png";
    case FormatSortie::Pdf: return "pdf";
    case FormatSortie::Svg: return "svg";
    case FormatSortie::Aucun: break;
    }
    return "";
}

FormatSortie FormatDuNom(std::string_view nom)
{
    // A bare ".pdf" (or a folder ending in "/.pdf") has no name before its extension.
    for (FormatSortie f : Formats)
        if (AExtension(nom, std::string(".") + ExtensionFormat(f)))
            return f;
    return FormatSortie::Aucun;
}

bool FormatVectoriel(FormatSortie format)
{
    return format == FormatSortie::Pdf || format == FormatSortie::Svg;
}

std::string NomAvecExtension(std::string_view nom, FormatSortie choisi)
{
    if (FormatDuNom(nom) != FormatSortie::Aucun || choisi == FormatSortie::Aucun)
        return std::string(nom);
    return AvecExtension(nom, std::string(".") + ExtensionFormat(choisi));
}
