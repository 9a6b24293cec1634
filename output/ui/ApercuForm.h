#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

class Principal;
class BoiteImage;
class vkCommand;

// The picture of the preview: the calendar image (or with a zone, the zone and
// the 4 rows below it) scaled to L x T twips at 15 twips per pixel, on black
// where the image does not reach, with an outline on its outermost pixels.
QImage ImageApercu(const QImage& calendrier, bool zoneChoisie, int zoneX1, int zoneY1, int zoneX2, int zoneY2,
                   int L, int T, const QColor& contour);

// The preview window: the image at its printed size, always on top, beside the
// main window's image. A snapshot taken when it opens; every close is told by
// `ferme` (the main window then clears `ApercuOuvert`). It deletes itself when
// closed.
class ApercuForm : public QWidget {
    Q_OBJECT
public:
    explicit ApercuForm(Principal& principale);

signals:
    void ferme();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Form_Load();

    BoiteImage* Pict2 = nullptr;
    vkCommand* FermeApercu = nullptr;
    Principal& m_principale;
};
