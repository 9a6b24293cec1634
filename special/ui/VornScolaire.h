#pragma once
#include <QDialog>
#include <QUrl>
#include <functional>

class Principal;
class QLabel;
class vkCommand;

// The education ministry's school-calendar page.
inline constexpr char AdresseCalendrierScolaire[] = "https://www.education.gouv.fr/calendrier-scolaire-100148";

// Opens a web page in the user's browser through the desktop's opener
// (xdg-open), else through Qt's. False when nothing could be started; when the
// opener ends in failure (no browser), `siEchec` runs, unless `contexte` is gone.
bool OuvrirPageWeb(const QUrl& adresse, QObject* contexte, std::function<void()> siEchec);

// Credit of the map's background, shown as the map's tooltip.
extern const char* const CreditCarteZones;

// "Carte et Calendrier scolaire": the map of the school-holiday zones, a link to
// the official dates, a way into the special-colours window, and the calendar
// of the current school year. Modal.
class VornScolaire : public QDialog {
    Q_OBJECT
public:
    explicit VornScolaire(Principal& principal);

    // What exec() returns when "Calendrier de l'année scolaire" closed the
    // window: the main window is then to build the current school year.
    static constexpr int AnneeScolaireDemandee = 2;

    // Opens a web page in the user's browser (OuvrirPageWeb by default): false
    // when no browser can be started; `siEchec` runs when the opener, started,
    // finds no browser.
    std::function<bool(const QUrl&, std::function<void()> siEchec)> ouvrirPage;

    void CalendScolaire_Click();
    // The page could not be opened: its address, to copy.
    void AdresseNonOuverte();
    void CSpeciale_Click();
    void AnneeScolaire_Click();
    void FermeCarte_Click();

private:
    void Form_Load();

    QLabel* Image1 = nullptr;
    vkCommand* CalendScolaire = nullptr;
    vkCommand* FermeCarte = nullptr;
    QLabel* Label1[2] = {};
    QLabel* LabelIcs = nullptr; // the official calendars can be imported
    vkCommand* CSpeciale = nullptr;
    vkCommand* AnneeScolaire = nullptr;
    Principal& m_principal;
};
