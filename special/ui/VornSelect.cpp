// The zone selection window and the mouse on the calendar image.
#include "special/ui/VornSelect.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <utility>

#include "commun/Twips.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Styles.h"

namespace {
// Twips: left, top, width, height in their container.
constexpr RectTwips R_Fenetre{0, 0, 4350, 2700};
constexpr RectTwips R_vkFrame3{75, 60, 4215, 2175};
constexpr RectTwips R_Label1_0{120, 360, 3945, 1080};
constexpr RectTwips R_Label2_0{390, 1440, 3405, 630};
constexpr RectTwips R_AnnuleZone{75, 2265, 2625, 405};
constexpr RectTwips R_ValideZone{2775, 2265, 1515, 405};
// From the main window's top-left corner.
constexpr int DecalageGauche = 90;
constexpr int DecalageHaut = 1000;

constexpr double CouleurZone = 0x00C0C000;
constexpr double FondFenetre = 0x00E0E0E0;
constexpr double FondCadre = 0x00FFFFC0;
} // namespace

VornSelect::VornSelect(QWidget* parent, BoiteImage& image, int largMois, int hautMois)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      m_image(image), m_largMois(largMois), m_hautMois(hautMois)
{
    setWindowTitle(QStringLiteral("Sélection d'une zone à imprimer"));
    FondWidget(this, VersQColor(FondFenetre));
    const RectPixels client = VersPixels(R_Fenetre);
    setFixedSize(client.l, client.h);

    vkFrame3 = cadre(this, QStringLiteral("Sélectionner une zone du Calendrier"), R_vkFrame3, 0x00FF8080, 0x00400000,
                     FondCadre, FondCadre);
    vkFrame3->setPoliceTitre(PoliceDessin(QStringLiteral("Arial"), 11.25, true));
    Label1[0] = etiquette(vkFrame3,
                          QStringLiteral("Dans l'image de droite : Tracer avec la souris une zone de sélection "
                                         "recouvrant au moins une partie des mois à sélectionner."),
                          R_Label1_0, PoliceDessin(QStringLiteral("Arial"), 9.75, true), 0, FondCadre,
                          Qt::AlignHCenter);
    Label1[0]->setWordWrap(true);
    Label2[0] = etiquette(vkFrame3, QStringLiteral("Note :Une nouvelle sélection annule la précédente."), R_Label2_0,
                          PoliceDessin(QStringLiteral("Arial"), 12, true), 0x000040C0, FondCadre, Qt::AlignHCenter);
    Label2[0]->setWordWrap(true);

    AnnuleZone = boutonCouleur(this, QStringLiteral("Annuler la Sélection"), R_AnnuleZone, 0x000000FF, 0);
    ValideZone = boutonCouleur(this, QStringLiteral("Valider"), R_ValideZone, 0x0000FF00, 0x00004000);
    ValideZone->setFont(PoliceDessin(QStringLiteral("Arial"), 14.25, true));

    connect(AnnuleZone, &QAbstractButton::clicked, this, [this] { AnnuleZone_Click(); });
    connect(ValideZone, &QAbstractButton::clicked, this, [this] { ValideZone_Click(); });
    connect(&m_image, &BoiteImage::sourisEnfoncee, this,
            [this](Qt::MouseButton b, QPoint p) { Pict1_MouseDown(b, p); });
    connect(&m_image, &BoiteImage::sourisRelachee, this,
            [this](Qt::MouseButton b, QPoint p) { Pict1_MouseUp(b, p); });
    // The names the tests find the controls by.
    Nommer({{vkFrame3, "vkFrame3"}, {AnnuleZone, "AnnuleZone"}, {ValideZone, "ValideZone"}});
}

void VornSelect::Form_Load(std::optional<ZoneMois> actuelle)
{
    m_zone = actuelle;
    if (parentWidget())
        move(parentWidget()->pos() + QPoint(TwipsVersPixels(DecalageGauche), TwipsVersPixels(DecalageHaut)));
    m_image.setSurcouche({});
    m_enfoncee = false;
    m_nouveauTrace = false;
    // A zone validated earlier can be kept as it is; otherwise "Valider" waits
    // for a zone to be drawn.
    ValideZone->setEnabled(m_zone.has_value());
    show();
}

void VornSelect::Pict1_MouseDown(Qt::MouseButton bouton, QPoint position)
{
    if (bouton != Qt::LeftButton || !isVisible())
        return;
    m_image.setSurcouche({});
    m_trace.SelX1 = position.x();
    m_trace.SelY1 = position.y();
    m_trace.SelX2 = 0;
    m_trace.SelY2 = 0;
    m_zone.reset();
    ValideZone->setEnabled(false);
    m_enfoncee = true;
    m_nouveauTrace = true;
}

void VornSelect::Pict1_MouseUp(Qt::MouseButton bouton, QPoint position)
{
    if (bouton != Qt::LeftButton || !isVisible() || !m_enfoncee)
        return;
    m_enfoncee = false;
    m_trace.SelX2 = position.x();
    m_trace.SelY2 = position.y();
    if (m_trace.SelX2 < m_trace.SelX1)
        std::swap(m_trace.SelX1, m_trace.SelX2);
    if (m_trace.SelY2 < m_trace.SelY1)
        std::swap(m_trace.SelY1, m_trace.SelY2);
    m_trace.LargMois = m_largMois;
    m_trace.HautMois = m_hautMois;
    m_zone = CalculerZone(m_trace);
    dessinerZone();
    ValideZone->setEnabled(true);
    emit zoneTracee();
}

// The zone's outline and cross-hatch above the image; the image between the
// hatch lines stays visible and the image itself is never drawn into.
void VornSelect::dessinerZone()
{
    const ZoneMois& v = *m_zone;
    const QRect zone(v.ZoneX1, v.ZoneY1, v.ZoneX2 - v.ZoneX1, v.ZoneY2 - v.ZoneY1);
    m_image.setSurcouche([zone](QPainter& p) {
        const QColor c = VersQColor(CouleurZone);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(c, 0));
        p.setBrush(QBrush(c, Qt::CrossPattern));
        p.setBrushOrigin(zone.topLeft());
        p.drawRect(zone); // from (ZoneX1, ZoneY1) to (ZoneX2, ZoneY2), both corners drawn
    });
}

void VornSelect::ValideZone_Click()
{
    if (!m_zone)
        return;
    m_image.setSurcouche({});
    fermer();
    emit zoneValidee(*m_zone);
}

void VornSelect::AnnuleZone_Click()
{
    m_image.setSurcouche({});
    m_zone.reset();
    fermer();
    emit selectionAnnulee();
}

// The title bar's close box (or Escape) leaves the selection as it stands: a
// zone validated before and not replaced is kept as "Valider" keeps it; a new
// drag (which dropped the previous zone) or no zone at all is cancelled. Either
// way the sheet and the commands come back.
void VornSelect::closeEvent(QCloseEvent* e)
{
    if (m_zone && !m_nouveauTrace)
        ValideZone_Click();
    else
        AnnuleZone_Click();
    e->accept();
}

void VornSelect::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(e);
}

void VornSelect::fermer()
{
    m_enfoncee = false;
    hide();
}
