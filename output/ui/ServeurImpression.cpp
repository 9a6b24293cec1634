#include "output/ui/ServeurImpression.h"

#include <QTimer>

#include <cups/cups.h>

#include <string>

std::function<std::shared_ptr<ServeurImpression>()> ServeurImpression::source;
int ServeurImpression::intervalleSuivi = 1000;

std::shared_ptr<ServeurImpression> ServeurImpression::courant()
{
    return source ? source() : ServeurCups();
}

namespace {

class Cups final : public ServeurImpression {
public:
    // A server that asks for a password gets none (libcups would otherwise
    // read it from the terminal): the request fails and that is said.
    Cups()
    {
        cupsSetPasswordCB2([](const char*, http_t*, const char*, const char*, void*) -> const char* { return nullptr; },
                           nullptr);
    }

    ConstatImpression envoyer(const QString& imprimante, const QString& titre, const QByteArray& pdf,
                              const Options& options) override
    {
        ConstatImpression c;
        const QByteArray nom = file(imprimante), titre8 = titre.toUtf8();
        // The printer first: a scheduler that does not answer and a printer it
        // does not know are said as such (libcups's own look-up of the
        // destination leaves no telling status behind).
        if (!lireImprimante(nom, c))
            return c;
        cups_option_t* opts = nullptr;
        int n = 0;
        for (const auto& [cle, valeur] : options)
            n = cupsAddOption(cle.constData(), valeur.constData(), n, &opts);
        c.travail = cupsCreateJob(CUPS_HTTP_DEFAULT, nom.constData(), titre8.constData(), n, opts);
        cupsFreeOptions(n, opts);
        if (c.travail <= 0) {
            c.travail = 0;
            erreur(c);
            return c;
        }
        http_status_t http = cupsStartDocument(CUPS_HTTP_DEFAULT, nom.constData(), c.travail, titre8.constData(),
                                               CUPS_FORMAT_PDF, 1);
        if (http == HTTP_STATUS_CONTINUE)
            http = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), size_t(pdf.size()));
        // The document's answer, also when the data could not all be written.
        const ipp_status_t fin = cupsFinishDocument(CUPS_HTTP_DEFAULT, nom.constData());
        if (http != HTTP_STATUS_CONTINUE || fin > IPP_STATUS_OK_EVENTS_COMPLETE) {
            erreur(c);
            if (c.statut < 0x0100)
                c.statut = 0x0500;
            cupsCancelJob2(CUPS_HTTP_DEFAULT, nom.constData(), c.travail, 0);
            return c;
        }
        relire(imprimante, c);
        return c;
    }

    void relire(const QString& imprimante, ConstatImpression& c) override
    {
        const QByteArray nom = file(imprimante);
        ConstatImpression lu;
        if (!lireImprimante(nom, lu))
            return; // nothing new known
        c.etatImprimante = lu.etatImprimante;
        c.raisonsEtat = lu.raisonsEtat;
        c.messageEtat = lu.messageEtat;
        // The one job's state (the queue's whole history is not fetched).
        if (c.travail > 0) {
            ipp_t* requete = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
            ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uriImprimante(nom).c_str());
            ippAddInteger(requete, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", c.travail);
            ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
            if (ipp_t* reponse = cupsDoRequest(CUPS_HTTP_DEFAULT, requete, "/")) {
                if (ipp_attribute_t* a = ippFindAttribute(reponse, "job-state", IPP_TAG_ENUM))
                    c.etatTravail = ippGetInteger(a, 0);
                ippDelete(reponse);
            }
        }
    }

private:
    // The queue's name without an instance ("PDF/brouillon" is queue "PDF").
    static QByteArray file(const QString& imprimante) { return imprimante.section(u'/', 0, 0).toUtf8(); }

    static std::string uriImprimante(const QByteArray& nom)
    {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                         nom.constData());
        return uri;
    }

    static void erreur(ConstatImpression& c)
    {
        c.statut = int(cupsLastError());
        c.raison = cupsLastErrorString() ? cupsLastErrorString() : "";
    }

    // The printer's state, reasons and message (the text given with cupsreject
    // or cupsdisable) into `c`; false, with the status and the reason in `c`,
    // when the scheduler does not answer or does not know the printer.
    static bool lireImprimante(const QByteArray& nom, ConstatImpression& c)
    {
        ipp_t* requete = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        ippAddString(requete, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uriImprimante(nom).c_str());
        static const char* const attributs[] = {"printer-state", "printer-state-reasons", "printer-state-message"};
        ippAddStrings(requete, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, attributs);
        ipp_t* reponse = cupsDoRequest(CUPS_HTTP_DEFAULT, requete, "/");
        if (!reponse || cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
            erreur(c);
            // No answer at all: the scheduler is not there.
            if (!reponse && c.statut < 0x0400)
                c.statut = IppServiceIndisponible;
            ippDelete(reponse);
            return false;
        }
        if (ipp_attribute_t* a = ippFindAttribute(reponse, "printer-state", IPP_TAG_ENUM))
            c.etatImprimante = ippGetInteger(a, 0);
        c.raisonsEtat.clear();
        if (ipp_attribute_t* a = ippFindAttribute(reponse, "printer-state-reasons", IPP_TAG_KEYWORD))
            for (int i = 0; i < ippGetCount(a); ++i)
                c.raisonsEtat += (i ? "," : "") + std::string(ippGetString(a, i, nullptr));
        if (ipp_attribute_t* a = ippFindAttribute(reponse, "printer-state-message", IPP_TAG_ZERO))
            c.messageEtat = ippGetString(a, 0, nullptr) ? ippGetString(a, 0, nullptr) : "";
        ippDelete(reponse);
        return true;
    }
};

} // namespace

std::shared_ptr<ServeurImpression> ServeurCups()
{
    return std::make_shared<Cups>();
}

void SuivreImpression(QObject* parent, std::shared_ptr<ServeurImpression> serveur, const QString& imprimante,
                      const ConstatImpression& constat, std::function<void(const Bilan&)> dire, int lectures)
{
    if (!serveur || !TravailEnCours(constat) || lectures <= 0)
        return;
    auto* minuterie = new QTimer(parent);
    minuterie->setInterval(ServeurImpression::intervalleSuivi);
    QObject::connect(minuterie, &QTimer::timeout, minuterie,
                     [minuterie, serveur, imprimante, c = constat, dire = std::move(dire), lectures]() mutable {
                         serveur->relire(imprimante, c);
                         const Bilan b = BilanImpression(imprimante.toStdString(), c);
                         if (--lectures <= 0 || !TravailEnCours(c) || !b.message.empty()) {
                             minuterie->stop();
                             minuterie->deleteLater();
                             if (!b.message.empty() && dire)
                                 dire(b);
                         }
                     });
    minuterie->start();
}
