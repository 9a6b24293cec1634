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
    QObject::connect(veille, &QTimer::timeout, [] {
        QWidget* d = QApplication::activeModalWidget();
        if (d != ouvert)
            ouvert = d, depuis.start();
        else if (d && depuis.hasExpired(10000)) {
            const QString nom = QString::fromLatin1(d->metaObject()->className()) + " « " + d->windowTitle() + " »";
            QTest::qFail(qPrintable("dialogue resté ouvert : " + nom), __FILE__, __LINE__);
            auto* dialogue = qobject_cast<QDialog*>(d);
            dialogue ? dialogue->done(QDialog::Rejected) : void(d->close());
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
