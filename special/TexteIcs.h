#pragma once
// The text of an iCalendar file as libical is given it. libical parses a whole
// file before anything can be checked, and some shapes cost it time or memory
// far beyond their size (deep nesting, which overflows the stack when the tree
// is freed; many parameters on one property; millions of properties): the
// text is checked and bounded first, line by line, as libical reads it.
#include <cstddef>
#include <string>
#include <string_view>

#include "special/EtatIcs.h"

// Bounds of what libical parses. A calendar holds events holding alarms: three
// levels; time zones: three.
constexpr int ProfondeurMaxIcs = 8;
constexpr std::size_t LigneMaxIcs = 32 * 1024; // an unfolded content line, of a property the import reads
constexpr int PointsVirgulesMaxIcs = 64;       // the ';' of such a line (its parameters and those of its value)
constexpr int ValeursMaxParComposant = 5000;   // values of those properties in one component (a list counts each)
constexpr long ValeursMaxIcs = 300000;         // the same in the whole file
constexpr long PointsVirgulesMaxFichierIcs = 200000; // the ';' of those lines in the whole file
constexpr long ComposantsMaxIcs = 100000;      // components in the file
constexpr std::size_t ResumeMaxIcs = 1024;      // an event's name (SUMMARY) kept; a longer one is left out
constexpr long ReglesMaxIcs = 10000;           // repetition rules (RRULE) in the file, each a few kilobytes once parsed

// Content lines are read as libical reads them: physical lines end at a line
// feed (a carriage return before it belongs to the line end), a line starting
// with a space or a tab continues the one before, and the property name runs to
// the first ';' or ':', the blanks at its end removed, in any case.
//
// Refuses (PasIcal, Tronque, TropComplexe) a text that does not start with
// BEGIN:VCALENDAR, holds a NUL byte, has lines after the calendar's end,
// components not closed in order or nested deeper than ProfondeurMaxIcs, or
// goes beyond one of the bounds above. Otherwise gives `lu`: the text without
// the lines of the properties the import does not read (descriptions,
// attendees, attachments...), which are left out whatever their size, and Ok.
EtatIcs PreparerTexteIcs(std::string_view texte, std::string& lu);
