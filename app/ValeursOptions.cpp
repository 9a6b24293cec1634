#include "app/ValeursOptions.h"

#include "app/Saisies.h"

namespace {
std::optional<int> EntierDansPlage(std::string_view texte, int min, int max)
{
    if (texte.empty() || texte.size() > 9)
        return std::nullopt;
    int n = 0;
    for (char c : texte) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < min || n > max)
        return std::nullopt;
    return n;
}
} // namespace

std::optional<int> AnneeOption(std::string_view texte)
{
    return EntierDansPlage(texte, AnneeMin, AnneeMax);
}

std::optional<int> LargeurOption(std::string_view texte)
{
    return EntierDansPlage(texte, LargeurMin, LargeurMax);
}

std::optional<int> CouleurOption(std::string_view texte)
{
    return EntierDansPlage(texte, 0, 0xFFFFFF);
}
