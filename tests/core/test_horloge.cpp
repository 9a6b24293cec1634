#include <QtTest>

#include "app/Horloge.h"

namespace {
// A clock that moves 0.01 s at each look. After a day of looks it jumps far
// ahead, so that a wait that never ends fails at once instead of hanging the test.
struct HorlogeFictive : Horloge {
    double t;
    int regards = 0;
    explicit HorlogeFictive(double debut) : t(debut) {}
    double SecondesDepuisMinuit() override
    {
        const double v = ++regards > 8640000 ? 1e9 : t;
        t = t + 0.01 >= 86400 ? t + 0.01 - 86400 : t + 0.01;
        return v;
    }
    void LaisserPasserEvenements() override {}
};
} // namespace

class TestHorloge : public QObject {
    Q_OBJECT
private slots:
    void duree()
    {
        // Start, seconds, length of the wait: it ends on the n-th second after
        // the start rounded, halves to even. 23:59:59.6 rounds to 86400: the
        // wait ends a second later, past midnight.
        for (auto [debut, secondes, duree] : {std::tuple{100.4, 1, 0.6}, {100.5, 1, 0.5}, {101.5, 1, 1.5},
                                              {50.0, 2, 2.0}, {86399.6, 1, 1.4}, {86399.2, 1, 0.8}}) {
            HorlogeFictive h(debut);
            AttenteMinutee(h, secondes);
            const double vue = (h.regards - 1) * 0.01;
            QVERIFY2(qAbs(vue - duree) < 0.02, qPrintable(QString("%1: %2").arg(debut).arg(vue)));
        }
    }
};

QTEST_APPLESS_MAIN(TestHorloge)
#include "test_horloge.moc"
