#pragma once
// Building controls from their designed rectangles (twips of their container),
// shared by every window.
#include <QColor>
#include <QFont>
#include <QString>
#include <initializer_list>
#include <utility>

#include "commun/Twips.h"

class QCheckBox;
class QObject;
class QLabel;
class QWidget;
class vkCommand;
class vkFrame;

constexpr int HauteurTitreCadre = 300; // title bar of the styled frames, twips

// Places a control at its designed rectangle.
template <typename W>
W* placer(W* w, const RectTwips& r)
{
    const RectPixels p = VersPixels(r);
    w->setGeometry(p.x, p.y, p.l, p.h);
    return w;
}

// Styled frame: title (Arial 12 pt bold) on a bar shaded from titre1 to titre2,
// background shaded from fond1 to fond2; colours are 0x00BBGGRR values.
vkFrame* cadre(QWidget* parent, const QString& titre, const RectTwips& r, double titre1, double titre2,
               double fond1, double fond2, int hauteurTitreTwips = HauteurTitreCadre);

// Styled button, Arial 12 pt bold; boutonCouleur adds two backgrounds and white text.
vkCommand* bouton(QWidget* parent, const QString& legende, const RectTwips& r);
vkCommand* boutonCouleur(QWidget* parent, const QString& legende, const RectTwips& r, double fond1, double fond2);

// Label with its font, text colour and background (text at the top, as designed).
QLabel* etiquette(QWidget* parent, const QString& texte, const RectTwips& r, const QFont& police, double couleur,
                  double fond, Qt::Alignment alignement = Qt::AlignLeft);

// Check box, Arial 10.5 pt bold, ticked.
QCheckBox* caseACocher(QWidget* parent, const QString& texte, const RectTwips& r, double fond);

// Picture from the program's resources, at the top-left of its rectangle, with
// a short description for the accessibility tools.
QLabel* icone(QWidget* parent, const QString& ressource, const RectTwips& r, const QString& description);

// Gives controls their names: the names the windows' tests find them by.
void Nommer(std::initializer_list<std::pair<QObject*, const char*>> controles);
