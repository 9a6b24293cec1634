#include "special/ImportIcs.h"
#include "special/TexteIcs.h"
#include "colour/ModeleFeuille.h"
#include "tests/Verifier.h"
#include <set>
#include "tests/core/Outils.h"

// A calendar around the given lines (LF line ends; libical takes both); an event; whole days, end exclusive.
static std::string cal(const std::string& c) { return "BEGIN:VCALENDAR\nVERSION:2.0\n" + c + "END:VCALENDAR\n"; }
static std::string ev(const std::string& lignes) { return "BEGIN:VEVENT\n" + lignes + "END:VEVENT\n"; }
static std::string jours(const std::string& d, const std::string& f = "")
{
    return ev("DTSTART;VALUE=DATE:" + d + "\n" + (f.empty() ? "" : "DTEND;VALUE=DATE:" + f + "\n"));
}
static std::string fois(const std::string& s, int n) { std::string r; while (n-- > 0) r += s; return r; }
// A zone Z of two yearly changes since `debut` (MMDDThhmmss follows), or of one rule `regle` when given.
static std::string zone(const std::string& debut, const std::string& regle = "")
{
    const auto changement = [&](const char* sorte, const char* jour, const char* r, const char* de, const char* a) {
        return std::string("BEGIN:") + sorte + "\nDTSTART:" + debut + jour + "\nRRULE:FREQ=YEARLY;" + (regle.empty() ? r : regle)
               + "\nTZOFFSETFROM:" + de + "\nTZOFFSETTO:" + a + "\nEND:" + sorte + "\n";
    };
    return "BEGIN:VTIMEZONE\nTZID:Z\n" + changement("STANDARD", "0402T030000", "BYMONTH=4;BYDAY=1SU", "+1100", "+1000")
           + (regle.empty() ? changement("DAYLIGHT", "1001T020000", "BYMONTH=10;BYDAY=1SU", "+1000", "+1100") : "")
           + "END:VTIMEZONE\n";
}
const std::string Scolaire = cal(jours("20261219", "20270104") + jours("20270213", "20270301")
                                 + jours("20270220", "20270308") + jours("20270506") + jours("20270703", "20270901"));

// The events counted and the covered days as ranges: "2: MMDD-MMDD,MMDD".
static QString plages(const ImportIcs& r)
{
    QString s = QString::number(r.nombreEvenements) + ":";
    const auto mmjj = [&](size_t n) {
        return QDate(r.periode.annee, r.periode.premierMois, 1).addDays(qint64(n)).toString("MMdd");
    };
    for (size_t i = 0; i < r.jours.size(); ++i)
        if (r.jours[i] && (i == 0 || !r.jours[i - 1]))
            s += (s.endsWith(':') ? " " : ",") + mmjj(i);
        else if (r.jours[i] && (i + 1 == r.jours.size() || !r.jours[i + 1]))
            s += "-" + mmjj(i);
    return s;
}

class TestImportIcs : public QObject {
    Q_OBJECT
private slots:
    void joursEtCellules()
    {
        const struct { const char* nom; EtatIcs etat; const char* jours; std::string texte; Periode periode = {2027}; } cas[] = {
            {"vacances scolaires", EtatIcs::Ok, "5: 0101-0103,0213-0307,0506,0703-0831", Scolaire},
            {"l'année d'avant", EtatIcs::Ok, "1: 1219-1231", Scolaire, {2026}},
            {"l'année scolaire", EtatIcs::Ok, "5: 1219-0103,0213-0307,0506,0703-0831", Scolaire, {2026, 9}},
            {"rien cette année", EtatIcs::AucunEvenement, "0:", Scolaire, {2030}},
            // Weekly, a date taken out; weekly at a time, a date moved; yearly since long ago; a rule never met; one
            // met in leap years only.
            {"répétitions", EtatIcs::Ok, "4: 0104-0105,0111,0114,0119,0125-0126,0201,0315,1111",
             cal(ev("UID:a\nDTSTART;VALUE=DATE:20270104\nRRULE:FREQ=WEEKLY;COUNT=5\nEXDATE;VALUE=DATE:20270118\n")
                 + ev("UID:b\nDTSTART;TZID=Europe/Paris:20270105T180000\nDTEND;TZID=Europe/Paris:20270105T190000\n"
                      "RRULE:FREQ=WEEKLY;UNTIL=20270126T235959Z\n")
                 + ev("UID:b\nRECURRENCE-ID;TZID=Europe/Paris:20270112T180000\nDTSTART;TZID=Europe/Paris:20270114T180000\n"
                      "DURATION:PT1H\n") + ev("UID:c\nDTSTART;VALUE=DATE:19800315\nRRULE:FREQ=YEARLY\n")
                 + ev("UID:d\nDTSTART;VALUE=DATE:20260101\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\nRDATE;VALUE=DATE:20271111\n"))},
            {"29 février chaque année", EtatIcs::Ok, "1: 0229",
             cal(ev("DTSTART;VALUE=DATE:20240229\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29\n")), {2028}},
            // Local time is Paris: 17:00-19:00 in New York runs past midnight here; UTC late on 31 December is already
            // 1 January; an end at midnight stays on its day; a time without zone, or a zone that is a path, is local.
            {"heures et fuseaux", EtatIcs::Ok, "5: 0101,0310-0311,0601,0701-0702,0802",
             cal("BEGIN:VTIMEZONE\nTZID:Est US\nBEGIN:STANDARD\nDTSTART:19701101T020000\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\n"
                 "TZOFFSETFROM:-0400\nTZOFFSETTO:-0500\nEND:STANDARD\nBEGIN:DAYLIGHT\nDTSTART:19700308T020000\n"
                 "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\nTZOFFSETFROM:-0500\nTZOFFSETTO:-0400\nEND:DAYLIGHT\nEND:VTIMEZONE\n"
                 + ev("DTSTART;TZID=Est US:20270310T170000\nDTEND;TZID=Est US:20270310T190000\n")
                 + ev("DTSTART:20261231T233000Z\nDTEND:20270101T003000Z\n")
                 + ev("DTSTART;TZID=Europe/Paris:20270601T220000\nDTEND;TZID=Europe/Paris:20270602T000000\n")
                 + ev("DTSTART:20270701T230000\nDTEND:20270702T010000\n") + ev("DTSTART:20271231T230000Z\nDURATION:PT2H\n")
                 + ev("DTSTART;TZID=../../../etc/hostname:20270802T230000\n"))},
            // A cancelled event, and a cancelled occurrence of a repeated one.
            {"annulés", EtatIcs::Ok, "1: 0301,0315",
             cal(ev("UID:r\nDTSTART;VALUE=DATE:20270301\nRRULE:FREQ=WEEKLY;COUNT=3\n")
                 + ev("UID:r\nRECURRENCE-ID;VALUE=DATE:20270308\nDTSTART;VALUE=DATE:20270308\nSTATUS:CANCELLED\n")
                 + ev("UID:x\nDTSTART;VALUE=DATE:20270401\nSTATUS:CANCELLED\n"))},
            // A whole calendar of cancellations colours nothing; a UTF-8 byte-order mark is no fault.
            {"METHOD:CANCEL", EtatIcs::AucunEvenement, "0:", cal("METHOD:CANCEL\n" + jours("20270501"))},
            {"marque d'ordre UTF-8", EtatIcs::Ok, "1: 0501", "\xEF\xBB\xBF" + cal(jours("20270501"))},
            {"CR LF, lignes pliées", EtatIcs::Ok, "1: 0621",
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEV\r\n ENT\r\nSUMMARY:F\r\n e\r\nDTST\r\n ART;VALUE=DATE:2027\r\n"
             "\t0621\r\nEND:VEVENT\r\nEND:VCALENDAR"},
            // Years up to 9999, as the program's.
            {"an 9995", EtatIcs::Ok, "2: 0601,0701", cal(jours("99950601") + ev("DTSTART:99950701T100000Z\n")), {9995}},
            {"après 9999", EtatIcs::AucunEvenement, "0:", cal(jours("99990901")), {9999, 9}},
            // A zone whose rules run since 1601 is expanded near the year only: 9:30 in Sydney's summer is still
            // the evening before in Paris. Lines of properties the import does not read are left out, whatever
            // their size or parameters.
            {"fuseau depuis 1601, lignes ignorées", EtatIcs::Ok, "1: 0114",
             cal(zone("1601") + ev("DTSTART;TZID=Z:20270115T093000\nDESCRIPTION:" + std::string(100000, 'd') + "\nX-A"
                                   + fois(";A=1", 2000) + ":v\n"))},
            // Repetitions past libical's last year (2582), expanded by the program: weekly until a day, every other
            // month's last Friday of January, March or May less a date, yearly since 2000; counts; the last day of
            // February and December at a time in a zone. A rule only libical expands says it cannot show them.
            {"répétitions en 2583", EtatIcs::Ok, "2: 0101,0115,0129,0704",
             cal(ev("UID:y\nDTSTART;VALUE=DATE:20000704\nRRULE:FREQ=YEARLY\n")
                 + ev("UID:w\nDTSTART;VALUE=DATE:25830101\nRRULE:FREQ=WEEKLY;COUNT=3;INTERVAL=2\n")), {2583}},
            {"répétitions en 2700", EtatIcs::Ok, "3: 0101,0108,0115,0122,0126,0129,0205,0212,0219,0226,0525,0704",
             cal(ev("UID:h\nDTSTART;VALUE=DATE:27000101\nRRULE:FREQ=WEEKLY;UNTIL=27000301\n")
                 + ev("UID:m\nDTSTART;VALUE=DATE:26990101\nRRULE:FREQ=MONTHLY;INTERVAL=2;BYDAY=-1FR;BYMONTH=1,3,5\n"
                      "EXDATE;VALUE=DATE:27000330\n") + ev("UID:y\nDTSTART;VALUE=DATE:20000704\nRRULE:FREQ=YEARLY\n")), {2700}},
            {"répétitions en 9999", EtatIcs::Ok, "2: 0228-0301,1231",
             cal(ev("UID:a\nDTSTART;VALUE=DATE:99950301\nRRULE:FREQ=YEARLY;COUNT=5\n")
                 + ev("UID:b\nDTSTART;VALUE=DATE:99950302\nRRULE:FREQ=YEARLY;COUNT=4\n")
                 + ev("UID:c\nDTSTART;TZID=Europe/Paris:99981201T100000\nRRULE:FREQ=DAILY;BYMONTHDAY=-1;BYMONTH=2,12\n")), {9999}},
            {"BYSETPOS en 2700", EtatIcs::RepetitionsLointaines, "0:",
             cal(ev("DTSTART;VALUE=DATE:26990101\nRRULE:FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=1\n")), {2700}},
            {"BYSETPOS fini en 2500", EtatIcs::AucunEvenement, "0:",
             cal(ev("DTSTART;VALUE=DATE:24990101\nRRULE:FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=1;UNTIL=25000101\n")), {2700}},
            // Work bounds, not time: 29 000 starts of 63 empty parameters each are refused before libical parses
            // them; 50 monthly rules met only in a leap February starting on a Monday, counted since 1600, are read.
            {"paramètres du fichier", EtatIcs::TropComplexe, "0:", cal(fois(ev("DTSTART" + fois(";X=", 63) + ":20270501T100000Z\n"), 29000))},
            {"février impossible", EtatIcs::Ok, "1: 0501", cal(jours("20270501") + fois(ev("DTSTART;VALUE=DATE:16000101\n"
                                                                   "RRULE:FREQ=MONTHLY;BYDAY=5MO;BYMONTH=2;COUNT=2\n"), 50))},
            // Refused, each kind for each of its causes.
            {"n'importe quoi", EtatIcs::PasIcal, "0:", std::string("\x89PNG\r\n\x1a\n\x01\x02garbage", 18)},
            {"page web", EtatIcs::PasIcal, "0:", "<html><body>BEGIN:VCALENDAR</body></html>\n"},
            {"fin de trop", EtatIcs::PasIcal, "0:", Scolaire + "BEGIN:VEVENT\n"},
            {"tronqué", EtatIcs::Tronque, "0:", Scolaire.substr(0, Scolaire.size() / 2)},
            {"trop gros", EtatIcs::TropGros, "0:", std::string(TailleMaxIcs + 1, ' ')},
            // Nesting as libical reads it (a BEGIN or an END with parameters, blanks or in lower case counts): eight
            // levels, the calendar's included, are read; a ninth is refused.
            {"8 niveaux", EtatIcs::Ok, "1: 0501", cal(jours("20270501") + fois("BEGIN:X\n", 7) + fois("END:X\n", 7))},
            {"9 niveaux", EtatIcs::TropComplexe, "0:",
             cal(jours("20270501") + fois("BEGIN;X=1:X\nBEGIN :X\nbegin\t:x\n", 2) + "BEGIN:X\nBEGIN:X\n" + fois("END;X=1:X\n", 8))},
            // What libical parses is bounded: a line of a property read, its parameters, the values of a component.
            {"ligne longue", EtatIcs::TropComplexe, "0:", cal(ev("UID:" + std::string(LigneMaxIcs, 'u') + "\n"))},
            {"paramètres", EtatIcs::TropComplexe, "0:", cal(ev("DTSTART" + fois(";X=1", 64) + ";VALUE=DATE:20270501\n"))},
            {"valeurs", EtatIcs::TropComplexe, "0:",
             cal(ev("DTSTART;VALUE=DATE:20270501\n" + fois("EXDATE;VALUE=DATE:20270502,20270503\n", 2501)))},
            // Zone rules changing every day, or never: each would be expanded change by change since the year 1.
            {"fuseau chaque jour", EtatIcs::TropComplexe, "0:",
             cal(zone("0001", "BYDAY=MO,TU,WE,TH,FR,SA,SU") + ev("DTSTART;TZID=Z:20270301T100000\n"))},
            {"fuseau au 30 février", EtatIcs::TropComplexe, "0:",
             cal(zone("0001", "BYMONTH=2;BYMONTHDAY=30") + ev("DTSTART;TZID=Z:20270301T100000\n"))},
            {"toutes les minutes", EtatIcs::TropComplexe, "0:", cal(ev("DTSTART:20270101T000000Z\nRRULE:FREQ=MINUTELY\n"))},
            {"fuseau à la seconde", EtatIcs::TropComplexe, "0:",
             cal("BEGIN:VTIMEZONE\nTZID:X\nBEGIN:STANDARD\nDTSTART:19700101T000000\nRRULE:FREQ=SECONDLY\nTZOFFSETFROM:+0100\n"
                 "TZOFFSETTO:+0200\nEND:STANDARD\nEND:VTIMEZONE\n" + ev("DTSTART;TZID=X:20270101T100000\n"))}};
        for (const auto& c : cas) {
            const ImportIcs r = LireIcs(c.texte, c.periode, "Europe/Paris");
            QCOMPARE(std::tuple(QString(c.nom), r.etat, plages(r)), std::tuple(QString(c.nom), c.etat, QString(c.jours)));
        }
        // Five thousand daily events on Mondays and Tuesdays: the 104 of 2027, whatever the machine's load.
        const ImportIcs r = LireIcs(cal(fois(ev("DTSTART;VALUE=DATE:20260105\nRRULE:FREQ=DAILY;BYDAY=MO,TU\n"), 5000)), {2027});
        VERIFIER(r.etat == EtatIcs::Ok, r.nombreJours == 104, r.nombreEvenements == 5000);
        for (int j = 0; j < 365; ++j) QVERIFY(r.jours[j] == (QDate(2027, 1, 1).addDays(j).dayOfWeek() <= 2));
        // Every cell showing a covered day takes the colour (rounded), grey cells of the neighbouring months of
        // the year included; other cells keep theirs, and bad files leave them all.
        QTemporaryDir dossier;
        const std::filesystem::path chemin = QFile::encodeName(dossier.filePath("zones.ics")).toStdString();
        EcrireFichier(chemin, Scolaire);
        double t[13][43] = {}, avant[13][43];
        t[3][7] = t[3][14] = 0x00FF00; // 1 March, covered; 8 March, not
        QCOMPARE(ImporterIcs(chemin, {2027}, 255.4, t, "Europe/Paris").nombreEvenements, 5);
        // January 2027 starts in cell 4; 1-7 March in grey end February; 28 February opens March; 1/1/2028 is not ours.
        QCOMPARE((std::array{t[1][3], t[1][4], t[1][7], t[2][35], t[3][6], t[3][7], t[3][14], t[12][33]}),
                 (std::array<double, 8>{0, 255, 0, 255, 255, 255, 0x00FF00, 0}));
        std::memcpy(avant, t, sizeof avant);
        EcrireFichier(chemin, Scolaire.substr(0, 100));
        QCOMPARE(std::pair(ImporterIcs(chemin, {2027}, 1, t).etat, ImporterIcs(chemin / "x", {2027}, 1, t).etat),
                 std::pair(EtatIcs::Tronque, EtatIcs::Illisible));
        QVERIFY(std::memcmp(avant, t, sizeof avant) == 0);
    }

    // A zone's official calendar on the sheet of its school year: its four periods, the days the 2025 and 2026
    // sheets colour from September to August, the grey 1-4 January in the December block too.
    void anneeScolaire()
    {
        const std::string zoneB = LireFichier(QFINDTESTDATA("../fuzz/corpus/fuzz_ics/zone-b-2025-2026.ics").toStdString());
        const auto colores = [&](Periode p, TableCouleursSP& t) {
            const ImportIcs r = LireIcs(zoneB, p, "Europe/Paris");
            const ModeleFeuille f = ConstruireFeuille({p.annee, p.premierMois}, {}, TableCouleursSP{});
            std::set<int64_t> jours;
            for (const CaseSP& c : ColorerJours(r, 255, t))
                jours.insert(JoursDepuisEpoque(f.cellule({c.mois, c.cellule}).date));
            return std::tuple(MessageIcs(r), plages(r), jours);
        };
        double t[13][43] = {}, t2025[13][43] = {}, t2026[13][43] = {};
        auto [message, dates, jours] = colores({2025, 9}, t);
        VERIFIER(message == "64 jours de 2025-2026 dans 4 événements : Vacances de la Toussaint - Zone B, Vacances de Noël - Zone B, "
                                "Vacances d'Hiver - Zone B et Vacances de Printemps - Zone B", dates == "4: 1018-1102,1220-0104,0214-0301,0411-0426");
        std::set<int64_t> annees = std::get<2>(colores({2025}, t2025));
        annees.merge(std::get<2>(colores({2026}, t2026)));
        std::erase_if(annees, [](int64_t j) { return j < JoursDepuisEpoque({1, 9, 2025}) || j > JoursDepuisEpoque({31, 8, 2026}); });
        QCOMPARE(jours, annees);
        // December 2025: 31 in cell 37, then 1 to 4 January in grey (not on the 2025 sheet); back to school on 5 January.
        QCOMPARE((std::array{t[4][37], t[4][38], t[4][41], t2025[12][38], t[5][6], t[5][7]}),
                 (std::array<double, 6>{255, 255, 255, 0, 255, 0}));
    }
};

QTEST_GUILESS_MAIN(TestImportIcs)
#include "test_importics.moc"
