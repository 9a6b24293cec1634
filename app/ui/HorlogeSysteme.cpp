#include "app/ui/HorlogeSysteme.h"

#include <QCoreApplication>
#include <QThread>
#include <QTime>

double HorlogeSysteme::SecondesDepuisMinuit()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void HorlogeSysteme::LaisserPasserEvenements()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
}
