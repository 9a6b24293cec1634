#pragma once
#include <map>
#include <string>
#include <vector>

#include "colour/Couleurs.h"
#include "special/ImportIcs.h"

// The special colours as the user edits them.

// A copy of a special-colours table: a value that can be kept and compared.
struct TableSP {
    TableCouleursSP v = {};
    bool operator==(const TableSP&) const = default;
    bool vide() const; // no cell coloured
};

// What an edit of the special colours changes, and what undoing it gives back:
// the colours of the cells, the .Cal file in use (empty: none, "Aucun") and the
// calendar they belong to ("2027", "2026-2027"); what the colours stand for.
struct EtatCouleursSP {
    TableSP table;
    std::string fichier;
    std::string anChoisi;
    EtiquettesCouleurs etiquettes;
    bool operator==(const EtatCouleursSP&) const = default;
};

// What a .Cal file holds: its colours and their labels.
struct ContenuCal {
    TableSP table;
    EtiquettesCouleurs etiquettes;
    bool operator==(const ContenuCal&) const = default;
};

struct CouleursSpeciales {
    EtatCouleursSP etat;
    // The colour a day click applies, and the one a second click gives back.
    double choisie = 0;
    double normale = 0;
    // Day clicks colour the days (off after "Réinitialiser tout" until a colour is chosen).
    bool clics = false;
    // What each .Cal file opened or saved in this run holds, by name.
    std::map<std::string, ContenuCal> contenus;

    // The colours shown differ from those of the file in use; with no file in
    // use, some day is coloured or some colour named. What a question before losing them asks about.
    bool Modifiees() const;
};

// The state with `couleur` given to each of `cases` (block 1..12, cell 0..41).
EtatCouleursSP AvecCouleur(EtatCouleursSP e, const std::vector<CaseSP>& cases, double couleur);

// The days from `debut` to `fin` (either order) within the period, as an
// import covering them: every cell showing one of them, grey ones included.
ImportIcs SuiteDeJours(const Periode& periode, const Date& debut, const Date& fin);

// "Réinitialiser tout": no colour, no file in use.
EtatCouleursSP SansCouleurs(EtatCouleursSP e);

// The state with the colour `couleur` named `etiquette` (as a file keeps it:
// no double quotes nor line ends, cut to its length); an empty one takes its name away.
EtatCouleursSP AvecEtiquette(EtatCouleursSP e, double couleur, std::string_view etiquette);
