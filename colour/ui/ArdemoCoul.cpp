// The colour scheme dialog, opened by the main window's "de base" button.
#include "colour/ui/ArdemoCoul.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>

#include "commun/Twips.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Styles.h"
#include "colour/ui/Echantillon.h"

namespace {
// Below the buttons, the holidays' region: its label, then its list as wide as
// the dialog, for the longest name ("Canton de Neuchâtel").
constexpr RectTwips R_Client{0, 0, 4185, 4245};
constexpr RectTwips R_vkFrame3{30, 60, 4095, 2295};
constexpr RectTwips R_CEntete{120, 420, 2055, 315};
constexpr RectTwips R_Grille{2280, 420, 1695, 1785};
constexpr RectTwips R_ShapeCadre{2310, 450, 1635, 1725};
constexpr RectTwips R_Cadre{2715, 1140, 825, 330};
constexpr RectTwips R_CNJour{120, 810, 705, 315};
constexpr RectTwips R_CBordure{900, 810, 1275, 315};
constexpr RectTwips R_CJour{120, 1170, 705, 675};
constexpr RectTwips R_CFerie{900, 1170, 1275, 315};
constexpr RectTwips R_CWeekEnd{900, 1530, 1275, 315};
constexpr RectTwips R_CJoursHorsMois{120, 1890, 2055, 315};
constexpr RectTwips R_RestoreCoul{60, 2400, 4095, 435};
constexpr RectTwips R_Annuler{60, 2880, 1725, 435};
constexpr RectTwips R_Valider{2430, 2880, 1725, 435};
constexpr RectTwips R_lblRegion{60, 3375, 4095, 345};
constexpr RectTwips R_cRegion{60, 3750, 4095, 405};
constexpr int HauteurTitre = 360;
constexpr int DecalageHaut = 500; // below the main window's top edge
constexpr double FondDialogue = 0x00D9F0F4;
constexpr int EpaisseurCadre = 3;

enum Slot { SlotEntete, SlotNoms, SlotJours, SlotGris, SlotFerie, SlotWeekEnd, SlotGrille, SlotBordure };

Echantillon* echantillon(QWidget* parent, const QString& texte, const RectTwips& r, const QFont& police)
{
    auto* e = placer(new Echantillon(texte, parent), r);
    e->setFont(police);
    return e;
}
} // namespace

FormeCadre::FormeCadre(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FormeCadre::setCouleurBord(double couleur)
{
    m_couleur = couleur;
    update();
}

void FormeCadre::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor c = VersQColor(m_couleur);
    const QRect r = rect();
    p.fillRect(QRect(r.left(), r.top(), r.width(), EpaisseurCadre), c);
    p.fillRect(QRect(r.left(), r.bottom() - EpaisseurCadre + 1, r.width(), EpaisseurCadre), c);
    p.fillRect(QRect(r.left(), r.top(), EpaisseurCadre, r.height()), c);
    p.fillRect(QRect(r.right() - EpaisseurCadre + 1, r.top(), EpaisseurCadre, r.height()), c);
}

ArdemoCoul::ArdemoCoul(QWidget* parent, const SchemaCouleurs& couleurs, Region region)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_couleurs(couleurs)
{
    setWindowTitle(QStringLiteral("Choix des couleurs"));
    setWindowIcon(QIcon(QStringLiteral(":/ardemo.png")));
    setModal(true);
    const RectPixels client = VersPixels(R_Client);
    setFixedSize(client.l, client.h);
    FondWidget(this, VersQColor(FondDialogue));

    const QFont arial12g = PoliceDessin(QStringLiteral("Arial"), 12, true);
    vkFrame3 = cadre(this, QStringLiteral("Cliquer sur les couleurs à changer"), R_vkFrame3, 0x00FF8080, 0x00400000,
                     FondDialogue, 0x00C0C0C0, HauteurTitre);
    CEntete = echantillon(vkFrame3, QStringLiteral("Mois Année"), R_CEntete, arial12g);
    Grille = echantillon(vkFrame3, QString(), R_Grille, arial12g);
    Grille->setAccessibleName(QStringLiteral("Couleur de la grille"));
    ShapeCadre = placer(new FormeCadre(vkFrame3), R_ShapeCadre);
    Cadre = echantillon(vkFrame3, QStringLiteral("Cadre"), R_Cadre, PoliceDessin(QStringLiteral("Arial"), 14.25, true));
    Cadre->setFrameStyle(QFrame::NoFrame);
    CNJour = echantillon(vkFrame3, QStringLiteral("Lun"), R_CNJour, arial12g);
    CBordure = echantillon(vkFrame3, QStringLiteral("Bordure"), R_CBordure, arial12g);
    CJour = bouton(vkFrame3, QStringLiteral("31"), R_CJour);
    CJour->setFont(PoliceDessin(QStringLiteral("Arial"), 20.25, true));
    CFerie = echantillon(vkFrame3, QStringLiteral("Férié"), R_CFerie, arial12g);
    CWeekEnd = echantillon(vkFrame3, QStringLiteral("WeekEnd"), R_CWeekEnd, arial12g);
    CJoursHorsMois = echantillon(vkFrame3, QStringLiteral("Jours hors du mois"), R_CJoursHorsMois,
                                 PoliceDessin(QStringLiteral("Arial Narrow"), 12, true));

    lblRegion = etiquette(this, QStringLiteral("Jours fériés de :"), R_lblRegion, arial12g, 0, FondDialogue,
                          Qt::AlignLeft | Qt::AlignVCenter);
    cRegion = placer(new QComboBox(this), R_cRegion);
    cRegion->setFont(arial12g);
    for (int i = 0; i < NombreRegions; ++i)
        cRegion->addItem(QString::fromUtf8(NomRegion(RegionNumero(i))));
    lblRegion->setBuddy(cRegion);

    RestoreCoul = boutonCouleur(this, QStringLiteral("Revenir aux couleurs d'origine"), R_RestoreCoul, 0x000080FF, 0);
    Annuler = boutonCouleur(this, QStringLiteral("Annuler"), R_Annuler, 0x000000FF, 0);
    Valider = boutonCouleur(this, QStringLiteral("Valider"), R_Valider, 0x0000FF00, 0);

    // Tab order as the window reads: the samples, of which only CJour takes
    // the focus, the three buttons, then the region list below them.
    setTabOrder(CJour, RestoreCoul);
    setTabOrder(RestoreCoul, Annuler);
    setTabOrder(Annuler, Valider);
    setTabOrder(Valider, cRegion);
    for (QWidget* w : {static_cast<QWidget*>(CEntete), static_cast<QWidget*>(Grille), static_cast<QWidget*>(Cadre),
                       static_cast<QWidget*>(CNJour), static_cast<QWidget*>(CBordure), static_cast<QWidget*>(CFerie),
                       static_cast<QWidget*>(CWeekEnd), static_cast<QWidget*>(CJoursHorsMois)})
        w->setFocusPolicy(Qt::NoFocus);
    RestoreCoul->setFocus();

    connect(CEntete, &Echantillon::clique, this, [this] { ModifierCouleur(SlotEntete); });
    connect(CNJour, &Echantillon::clique, this, [this] { ModifierCouleur(SlotNoms); });
    connect(CJour, &QAbstractButton::clicked, this, [this] { ModifierCouleur(SlotJours); });
    connect(CJoursHorsMois, &Echantillon::clique, this, [this] { ModifierCouleur(SlotGris); });
    connect(CFerie, &Echantillon::clique, this, [this] { ModifierCouleur(SlotFerie); });
    connect(CWeekEnd, &Echantillon::clique, this, [this] { ModifierCouleur(SlotWeekEnd); });
    connect(Grille, &Echantillon::clique, this, [this] { ModifierCouleur(SlotGrille); });
    connect(Cadre, &Echantillon::clique, this, [this] { ModifierCouleur(SlotGrille); });
    connect(CBordure, &Echantillon::clique, this, [this] { ModifierCouleur(SlotBordure); });
    connect(RestoreCoul, &QAbstractButton::clicked, this, [this] { RestoreCoul_Click(); });
    connect(Annuler, &QAbstractButton::clicked, this, [this] { Annuler_Click(); });
    connect(Valider, &QAbstractButton::clicked, this, [this] { Valider_Click(); });

    Form_Load();
    cRegion->setCurrentIndex(static_cast<int>(region));
    // The names the tests find the controls by.
    Nommer({{vkFrame3, "vkFrame3"}, {CEntete, "CEntete"}, {Grille, "Grille"}, {ShapeCadre, "ShapeCadre"},
            {Cadre, "Cadre"}, {CNJour, "CNJour"}, {CBordure, "CBordure"}, {CJour, "CJour"}, {CFerie, "CFerie"},
            {CWeekEnd, "CWeekEnd"}, {CJoursHorsMois, "CJoursHorsMois"}, {lblRegion, "lblRegion"}, {cRegion, "cRegion"},
            {RestoreCoul, "RestoreCoul"}, {Annuler, "Annuler"}, {Valider, "Valider"}});
}

void ArdemoCoul::Form_Load()
{
    if (parentWidget())
        move(parentWidget()->pos() + QPoint(0, TwipsVersPixels(DecalageHaut)));
    AfficherCouleurs(true);
}

// The slots on their samples; the grid sample is a day cell framed in the grid
// colour.
void ArdemoCoul::AfficherCouleurs(bool fondsGrille)
{
    const SchemaCouleurs& c = m_couleurs;
    CEntete->setTexte(c.CoulTxtEntete);
    CNJour->setFond(c.CoulNoms);
    CJour->setFondUni(VersQColor(c.CoulJours));
    CJoursHorsMois->setFond(c.CoulGris);
    CFerie->setFond(c.CoulFerie);
    CWeekEnd->setFond(c.CoulWeekEnd);
    CBordure->setFond(c.CoulBordure);
    if (fondsGrille) {
        Cadre->setFond(c.CoulJours);
        Grille->setFond(c.CoulJours);
    }
    ShapeCadre->setCouleurBord(c.CoulGrille);
}

double ArdemoCoul::couleurEchantillon(int slot) const
{
    switch (slot) {
    case SlotEntete: return CEntete->texte();
    case SlotNoms: return CNJour->fond();
    case SlotJours: return DeQColor(CJour->fond1());
    case SlotGris: return CJoursHorsMois->fond();
    case SlotFerie: return CFerie->fond();
    case SlotWeekEnd: return CWeekEnd->fond();
    case SlotGrille: return m_couleurs.CoulGrille;
    default: return CBordure->fond();
    }
}

void ArdemoCoul::ModifierCouleur(int slot)
{
    if (slot < 0 || slot >= SchemaCouleurs::Nombre)
        return;
    const std::optional<double> choisie =
        ChoisirCouleur(this, QStringLiteral("Modifier une couleur"), couleurEchantillon(slot));
    if (!choisie)
        return;
    m_couleurs.slot(slot) = *choisie;
    switch (slot) {
    case SlotEntete: CEntete->setTexte(*choisie); break;
    case SlotNoms: CNJour->setFond(*choisie); break;
    case SlotJours: CJour->setFondUni(VersQColor(*choisie)); break;
    case SlotGris: CJoursHorsMois->setFond(*choisie); break;
    case SlotFerie: CFerie->setFond(*choisie); break;
    case SlotWeekEnd: CWeekEnd->setFond(*choisie); break;
    case SlotGrille: ShapeCadre->setCouleurBord(*choisie); break;
    default: CBordure->setFond(*choisie); break;
    }
}

void ArdemoCoul::RestoreCoul_Click()
{
    m_couleurs = SchemaCouleurs{};
    AfficherCouleurs(false);
}

void ArdemoCoul::Annuler_Click()
{
    reject();
}

void ArdemoCoul::Valider_Click()
{
    accept();
}

Region ArdemoCoul::region() const
{
    return RegionNumero(cRegion->currentIndex());
}
