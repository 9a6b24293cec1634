#pragma once
// File names as the system stores them (any bytes but '/' and NUL) in text
// that windows show and edit (UTF-16), without loss: valid UTF-8 is decoded as
// usual, and each byte of a sequence that is not valid UTF-8 becomes the lone
// code unit U+DC80 + (byte - 0x80), which no valid name yields; encoding
// gives those bytes back. So any name read from the system or the command
// line comes back to the same bytes.
#include <string>
#include <string_view>

std::u16string NomDepuisOctets(std::string_view octets);
// Lone surrogates other than those above, which no valid name yields either,
// are written as U+FFFD.
std::string OctetsDuNom(std::u16string_view nom);

// `nom` ends with the extension `ext` (".Cal", ASCII case ignored) after a name
// of its own: a bare ".Cal", or a folder's "d/.Cal", has none.
bool AExtension(std::string_view nom, std::string_view ext);

// The name saved when `nom` is typed: as it is when it has the extension `ext`,
// else with it ("a" and "a." give "a.Cal"). An empty name and a folder ("d/")
// stay as they are.
std::string AvecExtension(std::string_view nom, std::string_view ext);
