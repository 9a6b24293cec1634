#pragma once
// main() for the window tests (with Outils.h): a QApplication set up like the program's.
#include "app/ui/Programme.h"

#define ARDEMO_GUI_MAIN(Classe)                                                                                        \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        PreparerApplication(app);                                                                                      \
        return QTest::qExec(std::make_unique<Classe>().get(), argc, argv);                                             \
    }
