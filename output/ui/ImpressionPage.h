#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPair>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "output/Impression.h"
#include "output/Page.h"

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

// The page as Qt's own print to `imprimante` writes it for the print server:
// a PDF with the printer's page layout, resolution, colour mode and title,
// drawn by ImprimerPage. Empty when nothing could be drawn.
QByteArray PagePdf(const QPrinter& imprimante, const DessinImpression& dessin, const MiseEnPage& mp,
                   const PageImprimante& page, int16_t L, int16_t T);

// The job options Qt's own print sends with that page: the paper, one side or
// the printer's duplex, the orientation.
QList<QPair<QByteArray, QByteArray>> OptionsTravail(const QPrinter& imprimante);

// A printer the dialog can offer: its name, how to make a QPrinter print on
// it, and whether its pages go to the print server (as a PDF, with the
// server's answer read back) rather than where the QPrinter itself writes.
struct ImprimanteDisponible {
    QString nom;
    std::function<void(QPrinter&)> preparer;
    bool parServeur = false;
};

// What the user chose: the printer, the quality code (-1 to -4), the place of
// the picture (the bars and the printer's page they were computed for).
struct ChoixImpression {
    ImprimanteDisponible imprimante;
    int16_t qualite = -4;
    MiseEnPage miseEnPage;
    PageImprimante page;
};

// A QPrinter set up for that choice: the printer, full-page mode, the quality.
std::unique_ptr<QPrinter> PreparerChoix(const ImprimanteDisponible& imprimante, int16_t qualite);

// Prints one page for that choice: `dessin` into its L x T rectangle where the
// choice places it. Through the print server, the page goes as Qt's own print
// would send it and the server's answer is read back, then the job is followed
// while on its way. `dire` is given each message for the user: the page not
// sent, refused, cancelled, waiting behind a stopped printer (at once or later).
void ImprimerChoix(QObject* parent, const ChoixImpression& choix, const DessinImpression& dessin, int16_t L,
                   int16_t T, std::function<void(const QString& message)> dire);

// The same for a laid-out page: the printer set to the page's paper and
// orientation, the page filling the paper.
void ImprimerChoixPage(QObject* parent, const ChoixImpression& choix, const ModeleFeuille& feuille,
                       const PlanPage& plan, std::function<void(const QString& message)> dire);
