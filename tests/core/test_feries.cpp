#include <QProcess>
#include <QtTest>

#include <chrono>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "calendar/Date.h"
#include "calendar/Feries.h"
#include "calendar/Mois.h"

using namespace std::chrono;

namespace {

struct CompteErreurs : RapportPaques {
    int n = 0;
    void ErreurPaques(const std::string&) override { ++n; }
};

// Easter by the epact method (Clavius' tables as worked out by Knuth).
sys_days PaquesParEpacte(int Y)
{
    const int G = Y % 19 + 1, C = Y / 100 + 1;
    const int X = 3 * C / 4 - 12, Z = (8 * C + 5) / 25 - 5;
    const int D = 5 * Y / 4 - X - 10;
    int E = (11 * G + 20 + Z - X) % 30;
    if ((E == 25 && G > 11) || E == 24)
        ++E;
    int N = 44 - E;
    if (N < 21)
        N += 30;
    N = N + 7 - (D + N) % 7;
    return N > 31 ? sys_days{year{Y} / April / (N - 31)} : sys_days{year{Y} / March / N};
}

// The regional holidays as Debian's python3-holidays knows them: the dates
// where a region's calendar differs from the metropolitan one. That library
// also gives Good Friday to Guadeloupe, Guyane and Martinique and 21 July
// (Victor Schoelcher's day) to Guadeloupe and Martinique, which the law
// behind the program's table does not make public holidays: left out. It
// renames Christmas in Alsace-Moselle, the same day.
const char* const ScriptHolidays = R"(
import sys
from datetime import timedelta
import holidays
from dateutil.easter import easter
debut, fin = int(sys.argv[1]), int(sys.argv[2])
ans = range(debut, fin + 1)
metro = holidays.France(years=ans)
for prov in sys.argv[3:]:
    for d, nom in sorted(holidays.France(prov=prov, years=ans).items()):
        if metro.get(d) == nom or nom == 'Premier jour de Noël':
            continue
        if prov in ('Guadeloupe', 'Guyane', 'Martinique') and d == easter(d.year) - timedelta(days=2):
            continue
        if prov in ('Guadeloupe', 'Martinique') and (d.month, d.day) == (7, 21):
            continue
        print(prov, d.isoformat())
)";

BlocMois Bloc(int annee, int mois, AffichageFeries aff = {})
{
    BlocMois b = RemplirMois(annee, mois);
    CouleurFerie(b, aff);
    return b;
}

// The cell showing day `jour` with this Tag.
const CelluleJour& Cellule(const BlocMois& b, int jour, int tag = 0)
{
    for (const CelluleJour& c : b.cellules)
        if (c.legende == jour && c.Tag == tag)
            return c;
    static const CelluleJour absente{-1, 9, false, Fond::Gris, "absent"};
    return absente;
}

bool EstBulleSemaine(const std::string& s) { return s.starts_with("Semaine  "); }

// One cell of a region's calendar: its tooltip ("": the week tooltip) and background.
struct CasRegional {
    const char* nom;
    Region region;
    int annee, mois, jour, tag;
    bool feries;
    const char* bulle;
    Fond fond;
};

} // namespace

Q_DECLARE_METATYPE(CasRegional)

class TestFeries : public QObject {
    Q_OBJECT
private slots:
    void datesDePaques()
    {
        const Date cas[] = {{10, 4, 1583}, {23, 4, 2000}, {24, 4, 2011}, {27, 3, 2016},
                            {25, 4, 2038}, {28, 3, 2100}, {28, 3, 9999}, {31, 3, 2024}};
        // Known dates, of the program and of the independent computation.
        for (const Date& paques : cas) {
            QCOMPARE(DimanchePaques(paques.annee), paques);
            const year_month_day e{PaquesParEpacte(paques.annee)};
            QCOMPARE(int(unsigned(e.day())) * 100 + int(unsigned(e.month())), paques.jour * 100 + paques.mois);
        }
        CompteErreurs rapport;
        for (int Y : {-1, 0, 99, 10000}) { // outside the usual range: still a date in March or April, no error
            const int mois = DimanchePaques(Y, &rapport).mois;
            QVERIFY2(mois == 3 || mois == 4, qPrintable(QString::number(Y)));
        }
        QCOMPARE(rapport.n, 0);
    }

    void feriesDesMoisVoisins()
    {
        // Grey cells of the neighbouring months get the tooltip, not the colour
        // (the fixed holidays: every year in toutesLesAnnees).
        // Easter 2024: Sunday 31 March, Monday 1 April.
        const BlocMois mars = Bloc(2024, 3), avril = Bloc(2024, 4);
        // Easter 2010 (4 April) lies in cell 41 of the March block: marked by the April block only.
        const BlocMois mars2010 = Bloc(2010, 3);
        QCOMPARE(&Cellule(mars2010, 4, 1), &mars2010.cellules[41]);
        const std::tuple<const CelluleJour&, const char*, Fond> cas[] = {
            {Cellule(mars, 31), "Dimanche de Pâques", Fond::Ferie},
            {Cellule(mars, 1, 1), " Lundi de Pâques ", Fond::Gris},
            {Cellule(avril, 31, -1), "Dimanche de Pâques", Fond::Gris},
            {Cellule(avril, 1), " Lundi de Pâques ", Fond::Ferie},
            {mars2010.cellules[41], "", Fond::Gris},
        };
        for (const auto& [cellule, bulle, fond] : cas) {
            QCOMPARE(cellule.infoBulle, std::string(bulle));
            QCOMPARE(cellule.fond, fond);
        }
    }

    void casesACocher()
    {
        // Weekends off: Easter Sunday 2024 is still a holiday, the other weekend days stay plain.
        BlocMois b = Bloc(2024, 3, {false, true});
        QCOMPARE(Cellule(b, 31).fond, Fond::Ferie);
        QCOMPARE(Cellule(b, 24).fond, Fond::Jours);
        QCOMPARE(Cellule(b, 23).fond, Fond::Jours);

        // Holidays off: week tooltips everywhere, weekends still coloured.
        for (int mois = 1; mois <= 12; ++mois) {
            b = Bloc(2024, mois, {true, false});
            for (int k = 0; k < CellulesParMois; ++k) {
                const CelluleJour& c = b.cellules[k];
                QCOMPARE(c.gras ? EstBulleSemaine(c.infoBulle) : c.infoBulle.empty(), true);
                QCOMPARE(c.fond, !c.gras ? Fond::Gris : (k % 7 >= 5 ? Fond::WeekEnd : Fond::Jours));
            }
        }
    }

    void feriesRegionaux_data()
    {
        QTest::addColumn<CasRegional>("cas");
        using R = Region;
        const char *vendredi = " Vendredi saint ", *etienne = " Saint-Étienne ", *abolition = " Abolition de l'esclavage ";
        const CasRegional cas[] = {
            {"Vendredi saint 2027", R::AlsaceMoselle, 2027, 3, 26, 0, true, vendredi, Fond::Ferie},
            {"Vendredi saint 2024, mars", R::AlsaceMoselle, 2024, 3, 29, 0, true, vendredi, Fond::Ferie},
            {"Lundi de Pâques 2024, avril", R::AlsaceMoselle, 2024, 4, 1, 0, true, " Lundi de Pâques ", Fond::Ferie},
            {"26/12/2027 dimanche", R::AlsaceMoselle, 2027, 12, 26, 0, true, etienne, Fond::Ferie},
            {"26/12/2027 sans fériés", R::AlsaceMoselle, 2027, 12, 26, 0, false, "", Fond::WeekEnd},
            {"26/12/2027 métropole", R::Metropole, 2027, 12, 26, 0, true, "", Fond::WeekEnd},
            {"26/12/2022 gris, janvier 2023", R::AlsaceMoselle, 2023, 1, 26, -1, true, etienne, Fond::Gris},
            {"Guyane 10/6/2030 = Pentecôte", R::Guyane, 2030, 6, 10, 0, true, abolition, Fond::Ferie},
            {"Métropole 10/6/2030", R::Metropole, 2030, 6, 10, 0, true, " Lundi de Pentecôte ", Fond::Ferie},
            {"Guyane 10/6/2029 gris, mai", R::Guyane, 2029, 5, 10, 1, true, abolition, Fond::Gris},
            {"Mayotte 27/4/2026 gris, mai", R::Mayotte, 2026, 5, 27, -1, true, abolition, Fond::Gris},
            {"Réunion 20/12/2025 samedi", R::LaReunion, 2025, 12, 20, 0, true, abolition, Fond::Ferie}};
        for (const CasRegional& c : cas)
            QTest::newRow(c.nom) << c;
    }

    void feriesRegionaux()
    {
        QFETCH(CasRegional, cas);
        const BlocMois b = Bloc(cas.annee, cas.mois, {true, cas.feries, cas.region});
        const CelluleJour& c = Cellule(b, cas.jour, cas.tag);
        // An empty tooltip in the table stands for the week tooltip.
        QCOMPARE(c.infoBulle, *cas.bulle || !EstBulleSemaine(c.infoBulle) ? std::string(cas.bulle) : c.infoBulle);
        QCOMPARE(c.fond, cas.fond);
    }

    void nomsDeRegion_data()
    {
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<int>("region"); // -1: no region
        const std::pair<const char*, int> cas[] = {
            {"Métropole", 0}, {"metropole", 0}, {"M\xC9TROPOLE", 0}, {"Alsace-Moselle", 1}, {"  alsace  moselle ", 1},
            {"GUADELOUPE", 2}, {"martinique", 3}, {"Guyane", 4}, {"la reunion", 5}, {"LA RÉUNION", 5},
            {"La R\xE9union", 5}, {"Mayotte", 6}, {"", -1}, {"Réunion", -1}, {"Guyane française", -1},
            {"Alsace_Moselle", -1}, {"Mayotte\x01", -1}};
        for (const auto& [texte, region] : cas)
            QTest::newRow(texte) << QByteArray(texte) << region;
    }

    void nomsDeRegion()
    {
        QFETCH(QByteArray, texte);
        QFETCH(int, region);
        const std::optional<Region> r = RegionDeTexte(texte.toStdString());
        QCOMPARE(r ? int(*r) : -1, region);
        if (r) // each name names its own region
            QCOMPARE(RegionDeTexte(NomRegion(*r)), r);
    }

    void regionsContrePythonHolidays()
    {
        // An independent source: the dates of each region's own holidays, found
        // on the blocks (a day of the month whose look differs from the
        // metropolitan calendar's), against python3-holidays.
        constexpr int Debut = 1981, Fin = 2300; // that library has La Réunion's day from 1981
        QProcess python;
        QStringList arguments{"-c", ScriptHolidays, QString::number(Debut), QString::number(Fin)};
        for (int r = 1; r < NombreRegions; ++r)
            arguments << QString::fromUtf8(NomRegion(RegionNumero(r)));
        python.start("/usr/bin/python3", arguments);
        if (!python.waitForFinished(60000) || python.exitCode() != 0)
            QSKIP(qPrintable("no cross-check without /usr/bin/python3 and python3-holidays (Debian package): "
                             + python.readAllStandardError().trimmed().split('\n').last()));
        std::set<std::string> attendu, trouve;
        for (const QByteArray& l : python.readAllStandardOutput().split('\n'))
            if (!l.isEmpty())
                attendu.insert(l.toStdString());
        BlocMois metro, b;
        for (int Y = Debut; Y <= Fin; ++Y)
            for (int mois = 1; mois <= 12; ++mois) {
                RemplirMois(metro, Y, mois);
                CouleurFerie(metro, {});
                for (int r = 1; r < NombreRegions; ++r) {
                    RemplirMois(b, Y, mois);
                    CouleurFerie(b, {true, true, RegionNumero(r)});
                    for (int k = 0; k < CellulesParMois; ++k) {
                        const CelluleJour &c = b.cellules[k], &m = metro.cellules[k];
                        if (c.gras && (c.fond != m.fond || c.infoBulle != m.infoBulle))
                            trouve.insert(QString("%1 %2-%3-%4").arg(NomRegion(RegionNumero(r))).arg(Y)
                                              .arg(mois, 2, 10, QChar('0')).arg(c.legende, 2, 10, QChar('0'))
                                              .toStdString());
                    }
                }
            }
        std::vector<std::string> manque, deTrop;
        std::ranges::set_difference(attendu, trouve, std::back_inserter(manque));
        std::ranges::set_difference(trouve, attendu, std::back_inserter(deTrop));
        QCOMPARE(QString::fromStdString(manque.empty() ? std::string() : manque.front()), QString()); // the first date missing
        QCOMPARE(QString::fromStdString(deTrop.empty() ? std::string() : deTrop.front()), QString()); // the first date too many
    }

    void toutesLesAnnees()
    {
        // For every year, the holiday-coloured days of the twelve blocks are exactly
        // the year's holidays, each named after the last matching row of the table
        // (Ascension on 1 May in 2008, on 8 May in 1997: the fixed holiday's name).
        // Grey cells of the neighbouring months carry the tooltips of 1 and 8 May
        // (April), 1 November (October), 1 January (December) and Christmas
        // (January); Easter's may be there or not. Easter comes from an
        // independent computation.
        BlocMois b;
        CompteErreurs rapport;
        for (int Y = 1583; Y <= 9999; ++Y) {
            const sys_days e = PaquesParEpacte(Y);
            QVERIFY(weekday{e} == Sunday);
            const auto jour = [](int a, int m, int j) { return sys_days{year{a} / m / j}; };
            const std::tuple<sys_days, const char*, bool> table[] = { // date, name, always on grey cells
                {e, "Dimanche de Pâques", false}, {e + days{1}, " Lundi de Pâques ", false},
                {e + days{39}, " Jeudi de l'Ascension ", false}, {e + days{50}, " Lundi de Pentecôte ", false},
                {jour(Y, 1, 1), " Jour de l'An ", true}, {jour(Y, 5, 1), " Fête du travail ", true},
                {jour(Y, 5, 8), " Armistice 8 mai 1945 ", true}, {jour(Y, 7, 14), " Fête nationnale ", false},
                {jour(Y, 8, 15), " Assomption ", false}, {jour(Y, 11, 1), " Toussaint ", true},
                {jour(Y, 11, 11), " Armistice 11 Novembre 1918 ", false}, {jour(Y, 12, 25), " Noël ", true},
                {jour(Y - 1, 12, 25), " Noël ", true}, {jour(Y + 1, 1, 1), " Jour de l'An ", true},
            };
            bool voisin = false;
            const auto nom = [&](sys_days j) {
                const char* n = nullptr;
                for (const auto& [date, texte, gris] : table)
                    if (date == j)
                        std::tie(n, voisin) = std::pair(texte, gris);
                return n;
            };
            int feries = 0;
            for (int mois = 1; mois <= 12; ++mois) {
                RemplirMois(b, Y, mois);
                CouleurFerie(b, {}, &rapport);
                const sys_days cellule0 = jour(Y, mois, 1) - days{&Cellule(b, 1) - &b.cellules[0]};
                for (int k = 0; k < CellulesParMois; ++k) {
                    const CelluleJour& c = b.cellules[k];
                    const char* n = nom(cellule0 + days{k});
                    const bool ok = !c.gras ? c.fond == Fond::Gris
                            && (n && voisin ? c.infoBulle == n : c.infoBulle.empty() || (n && c.infoBulle == n))
                        : n ? c.fond == Fond::Ferie && c.infoBulle == n
                            : c.fond == (k % 7 >= 5 ? Fond::WeekEnd : Fond::Jours) && EstBulleSemaine(c.infoBulle);
                    if (!ok)
                        QFAIL(qPrintable(QString("%1/%2 cell %3").arg(Y).arg(mois).arg(k)));
                    feries += c.gras && n;
                }
            }
            // Ascension may fall on 1 or 8 May.
            QCOMPARE(feries, 12 - (e + days{39} == jour(Y, 5, 1) || e + days{39} == jour(Y, 5, 8)));
        }
        QCOMPARE(rapport.n, 0);
    }
};

QTEST_APPLESS_MAIN(TestFeries)
#include "test_feries.moc"
