#include "commun/ui/Couleur.h"

#include <QPalette>
#include <QWidget>

#include "commun/Twips.h"

QFont PoliceDessin(const QString& famille, double points, bool gras)
{
    QFont f(famille);
    f.setPixelSize(PointsVersPixels(points));
    f.setBold(gras);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void FondWidget(QWidget* w, const QColor& fond)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fond);
    p.setColor(QPalette::Base, fond);
    p.setColor(QPalette::Button, fond);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void TexteWidget(QWidget* w, const QColor& texte)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, texte);
    p.setColor(QPalette::Text, texte);
    p.setColor(QPalette::ButtonText, texte);
    w->setPalette(p);
}
