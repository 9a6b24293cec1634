#include "commun/ui/BoiteImage.h"

#include <QMouseEvent>
#include <QPainter>

BoiteImage::BoiteImage(QWidget* parent, bool bordure) : QWidget(parent), m_bordure(bordure)
{
    setAccessibleName(QStringLiteral("Image du calendrier"));
}

QSize BoiteImage::tailleInterieure() const
{
    const int b = m_bordure ? 2 : 0;
    return QSize(qMax(0, width() - b), qMax(0, height() - b));
}

void BoiteImage::setFond(const QColor& c)
{
    m_fond = c;
    m_image = QImage();
    update();
}

void BoiteImage::effacer()
{
    m_image = QImage();
    update();
}

void BoiteImage::setImage(const QImage& img)
{
    m_image = img;
    update();
}

void BoiteImage::setSurcouche(std::function<void(QPainter&)> dessin)
{
    m_surcouche = std::move(dessin);
    update();
}

void BoiteImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_fond);
    const int o = m_bordure ? 1 : 0;
    if (!m_image.isNull()) {
        p.setClipRect(QRect(QPoint(o, o), tailleInterieure()));
        p.drawImage(o, o, m_image);
    }
    if (m_surcouche) {
        p.save();
        p.setClipRect(QRect(QPoint(o, o), tailleInterieure()));
        p.translate(o, o);
        m_surcouche(p);
        p.restore();
    }
    if (m_bordure) {
        p.setClipping(false);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void BoiteImage::mousePressEvent(QMouseEvent* e)
{
    const int o = m_bordure ? 1 : 0;
    emit sourisEnfoncee(e->button(), e->position().toPoint() - QPoint(o, o));
}

void BoiteImage::mouseReleaseEvent(QMouseEvent* e)
{
    const int o = m_bordure ? 1 : 0;
    emit sourisRelachee(e->button(), e->position().toPoint() - QPoint(o, o));
}
