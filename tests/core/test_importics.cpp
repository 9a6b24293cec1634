#include <QtTest>

#include "calendar/Date.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"
#include "tests/core/Outils.h"

using namespace std::literals;

namespace {

// A calendar around the given lines (LF line ends; libical takes both).
std::string cal(const std::string& corps) { return "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//essai//FR\n" + corps + "END:VCALENDAR\n"; }
std::string ev(const std::string& lignes, const std::string& uid = "")
{
    return "BEGIN:VEVENT\n" + (uid.empty() ? "" : "UID:" + uid + "\n") + lignes + "END:VEVENT\n";
}
std::string jour(const char* debut, const char* fin)
{
    return ev("SUMMARY:Vacances\nDTSTART;VALUE=DATE:"s + debut + "\n" + (*fin ? "DTEND;VALUE=DATE:"s + fin + "\n" : ""));
}

// School holidays as the official files give them (end exclusive).
const std::string Scolaire = cal(jour("20261219", "20270104") + jour("20270213", "20270301") + jour("20270220", "20270308")
                                 + jour("20270506", "") + jour("20270703", "20270901"));

// The covered days as ranges, "MMDD-MMDD,MMDD".
std::string plages(const ImportIcs& r)
{
    std::string s;
    const int64_t premier = JoursDepuisEpoque({1, 1, r.annee});
    const auto mmjj = [&](size_t n) {
        const Date d = DateDeJours(premier + int64_t(n));
        return QString::asprintf("%02d%02d", d.mois, d.jour).toStdString();
    };
    for (size_t i = 0, j; i < r.jours.size(); i = j + 1) {
        for (j = i; r.jours[i] && j + 1 < r.jours.size() && r.jours[j + 1];)
            ++j;
        if (r.jours[i])
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
        const auto ligne = [](const char* nom, const std::string& texte, EtatIcs etat, const char* jours = "",
                              int n = 0, int annee = 2027) {
            QTest::newRow(nom) << texte << annee << etat << std::string(jours) << n;
        };
        ligne("vacances scolaires", Scolaire, EtatIcs::Ok, "0101-0103,0213-0307,0506,0703-0831", 5);
        ligne("l'année d'avant", Scolaire, EtatIcs::Ok, "1219-1231", 1, 2026);
        ligne("rien cette année", Scolaire, EtatIcs::AucunEvenement, "", 0, 2030);
        // Weekly, one date taken out; weekly at a time, one occurrence moved;
        // yearly since long ago; an impossible rule ends at once.
        ligne("répétitions",
              cal(ev("DTSTART;VALUE=DATE:20270104\nRRULE:FREQ=WEEKLY;COUNT=5\nEXDATE;VALUE=DATE:20270118\n", "a")
                  + ev("DTSTART;TZID=Europe/Paris:20270105T180000\nDTEND;TZID=Europe/Paris:20270105T190000\n"
                       "RRULE:FREQ=WEEKLY;UNTIL=20270126T235959Z\n", "b")
                  + ev("RECURRENCE-ID;TZID=Europe/Paris:20270112T180000\nDTSTART;TZID=Europe/Paris:20270114T180000\n"
                       "DURATION:PT1H\n", "b")
                  + ev("DTSTART;VALUE=DATE:19800315\nRRULE:FREQ=YEARLY\n", "c")
                  + ev("DTSTART;VALUE=DATE:20260101\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\nRDATE;VALUE=DATE:20271111\n", "d")),
              EtatIcs::Ok, "0104-0105,0111,0114,0119,0125-0126,0201,0315,1111", 4);
        // Local time is Paris: 17:00-19:00 in New York runs past midnight here;
        // UTC late on 31 December is already 1 January; an end at midnight
        // stays on its day; a time without zone, or a zone that is a path, is local.
        ligne("heures et fuseaux",
              cal("BEGIN:VTIMEZONE\nTZID:Est US\nBEGIN:STANDARD\nDTSTART:19701101T020000\n"
                  "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\nTZOFFSETFROM:-0400\nTZOFFSETTO:-0500\nEND:STANDARD\n"
                  "BEGIN:DAYLIGHT\nDTSTART:19700308T020000\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\n"
                  "TZOFFSETFROM:-0500\nTZOFFSETTO:-0400\nEND:DAYLIGHT\nEND:VTIMEZONE\n"
                  + ev("DTSTART;TZID=Est US:20270310T170000\nDTEND;TZID=Est US:20270310T190000\n")
                  + ev("DTSTART:20261231T233000Z\nDTEND:20270101T003000Z\n")
                  + ev("DTSTART;TZID=Europe/Paris:20270601T220000\nDTEND;TZID=Europe/Paris:20270602T000000\n")
                  + ev("DTSTART:20270701T230000\nDTEND:20270702T010000\n") + ev("DTSTART:20271231T230000Z\nDURATION:PT2H\n")
                  + ev("DTSTART;TZID=../../../etc/hostname:20270802T230000\n")),
              EtatIcs::Ok, "0101,0310-0311,0601,0701-0702,0802", 5);
        // A cancelled event, and a cancelled occurrence of a repeated one.
        ligne("annulés",
              cal(ev("DTSTART;VALUE=DATE:20270301\nRRULE:FREQ=WEEKLY;COUNT=3\n", "r")
                  + ev("RECURRENCE-ID;VALUE=DATE:20270308\nDTSTART;VALUE=DATE:20270308\nSTATUS:CANCELLED\n", "r")
                  + ev("DTSTART;VALUE=DATE:20270401\nSTATUS:CANCELLED\n", "x")),
              EtatIcs::Ok, "0301,0315", 1);
        ligne("CR LF, lignes pliées",
              "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEV\r\n ENT\r\nSUMMARY:F\r\n e\r\nDTST\r\n ART;VALUE=DATE:2027\r\n"
              "\t0621\r\nEND:VEVENT\r\nEND:VCALENDAR",
              EtatIcs::Ok, "0621", 1);
        ligne("vide", cal(""), EtatIcs::AucunEvenement);
        ligne("fichier vide", "", EtatIcs::PasIcal);
        ligne("n'importe quoi", std::string("\x89PNG\r\n\x1a\n\x01\x02garbage", 18), EtatIcs::PasIcal);
        ligne("page web", "<html><body>BEGIN:VCALENDAR</body></html>\n", EtatIcs::PasIcal);
        ligne("tronqué", Scolaire.substr(0, Scolaire.size() / 2), EtatIcs::Tronque);
        ligne("fin de trop", Scolaire + "BEGIN:VEVENT\n", EtatIcs::PasIcal);
        ligne("trop gros", std::string(TailleMaxIcs + 1, ' '), EtatIcs::TropGros);
        ligne("toutes les minutes", cal(ev("DTSTART:20270101T000000Z\nRRULE:FREQ=MINUTELY\n")), EtatIcs::TropComplexe);
        ligne("fuseau à la seconde",
              cal("BEGIN:VTIMEZONE\nTZID:X\nBEGIN:STANDARD\nDTSTART:19700101T000000\nRRULE:FREQ=SECONDLY\n"
                  "TZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nEND:STANDARD\nEND:VTIMEZONE\n" + ev("DTSTART;TZID=X:20270101T100000\n")),
              EtatIcs::TropComplexe);
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

    // Every cell showing a covered day takes the colour, grey cells of the
    // neighbouring months of the year included; other cells keep theirs.
    void cellules()
    {
        QTemporaryDir dossier;
        const std::filesystem::path chemin = QFile::encodeName(dossier.filePath("zones.ics")).toStdString();
        EcrireFichier(chemin, Scolaire);
        double table[13][43] = {};
        table[3][7] = table[3][14] = 0x00FF00; // 1 March, covered; 8 March, not
        const ImportIcs r = ImporterIcs(chemin, 2027, 255.4, table, "Europe/Paris");
        QCOMPARE(r.nombreEvenements, 5);
        // January 2027 starts in cell 4; 1-7 March in grey end February; 28 February opens
        // March; 1 January 2028 in grey is not of the year.
        QCOMPARE((std::array{table[1][3], table[1][4], table[1][7], table[2][35], table[3][6], table[3][7],
                             table[3][14], table[12][33]}),
                 (std::array<double, 8>{0, 255, 0, 255, 255, 255, 0x00FF00, 0}));
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
