#pragma once
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <functional>

#include "output/Impression.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// Paints the printed picture into a rectangle of the device.
using DessinImpression = std::function<void(QPainter&, const QRectF& cible)>;

// The printer's page: paper and the driver's unprintable margins, in twips.
PageImprimante LirePage(const QPageLayout& mise);

// Puts the printer in full-page mode (its coordinates start at the paper's
// corner, whatever margins the job would otherwise add) and names the job.
void PreparerImprimante(QPrinter& imprimante);

// Applies a print quality code (-1 to -4) as the printer's resolution (see
// ResolutionQualite). Other codes leave the printer as it is. Returns the
// resolution set, 0 when none.
int AppliquerQualite(QPrinter& imprimante, int code);

// Prints one page on `appareil`: `image` stretched to L x T twips, its top-left
// corner where the layout `mp` places it on the paper `page`. Returns false
// when nothing was printed (no picture, a device that cannot start).
bool ImprimerPage(QPagedPaintDevice& appareil, const QImage& image, const MiseEnPage& mp,
                  const PageImprimante& page, int16_t L, int16_t T);

// The same with a picture drawn by `dessin` into its L x T rectangle.
bool ImprimerPage(QPagedPaintDevice& appareil, const DessinImpression& dessin, const MiseEnPage& mp,
                  const PageImprimante& page, int16_t L, int16_t T);
