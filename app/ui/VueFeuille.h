#pragma once
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "colour/ModeleFeuille.h"

// The calendar sheet CalBase on the screen: the sheet model drawn by the one
// painter, so that the screen shows exactly the calendar image. A click on a
// day cell, or Space or Enter on the day that has the keyboard, reports the
// cell; a drag from one day to another, a click then a Shift+click, or
// Shift+arrows then Space, report the run of days between (the days the
// keyboard run covers are marked meanwhile); the tooltips are the cells'. With the keyboard the focus moves over the
// days of the months by date (the grey cells, which repeat the neighbouring
// months' days, are left to the mouse).
class VueFeuille : public QWidget {
    Q_OBJECT
public:
    // `aujourdhui`: the day the keyboard starts on when the sheet shows it.
    VueFeuille(QWidget* parent, std::function<Date()> aujourdhui);
    ~VueFeuille() override;

    // The model drawn; it stays the caller's. Call update() when it changes.
    void setModele(const ModeleFeuille* modele);
    const ModeleFeuille* modele() const { return m_modele; }

    // The day cell that has (or would have) the keyboard.
    std::optional<PositionCase> caseFocus() const;
    QRect rectCase(PositionCase p) const;
    // A line of help shown beside the day `jour` (a tooltip kept while the
    // pointer stays on that day, until the next press).
    void montrerAide(const QString& texte, const QRect& jour);
    // The child of the sheet the last focus event named to screen readers (-1: none yet).
    int enfantAnnonce() const { return m_enfantAnnonce; }

signals:
    void jourClique(int bloc, int cellule);
    // A run of days, from one end to the other (in either order).
    void suiteDeJours(const Date& debut, const Date& fin);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    bool event(QEvent*) override;

private:
    friend class AccessibleFeuille;
    void allerA(const Date& d);
    void annoncerFocus();
    void montrerBulle();

    const ModeleFeuille* m_modele = nullptr;
    std::optional<PositionCase> m_appui;
    std::optional<Date> m_jour; // the focused day
    QRect m_aide; // where a line of help is shown, empty: none
    std::optional<Date> m_ancre; // where a run starts: the last day clicked, or where Shift+arrows began
    bool m_suiteClavier = false; // Shift+arrows moved from the anchor
    int m_enfantAnnonce = -1;
    std::function<Date()> m_aujourdhui;
    std::vector<unsigned> m_idsAccessibles; // one per cell, then one per title
};
