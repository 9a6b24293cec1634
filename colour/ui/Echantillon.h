#pragma once
#include <QLabel>
#include <QString>
#include <optional>

class QWidget;

// A colour sample: a label that shows a colour value either as its background
// or as the colour of its text, and reports a click (press and release on it).
class Echantillon : public QLabel {
    Q_OBJECT
public:
    Echantillon(const QString& texte, QWidget* parent);

    void setFond(double couleur);
    void setTexte(double couleur);
    double fond() const { return m_fond; }
    double texte() const { return m_texte; }

signals:
    void clique();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    double m_fond = 0xFFFFFF;
    double m_texte = 0;
    bool m_appui = false;
};

// Qt's own colour dialog (never the platform's), titled, starting from a colour
// value; the chosen colour value, nothing when the user cancels.
std::optional<double> ChoisirCouleur(QWidget* parent, const QString& titre, double depart);
