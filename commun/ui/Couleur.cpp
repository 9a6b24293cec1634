#include "commun/ui/Couleur.h"

#include <QPalette>
#include <QWidget>
#include <initializer_list>

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

namespace {
void Colorer(QWidget* w, std::initializer_list<QPalette::ColorRole> roles, const QColor& c)
{
    QPalette p = w->palette();
    for (QPalette::ColorRole r : roles)
        p.setColor(r, c);
    w->setPalette(p);
}
} // namespace

void FondWidget(QWidget* w, const QColor& fond)
{
    Colorer(w, {QPalette::Window, QPalette::Base, QPalette::Button}, fond);
    w->setAutoFillBackground(true);
}

void TexteWidget(QWidget* w, const QColor& texte)
{
    Colorer(w, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, texte);
}
