#include <QProcess>
#include <QtTest>

#include <chrono>
#include <set>
#include <string>

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

// The dates where a region's calendar differs from the metropolitan one,
// by Debian's python3-holidays. Left out: its Good Friday in Guadeloupe, Guyane
// and Martinique and its 21 July in the last two (not public holidays in the
// law behind the program's table), its other name for Christmas in Alsace-Moselle.
const char* const ScriptHolidays = R"(
import sys, datetime, holidays
from dateutil.easter import easter
ans = range(int(sys.argv[1]), int(sys.argv[2]) + 1)
metro = holidays.France(years=ans)
for prov in sys.argv[3:]:
    for d, nom in sorted(holidays.France(prov=prov, years=ans).items()):
        antilles = prov in ('Guadeloupe', 'Guyane', 'Martinique')
        if not (metro.get(d) == nom or nom == 'Premier jour de Noël' or antilles and (
                d == easter(d.year) - datetime.timedelta(days=2) or prov != 'Guyane' and (d.month, d.day) == (7, 21))):
            print(prov, d.isoformat())
)";

BlocMois Bloc(int annee, int mois, AffichageFeries aff = {})
{
    BlocMois b = RemplirMois(annee, mois);
    CouleurFerie(b, aff);
    return b;
}

const CelluleJour& Cellule(const BlocMois& b, int jour, int tag)
{
    for (const CelluleJour& c : b.cellules)
        if (c.legende == jour && c.Tag == tag)
            return c;
    static const CelluleJour absente{-1, 9, false, Fond::Gris, "absent"};
    return absente;
}

bool EstBulleSemaine(const std::string& s) { return s.starts_with("Semaine  "); }

} // namespace

class TestFeries : public QObject {
    Q_OBJECT
private slots:
    void toutesLesAnnees()
    {
        // For every year, the holiday-coloured days of the twelve blocks are exactly
        // the year's holidays, each named after the last matching row of the table
        // (Ascension on 1 May in 2008, on 8 May in 1997: the fixed holiday's name).
        // Grey cells of the neighbouring months carry the tooltip of any holiday
        // they show, but Easter's only when its Sunday lies in cells 0 to 40 (so
        // that its Monday stays inside the block). Easter comes from an
        // independent computation.
        BlocMois b;
        CompteErreurs rapport;
        const auto jour = [](int a, int m, int j) { return sys_days{year{a} / m / j}; };
        for (int Y = 1583; Y <= 9999; ++Y) {
            const sys_days e = PaquesParEpacte(Y);
            QVERIFY(weekday{e} == Sunday);
            const std::pair<sys_days, const char*> table[] = {
                {e, "Dimanche de Pâques"}, {e + days{1}, " Lundi de Pâques "},
                {e + days{39}, " Jeudi de l'Ascension "}, {e + days{50}, " Lundi de Pentecôte "},
                {jour(Y, 1, 1), " Jour de l'An "}, {jour(Y, 5, 1), " Fête du travail "},
                {jour(Y, 5, 8), " Armistice 8 mai 1945 "}, {jour(Y, 7, 14), " Fête nationnale "},
                {jour(Y, 8, 15), " Assomption "}, {jour(Y, 11, 1), " Toussaint "},
                {jour(Y, 11, 11), " Armistice 11 Novembre 1918 "}, {jour(Y, 12, 25), " Noël "},
                {jour(Y - 1, 12, 25), " Noël "}, {jour(Y + 1, 1, 1), " Jour de l'An "},
            };
            int feries = 0;
            for (int mois = 1; mois <= 12; ++mois) {
                RemplirMois(b, Y, mois);
                CouleurFerie(b, {}, &rapport);
                const sys_days cellule0 = jour(Y, mois, 1) - days{&Cellule(b, 1, 0) - &b.cellules[0]};
                const bool paquesVue = e >= cellule0 && e <= cellule0 + days{CellulesParMois - 2};
                for (int k = 0; k < CellulesParMois; ++k) {
                    const CelluleJour& c = b.cellules[k];
                    const sys_days j = cellule0 + days{k};
                    const char* n = nullptr;
                    for (const auto& [date, texte] : table)
                        if (date == j)
                            n = texte;
                    const bool ok = !c.gras ? c.fond == Fond::Gris
                            && c.infoBulle == (n && (paquesVue || (j != e && j != e + days{1})) ? n : "")
                        : n ? c.fond == Fond::Ferie && c.infoBulle == n
                            : c.fond == (k % 7 >= 5 ? Fond::WeekEnd : Fond::Jours) && EstBulleSemaine(c.infoBulle);
                    if (!ok)
                        QFAIL(qPrintable(QString("%1/%2 cell %3").arg(Y).arg(mois).arg(k)));
                    feries += c.gras && n;
                }
            }
            QCOMPARE(feries, 12 - (e + days{39} == jour(Y, 5, 1) || e + days{39} == jour(Y, 5, 8)));
        }
        for (int Y : {-1, 0, 99, 10000}) // outside the usual range: still March or April
            DimanchePaques(Y, &rapport);
        QCOMPARE(rapport.n, 0);
    }

    void casesACocher()
    {
        // Against the full colouring: weekends off takes the weekend colour only;
        // holidays off takes the holiday colour and tooltips, weeks' everywhere.
        for (int mois = 1; mois <= 12; ++mois) {
            const BlocMois tout = Bloc(2024, mois), sansWE = Bloc(2024, mois, {false, true}),
                           sansF = Bloc(2024, mois, {true, false});
            for (int k = 0; k < CellulesParMois; ++k) {
                const Fond f = tout.cellules[k].fond, ordinaire = k % 7 >= 5 ? Fond::WeekEnd : Fond::Jours;
                QCOMPARE(sansWE.cellules[k].fond, f == Fond::WeekEnd ? Fond::Jours : f);
                QCOMPARE(sansF.cellules[k].fond, f == Fond::Ferie ? ordinaire : f);
                QCOMPARE(sansF.cellules[k].infoBulle, RemplirMois(2024, mois).cellules[k].infoBulle);
            }
        }
    }

    void feriesRegionaux()
    {
        // What the cross-check below does not see: grey cells, a regional day on
        // a national one (its own name wins), the holiday box off.
        const auto cas = [](int a, int m, AffichageFeries aff, int jour, int tag) {
            const BlocMois b = Bloc(a, m, aff);
            const CelluleJour& c = Cellule(b, jour, tag);
            return c.infoBulle + (c.fond == Fond::Gris ? " gris" : c.fond == Fond::Ferie ? " férié" : "");
        };
        const std::string abolition = " Abolition de l'esclavage ";
        QCOMPARE(cas(2023, 1, {true, true, Region::AlsaceMoselle}, 26, -1), " Saint-Étienne  gris");
        QCOMPARE(cas(2030, 6, {true, true, Region::Guyane}, 10, 0), abolition + " férié");
        QCOMPARE(cas(2026, 5, {true, true, Region::Mayotte}, 27, -1), abolition + " gris");
        QCOMPARE(cas(2027, 12, {true, false, Region::AlsaceMoselle}, 26, 0), "Semaine  51");
    }

    void nomsDeRegion()
    {
        // Case, accents (UTF-8 or Latin-1) and blanks do not matter; anything else does.
        for (auto [texte, region] : {std::pair{"M\xC9TROPOLE", 0}, {"  alsace  moselle ", 1}, {"La R\xE9union", 5},
                                     {"LA RÉUNION", 5}, {"", -1}, {"Réunion", -1}, {"Alsace_Moselle", -1}})
            QVERIFY2((RegionDeTexte(texte) ? int(*RegionDeTexte(texte)) : -1) == region, texte);
        for (int r = 0; r < NombreRegions; ++r)
            QCOMPARE(RegionDeTexte(NomRegion(RegionNumero(r))), RegionNumero(r));
    }

    void regionsContrePythonHolidays()
    {
        // The days where a region's bold cells differ from the metropolitan calendar's.
        constexpr int Debut = 1981, Fin = 2300; // that library has La Réunion's day from 1981
        QProcess python;
        QStringList arguments{"-c", ScriptHolidays, QString::number(Debut), QString::number(Fin)};
        for (int r = 1; r < NombreRegions; ++r)
            arguments << QString::fromUtf8(NomRegion(RegionNumero(r)));
        python.start("/usr/bin/python3", arguments);
        if (!python.waitForFinished(60000) || python.exitCode() != 0)
            QSKIP(qPrintable("no cross-check without /usr/bin/python3 and python3-holidays (Debian package): "
                             + python.readAllStandardError().trimmed().split('\n').last()));
        std::set<QString> attendu, trouve;
        for (const QByteArray& l : python.readAllStandardOutput().split('\n'))
            if (!l.isEmpty())
                attendu.insert(QString::fromUtf8(l));
        for (int Y = Debut; Y <= Fin; ++Y)
            for (int mois = 1; mois <= 12; ++mois) {
                const BlocMois metro = Bloc(Y, mois);
                for (int r = 1; r < NombreRegions; ++r)
                    for (int k = 0; const CelluleJour& c : Bloc(Y, mois, {true, true, RegionNumero(r)}).cellules)
                        if (const CelluleJour& m = metro.cellules[k++];
                            c.gras && (c.fond != m.fond || c.infoBulle != m.infoBulle))
                            trouve.insert(QString::asprintf("%s %04d-%02d-%02d", NomRegion(RegionNumero(r)), Y, mois,
                                                            c.legende));
            }
        std::vector<QString> manque, deTrop;
        std::ranges::set_difference(attendu, trouve, std::back_inserter(manque));
        std::ranges::set_difference(trouve, attendu, std::back_inserter(deTrop));
        QCOMPARE(manque.empty() ? QString() : manque.front(), QString()); // the first date missing
        QCOMPARE(deTrop.empty() ? QString() : deTrop.front(), QString()); // the first date too many
    }
};

QTEST_APPLESS_MAIN(TestFeries)
#include "test_feries.moc"
