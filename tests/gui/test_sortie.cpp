// The image files through their dialog, the clipboard, the preview window (file bytes: core tests).
#include <QClipboard>
#include <QPushButton>
#include <QMessageBox>

#include "commun/ui/Couleur.h"
#include "main_gui.h"
#include "app/ui/LigneDeCommande.h"
#include "output/ui/ApercuForm.h"
#include "output/ui/DialogueMiseEnPage.h"
#include "output/ui/FichierSortie.h"
#include "Outils.h"
#include "PiloteDialogues.h"

namespace {

bool etatPret(Ardemo& f)
{
    return C(f).FeuVert->isVisibleTo(&f) && !C(f).FeuRouge->isVisibleTo(&f) && C(f).Fabriquer->isEnabled()
           && C(f).SauveFichier->isEnabled() && C(f).SauvePPapier->isEnabled() && !QApplication::overrideCursor();
}
QImage rvb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }
// The files of the program's folder but its settings file.
QStringList contenu(const Programme& p)
{
    QStringList l = QDir(p.dossier.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    l.removeAll(QStringLiteral("Pelvado.ini"));
    return l;
}
BoiteImage* pict2(Ardemo& f) { return enfant<BoiteImage>(fenetreDe<ApercuForm>(f), "Pict2"); }

// The zone of the first two months' block, or of the two next to it.
void choisirZone(Document& v, int x1 = 0)
{
    v.Zone = ZoneMois{x1, 0, x1 + 418, 216, 216.0 / 418};
}

// Runs `action` on the save dialog that SauveFichier opens (closing it if still open after): the
// window busy meanwhile and the dialog above the preview, ready again after.
void sauverAvec(Ardemo& f, const std::function<void(QFileDialog*)>& action)
{
    bool occupe = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        occupe = d && d->windowFlags().testFlag(Qt::WindowStaysOnTopHint) && C(f).FeuRouge->isVisibleTo(&f)
                 && !C(f).SauveFichier->isEnabled() && !C(f).Imprimer->isEnabled();
        if (d)
            action(d), d->isVisible() ? d->reject() : void();
    });
    C(f).SauveFichier->click();
    VERIFIER(occupe, etatPret(f));
}
// Types `nom` (empty: keeps the proposed one) in the name box, which has the keyboard, and presses Enter.
void enregistrer(QFileDialog* d, const QString& nom = {})
{
    QLineEdit* boite = enfant<QLineEdit>(d, "fileNameEdit");
    activer(d), boite->setFocus(), nom.isEmpty() ? void() : boite->setText(nom);
    QTest::keyClick(boite, Qt::Key_Return);
}

} // namespace

class TestSortie : public QObject {
    Q_OBJECT
private slots:
    // The type chosen in the list gives the extension of a name typed without one of the four; a
    // typed one wins. A zone is chosen: the pictures hold the whole sheet, the documents the zone.
    void typesDeFichier_data()
    {
        QTest::addColumn<int>("type"); // place in the list of types
        QTest::addColumn<QString>("tape"); // empty: the proposed name
        QTest::addColumn<QString>("ecrit");
        QTest::addColumn<QByteArray>("attendu"); // bytes the file holds
        QTest::addColumn<QString>("page"); // a landscape page chosen by "Mise en page...": pdfinfo's size; empty: none
        QTest::newRow("PNG, nom proposé") << 1 << QString() << "Calendrier 2027.png" << QByteArray("\x89PNG") << QString();
        QTest::newRow("SVG, extension tapée") << 3 << "dessin.PNG" << "dessin.PNG" << QByteArray("\x89PNG") << QString();
        QTest::newRow("BMP, autre extension") << 0 << "x.txt" << "x.txt.bmp" << QByteArray("BM") << QString();
        QTest::newRow("PDF d'une page A4 paysage") << 2 << "page" << "page.pdf" << QByteArray("%PDF") << "842 x 595 pts";
        QTest::newRow("BMP malgré la page") << 0 << "p" << "p.bmp" << QByteArray("BM") << "";
        QTest::newRow("PDF d'une zone") << 2 << "z" << "z.pdf" << QByteArray("/MediaBox [0 0 283.000000 160.000000]") << QString();
        QTest::newRow("SVG d'une zone") << 3 << "z" << "z.svg" << QByteArray("width=\"90mm\" height=\"46.5mm\" viewBox=\"0 0 900 465\"") << QString();
    }

    void typesDeFichier()
    {
        QFETCH(int, type);
        QFETCH(QString, tape);
        QFETCH(QString, ecrit);
        QFETCH(QByteArray, attendu);
        QFETCH(QString, page);
        Programme p;
        p.etat.AnChoisi = "2027", choisirZone(p.etat), p.etat.LargeurTwips = 5103, p.etat.HauteurTwips = 2637;
        QTimer echec; // a failed save's warning, answered
        echec.callOnTimeout([&] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                ecrit = m->text(), m->accept();
        });
        echec.start(20);
        sauverAvec(p.f(), [&](QFileDialog* d) {
            d->selectNameFilter(d->nameFilters().value(2)), d->selectNameFilter(d->nameFilters().value(type));
            auto* miseEnPage = enfant<QPushButton>(d, "MiseEnPageImage");
            QCOMPARE(miseEnPage->isVisibleTo(d), type != 0); // PDF, PNG and SVG only
            if (page.isNull())
                return enregistrer(d, tape);
            auProchainDialogue<DialogueMiseEnPage>([](DialogueMiseEnPage* m) {
                enfant<QComboBox>(m, "Orientation")->setCurrentIndex(1), enfant<QAbstractButton>(m, "ValiderPage")->click();
            });
            type == 0 ? d->selectNameFilter(d->nameFilters().value(2)) : void(), miseEnPage->click();
            d->selectNameFilter(d->nameFilters().value(type)), enregistrer(d, tape);
        });
        QCOMPARE(contenu(p), QStringList{ecrit});
        QFile fichier(p.dossier.filePath(ecrit));
        const QByteArray octets = fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
        QVERIFY2(octets.contains(attendu), octets.mid(std::max<qsizetype>(0, octets.indexOf("/MediaBox")), 200).constData());
        if (!page.isEmpty()) // the page at its paper size, with its default title
            VERIFIER(lancer("pdfinfo", {fichier.fileName()}).contains("Page size:       " + page),
                     lancer("pdftotext", {fichier.fileName(), "-"}).contains("Calendrier 2027"));
        if (ecrit.endsWith("png", Qt::CaseInsensitive) || ecrit.endsWith("bmp")) // PNG as BMP: the sheet's pixels
            QCOMPARE(rvb(QImage(fichier.fileName())), rvb(C(p.f()).Pict1->image()));
        // The next save starts with the type of the file written, in its folder; both kept in the settings file.
        const QString suffixe = QFileInfo(ecrit).suffix().toLower();
        QString filtre;
        sauverAvec(p.f(), [&](QFileDialog* d) { filtre = d->selectedNameFilter(); });
        Document relu(p.etat.FichierIni());
        relu.ChargerReglages();
        VERIFIER(filtre.endsWith("(*." + suffixe + ")"), relu.Choix.typeImage == suffixe.toStdString(),
                 NomFichier(relu.Choix.dossierImages) == QDir(p.dossier.path()).canonicalPath(),
                 relu.Page.has_value() == !page.isNull(), !relu.Page || (relu.Page->paysage && !relu.Page->titre));
    }

    // A name typed, then cancelled: the default one proposed again. The folder gone between the dialog and
    // the writing: the failure and its reason said, nothing left; a folder that never was: said at once, the dialog kept.
    // The clipboard: the whole picture despite a zone, only.
    void annulerEchecCopier()
    {
        Programme p;
        p.annee("2026-2027"); // a school year's name
        QStringList proposes;
        for (int fois = 0; fois < 2; ++fois)
            sauverAvec(p.f(), [&](QFileDialog* d) {
                proposes << d->selectedFiles().value(0), enfant<QLineEdit>(d, "fileNameEdit")->setText("autre"), d->reject();
            });
        QCOMPARE(proposes, QStringList(2, p.dossier.filePath(QStringLiteral("Calendrier %1.bmp").arg(p.etat.AnChoisi.c_str()))));
        QString echec;
        QVERIFY(QDir(p.dossier.path()).mkdir("sous"));
        sauverAvec(p.f(), [&](QFileDialog* d) {
            enregistrer(d, QStringLiteral("sous/essai.bmp"));
            QDir(p.dossier.filePath("sous")).removeRecursively();
            auProchainDialogue<QMessageBox>([&](QMessageBox* m) { echec = m->text(), m->accept(); });
        });
        VERIFIER(echec.endsWith(QStringLiteral("sous/essai.bmp » : dossier inexistant.")), contenu(p).isEmpty());
        bool resteOuvert = false;
        sauverAvec(p.f(), [&](QFileDialog* d) {
            auProchainDialogue<QMessageBox>([&](QMessageBox* m) { echec = m->text(), m->accept(); });
            enregistrer(d, QStringLiteral("absent/essai.bmp")), resteOuvert = d->isVisible();
        });
        VERIFIER(echec.contains(QStringLiteral("n'existe pas")), resteOuvert, contenu(p).isEmpty());
        choisirZone(p.etat), QApplication::clipboard()->setText(QStringLiteral("texte d'avant"));
        C(p.f()).SauvePPapier->click();
        VERIFIER(QApplication::clipboard()->text().isEmpty(), etatPret(p.f()));
        QCOMPARE(rvb(QApplication::clipboard()->image()), rvb(C(p.f()).Pict1->image()));
    }

    // The preview at the printed size: the image scaled (90 mm: 340 x 481 pixels) and outlined in the grid
    // colour, or the zone, the part outside the image black. The button toggles it; Escape, a build, a refused width
    // close it.
    void apercu()
    {
        Programme p;
        Ardemo& f = p.f();
        const auto ferme = [&] { return !p.f().apercuOuvert() && !fenetreDe<ApercuForm>(f, true); };
        QImage blocs(3, 4, QImage::Format_RGB32); // one plain colour per month block
        for (int k = 0; k < 12; ++k)
            blocs.setPixel(k % 3, k / 3, qRgb(40 + 20 * k, 250 - 20 * k, 90 + 13 * k));
        C(f).Pict1->setImage(blocs.scaled(628, 866));
        C(f).Apercu->click();
        QCOMPARE(pict2(f)->geometry(), QRect(0, 0, 340, 481));
        QImage img = pict2(f)->image();
        VERIFIER(img.pixelColor(56, 60) == blocs.pixelColor(0, 0), img.pixelColor(283, 420) == blocs.pixelColor(2, 3));
        for (QPoint pt : {QPoint(170, 0), QPoint(339, 240), QPoint(170, 480), QPoint(0, 240)})
            QCOMPARE(img.pixelColor(pt), VersQColor(p.etat.Couleurs.CoulGrille));
        C(f).Apercu->click();
        QVERIFY(ferme());
        choisirZone(p.etat), C(f).Apercu->click(); // 5103 x 216 / 418 twips high: 176 pixels
        VERIFIER(p.etat.HauteurTwips == 2637, C(f).Hauteur->text() == "47");
        img = pict2(f)->image();
        QCOMPARE(img.size(), QSize(340, 176)); // January left, February right
        VERIFIER(img.pixelColor(80, 8) == blocs.pixelColor(0, 0), img.pixelColor(260, 160) == blocs.pixelColor(1, 0));
        QTest::keyClick(fenetreDe<ApercuForm>(f), Qt::Key_Escape);
        QVERIFY(ferme());
        choisirZone(p.etat, 418), C(f).Apercu->click();
        VERIFIER(pict2(f)->image().pixelColor(50, 80) == blocs.pixelColor(2, 0), pict2(f)->image().pixelColor(300, 80) == Qt::black);
        bool fermePendant = false; // before the months are filled
        p.horloge.pendantAttente = [&] { fermePendant = ferme(); };
        C(f).Fabriquer->click();
        VERIFIER(fermePendant, ferme());
        C(f).Apercu->click();
        VERIFIER(!ferme(), (C(f).Largeur->setText(QStringLiteral("25")), ferme())); // a refused width
    }

    // The command line draws the sheet as the window does: the same PNG and SVG for the same settings.
    void ligneDeCommandeCommeFenetre()
    {
        Programme p;
        p.etat.RegionFeries = Region::LaReunion;
        C(p.f()).chkWeek->click();
        Ardemo& f = p.annee("2027");
        const QString ini = p.dossier.filePath("vide.ini"), d = p.dossier.path() + "/";
        QFile(ini).open(QIODevice::WriteOnly);
        for (const char* x : {"f.png", "f.svg"})
            QVERIFY(EcrireCalendrier(d + x, FormatDuNom(x), f.calendrier()));
        QList<QByteArray> args{"ardemo", "--ini", QFile::encodeName(ini), "--annee", "2027", "--sans-weekend",
                               "--region", "la reunion", "--sortie", QFile::encodeName(d + "l.png"), "--sortie",
                               QFile::encodeName(d + "l.svg")};
        std::vector<char*> argv;
        for (QByteArray& a : args)
            argv.push_back(a.data());
        QCOMPARE(LigneDeCommande(int(argv.size()), argv.data()).fin, std::optional(0));
        for (const char* x : {"png", "svg"}) {
            QFile a(d + "f." + x), b(d + "l." + x);
            VERIFIER(a.open(QIODevice::ReadOnly), b.open(QIODevice::ReadOnly), a.readAll() == b.readAll());
        }
    }
};

ARDEMO_GUI_MAIN(TestSortie)
#include "test_sortie.moc"
