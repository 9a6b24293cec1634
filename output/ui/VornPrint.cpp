#include "output/ui/VornPrint.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <utility>

#include "commun/Nombres.h"
#include "commun/Twips.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Curseur.h"
#include "commun/ui/Styles.h"
#include "output/ui/ImpressionNette.h"
#include "output/ui/ImpressionPage.h"

namespace {
// The window and its controls, left, top, width, height in twips of their container.
constexpr RectTwips R_Fenetre{0, 0, 10005, 8340}; // grown by the row of "Mise en page..."
constexpr RectTwips R_Frame1{75, 90, 4635, 3405};
constexpr int GaucheChoixPrint = 105, GaucheChoixPrint5 = 120;
constexpr int HautsChoixPrint[VornPrint::NombreBoutons] = {300, 810, 1320, 1830, 2340, 2850};
constexpr int LargeurChoixPrint = 4455, HauteurChoixPrint = 450;
// In the list's place when the system has no printer.
constexpr RectTwips R_AucuneImprimante{105, 300, 4455, 2985};
constexpr RectTwips R_QualImpr{60, 6480, 4635, 705};
constexpr RectTwips R_Qualite[5] = {{}, {90, 330, 1185, 270}, {1380, 330, 885, 270}, {2370, 330, 1185, 270},
                                    {3690, 330, 855, 270}};
constexpr RectTwips R_MPage{960, 3570, 2625, 2835};
constexpr RectTwips R_FlecheM[9] = {{210, 420, 555, 555},   {855, 420, 555, 555},   {1500, 420, 555, 555},
                                    {210, 1080, 555, 555},  {840, 1080, 555, 555},  {1500, 1065, 555, 555},
                                    {210, 1740, 555, 555},  {840, 1740, 555, 555},  {1500, 1740, 555, 555}};
constexpr RectTwips R_HScroll1{210, 2400, 1845, 315};
constexpr RectTwips R_VScroll1{2160, 420, 315, 2295};
constexpr RectTwips R_PictPage{4770, 405, 5160, 7290};
constexpr RectTwips R_PictMP{75, 75, 765, 855};
constexpr RectTwips R_ValidePrint{3090, 7260, 1635, 450};
constexpr RectTwips R_AnnulPrint{90, 7260, 2895, 450};
constexpr RectTwips R_MiseEnPageImpr{90, 7800, 4635, 450};

constexpr double Pourpre = 0x00800080;
constexpr double Blanc = 0x00FFFFFF;
constexpr double FondImprimante = 0x00A9D5DC;
constexpr double ImprimanteChoisie = 0x00C0FFC0;
constexpr int GrandPas = 10, PetitPas = 5;
// Larger than this the miniature is not painted (it would lie far outside the page).
constexpr int MiniatureMaxi = 4000;

// A frame with its caption in white on the window's purple.
QGroupBox* cadreSimple(QWidget* parent, const QString& titre, const RectTwips& r, bool italique)
{
    auto* g = placer(new QGroupBox(titre, parent), r);
    QFont f = PoliceDessin(QStringLiteral("Arial"), 12, true);
    f.setItalic(italique);
    g->setFont(f);
    FondWidget(g, VersQColor(Pourpre));
    TexteWidget(g, VersQColor(Blanc));
    return g;
}

// A button showing only its picture.
class BoutonImage : public QAbstractButton {
public:
    BoutonImage(const QString& ressource, QWidget* parent) : QAbstractButton(parent), m_image(ressource)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, QApplication::palette().color(QPalette::Button));
        const QPoint decalage = isDown() ? QPoint(1, 1) : QPoint(0, 0);
        p.drawPixmap(r.center() - m_image.rect().center() + decalage, m_image);
        p.setPen(isDown() ? QColor(64, 64, 64) : QColor(255, 255, 255));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(isDown() ? QColor(255, 255, 255) : QColor(64, 64, 64));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        if (hasFocus())
            MarqueFocus(p, r.adjusted(2, 2, -2, -2), Qt::black);
    }

private:
    QPixmap m_image;
};

QColor CouleurPapier() { return QApplication::palette().color(QPalette::Base); }

// Upright design font (the frames' italic is not passed on to their controls).
QFont PoliceDroite(double points)
{
    QFont f = PoliceDessin(QStringLiteral("Arial"), points, true);
    f.setItalic(false);
    return f;
}
} // namespace

std::function<QList<ImprimanteDisponible>()> VornPrint::sourceImprimantes;

QList<ImprimanteDisponible> ImprimantesDuSysteme()
{
    QList<ImprimanteDisponible> liste;
    const QList<QPrinterInfo> infos = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : infos) {
        const QString nom = info.printerName();
        liste.append({nom,
                      [nom](QPrinter& p) {
                          p.setOutputFormat(QPrinter::NativeFormat);
                          p.setPrinterName(nom);
                      },
                      true});
    }
    return liste;
}

VornPrint::VornPrint(QWidget* parent, const QImage& source, QSizeF tailleSourceTwips, int16_t largeurTwips,
                     int16_t hauteurTwips, std::function<QString()> qualiteEnregistree,
                     std::function<std::optional<PositionBarres>(const QString&)> positionRetenue)
    : QDialog(parent), m_source(source), m_largeurTwips(largeurTwips), m_hauteurTwips(hauteurTwips),
      m_qualiteEnregistree(std::move(qualiteEnregistree)), m_positionRetenue(std::move(positionRetenue)),
      m_tailleSource(tailleSourceTwips)
{
    setWindowTitle(QStringLiteral("Choix de l'imprimante"));
    setModal(true);
    const RectPixels client = VersPixels(R_Fenetre);
    setFixedSize(client.l, client.h);
    FondWidget(this, VersQColor(Pourpre));
    creerControles();
    Form_Load();
    // The names the tests find the controls by.
    Nommer({{Frame1, "Frame1"}, {QualImpr, "QualImpr"}, {MPage, "MPage"}, {HScroll1, "HScroll1"},
            {VScroll1, "VScroll1"}, {PictPage, "PictPage"}, {PictMP, "PictMP"}, {ValidePrint, "ValidePrint"},
            {AnnulPrint, "AnnulPrint"}});
}

VornPrint::~VornPrint() = default;

std::optional<ChoixImpression> VornPrint::choisir()
{
    exec();
    if (!ImpressionValidee || m_choisie < 0 || m_choisie >= m_liste.size())
        return std::nullopt;
    return ChoixImpression{m_liste[m_choisie], VersEntier16(double(QualiteImpr)), mp, page};
}

void VornPrint::creerControles()
{
    Frame1 = cadreSimple(this, QStringLiteral(" Choisir d'abord  l'imprimante : "), R_Frame1, true);
    for (int i = 0; i < NombreBoutons; ++i) {
        const RectTwips r{i == 5 ? GaucheChoixPrint5 : GaucheChoixPrint, HautsChoixPrint[i], LargeurChoixPrint,
                          HauteurChoixPrint};
        ChoixPrint[i] = placer(new vkCommand(QStringLiteral("Imprimante %1").arg(i), Frame1), r);
        ChoixPrint[i]->setObjectName(QStringLiteral("ChoixPrint(%1)").arg(i));
        ChoixPrint[i]->setFont(PoliceDroite(11.25));
        ChoixPrint[i]->setFondUni(VersQColor(FondImprimante));
        ChoixPrint[i]->hide();
        connect(ChoixPrint[i], &QAbstractButton::clicked, this, [this, i] { ChoixPrint_Click(i); });
    }

    AucuneImprimante = placer(new QLabel(Frame1), R_AucuneImprimante);
    AucuneImprimante->setObjectName(QStringLiteral("AucuneImprimante"));
    AucuneImprimante->setTextFormat(Qt::RichText);
    AucuneImprimante->setText(
        QStringLiteral("<p>Aucune imprimante installée.</p><p>Ajoutez-en une dans les réglages "
                       "d'imprimantes du bureau (Paramètres, Imprimantes), puis cliquez de nouveau sur "
                       "« Imprimer ».</p>"));
    AucuneImprimante->setFont(PoliceDroite(11.25));
    AucuneImprimante->setWordWrap(true);
    AucuneImprimante->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TexteWidget(AucuneImprimante, VersQColor(Blanc));
    AucuneImprimante->hide();

    QualImpr = cadreSimple(this, QStringLiteral(" Qualité d'impression : "), R_QualImpr, false);
    QualImpr->setToolTip(QStringLiteral("Attention : Ces choix ne fonctionnent pas avec toutes les imprimantes."));
    const QString textes[5] = {QString(), QStringLiteral("Brouillon"), QStringLiteral("Basse"),
                               QStringLiteral("Moyenne"), QStringLiteral("Haute")};
    for (int k = 1; k <= 4; ++k) {
        Qualité[k] = placer(new AvecMarque<QRadioButton>(Qt::white, textes[k], QualImpr), R_Qualite[k]);
        Qualité[k]->setObjectName(QStringLiteral("Qualité(%1)").arg(k));
        Qualité[k]->setFont(PoliceDroite(9.75));
        FondWidget(Qualité[k], VersQColor(Pourpre));
        TexteWidget(Qualité[k], VersQColor(Blanc));
        Qualité[k]->setProperty("tag", QStringLiteral("-%1").arg(k));
        connect(Qualité[k], &QAbstractButton::clicked, this, [this, k] { Qualité_Click(k); });
    }
    Qualité[4]->setChecked(true);
    QualImpr->hide();

    MPage = cadreSimple(this, QStringLiteral(" Mise en page : "), R_MPage, true);
    for (int i = 0; i < 9; ++i) {
        FlècheM[i] = placer(new BoutonImage(QStringLiteral(":/fleche%1.png").arg(i), MPage), R_FlecheM[i]);
        FlècheM[i]->setObjectName(QStringLiteral("FlècheM(%1)").arg(i));
        connect(FlècheM[i], &QAbstractButton::clicked, this, [this, i] { FlècheM_Click(i); });
    }
    HScroll1 = placer(new AvecMarque<QScrollBar>(Qt::white, Qt::Horizontal, MPage), R_HScroll1);
    VScroll1 = placer(new AvecMarque<QScrollBar>(Qt::white, Qt::Vertical, MPage), R_VScroll1);
    HScroll1->setRange(0, 344);
    VScroll1->setRange(0, 485);
    for (QScrollBar* b : {HScroll1, VScroll1}) {
        b->setValue(PositionDepart);
        b->setPageStep(GrandPas);
        b->setSingleStep(PetitPas);
    }
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    MPage->hide();

    PictPage = placer(new BoiteImage(this, false), R_PictPage);
    PictPage->setAccessibleName(QStringLiteral("Page en miniature"));
    PictPage->setFond(CouleurPapier());
    PictMP = placer(new BoiteImage(PictPage), R_PictMP);
    PictMP->setFond(CouleurPapier());

    ValidePrint = boutonCouleur(this, QStringLiteral("Valider"), R_ValidePrint, 0x0000C000, 0x00404000);
    ValidePrint->setFont(PoliceDessin(QStringLiteral("Arial"), 14.25, true));
    AnnulPrint = boutonCouleur(this, QStringLiteral("Annuler l'impression"), R_AnnulPrint, 0x000000FF, 0x00000040);
    MiseEnPageImpr = bouton(this, QStringLiteral("Mise en page..."), R_MiseEnPageImpr);
    MiseEnPageImpr->setObjectName(QStringLiteral("MiseEnPageImpr"));
    // The keyboard goes through the window as it reads: the printers, the
    // place on the page, the quality, the two buttons left to right, then the page's layout below them.
    QList<QWidget*> ordre(ChoixPrint.begin(), ChoixPrint.end());
    ordre << QList<QWidget*>(FlècheM.begin(), FlècheM.end()) << HScroll1 << VScroll1;
    ordre << QList<QWidget*>(Qualité.begin() + 1, Qualité.end()) << AnnulPrint << ValidePrint << MiseEnPageImpr;
    for (qsizetype i = 1; i < ordre.size(); ++i)
        setTabOrder(ordre[i - 1], ordre[i]);
    // Keys and focus of the printers, the quality and the horizontal bar (eventFilter).
    for (vkCommand* b : ChoixPrint)
        b->installEventFilter(this);
    for (int k = 1; k <= 4; ++k)
        Qualité[k]->installEventFilter(this);
    HScroll1->installEventFilter(this);
    connect(ValidePrint, &QAbstractButton::clicked, this, [this] { ValidePrint_Click(); });
    connect(AnnulPrint, &QAbstractButton::clicked, this, [this] { AnnulPrint_Click(); });
    connect(MiseEnPageImpr, &QAbstractButton::clicked, this, &VornPrint::miseEnPageDemandee);
}

void VornPrint::Form_Load()
{
    CurseurSablier();
    NumImprimante = -1;
    ImpressionValidee = false;
    m_liste = sourceImprimantes ? sourceImprimantes() : ImprimantesDuSysteme();
    // Only six buttons: later printers cannot be chosen.
    for (const ImprimanteDisponible& imp : m_liste) {
        ++NumImprimante;
        if (NumImprimante < NombreBoutons) {
            ChoixPrint[NumImprimante]->setText(imp.nom);
            ChoixPrint[NumImprimante]->show();
        }
    }
    // Nothing to validate before a printer is clicked. No printer: the user is
    // told why nothing can be chosen, and how to add one; the dialog can only
    // be cancelled.
    ValidePrint->setEnabled(false);
    if (m_liste.isEmpty()) {
        AucuneImprimante->show();
        AnnulPrint->setFocus();
    }
    CurseurNormal();
}

void VornPrint::ChoixPrint_Click(int index)
{
    if (index < 0 || index >= NombreBoutons || index >= m_liste.size())
        return;
    CurseurSablier();
    NumImprimante = -1;
    for (int i = 0; i < m_liste.size() && i < NombreBoutons; ++i) {
        ++NumImprimante;
        if (NumImprimante != index) {
            ChoixPrint[i]->setFondUni(VersQColor(FondImprimante));
        } else {
            ChoixPrint[i]->setFondUni(VersQColor(ImprimanteChoisie));
            m_nomImprimante = m_liste[i].nom;
            m_choisie = i;
            m_imprimante = PreparerChoix(m_liste[i], 0);
            ImpressionValidee = true;
        }
    }
    page = LirePage(m_imprimante->pageLayout());

    ChoixImprimante(mp, page, m_largeurTwips, m_hauteurTwips, m_tailleSource.width(), m_tailleSource.height());
    // The place last chosen on this printer for this size, kept in range.
    if (const auto retenue = m_positionRetenue ? m_positionRetenue(m_nomImprimante) : std::nullopt)
        PlacerBarres(mp, *retenue);
    montrerMiniature();
    peindreMiniature();

    QualiteImpr = -4;
    const std::string texte = m_qualiteEnregistree ? m_qualiteEnregistree().toStdString() : std::string();
    if (!texte.empty()) {
        QualiteImpr = float(ValeurTexte(texte));
        const int k = VersEntier16(std::abs(double(QualiteImpr)));
        if (k >= 1 && k <= 4 && !Qualité[k]->isChecked()) {
            Qualité[k]->setChecked(true);
            Qualité_Click(k);
        }
    }
    DessinerGrille();
    MPage->show();
    QualImpr->show();
    AppliquerQualite(*m_imprimante, VersEntier16(double(QualiteImpr)));
    ValidePrint->setEnabled(true);
    CurseurNormal();
}

void VornPrint::Qualité_Click(int index)
{
    if (index < 1 || index > 4)
        return;
    const QString tag = Qualité[index]->property("tag").toString();
    QualiteImpr = float(tag.toInt());
    if (m_imprimante)
        AppliquerQualite(*m_imprimante, tag.toInt());
    emit qualiteChoisie(tag);
}

void VornPrint::ValidePrint_Click()
{
    accept();
}

void VornPrint::AnnulPrint_Click()
{
    ImpressionValidee = false;
    reject();
}

void VornPrint::FlècheM_Click(int index)
{
    ::AppliquerFleche(mp, index);
    montrerMiniature();
}

void VornPrint::HScroll1_Change()
{
    ::HScroll1_Change(mp, HScroll1->value());
    PictMP->move(mp.ValeurH, PictMP->y());
}

void VornPrint::VScroll1_Change()
{
    ::VScroll1_Change(mp, VScroll1->value());
    PictMP->move(mp.ValeurH, mp.ValeurV);
}

void VornPrint::montrerMiniature()
{
    {
        const QSignalBlocker bh(HScroll1), bv(VScroll1);
        HScroll1->setRange(mp.MinH, mp.MaxH);
        VScroll1->setRange(mp.MinV, mp.MaxV);
        HScroll1->setValue(mp.ValeurH);
        VScroll1->setValue(mp.ValeurV);
    }
    const RectPixels r = RectMiniature(mp);
    PictMP->setGeometry(r.x, r.y, r.l, r.h);
}

void VornPrint::peindreMiniature()
{
    const QSize taille = PictMP->tailleInterieure();
    if (m_source.isNull() || taille.isEmpty() || taille.width() > MiniatureMaxi || taille.height() > MiniatureMaxi) {
        PictMP->effacer();
        return;
    }
    PictMP->setImage(m_source.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void VornPrint::DessinerGrille()
{
    const int W = mp.W, H = mp.H;
    QImage dessin = PictPage->image();
    if (dessin.size() != QSize(W, H)) {
        dessin = QImage(W, H, QImage::Format_RGB32);
        dessin.fill(PictPage->fond());
    }
    const GrillePage g = LignesGrille(W, H);
    QPainter p(&dessin);
    p.setPen(Qt::black);
    for (int x : g.x)
        p.drawLine(x, 0, x, H);
    for (int y : g.y)
        p.drawLine(0, y, W, y);
    p.end();
    PictPage->setImage(dessin);
}

bool VornPrint::eventFilter(QObject* objet, QEvent* e)
{
    // Qt's horizontal scroll bar takes Left for right and Right for left.
    if (objet == HScroll1 && e->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(e)->key();
        if (touche == Qt::Key_Left || touche == Qt::Key_Right) {
            HScroll1->triggerAction(touche == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                           : QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
    }
    // The keyboard comes into the quality at the one chosen.
    const auto k = std::find(Qualité.begin() + 1, Qualité.end(), objet) - Qualité.begin();
    if (e->type() == QEvent::FocusIn && k < 5 && !Qualité[k]->isChecked()) {
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(e)->reason();
        const auto choisie = std::find_if(Qualité.begin() + 1, Qualité.end(), [](auto* q) { return q->isChecked(); });
        if ((raison == Qt::TabFocusReason || raison == Qt::BacktabFocusReason) && choisie != Qualité.end())
            (*choisie)->setFocus(raison);
        return false;
    }
    // The printers are a list: Up and Down move the choice.
    const auto i = std::find(ChoixPrint.begin(), ChoixPrint.end(), objet) - ChoixPrint.begin();
    if (e->type() != QEvent::KeyPress || i >= NombreBoutons)
        return QDialog::eventFilter(objet, e);
    const int touche = static_cast<QKeyEvent*>(e)->key();
    const int pas = touche == Qt::Key_Down ? 1 : touche == Qt::Key_Up ? -1 : 0;
    if (pas == 0)
        return QDialog::eventFilter(objet, e);
    const auto suivant = i + pas;
    if (suivant >= 0 && suivant < NombreBoutons && ChoixPrint[suivant]->isVisible()) {
        ChoixPrint[suivant]->setFocus(Qt::TabFocusReason);
        ChoixPrint_Click(int(suivant));
    }
    return true;
}

void VornPrint::keyPressEvent(QKeyEvent* e)
{
    // Escape cancels, as "Annuler l'impression" does.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        AnnulPrint_Click();
        return;
    }
    QDialog::keyPressEvent(e);
}
