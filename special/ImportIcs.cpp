#include "special/ImportIcs.h"

#include <libical/ical.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <system_error>

#include "calendar/Date.h"
#include "calendar/Mois.h"
#include "colour/Couleurs.h"
#include "commun/LectureBornee.h"
#include "commun/Texte.h"
#include "commun/TexteUtf8.h"
#include "special/FuseauxIcs.h"
#include "special/RepetitionsIcs.h"
#include "special/TexteIcs.h"

namespace {

constexpr int64_t SecondesParJour = 86400;

// A repetition rule is stepped through by libical one unit of its frequency at
// a time, matching or not: rules that would need more steps than this within
// the span looked at are refused.
constexpr int64_t PasMaxParRegle = 500000;
// Steps of less than a day cost libical several microseconds each when BY...
// parts filter them: those of all the rules of a file are bounded together.
constexpr int64_t PasInfraJourMax = 100000;

// Days looked at by the rules the program expands itself, over the whole file
// (a few thousand daily events of a year are a few million).
constexpr int64_t TravailMaxIcs = 8000000;

// ------------------------------------------------------------- the parsed tree

struct Calendrier {
    icalcomponent* racine = nullptr;
    ~Calendrier()
    {
        if (racine)
            icalcomponent_free(racine);
    }
};

std::vector<icalcomponent*> calendriers(icalcomponent* racine)
{
    std::vector<icalcomponent*> r;
    if (icalcomponent_isa(racine) == ICAL_VCALENDAR_COMPONENT) {
        r.push_back(racine);
        return r;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(racine, ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(racine, ICAL_VCALENDAR_COMPONENT))
        r.push_back(c);
    return r;
}

// libical looks a zone name it does not know up as a file under the system's
// zone folder: names that could leave that folder are taken away (the times
// they qualify are then read as local times).
void retirerZonesDouteuses(icalcomponent* c, int profondeur = 0)
{
    if (profondeur > ProfondeurMaxIcs)
        return;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        int zones = 0;
        bool douteuse = false;
        for (icalparameter* z = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER); z;
             z = icalproperty_get_next_parameter(p, ICAL_TZID_PARAMETER)) {
            const char* nom = icalparameter_get_tzid(z);
            douteuse = douteuse || !nom || !*nom || std::string_view(nom).find("..") != std::string_view::npos;
            ++zones;
        }
        for (int i = 0; douteuse && i < zones; ++i)
            icalproperty_remove_parameter_by_kind(p, ICAL_TZID_PARAMETER);
    }
    for (icalcomponent* e = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); e;
         e = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        retirerZonesDouteuses(e, profondeur + 1);
}

// ---------------------------------------------------------------- times

struct TropComplexe {};
struct RepetitionsLointaines {};

class Lecture {
public:
    Lecture(const Periode& periode, icaltimezone* local)
        : m_periode(periode), m_local(local), m_premier(JoursDepuisEpoque(PremierJour(periode))),
          m_dernier(m_premier + JoursDansPeriode(periode) - 1),
          m_jours(static_cast<size_t>(m_dernier - m_premier + 1), false)
    {
    }

    void calendrier(icalcomponent* cal);
    ImportIcs resultat() const;

private:
    struct Exclusions {
        std::set<int64_t> instants; // occurrences removed, by their start
        std::set<int64_t> jours;    // occurrences removed by date alone
        bool contient(const icaltimetype& t, int64_t instant) const
        {
            return instants.count(instant) || jours.count(jourMural(t));
        }
    };

    static int64_t jourMural(const icaltimetype& t) { return JoursDepuisEpoque({t.day, t.month, t.year}); }
    static int64_t secondesMurales(const icaltimetype& t)
    {
        return jourMural(t) * SecondesParJour + (t.is_date ? 0 : t.hour * 3600 + t.minute * 60 + t.second);
    }

    icaltimezone* zone(icalproperty* p);
    icaltimetype temps(icalproperty* p, icaltimetype t);
    int64_t instant(const icaltimetype& t) const;
    int64_t jourLocal(int64_t instant, bool flottant) const;
    bool couvrir(int64_t j0, int64_t j1);
    void evenement(icalcomponent* ev, const Exclusions* deplacees);
    void nommer(icalcomponent* ev);
    // The occurrences of one RRULE that can touch the year.
    void expanser(const icalrecurrencetype& regle, const icaltimetype& debut, int64_t dureeJours,
                  const std::function<void(const icaltimetype&)>& occurrence);
    void repeter(icalrecurrencetype regle, const icaltimetype& debut, int64_t dureeJours,
                 const std::function<void(const icaltimetype&)>& occurrence);

    Periode m_periode;
    icaltimezone* m_local;
    int64_t m_premier, m_dernier; // days since 1970 of the period's first and last days
    std::vector<bool> m_jours;
    std::set<std::string> m_evenements;
    std::vector<std::string> m_noms;
    icalcomponent* m_cal = nullptr;
    bool m_annulation = false;
    long m_occurrences = 0;
    int64_t m_pasInfraJour = 0;
    int m_sansUid = 0;
    int64_t m_travail = 0;
};

icaltimezone* Lecture::zone(icalproperty* p)
{
    icalparameter* par = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    const char* tzid = par ? icalparameter_get_tzid(par) : nullptr;
    if (!tzid || !*tzid)
        return nullptr;
    icaltimezone* z = icalcomponent_get_timezone(m_cal, tzid);
    if (!z)
        z = icaltimezone_get_builtin_timezone_from_tzid(tzid);
    if (!z)
        z = icaltimezone_get_builtin_timezone(tzid);
    return z;
}

// A date or date-time with the zone of its TZID (none: a local time).
icaltimetype Lecture::temps(icalproperty* p, icaltimetype t)
{
    if (!TempsIcsValide(t))
        return icaltime_null_time();
    if (!t.is_date && !icaltime_is_utc(t))
        t.zone = zone(p);
    if (t.is_date)
        t.zone = nullptr;
    return t;
}

// Seconds since 1970 (UTC); a time without zone is counted as if it were UTC.
int64_t Lecture::instant(const icaltimetype& t) const
{
    if (t.is_date || !t.zone || icaltime_is_utc(t))
        return secondesMurales(t);
    // Far from the year the zone does not matter: it only moves a time by hours.
    const int64_t mur = secondesMurales(t);
    if (mur < (m_premier - 3) * SecondesParJour || mur > (m_dernier + 3) * SecondesParJour)
        return mur;
    return static_cast<int64_t>(icaltime_as_timet_with_zone(t, t.zone));
}

int64_t Lecture::jourLocal(int64_t s, bool flottant) const
{
    auto jourDe = [](int64_t x) { return x >= 0 ? x / SecondesParJour : -((-x + SecondesParJour - 1) / SecondesParJour); };
    if (flottant)
        return jourDe(s);
    // Only the days near the year need the zone.
    const int64_t bas = (m_premier - 2) * SecondesParJour, haut = (m_dernier + 3) * SecondesParJour;
    s = std::clamp(s, bas, haut);
    if (m_local) {
        icaltimetype t = icaltime_from_timet_with_zone(static_cast<time_t>(s), 0, m_local);
        return jourMural(t);
    }
    time_t tt = static_cast<time_t>(s);
    std::tm r{};
    if (!localtime_r(&tt, &r))
        return jourDe(s);
    return JoursDepuisEpoque({r.tm_mday, r.tm_mon + 1, r.tm_year + 1900});
}

bool Lecture::couvrir(int64_t j0, int64_t j1)
{
    j0 = std::max(j0, m_premier);
    j1 = std::min(j1, m_dernier);
    for (int64_t j = j0; j <= j1; ++j)
        m_jours[static_cast<size_t>(j - m_premier)] = true;
    return j0 <= j1;
}

int64_t secondesDuree(const icaldurationtype& d)
{
    const int64_t s = static_cast<int64_t>(std::min(d.weeks, 100000u)) * 7 * SecondesParJour
                      + static_cast<int64_t>(std::min(d.days, 1000000u)) * SecondesParJour
                      + static_cast<int64_t>(std::min(d.hours, 100000000u)) * 3600
                      + static_cast<int64_t>(std::min(d.minutes, 100000000u)) * 60
                      + static_cast<int64_t>(std::min(d.seconds, 100000000u));
    return d.is_neg ? 0 : s;
}

// Steps of its frequency libical goes through per day.
int64_t pasParJour(icalrecurrencetype_frequency f)
{
    switch (f) {
    case ICAL_SECONDLY_RECURRENCE: return SecondesParJour;
    case ICAL_MINUTELY_RECURRENCE: return 1440;
    case ICAL_HOURLY_RECURRENCE: return 24;
    default: return 1;
    }
}

void Lecture::expanser(const icalrecurrencetype& regle, const icaltimetype& debut, int64_t dureeJours,
                       const std::function<void(const icaltimetype&)>& occurrence)
{
    const auto le = [&](int64_t jour) {
        icaltimetype t = debut;
        const Date d = DateDeJours(jour);
        t.year = d.annee, t.month = d.mois, t.day = d.jour;
        return t;
    };
    ExpansionIcs e;
    e.debut = jourMural(debut);
    e.depuis = m_premier - dureeJours - 3;
    e.jusqua = std::min(m_dernier + 2, JoursDepuisEpoque({31, 12, AnneeMax}));
    e.travail = &m_travail;
    e.travailMax = TravailMaxIcs;
    if (!icaltime_is_null_time(regle.until) && TempsIcsValide(regle.until)) {
        // The last day whose occurrence (at the start's time) is not after UNTIL.
        int64_t jour = jourMural(regle.until) + 1;
        if (regle.until.is_date || debut.is_date)
            jour = jourMural(regle.until);
        else
            while (jour >= jourMural(regle.until) - 1 && instant(le(jour)) > instant(regle.until))
                --jour;
        e.jusqua = std::min(e.jusqua, jour);
    }
    if (!ExpanserRegle(regle, e, [&](int64_t jour) { occurrence(le(jour)); }))
        throw TropComplexe{};
}

void Lecture::repeter(icalrecurrencetype regle, const icaltimetype& debut, int64_t dureeJours,
                      const std::function<void(const icaltimetype&)>& occurrence)
{
    if (regle.freq == ICAL_NO_RECURRENCE || regle.interval < 1 || RegleSansOccurrence(regle))
        return;
    if (RegleExpansible(regle)) {
        expanser(regle, debut, dureeJours, occurrence);
        return;
    }
    // libical gives no repetition past DerniereAnneeFuseaux: a rule that may
    // reach a later year is said to be beyond reach rather than shown in part.
    if (DateDeJours(m_dernier).annee > DerniereAnneeFuseaux
        && (icaltime_is_null_time(regle.until) || regle.until.year > DerniereAnneeFuseaux))
        throw RepetitionsLointaines{};
    // Nothing after the year matters: the rule stops a few days after it, which
    // also bounds libical's search for the next match of a rule that never matches.
    icaltimetype limite = debut;
    const Date apres = DateDeJours(m_dernier + 3);
    limite.year = apres.annee, limite.month = apres.mois, limite.day = apres.jour;
    limite.hour = limite.minute = limite.second = 0;
    if (icaltime_is_null_time(regle.until) || icaltime_compare(regle.until, limite) > 0)
        regle.until = limite;
    // Occurrences that start well before the year cannot reach it (a count
    // runs from the first one, though).
    int64_t depart = jourMural(debut);
    const int64_t utile = m_premier - dureeJours - 3;
    if (regle.count == 0 && utile > depart)
        depart = utile;
    const int64_t pas = (m_dernier + 3 - depart) * pasParJour(regle.freq) / regle.interval;
    if (pas > PasMaxParRegle || (pasParJour(regle.freq) > 1 && (m_pasInfraJour += pas) > PasInfraJourMax))
        throw TropComplexe{};

    std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator*)> it(icalrecur_iterator_new(regle, debut),
                                                                          icalrecur_iterator_free);
    if (!it)
        return;
    if (depart > jourMural(debut)) {
        icaltimetype t = debut;
        const Date d = DateDeJours(depart);
        t.year = d.annee, t.month = d.mois, t.day = d.jour;
        icalrecur_iterator_set_start(it.get(), t);
    }
    for (;;) {
        const icaltimetype t = icalrecur_iterator_next(it.get());
        if (!TempsIcsValide(t) || jourMural(t) > m_dernier + 2)
            break;
        occurrence(t);
    }
}

void Lecture::evenement(icalcomponent* ev, const Exclusions* deplacees)
{
    icalproperty* pDebut = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
    if (!pDebut)
        return;
    const icaltimetype debut = temps(pDebut, icalproperty_get_dtstart(pDebut));
    if (icaltime_is_null_time(debut))
        return;
    const bool journee = debut.is_date;
    const bool flottant = !journee && !debut.zone && !icaltime_is_utc(debut);

    // Length: whole days for an all-day event, seconds otherwise.
    int64_t duree = 0;
    icalproperty* pFin = icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY);
    icalproperty* pDuree = icalcomponent_get_first_property(ev, ICAL_DURATION_PROPERTY);
    icaltimetype fin = pFin ? temps(pFin, icalproperty_get_dtend(pFin)) : icaltime_null_time();
    if (!icaltime_is_null_time(fin))
        duree = journee ? jourMural(fin) - jourMural(debut) : instant(fin) - instant(debut);
    else if (pDuree) {
        const int64_t s = secondesDuree(icalproperty_get_duration(pDuree));
        duree = journee ? (s + SecondesParJour - 1) / SecondesParJour : s;
    }
    if (journee)
        duree = std::clamp<int64_t>(duree, 1, 100000);
    else
        duree = std::clamp<int64_t>(duree, 0, 100000 * SecondesParJour);
    const int64_t dureeJours = journee ? duree : (duree + SecondesParJour - 1) / SecondesParJour;

    Exclusions exclues;
    for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(ev, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype x = temps(p, icalproperty_get_exdate(p));
        if (icaltime_is_null_time(x))
            continue;
        if (x.is_date && !journee)
            exclues.jours.insert(jourMural(x));
        else
            exclues.instants.insert(instant(x));
    }

    bool touche = false;
    auto occurrence = [&](icaltimetype t, int64_t dureeOcc) {
        if (++m_occurrences > OccurrencesMaxIcs)
            throw TropComplexe{};
        t.is_date = journee;
        t.zone = journee ? nullptr : debut.zone;
        const int64_t s = instant(t);
        if (exclues.contient(t, s) || (deplacees && deplacees->contient(t, s)))
            return;
        if (journee) {
            const int64_t j = jourMural(t);
            touche = couvrir(j, j + dureeOcc - 1) || touche;
        } else {
            const int64_t j0 = jourLocal(s, flottant);
            const int64_t j1 = dureeOcc > 0 ? jourLocal(s + dureeOcc - 1, flottant) : j0;
            touche = couvrir(j0, j1) || touche;
        }
    };

    occurrence(debut, duree);

    // A moved occurrence stands alone: its own dates only.
    if (!icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY)) {
        for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(ev, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype r = icalproperty_get_rdate(p);
            if (!icaltime_is_null_time(r.time)) {
                const icaltimetype t = temps(p, r.time);
                if (!icaltime_is_null_time(t) && t.is_date == journee)
                    occurrence(t, duree);
            } else if (!journee && !icalperiodtype_is_null_period(r.period)) {
                const icaltimetype t = temps(p, r.period.start);
                if (icaltime_is_null_time(t) || t.is_date)
                    continue;
                int64_t d = 0;
                const icaltimetype f = temps(p, r.period.end);
                if (!icaltime_is_null_time(f))
                    d = instant(f) - instant(t);
                else
                    d = secondesDuree(r.period.duration);
                occurrence(t, std::clamp<int64_t>(d, 0, 100000 * SecondesParJour));
            }
        }

        for (icalproperty* p = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(ev, ICAL_RRULE_PROPERTY))
            repeter(icalproperty_get_rrule(p), debut, dureeJours, [&](const icaltimetype& t) { occurrence(t, duree); });
    }

    if (touche) {
        nommer(ev);
        const char* uid = icalcomponent_get_uid(ev);
        // Appends, not "#" + string: GCC 12 sees a false overlap there (-Wrestrict).
        m_evenements.insert(uid && *uid ? std::string("u").append(uid)
                                        : std::string("#").append(std::to_string(++m_sansUid)));
    }
}

// The event's name, kept once: control characters as blanks, cut to a whole
// character within LongueurNomIcs bytes.
void Lecture::nommer(icalcomponent* ev)
{
    const char* resume = icalcomponent_get_summary(ev);
    if (!resume || m_noms.size() >= NomsMaxIcs)
        return;
    std::string nom(std::string_view(resume).substr(0, LongueurNomIcs + 1));
    CouperUtf8(nom, LongueurNomIcs);
    for (char& c : nom)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    nom = std::string(SansBlancs(nom, " "));
    if (!nom.empty() && std::find(m_noms.begin(), m_noms.end(), nom) == m_noms.end())
        m_noms.push_back(std::move(nom));
}

void Lecture::calendrier(icalcomponent* cal)
{
    m_cal = cal;
    icalproperty* methode = icalcomponent_get_first_property(cal, ICAL_METHOD_PROPERTY);
    m_annulation = methode && icalproperty_get_method(methode) == ICAL_METHOD_CANCEL;

    // Occurrences moved or cancelled one by one, by event.
    std::map<std::string, Exclusions> deplacees;
    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        icalproperty* p = icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY);
        const char* uid = icalcomponent_get_uid(ev);
        if (!p || !uid)
            continue;
        const icaltimetype t = temps(p, icalproperty_get_recurrenceid(p));
        if (icaltime_is_null_time(t))
            continue;
        Exclusions& e = deplacees[uid];
        e.instants.insert(instant(t));
        if (t.is_date)
            e.jours.insert(jourMural(t));
    }

    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        if (m_annulation || icalcomponent_get_status(ev) == ICAL_STATUS_CANCELLED)
            continue;
        const char* uid = icalcomponent_get_uid(ev);
        const Exclusions* d = nullptr;
        if (uid && !icalcomponent_get_first_property(ev, ICAL_RECURRENCEID_PROPERTY)) {
            auto it = deplacees.find(uid);
            if (it != deplacees.end())
                d = &it->second;
        }
        evenement(ev, d);
    }
}

ImportIcs Lecture::resultat() const
{
    ImportIcs r;
    r.periode = m_periode;
    r.jours = m_jours;
    r.nombreJours = static_cast<int>(std::count(m_jours.begin(), m_jours.end(), true));
    r.nombreEvenements = static_cast<int>(m_evenements.size());
    r.noms = m_noms;
    r.etat = r.nombreJours > 0 ? EtatIcs::Ok : EtatIcs::AucunEvenement;
    return r;
}

ImportIcs refus(EtatIcs etat, const Periode& periode)
{
    ImportIcs r;
    r.etat = etat;
    r.periode = periode;
    return r;
}

} // namespace

ImportIcs LireIcs(std::string_view contenu, const Periode& periode, const std::string& zoneLocale)
{
    if (contenu.size() > TailleMaxIcs)
        return refus(EtatIcs::TropGros, periode);
    std::string lu; // also the C string libical reads
    const EtatIcs texte = PreparerTexteIcs(contenu, lu);
    if (texte != EtatIcs::Ok)
        return refus(texte, periode);

    icalerror_set_errors_are_fatal(0);
    Calendrier arbre;
    arbre.racine = icalparser_parse_string(lu.c_str());
    icalerror_clear_errno();
    if (!arbre.racine)
        return refus(EtatIcs::PasIcal, periode);
    const std::vector<icalcomponent*> cals = calendriers(arbre.racine);
    if (cals.empty())
        return refus(EtatIcs::PasIcal, periode);
    if (periode.annee < 1 || periode.annee + (periode.scolaire() ? 1 : 0) > AnneeMax)
        return refus(EtatIcs::AucunEvenement, periode);

    retirerZonesDouteuses(arbre.racine);
    for (icalcomponent* cal : cals)
        if (!PreparerFuseauxIcs(cal, periode.annee))
            return refus(EtatIcs::TropComplexe, periode);

    icaltimezone* local = zoneLocale.empty() || zoneLocale.find("..") != std::string::npos
                              ? nullptr
                              : icaltimezone_get_builtin_timezone(zoneLocale.c_str());
    Lecture lecture(periode, local);
    try {
        for (icalcomponent* cal : cals)
            lecture.calendrier(cal);
    } catch (const TropComplexe&) {
        icalerror_clear_errno();
        return refus(EtatIcs::TropComplexe, periode);
    } catch (const RepetitionsLointaines&) {
        icalerror_clear_errno();
        return refus(EtatIcs::RepetitionsLointaines, periode);
    }
    icalerror_clear_errno();
    return lecture.resultat();
}

ImportIcs LireFichierIcs(const std::filesystem::path& chemin, const Periode& periode, const std::string& zoneLocale)
{
    std::string contenu;
    switch (LireFichierBorne(chemin, TailleMaxIcs, contenu)) {
    case EtatLecture::Lu:
        break;
    case EtatLecture::TropGros:
        return refus(EtatIcs::TropGros, periode);
    default:
        return refus(EtatIcs::Illisible, periode);
    }
    return LireIcs(contenu, periode, zoneLocale);
}

std::vector<CaseSP> ColorerJours(const ImportIcs& import, double couleur, TableCouleursSP& table)
{
    std::vector<CaseSP> cases;
    if (import.etat != EtatIcs::Ok || import.jours.empty())
        return cases;
    // What a day click stores: the colour the cell's text takes.
    const Rvb c = VersRvb(couleur);
    const double valeur = DeRvb(c.r, c.g, c.b);
    const int64_t premier = JoursDepuisEpoque(PremierJour(import.periode));
    for (int m = 1; m <= 12; ++m) {
        const BlocMois bloc = RemplirMois(import.periode.annee, import.periode.premierMois + m - 1);
        for (int k = 0; k < CellulesParMois; ++k) {
            const CelluleJour& cel = bloc.cellules[static_cast<size_t>(k)];
            // Days before or after the period are not looked at.
            const int64_t j = JoursDepuisEpoque({cel.legende, bloc.mois + cel.Tag, bloc.annee}) - premier;
            if (j < 0 || j >= static_cast<int64_t>(import.jours.size()) || !import.jours[static_cast<size_t>(j)])
                continue;
            table[m][k] = valeur;
            cases.push_back({m, k});
        }
    }
    return cases;
}

std::string MotifIcs(const ImportIcs& import)
{
    const std::string an = TextePeriode(import.periode);
    switch (import.etat) {
    case EtatIcs::Ok:
        return std::to_string(import.nombreJours) + (import.nombreJours > 1 ? " jours de " : " jour de ") + an
               + " dans " + std::to_string(import.nombreEvenements)
               + (import.nombreEvenements > 1 ? " événements" : " événement")
               + (import.noms.empty() ? "" : " : " + NomsEvenementsIcs(import));
    case EtatIcs::AucunEvenement: return "Ce calendrier n'a aucun événement en " + an;
    case EtatIcs::Illisible: return "Le fichier n'a pas pu être lu";
    case EtatIcs::TropGros:
        return "Ce fichier est trop gros pour un calendrier (plus de " + std::to_string(TailleMaxIcs / (1024 * 1024))
               + " Mo)";
    case EtatIcs::PasIcal: return "Ce fichier n'est pas un calendrier iCalendar (.ics)";
    case EtatIcs::Tronque: return "Ce calendrier est incomplet (fichier tronqué ou abîmé)";
    case EtatIcs::RepetitionsLointaines:
        return "Les répétitions de ce calendrier ne peuvent pas être montrées après "
               + std::to_string(DerniereAnneeFuseaux) + " (BYSETPOS, BYYEARDAY, BYWEEKNO ou moins d'un jour)";
    case EtatIcs::TropComplexe:
        return "Ce calendrier est trop complexe (répétitions trop nombreuses, fuseaux horaires, lignes ou "
               "imbrications démesurées)";
    }
    return {};
}

std::string MessageIcs(const ImportIcs& import)
{
    return MotifIcs(import) + (import.etat == EtatIcs::Ok ? "" : " : rien n'est changé.");
}

ImportIcs ImporterIcs(const std::filesystem::path& chemin, const Periode& periode, double couleur,
                      TableCouleursSP& table, const std::string& zoneLocale)
{
    ImportIcs r = LireFichierIcs(chemin, periode, zoneLocale);
    ColorerJours(r, couleur, table);
    return r;
}

std::string NomsEvenementsIcs(const ImportIcs& import, std::size_t premiers)
{
    const std::vector<std::string>& n = import.noms;
    std::string texte;
    const std::size_t montres = n.size() > premiers + 1 ? premiers : n.size();
    for (std::size_t i = 0; i < montres; ++i)
        texte += (i == 0 ? "" : i + 1 == montres && montres == n.size() ? " et " : ", ") + n[i];
    if (montres < n.size())
        texte += " et " + std::to_string(n.size() - montres) + " autres";
    return texte;
}

std::string EtiquetteIcs(const ImportIcs& import, std::string_view nomFichier)
{
    // Words made of more than punctuation, as the first name gives them.
    const auto mots = [](std::string_view t) {
        std::vector<std::string> m;
        for (size_t i = 0; i < t.size();) {
            const size_t fin = std::min(t.find(' ', i), t.size());
            const std::string_view mot = t.substr(i, fin - i);
            if (std::any_of(mot.begin(), mot.end(), [](char c) {
                    return static_cast<unsigned char>(c) >= 0x80 || std::isalnum(static_cast<unsigned char>(c));
                }))
                m.emplace_back(mot);
            i = fin + 1;
        }
        return m;
    };
    std::string etiquette;
    if (!import.noms.empty()) {
        std::vector<std::string> communs = mots(import.noms.front());
        for (const std::string& nom : import.noms) {
            const std::vector<std::string> m = mots(nom);
            std::erase_if(communs, [&m](const std::string& w) { return std::find(m.begin(), m.end(), w) == m.end(); });
        }
        // Small linking words at either end name nothing ("Anniversaire de").
        const auto lien = [](const std::string& w) {
            for (const char* l : {"de", "d'", "du", "des", "la", "le", "les", "l'", "et", "à", "au", "aux", "en"})
                if (w.size() == std::string_view(l).size()
                    && std::equal(w.begin(), w.end(), l, [](char a, char b) { return MinusculeAscii(a) == b; }))
                    return true;
            return false;
        };
        while (!communs.empty() && lien(communs.back()))
            communs.pop_back();
        while (!communs.empty() && lien(communs.front()))
            communs.erase(communs.begin());
        for (const std::string& w : communs)
            etiquette += (etiquette.empty() ? "" : " ") + w;
    }
    if (etiquette.empty()) {
        const size_t barre = nomFichier.find_last_of('/');
        std::string_view base = barre == std::string_view::npos ? nomFichier : nomFichier.substr(barre + 1);
        if (const size_t point = base.find_last_of('.'); point != std::string_view::npos && point > 0)
            base = base.substr(0, point);
        etiquette = base;
    }
    return etiquette;
}
