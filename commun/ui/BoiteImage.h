#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

// Picture box with a retained drawing: the bitmap survives repaints and is what
// the outputs read. An overlay can be drawn above it without touching it.
class BoiteImage : public QWidget {
    Q_OBJECT
public:
    explicit BoiteImage(QWidget* parent, bool bordure = true);

    // Inner drawing area (inside the one-pixel border).
    QSize tailleInterieure() const;
    const QImage& image() const { return m_image; }
    bool aUneImage() const { return !m_image.isNull(); }

    void setFond(const QColor& c);           // erases the retained drawing
    QColor fond() const { return m_fond; }
    void effacer();
    void setImage(const QImage& img);        // copied at (0, 0) of the drawing area

    // Temporary drawing above the image, in drawing-area pixels; empty to remove.
    void setSurcouche(std::function<void(QPainter&)> dessin);

signals:
    void sourisEnfoncee(Qt::MouseButton bouton, QPoint position);
    void sourisRelachee(Qt::MouseButton bouton, QPoint position);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    bool m_bordure;
    QColor m_fond = QColor(0xFB, 0xE9, 0xD2);
    QImage m_image;
    std::function<void(QPainter&)> m_surcouche;
};
