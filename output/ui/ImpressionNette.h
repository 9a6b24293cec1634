#pragma once
// The printed picture drawn at the printer's own resolution: the sheet itself
// (or the selected zone with its outline) painted straight into the page, text
// and lines as vectors, with the layout and colours of the image.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QRectF>

struct ModeleFeuille;
class QPainter;

// What part of the sheet is printed, in pixels of the image.
struct PlanImpression {
    QSize taille;        // the picture: 628 x 866, or the zone picture's size
    QRect source;        // pixels of the sheet copied into it
    QPoint destination;  // where they go in the picture
    QColor fond;         // the picture's background outside the source
    bool contour = false;
    QPoint coinContour;  // outline from (0, 0) to this corner, one pixel wide
    QColor couleurContour;
};

// The whole 628 x 866 image.
PlanImpression PlanImageEntiere();

// The zone picture of the print: the zone copied unscaled, with its outline.
PlanImpression PlanZone(int zoneX1, int zoneY1, int zoneX2, int zoneY2, const QColor& fond, const QColor& contour);

// Draws the planned picture into `cible` (device coordinates of the painter).
void DessinerNet(QPainter& p, const QRectF& cible, const ModeleFeuille& feuille, const PlanImpression& plan);

// The same picture as a bitmap, one pixel per pixel: what the sharp print
// must look like, scaled.
QImage ImagePlan(const QImage& image, const PlanImpression& plan);
