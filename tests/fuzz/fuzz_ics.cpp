// The iCalendar import on any bytes: it must refuse or read them, never crash,
// leak or hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "special/ImportIcs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    for (int annee : {2027, 2026}) {
        const ImportIcs r = LireIcs(texte, annee, "Europe/Paris");
        double table[13][43] = {};
        const auto cases = ColorerJours(r, 255, table);
        if (r.etat == EtatIcs::Ok && (r.nombreJours <= 0 || cases.empty()))
            __builtin_trap();
        (void)MessageIcs(r);
    }
    return 0;
}
