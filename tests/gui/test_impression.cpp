// The print dialog and the printed page, read back with poppler's tools (layout arithmetic: core tests).
#include <QBitmap>
#include <QMessageBox>
#include <QPrinter>
#include <QRadioButton>

#include "app/Reglages.h"
#include "main_gui.h"
#include "output/ui/DialogueMiseEnPage.h"
#include "output/ui/ServeurImpression.h"
#include "output/ui/VornPrint.h"
#include "Outils.h"
#include "PiloteDialogues.h"

Q_DECLARE_METATYPE(ConstatImpression)

namespace {

// A printer writing a PDF file of A4 paper; `marge`: what it cannot print on around the page, in points.
ImprimanteDisponible pdf(const QString& fichier, double marge = 0)
{
    return {fichier, [fichier, m = QMarginsF(marge, marge, marge, marge)](QPrinter& p) {
                p.setOutputFormat(QPrinter::PdfFormat), p.setOutputFileName(fichier);
                p.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, m, QPageLayout::Point, m));
            }};
}

// Clicks "Imprimer" with these printers and runs `pendant` on the open dialog; false when it never showed.
bool imprimer(Ardemo& f, const QList<ImprimanteDisponible>& liste, const std::function<void(VornPrint&)>& pendant)
{
    VornPrint::sourceImprimantes = [liste] { return liste; };
    bool vu = false;
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<VornPrint*>(QApplication::activeModalWidget()))
            vu = true, pendant(*d), d->isVisible() ? d->done(QDialog::Rejected) : void();
    });
    C(f).Imprimer->click();
    return vu;
}
void bouton(VornPrint& d, const char* nom) { enfant<vkCommand>(&d, nom)->click(); }


// A print server giving the answers in turn: the first to the sending, the next ones to each reading again.
struct ServeurFactice : ServeurImpression {
    QList<ConstatImpression> reponses;
    QString nom;
    QByteArray pdf;
    Options options;
    ConstatImpression envoyer(const QString& i, const QString&, const QByteArray& p, const Options& o) override
    {
        return nom = i, pdf = p, options = o, reponses.takeFirst();
    }
    void relire(const QString&, ConstatImpression& c) override { c = reponses.isEmpty() ? c : reponses.takeFirst(); }
};

QAbstractButton* element(VornPrint& d, const char* tableau, int i) // "ChoixPrint(2)"
{
    return enfant<QAbstractButton>(&d, QStringLiteral("%1(%2)").arg(QString::fromUtf8(tableau)).arg(i).toUtf8().constData());
}

} // namespace

class TestImpression : public QObject {
    Q_OBJECT

    QTemporaryDir m_sorties;
    QString sortie(const QString& nom) const { return m_sorties.filePath(nom); }

private slots:
    // Seven printers, six buttons: the one clicked is used. No quality set: high; the one clicked is kept and read
    // back at each printer choice, no quality: the printer's own. Escape cancels: it prints nothing,
    // keeps the settings. No printer: said in the list's place, "Valider" disabled; none clicked: "Valider" prints
    // nothing; the close box after a click prints; a page that cannot be sent is reported.
    void dialogue()
    {
        Programme p;
        QList<ImprimanteDisponible> sept;
        for (int i = 0; i < 7; ++i)
            sept.append(pdf(sortie(QStringLiteral("%1.pdf").arg(i))));
        p.f().show(), C(p.f()).Apercu->click();
        QVERIFY(p.f().apercuOuvert());
        QVERIFY(imprimer(p.f(), sept, [&](VornPrint& d) {
            QVERIFY(!p.f().apercuOuvert()); // the preview was closed first
            element(d, "ChoixPrint", 2)->click();
            VERIFIER(d.imprimante()->outputFileName() == sortie("2.pdf"), element(d, "Qualité", 4)->isChecked());
            QVERIFY(d.imprimante()->resolution() == 1200 && FichierReglages(p.etat.FichierIni()).LireQualite().empty());
            element(d, "Qualité", 3)->click(), element(d, "ChoixPrint", 5)->click();
            QVERIFY(d.imprimante()->resolution() == 600 && d.imprimante()->outputFileName() == sortie("5.pdf"));
            FichierReglages(p.etat.FichierIni()).EcrireQualite("-2"), element(d, "ChoixPrint", 0)->click(); // a failed write fails the next check
            VERIFIER(element(d, "Qualité", 2)->isChecked(), d.imprimante()->resolution() == 300);
            FichierReglages(p.etat.FichierIni()).EcrireQualite("n'importe"), element(d, "ChoixPrint", 1)->click();
            QCOMPARE(d.imprimante()->resolution(), 1200);
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        }));
        VERIFIER(QDir(m_sorties.path()).entryList({"?.pdf"}).isEmpty(), FichierReglages(p.etat.FichierIni()).LireQualite() == "n'importe");
        for (const auto& liste : {QList<ImprimanteDisponible>(), sept}) // "Valider" waits for a printer
            VERIFIER(imprimer(p.f(), liste, [&](VornPrint& d) {
                const QLabel* aucune = enfant<QLabel>(&d, "AucuneImprimante");
                VERIFIER(aucune->isVisibleTo(&d) == liste.isEmpty(), aucune->text().contains("Aucune imprimante"),
                         !enfant<vkCommand>(&d, "ValidePrint")->isEnabled());
                bouton(d, "ValidePrint");
                QVERIFY(d.isVisible());
            }), !QFile::exists(sortie("0.pdf")));
        VERIFIER(imprimer(p.f(), sept, [](VornPrint& d) { element(d, "ChoixPrint", 0)->click(), d.close(); }), QFile::exists(sortie("0.pdf")));
        // A page that cannot be sent is reported, naming the printer.
        QString message;
        auProchainDialogue<QMessageBox>([&](QMessageBox* b) { message = b->text(), b->accept(); });
        QVERIFY(imprimer(p.f(), {pdf(sortie("absent/page.pdf"))}, [](VornPrint& d) {
            element(d, "ChoixPrint", 0)->click(), bouton(d, "ValidePrint");
        }));
        VERIFIER(message.contains("n'a pas pu être envoyée"), message.contains(sortie("absent/page.pdf")));
    }

    // The page goes to the print server as one A4 PDF page with Qt's job options, not where the QPrinter writes; what
    // the server answers then, or while it reads the job again, is said once with the printer's name and its words.
    void serveur_data()
    {
        QTest::addColumn<QList<ConstatImpression>>("reponses");
        QTest::addColumn<QString>("attendu"); // in the message; empty: none
        QTest::addColumn<bool>("page"); // an A4 landscape school-year page chosen from the dialog
        const ConstatImpression enAttente{0, "", 3, "none", "", 7, 3};
        QTest::newRow("file qui refuse") << QList<ConstatImpression>{{0x0506, "Not accepting jobs.", 3, "none", "Bac vide", 0, 0}}
                                         << "refuse les travaux d'impression" << false;
        QTest::newRow("ordonnanceur arrêté") << QList<ConstatImpression>{{0x0502, "Bad file descriptor", 0, "", "", 0, 0}} << "ne répond pas" << false;
        QTest::newRow("annulée ensuite") << QList<ConstatImpression>{enAttente, {0, "", 4, "none", "", 7, 5},
                                                                     {0, "", 3, "none", "Filter failed", 7, 7}}
                                         << "a annulé la page" << false;
        QTest::newRow("en erreur ensuite") << QList<ConstatImpression>{enAttente, {0, "", 5, "media-jam-error", "", 7, 3}}
                                           << "est en erreur" << false;
        QTest::newRow("imprimée") << QList<ConstatImpression>{enAttente, {0, "", 4, "none", "", 7, 5},
                                                              {0, "", 3, "none", "", 7, 9}} << "" << false;
        QTest::newRow("page A4 paysage imprimée") << QList<ConstatImpression>{enAttente, {0, "", 3, "none", "", 7, 9}} << "" << true;
    }
    void serveur()
    {
        QFETCH(QList<ConstatImpression>, reponses);
        QFETCH(QString, attendu);
        QFETCH(bool, page);
        auto serveur = std::make_shared<ServeurFactice>();
        serveur->reponses = reponses;
        ServeurImpression::source = [serveur] { return serveur; };
        ServeurImpression::intervalleSuivi = 0;
        Programme p;
        ImprimanteDisponible bureau = pdf(sortie("bureau.pdf"));
        bureau.nom = "Bureau 2", bureau.parServeur = true;
        QStringList messages;
        auProchainDialogue<QMessageBox>([&](QMessageBox* b) { messages << b->text(), b->accept(); });
        if (page)
            p.annee("2025-2026");
        QVERIFY(imprimer(p.f(), {bureau}, [page](VornPrint& d) {
            if (page) {
                auProchainDialogue<DialogueMiseEnPage>([](DialogueMiseEnPage* m) {
                    enfant<QComboBox>(m, "Orientation")->setCurrentIndex(1), enfant<QAbstractButton>(m, "ValiderPage")->click();
                });
                bouton(d, "MiseEnPageImpr");
            }
            element(d, "ChoixPrint", 0)->click(), bouton(d, "ValidePrint");
        }));
        QTRY_VERIFY(serveur->reponses.isEmpty() && QApplication::activeModalWidget() == nullptr);
        QTest::qWait(50); // a message that should not come
        QFile envoye(sortie("envoye.pdf"));
        VERIFIER(envoye.open(QIODevice::WriteOnly) && envoye.write(serveur->pdf) == serveur->pdf.size(), (envoye.close(), true),
                 serveur->nom == "Bureau 2", !QFile::exists(sortie("bureau.pdf")),
                 lancer("pdfinfo", {envoye.fileName()}).contains(QRegularExpression(page ? "(?s)Pages:\\s+1\\n.*Page size:\\s+842 x 595 pts"
                                                                                        : "(?s)Pages:\\s+1\\n.*Page size:\\s+595 x 842 pts")),
                 serveur->options.contains({"media", "A4"}) && serveur->options.contains({"sides", "one-sided"}),
                 serveur->options.contains({"landscape", ""}) == page,
                 !page || lancer("pdftotext", {envoye.fileName(), "-"}).contains("Année scolaire 2025-2026"));
        QCOMPARE(messages.size(), attendu.isEmpty() ? 0 : 1);
        VERIFIER(attendu.isEmpty() || messages[0].contains(attendu), attendu.isEmpty() || messages[0].contains("Bureau 2"));
        ServeurImpression::source = nullptr;
    }

    // The place chosen is offered again on the same printer for the same size, kept in Pelvado.ini in a section of
    // its own; another printer or another size starts at home.
    void positionRetenue()
    {
        Programme p;
        const QList<ImprimanteDisponible> deux{pdf(sortie("p1.pdf")), pdf(sortie("p2.pdf"))};
        MiseEnPage attendue;
        QVERIFY(imprimer(p.f(), deux, [&](VornPrint& d) {
            element(d, "ChoixPrint", 0)->click(), element(d, "FlècheM", 8)->click();
            attendue = d.miseEnPage(), bouton(d, "ValidePrint");
        }));
        QFile ini(QString::fromStdString(p.etat.FichierIni()));
        VERIFIER(attendue.ValeurH > 5, attendue.ValeurV > 5, ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains(QStringLiteral("[Choix]\r\nPosition %1 %2x%3=%4,%5\r\n").arg(sortie("p1.pdf"))
                                       .arg(p.etat.LargeurTwips).arg(p.etat.HauteurTwips).arg(attendue.ValeurH)
                                       .arg(attendue.ValeurV).toUtf8()));
        for (const auto& [largeur, choisie, h, v] : {std::tuple{p.etat.LargeurTwips, 0, attendue.ValeurH, attendue.ValeurV},
                                                    {p.etat.LargeurTwips, 1, 5, 5}, {int16_t(4000), 0, 5, 5}}) {
            p.etat.LargeurTwips = largeur;
            QVERIFY(imprimer(p.f(), deux, [&](VornPrint& d) {
                element(d, "ChoixPrint", choisie)->click();
                VERIFIER(d.miseEnPage().ValeurH == h, d.miseEnPage().ValeurV == v);
            }));
        }
    }

    // By keyboard, in the order the window reads: the printers (the arrows move the choice), the place on the page
    // (arrows, bars), the quality (entered at the one chosen), the two buttons; each control shows a plain mark while
    // it has the keyboard; Space works the arrows and the quality.
    void clavier()
    {
        Programme p;
        QVERIFY(imprimer(p.f(), {pdf(sortie("a.pdf")), pdf(sortie("b.pdf"))}, [&](VornPrint& d) {
            const auto touche = [](Qt::Key t) {
                return QTest::keyClick(QApplication::focusWidget(), t), QApplication::focusWidget()->objectName();
            };
            const auto choisie = [&] { return d.imprimante()->outputFileName(); };
            QVERIFY(activer(&d));
            VERIFIER(touche(Qt::Key_Down) == "ChoixPrint(1)", choisie() == sortie("b.pdf"),
                     touche(Qt::Key_Up) == "ChoixPrint(0)", touche(Qt::Key_Up) == "ChoixPrint(0)",
                     choisie() == sortie("a.pdf"));
            QStringList ordre, attendu = QStringLiteral("ChoixPrint(1) FlècheM(0) FlècheM(1) FlècheM(2) FlècheM(3) "
                                                       "FlècheM(4) FlècheM(5) FlècheM(6) FlècheM(7) FlècheM(8) HScroll1 "
                                                       "VScroll1 Qualité(4) AnnulPrint ValidePrint MiseEnPageImpr ChoixPrint(0)")
                                             .split(' ');
            while (ordre.size() < attendu.size()) {
                ordre << touche(Qt::Key_Tab);
                QVERIFY2(marqueVisible(QApplication::focusWidget(), enfant<QWidget>(&d, "PictPage")),
                         qPrintable(ordre.last()));
            }
            QCOMPARE(ordre, attendu);
            MiseEnPage place = d.miseEnPage();
            AppliquerFleche(place, 8);
            element(d, "FlècheM", 8)->setFocus(), touche(Qt::Key_Space);
            VERIFIER(d.miseEnPage().ValeurH == place.ValeurH, d.miseEnPage().ValeurV == place.ValeurV);
            enfant<QWidget>(&d, "HScroll1")->setFocus();
            touche(Qt::Key_Left), touche(Qt::Key_Left), touche(Qt::Key_Right);
            element(d, "Qualité", 2)->setFocus(), touche(Qt::Key_Space);
            VERIFIER(d.miseEnPage().ValeurH == place.ValeurH - 5, element(d, "Qualité", 2)->isChecked(),
                     FichierReglages(p.etat.FichierIni()).LireQualite() == "-2");
        }));
    }

    // The arrow clicked places the print where the page layout puts it on that printer's page, margins included:
    // one page of its paper, drawn sharp (no raster image, digits as text), nothing drawn into the calendar image.
    void page_data()
    {
        QTest::addColumn<QSize>("taille"); // twips
        QTest::addColumn<int>("fleche");
        QTest::addColumn<double>("marge"); // points the printer cannot print on
        QTest::addColumn<bool>("zone"); // one month block, second column, second row, outlined in red
        QTest::newRow("90 x 127 mm, milieu") << QSize(5103, 7201) << 4 << 0.0 << false;
        QTest::newRow("90 x 127 mm, en bas à droite") << QSize(5103, 7201) << 8 << 0.0 << false;
        QTest::newRow("180 x 250 mm, en haut à droite") << QSize(10206, 14175) << 2 << 0.0 << false;
        QTest::newRow("marges du pilote, départ") << QSize(5103, 7201) << 0 << 18.0 << false;
        QTest::newRow("zone, en bas à gauche") << QSize(5103, 5103) << 6 << 0.0 << true;
    }

    void page()
    {
        QFETCH(QSize, taille);
        QFETCH(int, fleche);
        QFETCH(double, marge);
        QFETCH(bool, zone);
        Programme p;
        Document& v = p.etat;
        v.LargeurTwips = int16_t(taille.width()), v.HauteurTwips = int16_t(taille.height());
        if (zone)
            v.Couleurs.CoulGrille = 0x000000FF, v.Zone = ZoneMois{209, 216, 418, 432, 1};
        const QImage avant = C(p.f()).Pict1->image();
        const QString fichier = sortie(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        PositionPapier place{};
        QVERIFY(imprimer(p.f(), {pdf(fichier, marge)}, [&](VornPrint& d) {
            element(d, "ChoixPrint", 0)->click();
            MiseEnPage attendue = d.miseEnPage();
            AppliquerFleche(attendue, fleche);
            place = PositionSurPapier(attendue, d.pageImprimante());
            element(d, "FlècheM", fleche)->click(), bouton(d, "ValidePrint");
        }));
        const QImage attendu = zone ? C(p.f()).PictSel->image() : avant;
        QCOMPARE(C(p.f()).Pict1->image(), avant);
        QVERIFY(!zone || attendu.copy(1, 1, 206, 216) == avant.copy(210, 217, 206, 216));
        QVERIFY(lancer("pdfinfo", {fichier}).contains(QRegularExpression("(?s)Pages:\\s+1\\n.*Page size:\\s+595 x 842 pts")));
        QCOMPARE(lancer("pdfimages", {"-list", fichier}).count('\n'), 2);
        QVERIFY(lancer("pdffonts", {fichier}).contains("LiberationSans-Bold"));
        lancer("pdftoppm", {"-r", "150", "-png", "-singlefile", fichier, fichier});
        const QImage page = QImage(fichier + ".png").convertToFormat(QImage::Format_RGB32);
        const QRect b = QRegion(QBitmap::fromImage(page.createMaskFromColor(qRgb(255, 255, 255)))).boundingRect(); // not white
        const QRectF vu(b), r = QTransform::fromScale(150 / 1440.0, 150 / 1440.0).mapRect(QRectF(QPointF(place.x, place.y), taille));
        for (const double ecart : {vu.left() - r.left(), vu.top() - r.top(), vu.right() - r.right(), vu.bottom() - r.bottom()})
            QVERIFY2(std::abs(ecart) <= 3, qPrintable(QStringLiteral("%1 pixels de la place attendue").arg(ecart))); // 0.5 mm
        QVERIFY(fleche != 4 || (2 * vu.center() - QRectF(page.rect()).bottomRight()).manhattanLength() < 60); // centred
        // Down to 16 x 16 averages, a line or a digit a pixel away changes little, another picture or a shifted one much.
        const auto moyennes = [](const QImage& i) {
            return i.convertToFormat(QImage::Format_RGB32).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        };
        const QImage imprime = moyennes(page.copy(b)), dessin = moyennes(attendu);
        for (qsizetype k = 0; k < dessin.sizeInBytes(); ++k)
            QVERIFY(std::abs(imprime.constBits()[k] - dessin.constBits()[k]) <= 15);
        const auto rouge = [&](int x, int y) { return page.pixelColor(b.left() + x, b.top() + y) == Qt::red; };
        for (int i = 10; zone && i < b.height() - 10; i += 17) // the outline, drawn sharp
            VERIFIER(rouge(1, i), rouge(i * b.width() / b.height(), 1));
    }
};

ARDEMO_GUI_MAIN(TestImpression)
#include "test_impression.moc"
