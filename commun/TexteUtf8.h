#pragma once
#include <cstddef>
#include <string>

// A UTF-8 text cut to at most `octets` bytes, on a whole character.
inline void CouperUtf8(std::string& t, std::size_t octets)
{
    if (t.size() <= octets)
        return;
    t.resize(octets);
    while (!t.empty() && (static_cast<unsigned char>(t.back()) & 0xC0) == 0x80)
        t.pop_back();
    if (!t.empty() && static_cast<unsigned char>(t.back()) >= 0xC0)
        t.pop_back();
}
