#include "output/ui/FichierSortie.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QFile>
#include <cerrno>

#include "Version.h"
#include "commun/EcritureAtomique.h"
#include "commun/Twips.h"
#include "commun/ui/Chemin.h"
#include "commun/ui/Couleur.h"
#include "output/ui/ImageFichier.h"
#include "output/ui/PeintrePage.h"
#include "output/ui/ToileSvg.h"

namespace {
constexpr int ResolutionPdf = 1200;  // dots per inch of the page's coordinates
// Lossless whatever the value; 80 asks for quick compression (the file is a
// few per cent larger, and written much sooner).
constexpr int QualitePng = 80;

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

// The laid-out page in one of the three formats that take it.
std::optional<QByteArray> OctetsPage(FormatSortie format, const CalendrierAEcrire& c)
{
    if (!c.feuille)
        return std::nullopt;
    QByteArray octets;
    QBuffer fichier(&octets);
    if (!fichier.open(QIODevice::WriteOnly))
        return std::nullopt;
    const QString titre = QString::fromStdString(c.page->titre);
    const QString createur = QStringLiteral("Ardemo " ARDEMO_VERSION);
    switch (format) {
    case FormatSortie::Svg: return SvgPage(*c.feuille, *c.page, titre, createur);
    case FormatSortie::Png: {
        const QImage image = ImagePage(*c.feuille, *c.page, c.dpi);
        if (image.isNull() || !image.save(&fichier, "PNG", QualitePng))
            return std::nullopt;
        return octets;
    }
    case FormatSortie::Pdf:
        if (!EcrirePdfPage(fichier, *c.feuille, *c.page, titre, createur))
            return std::nullopt;
        fichier.close();
        return octets;
    case FormatSortie::Bmp:
    case FormatSortie::Aucun: break;
    }
    return std::nullopt;
}

} // namespace

PlanImpression PlanChoisi(const ReglagesSortie& v, const QColor& fondSelection)
{
    return v.zone ? PlanZone(v.zone->ZoneX1, v.zone->ZoneY1, v.zone->ZoneX2, v.zone->ZoneY2, fondSelection,
                             VersQColor(v.CoulGrille))
                  : PlanImageEntiere();
}

CalendrierAEcrire CalendrierAvec(const ReglagesSortie& v, const QImage& image, const ModeleFeuille* feuille,
                                 const QColor& fondSelection, const QString& titre)
{
    CalendrierAEcrire c;
    c.image = image;
    c.feuille = feuille;
    c.plan = PlanChoisi(v, fondSelection);
    c.tailleMm = QSizeF(v.LargeurTwips / TwipsParMm, v.HauteurTwips / TwipsParMm);
    c.titre = titre;
    return c;
}

std::optional<QByteArray> OctetsCalendrier(FormatSortie format, const CalendrierAEcrire& c)
{
    if (FormatVectoriel(format) && (!c.feuille || c.plan.taille.isEmpty() || c.tailleMm.isEmpty()))
        return std::nullopt;
    QByteArray octets;
    QBuffer fichier(&octets);
    if (c.page && format != FormatSortie::Bmp)
        return OctetsPage(format, c);
    switch (format) {
    case FormatSortie::Bmp: {
        const std::string bmp = EncoderBmpImage(c.image);
        if (bmp.empty())
            return std::nullopt;
        return QByteArray(bmp.data(), static_cast<qsizetype>(bmp.size()));
    }
    case FormatSortie::Svg:
        return SvgCalendrier(*c.feuille, c.plan, c.tailleMm, c.titre, QStringLiteral("Ardemo " ARDEMO_VERSION));
    case FormatSortie::Png:
        if (c.image.isNull() || !fichier.open(QIODevice::WriteOnly)
            || !c.image.convertToFormat(QImage::Format_RGB32).save(&fichier, "PNG", QualitePng))
            return std::nullopt;
        return octets;
    case FormatSortie::Pdf:
        if (!fichier.open(QIODevice::WriteOnly) || !EcrirePdf(fichier, c))
            return std::nullopt;
        fichier.close();
        return octets;
    case FormatSortie::Aucun: break;
    }
    return std::nullopt;
}

// Made in memory, then written like every other file of the program
// (temporary file and rename, the old file's mode kept).
bool EcrireCalendrier(const QString& chemin, FormatSortie format, const CalendrierAEcrire& c)
{
    if (chemin.isEmpty())
        return errno = ENOENT, false;
    const std::optional<QByteArray> octets = OctetsCalendrier(format, c);
    if (!octets)
        return errno = ENOMEM, false;
    return EcrireFichierAtomique(CheminFichier(chemin),
                                           std::string_view(octets->constData(), static_cast<size_t>(octets->size())));
}
