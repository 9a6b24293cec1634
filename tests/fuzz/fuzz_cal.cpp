// The input is read as a .Cal file; its table is written back with its year (or the input's first bytes).
#include "Fuzz.h"

#include "special/FichierCal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    const std::string_view entree(reinterpret_cast<const char*>(data), taille);
    // Read over a marker: month 0 and cell 42 never change, only to valid colours, as many as values were read.
    double table[13][43], relu[13][43] = {};
    std::fill(&table[0][0], &table[0][0] + 13 * 43, -7.0);
    const LectureCal lu = LireCal(entree, table);
    int changees = 0;
    for (int i = 0; i < 13 * 43; ++i) {
        double& v = table[i / 43][i % 43];
        EXIGER(v == -7.0 || (i >= 43 && i % 43 != 42 && EstCouleurValide(v)));
        changees += v != -7.0;
        v = v == -7.0 ? 0.0 : v;
    }
    EXIGER(changees == lu.valeursLues && lu.champsLus <= 860); // 20 month lines for a school year

    // Written, it reads back complete, to the same values and year, and is written again to the same bytes.
    const std::string annee = lu.annee.empty() ? std::string(entree.substr(0, 6)) : lu.annee;
    const std::string texte = EcrireCal(table, annee);
    const LectureCal r = LireCal(texte, relu);
    EXIGER(r.ok && r.champsInvalides + r.couleursInvalides == 0 && !r.donneesEnTrop);
    EXIGER(std::memcmp(table, relu, sizeof table) == 0 && (lu.annee.empty() || r.annee == lu.annee));
    const std::filesystem::path cal = DossierFuzz() / "essai.Cal";
    EXIGER(SauverCal(cal, relu, annee) && LireFichier(cal) == texte && NombreDeFichiers() == 1);
    return 0;
}
