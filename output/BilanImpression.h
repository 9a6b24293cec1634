#pragma once
#include <string>
#include <string_view>

// What became of a page sent to a print server, and what the user is told.
//
// The page goes to the server as one job; the server answers the request with
// an IPP status, then the printer's and the job's states say whether the page
// is on its way. Numbers and keywords are those of IPP (RFC 8011) as CUPS
// reports them; texts are UTF-8.

// IPP status codes the verdict tells apart.
inline constexpr int IppServiceIndisponible = 0x0502; // no answer from the server (libcups says this too)
inline constexpr int IppIntrouvable = 0x0406;         // client-error-not-found: no such printer
inline constexpr int IppRefuseTravaux = 0x0506;       // server-error-not-accepting-jobs
inline constexpr int IppTravailAnnule = 0x0508;       // server-error-job-canceled
// IPP printer-state and job-state values.
inline constexpr int ImprimanteArretee = 5;
inline constexpr int TravailArrete = 6, TravailAnnule = 7, TravailAbandonne = 8, TravailTermine = 9;

struct ConstatImpression {
    int statut = 0;            // IPP status of the sending (0x0000 to 0x00FF: accepted)
    std::string raison;        // the server's words for it
    int etatImprimante = 0;    // printer-state: 3 idle, 4 processing, 5 stopped; 0 unknown
    std::string raisonsEtat;   // printer-state-reasons, keywords separated by commas
    std::string messageEtat;   // printer-state-message (the reason given with cupsreject or cupsdisable)
    int travail = 0;           // job id; 0: no job
    int etatTravail = 0;       // job-state: 3 pending ... 9 completed; 0 unknown
};

enum class Issue {
    Envoyee,           // the job is there and nothing stops it
    ServeurMuet,       // the scheduler does not answer: nothing sent
    Refusee,           // the queue refuses jobs: nothing sent
    Introuvable,       // the server does not know the printer (any more): nothing sent
    Echec,             // the server refused the request for another reason
    Annulee,           // the server cancelled, aborted or stopped the job
    ImprimanteEnErreur, // the job waits behind a printer in error
    ImprimanteArretee, // the job waits behind a stopped printer
};

struct Bilan {
    Issue issue = Issue::Envoyee;
    std::string message; // empty when there is nothing to say
};

// The verdict on a print to `imprimante` (its name as the list shows it).
Bilan BilanImpression(std::string_view imprimante, const ConstatImpression& c);

// The job is on its way (pending, held, processing): worth reading again.
bool TravailEnCours(const ConstatImpression& c);
