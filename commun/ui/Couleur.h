#pragma once
#include <QColor>
#include <QFont>
#include <QString>

#include "commun/ValeurCouleur.h"

// A colour value (0x00BBGGRR) as Qt's colour.
inline QColor VersQColor(double valeur)
{
    Rvb c = VersRvb(valeur);
    return QColor(c.r, c.g, c.b);
}
inline double DeQColor(const QColor& c) { return DeRvb(c.red(), c.green(), c.blue()); }

// A design font at its pixel size (points x 96 / 72), so that every screen shows
// the same layout.
QFont PoliceDessin(const QString& famille, double points, bool gras = false);

// Sets a widget's background colour (filled, whatever the style).
class QWidget;
void FondWidget(QWidget* w, const QColor& fond);
void TexteWidget(QWidget* w, const QColor& texte);
