// Pelvado.ini at its size limit (4 MiB of blank lines, the worst case for the
// reader): time of the start-up reads alone, time to create the main window
// (which reads them) with and without that file, one write, and the growth of
// the peak memory; then the reads of 4 MiB of one-letter lines.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <vector>

#include "OutilsBench.h"
#include "commun/FichierIni.h"
#include "app/Reglages.h"
#include "app/Document.h"
#include "app/ui/Ardemo.h"
#include "app/ui/Programme.h"

namespace {
long pointeKo()
{
    rusage r {};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

double creationFenetre(const QString& dossier)
{
    QElapsedTimer t;
    t.start();
    Document etat;
    HorlogeSansAttente horloge;
    Ardemo f(etat, horloge, dossier);
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char* argv[])
{
    PlateformeHorsEcran();
    QApplication app(argc, argv);
    PreparerApplication(app);
    QTemporaryDir vide, plein;
    const std::filesystem::path ini = plein.filePath(QStringLiteral("Pelvado.ini")).toStdString();
    std::ofstream(ini, std::ios::binary) << std::string(TailleMaxIni - 64, '\n');

    const long avant = pointeKo();
    std::vector<double> lectures, ecritures, sans, avec;
    // The start-up reads (eight colours and the width), in milliseconds.
    const auto lireDemarrage = [&ini] {
        QElapsedTimer t;
        t.start();
        SchemaCouleurs c;
        FichierReglages r(ini);
        r.LireCouleurs(c);
        r.LireLargeur();
        return t.nsecsElapsed() / 1e6;
    };
    for (int i = 0; i < 5; ++i) {
        lectures.push_back(lireDemarrage());
        QElapsedTimer t;
        t.start();
        FichierReglages(ini).EcrireLargeur(i % 2 ? "90" : "100");
        ecritures.push_back(t.nsecsElapsed() / 1e6);
    }
    const long croissance = pointeKo() - avant;
    for (int i = 0; i < 5; ++i) {
        sans.push_back(creationFenetre(vide.path()));
        avec.push_back(creationFenetre(plein.path()));
    }
    std::printf("Pelvado.ini de 4 Mio de lignes vides : 9 lectures du demarrage %.0f ms, une ecriture %.0f ms, "
                "pointe memoire +%ld Mo\n",
                mediane(lectures), mediane(ecritures), croissance / 1024);
    // Another worst case: two million one-letter lines, each one examined.
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << [] {
        std::string s;
        while (s.size() + 2 <= TailleMaxIni - 64)
            s += "x\n";
        return s;
    }();
    lectures.clear();
    for (int i = 0; i < 5; ++i)
        lectures.push_back(lireDemarrage());
    std::printf("Pelvado.ini de 4 Mio de lignes \"x\" : 9 lectures du demarrage %.0f ms\n", mediane(lectures));
    std::printf("Creation de la fenetre principale : %.0f ms sans fichier, %.0f ms avec ce fichier "
                "(objectif <= 500 ms)\n",
                mediane(sans), mediane(avec));
    return 0;
}
