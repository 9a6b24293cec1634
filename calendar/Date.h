#pragma once
#include <cstdint>
#include <string>

// Plain calendar arithmetic on day, month and year, proleptic Gregorian
// calendar, for any year (year 0, negative years and years past 9999 included).

struct Date {
    int jour;
    int mois;
    int annee;
};

inline bool operator==(const Date& a, const Date& b)
{
    return a.jour == b.jour && a.mois == b.mois && a.annee == b.annee;
}

// Days since 1 January 1970 (negative before). A month outside 1..12 carries
// into the year and a day outside the month carries into the next or previous
// months, so that 0/3/2016 is 29/2/2016 and 1/13/2015 is 1/1/2016.
int64_t JoursDepuisEpoque(const Date& d);

// Inverse of JoursDepuisEpoque: always a valid date.
Date DateDeJours(int64_t jours);

// The date `jours` days after (before, when negative) `d`.
Date AjouterJours(const Date& d, int jours);

// Length of a month (28 to 31); a month outside 1..12 carries into the year.
int JoursDansMois(int annee, int mois);

// Weekday, Monday = 1 ... Sunday = 7.
int JourDeLaSemaine(const Date& d);
int JourDeLaSemaineJours(int64_t jours);

// ISO 8601 week number, 1 to 53.
int WOY(const Date& d);

// The date written out in French: "mardi 3 mars 2027" (UTF-8).
std::string DateEnLettres(const Date& d);

// Month names, index 0 = January (UTF-8).
extern const char* const NomMois[12];
extern const char* const NomMoisAbrege[12];
