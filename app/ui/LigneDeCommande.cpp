#include "app/ui/LigneDeCommande.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

#include "Version.h"
#include "app/Document.h"
#include "app/Emplacements.h"
#include "app/Horloge.h"
#include "commun/EcritureAtomique.h"
#include "commun/FichierIni.h"
#include "commun/RaisonSysteme.h"
#include "app/Reglages.h"
#include "app/Saisies.h"
#include "app/ValeursOptions.h"
#include "commun/ui/Chemin.h"
#include "app/ui/Programme.h"
#include "app/ui/Sorties.h"
#include "colour/ModeleFeuille.h"
#include "colour/ui/PeintreFeuille.h"
#include "commun/Twips.h"
#include "output/FormatSortie.h"
#include "output/ui/FichierSortie.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"

namespace {

constexpr int SortieErreur = 2;

// What the arguments ask for: the options as they stand, and each file to
// write with the options given before it.
struct Sortie {
    QString chemin;
    OptionsFenetre options;
    bool commeAvant = false; // no option since the previous --sortie: the same calendar
};
struct Demande {
    OptionsFenetre options;
    std::vector<Sortie> sorties;
    bool optionsApres = false; // an option after the last --sortie
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

// The page options of the request, made at the first of them.
OptionsPage& page(Demande& d)
{
    if (!d.options.page)
        d.options.page.emplace();
    return *d.options.page;
}

// The options in the order of the help. A new option is a row here, a field
// of OptionsFenetre, and its use in Preparer and at the window's start.
const std::vector<Option>& Options()
{
    static const std::vector<Option> table = {
        {QStringLiteral("annee"), QStringLiteral("AAAA"),
         QStringLiteral("année du calendrier, de %1 à %2 (par défaut l'année en cours), ou année "
                        "scolaire de septembre à août, deux années qui se suivent : --annee 2026-2027 ; "
                        "elle l'emporte sur l'année d'un fichier --couleurs")
             .arg(AnneeMin)
             .arg(AnneeMax),
         [](Demande& d, const QString& v) {
             d.options.annee = PeriodeOption(v.toStdString());
             return d.options.annee ? QString()
                                    : QStringLiteral("année « %1 » refusée (de %2 à %3, ou année scolaire "
                                                     "comme 2026-2027)")
                                          .arg(v)
                                          .arg(AnneeMin)
                                          .arg(AnneeMax);
         }},
        {QStringLiteral("sortie"), QStringLiteral("FICHIER"),
         QStringLiteral("fichier à écrire, de type .bmp, .png, .pdf ou .svg selon son extension, "
                        "avec les options données avant lui ; l'option peut être répétée "
                        "(--annee 2027 --sortie a.pdf --annee 2028 --sortie b.pdf)"),
         [](Demande& d, const QString& v) {
             if (FormatDuNom(v.toStdString()) == FormatSortie::Aucun)
                 return QStringLiteral("fichier « %1 » refusé : extension .bmp, .png, .pdf ou .svg attendue").arg(v);
             d.sorties.push_back({v, d.options, !d.sorties.empty() && !d.optionsApres});
             d.optionsApres = false;
             return QString();
         }},
        {QStringLiteral("largeur"), QStringLiteral("MM"),
         QStringLiteral("largeur imprimée des .pdf et .svg en millimètres, de %1 à %2 "
                        "(par défaut la largeur du fichier de réglages, sinon %3)")
             .arg(LargeurMin)
             .arg(LargeurMax)
             .arg(QString::fromLatin1(LargeurDefaut.data(), qsizetype(LargeurDefaut.size()))),
         [](Demande& d, const QString& v) {
             d.options.largeur = LargeurOption(v.toStdString());
             return d.options.largeur ? QString()
                                     : QStringLiteral("largeur « %1 » refusée (de %2 à %3 mm)")
                                           .arg(v)
                                           .arg(LargeurMin)
                                           .arg(LargeurMax);
         }},
        {QStringLiteral("couleurs"), QStringLiteral("FICHIER.Cal"),
         QStringLiteral("couleurs spéciales d'un fichier .Cal ; le calendrier prend l'année du fichier, "
                        "sauf si --annee est donnée"),
         [](Demande& d, const QString& v) {
             d.options.couleurs = v;
             return QString();
         }},
        {QStringLiteral("importer"), QStringLiteral("FICHIER.ics"),
         QStringLiteral("colore les jours du calendrier (l'année, ou l'année scolaire) couverts par les "
                        "événements d'un calendrier iCalendar, comme des couleurs spéciales ; l'option peut "
                        "être répétée"),
         [](Demande& d, const QString& v) {
             d.options.imports.emplace_back(v, CouleurImportParDefaut);
             d.options.etiquettesImports.resize(d.options.imports.size());
             return QString();
         }},
        {QStringLiteral("etiquette"), QStringLiteral("TEXTE"),
         QStringLiteral("ce que désigne la couleur du --importer qui précède, dans la légende de la page "
                        "(par défaut les mots communs aux noms de ses événements, ou le nom du fichier)"),
         [](Demande& d, const QString& v) {
             if (d.options.imports.empty())
                 return QStringLiteral("l'option --etiquette suit un --importer");
             d.options.etiquettesImports.back() = v;
             return QString();
         }},
        {QStringLiteral("couleur"), QStringLiteral("N"),
         QStringLiteral("couleur du --importer qui précède : #RRGGBB (rouge, vert, bleu en hexadécimal, "
                        "entre guillemets pour le shell) ou N de 0 à %1 (rouge + 256 x vert + 65536 x bleu) ; "
                        "par défaut %2, rouge")
             .arg(CouleurMax)
             .arg(CouleurImportParDefaut),
         [](Demande& d, const QString& v) {
             if (d.options.imports.empty())
                 return QStringLiteral("l'option --couleur suit un --importer");
             const std::optional<int> c = CouleurOption(v.toStdString());
             if (!c)
                 return QStringLiteral("couleur « %1 » refusée (#RRGGBB, ou de 0 à %2)").arg(v).arg(CouleurMax);
             d.options.imports.back().second = *c;
             return QString();
         }},
        {QStringLiteral("details"), QString(),
         QStringLiteral("écrit le résumé de chaque --importer (jours, événements) sur la sortie d'erreur"),
         [](Demande& d, const QString&) {
             d.options.details = true;
             return QString();
         }},
        {QStringLiteral("sans-weekend"), QString(), QStringLiteral("sans la couleur des week-ends"),
         [](Demande& d, const QString&) {
             d.options.weekEnd = false;
             return QString();
         }},
        {QStringLiteral("sans-feries"), QString(), QStringLiteral("sans la couleur des jours fériés"),
         [](Demande& d, const QString&) {
             d.options.feries = false;
             return QString();
         }},
        {QStringLiteral("region"), QStringLiteral("NOM"),
         QStringLiteral("jours fériés de : Métropole, Alsace-Moselle, Guadeloupe, Martinique, Guyane, "
                        "La Réunion, Mayotte, Belgique, Luxembourg, Monaco, Canton de Genève, "
                        "Canton de Vaud, Canton de Neuchâtel, Canton du Jura, Canton de Fribourg, "
                        "Canton du Valais ou Québec (accents, majuscules, article et mot canton "
                        "facultatifs ; par défaut la région du fichier de réglages)"),
         [](Demande& d, const QString& v) {
             d.options.region = RegionDeTexte(v.toStdString());
             return d.options.region ? QString()
                                     : QStringLiteral("région « %1 » inconnue (régions : %2)")
                                           .arg(v, QString::fromUtf8(NomsRegions()));
         }},
        {QStringLiteral("papier"), QStringLiteral("FORMAT"),
         QStringLiteral("met le calendrier en page (.pdf, .png, .svg) sur du papier A4, A3, A5 ou lettre ; "
                        "chacune des options qui suivent en fait autant, sur du A4 par défaut"),
         [](Demande& d, const QString& v) {
             const std::optional<Papier> p = PapierDeTexte(v.toStdString());
             if (!p)
                 return QStringLiteral("papier « %1 » inconnu (A4, A3, A5 ou lettre)").arg(v);
             page(d).papier = *p;
             return QString();
         }},
        {QStringLiteral("paysage"), QString(), QStringLiteral("page en largeur (par défaut en hauteur)"),
         [](Demande& d, const QString&) {
             page(d).paysage = true;
             return QString();
         }},
        {QStringLiteral("disposition"), QStringLiteral("CxR"),
         QStringLiteral("mois en 3x4 (trois de large, quatre de haut), 4x3 ou 6x2 ; par défaut 3x4 en "
                        "hauteur, 4x3 en largeur, et pour quelques mois ce qui les montre le plus grand"),
         [](Demande& d, const QString& v) {
             const std::optional<Disposition> g = DispositionDeTexte(v.toStdString());
             if (!g)
                 return QStringLiteral("disposition « %1 » inconnue (3x4, 4x3 ou 6x2)").arg(v);
             page(d).disposition = *g;
             return QString();
         }},
        {QStringLiteral("mois"), QStringLiteral("M-N"),
         QStringLiteral("seulement les mois M à N de la feuille, de 1 à 12 : --mois 9-12 (septembre à "
                        "décembre), --mois 3 (mars)"),
         [](Demande& d, const QString& v) {
             d.options.moisPage = MoisOption(v.toStdString());
             if (!d.options.moisPage)
                 return QStringLiteral("mois « %1 » refusés (M ou M-N, de 1 à 12)").arg(v);
             page(d);
             return QString();
         }},
        {QStringLiteral("titre"), QStringLiteral("TEXTE"),
         QStringLiteral("titre de la page (par défaut « Calendrier 2027 » ou « Année scolaire 2025-2026 » ; "
                        "--titre \"\" : sans titre)"),
         [](Demande& d, const QString& v) {
             page(d).titre = v.toStdString();
             return QString();
         }},
        {QStringLiteral("sans-legende"), QString(), QStringLiteral("page sans la légende des couleurs"),
         [](Demande& d, const QString&) {
             page(d).legende = false;
             return QString();
         }},
        {QStringLiteral("liste-feries"), QString(), QStringLiteral("la liste des jours fériés de la page, en petit"),
         [](Demande& d, const QString&) {
             page(d).listeFeries = true;
             return QString();
         }},
        {QStringLiteral("semaines"), QString(), QStringLiteral("les numéros de semaine ISO à gauche des semaines"),
         [](Demande& d, const QString&) {
             page(d).semaines = true;
             return QString();
         }},
        {QStringLiteral("economie-encre"), QString(),
         QStringLiteral("cases blanches, couleurs sur les chiffres et les bords seulement ; jours fériés et "
                        "couleurs spéciales marqués pour se lire aussi en noir et blanc"),
         [](Demande& d, const QString&) {
             page(d).economieEncre = true;
             return QString();
         }},
        {QStringLiteral("marge"), QStringLiteral("MM"), QStringLiteral("marges de la page, de 0 à 40 mm (par défaut 10)"),
         [](Demande& d, const QString& v) {
             const std::optional<int> m = EntierOption(v.toStdString(), 0, 40);
             if (!m)
                 return QStringLiteral("marge « %1 » refusée (de 0 à 40 mm)").arg(v);
             page(d).margeMm = *m;
             return QString();
         }},
        {QStringLiteral("dpi"), QStringLiteral("N"),
         QStringLiteral("résolution du .png de la page, de 50 à 600 points par pouce (par défaut 150)"),
         [](Demande& d, const QString& v) {
             const std::optional<int> n = EntierOption(v.toStdString(), 50, 600);
             if (!n)
                 return QStringLiteral("résolution « %1 » refusée (de 50 à 600)").arg(v);
             d.options.dpi = *n;
             page(d);
             return QString();
         }},
        {QStringLiteral("ini"), QStringLiteral("FICHIER"),
         QStringLiteral("fichier de réglages dont prendre les couleurs et la largeur "
                        "(par défaut Pelvado.ini du dossier du programme, jamais modifié avec "
                        "--sortie ; sans --sortie, la fenêtre le lit et y écrit ses réglages)"),
         [](Demande& d, const QString& v) {
             d.options.ini = v;
             return QString();
         }},
    };
    return table;
}

QString TexteAide()
{
    QString texte = QStringLiteral("Utilisation : ardemo [options] --sortie FICHIER [[options] --sortie FICHIER]...\n"
                                   "              ardemo [options] [FICHIER.Cal | FICHIER.ics]...\n"
                                   "Fabrique le calendrier d'une année, ou d'une année scolaire de septembre à\n"
                                   "août, sans ouvrir de fenêtre.\n"
                                   "Sans --sortie, la fenêtre s'ouvre avec les options données et\n"
                                   "les fichiers nommés (.Cal ouvert, .ics importé).\n\nOptions :\n");
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

// One file to write: everything read and checked, the sheet built.
struct Fichier {
    QString chemin;
    FormatSortie format;
    Document document;
    ModeleFeuille feuille;
    std::optional<PlanPage> page;
    int dpi = 150;
};

// Reads what the options name (settings, .Cal, .ics) into a document and builds
// its sheet, as the window does; the reason it cannot when it cannot.
std::optional<QString> Preparer(const OptionsFenetre& o, Fichier& f)
{
    // The settings file the window would read: beside the program, or the
    // user's own when the program's folder belongs to the system.
    QString ini = o.ini;
    if (ini.isEmpty()) {
        const std::filesystem::path dossier = CheminFichier(QCoreApplication::applicationDirPath());
        ini =
            NomFichier(ChoisirEmplacements(dossier, DossierModifiable(dossier), EnvironnementDuProcessus()).fichierIni);
    }
    std::error_code ec;
    if (!o.ini.isEmpty()
        && !(std::filesystem::is_regular_file(CheminFichier(ini), ec)
             && ::access(CheminFichier(ini).c_str(), R_OK) == 0))
        return QStringLiteral("fichier de réglages « %1 » illisible").arg(ini);
    if (!o.ini.isEmpty() && ExaminerIni(CheminFichier(ini)) == EtatLecture::TropGros)
        return QStringLiteral("fichier de réglages « %1 » trop gros (plus de %2 Mo)")
            .arg(ini)
            .arg(TailleMaxIni / (1024 * 1024));

    // The settings file's colours, width and region; the file is never written.
    Document& d = f.document;
    d = Document(CheminFichier(ini));
    d.ChargerReglages();
    if (o.largeur)
        d.PrendreLargeur(std::to_string(*o.largeur));
    if (o.region)
        d.RegionFeries = *o.region;
    d.WeekEnd = o.weekEnd;
    d.Feries = o.feries;

    TableCouleursSP& table = d.Speciales.etat.table.v;
    EtiquettesCouleurs etiquettes;
    std::optional<Periode> periode = o.annee;
    if (!o.couleurs.isEmpty()) {
        const LectureCal lecture = LireFichierCal(CheminFichier(o.couleurs), table);
        if (const std::string motif = MotifRefusCal(lecture); !motif.empty())
            return QStringLiteral("fichier de couleurs « %1 » refusé : %2").arg(o.couleurs, QString::fromStdString(motif));
        etiquettes = lecture.etiquettes;
        const std::optional<Periode> duFichier = PeriodeDeTexte(lecture.annee);
        if (!periode)
            periode = duFichier;
        else if (duFichier)
            PlacerCal(table, *duFichier, *periode);
    }
    if (!periode)
        periode = Periode{HorlogeSansAttente().Aujourdhui().annee, 1};
    d.ChoisirPeriode(*periode);
    // Imported calendars colour the sheet's days over the .Cal's colours.
    for (size_t i = 0; i < o.imports.size(); ++i) {
        const auto& [fichier, couleur] = o.imports[i];
        const ImportIcs import = ImporterIcs(CheminFichier(fichier), *periode, couleur, table);
        const QString message = QString::fromStdString(MotifIcs(import));
        if (import.etat == EtatIcs::AucunEvenement || (import.etat == EtatIcs::Ok && o.details))
            std::fprintf(stderr, "ardemo : %s : %s\n", fichier.toLocal8Bit().constData(), message.toLocal8Bit().constData());
        else if (import.etat != EtatIcs::Ok)
            return QStringLiteral("calendrier « %1 » refusé : %2").arg(fichier, message);
        if (import.etat == EtatIcs::Ok) {
            const QString e = i < o.etiquettesImports.size() ? o.etiquettesImports[i] : QString();
            etiquettes[couleur] = e.isEmpty() ? EtiquetteIcs(import, fichier.toStdString()) : e.toStdString();
        }
    }
    f.feuille = d.Feuille();
    if (o.page) {
        OptionsPage options = *o.page;
        if (o.moisPage) {
            const auto blocs = BlocsDesMois(periode->premierMois, o.moisPage->first, o.moisPage->second);
            if (!blocs)
                return QStringLiteral("les mois %1 à %2 ne se suivent pas sur la feuille de %3")
                    .arg(o.moisPage->first)
                    .arg(o.moisPage->second)
                    .arg(QString::fromStdString(TextePeriode(*periode)));
            options.premierBloc = blocs->first;
            options.nombreMois = blocs->second;
        }
        f.page = MettreEnPageFeuille(f.feuille, options, etiquettes);
        f.dpi = o.dpi;
    }
    return std::nullopt;
}

// Everything is read and checked before anything is drawn; the files are
// written all or none.
int Fabriquer(const Demande& d, const char* programme)
{
    // No display is needed nor looked for (terminal, ssh, CI). The
    // application of a caller that has one (the tests) is used as it is.
    std::optional<QGuiApplication> app;
    int nArgs = 1;
    char* args[] = {const_cast<char*>(programme), nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
        qInstallMessageHandler(MessagesQt);
        app.emplace(nArgs, args);
        QGuiApplication::setApplicationName(QStringLiteral("Ardemo"));
        PreparerApplication(*app);
        // Every format written here is built in (BMP, PNG) or our own (PDF,
        // SVG): without this, the first image written loads and links every
        // image plugin installed, only to ask whether one overrides PNG.
        QCoreApplication::setLibraryPaths({});
    }

    // A file named twice would keep one content only, and a file read that is
    // also written would be lost.
    const auto memeFichier = [](const QString& a, const QString& b) {
        std::error_code ec, ec2;
        const std::filesystem::path pa = std::filesystem::absolute(CheminFichier(a), ec),
                                    pb = std::filesystem::absolute(CheminFichier(b), ec2);
        return std::filesystem::equivalent(pa, pb, ec)
               || std::filesystem::weakly_canonical(pa, ec) == std::filesystem::weakly_canonical(pb, ec2);
    };
    for (size_t i = 0; i < d.sorties.size(); ++i) {
        const QString& cible = d.sorties[i].chemin;
        for (size_t j = 0; j < i; ++j)
            if (memeFichier(d.sorties[j].chemin, cible))
                return Erreur(QStringLiteral("fichier « %1 » donné deux fois à --sortie").arg(cible));
        for (const Sortie& s : d.sorties) {
            QStringList lus = {s.options.couleurs, s.options.ini};
            for (const auto& import : s.options.imports)
                lus << import.first;
            for (const QString& lu : lus)
                if (!lu.isEmpty() && memeFichier(lu, cible))
                    return Erreur(QStringLiteral("fichier « %1 » à la fois lu et écrit").arg(cible));
        }
    }

    std::vector<Fichier> fichiers;
    fichiers.reserve(d.sorties.size());
    for (const Sortie& s : d.sorties) {
        Fichier f = s.commeAvant ? fichiers.back() : Fichier{};
        f.chemin = s.chemin;
        f.format = FormatDuNom(s.chemin.toStdString());
        if (!s.commeAvant)
            if (const std::optional<QString> refus = Preparer(s.options, f))
                return Erreur(*refus);
        if (f.page && f.format == FormatSortie::Bmp)
            return Erreur(QStringLiteral("« %1 » : la mise en page ne se fait qu'en .pdf, .png ou .svg").arg(f.chemin));
        fichiers.push_back(std::move(f));
    }
    // One file at a time: each is made, then written to its temporary before
    // the next is made, and all are renamed at the end.
    std::vector<std::filesystem::path> chemins;
    for (const Fichier& f : fichiers)
        chemins.push_back(CheminFichier(f.chemin));
    bool fait = true;
    const auto produire = [&](size_t i, std::string& contenu) {
        const Fichier& f = fichiers[i];
        CalendrierAEcrire c = CalendrierDuDocument(
            f.document, FormatVectoriel(f.format) || f.page ? QImage() : ImageFeuille(f.feuille), &f.feuille, QColor());
        c.page = f.page;
        c.dpi = f.dpi;
        const std::optional<QByteArray> octets = OctetsCalendrier(f.format, c);
        fait = octets.has_value();
        if (fait)
            contenu.assign(octets->constData(), size_t(octets->size()));
        return fait;
    };
    size_t echec = 0;
    if (!EcrireFichiersAtomiques(chemins, produire, &echec))
        return Erreur(QStringLiteral("impossible d'écrire le fichier « %1 » : %2")
                          .arg(fichiers[echec].chemin, QString::fromStdString(RaisonSysteme(errno))));
    return 0;
}

// The window needs a display: say so in French rather than let Qt abort.
bool EcranDisponible()
{
    const QByteArray plateforme = qgetenv("QT_QPA_PLATFORM");
    if (!plateforme.isEmpty() && !plateforme.startsWith("xcb") && !plateforme.startsWith("wayland"))
        return true;
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

} // namespace

Lancement LigneDeCommande(int argc, char* argv[])
{
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
            // A slip of the fingers names the option meant.
            std::vector<std::string> noms{"help", "version"};
            for (const Option& o : Options())
                noms.push_back(o.nom.toStdString());
            const std::string_view proche = NomProche(nom.toStdString(), {noms.begin(), noms.end()});
            if (!proche.empty())
                return {Erreur(QStringLiteral("option inconnue « %1 », vouliez-vous dire --%2 ?")
                                   .arg(tape, QString::fromUtf8(proche.data(), qsizetype(proche.size())))),
                        {}};
            return {Erreur(QStringLiteral("option inconnue « %1 » (voir ardemo --help)").arg(tape)), {}};
        }
        // The only other refusal: an option that needs a value came last.
        return {Erreur(QStringLiteral("l'option « %1 » attend une valeur").arg(arguments.constLast())), {}};
    }
    if (analyse.isSet(aide)) {
        std::fputs(TexteAide().toLocal8Bit().constData(), stdout);
        return {0, {}};
    }
    if (analyse.isSet(version)) {
        std::puts("Ardemo " ARDEMO_VERSION);
        return {0, {}};
    }

    // In the order of the command line, so that an option may refer to the
    // one before it, and a file takes the options before it.
    Demande demande;
    QHash<QString, int> rangs;
    for (const QString& nom : analyse.optionNames()) {
        const auto o = std::find_if(Options().begin(), Options().end(), [&](const Option& x) { return x.nom == nom; });
        if (o == Options().end())
            continue; // --help, --version
        const QString valeur = o->valeur.isEmpty() ? QString() : analyse.values(nom).value(rangs[nom]++);
        if (const QString refus = o->appliquer(demande, valeur); !refus.isEmpty())
            return {Erreur(refus), {}};
        if (o->nom != QLatin1String("sortie"))
            demande.optionsApres = true;
    }

    // Files named alone are opened by the window (a .Cal, an .ics).
    for (const QString& f : analyse.positionalArguments()) {
        const FormatSortie format = FormatDuNom(f.toStdString());
        const bool calendrier = TypeAOuvrir(f.toStdString()) != FichierAOuvrir::Aucun;
        if (!calendrier || !demande.sorties.empty())
            return {Erreur(format != FormatSortie::Aucun
                               ? QStringLiteral("argument inattendu « %1 » : un fichier à écrire suit --sortie").arg(f)
                           : demande.sorties.empty()
                               ? QStringLiteral("argument inattendu « %1 » (voir ardemo --help)").arg(f)
                               : QStringLiteral("argument inattendu « %1 » : avec --sortie, nommez-le par "
                                                "--couleurs ou --importer").arg(f)),
                    {}};
        demande.options.fichiers << f;
    }

    if (demande.sorties.empty()) {
        if (!EcranDisponible())
            return {Erreur(QStringLiteral("aucun écran : donnez --sortie pour fabriquer des fichiers sans fenêtre")), {}};
        return {std::nullopt, demande.options};
    }
    if (demande.optionsApres)
        return {Erreur(QStringLiteral("les options qui suivent le dernier --sortie ne s'appliqueraient à aucun "
                                      "fichier : placez-les avant lui")),
                {}};
    return {Fabriquer(demande, argv[0]), {}};
}
