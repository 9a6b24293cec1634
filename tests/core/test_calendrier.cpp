#include <QtTest>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "calendar/Date.h"
#include "calendar/Mois.h"

using namespace std::chrono;

namespace {

// ISO weeks of the days of year y, from the definition: week 1 starts on the
// Monday on or before 4 January.
struct SemainesIso {
    sys_days debut[3]; // week 1 of years y - 1, y, y + 1
    explicit SemainesIso(int y)
    {
        for (int i = 0; i < 3; ++i) {
            const sys_days j4 = sys_days{year{y - 1 + i} / January / 4};
            debut[i] = j4 - (weekday{j4} - Monday);
        }
    }
    int operator()(sys_days jour) const
    {
        for (int i = 2; i >= 0; --i)
            if (debut[i] <= jour)
                return int((jour - debut[i]).count() / 7) + 1;
        return 0;
    }
};

// Compares a filled block with the month as the chrono library sees it:
// empty when it matches, else the faulty cell.
std::string Ecart(const BlocMois& bloc, int annee, int mois, const SemainesIso& iso)
{
    const sys_days premier = sys_days{year{annee} / mois / 1};
    const unsigned wd = weekday{premier}.iso_encoding();
    const int avant = wd == 1 ? 7 : int(wd) - 1;
    const int finPrecedent = int(unsigned(year_month_day{premier - days{1}}.day()));
    const int longueur = int(unsigned(year_month_day_last{year{annee} / month(mois) / last}.day()));
    for (int k = 0; k < CellulesParMois; ++k) {
        const int n = k - avant; // days after the first
        const int tag = n < 0 ? -1 : (n < longueur ? 0 : 1);
        const int legende = tag < 0 ? finPrecedent + n + 1 : (tag == 0 ? n + 1 : n - longueur + 1);
        char bulle[32] = "";
        if (tag == 0)
            std::snprintf(bulle, sizeof bulle, "Semaine  %d", iso(premier + days{n}));
        const CelluleJour& c = bloc.cellules[k];
        if (c.legende != legende || c.Tag != tag || c.gras != (tag == 0)
            || c.fond != (tag == 0 ? Fond::Jours : Fond::Gris) || c.infoBulle != bulle)
            return std::to_string(annee) + "/" + std::to_string(mois) + " cell " + std::to_string(k);
    }
    return {};
}

} // namespace

class TestCalendrier : public QObject {
    Q_OBJECT
private slots:
    void exemples()
    {
        // Known ISO weeks; they also check the reference computation the other
        // tests compare with.
        const std::array<int, 4> cas[] = {{29, 12, 2014, 1}, {31, 12, 2012, 1}, {1, 1, 2016, 53}, {3, 1, 2010, 53},
                                          {1, 1, 2011, 52},  {4, 1, 2016, 1},   {28, 12, 2015, 53}, {31, 12, 2020, 53}};
        for (auto [j, m, a, semaine] : cas) {
            QCOMPARE(WOY(Date{j, m, a}), semaine);
            QCOMPARE(SemainesIso(a)(sys_days{year{a} / m / j}), semaine);
        }
        QCOMPARE(RemplirMois(2015, 2).titre, std::string("février 2015"));
        QCOMPARE(RemplirMois(2027, 12).titre, std::string("décembre 2027"));
        // March 2010 starts on a Monday: a whole row of February first.
        const BlocMois b = RemplirMois(2010, 3);
        QCOMPARE(b.cellules[6].Tag, -1);
        QCOMPARE(b.cellules[6].legende, 28);
        QCOMPARE(b.cellules[7].legende, 1);
    }

    void limitesDesAnnees()
    {
        // (The days just outside 0..9999 are ordinary days: toutesLesDatesContreChrono.)
        QCOMPARE(RemplirMois(99, 5).titre, std::string("mai 0099"));

        // Months and days out of range carry over instead of reading out of bounds.
        QCOMPARE(RemplirMois(2015, 13).titre, std::string("janvier 2016"));
        QCOMPARE(RemplirMois(2015, 0).titre, std::string("décembre 2014"));
        QCOMPARE(JoursDansMois(2015, 14), 29);
        QCOMPARE(DateDeJours(JoursDepuisEpoque(Date{0, 3, 2016})), (Date{29, 2, 2016}));
    }

    void toutesLesDatesContreChrono()
    {
        // Every day from 1 January of year -1 to 31 December 10000.
        int erreurs = 0;
        sys_days j = sys_days{year{-1} / January / 1};
        for (int a = -1; a <= 10000; ++a) {
            const SemainesIso iso(a);
            for (int m = 1; m <= 12; ++m) {
                const int fin = int(unsigned(year_month_day_last{year{a} / month(m) / last}.day()));
                for (int jour = 1; jour <= fin; ++jour, j += days{1}) {
                    const Date d{jour, m, a};
                    const int64_t n = j.time_since_epoch().count();
                    if (JoursDepuisEpoque(d) != n || !(DateDeJours(n) == d)
                        || JourDeLaSemaine(d) != int(weekday{j}.iso_encoding()) || WOY(d) != iso(j))
                        if (++erreurs < 5)
                            qWarning("wrong for %d/%d/%d", d.jour, d.mois, d.annee);
                }
            }
        }
        QCOMPARE(erreurs, 0);
    }

    void tousLesBlocs()
    {
        // Years 0 to 1582 too: the main window refuses them, other callers may not.
        BlocMois b;
        for (int annee = 0; annee <= 9999; ++annee) {
            const SemainesIso iso(annee);
            for (int mois = 1; mois <= 12; ++mois) {
                RemplirMois(b, annee, mois);
                const std::string e = Ecart(b, annee, mois, iso);
                if (!e.empty())
                    QFAIL(e.c_str());
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestCalendrier)
#include "test_calendrier.moc"
