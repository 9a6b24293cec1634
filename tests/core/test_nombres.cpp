#include "commun/Nombres.h"
#include "tests/core/Outils.h"

// Under any process locale (the _fr run: fr_FR.UTF-8, where the C library reads "0.5" as 0) numbers use a point.
class TestNombres : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { verifierLocale(); }
    void nombres()
    {
        // Halves go to the even neighbour; out of range is clamped and reported.
        for (auto [x, r, dedans] : {std::tuple{2.5, 2, true}, {3.5, 4, true}, {-2.5, -2, true}, {2.4999, 2, true},
                                    {-0.5, 0, true}, {32767.5, 32767, false}}) {
            bool ok = !dedans;
            QCOMPARE(std::tuple(x, VersEntier16(x, &ok), ok), std::tuple(x, r, dedans)); // names the case
        }
        const std::pair<const char*, double> cas[] = {
            {" 8388736", 8388736}, {"  -12abc", -12}, {"1 2 3", 123}, {"2.5E2x", 250}, {"&HFF", 255}, {"&o17", 15},
            {"abc", 0}, {"", 0}, {"&H", 0}, {"0.5", 0.5}, {"90.5", 90.5}, {"1.4282996E7", 14282996}, {"+.25D1", 2.5},
            {"-7.", -7}, {"1e999", HUGE_VAL}, {"-1000e306", -HUGE_VAL}, {"1e-999", 0}, {"0.00001e-319", 0},
            {"0.001e-310", 1e-313}};
        for (auto [texte, valeur] : cas)
            QCOMPARE(std::pair(QString(texte), ValeurTexte(texte)), std::pair(QString(texte), valeur));
        QCOMPARE(TexteNombreSigne(8388736) + TexteNombreSigne(-1) + TexteNombre(0.5) + TexteNombre(-1e-313),
                 std::string(" 8388736-10.5-1e-313"));
    }
};

QTEST_APPLESS_MAIN(TestNombres)
#include "test_nombres.moc"
