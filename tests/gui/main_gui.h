#pragma once
// main() for the window tests (with Outils.h): a QApplication set up like the program's, and a watch on modal
// dialogs: one still open after ten seconds (left unanswered by the test, or opened by a fault) is closed and fails
// the running test, instead of hanging it until its time-out.
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "app/ui/Programme.h"

inline void SurveillerDialogues()
{
    static QPointer<QWidget> ouvert;
    static QElapsedTimer depuis;
    auto* veille = new QTimer(qApp);
    veille->callOnTimeout([] {
        QWidget* d = QApplication::activeModalWidget();
        if (d != ouvert)
            ouvert = d, depuis.start();
        else if (d && depuis.hasExpired(10000)) {
            QTest::qFail(qPrintable(QStringLiteral("dialogue resté ouvert : %1 « %2 »")
                                        .arg(d->metaObject()->className(), d->windowTitle())), __FILE__, __LINE__);
            qobject_cast<QDialog*>(d) ? qobject_cast<QDialog*>(d)->done(QDialog::Rejected) : void(d->close());
        }
    });
    veille->start(250);
}

#define ARDEMO_GUI_MAIN(Classe)                                                                                        \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        PreparerApplication(app);                                                                                      \
        SurveillerDialogues();                                                                                         \
        return QTest::qExec(std::make_unique<Classe>().get(), argc, argv);                                             \
    }
