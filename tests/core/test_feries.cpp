#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <chrono>

#include "calendar/Feries.h"
#include "commun/Texte.h"
#include "calendar/Periode.h"
#include "colour/ModeleFeuille.h"
#include "tests/Verifier.h"

using namespace std::chrono;

struct CompteErreurs : RapportPaques { int n = 0; void ErreurPaques(const std::string&) override { ++n; } };

BlocMois Bloc(int a, int mois, AffichageFeries aff = {}, RapportPaques* r = nullptr)
{
    BlocMois b = RemplirMois(a, mois);
    CouleurFerie(b, aff, r);
    return b;
}

// Easter by the epact method (Clavius' tables as worked out by Knuth).
sys_days PaquesParEpacte(int Y)
{
    const int G = Y % 19 + 1, C = Y / 100 + 1, X = 3 * C / 4 - 12, Z = (8 * C + 5) / 25 - 5, D = 5 * Y / 4 - X - 10;
    const int E0 = (11 * G + 20 + Z - X) % 30, E = E0 + ((E0 == 25 && G > 11) || E0 == 24);
    const int N0 = E > 23 ? 74 - E : 44 - E, N = N0 + 7 - (D + N0) % 7;
    return N > 31 ? sys_days{year{Y} / April / (N - 31)} : sys_days{year{Y} / March / N};
}

// Dates where a region differs from the metropolitan calendar by Debian's python3-holidays, less its other name for
// Christmas and, outside Alsace-Moselle, Good Friday and 21 July (not public holidays in the law the table follows).
const char* const ScriptHolidays = R"(
import sys, holidays
ans = range(int(sys.argv[1]), int(sys.argv[2]) + 1)
metro = holidays.France(years=ans)
for r, prov in enumerate(sys.argv[3:], 1):
    hors = ['Premier jour de Noël'] + ['Vendredi saint', 'Fête Victor Schoelcher'] * (prov != 'Alsace-Moselle')
    for d, nom in sorted(holidays.France(prov=prov, years=ans).items()):
        if metro.get(d) != nom and nom not in hors:
            print(r, d.isoformat())
)";

// The neighbours' days by python3-holidays 0.10, 2000 to 2040, without the Sundays it lists (Easter, Pentecost) and
// with what their laws say where it differs: Geneva has no 2 January and the Escalade is no public holiday, but the
// Jeûne genevois is; Neuchâtel has 2 January and 26 December only after a Sunday, and the Lundi du Jeûne; Fribourg's
// official days are those of its Catholic part (2 January, Easter and Whit Mondays, 26 December are those of its
// Reformed communes); Whit Monday is no official holiday in Valais; Québec has Good Friday, no Boxing Day, and 24 June
// and 1 July move to a Monday.
const char* const ScriptVoisins = R"(
import sys, holidays
from datetime import date, timedelta
from dateutil.easter import easter
un = timedelta(1)
for code in sys.argv[1:]:
    pays, _, prov = code.partition('-')
    jours = set()
    for a in range(2000, 2041):
        e, j = easter(a), lambda m, d: date(a, m, d)
        h = set(getattr(holidays, pays)(years=a, observed=False, **({'prov': prov} if prov else {}))) - {e, e + 49 * un}
        dim = lambda d: d.weekday() == 6
        h -= {'CH-GE': {j(1, 2), j(12, 12)}, 'CH-NE': {j(1, 2), j(12, 26)}, 'CH-FR': {j(1, 2), e + un, e + 50 * un, j(12, 26)},
              'CH-VS': {e + 50 * un}, 'CA-QC': {j(12, 26)} | {d for d in (j(6, 24), j(7, 1)) if dim(d)}}.get(code, set())
        h |= {'CH-GE': {j(9, 1) + (6 - j(9, 1).weekday()) * un + 4 * un},
              'CH-NE': {j(9, 15) + (6 - j(9, 15).weekday()) * un + un} | {d + un for d in (j(1, 1), j(12, 25)) if dim(d)},
              'CH-FR': {e + 60 * un, j(8, 15), j(11, 1), j(12, 8)},
              'CA-QC': {e - 2 * un} | {d + un for d in (j(6, 24), j(7, 1)) if dim(d)}}.get(code, set())
        jours |= h
    print(code, *sorted(d.isoformat() for d in jours))
)";

class TestFeries : public QObject {
    Q_OBJECT
private slots:
    void toutesLesAnnees()
    {
        // Every year: the holiday-coloured days are exactly the year's holidays, named after the last matching row
        // (Ascension on 1 May in 2008, on 8 May in 1997: the fixed holiday's name). Grey cells carry the tooltip of
        // any holiday they show, Easter's only when its Sunday is in cells 0 to 40 (its Monday inside the block).
        // Weekends off: only the weekend colour goes; holidays off: the holiday colour and tooltips go.
        CompteErreurs rapport;
        for (int Y = 1583; Y <= 9999; ++Y) {
            const sys_days e = PaquesParEpacte(Y), l = e + days{1};
            const auto j = [Y](int m, int d, int a = 0) { return sys_days{year{Y + a} / m / d}; };
            const std::pair<sys_days, const char*> table[] = {
                {e, "Dimanche de Pâques"}, {l, " Lundi de Pâques "}, {e + days{39}, " Jeudi de l'Ascension "},
                {e + days{50}, " Lundi de Pentecôte "}, {j(1, 1), " Jour de l'An "}, {j(5, 1), " Fête du travail "},
                {j(5, 8), " Armistice 8 mai 1945 "}, {j(7, 14), " Fête nationnale "}, {j(8, 15), " Assomption "},
                {j(11, 1), " Toussaint "}, {j(11, 11), " Armistice 11 Novembre 1918 "}, {j(12, 25), " Noël "},
                {j(12, 25, -1), " Noël "}, {j(1, 1, 1), " Jour de l'An "}};
            for (int mois = 1; mois <= 12; ++mois) {
                const BlocMois b = Bloc(Y, mois, {}, &rapport), vierge = RemplirMois(Y, mois);
                const BlocMois sansWE = Bloc(Y, mois, {false, true}), sansF = Bloc(Y, mois, {true, false});
                const sys_days cellule0 = j(mois, 1) - days{(weekday{j(mois, 1)} - Tuesday).count() + 1};
                const bool paquesVue = e >= cellule0 && e - cellule0 <= days{CellulesParMois - 2};
                for (int k = 0; k < CellulesParMois; ++k) {
                    const CelluleJour& c = b.cellules[k];
                    std::string n = vierge.cellules[k].infoBulle;
                    for (const auto& [date, texte] : table)
                        if (date == cellule0 + days{k} && (c.gras || paquesVue || (date != e && date != l))) {
                            // The name and the ISO week: that of the week's Thursday, counted in its year.
                            const sys_days jeudi = date - days{(weekday{date} - Monday).count()} + days{3};
                            const int semaine = int((jeudi - sys_days{year_month_day{jeudi}.year() / 1 / 1}).count() / 7 + 1);
                            n = std::string(SansBlancs(texte, " ")) + ", semaine " + std::to_string(semaine);
                        }
                    const Fond ordinaire = !c.gras ? Fond::Gris : k % 7 >= 5 ? Fond::WeekEnd : Fond::Jours;
                    const Fond f = c.gras && n != vierge.cellules[k].infoBulle ? Fond::Ferie : ordinaire;
                    if (c.fond != f || c.infoBulle != n || sansF.cellules[k].fond != ordinaire
                        || sansF.cellules[k].infoBulle != vierge.cellules[k].infoBulle
                        || sansWE.cellules[k].fond != (f == Fond::WeekEnd ? Fond::Jours : f))
                        QFAIL(qPrintable(QString("%1/%2 cell %3").arg(Y).arg(mois).arg(k)));
                }
            }
        }
        for (int Y : {-1, 0, 99, 10000}) // outside the usual range: still March or April
            DimanchePaques(Y, &rapport);
        QCOMPARE(rapport.n, 0);
    }

    void regions()
    {
        // Unseen by the cross-check below: a regional day in a grey cell (cell 0: 26/12/2022 before January, 27/4/2026
        // before May), on a national one (10/6/2030: its own name wins), with the holiday box off (26/12/2027).
        const auto cas = [](int a, int m, AffichageFeries aff, int k) {
            const CelluleJour c = Bloc(a, m, aff).cellules[k];
            return c.infoBulle + (c.fond == Fond::Gris ? "gris" : c.fond == Fond::Ferie ? "férié" : "");
        };
        QCOMPARE(cas(2023, 1, {true, true, Region::AlsaceMoselle}, 0), "Saint-Étienne, semaine 52gris");
        QCOMPARE(cas(2026, 5, {true, true, Region::Mayotte}, 0), "Abolition de l'esclavage, semaine 18gris");
        QCOMPARE(cas(2030, 6, {true, true, Region::Guyane}, 14), "Abolition de l'esclavage, semaine 24férié");
        QCOMPARE(cas(2027, 12, {true, false, Region::AlsaceMoselle}, 27), "Semaine  51");
        QCOMPARE(cas(2027, 1, {true, true, Region::Geneve}, 3), "Restauration de la République, semaine 53gris");
        // Names: case, accents (UTF-8 or Latin-1), blanks, the article, "canton de" do not matter; anything else does.
        for (auto [texte, region] :
             {std::pair{"M\xC9TROPOLE", 0}, {"  alsace  moselle ", 1}, {"alsace", 1}, {"Moselle", 1}, {"guadeloupe", 2},
              {"La R\xE9union", 5}, {"LA RÉUNION", 5}, {"Réunion", 5}, {"la reunion", 5}, {"reunion", 5}, {"", -1},
              {"Alsace_Moselle", -1}, {"Corse", -1}, {"la", -1}, {"canton", -1}, {"belgique", 7}, {"le Luxembourg", 8},
              {"geneve", 10}, {"canton de Vaud", 11}, {"Canton de Neuch\xE2tel", 12}, {"JURA", 13}, {"quebec", 16}})
            QVERIFY2((RegionDeTexte(texte) ? int(*RegionDeTexte(texte)) : -1) == region, texte);
        for (int r = 0; r < NombreRegions; ++r)
            QCOMPARE(RegionDeTexte(NomRegion(RegionNumero(r))), RegionNumero(r));
        // The days (region number, date) where a region's bold cells differ from the metropolitan calendar's.
        constexpr int Debut = 1981, Fin = 2300; // that library has La Réunion's day from 1981
        QStringList arguments{"-c", ScriptHolidays, QString::number(Debut), QString::number(Fin)}, trouve;
        constexpr int Francaises = int(Region::Belgique); // the neighbours are checked by voisins()
        for (int r = 1; r < Francaises; ++r)
            arguments << QString::fromUtf8(NomRegion(RegionNumero(r)));
        QProcess python;
        python.start("/usr/bin/python3", arguments);
        if (!python.waitForFinished(60000) || python.exitCode() != 0)
            QSKIP("no cross-check without /usr/bin/python3 and python3-holidays (Debian package)");
        QStringList attendu = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        for (int r = 1; r < Francaises; ++r) // in the script's order: by region, then by date
            for (int Y = Debut; Y <= Fin; ++Y)
                for (int mois = 1; mois <= 12; ++mois) {
                    const BlocMois metro = Bloc(Y, mois);
                    for (int k = 0; const CelluleJour& c : Bloc(Y, mois, {true, true, RegionNumero(r)}).cellules)
                        if (const CelluleJour& m = metro.cellules[k++];
                            c.gras && (c.fond != m.fond || c.infoBulle != m.infoBulle))
                            trouve << QString::asprintf("%d %d-%02d-%02d", r, Y, mois, c.legende);
                }
        QCOMPARE(trouve, attendu);
    }

    void voisins()
    {
        // Each region's own days of a year (Alsace-Moselle's Good Friday moving with Easter), and each neighbour's,
        // written out from its law and calendars: a year with a holiday on a Sunday
        // (Monaco's Monday after six of them, not after 8 December 2024; Neuchâtel's 2 January and 26 December;
        // Québec's 25 June and 2 July), and the years before a holiday existed (Europe Day 2019, Jeûne genevois
        // 1966, 1 August 1994, plébiscite 1979, 1953, 1957).
        using enum Region;
        for (auto [r, a, attendu] :
             {std::tuple{Metropole, 2027, ""}, {AlsaceMoselle, 2027, "26/3 26/12"}, {AlsaceMoselle, 2025, "18/4 26/12"},
              {Guadeloupe, 2027, "27/5"}, {Martinique, 2027, "22/5"}, {Guyane, 2031, "10/6"}, {LaReunion, 2026, "20/12"},
              {Mayotte, 2028, "27/4"}, {Belgique, 2027, "1/1 29/3 1/5 6/5 17/5 21/7 15/8 1/11 11/11 25/12"},
              {Belgique, 1946, ""},
              {Luxembourg, 2027, "1/1 29/3 1/5 6/5 9/5 17/5 23/6 15/8 1/11 25/12 26/12"},
              {Luxembourg, 2018, "1/1 2/4 1/5 10/5 21/5 23/6 15/8 1/11 25/12 26/12"}, {Luxembourg, 1975, ""},
              {Monaco, 2023, "1/1 2/1 27/1 10/4 1/5 18/5 29/5 8/6 15/8 1/11 19/11 20/11 8/12 25/12"},
              {Monaco, 2024, "1/1 27/1 1/4 1/5 9/5 20/5 30/5 15/8 1/11 19/11 8/12 25/12"}, {Monaco, 1965, ""},
              {Geneve, 2027, "1/1 26/3 29/3 6/5 17/5 1/8 9/9 25/12 31/12"},
              {Geneve, 2026, "1/1 3/4 6/4 14/5 25/5 1/8 10/9 25/12 31/12"},
              {Geneve, 1965, "1/1 16/4 19/4 27/5 7/6 25/12 31/12"},
              {Vaud, 2027, "1/1 2/1 26/3 29/3 6/5 17/5 1/8 20/9 25/12"},
              {Vaud, 1831, "1/1 2/1 1/4 4/4 12/5 23/5 25/12"},
              {Neuchatel, 2023, "1/1 2/1 1/3 7/4 10/4 1/5 18/5 29/5 1/8 18/9 25/12"},
              {Neuchatel, 2022, "1/1 1/3 15/4 18/4 1/5 26/5 6/6 1/8 19/9 25/12 26/12"},
              {Jura, 2027, "1/1 2/1 26/3 29/3 1/5 6/5 17/5 27/5 23/6 1/8 15/8 1/11 25/12"},
              {Jura, 1978, "1/1 2/1 24/3 27/3 4/5 15/5 25/5 15/8 1/11 25/12"},
              {Fribourg, 2027, "1/1 26/3 6/5 27/5 1/8 15/8 1/11 8/12 25/12"},
              {Valais, 2027, "1/1 19/3 6/5 27/5 1/8 15/8 1/11 8/12 25/12"},
              {Quebec, 2027, "1/1 26/3 29/3 24/5 24/6 1/7 6/9 11/10 25/12"},
              {Quebec, 2018, "1/1 30/3 2/4 21/5 25/6 2/7 3/9 8/10 25/12"},
              {Quebec, 1952, "1/1 11/4 14/4 24/6 1/7 1/9 25/12"}}) {
            std::vector<std::pair<int, int>> jours;
            for (const FerieRegional& f : FeriesRegionaux(r, a))
                jours.push_back({f.date.mois * 100 + f.date.jour, f.date.annee - a});
            std::sort(jours.begin(), jours.end());
            QStringList texte;
            for (auto [md, ecart] : jours)
                texte << QString("%1/%2%3").arg(md % 100).arg(md / 100).arg(ecart ? "?" : "");
            QVERIFY2(texte.join(' ') == attendu, NomRegion(r));
        }
        // The moving days for every year of their rules, by the weekdays of the calendar library.
        for (int Y = 1583; Y <= 9999; ++Y) {
            const sys_days mai24{year{Y} / May / 24}, patriotes = mai24 - (weekday{mai24} - Monday);
            for (auto [r, debut, fin, bulle, jour] :
                 {std::tuple{Quebec, 2003, 9999, " Journée nationale des patriotes ", patriotes},
                  {Quebec, 1953, 2002, " Fête de Dollard ", patriotes},
                  {Quebec, 1894, 9999, " Fête du Travail ", sys_days{year{Y} / September / Monday[1]}},
                  {Quebec, 1957, 9999, " Action de grâces ", sys_days{year{Y} / October / Monday[2]}},
                  {Geneve, 1966, 9999, " Jeûne genevois ", sys_days{year{Y} / September / Sunday[1]} + days{4}},
                  {Vaud, 1832, 9999, " Lundi du Jeûne fédéral ", sys_days{year{Y} / September / Sunday[3]} + days{1}},
                  {Monaco, 1966, weekday{sys_days{year{Y} / November / 19}} == Sunday ? 9999 : 0,
                   " Fête du Prince (reportée) ", sys_days{year{Y} / November / 20}}}) {
                const year_month_day d{jour};
                const Date date{int(unsigned(d.day())), int(unsigned(d.month())), Y};
                const auto liste = FeriesRegionaux(r, Y);
                if (std::any_of(liste.begin(), liste.end(), [&](const FerieRegional& f) {
                        return f.date == date && std::string_view(f.bulle) == bulle;
                    }) != (Y >= debut && Y <= fin))
                    QFAIL(qPrintable(QString("%1 %2").arg(Y).arg(bulle)));
            }
        }
        // Against Debian's python3-holidays, less the days judged its faults (see ScriptVoisins).
        constexpr std::pair<Region, const char*> Codes[] = {{Belgique, "BE"}, {Luxembourg, "LU"}, {Geneve, "CH-GE"},
                                                            {Vaud, "CH-VD"}, {Neuchatel, "CH-NE"}, {Jura, "CH-JU"},
                                                            {Fribourg, "CH-FR"}, {Valais, "CH-VS"}, {Quebec, "CA-QC"}};
        QStringList arguments{"-c", ScriptVoisins}, trouve;
        for (auto [r, code] : Codes) {
            QStringList l{code};
            for (int Y = 2000; Y <= 2040; ++Y) {
                QStringList an;
                for (const FerieRegional& f : FeriesRegionaux(r, Y))
                    an << QString::asprintf("%d-%02d-%02d", f.date.annee, f.date.mois, f.date.jour);
                an.sort();
                an.removeDuplicates(); // Ascension on 1 May, on 9 May
                l << an;
            }
            arguments << code;
            trouve << l.join(' ');
        }
        QProcess python;
        python.start("/usr/bin/python3", arguments);
        if (!python.waitForFinished(60000) || python.exitCode() != 0)
            QSKIP("no cross-check without /usr/bin/python3 and python3-holidays (Debian package)");
        QCOMPARE(trouve, QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts));
    }

    // A school year's sheet: September to August, each block the same as on the sheet of its own year (holidays,
    // regional days, weeks, grey days across 31 December), whatever the year and the region.
    void anneeScolaire()
    {
        const auto feuille = [](int Y, int premier, Region r) {
            return ConstruireFeuille({Y, premier, true, true, r}, {}, TableCouleursSP{});
        };
        for (int Y = AnneeMin; Y < AnneeMax; ++Y)
            for (int r = 0; r < NombreRegions; r += Y >= 2020 && Y <= 2040 ? 1 : NombreRegions) {
                const ModeleFeuille s = feuille(Y, 9, RegionNumero(r)), a = feuille(Y, 1, RegionNumero(r)),
                                    b = feuille(Y + 1, 1, RegionNumero(r));
                for (int m = 1; m <= 12; ++m)
                    if (!(s.bloc(m) == (m <= 4 ? a : b).bloc(m <= 4 ? m + 8 : m - 4)))
                        QFAIL(qPrintable(QString("%1-%2, région %3, bloc %4").arg(Y).arg(Y + 1).arg(r).arg(m)));
            }
        // Golden days: 11 November and Easter Monday, weeks 53 and 1, 29 February 2028, Easter in April, Ascension on
        // 8 May 1997, 1 May 2022 on a Sunday, La Réunion's 20 December, Mayotte's 27 April; no 14 July in Belgium,
        // Québec's 24 June moved off a Sunday, Monaco's Monday after a Sunday holiday.
        using enum Region;
        using enum Fond;
        for (auto [Y, r, date, bulle, fond] :
             {std::tuple{2026, Metropole, Date{11, 11, 2026}, "Armistice 11 Novembre 1918, semaine 46", Ferie},
              {2026, Metropole, {29, 3, 2027}, "Lundi de Pâques, semaine 13", Ferie}, {2027, Metropole, {29, 2, 2028}, "Semaine  9", Jours},
              {2026, Metropole, {31, 12, 2026}, "Semaine  53", Jours}, {2026, Metropole, {3, 1, 2027}, "Semaine  53", WeekEnd},
              {2026, Metropole, {4, 1, 2027}, "Semaine  1", Jours}, {2026, Metropole, {14, 7, 2027}, "Fête nationnale, semaine 28", Ferie},
              {2027, Metropole, {16, 4, 2028}, "Dimanche de Pâques, semaine 15", Ferie}, {2021, Metropole, {1, 5, 2022}, "Fête du travail, semaine 17", Ferie},
              {1996, Metropole, {8, 5, 1997}, "Armistice 8 mai 1945, semaine 19", Ferie},
              {2026, LaReunion, {20, 12, 2026}, "Abolition de l'esclavage, semaine 51", Ferie},
              {2027, Mayotte, {27, 4, 2028}, "Abolition de l'esclavage, semaine 17", Ferie}}) {
            const ModeleFeuille f = feuille(Y, 9, r);
            const std::optional<PositionCase> p = CaseDuJour(f, date);
            QVERIFY2(p && f.cellule(*p).infoBulle == bulle && f.cellule(*p).fond == fond, bulle);
        }
    }
};

QTEST_APPLESS_MAIN(TestFeries)
#include "test_feries.moc"
