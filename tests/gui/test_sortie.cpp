// The image files through their dialog, the clipboard, the preview window (file bytes: core tests).
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Styles.h"
#include "main_gui.h"
#include "output/ui/ApercuForm.h"
#include "Outils.h"
#include "PiloteDialogues.h"

namespace {

bool etatPret(Ardemo& f)
{
    return C(f).FeuVert->isVisibleTo(&f) && !C(f).FeuRouge->isVisibleTo(&f) && C(f).Fabriquer->isEnabled()
           && C(f).SauveFichier->isEnabled() && C(f).SauvePPapier->isEnabled() && !QApplication::overrideCursor();
}
QImage rvb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }
QStringList contenu(const Programme& p) { return QDir(p.dossier.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
BoiteImage* pict2(Ardemo& f) { return enfant<BoiteImage>(fenetreDe<ApercuForm>(f), "Pict2"); }

// The zone of the first two months' block, or of the two next to it.
void choisirZone(mdlVorn& v, int x1 = 0)
{
    v.ZoneChoisie = Vrai;
    v.ZoneX1 = x1, v.ZoneY1 = 0, v.ZoneX2 = x1 + 418, v.ZoneY2 = 216, v.RatioZone = 216.0 / 418;
}

// Runs `action` on the save dialog that SauveFichier opens; a failed check inside it closes the dialog.
void sauverAvec(Ardemo& f, const std::function<void(QFileDialog*)>& action)
{
    bool vu = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if ((vu = d != nullptr))
            action(d);
        if (d && d->isVisible() && QTest::currentTestFailed())
            d->reject();
    });
    C(f).SauveFichier->click();
    QVERIFY(vu);
}
void taper(QFileDialog* d, const QString& nom) { enfant<QLineEdit>(d, "fileNameEdit")->setText(nom); }
// As the dialog's Save button does it (accept() is protected in QFileDialog).
void accepter(QFileDialog* d) { static_cast<QDialog*>(d)->accept(); }
void repondre(QMessageBox::StandardButton b) { auProchainDialogue<QMessageBox>([b](QMessageBox* m) { m->button(b)->click(); }); }

// One plain colour per month block of the test picture (3 columns of 209 pixels, rows of 216).
QColor couleurBloc(int colonne, int rangee) { return QColor(40 + 70 * colonne, 30 + 50 * rangee, 200 - 40 * rangee); }

} // namespace

class TestSortie : public QObject {
    Q_OBJECT
private slots:
    void fichierEtPressePapier()
    {
        Programme p;
        Ardemo& f = p.f();
        choisirZone(f.etat()); // changes nothing: the file and the clipboard hold the whole image
        bool occupe = false, dessus = false;
        sauverAvec(f, [&](QFileDialog* d) {
            occupe = C(f).FeuRouge->isVisibleTo(&f) && !C(f).SauveFichier->isEnabled() && !C(f).Imprimer->isEnabled();
            dessus = d->windowFlags() & Qt::WindowStaysOnTopHint; // not hidden by the preview
            taper(d, QStringLiteral("mon calendrier"));
            QTest::keyClick(enfant<QLineEdit>(d, "fileNameEdit"), Qt::Key_Return);
            if (d->isVisible()) // the completer's list took the key
                accepter(d);
        });
        QVERIFY(occupe && dessus && etatPret(f));
        QCOMPARE(contenu(p), QStringList{"mon calendrier.bmp"});
        QCOMPARE(rvb(QImage(p.dossier.filePath("mon calendrier.bmp"), "BMP")), rvb(C(f).Pict1->image()));
        QApplication::clipboard()->setText(QStringLiteral("texte d'avant"));
        C(f).SauvePPapier->click();
        QVERIFY(!QApplication::clipboard()->mimeData()->hasText() && etatPret(f));
        QCOMPARE(rvb(QApplication::clipboard()->image()), rvb(C(f).Pict1->image()));
    }

    // The type chosen in the list gives the extension of a name typed without
    // one of the four; a typed one wins. The documents take the zone.
    void typesDeFichier_data()
    {
        QTest::addColumn<int>("type"); // place in the list of types
        QTest::addColumn<QString>("tape"); // empty: the proposed name; "z": with a zone
        QTest::addColumn<QString>("ecrit");
        QTest::addColumn<QByteArray>("attendu"); // bytes the file holds
        QTest::newRow("PNG, nom proposé") << 1 << QString() << "Calendrier 2027.png" << QByteArray("\x89PNG");
        QTest::newRow("SVG, extension tapée") << 3 << "dessin.PNG" << "dessin.PNG" << QByteArray("\x89PNG");
        QTest::newRow("BMP, autre extension") << 0 << "x.txt" << "x.txt.bmp" << QByteArray("BM");
        QTest::newRow("PDF d'une zone") << 2 << "z" << "z.pdf" << QByteArray("/MediaBox [0 0 283.000000 160.000000]");
        QTest::newRow("SVG d'une zone") << 3 << "z" << "z.svg" << QByteArray("width=\"90mm\" height=\"46.5mm\"\n viewBox=\"0 0 420 222\"");
    }

    void typesDeFichier()
    {
        QFETCH(int, type);
        QFETCH(QString, tape);
        QFETCH(QString, ecrit);
        QFETCH(QByteArray, attendu);
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        if (tape == "z")
            choisirZone(f.etat()), f.etat().LargeurTwips = 5103, f.etat().HauteurTwips = 2637;
        QTimer echec; // a failed save's warning, answered
        echec.callOnTimeout([&] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                ecrit = m->text(), m->accept();
        });
        echec.start(20);
        sauverAvec(f, [&](QFileDialog* d) {
            d->selectNameFilter(d->nameFilters().value(type));
            if (!tape.isEmpty())
                taper(d, tape);
            accepter(d);
        });
        QCOMPARE(contenu(p), QStringList{ecrit});
        QFile fichier(p.dossier.filePath(ecrit));
        const QByteArray octets = fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
        QVERIFY2(octets.contains(attendu), octets.mid(std::max<qsizetype>(0, octets.indexOf("/MediaBox")), 200).constData());
    }

    void annulerEchecRemplacer()
    {
        Programme p;
        Ardemo& f = p.f();
        // Cancelled after typing a name: the next save proposes the default name again.
        const QString chemin = p.dossier.filePath(QStringLiteral("Calendrier %1.bmp").arg(f.etat().AnChoisi.c_str()));
        for (int fois = 0; fois < 2; ++fois)
            sauverAvec(f, [&](QFileDialog* d) {
                QCOMPARE(d->selectedFiles().value(0), chemin);
                taper(d, "autre"), d->reject();
            });
        QVERIFY(contenu(p).isEmpty() && etatPret(f));
        // The folder disappears between the dialog and the writing: the failure is said.
        QString echec;
        QVERIFY(QDir(p.dossier.path()).mkdir("sous"));
        sauverAvec(f, [&](QFileDialog* d) {
            taper(d, QStringLiteral("sous/essai.bmp")), accepter(d);
            QDir(p.dossier.filePath("sous")).removeRecursively();
            auProchainDialogue<QMessageBox>([&](QMessageBox* m) { echec = m->text(), m->accept(); });
        });
        QVERIFY(echec.contains(QStringLiteral("n'a pas pu être enregistrée")) && contenu(p).isEmpty());
        // An existing file is replaced only once confirmed.
        QFile ancien(chemin);
        QVERIFY(ancien.open(QIODevice::WriteOnly) && ancien.write("ancien") == 6 && ancien.flush());
        sauverAvec(f, [&](QFileDialog* d) {
            repondre(QMessageBox::No), accepter(d);
            QVERIFY(d->isVisible() && QFileInfo(chemin).size() == 6); // refused: still asking
            repondre(QMessageBox::Yes), accepter(d);
        });
        QVERIFY(rvb(QImage(chemin, "BMP")) == rvb(C(f).Pict1->image()) && etatPret(f));
    }

    void apercu()
    {
        Programme avant(false); // not on the screen yet: nothing opens; then a plain picture before the first build
        C(avant.f()).Apercu->click();
        QVERIFY(!fenetreDe<ApercuForm>(avant.f(), true) && !avant.etat.ApercuOuvert);
        avant.f().show(), C(avant.f()).Apercu->click();
        const QImage vide = pict2(avant.f())->image();
        QVERIFY(!avant.etat.CalendrierFait && avant.etat.ApercuOuvert);
        QImage uni(338, 479, vide.format());
        uni.fill(vide.pixel(170, 240));
        QCOMPARE(vide.copy(1, 1, 338, 479), uni);

        Programme p;
        Ardemo& f = p.f();
        QImage motif(628, 866, QImage::Format_RGB32);
        for (int y = 0; y < 866; ++y)
            for (int x = 0; x < 628; ++x)
                motif.setPixelColor(x, y, couleurBloc(std::min(x / 209, 2), std::min(y / 216, 3)));
        C(f).Pict1->setImage(motif);
        C(f).Apercu->click(); // 90 mm without a zone: the whole image scaled, outlined in the grid colour
        QCOMPARE(pict2(f)->geometry(), QRect(0, 0, 340, 481));
        QImage img = pict2(f)->image();
        QVERIFY(img.pixelColor(56, 60) == couleurBloc(0, 0) && img.pixelColor(283, 420) == couleurBloc(2, 3));
        for (QPoint pt : {QPoint(170, 0), QPoint(339, 240), QPoint(170, 480), QPoint(0, 240)})
            QCOMPARE(img.pixelColor(pt), VersQColor(p.etat.Couleurs.CoulGrille));
        fenetreDe<ApercuForm>(f)->close(), choisirZone(p.etat), C(f).Apercu->click(); // 5103 x 216 / 418 twips high: 176 pixels
        QVERIFY(p.etat.HauteurTwips == 2637 && C(f).Hauteur->text() == "47");
        img = pict2(f)->image();
        QCOMPARE(img.size(), QSize(340, 176)); // January left, February right
        QVERIFY(img.pixelColor(80, 8) == couleurBloc(0, 0) && img.pixelColor(260, 160) == couleurBloc(1, 0));
        fenetreDe<ApercuForm>(f)->close(), choisirZone(p.etat, 418), C(f).Apercu->click(); // partly outside: that part black
        QVERIFY(pict2(f)->image().pixelColor(50, 80) == couleurBloc(2, 0) && pict2(f)->image().pixelColor(300, 80) == Qt::black);
    }

    void basculeEtFermetures()
    {
        Programme p;
        Ardemo& f = p.f();
        const auto ferme = [&] { return !f.etat().ApercuOuvert && !fenetreDe<ApercuForm>(f, true); };
        // The button toggles, and the window goes away; the title bar's close box.
        C(f).Apercu->click();
        QPointer<ApercuForm> premier = fenetreDe<ApercuForm>(f);
        C(f).Apercu->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(ferme() && !premier);
        C(f).Apercu->click();
        QVERIFY(fenetreDe<ApercuForm>(f)->close() && ferme());
        C(f).Apercu->click(); // a build closes it before filling the months
        bool fermePendant = false;
        p.horloge.pendantAttente = [&] { fermePendant = ferme(); };
        C(f).Fabriquer->click();
        QVERIFY(fermePendant && ferme());
        p.horloge.pendantAttente = nullptr;
        // A size change reopens it at the new size; a refused size closes it, and Enter
        // in the refused box toggles it without touching the height.
        C(f).Apercu->click();
        QPointer<ApercuForm> avant = fenetreDe<ApercuForm>(f);
        C(f).Largeur->setText(QStringLiteral("100"));
        QVERIFY(f.etat().ApercuOuvert && fenetreDe<ApercuForm>(f) && fenetreDe<ApercuForm>(f) != avant.data() && C(f).Hauteur->text() == "142");
        QCOMPARE(pict2(f)->size(), QSize(378, 535));
        C(f).Largeur->setText(QStringLiteral("25"));
        QVERIFY(ferme());
        QTest::keyClick(C(f).Largeur, Qt::Key_Return);
        QVERIFY(C(f).Hauteur->text() == "142" && pict2(f)->size() == QSize(378, 535));
    }
};

ARDEMO_GUI_MAIN(TestSortie)
#include "test_sortie.moc"
