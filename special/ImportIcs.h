#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "colour/Couleurs.h"

#include "calendar/Periode.h"
#include "special/EtatIcs.h"

// Importing iCalendar files (.ics): the days of the sheet's twelve months (a
// year, or a school year from September to August) covered by the events of a
// calendar, then the special colour of every day cell of the sheet that shows
// one of those days. The file is read with libical.
//
// Days covered by an event:
// - all-day event: from its first day to the day before its end (the end is
//   exclusive); a start without end or duration covers that one day;
// - timed event: every calendar day it touches in local time (times given in
//   UTC or in a time zone are converted; times without zone are already local);
//   an end that falls exactly at midnight does not touch the next day;
// - repetitions (RRULE, RDATE, EXDATE, moved or cancelled occurrences) are
//   expanded within the period; cancelled events cover nothing.

// Larger files are refused without being read (a school calendar of every zone
// over several years is a few hundred kilobytes; a whole exported agenda a few
// megabytes).
constexpr std::size_t TailleMaxIcs = 10 * 1024 * 1024;

// Occurrences looked at over the whole file (each event counts one, each
// repetition one more); a file that needs more is refused rather than
// imported in part.
constexpr long OccurrencesMaxIcs = 1000000;


struct ImportIcs {
    EtatIcs etat = EtatIcs::Illisible;
    Periode periode;
    // One entry per day of the period, index 0 = its first day (1 January or
    // 1 September): true when covered.
    std::vector<bool> jours;
    int nombreJours = 0;
    // Events (a repeated event with its moved occurrences counts once) that
    // cover at least one day of the period.
    int nombreEvenements = 0;
    // The names (SUMMARY) of those events, each once, in the file's order; at
    // most NomsMaxIcs of them, each cut to LongueurNomIcs bytes.
    std::vector<std::string> noms;
};

constexpr std::size_t NomsMaxIcs = 1000;
constexpr std::size_t LongueurNomIcs = 100;

// The events named in a summary: the first few, then how many more
// ("Noël, Hiver, Printemps et 2 autres"); empty when none has a name.
std::string NomsEvenementsIcs(const ImportIcs& import, std::size_t premiers = 3);

// The label an import gives its colour: the words common to every event's
// name ("Vacances de Noël - Zone B", "Vacances d'Hiver - Zone B": "Vacances
// Zone B"), else the file's name without its extension.
std::string EtiquetteIcs(const ImportIcs& import, std::string_view nomFichier);

// Reads a calendar held in memory, for the twelve months of `periode`.
// `zoneLocale` is the local time zone (IANA name such as "Europe/Paris");
// empty: the system's.
ImportIcs LireIcs(std::string_view contenu, const Periode& periode, const std::string& zoneLocale = {});

// Same, from a file (refused whole when over TailleMaxIcs).
ImportIcs LireFichierIcs(const std::filesystem::path& chemin, const Periode& periode,
                         const std::string& zoneLocale = {});

// A day cell of the sheet: block 1..12, cell 0..41.
struct CaseSP {
    int mois;
    int cellule;
    bool operator==(const CaseSP&) const = default;
};

// Gives `couleur` (as a day click stores it: the 24-bit colour of the control)
// to every cell of the period's sheet that shows a covered day: the day's own
// cell in its month and the grey cell showing the same date in the block of
// the month before or after. Cells already coloured take the new colour.
// Returns the cells set, block by block.
std::vector<CaseSP> ColorerJours(const ImportIcs& import, double couleur, TableCouleursSP& table);

// The French text shown for a result: the summary "N jours de <année> dans M
// événements" when Ok ("12 jours de 2027", "66 jours de 2025-2026"), followed
// by the events' names (" : Noël, Hiver, Printemps et 2 autres"), otherwise
// why nothing is imported (UTF-8).
std::string MessageIcs(const ImportIcs& import);

// The same on one line without its closing words (": rien n'est changé."),
// as the command line reports it.
std::string MotifIcs(const ImportIcs& import);

// Reads the file for `periode` and, when some day is covered, colours the table
// as ColorerJours does; otherwise the table is untouched. For the command line.
ImportIcs ImporterIcs(const std::filesystem::path& chemin, const Periode& periode, double couleur,
                      TableCouleursSP& table, const std::string& zoneLocale = {});
