// The image files through their dialog, the clipboard, the preview window (file bytes: core tests).
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <fstream>

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
    return f.FeuVert->isVisibleTo(&f) && !f.FeuRouge->isVisibleTo(&f) && f.Fabriquer->isEnabled()
           && f.SauveFichier->isEnabled() && f.SauvePPapier->isEnabled() && f.Apercu->isEnabled()
           && f.Imprimer->isEnabled() && !QApplication::overrideCursor();
}

QImage rvb(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }

auto contenu(const QString& d) { return QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

// The zone of the first two months' block, or the two next to it.
void choisirZone(mdlVorn& v, int x1 = 0)
{
    v.ZoneChoisie = Vrai;
    v.ZoneX1 = x1, v.ZoneY1 = 0, v.ZoneX2 = x1 + 418, v.ZoneY2 = 216;
    v.RatioZone = 216.0 / 418;
}

// Runs `action` on the save dialog that SauveFichier opens; a check that fails
// inside it must not leave the dialog waiting.
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
    f.SauveFichier_Click();
    QVERIFY(vu);
}

// Answers the next message box with one of its buttons.
void repondre(QMessageBox::StandardButton b)
{
    auProchainDialogue<QMessageBox>([b](QMessageBox* m) { m->button(b)->click(); });
}

// accept() as the dialog's Save button runs it (protected in QFileDialog).
void accepter(QFileDialog* d) { static_cast<QDialog*>(d)->accept(); }

void taper(QFileDialog* d, const QString& nom)
{
    auto* e = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(e);
    e->selectAll();
    QTest::keyClicks(e, nom);
}

// A test picture: one plain colour per month block (3 columns of 209, rows of 216).
QColor couleurBloc(int colonne, int rangee) { return QColor(40 + 70 * colonne, 30 + 50 * rangee, 200 - 40 * rangee); }

} // namespace

class TestSortie : public QObject {
    Q_OBJECT
private slots:
    void fichierEtPressePapier()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        // A zone changes nothing: the file and the clipboard hold the whole image.
        choisirZone(f.etat());
        bool occupe = false;
        sauverAvec(f, [&](QFileDialog* d) {
            occupe = f.FeuRouge->isVisibleTo(&f) && !f.FeuVert->isVisibleTo(&f) && !f.SauveFichier->isEnabled()
                     && !f.SauvePPapier->isEnabled() && !f.Imprimer->isEnabled() && !f.Fabriquer->isEnabled();
            QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint); // not hidden by the preview
            QCOMPARE(d->selectedFiles().value(0), QDir(p.dossier.path()).filePath("Calendrier 2027.bmp"));
            // A name typed without extension.
            taper(d, QStringLiteral("mon calendrier"));
            QTest::keyClick(d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
            if (d->isVisible()) // the completer's list took the key
                accepter(d);
        });
        QVERIFY(occupe && etatPret(f));
        QCOMPARE(contenu(p.dossier.path()), QStringList{"mon calendrier.bmp"});
        QCOMPARE(rvb(QImage(p.dossier.filePath("mon calendrier.bmp"), "BMP")), rvb(f.Pict1->image()));

        QApplication::clipboard()->setText(QStringLiteral("texte d'avant"));
        f.SauvePPapier_Click();
        const QMimeData* m = QApplication::clipboard()->mimeData();
        QVERIFY(m && !m->hasText() && etatPret(f) && rvb(QApplication::clipboard()->image()) == rvb(f.Pict1->image()));
    }

    // The type chosen in the list gives the extension of a name typed without
    // one of the four; a typed one wins. The documents take the zone.
    void typesDeFichier_data()
    {
        QTest::addColumn<int>("type"); // place in the list of types
        QTest::addColumn<QString>("tape"); // empty: the proposed name
        QTest::addColumn<bool>("zone");
        QTest::addColumn<QString>("ecrit");
        QTest::addColumn<QByteArray>("attendu"); // bytes the file holds
        QTest::newRow("PNG, nom proposé") << 1 << QString() << false << "Calendrier 2027.png" << QByteArray("\x89PNG");
        QTest::newRow("PDF, sans extension") << 2 << "cal" << false << "cal.pdf" << QByteArray("%PDF");
        QTest::newRow("SVG, extension tapée") << 3 << "dessin.PNG" << false << "dessin.PNG" << QByteArray("\x89PNG");
        QTest::newRow("BMP, autre extension") << 0 << "x.txt" << false << "x.txt.bmp" << QByteArray("BM");
        QTest::newRow("PDF d'une zone") << 2 << "z" << true << "z.pdf" << QByteArray("/MediaBox [0 0 283.000000 160.000000]");
        QTest::newRow("SVG d'une zone") << 3 << "z" << true << "z.svg"
                                        << QByteArray("width=\"90mm\" height=\"46.5mm\"\n viewBox=\"0 0 420 222\"");
    }

    void typesDeFichier()
    {
        QFETCH(int, type);
        QFETCH(QString, tape);
        QFETCH(bool, zone);
        QFETCH(QString, ecrit);
        QFETCH(QByteArray, attendu);
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        if (zone) {
            choisirZone(f.etat());
            f.etat().LargeurTwips = 5103, f.etat().HauteurTwips = 2637;
        }
        QStringList types;
        sauverAvec(f, [&](QFileDialog* d) {
            types = d->nameFilters();
            d->selectNameFilter(types.value(type));
            if (!tape.isEmpty())
                taper(d, tape);
            accepter(d);
        });
        QCOMPARE(types, QStringList({"Image (*.bmp)", "Image PNG (*.png)", "Document PDF (*.pdf)", "Image SVG (*.svg)"}));
        QCOMPARE(contenu(p.dossier.path()), QStringList{ecrit});
        QFile fichier(p.dossier.filePath(ecrit));
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        const QByteArray octets = fichier.readAll();
        QVERIFY2(octets.contains(attendu), octets.mid(std::max<qsizetype>(0, octets.indexOf("/MediaBox")), 200).constData());
    }

    void annulerRefuserRemplacer()
    {
        Programme p;
        Ardemo& f = p.f();
        // Cancelled after typing a name; the next save proposes the default name again.
        const QString parDefaut = QStringLiteral("Calendrier %1.bmp").arg(f.etat().AnChoisi.c_str());
        for (int fois = 0; fois < 2; ++fois)
            sauverAvec(f, [&](QFileDialog* d) {
                QCOMPARE(QFileInfo(d->selectedFiles().value(0)).fileName(), parDefaut);
                taper(d, QStringLiteral("autre"));
                d->reject();
            });
        QVERIFY(contenu(p.dossier.path()).isEmpty() && etatPret(f));

        // The folder disappears between the dialog and the writing: the failure is said.
        QString echec;
        QVERIFY(QDir(p.dossier.path()).mkdir("sous"));
        sauverAvec(f, [&](QFileDialog* d) {
            taper(d, QStringLiteral("sous/essai.bmp"));
            accepter(d);
            QDir(p.dossier.filePath("sous")).removeRecursively();
            auProchainDialogue<QMessageBox>([&](QMessageBox* m) { echec = m->text(), m->accept(); });
        });
        QVERIFY(echec.contains(QStringLiteral("n'a pas pu être enregistrée")) && contenu(p.dossier.path()).isEmpty());

        // An existing file is replaced only once confirmed.
        const QString chemin = p.dossier.filePath(parDefaut);
        std::ofstream(QFile::encodeName(chemin).toStdString()) << "ancien";
        sauverAvec(f, [&](QFileDialog* d) {
            repondre(QMessageBox::No);
            accepter(d);
            QVERIFY(d->isVisible()); // refused: still asking
            QCOMPARE(QFileInfo(chemin).size(), 6);
            repondre(QMessageBox::Yes);
            accepter(d);
        });
        QVERIFY(rvb(QImage(chemin, "BMP")) == rvb(f.Pict1->image()) && etatPret(f));
    }

    void apercuAvantToutCalendrier()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.Apercu_Click(); // the main window is not on the screen yet: nothing opens
        QVERIFY(!f.apercuForm && !f.etat().ApercuOuvert);
        f.show(); // the first build waits for the event loop: a plain picture inside the outline
        f.Apercu_Click();
        QVERIFY(!f.etat().CalendrierFait);
        QVERIFY(f.etat().ApercuOuvert);
        const QImage img = enfant<BoiteImage>(f.apercuForm, "Pict2")->image();
        QImage uni(338, 479, img.format());
        uni.fill(img.pixel(170, 240));
        QCOMPARE(img.copy(1, 1, 338, 479), uni);
    }

    void apercuDUneImageEtDUneZone()
    {
        Programme p;
        Ardemo& f = p.f();
        const auto pict2 = [&] { return enfant<BoiteImage>(f.apercuForm, "Pict2"); };
        QImage motif(628, 866, QImage::Format_RGB32);
        for (int y = 0; y < 866; ++y)
            for (int x = 0; x < 628; ++x)
                motif.setPixelColor(x, y, couleurBloc(std::min(x / 209, 2), std::min(y / 216, 3)));
        f.Pict1->setImage(motif);
        // 90 mm without a zone: 340 x 481 pixels.
        f.Apercu->click();
        QVERIFY(pict2()->isVisible());
        QCOMPARE(pict2()->geometry(), QRect(0, 0, 340, 481));
        // The whole image scaled, the outline in the grid colour on the outer pixels.
        QImage img = pict2()->image();
        QCOMPARE(img.pixelColor(56, 60), couleurBloc(0, 0));
        QCOMPARE(img.pixelColor(283, 420), couleurBloc(2, 3));
        for (QPoint pt : {QPoint(0, 0), QPoint(170, 0), QPoint(339, 240), QPoint(170, 480), QPoint(0, 240)})
            QCOMPARE(img.pixelColor(pt), VersQColor(f.etat().Couleurs.CoulGrille));
        f.FermerApercu();
        mdlVorn& v = f.etat();
        choisirZone(v);
        f.Apercu_Click();
        // 5103 x 216 / 418 = 2636.96 twips high: 176 pixels.
        QCOMPARE(int(v.HauteurTwips), 2637);
        QCOMPARE(f.Hauteur->text(), QStringLiteral("47"));
        img = pict2()->image();
        QCOMPARE(img.size(), QSize(340, 176));
        // January on the left half, February on the right, nothing of the third column.
        for (int y = 4; y < 165; y += 8)
            QVERIFY(img.pixelColor(80, y) == couleurBloc(0, 0) && img.pixelColor(260, y) == couleurBloc(1, 0));
        for (int x = 1; x < 339; ++x)
            QVERIFY(img.pixelColor(x, 88) != couleurBloc(2, 0));
        // A zone partly outside the image: the part outside stays black.
        f.FermerApercu();
        choisirZone(v, 418);
        f.Apercu_Click();
        img = pict2()->image();
        QCOMPARE(img.pixelColor(50, 80), couleurBloc(2, 0));
        QCOMPARE(img.pixelColor(300, 80), QColor(Qt::black));
    }

    void basculeEtFermetures()
    {
        Programme p;
        Ardemo& f = p.f();
        const auto ferme = [&] { return !f.etat().ApercuOuvert && !f.apercuForm; };
        // The button toggles, and the window goes away; its own button; the title bar's close box.
        f.Apercu_Click();
        QPointer<ApercuForm> premier = f.apercuForm;
        f.Apercu_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(ferme() && !premier);
        f.Apercu_Click();
        enfant<vkCommand>(f.apercuForm, "FermeApercu")->click();
        QVERIFY(ferme());
        f.Apercu_Click();
        QVERIFY(f.apercuForm->close() && ferme());
        f.Apercu_Click(); // a build closes it before filling the months
        bool fermePendant = false;
        p.horloge.pendantAttente = [&] { fermePendant = ferme(); };
        f.Fabriquer_Click();
        p.horloge.pendantAttente = nullptr;
        QVERIFY(fermePendant && ferme());
        // A size change reopens it at the new size; a refused size leaves it closed.
        f.Apercu_Click();
        QPointer<ApercuForm> avant = f.apercuForm;
        f.Largeur->setText(QStringLiteral("100"));
        QVERIFY(f.etat().ApercuOuvert && f.apercuForm && f.apercuForm != avant.data());
        QCOMPARE(f.Hauteur->text(), QStringLiteral("142"));
        QCOMPARE(enfant<BoiteImage>(f.apercuForm, "Pict2")->size(), QSize(378, 535));
        f.Largeur->setText(QStringLiteral("25"));
        QVERIFY(ferme());
        // Enter in a refused width box toggles the preview without touching the height.
        QTest::keyClick(f.Largeur, Qt::Key_Return);
        QCOMPARE(f.Hauteur->text(), QStringLiteral("142"));
        QCOMPARE(enfant<BoiteImage>(f.apercuForm, "Pict2")->size(), QSize(378, 535));
        f.FermerApercu();
        f.FermerApercu(); // twice: nothing more
        QVERIFY(ferme());
    }
};

ARDEMO_GUI_MAIN(TestSortie)
#include "test_sortie.moc"
