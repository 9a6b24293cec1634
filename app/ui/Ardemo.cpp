#include "app/ui/Ardemo.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>

#include "commun/FichierIni.h"
#include "commun/Nombres.h"
#include "Version.h"
#include "app/Horloge.h"
#include "app/Reglages.h"
#include "commun/ui/Chemin.h"
#include "commun/Twips.h"
#include "app/ui/BoiteAnnee.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Couleur.h"
#include "app/ui/VueFeuille.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Styles.h"

namespace {
// Controls of the main window, left, top, width, height in twips of their container.
constexpr RectTwips R_Fenetre{0, 0, 13755, 13035};
constexpr RectTwips R_FondCdes{0, 0, 3990, 7125};
constexpr RectTwips R_ChoixAffichage{75, 90, 3855, 975};
constexpr RectTwips R_chkFerie{210, 450, 1620, 435};
constexpr RectTwips R_chkWeek{2040, 450, 1620, 435};
constexpr RectTwips R_vkFrame1{75, 1080, 2205, 1035};
constexpr RectTwips R_cAn{210, 450, 1230, 450};
constexpr RectTwips R_FeuVert{1620, 420, 480, 480};
constexpr RectTwips R_vkFrame2{2295, 1080, 1635, 1035};
constexpr RectTwips R_Couleurs{60, 300, 1515, 330};
constexpr RectTwips R_CoulSpeciale{60, 660, 1515, 330};
constexpr RectTwips R_Fabriquer{75, 2175, 3885, 390};
constexpr RectTwips R_Selection{75, 2625, 3885, 390};
constexpr RectTwips R_SauveFichier{75, 3060, 3885, 390};
constexpr RectTwips R_SauvePPapier{75, 3510, 3885, 390};
constexpr RectTwips R_Ajuster{75, 3960, 3860, 2145};
constexpr RectTwips R_Largeur{540, 330, 588, 444};
constexpr RectTwips R_Hauteur{2550, 330, 588, 444};
constexpr RectTwips R_Label1_0{360, 420, 1380, 285};
constexpr RectTwips R_Label1_1{2340, 405, 1380, 285};
constexpr RectTwips R_Label2_1{270, 750, 1290, 300};
constexpr RectTwips R_Label2_2{2250, 750, 1290, 300};
constexpr RectTwips R_Label2_0{135, 1080, 3600, 300};
constexpr RectTwips R_Label2_3{90, 1380, 3690, 690};
constexpr RectTwips R_CalScolaire{75, 6180, 3885, 375};
constexpr RectTwips R_Apercu{75, 6630, 1272, 405};
constexpr RectTwips R_Imprimer{1410, 6630, 1275, 405};
constexpr RectTwips R_Quitter{2760, 6630, 1200, 405};
constexpr RectTwips R_Image1{3450, 7770, 480, 480};
constexpr RectTwips R_CalType{960, 7860, 2415, 285};
constexpr RectTwips R_VSCal{13440, 0, 315, 7500};
constexpr RectTwips R_CalBase{3990, 0, 9450, 13020};
constexpr RectTwips R_Pictx{1800, 8640, 435, 435};
constexpr RectTwips R_PictSel{1380, 8640, 405, 435};
constexpr int HauteurTitreAffichage = 350; // the display frame's title bar

const QColor FondPanneau = VersQColor(0x00A9D5DC);

// Watches the program's windows being hidden once the main window is closed.
class FinDuProgramme : public QObject {
public:
    FinDuProgramme(QObject* parent, std::function<void()> siCachee) : QObject(parent), m_siCachee(std::move(siCachee)) {}
    bool eventFilter(QObject* objet, QEvent* e) override
    {
        if (e->type() == QEvent::Hide && objet->isWidgetType() && static_cast<QWidget*>(objet)->isWindow())
            m_siCachee();
        return false;
    }

private:
    std::function<void()> m_siCachee;
};

QLineEdit* boiteTaille(QWidget* parent, const QString& texte, const RectTwips& r, const QString& bulle)
{
    auto* e = placer(new QLineEdit(texte, parent), r);
    e->setMaxLength(3);
    e->setFont(PoliceDessin(QStringLiteral("Arial"), 13.5, true));
    FondWidget(e, Qt::white);
    TexteWidget(e, VersQColor(0x00C00000));
    QPalette grise = e->palette(); // disabled (the height with a zone): grey text
    grise.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    e->setPalette(grise);
    e->setToolTip(bulle);
    return e;
}
} // namespace

Ardemo::Ardemo(Document& document, Horloge& horloge, const QString& dossierProgramme, const QString& fichierIni)
    : m_doc(document), m_horloge(horloge), m_dossier(dossierProgramme), m_iniImpose(fichierIni)
{
    m_pile = new QUndoStack(this);
    setWindowTitle(QStringLiteral("Ardemo - Version " ARDEMO_VERSION));
    setWindowIcon(QIcon(QStringLiteral(":/ardemo.png")));
    FondWidget(this, FondPanneau);
    setFont(PoliceDessin(QStringLiteral("MS Sans Serif"), 13.5));
    const RectPixels client = VersPixels(R_Fenetre);
    resize(client.l, client.h);

    creerCommandes();
    creerActionsAnnulation();
    // .Cal and .ics files dropped anywhere on the window, the text boxes included.
    setAcceptDrops(true);
    for (QWidget* boite : {static_cast<QWidget*>(Largeur), static_cast<QWidget*>(Hauteur),
                           static_cast<QWidget*>(cAn->lineEdit())})
        boite->setAcceptDrops(false);
    Form_Load();
    // The other windows are the main window's children: Qt does not end the
    // program when the last of them closes after the main window. A watcher of
    // its own (not this window's filter, which handles the boxes' events once).
    qApp->installEventFilter(new FinDuProgramme(this, [this] { fenetreCachee(); }));
    // The names the tests find the controls by.
    Nommer({{FondCdes, "FondCdes"}, {ChoixAffichage, "ChoixAffichage"}, {chkFerie, "chkFerie"}, {chkWeek, "chkWeek"},
            {vkFrame1, "vkFrame1"}, {cAn, "cAn"}, {FeuVert, "FeuVert"}, {FeuRouge, "FeuRouge"}, {vkFrame2, "vkFrame2"},
            {Couleurs, "Couleurs"}, {CoulSpéciale, "CoulSpéciale"}, {Fabriquer, "Fabriquer"}, {Sélection, "Sélection"},
            {SauveFichier, "SauveFichier"}, {SauvePPapier, "SauvePPapier"}, {Ajuster, "Ajuster"}, {Largeur, "Largeur"},
            {Hauteur, "Hauteur"}, {CalScolaire, "CalScolaire"}, {Apercu, "Apercu"}, {Imprimer, "Imprimer"},
            {Quitter, "Quitter"}, {Image1, "Image1"}, {CalType, "CalType"}, {VSCal, "VSCal"}, {CalBase, "CalBase"},
            {Pict1, "Pict1"}, {Pictx, "Pictx"}, {PictSel, "PictSel"}});
}

Ardemo::~Ardemo() = default;

void Ardemo::creerCommandes()
{
    // The image lies behind the sheet, in the same rectangle.
    Pict1 = placer(new BoiteImage(this), R_CalBase);
    CalBase = new VueFeuille(this, [this] { return m_horloge.Aujourdhui(); });
    placer(CalBase, R_CalBase);
    CalBase->setModele(&m_feuille);
    Pictx = placer(new BoiteImage(this, false), R_Pictx);
    Pictx->hide();
    PictSel = placer(new BoiteImage(this), R_PictSel);
    PictSel->hide();
    connect(CalBase, &VueFeuille::jourClique, this, [this](int m, int i) { BtnJour_Click(m, i); });
    connect(CalBase, &VueFeuille::suiteDeJours, this, [this](const Date& a, const Date& b) { ColorierSuite(a, b); });

    VSCal = placer(new QScrollBar(Qt::Vertical, this), R_VSCal);
    VSCal->setRange(0, 16);
    VSCal->setPageStep(8);
    VSCal->setSingleStep(1);
    VSCal->setAccessibleName(QStringLiteral("Défilement du calendrier"));

    Image1 = icone(this, QStringLiteral(":/ardemo.png"), R_Image1, QStringLiteral("Icône d'Ardemo"));
    CalType = etiquette(this, QString(), R_CalType, PoliceDessin(QStringLiteral("Arial"), 12, true), 0,
                        0x00A9D5DC, Qt::AlignRight);

    FondCdes = placer(new QWidget(this), R_FondCdes);
    FondWidget(FondCdes, FondPanneau);

    ChoixAffichage = cadre(FondCdes, QStringLiteral("Choix de l'affichage"), R_ChoixAffichage, 0x000080FF,
                           0x00000040, 0x00A9D5DC, 0x00A9D5DC, HauteurTitreAffichage);
    chkFerie = caseACocher(ChoixAffichage, QStringLiteral("Jours fériés"), R_chkFerie, 0x00C0C0FF);
    chkWeek = caseACocher(ChoixAffichage, QStringLiteral("WeekEnd"), R_chkWeek, 0x0080C0FF);

    vkFrame1 = cadre(FondCdes, QStringLiteral("Choix de l'Année"), R_vkFrame1, 0x00FF00FF, 0x00400040,
                     0x00E0E0E0, 0x00FF80FF);
    cAn = placer(new BoiteAnnee(QStringLiteral("Choix de l'Année"), vkFrame1), R_cAn);
    cAn->setInsertPolicy(QComboBox::NoInsert);
    cAn->setFont(PoliceDessin(QStringLiteral("Arial"), 14.25, true));
    FondWidget(cAn, VersQColor(0x00D9F0F4));
    TexteWidget(cAn, VersQColor(0x00800080));
    FeuVert = icone(vkFrame1, QStringLiteral(":/feu_vert.png"), R_FeuVert,
                    QStringLiteral("Feu vert : calendrier prêt"));
    FeuRouge = icone(vkFrame1, QStringLiteral(":/feu_rouge.png"), R_FeuVert,
                     QStringLiteral("Feu rouge : fabrication en cours"));
    FeuRouge->hide();

    vkFrame2 = cadre(FondCdes, QStringLiteral("Couleurs"), R_vkFrame2, 0x00FF00FF, 0x00400040, 0x00E0E0E0,
                     0x00FF80FF);
    Couleurs = bouton(vkFrame2, QStringLiteral("de base"), R_Couleurs);
    CoulSpéciale = bouton(vkFrame2, QStringLiteral("spéciales"), R_CoulSpeciale);

    Fabriquer = bouton(FondCdes, QStringLiteral("Fabriquer le Calendrier"), R_Fabriquer);
    Sélection = bouton(FondCdes, QStringLiteral("Sélectionner une zone"), R_Selection);
    SauveFichier = bouton(FondCdes, QStringLiteral("Sauver dans un fichier image..."), R_SauveFichier);
    SauvePPapier = bouton(FondCdes, QStringLiteral("Copier dans le Presse-Papier"), R_SauvePPapier);

    Ajuster = cadre(FondCdes, QStringLiteral("Spécifier Largeur ou Hauteur"), R_Ajuster, 0x00FF0000, 0, 0x00C0C0C0,
                    0x00C0C0C0);
    const QFont arial12g = PoliceDessin(QStringLiteral("Arial"), 12, true);
    Label1[0] = etiquette(Ajuster, QStringLiteral("L           mm"), R_Label1_0, arial12g, 0x00C00000, 0x00FFFFFF);
    Label1[1] = etiquette(Ajuster, QStringLiteral("H           mm"), R_Label1_1, arial12g, 0x00C00000, 0x00FFFFFF);
    Largeur = boiteTaille(Ajuster, QStringLiteral("90"), R_Largeur, QStringLiteral("Doit être compris entre 50 et 200"));
    Largeur->setAccessibleName(QStringLiteral("Largeur en mm"));
    Hauteur = boiteTaille(Ajuster, QStringLiteral("127"), R_Hauteur,
                          QStringLiteral("Doit être compris  entre 71 et 283"));
    Hauteur->setAccessibleName(QStringLiteral("Hauteur en mm"));
    const QFont etroite = PoliceDessin(QStringLiteral("Arial Narrow"), 11.25, true);
    Label2[1] = etiquette(Ajuster, QStringLiteral("entre 30 et 200"), R_Label2_1, etroite, 0x00800080, 0x00E9E9E9,
                          Qt::AlignRight);
    Label2[2] = etiquette(Ajuster, QStringLiteral("entre 30 et 283"), R_Label2_2, etroite, 0x00800080, 0x00E9E9E9,
                          Qt::AlignRight);
    Label2[0] = etiquette(Ajuster, QStringLiteral("Nota : Les proportions seront toujours conservées."), R_Label2_0,
                          PoliceDessin(QStringLiteral("Arial Narrow"), 9.75), 0x00800080, 0x00E0E0E0);
    Label2[3] = etiquette(Ajuster,
                          QStringLiteral("Si vous travaillez sur une zone sélectionnée, vous n'aurez à définir que "
                                         "la largeur.            La hauteur sera calculée automatiquement."),
                          R_Label2_3, PoliceDessin(QStringLiteral("Arial"), 9), 0x00C00000, 0x00E0E0E0);
    Label2[3]->setWordWrap(true);

    CalScolaire = bouton(FondCdes, QStringLiteral("Calendrier scolaire"), R_CalScolaire);
    Apercu = boutonCouleur(FondCdes, QStringLiteral("Aperçu"), R_Apercu, 0x0000C000, 0);
    Imprimer = boutonCouleur(FondCdes, QStringLiteral("Imprimer"), R_Imprimer, 0x00FF00FF, 0);
    Quitter = boutonCouleur(FondCdes, QStringLiteral("Quitter"), R_Quitter, 0x000000FF, 0x00000040);

    connecterSaisies();
    connect(Fabriquer, &QAbstractButton::clicked, this, [this] { Fabriquer_Click(); });
    connect(Couleurs, &QAbstractButton::clicked, this, [this] { Couleurs_Click(); });
    connect(CoulSpéciale, &QAbstractButton::clicked, this, [this] { CoulSpéciale_Click(); });
    connect(Sélection, &QAbstractButton::clicked, this, [this] { Sélection_Click(); });
    connect(SauveFichier, &QAbstractButton::clicked, this, [this] { SauveFichier_Click(); });
    connect(SauvePPapier, &QAbstractButton::clicked, this, [this] { SauvePPapier_Click(); });
    connect(CalScolaire, &QAbstractButton::clicked, this, [this] { CalScolaire_Click(); });
    connect(Apercu, &QAbstractButton::clicked, this, [this] { Apercu_Click(); });
    connect(Imprimer, &QAbstractButton::clicked, this, [this] { Imprimer_Click(); });
    connect(Quitter, &QAbstractButton::clicked, this, [this] { Quitter_Click(); });
    connect(chkFerie, &QAbstractButton::clicked, this, [this] { chkFerie_Click(); });
    connect(chkWeek, &QAbstractButton::clicked, this, [this] { chkWeek_Click(); });
}

void Ardemo::Form_Load()
{
    Document& d = m_doc;
    for (int an = 2000; an <= 2100; ++an)
        cAn->addItem(QString::number(an));
    const int annee = m_horloge.Aujourdhui().annee;
    cAn->setEditText(QStringLiteral("%1").arg(annee, 4, 10, QLatin1Char('0')));
    d.AnChoisi = QStringLiteral("%1").arg(annee % 10000, 4, 10, QLatin1Char('0')).toStdString();

    CalType->setToolTip(QStringLiteral("Si vous stationnez\r\n sur un jour férié\r\n vous  en connaîtrez la raison."));

    Pict1->setGeometry(CalBase->geometry());
    const QSize interieur = Pict1->tailleInterieure();
    LargMois = static_cast<int16_t>(interieur.width() / 3);
    HautMois = static_cast<int16_t>(interieur.height() / 4);

    FeuRouge->move(FeuVert->x(), FeuRouge->y());
    d.Couleurs = SchemaCouleurs{};
    EnvironnementUtilisateur env = EnvironnementDuProcessus();
    env.images = CheminFichier(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    env.documents = CheminFichier(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    m_emplacements = ChoisirEmplacements(CheminFichier(m_dossier), DossierModifiable(CheminFichier(m_dossier)), env);
    if (!m_iniImpose.isEmpty()) { // named on the command line: that file, in its own folder
        d.Reglages() = FichierReglages(CheminFichier(m_iniImpose));
    } else {
        d.Reglages() = FichierReglages(m_emplacements.fichierIni);
        if (!m_emplacements.dossierProgrammeModifiable)
            d.Reglages().CreerDossier(m_emplacements.fichierIni.parent_path());
    }
    // Settings that cannot be stored (a folder that cannot be made or written)
    // are said once; they then last until the program ends.
    d.Reglages().SignalerEchec([fenetre = QPointer<Ardemo>(this)](const std::filesystem::path& dossier) {
        if (!fenetre)
            return;
        auto* message = new QMessageBox(
            QMessageBox::Warning, QStringLiteral("Réglages"),
            QStringLiteral("Les réglages ne peuvent pas être enregistrés dans le dossier « %1 » : les changements ne "
                           "dureront que jusqu'à la fermeture du programme.")
                .arg(NomFichier(dossier)),
            QMessageBox::Ok, fenetre);
        message->setAttribute(Qt::WA_DeleteOnClose);
        message->setWindowFlag(Qt::WindowStaysOnTopHint);
        message->open();
    });
    // The window never waits for another copy holding the settings file.
    m_reessai = new QTimer(this);
    m_reessai->setSingleShot(true);
    connect(m_reessai, &QTimer::timeout, this, [this] { reessayerReglages(); });
    d.Reglages().SignalerOccupe([this] {
        if (!m_reessai->isActive())
            m_reessai->start(m_essais < 8 ? 250 : 2000);
    });
    LireReglages();
    BulleFeries();

    Coloration();
    Montrer(Affichage::Commandes);
    // The keyboard starts on the build button, the program's main command.
    Fabriquer->setFocus();
}

void Ardemo::reessayerReglages()
{
    if (m_doc.Reglages().Reessayer()) {
        m_essais = 0;
        return;
    }
    // Two seconds: the user is told once, the settings are kept to be written later.
    if (++m_essais == 8) {
        auto* message = new QMessageBox(
            QMessageBox::Warning, QStringLiteral("Réglages"),
            QStringLiteral("Les réglages n'ont pas pu être enregistrés dans « %1 » : %2. Ils le seront dès que le "
                           "fichier sera libre.")
                .arg(NomFichier(m_doc.FichierIni()),
                     QString::fromStdString(MotifEcritureIni(EcritureIni::Occupe))),
            QMessageBox::Ok, this);
        message->setAttribute(Qt::WA_DeleteOnClose);
        message->setWindowFlag(Qt::WindowStaysOnTopHint);
        message->open();
    }
}

void Ardemo::BulleFeries()
{
    chkFerie->setToolTip(QStringLiteral("Jours fériés de : ") + QString::fromUtf8(NomRegion(m_doc.RegionFeries)));
}

void Ardemo::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // Without a window manager the window is never activated: its first
    // showing counts as its first activation.
    if (PremierAffichage)
        QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void Ardemo::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void Ardemo::Form_Activate()
{
    if (PremierAffichage) {
        PremierAffichage = false;
        Fabrication();
    }
}

// Closing the main window ends the program when no other window of it is
// open; otherwise the program ends when the last of them closes.
void Ardemo::closeEvent(QCloseEvent* e)
{
    // Special colours that would be lost are offered to be saved first.
    if (!ProposerEnregistrer()) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
    m_fermee = true;
    QTimer::singleShot(0, this, [this] { verifierFin(); });
}

void Ardemo::fenetreCachee()
{
    if (m_fermee)
        QTimer::singleShot(0, this, [this] { verifierFin(); });
}

void Ardemo::verifierFin()
{
    if (!m_fermee || isVisible())
        return;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return;
    emit programFinished();
    QApplication::quit();
}

void Ardemo::ErreurPaques(const std::string& message)
{
    QMessageBox::warning(this, QStringLiteral("Erreur"), QString::fromStdString(message));
}

void Ardemo::Quitter_Click()
{
    if (ProposerEnregistrer())
        QApplication::exit(0);
}

