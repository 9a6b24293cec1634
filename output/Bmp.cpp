#include "output/Bmp.h"

#include "commun/EcritureAtomique.h"

#include <limits>
#include <utility>

namespace {

void Ecrire16(std::string& s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}

void Ecrire32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(char((v >> (8 * i)) & 0xFF));
}

uint32_t Lire16(std::string_view d, size_t pos)
{
    return uint32_t(uint8_t(d[pos])) | uint32_t(uint8_t(d[pos + 1])) << 8;
}

uint32_t Lire32(std::string_view d, size_t pos)
{
    return Lire16(d, pos) | Lire16(d, pos + 2) << 16;
}

} // namespace

std::string EncoderBmp24(int largeur, int hauteur, const uint32_t* pixels)
{
    if (largeur <= 0 || hauteur <= 0 || pixels == nullptr)
        return {};
    const uint64_t ligne = BmpOctetsParLigne(largeur);
    const uint64_t tailleImage = ligne * uint64_t(hauteur);
    const uint64_t tailleFichier = BmpTailleEntetes + tailleImage;
    if (tailleFichier > std::numeric_limits<uint32_t>::max() || tailleFichier > std::string().max_size())
        return {};

    std::string s;
    s.reserve(size_t(tailleFichier));
    // File header.
    s += "BM";
    Ecrire32(s, uint32_t(tailleFichier));
    Ecrire16(s, 0);
    Ecrire16(s, 0);
    Ecrire32(s, BmpTailleEntetes);
    // BITMAPINFOHEADER.
    Ecrire32(s, 40);
    Ecrire32(s, uint32_t(largeur));
    Ecrire32(s, uint32_t(hauteur)); // positive: rows bottom-up
    Ecrire16(s, 1);                 // planes
    Ecrire16(s, 24);                // bits per pixel
    Ecrire32(s, 0);                 // no compression
    Ecrire32(s, uint32_t(tailleImage));
    Ecrire32(s, uint32_t(BmpPixelsParMetre));
    Ecrire32(s, uint32_t(BmpPixelsParMetre));
    Ecrire32(s, 0); // colours used
    Ecrire32(s, 0); // important colours

    const size_t bourrage = size_t(ligne - uint64_t(largeur) * 3);
    for (int y = hauteur - 1; y >= 0; --y) {
        const uint32_t* p = pixels + size_t(y) * size_t(largeur);
        for (int x = 0; x < largeur; ++x) {
            const uint32_t c = p[x];
            s.push_back(char(c & 0xFF));         // blue
            s.push_back(char((c >> 8) & 0xFF));  // green
            s.push_back(char((c >> 16) & 0xFF)); // red
        }
        s.append(bourrage, '\0');
    }
    return s;
}

bool EcrireBmp(const std::filesystem::path& chemin, int largeur, int hauteur, const uint32_t* pixels)
{
    const std::string donnees = EncoderBmp24(largeur, hauteur, pixels);
    if (donnees.empty())
        return false;
    return EcrireFichierAtomique(chemin, donnees);
}

bool LireBmp24(std::string_view d, int& largeur, int& hauteur, std::vector<uint32_t>& pixels)
{
    if (d.size() < BmpTailleEntetes || d[0] != 'B' || d[1] != 'M')
        return false;
    const uint32_t debut = Lire32(d, 10);
    const uint32_t tailleEntete = Lire32(d, 14);
    // Later header versions begin with the same 40 bytes.
    if (tailleEntete < 40 || uint64_t(14) + tailleEntete > debut)
        return false;
    const int32_t l = int32_t(Lire32(d, 18));
    const int32_t hSigne = int32_t(Lire32(d, 22));
    if (Lire16(d, 26) != 1 || Lire16(d, 28) != 24 || Lire32(d, 30) != 0)
        return false;
    if (l <= 0 || hSigne == 0 || hSigne == std::numeric_limits<int32_t>::min())
        return false;
    const bool basEnHaut = hSigne > 0;
    const int32_t h = basEnHaut ? hSigne : -hSigne;
    if (uint64_t(l) * uint64_t(h) > BmpPixelsMax)
        return false;
    const uint64_t ligne = BmpOctetsParLigne(l);
    if (uint64_t(debut) + ligne * uint64_t(h) > d.size())
        return false;

    std::vector<uint32_t> resultat(size_t(l) * size_t(h));
    for (int32_t r = 0; r < h; ++r) {
        const int32_t y = basEnHaut ? h - 1 - r : r;
        const size_t pos = size_t(debut) + size_t(r) * size_t(ligne);
        uint32_t* dest = resultat.data() + size_t(y) * size_t(l);
        for (int32_t x = 0; x < l; ++x) {
            const size_t p = pos + size_t(x) * 3;
            dest[x] = 0xFF000000u | uint32_t(uint8_t(d[p + 2])) << 16 | uint32_t(uint8_t(d[p + 1])) << 8
                | uint32_t(uint8_t(d[p]));
        }
    }
    largeur = l;
    hauteur = h;
    pixels = std::move(resultat);
    return true;
}
