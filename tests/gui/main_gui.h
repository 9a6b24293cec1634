#pragma once
// main() for the window tests: a QApplication set up like the program's.
#include <QApplication>
#include <QtTest>

#include "app/ui/Programme.h"

#define ARDEMO_GUI_MAIN(Classe)                                                                                  \
    int main(int argc, char* argv[])                                                                           \
    {                                                                                                          \
        QApplication app(argc, argv);                                                                          \
        PreparerApplication(app);                                                                              \
        Classe t;                                                                                              \
        return QTest::qExec(&t, argc, argv);                                                                   \
    }
