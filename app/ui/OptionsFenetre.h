#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "calendar/Periode.h"
#include "calendar/Regions.h"
#include "output/Page.h"

// What the window opens with.
struct OptionsFenetre {
    std::optional<Periode> annee; // a year or a school year
    std::optional<Region> region;
    std::optional<int> largeur;
    bool weekEnd = true;
    bool feries = true;
    QString ini;                                 // the settings file read and written instead of the usual one
    QString couleurs;                            // a .Cal file opened as "Ouvrir un Fichier Couleurs..." does
    std::vector<std::pair<QString, int>> imports; // .ics files imported, each with its colour
    QStringList fichiers;                        // .Cal and .ics files named without an option
    std::vector<QString> etiquettesImports;      // each import's label (empty: from its events' names)
    bool details = false;                        // the imports' summaries on the error output
    // A page laid out for the PDF, PNG and SVG (paper, title, legend...), its
    // months (first and last, 1..12) and the PNG's resolution.
    std::optional<OptionsPage> page;
    std::optional<std::pair<int, int>> moisPage;
    int dpi = 150;
};
