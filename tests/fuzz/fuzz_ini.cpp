// The INI reader and writer. Input: one byte of options (bits 0-1: the file's
// mode, 0644, 0600, 0444 or 0400), then section, key, value and the file's
// content separated by 0x1F bytes (without three separators the whole input is
// the file and "Taille"/"Largeur"=90 is written).
// Properties: nothing crashes; a read value fits its buffer; a failed write
// leaves the file byte-identical; a successful one reads back, keeps the mode
// and leaves every other key's value as it was; a second identical write
// changes nothing; no temporary file is left. (A probe of another key that
// reads the value written names the same key in another case.)
#include "Fuzz.h"

#include "commun/FichierIni.h"

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace {

std::string_view rogner(std::string_view s)
{
    const auto blanc = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!s.empty() && blanc(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blanc(s.back()))
        s.remove_suffix(1);
    return s;
}

// The value a reader should see after writing `v`.
std::string relue(std::string_view v)
{
    v = rogner(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, 254));
}

// Names to probe: the sections and keys the file seems to hold (a rough scan;
// wrong guesses are harmless probes).
std::vector<std::pair<std::string, std::string>> sondes(std::string_view texte)
{
    std::vector<std::pair<std::string, std::string>> res;
    std::string section;
    size_t i = 0;
    while (i < texte.size() && res.size() < 12) {
        size_t nl = texte.find('\n', i);
        std::string_view l = rogner(texte.substr(i, nl == std::string_view::npos ? std::string_view::npos : nl - i));
        i = nl == std::string_view::npos ? texte.size() : nl + 1;
        if (!l.empty() && l.front() == '[')
            section = std::string(l.substr(1, l.find(']') == std::string_view::npos ? 0 : l.find(']') - 1));
        else if (size_t e = l.find('='); e != std::string_view::npos && e > 0)
            res.emplace_back(section, std::string(l.substr(0, e)));
    }
    return res;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t taille)
{
    if (taille == 0)
        return 0;
    static const unsigned modes[] = {0644, 0600, 0444, 0400};
    const unsigned mode = modes[data[0] & 3];
    std::string_view reste(reinterpret_cast<const char*>(data) + 1, taille - 1);
    std::string_view parts[3] = {"Taille", "Largeur", "90"};
    if (std::count(reste.begin(), reste.end(), '\x1F') >= 3)
        for (auto& p : parts) {
            size_t s = reste.find('\x1F');
            p = reste.substr(0, s);
            reste.remove_prefix(s + 1);
        }
    const auto [section, cle, valeur] = parts;
    const std::string contenu(reste);

    const std::filesystem::path ini = DossierFuzz() / "Pelvado.ini";
    std::filesystem::remove(ini);
    EcrireFichier(ini, contenu);
    ::chmod(ini.c_str(), mode);

    const std::string lu = LireIni(ini, section, cle);
    EXIGER(lu.size() <= 254 && lu.find('\0') == std::string::npos);
    auto autres = sondes(contenu);
    std::vector<std::string> avant;
    for (const auto& [s, c] : autres)
        avant.push_back(LireIni(ini, s, c, "\x01"));

    const bool ok = EcrireIni(ini, section, cle, valeur);
    const std::string apres = LireFichier(ini);
    struct stat st {};
    EXIGER(::stat(ini.c_str(), &st) == 0 && (st.st_mode & 0777) == mode);
    EXIGER(NombreDeFichiers() == 1);
    if (!ok || (mode & 0222) == 0) { // refused, or "already so": nothing written
        EXIGER(apres == contenu);
        if (!ok)
            return 0;
    }
    EXIGER(LireIni(ini, section, cle) == relue(valeur));
    for (size_t i = 0; i < autres.size(); ++i) {
        const std::string v = LireIni(ini, autres[i].first, autres[i].second, "\x01");
        EXIGER(v == avant[i] || v == relue(valeur));
    }
    EXIGER(EcrireIni(ini, section, cle, valeur) && LireFichier(ini) == apres);
    return 0;
}
