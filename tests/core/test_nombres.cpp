#include <QtTest>

#include "commun/Nombres.h"
#include "tests/core/Locale.h"

#include <cmath>

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
    // Under any process locale (the tests also run under fr_FR.UTF-8, where
    // the C library would read "0.5" as 0): numbers use a decimal point.
    void initTestCase() { verifierLocale(); }
    void valeurTexte_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<double>("valeur");
        const std::pair<const char*, double> cas[] = {
            {" 8388736", 8388736}, {"  -12abc", -12}, {"1 2 3", 123}, {"2.5E2x", 250}, {"&HFF", 255},
            {"&o17", 15}, {"abc", 0}, {"", 0}, {"&H", 0}, {"0.5", 0.5}, {"90.5", 90.5},
            {"1.4282996E7", 14282996}, {"+.25D1", 2.5}, {"-7.", -7}, {"1e999", HUGE_VAL},
            {"-1000e306", -HUGE_VAL}, {"1e-999", 0}, {"0.00001e-319", 0}, {"0.001e-310", 1e-313},
        };
        for (auto [texte, valeur] : cas)
            QTest::newRow(texte) << QString::fromLatin1(texte) << valeur;
    }
    void valeurTexte()
    {
        QFETCH(QString, texte);
        QFETCH(double, valeur);
        QCOMPARE(ValeurTexte(texte.toStdString()), valeur);
    }
    void texte()
    {
        QCOMPARE(TexteNombreSigne(8388736), std::string(" 8388736"));
        QCOMPARE(TexteNombreSigne(0), std::string(" 0"));
        QCOMPARE(TexteNombreSigne(-1), std::string("-1"));
        QCOMPARE(TexteNombre(0.5), std::string("0.5"));
        QCOMPARE(TexteNombre(-1e-313), std::string("-1e-313"));
    }
};

QTEST_APPLESS_MAIN(TestNombres)
#include "test_nombres.moc"
