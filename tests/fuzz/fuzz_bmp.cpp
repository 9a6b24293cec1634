// The BMP writer (and its reader). The first two bytes give the size (1 to 64
// pixels each way), the rest the pixels, repeated as needed. Properties: the
// file has the format's size and zero padding, and reads back to the same size
// and pixels (alpha set); the file written through the atomic writer holds the
// same bytes. Any input read as a file never crashes the reader, and what it
// accepts is written and read back unchanged.
#include "Fuzz.h"

#include "output/Bmp.h"

#include <vector>


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    const std::string_view entree(reinterpret_cast<const char*>(data), taille);
    int lw = 0, lh = 0;
    std::vector<uint32_t> lus;
    if (LireBmp24(entree, lw, lh, lus)) {
        EXIGER(lw > 0 && lh > 0 && lus.size() == size_t(lw) * size_t(lh));
        int w2 = 0, h2 = 0;
        std::vector<uint32_t> relus;
        EXIGER(LireBmp24(EncoderBmp24(lw, lh, lus.data()), w2, h2, relus) && relus == lus);
    }
    if (taille < 2)
        return 0;

    const int largeur = 1 + data[0] % 64, hauteur = 1 + data[1] % 64;
    std::vector<uint32_t> pixels(size_t(largeur) * size_t(hauteur));
    for (size_t i = 0; i < pixels.size(); ++i)
        for (size_t o = 0; o < 4; ++o)
            pixels[i] = pixels[i] << 8 | (taille > 2 ? data[2 + (i * 4 + o) % (taille - 2)] : 0);

    const std::string bmp = EncoderBmp24(largeur, hauteur, pixels.data());
    const uint64_t ligne = BmpOctetsParLigne(largeur);
    EXIGER(bmp.size() == BmpTailleEntetes + ligne * uint64_t(hauteur));
    for (int y = 0; y < hauteur; ++y)
        for (uint64_t o = uint64_t(largeur) * 3; o < ligne; ++o)
            EXIGER(bmp[BmpTailleEntetes + y * ligne + o] == 0);
    int w = 0, h = 0;
    std::vector<uint32_t> relus;
    EXIGER(LireBmp24(bmp, w, h, relus) && w == largeur && h == hauteur);
    for (size_t i = 0; i < pixels.size(); ++i)
        EXIGER(relus[i] == (pixels[i] | 0xFF000000u));

    const std::filesystem::path fichier = DossierFuzz() / "image.bmp";
    EXIGER(EcrireBmp(fichier, largeur, hauteur, pixels.data()) && LireFichier(fichier) == bmp && NombreDeFichiers() == 1);
    return 0;
}
