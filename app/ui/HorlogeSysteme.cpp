#include "app/ui/HorlogeSysteme.h"

#include <QCoreApplication>
#include <QTimer>

void HorlogeSysteme::Attendre(int secondes, std::function<void()> ensuite)
{
    QTimer::singleShot(secondes * 1000, QCoreApplication::instance(), std::move(ensuite));
}
