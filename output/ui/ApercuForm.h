#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

#include "output/Apercu.h"

class BoiteImage;
class vkCommand;

// The picture of the preview: the calendar image (or with a zone, the zone and
// the 4 rows below it) scaled to L x T twips at 15 twips per pixel, on black
// where the image does not reach, with an outline on its outermost pixels.
QImage ImageApercu(const QImage& calendrier, bool zoneChoisie, int zoneX1, int zoneY1, int zoneX2, int zoneY2,
                   int L, int T, const QColor& contour);

// The preview window: the image at its printed size (scaled down, as its title
// says, when that would not fit the screen), always on top, beside the main
// window's image, inside the screen. A snapshot taken when it opens; every close is told by
// `ferme` (the main window then clears `ApercuOuvert`). It deletes itself when
// closed.
class ApercuForm : public QWidget {
    Q_OBJECT
public:
    // `calendrier`: the image; `gaucheImage`: its left edge in `parent`, in
    // pixels; `sortie`: the sizes and the zone, taken as they are now.
    ApercuForm(QWidget* parent, const QImage& calendrier, int gaucheImage, const ReglagesSortie& sortie);

signals:
    void ferme();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Form_Load(const QImage& calendrier, int gaucheImage, const ReglagesSortie& v);

    BoiteImage* Pict2 = nullptr;
    vkCommand* FermeApercu = nullptr;
};
