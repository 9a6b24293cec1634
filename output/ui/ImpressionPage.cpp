#include "output/ui/ImpressionPage.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <vector>

#include "output/ui/PeintrePage.h"
#include "output/ui/ServeurImpression.h"

PageImprimante LirePage(const QPageLayout& mise)
{
    // The printable area with exactly the driver's margins, in points.
    QPageLayout imprimable = mise;
    imprimable.setMode(QPageLayout::StandardMode);
    imprimable.setMargins(mise.minimumMargins());
    const QRectF papier = imprimable.fullRect(QPageLayout::Point);
    const QRectF zone = imprimable.paintRect(QPageLayout::Point);
    return PageDepuisPoints(papier.width(), papier.height(), zone.left() - papier.left(), zone.top() - papier.top(),
                            papier.right() - zone.right(), papier.bottom() - zone.bottom());
}

void PreparerImprimante(QPrinter& imprimante)
{
    imprimante.setFullPage(true);
    imprimante.setDocName(QStringLiteral("Ardemo"));
}

int AppliquerQualite(QPrinter& imprimante, int code)
{
    const QList<int> offertes = imprimante.supportedResolutions();
    const int dpi = ResolutionQualite(code, std::vector<int>(offertes.begin(), offertes.end()));
    if (dpi > 0)
        imprimante.setResolution(dpi);
    return dpi;
}

bool ImprimerPage(QPagedPaintDevice& appareil, const QImage& image, const MiseEnPage& mp,
                  const PageImprimante& page, int16_t L, int16_t T)
{
    if (image.isNull())
        return false;
    return ImprimerPage(
        appareil,
        [&image](QPainter& p, const QRectF& cible) {
            // Lossless: the calendar's thin lines and digits stay sharp.
            p.setRenderHint(QPainter::LosslessImageRendering);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(cible, image);
        },
        mp, page, L, T);
}

bool ImprimerPage(QPagedPaintDevice& appareil, const DessinImpression& dessin, const MiseEnPage& mp,
                  const PageImprimante& page, int16_t L, int16_t T)
{
    if (!dessin || L <= 0 || T <= 0)
        return false;
    // Where the device's (0, 0) lies on the paper: its corner in full-page
    // mode, the corner of the job's margins otherwise.
    const QPageLayout mise = appareil.pageLayout();
    const QPointF origine = mise.paintRect(QPageLayout::Point).topLeft() - mise.fullRect(QPageLayout::Point).topLeft();
    QPainter p;
    if (!p.begin(&appareil))
        return false;
    const RectAppareil r = RectImpression(mp, page, L, T, appareil.logicalDpiX(), appareil.logicalDpiY(),
                                          origine.x(), origine.y());
    dessin(p, QRectF(r.x, r.y, r.l, r.h));
    return p.end();
}

namespace {
// What Qt's own print to `imprimante` writes for the print server: a PDF with
// its page layout, resolution, colour mode and title, drawn by `imprimer`.
QByteArray PdfPour(const QPrinter& imprimante, const std::function<bool(QPrinter&)>& imprimer)
{
    const QTemporaryDir dossier;
    if (!dossier.isValid())
        return {};
    const QString fichier = dossier.filePath(QStringLiteral("page.pdf"));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(fichier);
    pdf.setPageLayout(imprimante.pageLayout());
    pdf.setFullPage(imprimante.fullPage());
    pdf.setResolution(imprimante.resolution());
    pdf.setColorMode(imprimante.colorMode());
    pdf.setDocName(imprimante.docName());
    pdf.setCreator(imprimante.creator());
    if (!imprimer(pdf))
        return {};
    QFile f(fichier);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

QByteArray PagePdf(const QPrinter& imprimante, const DessinImpression& dessin, const MiseEnPage& mp,
                   const PageImprimante& page, int16_t L, int16_t T)
{
    return PdfPour(imprimante, [&](QPrinter& pdf) { return ImprimerPage(pdf, dessin, mp, page, L, T); });
}

QList<QPair<QByteArray, QByteArray>> OptionsTravail(const QPrinter& imprimante)
{
    const QPageLayout mise = imprimante.pageLayout();
    const bool paysage = mise.orientation() == QPageLayout::Landscape;
    QByteArray cotes = "one-sided";
    switch (imprimante.duplex()) {
    case QPrinter::DuplexAuto: cotes = paysage ? "two-sided-short-edge" : "two-sided-long-edge"; break;
    case QPrinter::DuplexLongSide: cotes = "two-sided-long-edge"; break;
    case QPrinter::DuplexShortSide: cotes = "two-sided-short-edge"; break;
    default: break;
    }
    QList<QPair<QByteArray, QByteArray>> options{{"media", mise.pageSize().key().toLocal8Bit()}, {"sides", cotes}};
    if (paysage)
        options.append(qMakePair(QByteArray("landscape"), QByteArray()));
    return options;
}

std::unique_ptr<QPrinter> PreparerChoix(const ImprimanteDisponible& imprimante, int16_t qualite)
{
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (imprimante.preparer)
        imprimante.preparer(*p);
    PreparerImprimante(*p);
    AppliquerQualite(*p, qualite);
    return p;
}

namespace {
// Prints on the printer chosen by `imprimer`; through the print server, as a
// PDF whose answer is read back, then followed.
void Envoyer(QObject* parent, const ChoixImpression& choix, QPrinter& imprimante,
             const std::function<bool(QPrinter&)>& imprimer, const std::function<void(const QString&)>& dire)
{
    const QString& nom = choix.imprimante.nom;
    const QString echec = QStringLiteral("L'impression n'a pas pu être envoyée à « %1 ».\nVérifiez que "
                                         "l'imprimante est en service, puis recommencez.")
                              .arg(nom);
    if (!choix.imprimante.parServeur) {
        if (!imprimer(imprimante) || imprimante.printerState() == QPrinter::Error)
            dire(echec);
        return;
    }
    const QByteArray pdf = PdfPour(imprimante, imprimer);
    if (pdf.isEmpty())
        return dire(echec);
    const std::shared_ptr<ServeurImpression> serveur = ServeurImpression::courant();
    const ConstatImpression constat = serveur->envoyer(nom, imprimante.docName(), pdf, OptionsTravail(imprimante));
    const Bilan bilan = BilanImpression(nom.toStdString(), constat);
    if (!bilan.message.empty())
        return dire(QString::fromStdString(bilan.message));
    SuivreImpression(parent, serveur, nom, constat,
                     [dire](const Bilan& b) { dire(QString::fromStdString(b.message)); });
}
} // namespace

void ImprimerChoix(QObject* parent, const ChoixImpression& choix, const DessinImpression& dessin, int16_t L,
                   int16_t T, std::function<void(const QString& message)> dire)
{
    const std::unique_ptr<QPrinter> imprimante = PreparerChoix(choix.imprimante, choix.qualite);
    Envoyer(parent, choix, *imprimante,
            [&](QPrinter& p) { return ImprimerPage(p, dessin, choix.miseEnPage, choix.page, L, T); }, dire);
}

void ImprimerChoixPage(QObject* parent, const ChoixImpression& choix, const ModeleFeuille& feuille,
                       const PlanPage& plan, std::function<void(const QString& message)> dire)
{
    const std::unique_ptr<QPrinter> imprimante = PreparerChoix(choix.imprimante, choix.qualite);
    // The job's paper and orientation are the page's.
    imprimante->setPageLayout(MiseEnPageQt(plan));
    Envoyer(parent, choix, *imprimante, [&](QPrinter& p) { return ImprimerPage(p, feuille, plan); }, dire);
}
