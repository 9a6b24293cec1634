// Hostile and large iCalendar files, each read for 2027 as the import reads them: the time of the median of three
// reads (goal: each well under a second) and the peak memory of the whole run.
#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "OutilsBench.h"
#include "special/ImportIcs.h"

namespace {
const std::string Entete = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//FR\r\n", Fin = "END:VCALENDAR\r\n";
const std::string Evenement = "BEGIN:VEVENT\r\nUID:x\r\nDTSTART;VALUE=DATE:20270501\r\nEND:VEVENT\r\n";

std::string fois(const std::string& s, size_t n)
{
    std::string r;
    r.reserve(s.size() * n);
    while (n-- > 0)
        r += s;
    return r;
}

// `n` DAYLIGHT changes of the zone Z since the year 1 by `regle`, and an event in that zone.
std::string fuseau(int n, const std::string& regle)
{
    return Entete + "BEGIN:VTIMEZONE\r\nTZID:Z\r\n"
           + fois("BEGIN:DAYLIGHT\r\nDTSTART:00010101T020000\r\nRRULE:FREQ=YEARLY;" + regle
                      + "\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\n",
                  size_t(n))
           + "END:VTIMEZONE\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART;TZID=Z:20270301T100000\r\nEND:VEVENT\r\n" + Fin;
}

std::string evenements(size_t n)
{
    std::string s = Entete;
    for (size_t i = 0; i < n; ++i)
        s += "BEGIN:VEVENT\r\nUID:" + std::to_string(i) + "\r\nDESCRIPTION:Réunion\r\nDTSTART;VALUE=DATE:20270"
             + std::to_string(i % 9 + 1) + "01\r\nEND:VEVENT\r\n";
    return s + Fin;
}
} // namespace

int main()
{
    const std::vector<std::pair<const char*, std::string>> cas = {
        {"imbrication BEGIN;X=1:X x 300 000",
         Entete + Evenement + fois("BEGIN;X=1:X\r\n", 300000) + fois("END;X=1:X\r\n", 300000) + Fin},
        {"fuseau de 8 regles quotidiennes depuis l'an 1", fuseau(8, "BYDAY=MO,TU,WE,TH,FR,SA,SU")},
        {"fuseau de 40 regles annuelles depuis l'an 1", fuseau(40, "BYMONTH=3;BYDAY=-1SU")},
        {"fuseau de 40 regles au 30 fevrier", fuseau(40, "BYMONTH=2;BYMONTHDAY=30")},
        {"propriete de 100 000 parametres", Entete + "BEGIN:VEVENT\r\nUID:x\r\nDTSTART;VALUE=DATE:20270501\r\nX-A"
                                                + fois(";A=1", 100000) + ":v\r\nEND:VEVENT\r\n" + Fin},
        {"ligne de 10 Mo", Entete + Evenement + "X-A:" + std::string(TailleMaxIcs - 200, 'a') + "\r\n" + Fin},
        {"1,4 million de petites proprietes",
         Entete + "BEGIN:VEVENT\r\n" + fois("UID:x\r\n", 1400000) + "END:VEVENT\r\n" + Fin},
        {"100 000 evenements", evenements(99000)},
        {"29 000 debuts de 63 parametres vides",
         Entete + fois("BEGIN:VEVENT\r\nUID:x\r\nDTSTART" + fois(";X=", 63) + ":20270501T100000Z\r\nEND:VEVENT\r\n", 29000) + Fin},
        {"5 000 evenements quotidiens BYDAY=MO,TU",
         Entete + fois("BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260105\r\nRRULE:FREQ=DAILY;BYDAY=MO,TU\r\nEND:VEVENT\r\n", 5000) + Fin},
        {"2 700 evenements quotidiens a Paris",
         Entete + fois("BEGIN:VEVENT\r\nDTSTART;TZID=Europe/Paris:20270101T100000\r\nDURATION:PT1H\r\nRRULE:FREQ=DAILY\r\n"
                       "END:VEVENT\r\n", 2700) + Fin},
    };
    for (const auto& [nom, texte] : cas) {
        std::vector<double> ms;
        ImportIcs r;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            r = LireIcs(texte, {2027}, "Europe/Paris");
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("%-48s %6zu Ko : %5.0f ms (objectif < 1000 ms), %s\n", nom, texte.size() / 1024, mediane(ms),
                    MessageIcs(r).c_str());
    }
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("Pointe memoire : %ld Mo\n", u.ru_maxrss / 1024);
    return 0;
}
