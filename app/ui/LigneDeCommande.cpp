#include "app/ui/LigneDeCommande.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

#include "app/Emplacements.h"
#include "commun/EcritureAtomique.h"
#include "app/Horloge.h"
#include "app/Reglages.h"
#include "app/Saisies.h"
#include "Version.h"
#include "app/ValeursOptions.h"
#include "app/mdlVorn.h"
#include "calendar/Regions.h"
#include "app/ui/Ardemo.h"
#include "app/ui/Chemin.h"
#include "app/ui/Programme.h"
#include "output/FormatSortie.h"
#include "output/ui/FichierSortie.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"

namespace {

constexpr int SortieErreur = 2;
constexpr int LargeurParDefaut = 90;

// What the arguments ask for.
struct Demande {
    std::optional<int> annee;
    QStringList sorties;
    std::optional<int> largeur;
    QString couleurs;
    QString ini;
    bool weekEnd = true;
    bool feries = true;
    std::optional<Region> region;
    // iCalendar files to import, each with its colour (red unless a --couleur follows it).
    std::vector<std::pair<QString, int>> imports;
};

constexpr int CouleurImportParDefaut = 255;

// One option: its name, the name of its value (empty for a switch), its line
// of help, and what it does to the request. `appliquer` runs once per
// occurrence, in the order of the command line, and returns the reason a value is
// refused (empty when accepted).
struct Option {
    QString nom;
    QString valeur;
    QString aide;
    std::function<QString(Demande&, const QString& valeur)> appliquer;
};

// The options in the order of the help. A new option is a row here, a field
// of Demande, and its use in Fabriquer.
const std::vector<Option>& Options()
{
    static const std::vector<Option> table = {
        {QStringLiteral("annee"), QStringLiteral("AAAA"),
         QStringLiteral("année du calendrier, de 1583 à 9999 (par défaut l'année en cours) ; "
                        "elle l'emporte sur l'année d'un fichier --couleurs"),
         [](Demande& d, const QString& v) {
             d.annee = AnneeOption(v.toStdString());
             return d.annee ? QString() : QStringLiteral("année « %1 » refusée (de 1583 à 9999)").arg(v);
         }},
        {QStringLiteral("sortie"), QStringLiteral("FICHIER"),
         QStringLiteral("fichier à écrire, de type .bmp, .png, .pdf ou .svg selon son extension ; "
                        "l'option peut être répétée"),
         [](Demande& d, const QString& v) {
             if (FormatDuNom(v.toStdString()) == FormatSortie::Aucun)
                 return QStringLiteral("fichier « %1 » refusé : extension .bmp, .png, .pdf ou .svg attendue").arg(v);
             d.sorties << v;
             return QString();
         }},
        {QStringLiteral("largeur"), QStringLiteral("MM"),
         QStringLiteral("largeur imprimée des .pdf et .svg en millimètres, de 30 à 200 "
                        "(par défaut la largeur du fichier de réglages, sinon 90)"),
         [](Demande& d, const QString& v) {
             d.largeur = LargeurOption(v.toStdString());
             return d.largeur ? QString() : QStringLiteral("largeur « %1 » refusée (de 30 à 200 mm)").arg(v);
         }},
        {QStringLiteral("couleurs"), QStringLiteral("FICHIER.Cal"),
         QStringLiteral("couleurs spéciales d'un fichier .Cal ; le calendrier prend l'année du fichier, "
                        "sauf si --annee est donnée"),
         [](Demande& d, const QString& v) {
             d.couleurs = v;
             return QString();
         }},
        {QStringLiteral("importer"), QStringLiteral("FICHIER.ics"),
         QStringLiteral("colore les jours de l'année couverts par les événements d'un calendrier "
                        "iCalendar, comme des couleurs spéciales ; l'option peut être répétée"),
         [](Demande& d, const QString& v) {
             d.imports.emplace_back(v, CouleurImportParDefaut);
             return QString();
         }},
        {QStringLiteral("couleur"), QStringLiteral("N"),
         QStringLiteral("couleur du --importer qui précède, de 0 à 16777215 (rouge + 256 x vert + "
                        "65536 x bleu ; par défaut 255, rouge)"),
         [](Demande& d, const QString& v) {
             if (d.imports.empty())
                 return QStringLiteral("l'option --couleur suit un --importer");
             const std::optional<int> c = CouleurOption(v.toStdString());
             if (!c)
                 return QStringLiteral("couleur « %1 » refusée (de 0 à 16777215)").arg(v);
             d.imports.back().second = *c;
             return QString();
         }},
        {QStringLiteral("sans-weekend"), QString(), QStringLiteral("sans la couleur des week-ends"),
         [](Demande& d, const QString&) {
             d.weekEnd = false;
             return QString();
         }},
        {QStringLiteral("sans-feries"), QString(), QStringLiteral("sans la couleur des jours fériés"),
         [](Demande& d, const QString&) {
             d.feries = false;
             return QString();
         }},
        {QStringLiteral("region"), QStringLiteral("NOM"),
         QStringLiteral("jours fériés de : Métropole, Alsace-Moselle, Guadeloupe, Martinique, Guyane, "
                        "La Réunion ou Mayotte (accents et majuscules facultatifs ; par défaut la "
                        "région du fichier de réglages)"),
         [](Demande& d, const QString& v) {
             d.region = RegionDeTexte(v.toStdString());
             return d.region ? QString() : QStringLiteral("région « %1 » inconnue").arg(v);
         }},
        {QStringLiteral("ini"), QStringLiteral("FICHIER"),
         QStringLiteral("fichier de réglages dont prendre les couleurs et la largeur "
                        "(par défaut Pelvado.ini du dossier du programme, jamais modifié ici)"),
         [](Demande& d, const QString& v) {
             d.ini = v;
             return QString();
         }},
    };
    return table;
}

QString TexteAide()
{
    QString texte = QStringLiteral("Utilisation : ardemo [options]\n"
                                   "Fabrique le calendrier d'une année sans ouvrir de fenêtre.\n"
                                   "Sans --sortie, le programme s'ouvre normalement.\n\nOptions :\n");
    // The help of each option beside its name, wrapped at 79 columns.
    const auto ligne = [&texte](const QString& gauche, const QString& aide) {
        constexpr int Marge = 28, Fin = 79;
        QString rangee = QStringLiteral("  %1  ").arg(gauche, 4 - Marge);
        bool debut = true;
        for (const QString& mot : aide.split(QLatin1Char(' '))) {
            if (!debut && rangee.size() + 1 + mot.size() > Fin) {
                texte += rangee + QLatin1Char('\n');
                rangee = QString(Marge, QLatin1Char(' '));
                debut = true;
            }
            rangee += (debut ? QString() : QStringLiteral(" ")) + mot;
            debut = false;
        }
        texte += rangee + QLatin1Char('\n');
    };
    for (const Option& o : Options())
        ligne(QStringLiteral("--") + o.nom + (o.valeur.isEmpty() ? QString() : QLatin1Char(' ') + o.valeur), o.aide);
    ligne(QStringLiteral("-h, --help"), QStringLiteral("affiche cette aide"));
    ligne(QStringLiteral("--version"), QStringLiteral("affiche la version"));
    return texte;
}

int Erreur(const QString& message)
{
    std::fprintf(stderr, "ardemo : %s\n", message.toLocal8Bit().constData());
    return SortieErreur;
}

// Only the program's own messages reach the error output in this mode.
void MessagesQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "ardemo : %s\n", message.toLocal8Bit().constData());
}

// Everything is read and checked before anything is drawn; files are written
// whole or not at all.
int Fabriquer(const Demande& d, const char* programme)
{
    // No display is needed nor looked for (terminal, ssh, CI).
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
    qInstallMessageHandler(MessagesQt);
    int nArgs = 1;
    char* args[] = {const_cast<char*>(programme), nullptr};
    QApplication app(nArgs, args);
    QApplication::setApplicationName(QStringLiteral("Ardemo"));
    PreparerApplication(app);

    // The settings file the window would read: beside the program, or the
    // user's own when the program's folder belongs to the system.
    QString ini = d.ini;
    if (ini.isEmpty()) {
        const std::filesystem::path dossier = CheminFichier(QCoreApplication::applicationDirPath());
        ini = NomFichier(ChoisirEmplacements(dossier, DossierModifiable(dossier), EnvironnementDuProcessus()).fichierIni);
    }
    std::error_code ec;
    if (!d.ini.isEmpty()
        && !(std::filesystem::is_regular_file(CheminFichier(ini), ec) && ::access(CheminFichier(ini).c_str(), R_OK) == 0))
        return Erreur(QStringLiteral("fichier de réglages « %1 » illisible").arg(ini));

    double table[13][43] = {};
    std::optional<int> annee = d.annee;
    if (!d.couleurs.isEmpty()) {
        const LectureCal lecture = LireFichierCal(CheminFichier(d.couleurs), table);
        if (lecture.refuse || !lecture.ok)
            return Erreur(QStringLiteral("fichier de couleurs « %1 » illisible").arg(d.couleurs));
        if (!annee && !lecture.annee.empty()) {
            annee = AnneeOption(lecture.annee);
            if (!annee)
                return Erreur(QStringLiteral("l'année %1 du fichier de couleurs « %2 » n'est pas entre 1583 et 9999")
                                  .arg(QString::fromStdString(lecture.annee), d.couleurs));
        }
    }
    if (!annee)
        annee = QDate::currentDate().year();
    // Imported calendars colour the year's days over the .Cal's colours.
    for (const auto& [fichier, couleur] : d.imports) {
        const ImportIcs import = ImporterIcs(CheminFichier(fichier), *annee, couleur, table);
        // The window's message without its closing words, on one line.
        QString message = QString::fromStdString(MessageIcs(import));
        message.remove(QRegularExpression(QStringLiteral("( : rien n'est changé)?\\.$")));
        if (import.etat == EtatIcs::AucunEvenement)
            std::fprintf(stderr, "ardemo : %s : %s\n", fichier.toLocal8Bit().constData(), message.toLocal8Bit().constData());
        else if (import.etat != EtatIcs::Ok)
            return Erreur(QStringLiteral("calendrier « %1 » refusé : %2").arg(fichier, message));
    }

    // The stored width is taken as the width box takes it at start-up; a
    // refused one leaves the box's 90.
    ChangementLargeur taille =
        CalculLargeur(d.largeur ? std::to_string(*d.largeur) : LireLargeur(CheminFichier(ini)), false, 0);
    if (!taille.valide)
        taille = CalculLargeur(std::to_string(LargeurParDefaut), false, 0);

    // A folder that is missing or read-only is found before any file is made.
    for (const QString& sortie : d.sorties) {
        const std::filesystem::path fichier = std::filesystem::absolute(CheminFichier(sortie), ec);
        const std::filesystem::path dossier = fichier.parent_path();
        if (std::filesystem::is_directory(fichier, ec) || !std::filesystem::is_directory(dossier, ec)
            || ::access(dossier.c_str(), W_OK | X_OK) != 0
            || (std::filesystem::exists(fichier, ec) && ::access(fichier.c_str(), W_OK) != 0))
            return Erreur(QStringLiteral("impossible d'écrire le fichier « %1 »").arg(sortie));
    }

    mdlVorn etat;
    HorlogeSansAttente horloge;
    Ardemo fenetre(etat, horloge, NomFichier(std::filesystem::absolute(CheminFichier(ini), ec).parent_path()));
    // The colours of the settings file asked for; the file is never written.
    etat.CouleursDefaut();
    LireCouleurs(CheminFichier(ini), etat.Couleurs);
    etat.FichierIni.clear();
    etat.RegionFeries = d.region.value_or(LireRegion(CheminFichier(ini)));
    fenetre.cocherJours(d.weekEnd, d.feries);

    std::copy(&table[0][0], &table[0][0] + 13 * 43, &etat.TableCoulSP[0][0]);
    etat.AnChoisi = QStringLiteral("%1").arg(*annee, 4, 10, QLatin1Char('0')).toStdString();
    // The build's steps without its wait; the image only when a bitmap is asked
    // for (the documents draw the sheet itself).
    fenetre.construireSansAttente(std::any_of(d.sorties.begin(), d.sorties.end(), [](const QString& s) {
        return !FormatVectoriel(FormatDuNom(s.toStdString()));
    }));
    etat.LargeurTwips = taille.largeurTwips;
    etat.HauteurTwips = taille.hauteurTwips;

    // All the files or none.
    const CalendrierAEcrire calendrier = fenetre.calendrier();
    std::vector<QByteArray> contenus;
    std::vector<std::pair<std::filesystem::path, std::string_view>> fichiers;
    for (const QString& sortie : d.sorties)
        contenus.push_back(ContenuCalendrier(FormatDuNom(sortie.toStdString()), calendrier));
    for (qsizetype i = 0; i < d.sorties.size(); ++i)
        fichiers.emplace_back(CheminFichier(d.sorties[i]), std::string_view(contenus[size_t(i)].constData(), size_t(contenus[size_t(i)].size())));
    size_t echec = 0;
    const auto vide = std::find_if(contenus.begin(), contenus.end(), [](const QByteArray& c) { return c.isEmpty(); });
    if (vide != contenus.end() || !EcrireFichiersAtomiques(fichiers, &echec))
        return Erreur(QStringLiteral("impossible d'écrire le fichier « %1 »")
                          .arg(d.sorties[qsizetype(vide != contenus.end() ? size_t(vide - contenus.begin()) : echec)]));
    return 0;
}

} // namespace

std::optional<int> LigneDeCommande(int argc, char* argv[])
{
    if (argc <= 1)
        return std::nullopt;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << ArgumentLigneDeCommande(argv[i]); // file names as bytes, whatever they are

    QCommandLineParser analyse;
    analyse.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option& o : Options())
        analyse.addOption(QCommandLineOption(o.nom, o.aide, o.valeur));
    const QCommandLineOption aide({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    analyse.addOption(aide);
    analyse.addOption(version);

    if (!analyse.parse(arguments)) {
        if (!analyse.unknownOptionNames().isEmpty()) {
            // As it was typed: "-x", "--x" or "--x=valeur".
            const QString nom = analyse.unknownOptionNames().constFirst();
            QString tape = QStringLiteral("--") + nom;
            for (const QString& a : arguments)
                if (a.startsWith(QLatin1Char('-')) && a.section(QLatin1Char('='), 0, 0).remove(QRegularExpression(QStringLiteral("^-+"))) == nom) {
                    tape = a.section(QLatin1Char('='), 0, 0);
                    break;
                }
            return Erreur(QStringLiteral("option inconnue « %1 » (voir ardemo --help)").arg(tape));
        }
        // The only other refusal: an option that needs a value came last.
        return Erreur(QStringLiteral("l'option « %1 » attend une valeur").arg(arguments.constLast()));
    }
    if (!analyse.positionalArguments().isEmpty())
        return Erreur(QStringLiteral("argument inattendu « %1 » (voir ardemo --help)")
                          .arg(analyse.positionalArguments().constFirst()));
    if (analyse.isSet(aide)) {
        std::fputs(TexteAide().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (analyse.isSet(version)) {
        std::puts("Ardemo " ARDEMO_VERSION);
        return 0;
    }

    // In the order of the command line, so that an option may refer to the
    // one before it.
    Demande demande;
    QHash<QString, int> rangs;
    for (const QString& nom : analyse.optionNames()) {
        const auto o = std::find_if(Options().begin(), Options().end(), [&](const Option& x) { return x.nom == nom; });
        if (o == Options().end())
            continue; // --help, --version
        const QString valeur = o->valeur.isEmpty() ? QString() : analyse.values(nom).value(rangs[nom]++);
        if (const QString refus = o->appliquer(demande, valeur); !refus.isEmpty())
            return Erreur(refus);
    }
    if (demande.sorties.isEmpty())
        return std::nullopt;
    return Fabriquer(demande, argv[0]);
}
