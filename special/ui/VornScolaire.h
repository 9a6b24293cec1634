#pragma once
#include <QDialog>
#include <QUrl>
#include <functional>

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
// the official dates, a way into the special-colours window and the calendar
// of the current school year. Modal; it answers by its result:
// CouleursSpeciales when the user asked for that window (the caller opens it),
// AnneeScolaireDemandee when the user asked for the current school year's
// calendar (the caller builds it), Rejected otherwise.
class VornScolaire : public QDialog {
    Q_OBJECT
public:
    static constexpr int CouleursSpeciales = 2;
    static constexpr int AnneeScolaireDemandee = 3;

    // Placed on the top-left corner of `parent`.
    explicit VornScolaire(QWidget* parent);

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
};
