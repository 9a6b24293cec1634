// The .Cal reader and writer. The input is read as a file; the table it gives
// is written back with the year it gave (or the input's first bytes as a
// year). Properties: nothing crashes; only valid colours reach the table; what
// is written reads back complete, to the same values and year, with nothing
// after the year; writing that again gives the same bytes; the file written
// through the atomic writer holds those bytes.
#include "Fuzz.h"

#include "special/FichierCal.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    const std::string_view entree(reinterpret_cast<const char*>(data), taille);
    // Read over a marker first: month 0 and cell 42 are never written, and as
    // many cells change as values were read.
    double table[13][43];
    std::fill(&table[0][0], &table[0][0] + 13 * 43, -7.0);
    const LectureCal lu = LireCal(entree, table);
    EXIGER(lu.champsLus <= 516 && lu.valeursLues <= 504);
    int changees = 0;
    for (int m = 0; m < 13; ++m)
        for (int k = 0; k < 43; ++k) {
            const bool change = table[m][k] != -7.0;
            EXIGER(!change || (m != 0 && k != 42 && EstCouleurValide(table[m][k])));
            changees += change;
            table[m][k] = change ? table[m][k] : 0.0;
        }
    EXIGER(changees == lu.valeursLues);

    const std::string annee = lu.annee.empty() ? std::string(entree.substr(0, 6)) : lu.annee;
    const std::string texte = EcrireCal(table, annee);
    double relu[13][43] = {};
    const LectureCal r = LireCal(texte, relu);
    EXIGER(r.ok && r.champsInvalides == 0 && r.couleursInvalides == 0 && !r.donneesEnTrop);
    EXIGER(std::memcmp(table, relu, sizeof table) == 0);
    if (!lu.annee.empty())
        EXIGER(r.annee == lu.annee);
    EXIGER(EcrireCal(relu, annee) == texte);

    const std::filesystem::path cal = DossierFuzz() / "essai.Cal";
    EXIGER(SauverCal(cal, table, annee) && LireFichier(cal) == texte && NombreDeFichiers() == 1);
    return 0;
}
