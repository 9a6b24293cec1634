#include "Fuzz.h"

#include "special/ImportIcs.h"

// Any bytes are read or refused without a crash or a leak, each input within the time and memory scripts/fuzz.sh
// gives it; what is read colours its days in bounds, also in a year whose repetitions the program expands alone.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    for (Periode periode : {Periode{2027, 1}, Periode{2026, 9}, Periode{2700, 1}}) {
        const ImportIcs r = LireIcs({reinterpret_cast<const char*>(data), taille}, periode, "Europe/Paris");
        double table[13][43] = {};
        const auto cases = ColorerJours(r, 255, table);
        for (const CaseSP& c : cases)
            EXIGER(c.mois >= 1 && c.mois <= 12 && c.cellule >= 0 && c.cellule < 42 && table[c.mois][c.cellule] == 255);
        const auto jours = std::count(r.jours.begin(), r.jours.end(), true);
        EXIGER(r.etat != EtatIcs::Ok || (r.nombreJours > 0 && r.nombreJours == jours && cases.size() >= size_t(jours)));
        EXIGER(!MessageIcs(r).empty());
    }
    return 0;
}
