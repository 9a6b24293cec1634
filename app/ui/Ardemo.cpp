#include "app/ui/Ardemo.h"

#include "app/Twips.h"
#include "app/mdlVorn.h"

Ardemo::Ardemo(mdlVorn& etat, QWidget* parent) : QWidget(parent), m_etat(etat)
{
    setWindowTitle(QStringLiteral("Ardemo - Version 6.2"));
    resize(TwipsVersPixels(13755), TwipsVersPixels(13035));
}
