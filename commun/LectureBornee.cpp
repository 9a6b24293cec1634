#include "commun/LectureBornee.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

EtatLecture LireFichierBorne(const fs::path& chemin, std::size_t max, std::string& contenu)
{
    contenu.clear();
    std::error_code ec;
    const fs::file_status st = fs::status(chemin, ec);
    if (st.type() == fs::file_type::not_found)
        return EtatLecture::Absent;
    if (ec || !fs::is_regular_file(st))
        return EtatLecture::Illisible;
    const std::uintmax_t taille = fs::file_size(chemin, ec);
    if (ec)
        return EtatLecture::Illisible;
    if (taille > max)
        return EtatLecture::TropGros;
    std::ifstream f(chemin, std::ios::binary);
    if (!f)
        return EtatLecture::Illisible;
    contenu.reserve(static_cast<std::size_t>(taille));
    char bloc[65536];
    while (f.read(bloc, sizeof bloc) || f.gcount() > 0) {
        contenu.append(bloc, static_cast<std::size_t>(f.gcount()));
        if (contenu.size() > max)
            return EtatLecture::TropGros;
    }
    return f.bad() ? EtatLecture::Illisible : EtatLecture::Lu;
}
