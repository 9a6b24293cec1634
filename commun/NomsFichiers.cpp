#include "commun/NomsFichiers.h"

#include "commun/Texte.h"

namespace {

constexpr char16_t Echappe = 0xDC00; // + the byte, for the bytes 0x80 to 0xFF

// Length of the valid UTF-8 sequence at the start of `s` and its code point; 0 when not valid.
std::size_t sequence(std::string_view s, char32_t& c)
{
    const auto o = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = o(0);
    std::size_t n = 0;
    char32_t min = 0;
    if (b < 0x80) {
        c = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF)
        n = 2, c = b & 0x1F, min = 0x80;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3, c = b & 0x0F, min = 0x800;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4, c = b & 0x07, min = 0x10000;
    else
        return 0;
    if (s.size() < n)
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((o(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (o(i) & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not valid.
    return c < min || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? 0 : n;
}

} // namespace

std::u16string NomDepuisOctets(std::string_view octets)
{
    std::u16string nom;
    nom.reserve(octets.size());
    while (!octets.empty()) {
        char32_t c = 0;
        std::size_t n = sequence(octets, c);
        if (n == 0) {
            nom += static_cast<char16_t>(Echappe + static_cast<unsigned char>(octets[0]));
            n = 1;
        } else if (c >= 0x10000) {
            nom += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            nom += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            nom += static_cast<char16_t>(c);
        }
        octets.remove_prefix(n);
    }
    return nom;
}

std::string OctetsDuNom(std::u16string_view nom)
{
    std::string octets;
    octets.reserve(nom.size());
    const auto ajouter = [&](char32_t c) {
        if (c < 0x80) {
            octets += static_cast<char>(c);
        } else if (c < 0x800) {
            octets += static_cast<char>(0xC0 | (c >> 6));
            octets += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            octets += static_cast<char>(0xE0 | (c >> 12));
            octets += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            octets += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            octets += static_cast<char>(0xF0 | (c >> 18));
            octets += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            octets += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            octets += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t i = 0; i < nom.size(); ++i) {
        const char16_t u = nom[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < nom.size() && nom[i + 1] >= 0xDC00 && nom[i + 1] <= 0xDFFF) {
            ajouter(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(nom[i + 1]) - 0xDC00));
            ++i;
        } else if (u >= Echappe + 0x80 && u <= Echappe + 0xFF) {
            octets += static_cast<char>(u - Echappe);
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            ajouter(0xFFFD);
        } else {
            ajouter(u);
        }
    }
    return octets;
}

bool AExtension(std::string_view nom, std::string_view ext)
{
    return FinitParSansCasse(nom, ext) && nom.size() > ext.size() && nom[nom.size() - ext.size() - 1] != '/';
}

std::string AvecExtension(std::string_view nom, std::string_view ext)
{
    std::string resultat(nom);
    if (nom.empty() || nom.back() == '/' || AExtension(nom, ext))
        return resultat;
    if (resultat.back() == '.')
        resultat.pop_back();
    return resultat + std::string(ext);
}
