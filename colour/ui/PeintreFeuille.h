#pragma once
// The one painter of the calendar sheet: the screen, the image, the print, the
// PDF and the SVG all draw the sheet model through it. It draws on a Toile,
// in pixels of the sheet; ToileQPainter puts it on any QPaintDevice at any
// scale (the painter's transformation), the SVG writer keeps the primitives.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <optional>

#include "colour/ModeleFeuille.h"

class QPainter;

class Toile {
public:
    // The layers of the sheet, from the bottom up: its background and frame,
    // the month titles, the weekday names, the day cells; on a page, the
    // marks drawn over the cells.
    enum class Couche { Fond, Titres, NomsJours, Cases, Marques };

    virtual ~Toile() = default;
    virtual void couche(Couche) {}
    // Each element (a title, a weekday name, a cell) is drawn in its own
    // coordinates from its top-left corner `origine`, until the next one or
    // fin(); the background is drawn in the sheet's.
    virtual void element(QPoint origine) = 0;
    virtual void fin() {}
    virtual void remplir(const QRect& r, const QColor& c) = 0;
    // A line one pixel wide from pixel (x1, y1) to pixel (x2, y2), both included
    // (horizontal or vertical).
    virtual void ligne(int x1, int y1, int x2, int y2, const QColor& c) = 0;
    // The outline of the pixels from (r.left, r.top) to (r.right + 1, r.bottom + 1).
    virtual void contour(const QRect& r, const QColor& c) = 0;
    virtual void texte(const QRect& r, int alignement, const QFont& police, const QColor& c, const QString& t) = 0;
};

// Straight onto a QPainter, which keeps its transformation and clipping.
class ToileQPainter : public Toile {
public:
    explicit ToileQPainter(QPainter& p) : m_p(p) {}
    ~ToileQPainter() override { fin(); }
    void element(QPoint origine) override;
    void fin() override;
    void remplir(const QRect& r, const QColor& c) override;
    void ligne(int x1, int y1, int x2, int y2, const QColor& c) override;
    void contour(const QRect& r, const QColor& c) override;
    void texte(const QRect& r, int alignement, const QFont& police, const QColor& c, const QString& t) override;

private:
    void crayon(const QColor& c);
    QPainter& m_p;
    bool m_ouvert = false;
    std::optional<QColor> m_crayon; // the pen set within the element
};

// The sheet's fonts: the titles, the weekday names, the day numbers.
QFont PoliceTitre();
QFont PoliceNomJour();
QFont PoliceCase(bool gras);

// Draws the whole sheet (630 x 868 pixels) from its top-left corner.
void PeindreFeuille(Toile& toile, const ModeleFeuille& feuille);

// The calendar image: the sheet's top-left 628 x 866 pixels.
QImage ImageFeuille(const ModeleFeuille& feuille);
