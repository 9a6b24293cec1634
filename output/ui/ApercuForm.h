#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

class Ardemo;
class BoiteImage;
class vkCommand;

// The picture of the preview: the calendar image (or with a zone, the zone and
// the 4 rows below it) scaled to L x T twips at 15 twips per pixel, on black
// where the image does not reach, with an outline on its outermost pixels.
QImage ImageApercu(const QImage& calendrier, bool zoneChoisie, int zoneX1, int zoneY1, int zoneX2, int zoneY2,
                   int L, int T, const QColor& contour);

// The preview window: the image at its printed size, always on top, beside the
// main window's image. A snapshot taken when it opens; every close clears
// `ApercuOuvert`. Opened and closed through Ardemo::MontrerApercu and
// Ardemo::FermerApercu, it deletes itself when closed.
class ApercuForm : public QWidget {
    Q_OBJECT
public:
    explicit ApercuForm(Ardemo& principale);

    BoiteImage* Pict2 = nullptr;
    vkCommand* FermeApercu = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Form_Load();

    Ardemo& m_principale;
};
