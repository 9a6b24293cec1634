#include <QtTest>

#include "app/Horloge.h"

// A clock that moves 0.01 s at each look, vues counting the looks from 0. After a day of looks it jumps far ahead,
// so that a wait that never ends fails at once instead of hanging the test.
struct HorlogeFictive : Horloge {
    double t0, vues = -1;
    explicit HorlogeFictive(double debut) : t0(debut) {}
    double SecondesDepuisMinuit() override { return ++vues > 8640000 ? 1e9 : std::fmod(t0 + vues / 100.0, 86400); }
    void LaisserPasserEvenements() override {}
};

class TestHorloge : public QObject {
    Q_OBJECT
private slots:
    void duree()
    {
        // Start, seconds, length of the wait: it ends on the n-th second after the start rounded, halves to even.
        // 23:59:59.6 rounds to 86400: the wait ends a second later, past midnight.
        for (auto [debut, n, duree] : {std::tuple{100.4, 1, 0.6}, {100.5, 1, 0.5}, {101.5, 1, 1.5}, {50.0, 2, 2.0},
                                       {86399.6, 1, 1.4}, {86399.2, 1, 0.8}}) {
            HorlogeFictive h(debut);
            AttenteMinutee(h, n);
            QVERIFY2(qAbs(h.vues / 100.0 - duree) < 0.02, qPrintable(QString::number(debut)));
        }
    }
};

QTEST_APPLESS_MAIN(TestHorloge)
#include "test_horloge.moc"
