#pragma once
#include <QPoint>
#include <QWidget>

#include "special/Zone.h"

class BoiteImage;
class QLabel;
struct mdlVorn;
class vkCommand;
class vkFrame;

// Small always-on-top window open while the user drags a zone of whole months
// over the calendar image. While it is open the image lies uncovered and the
// presses and releases of the left button on it choose the zone, kept in the
// shared state (ZoneChoisie, ZoneX1 ... RatioZone). It tells the main window
// what happened; the main window shows the image or the sheet and sets the sizes.
class VornSelect : public QWidget {
    Q_OBJECT
public:
    // `image`: the calendar image, whose mouse and overlay the selection uses.
    VornSelect(QWidget* parent, BoiteImage& image, mdlVorn& etat);

    // Each opening: placed beside the main window, the image without overlay,
    // "Valider" waiting for a zone.
    void Form_Load();
    void ValideZone_Click();
    void AnnuleZone_Click();

    // Mouse on the image, in pixels of its drawing area.
    void Pict1_MouseDown(Qt::MouseButton bouton, QPoint position);
    void Pict1_MouseUp(Qt::MouseButton bouton, QPoint position);

signals:
    // A zone was drawn (the height now follows the width through its proportion).
    void zoneTracee();
    // The window closed: by "Valider" (true), or by "Annuler la Sélection" (false,
    // the zone dropped).
    void selectionFermee(bool validee);

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
    BoiteImage& m_image;
    mdlVorn& m_etat;
    TraceZone m_trace; // the last drag: press then release, each axis in increasing order after a release
    bool m_enfoncee = false; // a left press on the image waits for its release
    bool m_nouveauTrace = false; // pressed on the image since this opening
};
