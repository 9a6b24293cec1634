#include "output/ui/ImpressionNette.h"

#include <QImage>
#include <QPainter>

#include "colour/ui/PeintreFeuille.h"
#include "output/Apercu.h"

PlanImpression PlanImageEntiere()
{
    PlanImpression plan;
    plan.taille = QSize(LargeurImage, HauteurImage);
    plan.source = QRect(0, 0, LargeurImage, HauteurImage);
    return plan;
}

PlanImpression PlanZone(int zoneX1, int zoneY1, int zoneX2, int zoneY2, const QColor& fond, const QColor& contour)
{
    const ImageZone z = CalculImageZone(zoneX1, zoneY1, zoneX2, zoneY2);
    PlanImpression plan;
    plan.taille = QSize(z.largeur, z.hauteur);
    plan.source = QRect(z.source.x, z.source.y, z.source.l, z.source.h);
    plan.destination = QPoint(z.destX, z.destY);
    plan.fond = fond;
    plan.contour = true;
    plan.coinContour = QPoint(z.contourX2, z.contourY2);
    plan.couleurContour = contour;
    return plan;
}

void DessinerNet(QPainter& p, const QRectF& cible, const ModeleFeuille& feuille, const PlanImpression& plan)
{
    if (plan.taille.isEmpty() || cible.isEmpty())
        return;
    p.save();
    p.translate(cible.topLeft());
    p.scale(cible.width() / plan.taille.width(), cible.height() / plan.taille.height());
    // From here on, one unit is one pixel of the picture.
    p.setClipRect(QRect(QPoint(0, 0), plan.taille));
    if (plan.fond.isValid())
        p.fillRect(QRect(QPoint(0, 0), plan.taille), plan.fond);
    if (!plan.source.isEmpty()) {
        // The source region's corner lands on the destination point; nothing of
        // the sheet beyond the image's pixels (its frame's far side) shows.
        p.save();
        p.setClipRect(QRect(plan.destination, plan.source.size()), Qt::IntersectClip);
        p.translate(plan.destination - plan.source.topLeft());
        ToileQPainter toile(p);
        PeindreFeuille(toile, feuille);
        p.restore();
    }
    if (plan.contour) {
        // One pixel of the picture wide, covering the same pixels as in the bitmap.
        QPen pen(plan.couleurContour, 1.0);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, plan.coinContour.x(), plan.coinContour.y()));
    }
    p.restore();
}

QImage ImagePlan(const QImage& image, const PlanImpression& plan)
{
    if (plan.taille.isEmpty())
        return {};
    QImage resultat(plan.taille, QImage::Format_RGB32);
    resultat.fill(plan.fond.isValid() ? plan.fond : QColor(Qt::white));
    QPainter p(&resultat);
    if (!plan.source.isEmpty())
        p.drawImage(plan.destination, image, plan.source);
    if (plan.contour) {
        p.setPen(plan.couleurContour);
        p.drawRect(0, 0, plan.coinContour.x(), plan.coinContour.y());
    }
    return resultat;
}
