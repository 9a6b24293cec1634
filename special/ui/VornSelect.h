#pragma once
#include <QPoint>
#include <QWidget>
#include <optional>

#include "special/Zone.h"

class BoiteImage;
class QLabel;
class vkCommand;
class vkFrame;

// Small always-on-top window open while the user drags a zone of whole months
// over the calendar image. While it is open the image lies uncovered and the
// presses and releases of the left button on it choose the zone. It tells the
// main window what was chosen; the main window keeps the zone, shows the image
// or the sheet and sets the sizes.
class VornSelect : public QWidget {
    Q_OBJECT
public:
    // `image`: the calendar image, whose mouse and overlay the selection uses;
    // `largMois` x `hautMois`: one month block of it, in pixels.
    VornSelect(QWidget* parent, BoiteImage& image, int largMois, int hautMois);

    // Each opening: placed beside the main window, the image without overlay,
    // "Valider" waiting for a zone unless one (`actuelle`) is chosen already.
    void Form_Load(std::optional<ZoneMois> actuelle);
    void ValideZone_Click();
    void AnnuleZone_Click();
    // The zone drawn (or kept from an earlier selection), if any.
    const std::optional<ZoneMois>& zone() const { return m_zone; }

    // Mouse on the image, in pixels of its drawing area.
    void Pict1_MouseDown(Qt::MouseButton bouton, QPoint position);
    void Pict1_MouseUp(Qt::MouseButton bouton, QPoint position);

signals:
    // A zone was drawn (the height now follows the width through its proportion).
    void zoneTracee();
    // The window closed by "Valider": the zone chosen.
    void zoneValidee(const ZoneMois& zone);
    // The window closed by "Annuler la Sélection": no zone.
    void selectionAnnulee();

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
    int m_largMois, m_hautMois;
    std::optional<ZoneMois> m_zone; // the zone chosen, until a new press drops it
    TraceZone m_trace; // the last drag: press then release, each axis in increasing order after a release
    bool m_enfoncee = false; // a left press on the image waits for its release
    bool m_nouveauTrace = false; // pressed on the image since this opening
};
