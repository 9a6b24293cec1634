#include <QtTest>

#include "commun/Nombres.h"
#include "tests/core/Outils.h"

#include <cmath>

class TestNombres : public QObject {
    Q_OBJECT
private slots:
    // Under any process locale (the tests also run under fr_FR.UTF-8, where
    // the C library would read "0.5" as 0): numbers use a decimal point.
    void initTestCase() { verifierLocale(); }
    void arrondiPair_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("arrondi");
        for (auto [x, r] : {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {2.4999, 2.0}, {-0.5, 0.0}})
            QTest::newRow(qPrintable(QString::number(x))) << x << r;
    }
    void arrondiPair()
    {
        QFETCH(double, x);
        QFETCH(double, arrondi);
        QCOMPARE(ArrondiPair(x), arrondi);
        bool ok = false;
        QCOMPARE(double(VersEntier16(x, &ok)), arrondi);
        QVERIFY(ok);
    }
    void horsPlage()
    {
        bool ok = true;
        QCOMPARE(int(VersEntier16(32767.5, &ok)), 32767);
        QVERIFY(!ok);
    }
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
