// Time to print one page at 200 mm into a PDF file (Qt's PDF output, as the
// job sent to the printer): the sheet drawn at the printer's resolution
// against the 628 x 866 bitmap stretched.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "OutilsBench.h"
#include "app/Horloge.h"
#include "app/Document.h"
#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "app/ui/Programme.h"
#include "output/Impression.h"
#include "output/MiseEnPage.h"
#include "output/ui/FichierSortie.h"
#include "output/ui/ImpressionNette.h"
#include "output/ui/ImpressionPage.h"


int main(int argc, char* argv[])
{
    PlateformeHorsEcran();
    QApplication app(argc, argv);
    PreparerApplication(app);
    QTemporaryDir dossier;
    Document etat;
    HorlogeSansAttente horloge;
    Ardemo f(etat, horloge, dossier.path());
    f.Fabrication();

    const int16_t L = 11340, T = 16046; // 200 x 283 mm
    const PageImprimante page = PageDepuisPoints(595, 842, 0, 0, 0, 0);
    MiseEnPage mp;
    ChoixImprimante(mp, page, L, T, 9450, 13020);
    const PlanImpression plan = PlanImageEntiere();
    const CalendrierAEcrire cal = f.calendrier();

    for (int net = 1; net >= 0; --net) {
        std::vector<double> ms;
        qint64 taille = 0;
        for (int i = 0; i < 7; ++i) {
            QPrinter imprimante(QPrinter::HighResolution);
            imprimante.setOutputFormat(QPrinter::PdfFormat);
            const QString fichier = dossier.filePath(QStringLiteral("page%1.pdf").arg(i));
            imprimante.setOutputFileName(fichier);
            imprimante.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
            PreparerImprimante(imprimante);
            QElapsedTimer t;
            t.start();
            if (net)
                ImprimerPage(
                    imprimante, [&](QPainter& p, const QRectF& cible) { DessinerNet(p, cible, *cal.feuille, plan); },
                    mp, page, L, T);
            else
                ImprimerPage(imprimante, cal.image, mp, page, L, T);
            ms.push_back(t.nsecsElapsed() / 1e6);
            taille = QFileInfo(fichier).size();
        }
        std::printf("Impression a 200 mm, %s : mediane %.1f ms, fichier de %lld Ko\n",
                    net ? "dessin net (vectoriel)" : "image 628 x 866 etiree", mediane(ms),
                    static_cast<long long>(taille / 1024));
    }
    return 0;
}
