#include "output/FormatSortie.h"

#include "commun/Texte.h"

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
    for (FormatSortie f : Formats) {
        const std::string fin = std::string(".") + ExtensionFormat(f);
        if (FinitParSansCasse(nom, fin) && nom.size() > fin.size() && nom[nom.size() - fin.size() - 1] != '/')
            return f;
    }
    return FormatSortie::Aucun;
}

bool FormatVectoriel(FormatSortie format)
{
    return format == FormatSortie::Pdf || format == FormatSortie::Svg;
}

std::string NomAvecExtension(std::string_view nom, FormatSortie choisi)
{
    std::string resultat(nom);
    if (nom.empty() || FormatDuNom(nom) != FormatSortie::Aucun || choisi == FormatSortie::Aucun)
        return resultat;
    if (resultat.back() != '.')
        resultat += '.';
    return resultat + ExtensionFormat(choisi);
}
