#include "output/ui/ApercuForm.h"


#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "commun/Nombres.h"
#include "commun/Twips.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Styles.h"
#include "output/Apercu.h"
#include "output/ui/ImageFichier.h"

namespace {
constexpr double FondApercu = 0x00008000;
// The outer sizes are reckoned for a fixed dialog frame of this size (both
// borders, and title bar with both borders); the window's inner area is the rest,
// and the real frame comes around it.
constexpr int CadreLargeur = 90;
constexpr int CadreHauteur = 390;
constexpr RectTwips R_FermeApercu{960, 2220, LargeurFermeApercu, HauteurFermeApercu};
} // namespace

QImage ImageApercu(const QImage& calendrier, bool zoneChoisie, int zoneX1, int zoneY1, int zoneX2, int zoneY2,
                   int L, int T, const QColor& contour)
{
    const int largeur = std::max(1, TwipsVersPixels(L));
    const int hauteur = std::max(1, TwipsVersPixels(T));
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    const SourceApercu s = CalculSourceApercu(zoneChoisie, zoneX1, zoneY1, zoneX2, zoneY2, L, T);
    if (s.source.l > 0 && s.source.h > 0 && !calendrier.isNull()) {
        // Reduced by averaging, so that thin lines and digits stay readable.
        const QRect vers(QPoint(TwipsVersPixels(s.destination.x), TwipsVersPixels(s.destination.y)),
                         QPoint(TwipsVersPixels(s.destination.x + s.destination.l) - 1,
                                TwipsVersPixels(s.destination.y + s.destination.h) - 1));
        if (!vers.isEmpty())
            p.drawImage(vers.topLeft(), calendrier.copy(s.source.x, s.source.y, s.source.l, s.source.h)
                                            .scaled(vers.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    // All four sides on the picture's own edge pixels.
    p.setPen(contour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, largeur - 1, hauteur - 1));
    return image;
}

ApercuForm::ApercuForm(QWidget* parent, const QImage& calendrier, int gaucheImage, const ReglagesSortie& etat)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/ardemo.png")));
    FondWidget(this, VersQColor(FondApercu));

    Pict2 = new BoiteImage(this, false);
    Pict2->setFond(Qt::black);
    Pict2->hide();
    FermeApercu = bouton(this, QStringLiteral("Fermer l'aperçu"), R_FermeApercu);
    FermeApercu->setFont(PoliceDessin(QStringLiteral("Arial"), 9.75, true));
    FermeApercu->setFonds(Qt::white, VersQColor(0x00E0E0E0));
    FermeApercu->setCouleurTexte(Qt::black);
    connect(FermeApercu, &QAbstractButton::clicked, this, [this] { close(); });

    Form_Load(calendrier, gaucheImage, etat);
    // The names the tests find the controls by.
    Nommer({{Pict2, "Pict2"}, {FermeApercu, "FermeApercu"}});
}

// The height has been fixed from the width by the main window just before.
void ApercuForm::Form_Load(const QImage& calendrier, int gaucheImage, const ReglagesSortie& v)
{
    const QRect cadre = parentWidget() ? parentWidget()->frameGeometry() : QRect();
    const QScreen* ecran = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect libre = ecran ? ecran->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
    const ApercuAjuste a = AjusterApercu(
        cadre.x() * TwipsParPixel, cadre.y() * TwipsParPixel, gaucheImage * TwipsParPixel, v.LargeurTwips,
        v.HauteurTwips,
        {libre.x() * TwipsParPixel, libre.y() * TwipsParPixel, libre.width() * TwipsParPixel, libre.height() * TwipsParPixel});
    const GeometrieApercu& g = a.g;
    // Too large for the screen: smaller than printed, and the title says so.
    setWindowTitle(a.pourcent < 100 ? QStringLiteral("Aperçu réduit à %1 % pour tenir dans l'écran").arg(a.pourcent)
                                    : QStringLiteral("Aperçu"));

    Pict2->show();
    Pict2->effacer();
    placer(Pict2, g.image);
    placer(FermeApercu, g.boutonFermer);
    setFixedSize(TwipsVersPixels(g.largeurFenetre - CadreLargeur), TwipsVersPixels(g.hauteurFenetre - CadreHauteur));
    move(TwipsVersPixels(g.gauche), TwipsVersPixels(g.haut));

    const ZoneMois z = v.zone.value_or(ZoneMois{});
    Pict2->setImage(ImageApercu(calendrier, v.zone.has_value(), z.ZoneX1, z.ZoneY1, z.ZoneX2, z.ZoneY2, a.L, a.T,
                                VersQColor(v.CoulGrille)));
}

void ApercuForm::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit ferme();
}

// Escape closes, as "Fermer l'aperçu" does.
void ApercuForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() != Qt::Key_Escape)
        return QWidget::keyPressEvent(e);
    e->accept();
    close();
}

void ApercuForm::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        FermeApercu->setFocus(Qt::ActiveWindowFocusReason);
}
