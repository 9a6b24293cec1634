#include "output/ui/ImpressionPage.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <vector>

PageImprimante LirePage(const QPageLayout& mise)
{
    // The printable area with exactly the driver's margins, in points.
    QPageLayout imprimable = mise;
    imprimable.setMode(QPageLayout::StandardMode);
    imprimable.setMargins(mise.minimumMargins());
    const QRectF papier = imprimable.fullRect(QPageLayout::Point);
    const QRectF zone = imprimable.paintRect(QPageLayout::Point);
    return PageDepuisPoints(papier.width(), papier.height(), zone.left() - papier.left(), zone.top() - papier.top(),
                            papier.right() - zone.right(), papier.bottom() - zone.bottom());
}

void PreparerImprimante(QPrinter& imprimante)
{
    imprimante.setFullPage(true);
    imprimante.setDocName(QStringLiteral("Ardemo"));
}

int AppliquerQualite(QPrinter& imprimante, int code)
{
    const QList<int> offertes = imprimante.supportedResolutions();
    const int dpi = ResolutionQualite(code, std::vector<int>(offertes.begin(), offertes.end()));
    if (dpi > 0)
        imprimante.setResolution(dpi);
    return dpi;
}

bool ImprimerPage(QPagedPaintDevice& appareil, const QImage& image, const MiseEnPage& mp,
                  const PageImprimante& page, int16_t L, int16_t T)
{
    if (image.isNull())
        return false;
    return ImprimerPage(
        appareil,
        [&image](QPainter& p, const QRectF& cible) {
            // Lossless: the calendar's thin lines and digits stay sharp.
            p.setRenderHint(QPainter::LosslessImageRendering);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(cible, image);
        },
        mp, page, L, T);
}

bool ImprimerPage(QPagedPaintDevice& appareil, const DessinImpression& dessin, const MiseEnPage& mp,
                  const PageImprimante& page, int16_t L, int16_t T)
{
    if (!dessin || L <= 0 || T <= 0)
        return false;
    // Where the device's (0, 0) lies on the paper: its corner in full-page
    // mode, the corner of the job's margins otherwise.
    const QPageLayout mise = appareil.pageLayout();
    const QPointF origine = mise.paintRect(QPageLayout::Point).topLeft() - mise.fullRect(QPageLayout::Point).topLeft();
    QPainter p;
    if (!p.begin(&appareil))
        return false;
    const RectAppareil r = RectImpression(mp, page, L, T, appareil.logicalDpiX(), appareil.logicalDpiY(),
                                          origine.x(), origine.y());
    dessin(p, QRectF(r.x, r.y, r.l, r.h));
    return p.end();
}
