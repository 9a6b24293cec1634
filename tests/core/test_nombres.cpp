#include <QtTest>

#include "app/Nombres.h"

class TestNombres : public QObject {
    Q_OBJECT
private slots:
    void arrondiPair()
    {
        QCOMPARE(ArrondiPair(2.5), 2.0);
        QCOMPARE(ArrondiPair(3.5), 4.0);
        QCOMPARE(ArrondiPair(-2.5), -2.0);
        QCOMPARE(ArrondiPair(2.4999), 2.0);
        QCOMPARE(int(VersEntier16(35 * 56.7)), 1984);
        QCOMPARE(int(VersEntier16(45 * 56.7)), 2552);
        QCOMPARE(int(VersEntier16(195 * 56.7)), 11056);
        QCOMPARE(int(VersEntier16(90 * 56.7)), 5103);
        QCOMPARE(int(VersEntier16(127 * 56.7)), 7201);
        bool ok = true;
        QCOMPARE(int(VersEntier16(600 * 56.7, &ok)), 32767);
        QVERIFY(!ok);
    }
    void valeurTexte()
    {
        QCOMPARE(ValeurTexte(" 8388736"), 8388736.0);
        QCOMPARE(ValeurTexte("  -12abc"), -12.0);
        QCOMPARE(ValeurTexte("1 2 3"), 123.0);
        QCOMPARE(ValeurTexte("2.5E2x"), 250.0);
        QCOMPARE(ValeurTexte("&HFF"), 255.0);
        QCOMPARE(ValeurTexte("&o17"), 15.0);
        QCOMPARE(ValeurTexte("abc"), 0.0);
        QCOMPARE(ValeurTexte(""), 0.0);
        QCOMPARE(ValeurTexte("&H"), 0.0);
        QVERIFY(EstNombre(" 2027 "));
        QVERIFY(!EstNombre("20a7"));
        QVERIFY(!EstNombre(""));
    }
    void texte()
    {
        QCOMPARE(TexteNombreSigne(8388736), std::string(" 8388736"));
        QCOMPARE(TexteNombreSigne(0), std::string(" 0"));
        QCOMPARE(TexteNombreSigne(-1), std::string("-1"));
        QCOMPARE(TexteNombre(0.5), std::string("0.5"));
    }
};

QTEST_APPLESS_MAIN(TestNombres)
#include "test_nombres.moc"
