#include "app/ValeursOptions.h"

#include <algorithm>

#include "app/Saisies.h"
#include "commun/ValeurCouleur.h"

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

std::optional<Periode> PeriodeOption(std::string_view texte)
{
    if (const std::optional<int> annee = AnneeOption(texte))
        return Periode{*annee, 1};
    const std::optional<Periode> p = PeriodeDeTexte(texte);
    return p && p->scolaire() ? p : std::nullopt;
}

std::optional<int> LargeurOption(std::string_view texte)
{
    return EntierDansPlage(texte, LargeurMin, LargeurMax);
}

std::optional<int> CouleurOption(std::string_view texte)
{
    if (texte.empty() || texte.front() != '#')
        return EntierDansPlage(texte, 0, CouleurMax);
    // "#RRGGBB": red first, as the web and the colour pickers write it; the
    // colour value has red in its low byte.
    if (texte.size() != 7)
        return std::nullopt;
    int valeur = 0;
    for (int i = 0; i < 3; ++i) {
        int octet = 0;
        for (char c : texte.substr(1 + 2 * i, 2)) {
            const int chiffre = c >= '0' && c <= '9'   ? c - '0'
                                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                       : -1;
            if (chiffre < 0)
                return std::nullopt;
            octet = octet * 16 + chiffre;
        }
        valeur += octet << (8 * i);
    }
    return valeur;
}

std::optional<int> EntierOption(std::string_view texte, int min, int max)
{
    return EntierDansPlage(texte, min, max);
}

std::optional<std::pair<int, int>> MoisOption(std::string_view texte)
{
    const size_t tiret = texte.find('-');
    const std::optional<int> premier = EntierDansPlage(texte.substr(0, tiret), 1, 12);
    const std::optional<int> dernier =
        tiret == std::string_view::npos ? premier : EntierDansPlage(texte.substr(tiret + 1), 1, 12);
    if (!premier || !dernier)
        return std::nullopt;
    return std::pair{*premier, *dernier};
}

int DistanceEdition(std::string_view a, std::string_view b)
{
    // Rows of the usual table: d[i][j] for a's first i letters and b's first j.
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        for (size_t j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = int(i + j);
                continue;
            }
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

std::string_view NomProche(std::string_view tape, const std::vector<std::string_view>& noms)
{
    const int permis = std::clamp(int(tape.size()) / 3, 1, 3);
    std::string_view proche;
    int meilleure = permis + 1;
    for (std::string_view nom : noms)
        if (const int d = DistanceEdition(tape, nom); d < meilleure)
            meilleure = d, proche = nom;
    return proche;
}
