#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QWidget>

// Frame with a title bar shaded between two colours, over a background that
// may itself be shaded between two colours.
class vkFrame : public QWidget {
    Q_OBJECT
public:
    explicit vkFrame(const QString& titre, QWidget* parent = nullptr);

    QString titre() const { return m_titre; }
    void setCouleursTitre(const QColor& haut, const QColor& bas);
    void setFonds(const QColor& haut, const QColor& bas);
    void setHauteurTitre(int pixels);
    void setPoliceTitre(const QFont& f);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_titre;
    QColor m_titre1, m_titre2, m_fond1, m_fond2, m_texteTitre = Qt::white;
    QFont m_policeTitre;
    int m_hauteurTitre = 23;
};

// Button with two background colours (shaded top to bottom), a caption, a font
// and a text colour; disabled it is drawn washed out.
class vkCommand : public QAbstractButton {
    Q_OBJECT
public:
    explicit vkCommand(const QString& legende, QWidget* parent = nullptr);

    void setFonds(const QColor& haut, const QColor& bas);
    QColor fond1() const { return m_fond1; }
    void setCouleurTexte(const QColor& c);
    // One flat fill of exactly this colour (buttons marked by the program).
    void setFondUni(const QColor& c) { setFonds(c, c); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_fond1 = QColor(250, 250, 250), m_fond2 = QColor(214, 222, 232);
    QColor m_texte = Qt::black;
};
