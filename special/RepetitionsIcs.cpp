#include "special/RepetitionsIcs.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "calendar/Date.h"
#include "special/FuseauxIcs.h"

namespace {

// 0 = Monday .. 6 = Sunday; 1 January 1970 was a Thursday.
int jourSemaine(int64_t j) { return static_cast<int>(((j + 3) % 7 + 7) % 7); }

// libical's weekdays run from 1 = Sunday.
int semaineIcal(int d) { return (d + 5) % 7; }

int64_t division(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

struct Regle {
    icalrecurrencetype_frequency frequence;
    int intervalle;
    std::vector<int> mois, joursMois;
    std::vector<std::pair<int, int>> joursSemaine; // place (0: every one), weekday
    int debutSemaine = 0;
    Date d0;
};

bool moisPris(const Regle& r, int m) { return r.mois.empty() || std::count(r.mois.begin(), r.mois.end(), m); }

// Day `jour` of a month of `n` days matches BYMONTHDAY (negative: from the end).
bool jourMoisPris(const Regle& r, int jour, int n)
{
    if (r.joursMois.empty())
        return true;
    for (int v : r.joursMois)
        if ((v > 0 ? v : n + 1 + v) == jour)
            return true;
    return false;
}

bool semainePrise(const Regle& r, int64_t j)
{
    if (r.joursSemaine.empty())
        return true;
    for (auto [place, s] : r.joursSemaine)
        if (s == jourSemaine(j))
            return true;
    return false;
}

// BYDAY within the days a..b (a month or a year): each such weekday, or the
// one at its place (counted from the end when negative).
void places(const Regle& r, int64_t a, int64_t b, std::vector<int64_t>& jours)
{
    for (auto [place, s] : r.joursSemaine) {
        const int64_t premier = a + (s - jourSemaine(a) + 7) % 7, dernier = b - (jourSemaine(b) - s + 7) % 7;
        if (place == 0)
            for (int64_t j = premier; j <= b; j += 7)
                jours.push_back(j);
        else if (const int64_t j = place > 0 ? premier + 7 * (place - 1) : dernier + 7 * (place + 1); j >= a && j <= b)
            jours.push_back(j);
    }
}

// The days of month m of year a that a monthly or yearly rule takes.
void joursDuMois(const Regle& r, int a, int m, std::vector<int64_t>& jours)
{
    const int n = JoursDansMois(a, m);
    const int64_t premier = JoursDepuisEpoque({1, m, a});
    if (!r.joursMois.empty()) {
        for (int j = 1; j <= n; ++j)
            if (jourMoisPris(r, j, n) && semainePrise(r, premier + j - 1))
                jours.push_back(premier + j - 1);
    } else if (!r.joursSemaine.empty())
        places(r, premier, premier + n - 1, jours);
    else if (r.d0.jour <= n)
        jours.push_back(premier + r.d0.jour - 1);
}

// Units of the frequency: days, weeks (from WKST), months, years.
int64_t unite(const Regle& r, int64_t j)
{
    switch (r.frequence) {
    case ICAL_WEEKLY_RECURRENCE: return division(j + 3 - r.debutSemaine, 7);
    case ICAL_MONTHLY_RECURRENCE: {
        const Date d = DateDeJours(j);
        return int64_t(d.annee) * 12 + d.mois - 1;
    }
    case ICAL_YEARLY_RECURRENCE: return DateDeJours(j).annee;
    default: return j;
    }
}

int64_t premierJour(const Regle& r, int64_t u)
{
    switch (r.frequence) {
    case ICAL_WEEKLY_RECURRENCE: return u * 7 - 3 + r.debutSemaine;
    case ICAL_MONTHLY_RECURRENCE:
        return JoursDepuisEpoque({1, static_cast<int>(u - division(u, 12) * 12) + 1, static_cast<int>(division(u, 12))});
    case ICAL_YEARLY_RECURRENCE: return JoursDepuisEpoque({1, 1, static_cast<int>(u)});
    default: return u;
    }
}

// The days of unit u the rule takes, in any order.
void candidats(const Regle& r, int64_t u, std::vector<int64_t>& jours)
{
    const auto filtre = [&](int64_t j) {
        const Date d = DateDeJours(j);
        return moisPris(r, d.mois) && jourMoisPris(r, d.jour, JoursDansMois(d.annee, d.mois));
    };
    switch (r.frequence) {
    case ICAL_DAILY_RECURRENCE:
        if (filtre(u) && semainePrise(r, u))
            jours.push_back(u);
        break;
    case ICAL_WEEKLY_RECURRENCE:
        for (int64_t j = premierJour(r, u); j < premierJour(r, u) + 7; ++j)
            if ((r.joursSemaine.empty() ? jourSemaine(j) == jourSemaine(JoursDepuisEpoque(r.d0)) : semainePrise(r, j))
                && filtre(j))
                jours.push_back(j);
        break;
    case ICAL_MONTHLY_RECURRENCE: {
        const int a = static_cast<int>(division(u, 12)), m = static_cast<int>(u - division(u, 12) * 12) + 1;
        if (moisPris(r, m))
            joursDuMois(r, a, m, jours);
        break;
    }
    default: { // yearly
        const int a = static_cast<int>(u);
        if (!r.mois.empty() || !r.joursMois.empty()) {
            for (int m = 1; m <= 12; ++m)
                if (moisPris(r, m))
                    joursDuMois(r, a, m, jours);
        } else if (!r.joursSemaine.empty())
            places(r, JoursDepuisEpoque({1, 1, a}), JoursDepuisEpoque({31, 12, a}), jours);
        else if (r.d0.jour <= JoursDansMois(a, r.d0.mois))
            jours.push_back(JoursDepuisEpoque({r.d0.jour, r.d0.mois, a}));
    }
    }
}

} // namespace

bool RegleExpansible(const icalrecurrencetype& r)
{
    return (r.freq == ICAL_DAILY_RECURRENCE || r.freq == ICAL_WEEKLY_RECURRENCE || r.freq == ICAL_MONTHLY_RECURRENCE
            || r.freq == ICAL_YEARLY_RECURRENCE)
           && NombreValeursIcs(r.by_second, ICAL_BY_SECOND_SIZE) == 0
           && NombreValeursIcs(r.by_minute, ICAL_BY_MINUTE_SIZE) == 0
           && NombreValeursIcs(r.by_hour, ICAL_BY_HOUR_SIZE) == 0
           && NombreValeursIcs(r.by_year_day, ICAL_BY_YEARDAY_SIZE) == 0
           && NombreValeursIcs(r.by_week_no, ICAL_BY_WEEKNO_SIZE) == 0
           && NombreValeursIcs(r.by_set_pos, ICAL_BY_SETPOS_SIZE) == 0;
}

bool ExpanserRegle(const icalrecurrencetype& ical, const ExpansionIcs& e, const std::function<void(int64_t)>& occurrence)
{
    Regle r;
    r.frequence = ical.freq;
    r.intervalle = ical.interval;
    if (r.intervalle < 1)
        return true;
    for (int i = 0, n = NombreValeursIcs(ical.by_month, ICAL_BY_MONTH_SIZE); i < n; ++i)
        r.mois.push_back(ical.by_month[i]);
    for (int i = 0, n = NombreValeursIcs(ical.by_month_day, ICAL_BY_MONTHDAY_SIZE); i < n; ++i)
        r.joursMois.push_back(ical.by_month_day[i]);
    for (int i = 0, n = NombreValeursIcs(ical.by_day, ICAL_BY_DAY_SIZE); i < n; ++i) {
        const int s = static_cast<int>(icalrecurrencetype_day_day_of_week(ical.by_day[i]));
        if (s >= 1 && s <= 7)
            r.joursSemaine.emplace_back(icalrecurrencetype_day_position(ical.by_day[i]), semaineIcal(s));
    }
    if (ical.week_start >= ICAL_SUNDAY_WEEKDAY && ical.week_start <= ICAL_SATURDAY_WEEKDAY)
        r.debutSemaine = semaineIcal(static_cast<int>(ical.week_start));
    r.d0 = DateDeJours(e.debut);

    const int64_t u0 = unite(r, e.debut);
    int64_t k = 0;
    if (ical.count <= 0 && e.depuis > e.debut)
        k = (unite(r, e.depuis) - u0) / r.intervalle;
    int64_t reste = ical.count > 0 ? int64_t(ical.count) - 1 : -1; // DTSTART is the first
    std::vector<int64_t> jours;
    for (;; ++k) {
        const int64_t u = u0 + k * r.intervalle;
        if (premierJour(r, u) > e.jusqua)
            return true;
        jours.clear();
        candidats(r, u, jours);
        if ((*e.travail += 1 + static_cast<int64_t>(jours.size())) > e.travailMax)
            return false;
        std::sort(jours.begin(), jours.end());
        jours.erase(std::unique(jours.begin(), jours.end()), jours.end());
        for (int64_t j : jours) {
            if (j <= e.debut)
                continue;
            if (j > e.jusqua || reste == 0)
                return true;
            if (reste > 0)
                --reste;
            if (j >= e.depuis)
                occurrence(j);
        }
    }
}
