#include <QtTest>

#include <chrono>

#include "calendar/Date.h"
#include "calendar/Mois.h"

using namespace std::chrono;

// ISO week from its definition: the week of its Thursday, counted in that Thursday's year.
int SemaineIso(sys_days j)
{
    const sys_days jeudi = j - (weekday{j} - Monday) + days{3};
    return int((jeudi - sys_days{year_month_day{jeudi}.year() / January / 1}).count() / 7) + 1;
}

class TestCalendrier : public QObject {
    Q_OBJECT
private slots:
    void datesEtBlocs()
    {
        // Years on four digits; months and days out of range carry over.
        QCOMPARE(RemplirMois(99, 5).titre, "mai 0099");
        QCOMPARE(RemplirMois(2015, 13).titre, "janvier 2016");
        QCOMPARE(RemplirMois(2015, 0).titre, "décembre 2014");
        QCOMPARE(JoursDansMois(2015, 14), 29);
        QCOMPARE(DateDeJours(JoursDepuisEpoque(Date{0, 3, 2016})), (Date{29, 2, 2016}));
        // Every day from 1/1/-1 to 31/12/10000, every block of years 0 to 9999 (the main window refuses those before
        // 1583, other callers may not): from the Monday before the first (a week before when the first is a Monday),
        // the month's days in bold with their ISO week as tooltip, the neighbouring months' in grey.
        BlocMois b;
        for (sys_days j = sys_days{year{-1} / 1 / 1}; j <= sys_days{year{10000} / 12 / 31}; j += days{1}) {
            const year_month_day ymd{j};
            const Date d{int(unsigned(ymd.day())), int(unsigned(ymd.month())), int(ymd.year())};
            const int64_t n = j.time_since_epoch().count();
            if (JoursDepuisEpoque(d) != n || !(DateDeJours(n) == d) || WOY(d) != SemaineIso(j)
                || JourDeLaSemaine(d) != int(weekday{j}.iso_encoding()))
                QFAIL(qPrintable(QString("%1/%2/%3").arg(d.jour).arg(d.mois).arg(d.annee)));
            if (d.jour != 1 || d.annee < 0 || d.annee > 9999)
                continue;
            RemplirMois(b, d.annee, d.mois);
            for (int k = 0; k < CellulesParMois; ++k) {
                const sys_days c = j - days{(weekday{j} - Tuesday).count() + 1 - k};
                const int tag = c < j ? -1 : year_month_day{c}.month() == ymd.month() ? 0 : 1;
                const std::string bulle = tag ? "" : "Semaine  " + std::to_string(SemaineIso(c));
                const CelluleJour& x = b.cellules[k];
                if (x.legende != int(unsigned(year_month_day{c}.day())) || x.Tag != tag || x.gras != !tag
                    || x.fond != (tag ? Fond::Gris : Fond::Jours) || x.infoBulle != bulle)
                    QFAIL(qPrintable(QString("%1/%2 cell %3").arg(d.annee).arg(d.mois).arg(k)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestCalendrier)
#include "test_calendrier.moc"
