#pragma once
// The calendar written to a file of any of the four types: the image (BMP,
// PNG) or the sheet drawn as text and lines at its printed size (PDF, SVG).
#include <QByteArray>
#include <QImage>
#include <optional>
#include <QSizeF>
#include <QString>

#include "output/FormatSortie.h"
#include "output/Page.h"
#include "output/ui/ImpressionNette.h"

#include "output/Apercu.h"

struct ModeleFeuille;

constexpr int ResolutionPageParDefaut = 150;

struct CalendrierAEcrire {
    QImage image;                               // the whole 628 x 866 image
    const ModeleFeuille* feuille = nullptr;     // the sheet the image was made from
    PlanImpression plan;                        // the part of the sheet of a document
    QSizeF tailleMm;                            // its printed size
    QString titre;                              // "Calendrier 2027"
    // A page laid out instead (PDF, PNG, SVG; the BMP stays the image), and
    // the PNG's resolution.
    std::optional<PlanPage> page;
    int dpi = ResolutionPageParDefaut;
};

// The part of the sheet printed and written to documents: the validated zone
// with its outline, copied onto `fondSelection`, else the whole image.
PlanImpression PlanChoisi(const ReglagesSortie& sortie, const QColor& fondSelection);

// What is written: the whole image, and for the documents the validated zone
// (if any) at the printed size, as the print takes them (`fondSelection`: the
// background the zone is copied onto), titled `titre`.
CalendrierAEcrire CalendrierAvec(const ReglagesSortie& sortie, const QImage& image, const ModeleFeuille* feuille,
                                 const QColor& fondSelection, const QString& titre);

// The file's bytes in `format`; nullopt when it cannot be made (no image, no
// sheet, an empty size).
std::optional<QByteArray> OctetsCalendrier(FormatSortie format, const CalendrierAEcrire& calendrier);

// Writes `chemin` in `format` through a temporary file and a rename: false,
// and nothing left behind, when it cannot be written (errno: why).
bool EcrireCalendrier(const QString& chemin, FormatSortie format, const CalendrierAEcrire& calendrier);
