// The number reader and writer. Properties: the value of any text is never NaN;
// plain decimal text reads as the C library reads it in the C locale, whatever
// the process locale; every finite double written by TexteNombre (with or
// without its sign position) reads back exactly; rounding goes to the nearest
// integer, halves to the even neighbour.
#include "Fuzz.h"

#include "commun/Nombres.h"

#include <clocale>
#include <cmath>
#include <cstring>
#include <locale.h>
#include <regex>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::setlocale(LC_ALL, ""); // as the program does: the tests run it under fr_FR.UTF-8 too
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    const std::string texte(reinterpret_cast<const char*>(data), taille);
    const double v = ValeurTexte(texte);
    EXIGER(!std::isnan(v));

    static const std::regex simple("[+-]?[0-9]+(\\.[0-9]*)?([eE][+-]?[0-9]{1,6})?");
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    if (taille < 64 && std::regex_match(texte, simple))
        EXIGER(v == ::strtod_l(texte.c_str(), nullptr, c));

    if (taille >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        if (std::isfinite(x)) {
            const std::string t = TexteNombre(x);
            EXIGER(ValeurTexte(t) == x && ValeurTexte(t + " ") == x && ValeurTexte(TexteNombreSigne(x)) == x);
            EXIGER(t.find(',') == std::string::npos && t.front() != ' ');
            const double r = ArrondiPair(x);
            EXIGER(r == std::trunc(r) && std::fabs(r - x) <= 0.5);
            if (std::fabs(r - x) == 0.5)
                EXIGER(std::fmod(r, 2.0) == 0);
            bool ok = false;
            const int32_t n = VersEntier32(x, &ok);
            EXIGER(ok == (r >= -2147483648.0 && r <= 2147483647.0));
            if (ok)
                EXIGER(double(n) == r);
            // Halves built from the input's integer part.
            const double moitie = std::trunc(std::fmod(x, 1e9)) + 0.5;
            EXIGER(std::fmod(ArrondiPair(moitie), 2.0) == 0);
        }
    }
    return 0;
}
