#pragma once
#include <QDialog>
#include <QUrl>
#include <functional>

class Principal;
class QLabel;
class vkCommand;

// The education ministry's school-calendar page.
inline constexpr char AdresseCalendrierScolaire[] = "https://www.education.gouv.fr/calendrier-scolaire-100148";

// Credit of the map's background, shown as the map's tooltip.
extern const char* const CreditCarteZones;

// "Carte et Calendrier scolaire": the map of the school-holiday zones, a link to
// the official dates and a way into the special-colours window. Modal.
class VornScolaire : public QDialog {
    Q_OBJECT
public:
    explicit VornScolaire(Principal& principal);

    // Opens a web page in the user's browser (QDesktopServices by default); its
    // result is ignored.
    std::function<bool(const QUrl&)> ouvrirPage;

    void CalendScolaire_Click();
    void CSpeciale_Click();
    void FermeCarte_Click();

private:
    void Form_Load();

    QLabel* Image1 = nullptr;
    vkCommand* CalendScolaire = nullptr;
    vkCommand* FermeCarte = nullptr;
    QLabel* Label1[2] = {};
    QLabel* LabelIcs = nullptr; // the official calendars can be imported
    vkCommand* CSpeciale = nullptr;
    Principal& m_principal;
};
