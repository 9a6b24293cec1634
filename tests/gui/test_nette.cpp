// The sharp print draws the sheet itself: at the image's own scale it must give
// the image, pixel for pixel, for the whole sheet and for a zone.
#include <QPainter>
#include <QtTest>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Feuille.h"
#include "main_gui.h"
#include "output/ui/ImpressionNette.h"
#include "Outils.h"

static QImage dessiner(Ardemo& f, const PlanImpression& plan, double echelle = 1)
{
    QImage img((QSizeF(plan.taille) * echelle).toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DessinerNet(p, QRectF(QPointF(0, 0), QSizeF(plan.taille) * echelle), *C(f).CalBase, plan);
    p.end();
    return img;
}

class TestNette : public QObject {
    Q_OBJECT
private slots:
    void memeDessinQueLImage()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().TableCoulSP[3][17] = DeRvb(255, 0, 0);
        f.Fabrication();
        const QImage image = C(f).Pict1->image();
        QCOMPARE(dessiner(f, PlanImageEntiere()), ImagePlan(image, PlanImageEntiere()));
        // Two blocks side by side, then a zone reaching past the image's corner.
        for (QRect z : {QRect(QPoint(209, 216), QPoint(627, 431)), QRect(QPoint(418, 648), QPoint(835, 1079))}) {
            const PlanImpression plan = PlanZone(z.left(), z.top(), z.right() + 1, z.bottom() + 1,
                                                 QColor(250, 240, 230), VersQColor(f.etat().Couleurs.CoulGrille));
            QCOMPARE(dessiner(f, plan), ImagePlan(image, plan));
        }
        // At 4 times the scale, the middle of every cell has the image's colour there.
        const QImage grand = dessiner(f, PlanImageEntiere(), 4);
        for (int m = 1; m <= 12; ++m)
            for (int k = 0; k < 42; k += 5) {
                const QPoint c = C(f).CalBase->BtnJour[m][k]->geometry().topLeft() + QPoint(5, 5);
                QCOMPARE(grand.pixelColor(c * 4 + QPoint(2, 2)), image.pixelColor(c));
            }
    }
};

ARDEMO_GUI_MAIN(TestNette)
#include "test_nette.moc"
