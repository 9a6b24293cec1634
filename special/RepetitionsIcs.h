#pragma once
// The repetition rules (RRULE) an import needs, expanded day by day by the
// program itself, for any year up to 9999 (libical's own expansion stops after
// DerniereAnneeFuseaux), at a cost that is counted: FREQ=DAILY, WEEKLY, MONTHLY
// or YEARLY with INTERVAL, COUNT, UNTIL, BYDAY (with its places: 1MO, -1FR),
// BYMONTHDAY (negative from the month's end), BYMONTH and WKST. Every
// occurrence of such a rule falls at the time of day of its start, so that a
// day is enough to name one.
#include <cstdint>
#include <functional>

#include <libical/ical.h>

// A rule of that shape: none of BYSECOND, BYMINUTE, BYHOUR, BYYEARDAY, BYWEEKNO,
// BYSETPOS, and a frequency of a day or more.
bool RegleExpansible(const icalrecurrencetype& r);

struct ExpansionIcs {
    int64_t debut = 0;    // the day of DTSTART (days since 1970), itself the first occurrence
    int64_t depuis = 0;   // the days before this are not wanted (a rule without COUNT starts there)
    int64_t jusqua = 0;   // the last day wanted, UNTIL included
    int64_t* travail = nullptr; // days looked at, added to; the expansion stops past travailMax
    int64_t travailMax = 0;
};

// Calls `occurrence(jour)` for each occurrence of `r` after DTSTART's day, in
// order, within [depuis, jusqua]; a COUNT counts DTSTART as the first. False,
// leaving the rest, when the days looked at would go past `travailMax`.
bool ExpanserRegle(const icalrecurrencetype& r, const ExpansionIcs& e, const std::function<void(int64_t)>& occurrence);
