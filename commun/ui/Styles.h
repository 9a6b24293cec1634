#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QPainter>
#include <QWidget>
#include <utility>

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

// The mark of the control that has the keyboard: a frame two pixels wide
// along the inside of `r`, in `couleur`. The buttons draw it in their
// caption's colour, which their design keeps readable on their background.
void MarqueFocus(QPainter& p, const QRect& r, const QColor& couleur);

// A standard control (check box, option button, scroll bar) that takes the
// keyboard and shows the program's mark around it when it has it, in a colour
// that stands out from what lies under the mark.
template <class Base>
class AvecMarque : public Base {
public:
    template <class... Arguments>
    explicit AvecMarque(const QColor& couleur, Arguments&&... arguments)
        : Base(std::forward<Arguments>(arguments)...), m_couleur(couleur)
    {
        this->setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        Base::paintEvent(e);
        if (this->hasFocus()) {
            QPainter p(this);
            MarqueFocus(p, this->rect(), m_couleur);
        }
    }

private:
    QColor m_couleur;
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
