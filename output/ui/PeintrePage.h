#pragma once
// The page (output/Page) drawn with the sheet painter's primitives, in units of
// the page (tenths of a millimetre): on a Toile, on any QPainter at any size,
// as a PNG image at a resolution, as a PDF document at the paper's size, or on
// a printer.
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <optional>

#include "output/Page.h"

class QIODevice;
class QPainter;
class QPrinter;
class Toile;

void PeindrePage(Toile& toile, const ModeleFeuille& feuille, const PlanPage& plan);

// The whole page into `cible` (device coordinates of the painter).
void DessinerPage(QPainter& p, const QRectF& cible, const ModeleFeuille& feuille, const PlanPage& plan);

// The page at `dpi` dots per inch, on white paper.
QImage ImagePage(const ModeleFeuille& feuille, const PlanPage& plan, int dpi);

// A one-page PDF document of the paper's size and orientation.
bool EcrirePdfPage(QIODevice& fichier, const ModeleFeuille& feuille, const PlanPage& plan, const QString& titre,
                   const QString& createur);

// The paper and orientation of the page, no margins.
QPageLayout MiseEnPageQt(const PlanPage& plan);

// Prints the page on `imprimante`, set to the page's paper and orientation,
// the page filling the paper (the printer's margins left aside).
bool ImprimerPage(QPrinter& imprimante, const ModeleFeuille& feuille, const PlanPage& plan);
