#include "commun/ui/Curseur.h"

#include <QApplication>
#include <QCursor>

void CurseurSablier()
{
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CurseurNormal()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
