#include "app/Nombres.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

bool estBlanc(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads the number at the start of s; returns the value and how many characters
// belong to it (0 when none).
double lireNombre(std::string_view s, size_t& fin)
{
    size_t i = 0;
    while (i < s.size() && estBlanc(s[i]))
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
        } else if (estBlanc(c)) {
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
    double v = std::strtod(tampon.c_str(), nullptr);
    return v;
}
} // namespace

int16_t VersEntier16(double x, bool* ok) { return versEntier<int16_t>(x, ok); }
int32_t VersEntier32(double x, bool* ok) { return versEntier<int32_t>(x, ok); }

double ValeurTexte(std::string_view texte)
{
    size_t fin = 0;
    return lireNombre(texte, fin);
}

bool EstNombre(std::string_view texte)
{
    size_t fin = 0;
    lireNombre(texte, fin);
    if (fin == 0)
        return false;
    for (size_t i = fin; i < texte.size(); ++i)
        if (!estBlanc(texte[i]))
            return false;
    return true;
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
