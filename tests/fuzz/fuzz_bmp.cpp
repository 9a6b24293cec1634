// The first two bytes give the size (1 to 64 pixels each way), the rest the pixels, repeated as needed.
#include "Fuzz.h"

#include "output/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    int w = 0, h = 0, w2 = 0, h2 = 0;
    std::vector<uint32_t> lus, relus;
    // Any bytes read as a file: what the reader accepts is consistent and is written and read back unchanged.
    if (LireBmp24({reinterpret_cast<const char*>(data), taille}, w, h, lus)) {
        EXIGER(w > 0 && h > 0 && lus.size() == size_t(w) * size_t(h));
        EXIGER(LireBmp24(EncoderBmp24(w, h, lus.data()), w2, h2, relus) && w2 == w && h2 == h && relus == lus);
    }
    if (taille < 2)
        return 0;
    const int largeur = 1 + data[0] % 64, hauteur = 1 + data[1] % 64;
    std::vector<uint32_t> pixels(size_t(largeur) * size_t(hauteur));
    for (size_t i = 0; taille > 2 && i < pixels.size() * 4; ++i)
        pixels[i / 4] = pixels[i / 4] << 8 | data[2 + i % (taille - 2)];

    // The format's size, rows padded with zeros to whole 32-bit words; the atomic writer writes the same bytes.
    const std::string bmp = EncoderBmp24(largeur, hauteur, pixels.data());
    const size_t ligne = (size_t(largeur) * 3 + 3) / 4 * 4;
    EXIGER(bmp.size() == 54 + ligne * size_t(hauteur));
    for (size_t o = 54; o < bmp.size(); ++o)
        EXIGER((o - 54) % ligne < size_t(largeur) * 3 || bmp[o] == 0);
    const std::filesystem::path f = DossierFuzz() / "image.bmp";
    EXIGER(EcrireBmp(f, largeur, hauteur, pixels.data()) && LireFichier(f) == bmp && NombreDeFichiers() == 1);
    // Read back: the same size and pixels, opaque.
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    EXIGER(LireBmp24(bmp, w, h, relus) && w == largeur && h == hauteur && relus == pixels);
    return 0;
}
