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
        // Weekends off: holidays still coloured, other days plain. Holidays off:
        // week tooltips everywhere, weekends still coloured.
        for (AffichageFeries aff : {AffichageFeries{false, true}, AffichageFeries{true, false}})
            for (int mois = 1; mois <= 12; ++mois) {
                const BlocMois b = Bloc(2024, mois, aff);
                for (int k = 0; k < CellulesParMois; ++k) {
                    const CelluleJour& c = b.cellules[k];
                    const bool ferie = c.fond == Fond::Ferie;
                    QCOMPARE(ferie, aff.feries && c.gras && !EstBulleSemaine(c.infoBulle));
                    if (c.gras && !ferie)
                        QCOMPARE(c.fond, aff.weekEnd && k % 7 >= 5 ? Fond::WeekEnd : Fond::Jours);
                    if (!aff.feries)
                        QCOMPARE(c.gras ? EstBulleSemaine(c.infoBulle) : c.infoBulle.empty(), true);
                }
            }
    }

    void feriesRegionaux()
    {
        // What the cross-check below does not see: grey cells, a regional day on
        // a national one (its own name wins), the holiday box off.
        const struct {
            const char* nom;
            BlocMois b;
            int jour, tag;
            const char* bulle;
            Fond fond;
        } cas[] = {
            {"26/12/2022 grey in January", Bloc(2023, 1, {true, true, Region::AlsaceMoselle}), 26, -1,
             " Saint-Étienne ", Fond::Gris},
            {"Guyane on Whit Monday", Bloc(2030, 6, {true, true, Region::Guyane}), 10, 0,
             " Abolition de l'esclavage ", Fond::Ferie},
            {"Mayotte grey in May", Bloc(2026, 5, {true, true, Region::Mayotte}), 27, -1,
             " Abolition de l'esclavage ", Fond::Gris},
            {"box off", Bloc(2027, 12, {true, false, Region::AlsaceMoselle}), 26, 0, "Semaine  51", Fond::WeekEnd}};
        for (const auto& c : cas) {
            QVERIFY2(Cellule(c.b, c.jour, c.tag).infoBulle == c.bulle, c.nom);
            QVERIFY2(Cellule(c.b, c.jour, c.tag).fond == c.fond, c.nom);
        }
    }

    void nomsDeRegion()
    {
        // Case, accents (UTF-8 or Latin-1) and blanks do not matter; anything else does.
        for (auto [texte, region] : {std::pair{"M\xC9TROPOLE", 0}, {"  alsace  moselle ", 1}, {"GUADELOUPE", 2},
                                     {"martinique", 3}, {"La R\xE9union", 5}, {"LA RÉUNION", 5}, {"", -1},
                                     {"Réunion", -1}, {"Alsace_Moselle", -1}, {"Mayotte\x01", -1}}) {
            const std::optional<Region> r = RegionDeTexte(texte);
            QVERIFY2((r ? int(*r) : -1) == region, texte);
        }
        for (int r = 0; r < NombreRegions; ++r)
            QCOMPARE(RegionDeTexte(NomRegion(RegionNumero(r))), RegionNumero(r));
    }

    void regionsContrePythonHolidays()
    {
        // The dates where a region's bold cells differ from the metropolitan
        // calendar's, against python3-holidays.
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
        QCOMPARE(QString::fromStdString(manque.empty() ? std::string() : manque.front()), QString()); // first missing
        QCOMPARE(QString::fromStdString(deTrop.empty() ? std::string() : deTrop.front()), QString()); // first too many
    }
};

QTEST_APPLESS_MAIN(TestFeries)
#include "test_feries.moc"
