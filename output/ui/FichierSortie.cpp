#include "output/ui/FichierSortie.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QFile>
#include <QSvgGenerator>

#include "Version.h"
#include "commun/EcritureAtomique.h"
#include "commun/Twips.h"
#include "app/mdlVorn.h"
#include "app/ui/Chemin.h"
#include "app/ui/Couleur.h"
#include "output/ui/ImageFichier.h"

namespace {
constexpr int ResolutionPdf = 1200;  // dots per inch of the page's coordinates
constexpr int PointsSvgParMm = 10;   // the SVG's size is given to a tenth of a millimetre
// Lossless whatever the value; 80 asks for quick compression (the file is a
// few per cent larger, and written much sooner).
constexpr int QualitePng = 80;

// The SVG writer keeps no clipping: what the print clips away (the sheet
// around a zone) is covered again with the picture's background and outline.
void MasquerHorsSource(QPainter& p, const PlanImpression& plan)
{
    if (!plan.contour)
        return;
    const QRegion dehors = QRegion(QRect(QPoint(0, 0), plan.taille)) - QRegion(QRect(plan.destination, plan.source.size()));
    for (const QRect& r : dehors)
        p.fillRect(r, plan.fond);
    QPen pen(plan.couleurContour, 1.0);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, plan.coinContour.x(), plan.coinContour.y()));
}

bool EcrirePdf(QIODevice& fichier, const CalendrierAEcrire& c)
{
    const QSizeF page = c.tailleMm + QSizeF(2 * MargeDocumentMm, 2 * MargeDocumentMm);
    QPdfWriter pdf(&fichier);
    pdf.setCreator(QStringLiteral("Ardemo " ARDEMO_VERSION));
    pdf.setTitle(c.titre);
    pdf.setResolution(ResolutionPdf);
    const bool paysage = page.width() > page.height();
    const QPageSize format(paysage ? page.transposed() : page, QPageSize::Millimeter, QString(),
                           QPageSize::ExactMatch);
    if (!pdf.setPageLayout(QPageLayout(format, paysage ? QPageLayout::Landscape : QPageLayout::Portrait,
                                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter)))
        return false;
    QPainter p;
    if (!p.begin(&pdf))
        return false;
    const double pointsParMm = ResolutionPdf / 25.4;
    // Centred on the page (its size in points is rounded).
    const QSizeF reelle = pdf.pageLayout().fullRectPixels(ResolutionPdf).size();
    const QSizeF cible = c.tailleMm * pointsParMm;
    DessinerNet(p, QRectF(QPointF((reelle.width() - cible.width()) / 2, (reelle.height() - cible.height()) / 2), cible),
                *c.feuille, c.plan);
    return p.end();
}

bool EcrireSvg(QIODevice& fichier, const CalendrierAEcrire& c)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&fichier);
    svg.setTitle(c.titre);
    svg.setDescription(QStringLiteral("Ardemo " ARDEMO_VERSION));
    // The size in millimetres; one unit of the drawing is one pixel of the image.
    svg.setResolution(qRound(25.4 * PointsSvgParMm));
    svg.setSize((c.tailleMm * PointsSvgParMm).toSize());
    svg.setViewBox(QRect(QPoint(0, 0), c.plan.taille));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    DessinerNet(p, QRectF(QPointF(0, 0), c.plan.taille), *c.feuille, c.plan);
    MasquerHorsSource(p, c.plan);
    return p.end();
}
} // namespace

PlanImpression PlanChoisi(const mdlVorn& v, const QColor& fondSelection)
{
    return v.ZoneChoisie ? PlanZone(v.ZoneX1, v.ZoneY1, v.ZoneX2, v.ZoneY2, fondSelection,
                                    VersQColor(v.Couleurs.CoulGrille))
                         : PlanImageEntiere();
}

CalendrierAEcrire CalendrierDeFenetre(const mdlVorn& v, const QImage& image, const FeuilleCalendrier* feuille,
                                      const QColor& fondSelection)
{
    CalendrierAEcrire c;
    c.image = image;
    c.feuille = feuille;
    c.plan = PlanChoisi(v, fondSelection);
    c.tailleMm = QSizeF(v.LargeurTwips / TwipsParMm, v.HauteurTwips / TwipsParMm);
    c.titre = QStringLiteral("Calendrier ") + QString::fromStdString(v.AnChoisi);
    return c;
}

QByteArray ContenuCalendrier(FormatSortie format, const CalendrierAEcrire& c)
{
    if (format == FormatSortie::Bmp) {
        const std::string bmp = ContenuBmp(c.image);
        return QByteArray(bmp.data(), qsizetype(bmp.size()));
    }
    if (format == FormatSortie::Aucun || (format == FormatSortie::Png && c.image.isNull()))
        return {};
    if (FormatVectoriel(format) && (!c.feuille || c.plan.taille.isEmpty() || c.tailleMm.isEmpty()))
        return {};

    QByteArray octets;
    QBuffer fichier(&octets);
    fichier.open(QIODevice::WriteOnly);
    bool ok = false;
    switch (format) {
    case FormatSortie::Png: ok = c.image.convertToFormat(QImage::Format_RGB32).save(&fichier, "PNG", QualitePng); break;
    case FormatSortie::Pdf: ok = EcrirePdf(fichier, c); break;
    case FormatSortie::Svg: ok = EcrireSvg(fichier, c); break;
    default: break;
    }
    fichier.close();
    return ok ? octets : QByteArray();
}

bool EcrireCalendrier(const QString& chemin, FormatSortie format, const CalendrierAEcrire& c)
{
    // Made in memory, then written like every other file of the program
    // (temporary file and rename, the old file's mode kept).
    const QByteArray octets = ContenuCalendrier(format, c);
    return !chemin.isEmpty() && !octets.isEmpty()
           && EcrireFichierAtomique(CheminFichier(chemin),
                                    std::string_view(octets.constData(), static_cast<size_t>(octets.size())));
}
