#include "Fuzz.h"

#include "commun/Nombres.h"

#include <cmath>
#include <locale.h>
#include <regex>

// The environment's locale, as the program takes it: scripts/fuzz.sh gives fr_FR.UTF-8 (a decimal comma).
[[maybe_unused]] static const char* const locale = ::setlocale(LC_ALL, "");

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    // Any text has a value, never NaN; plain decimal text reads as the C library reads it in the C locale.
    const std::string texte(reinterpret_cast<const char*>(data), taille);
    static const std::regex simple("[+-]?[0-9]+(\\.[0-9]*)?([eE][+-]?[0-9]{1,6})?");
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    EXIGER(!std::isnan(ValeurTexte(texte)));
    EXIGER(taille >= 64 || !regex_match(texte, simple) || ValeurTexte(texte) == strtod_l(texte.data(), nullptr, c));
    double x;
    if (taille < sizeof x || (std::memcpy(&x, data, sizeof x), !std::isfinite(x)))
        return 0;

    // Every finite double is written without a comma or a leading blank and reads back exactly.
    const std::string t = TexteNombre(x);
    EXIGER(ValeurTexte(t) == x && ValeurTexte(t + " ") == x && ValeurTexte(TexteNombreSigne(x)) == x);
    EXIGER(t.find(',') == std::string::npos && t.front() != ' ');
    // Nearest integer, halves (also built from the input) to the even one; 32 bits tell whether it fitted.
    const double r = ArrondiPair(x), moitie = std::trunc(std::fmod(x, 1e9)) + 0.5;
    EXIGER(r == std::trunc(r) && std::fabs(r - x) <= 0.5 && (std::fabs(r - x) < 0.5 || std::fmod(r, 2.0) == 0));
    EXIGER(std::fmod(ArrondiPair(moitie), 2.0) == 0);
    bool ok = false;
    const int32_t n = VersEntier32(x, &ok);
    EXIGER(ok == (r >= -2147483648.0 && r <= 2147483647.0) && double(n) == std::clamp(r, -2147483648.0, 2147483647.0));
    return 0;
}
