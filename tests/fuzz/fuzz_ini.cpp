// Input: the mode (bits 0-1 of a byte), then section, key, value and file split by 0x1F (else all is the file).
#include "Fuzz.h"

#include "commun/FichierIni.h"

#include <array>

static std::string_view rogner(std::string_view s)
{
    const size_t d = s.find_first_not_of(" \t\r\v\f");
    return d == s.npos ? "" : s.substr(d, s.find_last_not_of(" \t\r\v\f") + 1 - d);
}

// The value a reader should see after writing `v`.
static std::string relue(std::string_view v)
{
    v = rogner(v);
    const bool guillemets = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
    return std::string(v.substr(guillemets, v.size() - 2 * guillemets).substr(0, 254));
}

// Section, key and value of the keys the file seems to hold (a rough scan: a wrong guess is a harmless probe).
static std::vector<std::array<std::string, 3>> sondes(const std::filesystem::path& ini, std::string_view texte)
{
    std::vector<std::array<std::string, 3>> res;
    std::string section;
    for (size_t i = 0, nl = 0; i < texte.size() && res.size() < 12; i = nl + 1) {
        nl = std::min(texte.find('\n', i), texte.size());
        const std::string_view l = rogner(texte.substr(i, nl - i));
        if (l.starts_with('['))
            section = l.substr(1, l.find(']') - 1);
        else if (const size_t e = l.find('='); e != l.npos && e > 0)
            res.push_back({section, std::string(l.substr(0, e)), LireIni(ini, section, l.substr(0, e), "\x01")});
    }
    return res;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    if (taille == 0)
        return 0;
    const unsigned mode = std::array{0644u, 0600u, 0444u, 0400u}[data[0] & 3];
    std::string_view reste(reinterpret_cast<const char*>(data) + 1, taille - 1), parts[3] = {"Taille", "Largeur", "90"};
    if (std::count(reste.begin(), reste.end(), '\x1F') >= 3)
        for (auto& p : parts) {
            p = reste.substr(0, reste.find('\x1F'));
            reste.remove_prefix(p.size() + 1);
        }
    const auto [section, cle, valeur] = parts;
    const std::filesystem::path ini = DossierFuzz() / "Pelvado.ini";
    std::filesystem::remove(ini);
    EcrireFichier(ini, reste);
    std::filesystem::permissions(ini, std::filesystem::perms(mode));

    const std::string lu = LireIni(ini, section, cle);
    EXIGER(lu.size() <= 254 && lu.find('\0') == std::string::npos);
    const auto autres = sondes(ini, reste);

    // Mode kept, no temporary left; refused, or "already so" in a read-only file: not a byte changed.
    const bool ok = EcrireIni(ini, section, cle, valeur);
    const std::string apres = LireFichier(ini);
    EXIGER(unsigned(std::filesystem::status(ini).permissions()) == mode && NombreDeFichiers() == 1);
    EXIGER((ok && (mode & 0222)) || apres == reste);
    if (!ok)
        return 0;
    // Written: it reads back, every other key keeps its value, and writing it again changes nothing.
    EXIGER(LireIni(ini, section, cle) == relue(valeur));
    for (const auto& [s, c, v] : autres) // the same key in another case reads the new value
        EXIGER(LireIni(ini, s, c, "\x01") == v || LireIni(ini, s, c, "\x01") == relue(valeur));
    EXIGER(EcrireIni(ini, section, cle, valeur) && LireFichier(ini) == apres);
    return 0;
}
