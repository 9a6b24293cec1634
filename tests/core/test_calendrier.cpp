#include <QtTest>

#include <array>
#include <chrono>
#include <string>

#include "calendar/Date.h"
#include "calendar/Mois.h"

using namespace std::chrono;

namespace {

// ISO week from its definition: the week of its Thursday, counted in that Thursday's year.
int SemaineIso(sys_days j)
{
    const sys_days jeudi = j - (weekday{j} - Monday) + days{3};
    return int((jeudi - sys_days{year_month_day{jeudi}.year() / January / 1}).count() / 7) + 1;
}

// Compares a filled block with the month as the chrono library sees it:
// empty when it matches, else the faulty cell.
std::string Ecart(const BlocMois& bloc, int annee, int mois)
{
    const sys_days premier = sys_days{year{annee} / mois / 1};
    const unsigned wd = weekday{premier}.iso_encoding();
    for (int k = 0; k < CellulesParMois; ++k) {
        const sys_days j = premier + days{k - (wd == 1 ? 7 : int(wd) - 1)};
        const year_month_day d{j};
        const int tag = d.month() == month(mois) ? 0 : (j < premier ? -1 : 1);
        const std::string bulle = tag == 0 ? "Semaine  " + std::to_string(SemaineIso(j)) : "";
        const CelluleJour& c = bloc.cellules[k];
        if (c.legende != int(unsigned(d.day())) || c.Tag != tag || c.gras != (tag == 0)
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
        // Known ISO weeks, which also check the reference computation.
        for (auto [j, m, a, semaine] : {std::array{29, 12, 2014, 1}, {1, 1, 2016, 53}, {1, 1, 2011, 52}}) {
            QCOMPARE(WOY(Date{j, m, a}), semaine);
            QCOMPARE(SemaineIso(sys_days{year{a} / m / j}), semaine);
        }
        // Years on four digits; months and days out of range carry over.
        QCOMPARE(RemplirMois(99, 5).titre, std::string("mai 0099"));
        QCOMPARE(RemplirMois(2015, 13).titre, std::string("janvier 2016"));
        QCOMPARE(RemplirMois(2015, 0).titre, std::string("décembre 2014"));
        QCOMPARE(JoursDansMois(2015, 14), 29);
        QCOMPARE(DateDeJours(JoursDepuisEpoque(Date{0, 3, 2016})), (Date{29, 2, 2016}));
    }

    void toutesLesDatesContreChrono()
    {
        // Every day from 1 January of year -1 to 31 December 10000, and every
        // block of years 0 to 9999 (the main window refuses those before 1583,
        // other callers may not).
        BlocMois b;
        sys_days j = sys_days{year{-1} / January / 1};
        for (int a = -1; a <= 10000; ++a)
            for (int m = 1; m <= 12; ++m) {
                if (a >= 0 && a <= 9999) {
                    RemplirMois(b, a, m);
                    if (const std::string e = Ecart(b, a, m); !e.empty())
                        QFAIL(e.c_str());
                }
                for (const sys_days fin = sys_days{year{a} / m / last}; j <= fin; j += days{1}) {
                    const year_month_day ymd{j};
                    const Date d{int(unsigned(ymd.day())), m, a};
                    const int64_t n = j.time_since_epoch().count();
                    if (JoursDepuisEpoque(d) != n || !(DateDeJours(n) == d)
                        || JourDeLaSemaine(d) != int(weekday{j}.iso_encoding()) || WOY(d) != SemaineIso(j))
                        QFAIL(qPrintable(QString("%1/%2/%3").arg(d.jour).arg(m).arg(a)));
                }
            }
    }
};

QTEST_APPLESS_MAIN(TestCalendrier)
#include "test_calendrier.moc"
