#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;

// One day cell of a month block: caption, Tag, weight, background, text colour
// and tooltip. A click reports the cell's index.
class CaseJour : public QWidget {
    Q_OBJECT
public:
    CaseJour(int index, QWidget* parent);

    QString legende;
    int Tag = 0;
    bool gras = false;
    QColor fond = QColor(0xFD, 0xF5, 0xE6);
    QColor texte = Qt::black;

    void setLegende(const QString& t) { legende = t; update(); }
    void setFond(const QColor& c) { fond = c; update(); }
    void setTexte(const QColor& c) { texte = c; update(); }

    // Draws the cell in its own coordinates (screen, image and printer alike).
    void peindre(QPainter& p) const;

signals:
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int m_index;
    bool m_appui = false;
};

// Weekday name above a column: flat one-pixel border.
class EtiquetteJour : public QWidget {
    Q_OBJECT
public:
    explicit EtiquetteJour(QWidget* parent);
    QString legende;
    QColor fond = QColor(0xEA, 0xD6, 0xAA);
    void setLegende(const QString& t) { legende = t; setAccessibleName(t); update(); }
    void setFond(const QColor& c) { fond = c; update(); }
    void peindre(QPainter& p) const;

protected:
    void paintEvent(QPaintEvent*) override;
};

// Month title: centred, transparent background.
class EtiquetteTitre : public QWidget {
    Q_OBJECT
public:
    explicit EtiquetteTitre(QWidget* parent);
    QString legende = QStringLiteral("Septembre 2007");
    QColor texte = QColor(0x80, 0x00, 0x80);
    void setLegende(const QString& t) { legende = t; setAccessibleName(t); update(); }
    void setTexte(const QColor& c) { texte = c; update(); }
    void peindre(QPainter& p) const;

protected:
    void paintEvent(QPaintEvent*) override;
};

// The calendar sheet CalBase: twelve month blocks, 3 across and 4 down.
class FeuilleCalendrier : public QWidget {
    Q_OBJECT
public:
    explicit FeuilleCalendrier(QWidget* parent);

    EtiquetteTitre* lblDate[13] = {};        // 1..12
    EtiquetteJour* lblJour[13][7] = {}; // month 1..12, element 0..6
    CaseJour* BtnJour[13][42] = {};  // month 1..12, cell 0..41

    // Create elements 1 to 6 of a month's weekday labels / 1 to 41 of its day
    // cells from element 0; once per month at start-up.
    void JourSemaine(int mois, const QColor& coulNoms);
    void BoutonJour(int mois);

    // Background (erases the frame) and the three-pixel frame in the grid colour.
    void setFond(const QColor& c);
    void dessinerCadre(const QColor& grille);

    // The whole sheet with its blocks, in its own coordinates, on any painter:
    // the screen, the image and the printer get the same drawing.
    void peindre(QPainter& p) const;

    // The sheet drawn from its top-left corner into a bitmap of the given size.
    QImage rendre(QSize taille) const;

signals:
    void jourClique(int mois, int index);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void peindreFond(QPainter& p) const;

    QColor m_fond = QColor(0xF4, 0xF0, 0xD9);
    QColor m_grille;
    bool m_cadre = false;
};
