#pragma once

// What became of an iCalendar file read for a year.
enum class EtatIcs {
    Ok,             // at least one day of the year is covered
    AucunEvenement, // a calendar, but no event touches the year
    Illisible,      // the file could not be opened or read
    TropGros,       // over TailleMaxIcs
    PasIcal,        // not an iCalendar file
    Tronque,        // cut short or unbalanced
    RepetitionsLointaines, // repetitions of a shape libical alone expands, in a year after the last it expands
    TropComplexe,   // repetitions too many or too frequent, time zones that cannot be expanded safely, or a
                    // text beyond the bounds of special/TexteIcs.h (nesting, lines, parameters, properties)
};
