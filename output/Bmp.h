#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Uncompressed Windows bitmap files, 24 bits per pixel.
//
// Pixels are 0xAARRGGBB values, rows top-down, `largeur` values per row; the
// alpha byte is not written. The file is a 14-byte file header, a 40-byte
// BITMAPINFOHEADER and the pixel array at offset 54: rows bottom-up, each
// pixel blue, green, red, each row padded with zero bytes to a multiple of 4.
// Resolution 3780 pixels per metre (96 dpi, the design screen) both ways.

constexpr uint32_t BmpTailleEntetes = 54;
constexpr int32_t BmpPixelsParMetre = 3780;

// Bytes of one stored row (3 per pixel, rounded up to a multiple of 4).
constexpr uint64_t BmpOctetsParLigne(int largeur) { return (uint64_t(largeur) * 3 + 3) / 4 * 4; }

// The whole file. Empty when the size is not positive, `pixels` is null or the
// file would not fit the format's 32-bit sizes.
std::string EncoderBmp24(int largeur, int hauteur, const uint32_t* pixels);

// Encodes and writes through a temporary file and a rename: on failure the
// earlier file at `chemin` is left as it was and no temporary remains.
bool EcrireBmp(const std::filesystem::path& chemin, int largeur, int hauteur, const uint32_t* pixels);

// Reads an uncompressed 24-bit bitmap (bottom-up or top-down rows). Pixels come
// back top-down as 0xFFRRGGBB. Returns false, leaving the outputs untouched, for
// anything else or for data that is short, inconsistent or larger than
// BmpPixelsMax pixels.
constexpr uint64_t BmpPixelsMax = uint64_t(1) << 26;
bool LireBmp24(std::string_view donnees, int& largeur, int& hauteur, std::vector<uint32_t>& pixels);
