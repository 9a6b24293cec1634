#include <QtTest>

#include "app/Horloge.h"

namespace {
struct HorlogeFictive : Horloge {
    double t;
    double pas;
    int regards = 0;
    HorlogeFictive(double debut, double p) : t(debut), pas(p) {}
    double SecondesDepuisMinuit() override
    {
        ++regards;
        double v = t;
        t += pas;
        if (t >= 86400)
            t -= 86400;
        return v;
    }
    void LaisserPasserEvenements() override {}
};
double duree(double debut, int n)
{
    HorlogeFictive h(debut, 0.01);
    AttenteMinutee(h, n);
    return (h.regards - 1) * 0.01;
}
} // namespace

class TestHorloge : public QObject {
    Q_OBJECT
private slots:
    void dureeEntreNMoinsEtPlusUneDemie()
    {
        QVERIFY(qAbs(duree(100.0, 1) - 1.0) < 0.02);
        QVERIFY(qAbs(duree(100.4, 1) - 0.6) < 0.02);  // start rounded down
        QVERIFY(qAbs(duree(100.6, 1) - 1.4) < 0.02);  // start rounded up
        QVERIFY(qAbs(duree(100.5, 1) - 0.5) < 0.02);  // halves to even: 100
        QVERIFY(qAbs(duree(101.5, 1) - 1.5) < 0.02);  // halves to even: 102
        QVERIFY(qAbs(duree(50.0, 2) - 2.0) < 0.02);
    }
    void passageDeMinuit()
    {
        // 23:59:59.6 rounds to 86400: the wait ends a second later, after midnight.
        HorlogeFictive h(86399.6, 0.05);
        AttenteMinutee(h, 1);
        QVERIFY(h.regards < 100);
        QVERIFY(h.t > 0.9 && h.t < 2);
        // 23:59:59.2 rounds to 86399: the wait ends at midnight, 0.8 s later.
        HorlogeFictive h2(86399.2, 0.05);
        AttenteMinutee(h2, 1);
        QVERIFY(qAbs((h2.regards - 1) * 0.05 - 0.8) < 0.06);
    }
};

QTEST_APPLESS_MAIN(TestHorloge)
#include "test_horloge.moc"
