#include "special/FuseauxIcs.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int ReglesFuseauMax = 40;
constexpr long ChangementsFuseauMax = 5000;
constexpr int ChangementsParAnMax = 4;
constexpr int AnneesAvantFuseau = 3;
constexpr int AnneesApresFuseau = 7; // past libical's five years of coverage

int joursDuMoisMax(int mois) { return mois == 2 ? 29 : icaltime_days_in_month(mois, 2001); }

// Day `jour` of a BYMONTHDAY list in a month of `n` days (negative: from the end); 0 when none.
int jourDuMois(int jour, int n)
{
    const int j = jour > 0 ? jour : n + 1 + jour;
    return j >= 1 && j <= n ? j : 0;
}

bool regleFuseauSure(const icalrecurrencetype& r)
{
    return r.freq == ICAL_YEARLY_RECURRENCE && r.interval >= 1
           && NombreValeursIcs(r.by_second, ICAL_BY_SECOND_SIZE) == 0
           && NombreValeursIcs(r.by_minute, ICAL_BY_MINUTE_SIZE) == 0
           && NombreValeursIcs(r.by_hour, ICAL_BY_HOUR_SIZE) == 0
           && NombreValeursIcs(r.by_year_day, ICAL_BY_YEARDAY_SIZE) == 0
           && NombreValeursIcs(r.by_week_no, ICAL_BY_WEEKNO_SIZE) == 0
           && NombreValeursIcs(r.by_month, ICAL_BY_MONTH_SIZE) <= 1
           && NombreValeursIcs(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) <= 7
           && NombreValeursIcs(r.by_day, ICAL_BY_DAY_SIZE) <= 7
           && NombreValeursIcs(r.by_set_pos, ICAL_BY_SETPOS_SIZE) <= 1;
}

// Changes a zone rule of that shape gives in the year `an`, as a yearly rule
// expands: the days of its months (BYMONTH, else those of BYMONTHDAY, else
// DTSTART's) that are in BYMONTHDAY, on a BYDAY weekday (at its place in the
// month when it has one), else DTSTART's day; then BYSETPOS. -1 for the
// shapes no zone uses whose reading is doubtful (a weekday with a place but
// no month, or with BYMONTHDAY).
int changementsDansAnnee(const icalrecurrencetype& r, const icaltimetype& debut, int an)
{
    const int nMois = NombreValeursIcs(r.by_month, ICAL_BY_MONTH_SIZE);
    const int nJours = NombreValeursIcs(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const int nSemaine = NombreValeursIcs(r.by_day, ICAL_BY_DAY_SIZE);
    bool places = false;
    for (int i = 0; i < nSemaine; ++i)
        places = places || icalrecurrencetype_day_position(r.by_day[i]) != 0;
    if (places && (nMois == 0 || nJours > 0))
        return -1;

    std::vector<int> jours; // month * 32 + day
    const int premierMois = nMois ? r.by_month[0] : nJours || nSemaine ? 1 : debut.month;
    const int dernierMois = nMois ? r.by_month[0] : nJours || nSemaine ? 12 : debut.month;
    for (int m = premierMois; m <= dernierMois; ++m) {
        if (m < 1 || m > 12)
            continue;
        const int n = icaltime_days_in_month(m, an);
        for (int j = 1; j <= n; ++j) {
            bool pris = nJours == 0 && nSemaine == 0 ? j == debut.day : true;
            if (nJours > 0) {
                pris = false;
                for (int i = 0; i < nJours; ++i)
                    pris = pris || jourDuMois(r.by_month_day[i], n) == j;
            }
            if (pris && nSemaine > 0) {
                icaltimetype t = icaltime_null_date();
                t.year = an, t.month = m, t.day = j;
                const int semaine = icaltime_day_of_week(t); // 1 = Sunday, as BYDAY
                bool jourPris = false;
                for (int i = 0; i < nSemaine; ++i) {
                    const int place = icalrecurrencetype_day_position(r.by_day[i]);
                    if (static_cast<int>(icalrecurrencetype_day_day_of_week(r.by_day[i])) != semaine)
                        continue;
                    jourPris = jourPris || place == 0 || (place > 0 && (j - 1) / 7 + 1 == place)
                               || (place < 0 && (n - j) / 7 + 1 == -place);
                }
                pris = jourPris;
            }
            if (pris)
                jours.push_back(m * 32 + j);
        }
    }
    int total = static_cast<int>(jours.size());
    if (NombreValeursIcs(r.by_set_pos, ICAL_BY_SETPOS_SIZE) == 1)
        total = std::abs(static_cast<int>(r.by_set_pos[0])) <= total ? 1 : 0;
    return total;
}

// A rule changing at least once and at most a few times in every kind of
// year (the 28 years from 2001 hold the 14 kinds: leap or not, and the
// weekday of 1 January).
bool regleReguliere(const icalrecurrencetype& r, const icaltimetype& debut)
{
    for (int an = 2001; an <= 2028; ++an) {
        const int n = changementsDansAnnee(r, debut, an);
        if (n < 1 || n > ChangementsParAnMax)
            return false;
    }
    return true;
}

// The one rule of a change, repeated without a count, starts again a whole
// number of its intervals later, at most AnneesAvantFuseau years before
// `annee` and before the year of its end, and stops after the years looked at.
// Returns its start.
icaltimetype rapprocher(icalproperty* pDebut, icalproperty* pRegle, int annee)
{
    icalrecurrencetype r = icalproperty_get_rrule(pRegle);
    icaltimetype debut = icalproperty_get_dtstart(pDebut);
    annee = std::min(annee, DerniereAnneeFuseaux);
    if (r.count != 0 || (debut.month == 2 && debut.day == 29))
        return debut;
    int dernier = annee - AnneesAvantFuseau;
    if (!icaltime_is_null_time(r.until))
        dernier = std::min(dernier, r.until.year - 1);
    if (dernier > debut.year) {
        debut.year += (dernier - debut.year) / r.interval * r.interval;
        icalproperty_set_dtstart(pDebut, debut);
    }
    if (icaltime_is_null_time(r.until) || r.until.year > annee + AnneesApresFuseau) {
        icaltimetype limite = debut;
        limite.year = annee + AnneesApresFuseau, limite.month = 12, limite.day = 31;
        r.until = limite;
        icalproperty_set_rrule(pRegle, r);
    }
    return debut;
}

// At most how many changes libical makes of a rule for `annee`.
long changementsMax(const icalrecurrencetype& r, const icaltimetype& debut, int annee)
{
    int fin = std::min(annee, DerniereAnneeFuseaux) + AnneesApresFuseau;
    if (!icaltime_is_null_time(r.until))
        fin = std::min(fin, r.until.year);
    long n = std::max(0, fin - debut.year + 1) / r.interval * ChangementsParAnMax + ChangementsParAnMax;
    if (r.count > 0)
        n = std::min<long>(n, r.count);
    return n;
}

} // namespace

int NombreValeursIcs(const short* liste, int taille)
{
    int n = 0;
    while (n < taille && liste[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

bool TempsIcsValide(const icaltimetype& t)
{
    return !icaltime_is_null_time(t) && t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1
           && t.day <= icaltime_days_in_month(t.month, t.year) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0
           && t.minute <= 59 && t.second >= 0 && t.second <= 60;
}

bool RegleSansOccurrence(const icalrecurrencetype& r)
{
    if (r.freq != ICAL_MONTHLY_RECURRENCE && r.freq != ICAL_YEARLY_RECURRENCE)
        return false;
    const int nMois = NombreValeursIcs(r.by_month, ICAL_BY_MONTH_SIZE);
    const int joursDuMois = NombreValeursIcs(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    if (joursDuMois > 0) {
        bool possible = false;
        for (int i = 0; i < (nMois ? nMois : 12) && !possible; ++i) {
            const int m = nMois ? r.by_month[i] : i + 1;
            for (int j = 0; j < joursDuMois && !possible && m >= 1 && m <= 12; ++j)
                possible = jourDuMois(r.by_month_day[j], joursDuMoisMax(m)) != 0;
        }
        if (!possible)
            return true;
    }

    const int positions = NombreValeursIcs(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
    if (r.freq != ICAL_MONTHLY_RECURRENCE || positions == 0)
        return false;
    int jours = 1;
    const int joursSemaine = NombreValeursIcs(r.by_day, ICAL_BY_DAY_SIZE);
    if (joursSemaine > 0) {
        jours = 0;
        for (int i = 0; i < joursSemaine; ++i)
            jours += icalrecurrencetype_day_position(r.by_day[i]) != 0 ? 1 : 5;
    }
    if (joursDuMois > 0)
        jours = std::min(joursSemaine > 0 ? jours : 31, joursDuMois);
    const long candidats = static_cast<long>(std::min(jours, 31))
                           * std::max(1, NombreValeursIcs(r.by_hour, ICAL_BY_HOUR_SIZE))
                           * std::max(1, NombreValeursIcs(r.by_minute, ICAL_BY_MINUTE_SIZE))
                           * std::max(1, NombreValeursIcs(r.by_second, ICAL_BY_SECOND_SIZE));
    for (int i = 0; i < positions; ++i)
        if (std::abs(static_cast<int>(r.by_set_pos[i])) <= candidats)
            return false;
    return true;
}

bool PreparerFuseauxIcs(icalcomponent* cal, int annee)
{
    int regles = 0;
    long total = 0;
    for (icalcomponent* z = icalcomponent_get_first_component(cal, ICAL_VTIMEZONE_COMPONENT); z;
         z = icalcomponent_get_next_component(cal, ICAL_VTIMEZONE_COMPONENT))
        for (icalcomponent* s = icalcomponent_get_first_component(z, ICAL_ANY_COMPONENT); s;
             s = icalcomponent_get_next_component(z, ICAL_ANY_COMPONENT)) {
            total += 1 + icalcomponent_count_properties(s, ICAL_RDATE_PROPERTY);
            icalproperty* pDebut = icalcomponent_get_first_property(s, ICAL_DTSTART_PROPERTY);
            const icaltimetype debut = pDebut ? icalproperty_get_dtstart(pDebut) : icaltime_null_time();
            const bool seule = icalcomponent_count_properties(s, ICAL_RRULE_PROPERTY) == 1;
            for (icalproperty* p = icalcomponent_get_first_property(s, ICAL_RRULE_PROPERTY); p;
                 p = icalcomponent_get_next_property(s, ICAL_RRULE_PROPERTY)) {
                const icalrecurrencetype r = icalproperty_get_rrule(p);
                if (++regles > ReglesFuseauMax || !regleFuseauSure(r))
                    return false;
                if (!TempsIcsValide(debut) || !regleReguliere(r, debut))
                    return false;
                total += changementsMax(icalproperty_get_rrule(p), seule ? rapprocher(pDebut, p, annee) : debut, annee);
            }
            if (total > ChangementsFuseauMax)
                return false;
        }
    return true;
}
