#pragma once
// The parts of an iCalendar file that libical expands step by step, made safe
// to hand it: the change rules of the file's time zones, and the repetition
// rules that can never give an occurrence.
#include <libical/ical.h>

// libical expands zones and repetitions up to this year, no further: later
// years take a zone's last change and have no repetition from libical.
constexpr int DerniereAnneeFuseaux = 2582;

// Values in one BY... list of a rule.
int NombreValeursIcs(const short* liste, int taille);

// A date or a date-time that the import and libical both handle: years 1 to
// 9999, fields within their ranges (libical's own check stops at the year 3000).
bool TempsIcsValide(const icaltimetype& t);

// A yearly or monthly rule whose BYMONTHDAY days exist in none of its months
// (30 February), or a monthly rule whose BYSETPOS picks beyond the days it
// can give in a month: it never matches, and libical would search for its
// next occurrence up to the 26th century before saying so, for seconds.
bool RegleSansOccurrence(const icalrecurrencetype& r);

// libical expands a zone's changes one at a time, from each rule's first change
// up to a few years past the times converted, and searches for a rule's next
// change as far as it must. The rules allowed are the yearly ones real time
// zones use, each changing at least once and at most a few times every year;
// a rule repeated since long ago starts again a few years before `annee` (only
// times near that year are converted with the file's zones) and stops a few
// years after it; and so many rules and changes in all. False when the zones of
// `cal` do not keep within this.
bool PreparerFuseauxIcs(icalcomponent* cal, int annee);
