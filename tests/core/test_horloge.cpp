#include <QtTest>

#include "app/Horloge.h"

namespace {
// A clock that moves `pas` seconds at each look. After a day of looks it
// jumps far ahead, so that a wait that never ends fails at once instead of
// hanging the test.
struct HorlogeFictive : Horloge {
    double t, pas;
    int regards = 0;
    HorlogeFictive(double debut, double p) : t(debut), pas(p) {}
    double SecondesDepuisMinuit() override
    {
        if (++regards > 86400 / pas)
            return 1e9;
        const double v = t;
        t += pas;
        if (t >= 86400)
            t -= 86400;
        return v;
    }
    void LaisserPasserEvenements() override {}
};
} // namespace

class TestHorloge : public QObject {
    Q_OBJECT
private slots:
    // The wait ends on the n-th second after the start rounded, halves to even.
    void duree_data()
    {
        QTest::addColumn<double>("debut");
        QTest::addColumn<int>("secondes");
        QTest::addColumn<double>("duree");
        QTest::newRow("100") << 100.0 << 1 << 1.0;
        QTest::newRow("100.4: rounded down") << 100.4 << 1 << 0.6;
        QTest::newRow("100.6: rounded up") << 100.6 << 1 << 1.4;
        QTest::newRow("100.5: to even 100") << 100.5 << 1 << 0.5;
        QTest::newRow("101.5: to even 102") << 101.5 << 1 << 1.5;
        QTest::newRow("50, 2 s") << 50.0 << 2 << 2.0;
        // 23:59:59.6 rounds to 86400: the wait ends a second later, after midnight.
        QTest::newRow("86399.6: past midnight") << 86399.6 << 1 << 1.4;
        // 23:59:59.2 rounds to 86399: the wait ends at midnight, 0.8 s later.
        QTest::newRow("86399.2: at midnight") << 86399.2 << 1 << 0.8;
    }
    void duree()
    {
        QFETCH(double, debut);
        QFETCH(int, secondes);
        QFETCH(double, duree);
        HorlogeFictive h(debut, 0.01);
        AttenteMinutee(h, secondes);
        const double vue = (h.regards - 1) * 0.01;
        QVERIFY2(qAbs(vue - duree) < 0.02, qPrintable(QString::number(vue)));
    }
};

QTEST_APPLESS_MAIN(TestHorloge)
#include "test_horloge.moc"
