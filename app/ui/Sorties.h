#pragma once
// One path from the document to what is written, for the window and the
// command line alike.
#include <QColor>
#include <QImage>

#include "app/Document.h"
#include "output/Apercu.h"
#include "output/ui/FichierSortie.h"

// The printed size, the zone and the grid colour of the document.
ReglagesSortie SortieDuDocument(const Document& d);

// The document's calendar to write: its image, its sheet `feuille` (the
// document's own, Document::Feuille) and its title.
CalendrierAEcrire CalendrierDuDocument(const Document& d, const QImage& image, const ModeleFeuille* feuille,
                                       const QColor& fondSelection);
