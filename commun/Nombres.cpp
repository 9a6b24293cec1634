#include "commun/Nombres.h"

#include "commun/Texte.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <limits>

double ArrondiPair(double x)
{
    if (!std::isfinite(x))
        return x;
    double r = std::round(x); // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5)
        r = 2.0 * std::round(x / 2.0);
    return r;
}

namespace {
template <typename T>
T versEntier(double x, bool* ok)
{
    double r = ArrondiPair(x);
    bool dedans = std::isfinite(r) && r >= double(std::numeric_limits<T>::min())
                  && r <= double(std::numeric_limits<T>::max());
    if (ok)
        *ok = dedans;
    if (dedans)
        return static_cast<T>(r);
    if (std::isnan(r))
        return 0;
    return r < 0 ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
}

// Value of the text built below: optional sign, digits with at most one point,
// optional exponent "e[sign]digits". Read with from_chars, which ignores the
// process locale (a French locale would take the point for garbage). Out of
// range values become an infinity or a zero, as with strtod.
double lireDecimal(std::string_view t)
{
    const bool negatif = !t.empty() && t.front() == '-';
    if (!t.empty() && (t.front() == '-' || t.front() == '+'))
        t.remove_prefix(1);
    double v = 0;
    auto [fin, err] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    (void)fin;
    if (err == std::errc::result_out_of_range) {
        // Decimal exponent of the first significant digit decides which way.
        const size_t e = t.find('e');
        const std::string_view mantisse = t.substr(0, e);
        long exposant = 0;
        if (e != std::string_view::npos)
            std::from_chars(t.data() + e + 1 + (t[e + 1] == '+'), t.data() + t.size(), exposant);
        const size_t point = std::min(mantisse.find('.'), mantisse.size());
        const size_t premier = mantisse.find_first_not_of("0.");
        const long position = premier == std::string_view::npos ? 0
                              : premier < point                 ? long(point - premier) - 1
                                                                : -long(premier - point);
        v = position + exposant > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negatif ? -v : v;
}

// Reads the number at the start of s; returns the value and how many characters
// belong to it (0 when none).
double lireNombre(std::string_view s, size_t& fin)
{
    size_t i = 0;
    while (i < s.size() && EstBlanc(s[i], BlancsNombre))
        ++i;
    fin = 0;
    if (i + 1 < s.size() && s[i] == '&') {
        char p = s[i + 1];
        int base = (p == 'H' || p == 'h') ? 16 : (p == 'O' || p == 'o') ? 8 : 0;
        if (base != 0) {
            size_t j = i + 2;
            double v = 0;
            bool chiffres = false;
            for (; j < s.size(); ++j) {
                char c = s[j];
                int d = -1;
                if (c >= '0' && c <= '9')
                    d = c - '0';
                else if (base == 16 && c >= 'a' && c <= 'f')
                    d = c - 'a' + 10;
                else if (base == 16 && c >= 'A' && c <= 'F')
                    d = c - 'A' + 10;
                if (d < 0 || d >= base)
                    break;
                v = v * base + d;
                chiffres = true;
            }
            if (chiffres)
                fin = j;
            return chiffres ? v : 0.0;
        }
    }
    // Decimal: copy the number's characters (blanks between digits skipped).
    std::string tampon;
    size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-'))
        tampon += s[j++];
    bool chiffres = false, point = false;
    size_t finChiffres = 0;
    for (; j < s.size(); ++j) {
        char c = s[j];
        if (c >= '0' && c <= '9') {
            tampon += c;
            chiffres = true;
            finChiffres = j + 1;
        } else if (c == '.' && !point) {
            tampon += c;
            point = true;
        } else if (EstBlanc(c, BlancsNombre)) {
            continue;
        } else {
            break;
        }
    }
    if (!chiffres)
        return 0.0;
    fin = finChiffres;
    // Exponent: E or D, optional sign, digits.
    if (j < s.size() && (s[j] == 'e' || s[j] == 'E' || s[j] == 'd' || s[j] == 'D')) {
        size_t k = j + 1;
        std::string exp = "e";
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            exp += s[k++];
        size_t debut = k;
        while (k < s.size() && s[k] >= '0' && s[k] <= '9' && k - debut < 6)
            exp += s[k++];
        if (k > debut) {
            while (k < s.size() && s[k] >= '0' && s[k] <= '9')
                ++k; // absurdly long exponents saturate below
            tampon += exp;
            fin = k;
        }
    }
    return lireDecimal(tampon);
}
} // namespace

int16_t VersEntier16(double x, bool* ok) { return versEntier<int16_t>(x, ok); }
int32_t VersEntier32(double x, bool* ok) { return versEntier<int32_t>(x, ok); }

double ValeurTexte(std::string_view texte)
{
    size_t fin = 0;
    return lireNombre(texte, fin);
}

std::string TexteNombre(double x)
{
    if (x == 0)
        return "0";
    char buf[64];
    if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", x);
        return buf;
    }
    auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
}

std::string TexteNombreSigne(double x)
{
    std::string t = TexteNombre(x);
    if (t.empty() || t[0] != '-')
        t.insert(t.begin(), ' ');
    return t;
}
