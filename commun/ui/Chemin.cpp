#include "commun/ui/Chemin.h"

#include <QFile>

#include "commun/NomsFichiers.h"

namespace fs = std::filesystem;

namespace {

std::string octets(const QString& nom)
{
    return OctetsDuNom(std::u16string_view(reinterpret_cast<const char16_t*>(nom.utf16()), size_t(nom.size())));
}

// The name with each element that does not exist but that exactly one entry of
// its folder decodes to (with Qt's loss) replaced by that entry.
fs::path retrouver(const fs::path& chemin)
{
    std::error_code ec;
    fs::path resultat;
    for (const fs::path& element : chemin) {
        fs::path suivant = resultat / element;
        const QString voulu = QFile::decodeName(QByteArray::fromStdString(element.native()));
        if (voulu.contains(QChar::ReplacementCharacter) && !fs::exists(fs::symlink_status(suivant, ec))) {
            int trouves = 0;
            fs::path trouve;
            for (fs::directory_iterator it(resultat.empty() ? fs::path(".") : resultat, ec), fin; !ec && it != fin;
                 it.increment(ec))
                if (QFile::decodeName(QByteArray::fromStdString(it->path().filename().native())) == voulu)
                    ++trouves, trouve = it->path().filename();
            if (trouves == 1)
                suivant = resultat / trouve;
        }
        resultat = suivant;
    }
    return resultat;
}

} // namespace

fs::path CheminFichier(const QString& nom)
{
    const fs::path chemin(octets(nom));
    return nom.contains(QChar::ReplacementCharacter) ? retrouver(chemin) : chemin;
}

QString NomFichier(const fs::path& chemin)
{
    const std::u16string nom = NomDepuisOctets(chemin.native());
    return QString::fromUtf16(nom.data(), qsizetype(nom.size()));
}

QString ArgumentLigneDeCommande(const char* argument) { return NomFichier(fs::path(argument ? argument : "")); }
