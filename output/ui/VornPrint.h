#pragma once
#include <QDialog>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <cstdint>
#include "output/MiseEnPage.h"
#include "output/ui/ImpressionPage.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPrinter;
class QRadioButton;
class QScrollBar;
class BoiteImage;
class vkCommand;

// The system's printers, in the system's order.
QList<ImprimanteDisponible> ImprimantesDuSysteme();

// The print dialog "Choix de l'imprimante": the printer, the print quality and
// the place of the picture on the page. Created for one print and destroyed
// after it; choisir() answers what to print, and the caller stores the quality
// each time qualiteChoisie tells it.
class VornPrint : public QDialog {
    Q_OBJECT
public:
    static constexpr int NombreBoutons = 6;

    // Where the printer list comes from (the system's printers unless replaced).
    static std::function<QList<ImprimanteDisponible>()> sourceImprimantes;

    // `source`: the picture to print; `tailleSourceTwips`: its size as the main
    // window reports it (the miniature keeps that aspect); `largeurTwips` x
    // `hauteurTwips`: the printed size; `qualiteEnregistree`: reads the quality
    // code stored ("-1" to "-4", empty for none), which each printer choice applies;
    // `positionRetenue`: the place last chosen on that printer for this print
    // size, if any, where a printer choice puts the picture instead of home.
    VornPrint(QWidget* parent, const QImage& source, QSizeF tailleSourceTwips, int16_t largeurTwips,
              int16_t hauteurTwips, std::function<QString()> qualiteEnregistree,
              std::function<std::optional<PositionBarres>(const QString& imprimante)> positionRetenue = {});
    ~VornPrint() override;

    // Shows the dialog until it closes: the choice, or nothing when no printer
    // was clicked or the print was cancelled.
    std::optional<ChoixImpression> choisir();

    // The layout of the page and the current printer's page, set at each
    // printer choice.
    const MiseEnPage& miseEnPage() const { return mp; }
    const PageImprimante& pageImprimante() const { return page; }
    // The current printer: none before the first printer click.
    QPrinter* imprimante() const { return m_imprimante.get(); }
    // Its name as the list shows it.
    const QString& nomImprimante() const { return m_nomImprimante; }

signals:
    // A quality option was clicked: its code, to store.
    void qualiteChoisie(const QString& code);
    // "Mise en page..." was clicked: the caller asks for the page and keeps it.
    void miseEnPageDemandee();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void ChoixPrint_Click(int index);
    void Qualité_Click(int index);
    void ValidePrint_Click();
    void AnnulPrint_Click();
    void FlècheM_Click(int index);
    void HScroll1_Change();
    void VScroll1_Change();
    void DessinerGrille();

    // The control arrays, by their design names; an element is named
    // "ChoixPrint(2)", "Qualité(4)", "FlècheM(8)".
    std::array<vkCommand*, NombreBoutons> ChoixPrint{};
    std::array<QRadioButton*, 5> Qualité{}; // 1 to 4
    std::array<QAbstractButton*, 9> FlècheM{};

    // Controls, by their design names.
    QGroupBox* Frame1 = nullptr;
    QGroupBox* QualImpr = nullptr;
    QGroupBox* MPage = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    BoiteImage* PictPage = nullptr;
    BoiteImage* PictMP = nullptr;
    vkCommand* ValidePrint = nullptr;
    vkCommand* AnnulPrint = nullptr;
    vkCommand* MiseEnPageImpr = nullptr;
    QLabel* AucuneImprimante = nullptr; // in the list's place when there is no printer

    // A printer was clicked and the dialog was not cancelled.
    bool ImpressionValidee = false;
    int16_t NumImprimante = -1;
    float QualiteImpr = -4;
    MiseEnPage mp;
    PageImprimante page;

    void Form_Load();
    void creerControles();
    void montrerMiniature(); // bars and miniature from `mp`
    void peindreMiniature();

    QImage m_source;
    int16_t m_largeurTwips, m_hauteurTwips;
    std::function<QString()> m_qualiteEnregistree;
    std::function<std::optional<PositionBarres>(const QString&)> m_positionRetenue;
    int m_choisie = -1; // index in m_liste of the printer clicked
    QSizeF m_tailleSource;
    QList<ImprimanteDisponible> m_liste;
    std::unique_ptr<QPrinter> m_imprimante;
    QString m_nomImprimante;
};
