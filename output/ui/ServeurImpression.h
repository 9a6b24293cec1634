#pragma once
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>

#include "output/BilanImpression.h"

class QObject;

// The print server, behind an interface the tests replace.
class ServeurImpression {
public:
    using Options = QList<QPair<QByteArray, QByteArray>>;
    virtual ~ServeurImpression() = default;

    // Sends `pdf` to the queue `imprimante` as one job named `titre`, then reads
    // the printer's and the job's states.
    virtual ConstatImpression envoyer(const QString& imprimante, const QString& titre, const QByteArray& pdf,
                                      const Options& options) = 0;
    // Reads again the printer's and the job's states into `constat`.
    virtual void relire(const QString& imprimante, ConstatImpression& constat) = 0;

    // The server the program prints to: CUPS unless replaced.
    static std::function<std::shared_ptr<ServeurImpression>()> source;
    static std::shared_ptr<ServeurImpression> courant();
    // Milliseconds between two readings of a job still on its way (tests: 0).
    static int intervalleSuivi;
};

// CUPS, through libcups.
std::shared_ptr<ServeurImpression> ServeurCups();

// Reads the job again every intervalleSuivi for up to `lectures` times while it
// is on its way, and calls `dire` once if the verdict gives a message (a job
// cancelled by the server, a printer falling into error). Owned by `parent`.
void SuivreImpression(QObject* parent, std::shared_ptr<ServeurImpression> serveur, const QString& imprimante,
                      const ConstatImpression& constat, std::function<void(const Bilan&)> dire, int lectures = 30);
