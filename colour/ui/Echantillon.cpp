#include "colour/ui/Echantillon.h"

#include <QColorDialog>
#include <QMouseEvent>

#include "commun/ui/Couleur.h"

Echantillon::Echantillon(const QString& texte, QWidget* parent) : QLabel(texte, parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setFond(m_fond);
    setTexte(m_texte);
}

void Echantillon::setFond(double couleur)
{
    m_fond = couleur;
    FondWidget(this, VersQColor(couleur));
}

void Echantillon::setTexte(double couleur)
{
    m_texte = couleur;
    TexteWidget(this, VersQColor(couleur));
}

void Echantillon::mousePressEvent(QMouseEvent* e)
{
    m_appui = e->button() == Qt::LeftButton;
    QLabel::mousePressEvent(e);
}

void Echantillon::mouseReleaseEvent(QMouseEvent* e)
{
    const bool clic = m_appui && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_appui = false;
    QLabel::mouseReleaseEvent(e);
    if (clic)
        emit clique();
}

std::optional<double> ChoisirCouleur(QWidget* parent, const QString& titre, double depart)
{
    QColorDialog dialogue(VersQColor(depart), parent);
    dialogue.setOption(QColorDialog::DontUseNativeDialog);
    dialogue.setWindowTitle(titre);
    if (dialogue.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor c = dialogue.selectedColor();
    if (!c.isValid())
        return std::nullopt;
    return DeQColor(c);
}
