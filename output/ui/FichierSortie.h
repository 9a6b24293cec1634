#pragma once
// The calendar written to a file of any of the four types: the image (BMP,
// PNG) or the sheet drawn as text and lines at its printed size (PDF, SVG).
#include <QByteArray>
#include <QImage>
#include <optional>
#include <QSizeF>
#include <QString>

#include "output/FormatSortie.h"
#include "output/ui/ImpressionNette.h"

struct ModeleFeuille;
struct mdlVorn;

struct CalendrierAEcrire {
    QImage image;                               // the whole 628 x 866 image
    const ModeleFeuille* feuille = nullptr;     // the sheet the image was made from
    PlanImpression plan;                        // the part of the sheet of a document
    QSizeF tailleMm;                            // its printed size
    QString titre;                              // "Calendrier 2027"
};

// The part of the sheet printed and written to documents: the validated zone
// with its outline, copied onto `fondSelection`, else the whole image.
PlanImpression PlanChoisi(const mdlVorn& etat, const QColor& fondSelection);

// What the main window writes: the whole image, and for the documents the
// validated zone (if any) at the printed size, as the print takes them
// (`fondSelection`: the background the zone is copied onto).
CalendrierAEcrire CalendrierDeFenetre(const mdlVorn& etat, const QImage& image, const ModeleFeuille* feuille,
                                      const QColor& fondSelection);

// The file's bytes in `format`; nullopt when it cannot be made (no image, no
// sheet, an empty size).
std::optional<QByteArray> OctetsCalendrier(FormatSortie format, const CalendrierAEcrire& calendrier);

// Writes `chemin` in `format` through a temporary file and a rename: false,
// and nothing left behind, when it cannot be written (errno: why).
bool EcrireCalendrier(const QString& chemin, FormatSortie format, const CalendrierAEcrire& calendrier);
