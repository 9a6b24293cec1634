#include "commun/ui/Styles.h"

#include <QLinearGradient>
#include <QPainter>

vkFrame::vkFrame(const QString& titre, QWidget* parent)
    : QWidget(parent), m_titre(titre), m_titre1(0, 0, 128), m_titre2(0, 0, 64),
      m_fond1(0xDC, 0xD5, 0xA9), m_fond2(0xDC, 0xD5, 0xA9)
{
    setAccessibleName(titre);
    m_policeTitre = font();
}

void vkFrame::setCouleursTitre(const QColor& haut, const QColor& bas) { m_titre1 = haut; m_titre2 = bas; update(); }
void vkFrame::setFonds(const QColor& haut, const QColor& bas) { m_fond1 = haut; m_fond2 = bas; update(); }
void vkFrame::setHauteurTitre(int pixels) { m_hauteurTitre = pixels; update(); }
void vkFrame::setPoliceTitre(const QFont& f) { m_policeTitre = f; update(); }

void vkFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    QLinearGradient fond(0, 0, 0, r.height());
    fond.setColorAt(0, m_fond1);
    fond.setColorAt(1, m_fond2);
    p.fillRect(r, fond);

    QRect barre(0, 0, r.width(), m_hauteurTitre);
    QLinearGradient g(0, 0, r.width(), 0);
    g.setColorAt(0, m_titre1);
    g.setColorAt(1, m_titre2);
    p.fillRect(barre, g);
    p.setFont(m_policeTitre);
    p.setPen(m_texteTitre);
    // A title too long for the margins uses the whole bar.
    const QRect place = barre.adjusted(6, 0, -4, 0);
    if (QFontMetrics(m_policeTitre).horizontalAdvance(m_titre) > place.width())
        p.drawText(barre, Qt::AlignHCenter | Qt::AlignVCenter, m_titre);
    else
        p.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, m_titre);

    p.setPen(m_titre2);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void MarqueFocus(QPainter& p, const QRect& r, const QColor& couleur)
{
    p.save();
    p.setPen(QPen(couleur, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
    p.restore();
}

vkCommand::vkCommand(const QString& legende, QWidget* parent) : QAbstractButton(parent)
{
    setText(legende);
    setFocusPolicy(Qt::StrongFocus);
}

void vkCommand::setFonds(const QColor& haut, const QColor& bas) { m_fond1 = haut; m_fond2 = bas; update(); }
void vkCommand::setCouleurTexte(const QColor& c) { m_texte = c; update(); }

QSize vkCommand::sizeHint() const
{
    QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 16, fm.height() + 10);
}

void vkCommand::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    QColor h = m_fond1, b = m_fond2, t = m_texte;
    if (!isEnabled()) {
        // Washed out: halfway to light grey, grey caption.
        auto pale = [](QColor c) {
            return QColor((c.red() + 2 * 200) / 3, (c.green() + 2 * 200) / 3, (c.blue() + 2 * 200) / 3);
        };
        h = pale(h);
        b = pale(b);
        t = QColor(128, 128, 128);
    } else if (isDown()) {
        std::swap(h, b);
    }
    if (h == b) {
        p.fillRect(r, h);
    } else {
        QLinearGradient g(0, 0, 0, r.height());
        g.setColorAt(0, h);
        g.setColorAt(1, b);
        p.fillRect(r, g);
    }
    p.setPen(isEnabled() ? QColor(60, 60, 60) : QColor(160, 160, 160));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (hasFocus())
        MarqueFocus(p, r.adjusted(3, 3, -3, -3), t);
    p.setFont(font());
    p.setPen(t);
    p.drawText(r, Qt::AlignCenter, text());
}
