#include <QtTest>

#include <cstdio>
#include <string>

#include "calendar/Date.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"
#include "tests/core/Outils.h"

namespace {

// A calendar around the given lines (LF line ends; libical takes both).
std::string cal(const std::string& corps)
{
    return "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//essai//FR\n" + corps + "END:VCALENDAR\n";
}
std::string ev(const std::string& lignes, const std::string& uid = "")
{
    return "BEGIN:VEVENT\n" + (uid.empty() ? "" : "UID:" + uid + "\n") + lignes + "END:VEVENT\n";
}
std::string jour(const char* debut, const char* fin, const char* titre)
{
    return ev(std::string("SUMMARY:") + titre + "\nDTSTART;VALUE=DATE:" + debut + "\n"
              + (*fin ? std::string("DTEND;VALUE=DATE:") + fin + "\n" : ""));
}

// New York as exported by calendar programs.
const std::string NewYork = "BEGIN:VTIMEZONE\nTZID:Est US\n"
                            "BEGIN:STANDARD\nDTSTART:19701101T020000\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\n"
                            "TZOFFSETFROM:-0400\nTZOFFSETTO:-0500\nEND:STANDARD\n"
                            "BEGIN:DAYLIGHT\nDTSTART:19700308T020000\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\n"
                            "TZOFFSETFROM:-0500\nTZOFFSETTO:-0400\nEND:DAYLIGHT\nEND:VTIMEZONE\n";

// School holidays of two zones, as the official files give them (end exclusive).
const std::string Scolaire = cal(jour("20261219", "20270104", "Vacances de Noël - Zones A B C")
                                 + jour("20270213", "20270301", "Vacances d'Hiver - Zone A")
                                 + jour("20270220", "20270308", "Vacances d'Hiver - Zone C")
                                 + jour("20270506", "", "Pont de l'Ascension")
                                 + jour("20270703", "20270901", "Vacances d'Été"));

// The covered days as ranges, "MMDD-MMDD,MMDD".
std::string plages(const ImportIcs& r)
{
    std::string s;
    const int64_t premier = JoursDepuisEpoque({1, 1, r.annee});
    for (size_t i = 0; i < r.jours.size(); ++i) {
        if (!r.jours[i] || (i > 0 && r.jours[i - 1]))
            continue;
        size_t j = i;
        while (j + 1 < r.jours.size() && r.jours[j + 1])
            ++j;
        auto mmjj = [&](size_t n) {
            const Date d = DateDeJours(premier + static_cast<int64_t>(n));
            char b[8];
            std::snprintf(b, sizeof b, "%02d%02d", d.mois, d.jour);
            return std::string(b);
        };
        s += (s.empty() ? "" : ",") + mmjj(i) + (j > i ? "-" + mmjj(j) : "");
    }
    return s;
}

} // namespace

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(EtatIcs)

class TestImportIcs : public QObject {
    Q_OBJECT
private slots:
    void joursCouverts_data()
    {
        QTest::addColumn<std::string>("texte");
        QTest::addColumn<int>("annee");
        QTest::addColumn<EtatIcs>("etat");
        QTest::addColumn<std::string>("jours");
        QTest::addColumn<int>("evenements");

        QTest::newRow("vacances scolaires") << Scolaire << 2027 << EtatIcs::Ok
                                            << std::string("0101-0103,0213-0307,0506,0703-0831") << 5;
        QTest::newRow("l'année d'avant") << Scolaire << 2026 << EtatIcs::Ok << std::string("1219-1231") << 1;
        QTest::newRow("rien cette année") << Scolaire << 2030 << EtatIcs::AucunEvenement << std::string() << 0;

        // Weekly, one date taken out; weekly at a time, one occurrence moved;
        // yearly since long ago; an impossible rule ends at once.
        QTest::newRow("répétitions")
            << cal(ev("DTSTART;VALUE=DATE:20270104\nRRULE:FREQ=WEEKLY;COUNT=5\nEXDATE;VALUE=DATE:20270118\n", "a")
                   + ev("DTSTART;TZID=Europe/Paris:20270105T180000\nDTEND;TZID=Europe/Paris:20270105T190000\n"
                        "RRULE:FREQ=WEEKLY;UNTIL=20270126T235959Z\n", "b")
                   + ev("RECURRENCE-ID;TZID=Europe/Paris:20270112T180000\n"
                        "DTSTART;TZID=Europe/Paris:20270114T180000\nDURATION:PT1H\n", "b")
                   + ev("DTSTART;VALUE=DATE:19800315\nRRULE:FREQ=YEARLY\n", "c")
                   + ev("DTSTART;VALUE=DATE:20260101\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\n"
                        "RDATE;VALUE=DATE:20271111\n", "d"))
            << 2027 << EtatIcs::Ok << std::string("0104-0105,0111,0114,0119,0125-0126,0201,0315,1111") << 4;

        // Local time is Paris: 17:00-19:00 in New York runs past midnight here;
        // UTC late on 31 December is already 1 January; an end at midnight
        // stays on its day; a time without zone is read as local.
        QTest::newRow("heures et fuseaux")
            << cal(NewYork + ev("DTSTART;TZID=Est US:20270310T170000\nDTEND;TZID=Est US:20270310T190000\n")
                   + ev("DTSTART:20261231T233000Z\nDTEND:20270101T003000Z\n")
                   + ev("DTSTART;TZID=Europe/Paris:20270601T220000\nDTEND;TZID=Europe/Paris:20270602T000000\n")
                   + ev("DTSTART:20270701T230000\nDTEND:20270702T010000\n")
                   + ev("DTSTART:20271231T230000Z\nDURATION:PT2H\n")
                   + ev("DTSTART;TZID=../../../etc/hostname:20270802T230000\n")) // not a zone: local time
            << 2027 << EtatIcs::Ok << std::string("0101,0310-0311,0601,0701-0702,0802") << 5;

        // A cancelled event, and a cancelled occurrence of a repeated one.
        QTest::newRow("annulés")
            << cal(ev("DTSTART;VALUE=DATE:20270301\nRRULE:FREQ=WEEKLY;COUNT=3\n", "r")
                   + ev("RECURRENCE-ID;VALUE=DATE:20270308\nDTSTART;VALUE=DATE:20270308\nSTATUS:CANCELLED\n", "r")
                   + ev("DTSTART;VALUE=DATE:20270401\nSTATUS:CANCELLED\n", "x"))
            << 2027 << EtatIcs::Ok << std::string("0301,0315") << 1;
        QTest::newRow("CR LF, lignes pliées")
            << std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEV\r\n ENT\r\nSUMMARY:Fête de la musique et d\r\n e "
                           "la danse\r\nDTST\r\n ART;VALUE=DATE:2027\r\n\t0621\r\nEND:VEVENT\r\nEND:VCALENDAR")
            << 2027 << EtatIcs::Ok << std::string("0621") << 1;

        QTest::newRow("vide") << cal("") << 2027 << EtatIcs::AucunEvenement << std::string() << 0;
        QTest::newRow("fichier vide") << std::string() << 2027 << EtatIcs::PasIcal << std::string() << 0;
        QTest::newRow("n'importe quoi") << std::string("\x89PNG\r\n\x1a\n\x01\x02garbage", 18) << 2027
                                        << EtatIcs::PasIcal << std::string() << 0;
        QTest::newRow("page web") << std::string("<html><body>BEGIN:VCALENDAR</body></html>\n") << 2027
                                  << EtatIcs::PasIcal << std::string() << 0;
        QTest::newRow("tronqué") << Scolaire.substr(0, Scolaire.size() / 2) << 2027 << EtatIcs::Tronque
                                 << std::string() << 0;
        QTest::newRow("fin de trop") << Scolaire + "BEGIN:VEVENT\n" << 2027 << EtatIcs::PasIcal << std::string() << 0;
        QTest::newRow("trop gros") << std::string(TailleMaxIcs + 1, ' ') << 2027 << EtatIcs::TropGros
                                   << std::string() << 0;
        QTest::newRow("toutes les minutes")
            << cal(ev("DTSTART:20270101T000000Z\nRRULE:FREQ=MINUTELY\n")) << 2027 << EtatIcs::TropComplexe
            << std::string() << 0;
        QTest::newRow("fuseau à la seconde")
            << cal("BEGIN:VTIMEZONE\nTZID:X\nBEGIN:STANDARD\nDTSTART:19700101T000000\nRRULE:FREQ=SECONDLY\n"
                   "TZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nEND:STANDARD\nEND:VTIMEZONE\n"
                   + ev("DTSTART;TZID=X:20270101T100000\n"))
            << 2027 << EtatIcs::TropComplexe << std::string() << 0;
    }

    void joursCouverts()
    {
        QFETCH(std::string, texte);
        QFETCH(int, annee);
        QFETCH(EtatIcs, etat);
        QFETCH(std::string, jours);
        QFETCH(int, evenements);
        const ImportIcs r = LireIcs(texte, annee, "Europe/Paris");
        QCOMPARE(r.etat, etat);
        QCOMPARE(QString::fromStdString(plages(r)), QString::fromStdString(jours));
        QCOMPARE(r.nombreEvenements, evenements);
    }

    // Every cell showing a covered day takes the colour, as a click would give
    // it, grey cells of the neighbouring months of the year included; the
    // .Cal file then holds them.
    void cellulesEtFichierCal()
    {
        QTemporaryDir dossier;
        const std::filesystem::path chemin = QFile::encodeName(dossier.filePath("zones.ics")).toStdString();
        EcrireFichier(chemin, Scolaire);

        double table[13][43] = {};
        table[3][7] = 0x00FF00;  // 1 March, coloured before: takes the new colour
        table[3][14] = 0x00FF00; // 8 March, not covered: kept
        const ImportIcs r = ImporterIcs(chemin, 2027, 255.4, table, "Europe/Paris");
        QCOMPARE(MessageIcs(r), std::string("87 jours de 2027 dans 5 événements"));
        // January 2027 starts on a Friday: cells 0-3 show 28-31 December 2026.
        QCOMPARE(table[1][3], 0.0);
        QCOMPARE(table[1][4], 255.0);
        // February ends in cell 34; 1-7 March follow in grey, and 22-28 February
        // open the March block.
        QCOMPARE(table[2][35], 255.0);
        QCOMPARE(table[3][0], 255.0);
        QCOMPARE(table[3][7], 255.0);
        QCOMPARE(table[3][14], double(0x00FF00));
        // December ends in cell 32: 1 January 2028 in grey is not of the year.
        QCOMPARE(table[12][33], 0.0);

        const std::string texte = EcrireCal(table, "2027");
        std::string janvier = "1,0,0,0,0,255,255,255";
        for (int k = 7; k < 42; ++k)
            janvier += ",0";
        QCOMPARE(texte.substr(0, texte.find("\r\n")), janvier);

        // Bad files leave the table as it was.
        double avant[13][43];
        std::memcpy(avant, table, sizeof avant);
        EcrireFichier(chemin, Scolaire.substr(0, 100));
        QCOMPARE(ImporterIcs(chemin, 2027, 0x0000FF, table).etat, EtatIcs::Tronque);
        QCOMPARE(ImporterIcs(chemin.string() + "absent", 2027, 0x0000FF, table).etat, EtatIcs::Illisible);
        QVERIFY(std::memcmp(avant, table, sizeof avant) == 0);
    }
};

QTEST_GUILESS_MAIN(TestImportIcs)
#include "test_importics.moc"
