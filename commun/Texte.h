#pragma once
#include <string_view>

// Blanks and trimming, one definition for every reader. Each reader names the
// set of characters it takes for blanks:
// - inside a line (typed fields, .Cal fields): space and tab;
inline constexpr std::string_view BlancsLigne = " \t";
// - around and inside a number read from a text: also the line ends;
inline constexpr std::string_view BlancsNombre = " \t\r\n";
// - around the names and values of the settings file: the blanks of a line,
//   carriage return, vertical tab and form feed (the line feed ends the line).
inline constexpr std::string_view BlancsIni = " \t\r\v\f";

constexpr bool EstBlanc(char c, std::string_view blancs = BlancsLigne)
{
    return blancs.find(c) != std::string_view::npos;
}

// The text without the blanks at both ends.
constexpr std::string_view SansBlancs(std::string_view t, std::string_view blancs = BlancsLigne)
{
    while (!t.empty() && EstBlanc(t.front(), blancs))
        t.remove_prefix(1);
    while (!t.empty() && EstBlanc(t.back(), blancs))
        t.remove_suffix(1);
    return t;
}

// ASCII letters in one case, every other byte as it is: names of file types,
// iCalendar properties and regions are compared this way, whatever the locale.
constexpr char MinusculeAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char MajusculeAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// `t` ends with `fin`, ASCII case ignored.
constexpr bool FinitParSansCasse(std::string_view t, std::string_view fin)
{
    if (t.size() < fin.size())
        return false;
    t.remove_prefix(t.size() - fin.size());
    for (std::size_t i = 0; i < fin.size(); ++i)
        if (MinusculeAscii(t[i]) != MinusculeAscii(fin[i]))
            return false;
    return true;
}
