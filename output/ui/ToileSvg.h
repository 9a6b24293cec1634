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
struct PlanPage;

// The planned part of the sheet (the whole image or a zone) at `tailleMm`.
QByteArray SvgCalendrier(const ModeleFeuille& feuille, const PlanImpression& plan, QSizeF tailleMm,
                         const QString& titre, const QString& description);

// A page (paper size, title, legend...) in units of the page, at the paper's size.
QByteArray SvgPage(const ModeleFeuille& feuille, const PlanPage& plan, const QString& titre,
                   const QString& description);
