#pragma once
#include <QPoint>
#include <QWidget>

#include "special/Zone.h"

class Principal;
class QLabel;
class vkCommand;
class vkFrame;

// Small always-on-top window open while the user drags a zone of whole months
// over the calendar image. While it is open the image lies uncovered and the
// presses and releases of the left button on it choose the zone.
class VornSelect : public QWidget {
    Q_OBJECT
public:
    explicit VornSelect(Principal& principale);

    // Each opening: placed beside the main window, the clean image shown
    // uncovered, "Valider" waiting for a zone.
    void Form_Load();
    void ValideZone_Click();
    void AnnuleZone_Click();

    // Mouse on the image, in pixels of its drawing area.
    void Pict1_MouseDown(Qt::MouseButton bouton, QPoint position);
    void Pict1_MouseUp(Qt::MouseButton bouton, QPoint position);

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void fermer();
    void dessinerZone();

    vkFrame* vkFrame3 = nullptr;
    QLabel* Label1[1] = {};
    QLabel* Label2[1] = {};
    vkCommand* AnnuleZone = nullptr;
    vkCommand* ValideZone = nullptr;
    Principal& m_principale;
    TraceZone m_trace; // the last drag: press then release, each axis in increasing order after a release
    bool m_enfoncee = false; // a left press on the image waits for its release
    bool m_nouveauTrace = false; // pressed on the image since this opening
};
