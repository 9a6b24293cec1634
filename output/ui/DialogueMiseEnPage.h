#pragma once
#include <QDialog>
#include <optional>

#include "output/Page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class MiniaturePage;

// The "Mise en page" dialog: paper, orientation, grid of months, run of
// months, title, legend, holiday list, week numbers, ink saving and margins,
// with a miniature of the page drawn by the painter as the choices change. It
// takes the options in use and gives back the ones chosen; the caller keeps
// them and decides what to make with them.
class DialogueMiseEnPage : public QDialog {
    Q_OBJECT
public:
    DialogueMiseEnPage(QWidget* parent, const ModeleFeuille& feuille, const EtiquettesCouleurs& etiquettes,
                       const OptionsPage& actuelles);

    // The options as the controls show them now.
    OptionsPage options() const;

    // Opens the dialog: the options chosen when "Valider" closes it, nothing
    // when it is cancelled.
    static std::optional<OptionsPage> Choisir(QWidget* parent, const ModeleFeuille& feuille,
                                              const EtiquettesCouleurs& etiquettes, const OptionsPage& actuelles);
    // The same, with "Image seule": the options chosen, no page (the picture
    // alone, as without a layout), or nothing when cancelled.
    static std::optional<std::optional<OptionsPage>> ChoisirOuImage(QWidget* parent, const ModeleFeuille& feuille,
                                                                    const EtiquettesCouleurs& etiquettes,
                                                                    const OptionsPage& actuelles);

private:
    void montrer(const OptionsPage& o);
    void actualiser();

    const ModeleFeuille& m_feuille;
    EtiquettesCouleurs m_etiquettes;
    OptionsPage m_depart;
    QComboBox* m_papier = nullptr;
    QComboBox* m_orientation = nullptr;
    QComboBox* m_disposition = nullptr;
    QComboBox* m_du = nullptr;
    QComboBox* m_au = nullptr;
    QLineEdit* m_titre = nullptr;
    QCheckBox* m_legende = nullptr;
    QCheckBox* m_feries = nullptr;
    QCheckBox* m_semaines = nullptr;
    QCheckBox* m_encre = nullptr;
    QSpinBox* m_marge = nullptr;
    MiniaturePage* m_miniature = nullptr;
};
