#include "output/BilanImpression.h"

#include "commun/Texte.h"

namespace {

// The state reasons worth showing: "none" dropped, each keyword once.
std::string Raisons(std::string_view liste)
{
    std::string texte;
    while (!liste.empty()) {
        const auto virgule = liste.find(',');
        const std::string_view mot = SansBlancs(liste.substr(0, virgule), BlancsNombre);
        liste = virgule == std::string_view::npos ? std::string_view() : liste.substr(virgule + 1);
        if (mot.empty() || mot == "none" || (", " + texte + ",").find(", " + std::string(mot) + ",") != std::string::npos)
            continue;
        texte += texte.empty() ? "" : ", ";
        texte += mot;
    }
    return texte;
}

// A reason keyword of an error ("media-empty-error"), not a warning or a report.
bool RaisonErreur(std::string_view liste)
{
    while (!liste.empty()) {
        const auto virgule = liste.find(',');
        const std::string_view mot = SansBlancs(liste.substr(0, virgule), BlancsNombre);
        liste = virgule == std::string_view::npos ? std::string_view() : liste.substr(virgule + 1);
        if (FinitParSansCasse(mot, "-error"))
            return true;
    }
    return false;
}

// "CUPS : « a » (b)": what the server said, each text once, or nothing.
std::string ParoleCups(const std::string& premiere, const std::string& seconde)
{
    std::string a(SansBlancs(premiere, BlancsNombre)), b(SansBlancs(seconde, BlancsNombre));
    if (a.empty())
        a.swap(b);
    if (a.empty())
        return {};
    std::string texte = "\nCUPS : \xC2\xAB\xC2\xA0" + a + "\xC2\xA0\xC2\xBB";
    if (!b.empty() && b != a)
        texte += " (" + b + ")";
    return texte;
}

std::string Nom(std::string_view imprimante)
{
    return "\xC2\xAB\xC2\xA0" + std::string(imprimante) + "\xC2\xA0\xC2\xBB";
}

const std::string Reste = "\nLe calendrier est toujours l\xC3\xA0 : cliquez de nouveau sur \xC2\xAB\xC2\xA0Imprimer\xC2\xA0\xC2\xBB "
                          "quand ce sera r\xC3\xA9gl\xC3\xA9.";

} // namespace

bool TravailEnCours(const ConstatImpression& c)
{
    return c.travail > 0 && c.etatTravail >= 3 && c.etatTravail < TravailArrete;
}

Bilan BilanImpression(std::string_view imprimante, const ConstatImpression& c)
{
    const std::string nom = Nom(imprimante);
    const std::string raisons = Raisons(c.raisonsEtat);
    if (c.statut >= 0x0100 || (c.statut == 0 && c.travail <= 0 && !c.raison.empty())) {
        switch (c.statut) {
        case IppServiceIndisponible:
            return {Issue::ServeurMuet, "Le service d'impression (CUPS) ne r\xC3\xA9pond pas : la page n'a pas \xC3\xA9t\xC3\xA9 "
                                        "envoy\xC3\xA9" "e \xC3\xA0 " + nom + "." + ParoleCups(c.raison, {})
                                            + "\nV\xC3\xA9rifiez que le service d'impression est d\xC3\xA9marr\xC3\xA9." + Reste};
        case IppRefuseTravaux:
            return {Issue::Refusee, "L'imprimante " + nom + " refuse les travaux d'impression : la page n'a pas \xC3\xA9t\xC3\xA9 "
                                    "imprim\xC3\xA9" "e." + ParoleCups(c.raison, c.messageEtat) + Reste};
        case IppIntrouvable:
            return {Issue::Introuvable, "L'imprimante " + nom + " est introuvable : le service d'impression ne la "
                                        "conna\xC3\xAEt pas (ou plus), la page n'a pas \xC3\xA9t\xC3\xA9 envoy\xC3\xA9" "e."
                                            + ParoleCups(c.raison, {}) + Reste};
        case IppTravailAnnule:
            break;
        default:
            return {Issue::Echec, "L'impression n'a pas pu \xC3\xAAtre envoy\xC3\xA9" "e \xC3\xA0 " + nom + "."
                                      + ParoleCups(c.raison, c.messageEtat) + Reste};
        }
    }
    if (c.statut == IppTravailAnnule || c.etatTravail == TravailAnnule || c.etatTravail == TravailAbandonne)
        return {Issue::Annulee, "Le service d'impression a annul\xC3\xA9 la page envoy\xC3\xA9" "e \xC3\xA0 " + nom
                                    + " : elle ne sera pas imprim\xC3\xA9" "e." + ParoleCups(c.messageEtat.empty() ? c.raison : c.messageEtat, raisons) + Reste};
    if (c.etatTravail == TravailTermine)
        return {};
    if (RaisonErreur(c.raisonsEtat))
        return {Issue::ImprimanteEnErreur, "L'imprimante " + nom + " est en erreur : la page attend dans sa file et "
                                           "sortira quand l'imprimante sera remise en \xC3\xA9tat."
                                               + ParoleCups(raisons, c.messageEtat)};
    if (c.etatImprimante == ImprimanteArretee)
        return {Issue::ImprimanteArretee, "L'imprimante " + nom + " est arr\xC3\xAAt\xC3\xA9" "e : la page attend dans sa file "
                                          "et sortira quand l'imprimante sera remise en service."
                                              + ParoleCups(c.messageEtat, raisons)};
    // Stopped by the server (a filter that failed) while the printer is in service: it will not come out.
    if (c.etatTravail == TravailArrete)
        return {Issue::Annulee, "Le service d'impression a arr\xC3\xAAt\xC3\xA9 la page envoy\xC3\xA9" "e \xC3\xA0 " + nom
                                    + " : elle n'est pas imprim\xC3\xA9" "e." + ParoleCups(c.messageEtat.empty() ? c.raison : c.messageEtat, raisons) + Reste};
    return {};
}
