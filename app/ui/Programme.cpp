#include "app/ui/Programme.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <functional>
#include <QTranslator>

#include "app/Document.h"
#include "app/ui/Ardemo.h"
#include "app/ui/HorlogeSysteme.h"
#include "app/ui/OptionsFenetre.h"

void PreparerApplication(QGuiApplication& app)
{
    // The pictures are compiled into the window library: register them.
    Q_INIT_RESOURCE(ardemo);

    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto* traduction = new QTranslator(&app);
    if (traduction->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);

    // The design fonts and the metric-compatible fonts that stand in for them.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

int LancerArdemo(int argc, char* argv[], const OptionsFenetre& options)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ardemo"));
    PreparerApplication(app);

    Document document;
    HorlogeSysteme horloge;
    Ardemo fenetre(document, horloge, QCoreApplication::applicationDirPath(), options.ini);
    // The options of the command line, before the first build.
    if (options.annee)
        fenetre.ChoisirAnnee(QString::fromStdString(TextePeriode(*options.annee)));
    if (options.region) {
        document.RegionFeries = *options.region;
        fenetre.BulleFeries();
    }
    if (options.largeur)
        fenetre.ecrireLargeur(QString::number(*options.largeur));
    if (!options.weekEnd || !options.feries)
        fenetre.cocherJours(options.weekEnd, options.feries);
    fenetre.show();
    // Then the files, one after the other, each as its button would open it:
    // the .Cal, the imports with their colours, the files named alone; not
    // before the first build is over.
    fenetre.quandPret([&] {
        if (!options.couleurs.isEmpty())
            fenetre.ouvrirFichier(options.couleurs);
        for (const auto& [fichier, couleur] : options.imports)
            fenetre.ouvrirFichier(fichier, couleur);
        for (const QString& fichier : options.fichiers)
            fenetre.ouvrirFichier(fichier);
    });
    return app.exec();
}
