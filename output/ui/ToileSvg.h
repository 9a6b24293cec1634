#pragma once
// The SVG document of the calendar, written from the painter's primitives: one
// group per layer, kind and style (colour, font), each line and rectangle a
// few bytes of a path, the fonts named with their fallbacks, the size in
// millimetres in the proportions of the drawing.
#include <QByteArray>
#include <QSizeF>
#include <QString>

struct ModeleFeuille;
struct PlanImpression;

// The planned part of the sheet (the whole image or a zone) at `tailleMm`.
QByteArray SvgCalendrier(const ModeleFeuille& feuille, const PlanImpression& plan, QSizeF tailleMm,
                         const QString& titre, const QString& description);
