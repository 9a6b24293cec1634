// The image handed out: the .bmp file through its dialog, the clipboard, and the preview window.
#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/ui/BoiteImage.h"
#include "app/ui/Couleur.h"
#include "app/ui/Styles.h"
#include "main_gui.h"
#include "output/Bmp.h"
#include "output/ui/ApercuForm.h"
#include "output/ui/ImageFichier.h"
#include "Outils.h"

namespace {

bool etatPret(Ardemo& f)
{
    return f.FeuVert->isVisibleTo(&f) && !f.FeuRouge->isVisibleTo(&f) && f.Fabriquer->isEnabled()
           && f.SauveFichier->isEnabled() && f.SauvePPapier->isEnabled() && f.Apercu->isEnabled()
           && f.Imprimer->isEnabled() && !QApplication::overrideCursor();
}

bool etatOccupe(Ardemo& f)
{
    return f.FeuRouge->isVisibleTo(&f) && !f.FeuVert->isVisibleTo(&f) && !f.SauveFichier->isEnabled()
           && !f.SauvePPapier->isEnabled() && !f.Imprimer->isEnabled() && !f.Fabriquer->isEnabled();
}

uint32_t lu16(const QByteArray& d, int pos) { return uint8_t(d[pos]) | uint32_t(uint8_t(d[pos + 1])) << 8; }
uint32_t lu32(const QByteArray& d, int pos) { return lu16(d, pos) | lu16(d, pos + 2) << 16; }

// The file against the image: every header field, then every byte of the
// pixel rows, then two readers.
void verifierBmp(const QString& chemin, const QImage& attendue)
{
    QFile f(chemin);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(chemin));
    const QByteArray d = f.readAll();
    const int l = attendue.width(), h = attendue.height();
    const int ligne = (l * 3 + 3) / 4 * 4;
    QCOMPARE(d.size(), 54 + ligne * h);
    QCOMPARE(d.left(2), QByteArray("BM"));
    QCOMPARE(lu32(d, 2), uint32_t(d.size()));
    QCOMPARE(lu32(d, 6), 0u); // both reserved words
    QCOMPARE(lu32(d, 10), 54u);
    QCOMPARE(lu32(d, 14), 40u);
    QCOMPARE(lu32(d, 18), uint32_t(l));
    QCOMPARE(lu32(d, 22), uint32_t(h)); // positive: bottom-up
    QCOMPARE(lu16(d, 26), 1u);
    QCOMPARE(lu16(d, 28), 24u);
    QCOMPARE(lu32(d, 30), 0u);
    QCOMPARE(lu32(d, 34), uint32_t(ligne * h));
    QCOMPARE(lu32(d, 46), 0u);
    QCOMPARE(lu32(d, 50), 0u);
    for (int r = 0; r < h; ++r) {
        const int y = h - 1 - r;
        const char* p = d.constData() + 54 + r * ligne;
        for (int x = 0; x < l; ++x) {
            const QRgb c = attendue.pixel(x, y);
            if (uint8_t(p[3 * x]) != qBlue(c) || uint8_t(p[3 * x + 1]) != qGreen(c) || uint8_t(p[3 * x + 2]) != qRed(c))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
        for (int k = 3 * l; k < ligne; ++k)
            QCOMPARE(p[k], '\0');
    }
    QImage relue(chemin);
    QCOMPARE(relue.convertToFormat(QImage::Format_RGB32), attendue.convertToFormat(QImage::Format_RGB32));
    int rl = 0, rh = 0;
    std::vector<uint32_t> pixels;
    QVERIFY(LireBmp24(std::string_view(d.constData(), size_t(d.size())), rl, rh, pixels));
    QCOMPARE(QSize(rl, rh), attendue.size());
    const QImage rgb = attendue.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        QVERIFY(std::equal(pixels.begin() + y * l, pixels.begin() + (y + 1) * l,
                           reinterpret_cast<const uint32_t*>(rgb.constScanLine(y))));
}

QStringList contenu(const QString& dossier)
{
    return QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                   QDir::Name);
}

// Runs `action` on the next modal window while `appel` runs.
void pendantModal(const std::function<void(QWidget*)>& action, const std::function<void()>& appel)
{
    bool vu = false;
    QTimer::singleShot(0, [&] {
        vu = true;
        QWidget* w = QApplication::activeModalWidget();
        action(w);
        // A check that failed inside `action` must not leave the dialog waiting.
        if (QTest::currentTestFailed())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
                d->reject();
    });
    appel();
    QVERIFY(vu);
}

// Answers the next message box with one of its buttons; returns its text through `texte`.
void repondre(QMessageBox::StandardButton bouton, QString* texte = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(m);
        if (texte)
            *texte = m->text();
        m->button(bouton)->click();
    });
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
QImage motifBlocs()
{
    QImage img(628, 866, QImage::Format_RGB32);
    for (int y = 0; y < 866; ++y)
        for (int x = 0; x < 628; ++x)
            img.setPixelColor(x, y, couleurBloc(std::min(x / 209, 2), std::min(y / 216, 3)));
    return img;
}

} // namespace

class TestSortie : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::clipboard()->clear(); }

    void fichierOctetParOctet()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        const QString chemin = p.dossier.filePath("direct.bmp");
        QVERIFY(EcrireImageBmp(ImageDeBoite(*f.Pict1), chemin));
        verifierBmp(chemin, f.Pict1->image());
        // A width whose rows need padding.
        QImage petite(5, 3, QImage::Format_RGB32);
        for (int i = 0; i < 15; ++i)
            petite.setPixel(i % 5, i / 5, qRgb(i * 17, 255 - i * 9, i * 3));
        QVERIFY(EcrireImageBmp(petite, p.dossier.filePath("petite.bmp")));
        verifierBmp(p.dossier.filePath("petite.bmp"), petite);
        // Nothing to write: no file.
        QVERIFY(!EcrireImageBmp(QImage(), p.dossier.filePath("vide.bmp")));
        QVERIFY(!QFile::exists(p.dossier.filePath("vide.bmp")));
    }

    void dialogueEtNomTapeSansExtension()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        // A zone changes nothing: the file holds the whole image.
        f.etat().ZoneChoisie = Vrai;
        f.etat().ZoneX1 = 209, f.etat().ZoneY1 = 0, f.etat().ZoneX2 = 418, f.etat().ZoneY2 = 216;
        f.etat().RatioZone = 216.0 / 209;
        bool occupe = false;
        pendantModal(
            [&](QWidget* w) {
                auto* d = qobject_cast<QFileDialog*>(w);
                QVERIFY(d);
                occupe = etatOccupe(f);
                QCOMPARE(d->windowTitle(), QStringLiteral("Sauver l'image"));
                QCOMPARE(d->nameFilters(), QStringList{QStringLiteral("Image (*.bmp)")});
                QCOMPARE(d->defaultSuffix(), QStringLiteral("bmp"));
                QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
                QVERIFY(d->testOption(QFileDialog::DontUseNativeDialog));
                QVERIFY(!d->testOption(QFileDialog::DontConfirmOverwrite));
                QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint); // not hidden by the preview
                QCOMPARE(QFileInfo(d->directory().absolutePath()), QFileInfo(p.dossier.path()));
                QCOMPARE(d->selectedFiles().value(0), QDir(p.dossier.path()).filePath("Calendrier 2027.bmp"));
                taper(d, QStringLiteral("mon calendrier"));
                QTest::keyClick(d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
                if (d->isVisible()) // the completer's list took the key
                    accepter(d);
            },
            [&] { f.SauveFichier_Click(); });
        QVERIFY(occupe);
        QVERIFY(etatPret(f));
        verifierBmp(p.dossier.filePath("mon calendrier.bmp"), f.Pict1->image());
        QVERIFY(!QFile::exists(p.dossier.filePath("mon calendrier")));
    }

    void annulerNEcritRien()
    {
        Programme p;
        Ardemo& f = p.f();
        const QStringList avant = contenu(p.dossier.path());
        pendantModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); }, [&] { f.SauveFichier_Click(); });
        QCOMPARE(contenu(p.dossier.path()), avant);
        QVERIFY(etatPret(f));
        // The next save proposes the default name again, even after another name was typed.
        pendantModal(
            [&](QWidget* w) {
                auto* d = static_cast<QFileDialog*>(w);
                QCOMPARE(QFileInfo(d->selectedFiles().value(0)).fileName(),
                         QStringLiteral("Calendrier %1.bmp").arg(QString::fromStdString(f.etat().AnChoisi)));
                taper(d, QStringLiteral("autre"));
                d->reject();
            },
            [&] { f.SauveFichier_Click(); });
        QCOMPARE(contenu(p.dossier.path()), avant);
    }

    void remplacementApresConfirmation()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        const QString chemin = p.dossier.filePath("Calendrier 2027.bmp");
        {
            QFile ancien(chemin);
            QVERIFY(ancien.open(QIODevice::WriteOnly));
            ancien.write("ancien");
        }
        pendantModal(
            [&](QWidget* w) {
                auto* d = static_cast<QFileDialog*>(w);
                repondre(QMessageBox::No);
                accepter(d);
                QVERIFY(d->isVisible()); // refused: still asking
                QFile lu(chemin);
                QVERIFY(lu.open(QIODevice::ReadOnly));
                QCOMPARE(lu.readAll(), QByteArray("ancien"));
                repondre(QMessageBox::Yes);
                accepter(d);
            },
            [&] { f.SauveFichier_Click(); });
        verifierBmp(chemin, f.Pict1->image());
        QVERIFY(etatPret(f));
    }

    void dossierInexistantOuEchecDEcriture()
    {
        Programme p;
        Ardemo& f = p.f();
        const QString dossier = p.dossier.path();
        {
            QFile bloc(p.dossier.filePath("bloc"));
            QVERIFY(bloc.open(QIODevice::WriteOnly));
            bloc.write("un fichier");
        }
        QVERIFY(QDir(dossier).mkpath("pris.bmp/dedans"));
        const QStringList avant = contenu(dossier);

        // The dialog refuses a folder that does not exist, or a file in its place.
        for (const QString& nom : {QStringLiteral("absent/essai"), QStringLiteral("bloc/essai.bmp")}) {
            QString message;
            pendantModal(
                [&](QWidget* w) {
                    auto* d = static_cast<QFileDialog*>(w);
                    taper(d, nom);
                    repondre(QMessageBox::Ok, &message);
                    accepter(d);
                    QVERIFY(d->isVisible());
                    d->reject();
                },
                [&] { f.SauveFichier_Click(); });
            QVERIFY(message.contains(QStringLiteral("n'existe pas")));
            QCOMPARE(contenu(dossier), avant);
            QVERIFY(etatPret(f));
        }

        // Writing itself fails cleanly: no file, no temporary, the old contents kept.
        const QImage image = ImageDeBoite(*f.Pict1);
        QVERIFY(!EcrireImageBmp(image, p.dossier.filePath("absent/essai.bmp")));
        QVERIFY(!EcrireImageBmp(image, p.dossier.filePath("bloc/essai.bmp")));
        QVERIFY(!EcrireImageBmp(image, p.dossier.filePath("pris.bmp"))); // a folder in the way
        QCOMPARE(contenu(dossier), avant);
        QCOMPARE(contenu(p.dossier.filePath("pris.bmp")), QStringList{"dedans"});
        QFile bloc(p.dossier.filePath("bloc"));
        QVERIFY(bloc.open(QIODevice::ReadOnly));
        QCOMPARE(bloc.readAll(), QByteArray("un fichier"));
    }

    void pressePapier()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        f.etat().ZoneChoisie = Vrai; // the whole image all the same
        f.etat().ZoneX1 = 0, f.etat().ZoneY1 = 0, f.etat().ZoneX2 = 418, f.etat().ZoneY2 = 216;
        f.etat().RatioZone = 216.0 / 418;
        QApplication::clipboard()->setText(QStringLiteral("texte d'avant"));
        f.SauvePPapier_Click();
        const QMimeData* m = QApplication::clipboard()->mimeData();
        QVERIFY(m && m->hasImage());
        QVERIFY(!m->hasText());
        const QImage copie = QApplication::clipboard()->image();
        QCOMPARE(copie.size(), QSize(628, 866));
        QCOMPARE(copie.convertToFormat(QImage::Format_RGB32), f.Pict1->image().convertToFormat(QImage::Format_RGB32));
        QVERIFY(etatPret(f));
    }

    void apercuAQuatreVingtDixMillimetres()
    {
        Programme p;
        Ardemo& f = p.f();
        f.etat().AnChoisi = "2027";
        f.Fabrication();
        QCOMPARE(f.Largeur->text(), QStringLiteral("90"));
        QVERIFY(!f.apercuForm);
        f.Apercu->click();
        QVERIFY(f.etat().ApercuOuvert);
        ApercuForm* a = f.apercuForm;
        QVERIFY(a && a->isVisible());
        QCOMPARE(int(f.etat().LargeurTwips), 5103);
        QCOMPARE(int(f.etat().HauteurTwips), 7221);
        QCOMPARE(f.Hauteur->text(), QStringLiteral("127"));
        QCOMPARE(f.Largeur->text(), QStringLiteral("90"));

        QCOMPARE(a->windowTitle(), QStringLiteral("Aperçu"));
        QVERIFY(a->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(a->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(a->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(a->palette().color(QPalette::Window), QColor(0, 128, 0));
        // 5103 x 7221 twips: 340 x 481 pixels, the picture edge to edge.
        QCOMPARE(a->Pict2->geometry(), QRect(0, 0, 340, 481));
        QCOMPARE(a->Pict2->image().size(), QSize(340, 481));
        // Fixed: inner width of the picture, the button below it.
        QCOMPARE(a->minimumSize(), a->maximumSize());
        QCOMPARE(a->size(), QSize(340, 481 + 33));
        // Button: top 7221 + 60, left (5193 \ 2) - (1695 \ 2) - 30 = 1719 twips.
        QCOMPARE(a->FermeApercu->text(), QStringLiteral("Fermer l'aperçu"));
        QCOMPARE(a->FermeApercu->geometry(), QRect(115, 485, 113, 25));
        // Beside the image: 200 twips right of the image's left edge, 510 below the window's top.
        QCOMPARE(a->pos(), f.frameGeometry().topLeft() + QPoint(f.Pict1->x() + 13, 34));

        // The outline in the grid colour on the four outer sides.
        const QImage img = a->Pict2->image();
        const QColor grille = VersQColor(f.etat().Couleurs.CoulGrille);
        for (int x = 0; x < 340; x += 13) {
            QCOMPARE(img.pixelColor(x, 0), grille);
            QCOMPARE(img.pixelColor(x, 480), grille);
        }
        for (int y = 0; y < 481; y += 13) {
            QCOMPARE(img.pixelColor(0, y), grille);
            QCOMPARE(img.pixelColor(339, y), grille);
        }
        // Inside, the calendar image reduced: close to a plain rescaling of it.
        const QImage reduite = f.Pict1->image().scaled(340, 481, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 ecart = 0;
        for (int y = 4; y < 477; ++y)
            for (int x = 4; x < 336; ++x) {
                const QRgb u = img.pixel(x, y), v = reduite.pixel(x, y);
                ecart += qAbs(qRed(u) - qRed(v)) + qAbs(qGreen(u) - qGreen(v)) + qAbs(qBlue(u) - qBlue(v));
            }
        QVERIFY2(ecart / (332 * 473) < 12, qPrintable(QString::number(ecart / (332 * 473))));
    }

    void apercuAvantToutCalendrier()
    {
        Programme p(false);
        Ardemo& f = p.f();
        f.Apercu_Click(); // the main window is not on the screen yet: nothing opens
        QVERIFY(!f.apercuForm && !f.etat().ApercuOuvert);
        f.show(); // the first build waits for the event loop
        f.Apercu_Click();
        QVERIFY(!f.etat().CalendrierFait);
        QVERIFY(f.apercuForm && f.etat().ApercuOuvert);
        const QImage img = f.apercuForm->Pict2->image();
        QCOMPARE(img.size(), QSize(340, 481));
        const QColor fond = img.pixelColor(170, 240);
        for (int y = 1; y < 480; y += 7)
            for (int x = 1; x < 339; x += 7)
                QCOMPARE(img.pixelColor(x, y), fond);
        QCOMPARE(img.pixelColor(0, 0), VersQColor(f.etat().Couleurs.CoulGrille));
        f.FermerApercu();
    }

    void largeurLueAuDemarrage()
    {
        // The width stored in the settings adjusts the height without opening the preview.
        QTemporaryDir dossier;
        {
            QFile ini(dossier.filePath("Pelvado.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Taille]\r\nLargeur=100\r\n");
        }
        mdlVorn etat;
        HorlogeTest horloge;
        Ardemo f(etat, horloge, dossier.path());
        QCOMPARE(f.Largeur->text(), QStringLiteral("100"));
        QCOMPARE(f.Hauteur->text(), QStringLiteral("142"));
        QVERIFY(!f.apercuForm && !etat.ApercuOuvert);
    }

    void apercuDUneZoneDeDeuxBlocs()
    {
        Programme p;
        Ardemo& f = p.f();
        f.Pict1->setImage(motifBlocs());
        mdlVorn& v = f.etat();
        v.ZoneChoisie = Vrai;
        v.ZoneX1 = 0, v.ZoneY1 = 0, v.ZoneX2 = 418, v.ZoneY2 = 216;
        v.RatioZone = 216.0 / 418;
        f.Apercu_Click();
        QVERIFY(f.apercuForm);
        // 5103 x 216 / 418 = 2636.96 twips high: 176 pixels.
        QCOMPARE(int(v.LargeurTwips), 5103);
        QCOMPARE(int(v.HauteurTwips), 2637);
        QCOMPARE(f.Hauteur->text(), QStringLiteral("47"));
        const QImage img = f.apercuForm->Pict2->image();
        QCOMPARE(img.size(), QSize(340, 176));
        QCOMPARE(f.apercuForm->Pict2->size(), QSize(340, 176));
        QCOMPARE(f.apercuForm->size(), QSize(340, 176 + 33));
        // January on the left half, February on the right, nothing of the third column.
        for (int y = 4; y < 165; y += 8) {
            QCOMPARE(img.pixelColor(80, y), couleurBloc(0, 0));
            QCOMPARE(img.pixelColor(260, y), couleurBloc(1, 0));
        }
        for (int y = 1; y < 175; ++y)
            for (int x = 1; x < 339; ++x)
                QVERIFY(img.pixelColor(x, y) != couleurBloc(2, 0));
        QCOMPARE(img.pixelColor(339, 100), VersQColor(v.Couleurs.CoulGrille));
        // A zone partly outside the image: the part outside stays black.
        f.FermerApercu();
        v.ZoneX1 = 418, v.ZoneX2 = 836;
        f.Apercu_Click();
        const QImage dehors = f.apercuForm->Pict2->image();
        QCOMPARE(dehors.pixelColor(50, 80), couleurBloc(2, 0));
        QCOMPARE(dehors.pixelColor(300, 80), QColor(Qt::black));
    }

    void basculeEtFermetures()
    {
        Programme p;
        Ardemo& f = p.f();
        // The button toggles.
        f.Apercu_Click();
        QPointer<ApercuForm> premier = f.apercuForm;
        QVERIFY(premier && f.etat().ApercuOuvert);
        f.Apercu_Click();
        QVERIFY(!f.etat().ApercuOuvert && !f.apercuForm);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!premier);
        // Its own button.
        f.Apercu_Click();
        f.apercuForm->FermeApercu->click();
        QVERIFY(!f.etat().ApercuOuvert && !f.apercuForm);
        // The title bar's close box.
        f.Apercu_Click();
        QVERIFY(f.apercuForm->close());
        QVERIFY(!f.etat().ApercuOuvert && !f.apercuForm);
        // A build closes it before filling the months.
        f.Apercu_Click();
        bool fermePendant = false;
        p.horloge.pendantAttente = [&] { fermePendant = !f.etat().ApercuOuvert && !f.apercuForm; };
        f.Fabriquer_Click();
        p.horloge.pendantAttente = nullptr;
        QVERIFY(fermePendant);
        QVERIFY(!f.etat().ApercuOuvert && !f.apercuForm);
        // A size change reopens it at the new size; a refused size leaves it closed.
        f.Apercu_Click();
        QPointer<ApercuForm> avant = f.apercuForm;
        f.Largeur->setText(QStringLiteral("100"));
        QVERIFY(f.etat().ApercuOuvert && f.apercuForm && f.apercuForm != avant.data());
        QCOMPARE(f.Hauteur->text(), QStringLiteral("142"));
        QCOMPARE(int(f.etat().HauteurTwips), 8023); // 5670 x 1.415 = 8023.05
        QCOMPARE(f.apercuForm->Pict2->size(), QSize(378, 535));
        f.Largeur->setText(QStringLiteral("25"));
        QVERIFY(!f.etat().ApercuOuvert && !f.apercuForm);
        // Enter in a refused width box toggles the preview without touching the height.
        QTest::keyClick(f.Largeur, Qt::Key_Return);
        QVERIFY(f.etat().ApercuOuvert);
        QCOMPARE(f.Hauteur->text(), QStringLiteral("142"));
        QCOMPARE(f.apercuForm->Pict2->size(), QSize(378, 535));
        f.FermerApercu();
        f.FermerApercu(); // twice: nothing more
        QVERIFY(!f.etat().ApercuOuvert && !f.apercuForm);
    }
};

ARDEMO_GUI_MAIN(TestSortie)
#include "test_sortie.moc"
