#include "output/ui/DialogueMiseEnPage.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>

#include "commun/ui/Controles.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Styles.h"
#include "output/ui/PeintrePage.h"

// The page in miniature, fitted into the control, on a grey desk.
class MiniaturePage : public QWidget {
public:
    explicit MiniaturePage(QWidget* parent) : QWidget(parent) {}
    void montrer(const ModeleFeuille* feuille, PlanPage plan)
    {
        m_feuille = feuille;
        m_plan = std::move(plan);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        if (!m_feuille || m_plan.taille.largeur <= 0)
            return;
        const double k = std::min((width() - 8.0) / m_plan.taille.largeur, (height() - 8.0) / m_plan.taille.hauteur);
        const QSizeF taille(m_plan.taille.largeur * k, m_plan.taille.hauteur * k);
        const QRectF cible(QPointF((width() - taille.width()) / 2, (height() - taille.height()) / 2), taille);
        p.fillRect(cible.translated(2, 2), QColor(64, 64, 64));
        DessinerPage(p, cible, *m_feuille, m_plan);
    }

private:
    const ModeleFeuille* m_feuille = nullptr;
    PlanPage m_plan;
};

namespace {
// Twips: left, top, width, height in the dialog.
constexpr RectTwips R_Fenetre{0, 0, 10500, 6300}; // rows of 480 twips down the left, the miniature on the right
constexpr RectTwips R_Miniature{5100, 120, 5280, 5400};
constexpr int GaucheLibelle = 120, GaucheChamp = 1800, LargeurLibelle = 1650, LargeurChamp = 3150;
constexpr int HautPremier = 150, Pas = 480, HauteurChamp = 360;
constexpr RectTwips R_Valider{5100, 5700, 2550, 450};
constexpr RectTwips R_Annuler{7830, 5700, 2550, 450};
constexpr RectTwips R_ImageSeule{120, 5700, 4830, 450};
// The result of "Image seule".
constexpr int ResultatImageSeule = 2;

constexpr RectTwips libelle(int rang) { return {GaucheLibelle, HautPremier + rang * Pas, LargeurLibelle, HauteurChamp}; }
constexpr RectTwips champ(int rang) { return {GaucheChamp, HautPremier + rang * Pas, LargeurChamp, HauteurChamp}; }
constexpr RectTwips caseEntiere(int rang)
{
    return {GaucheLibelle, HautPremier + rang * Pas, GaucheChamp + LargeurChamp - GaucheLibelle, HauteurChamp};
}

constexpr double FondFenetre = 0x00E0E0E0;

const Papier Papiers[] = {Papier::A4, Papier::A3, Papier::A5, Papier::Lettre};
const Disposition Dispositions[] = {Disposition::Auto, Disposition::G3x4, Disposition::G4x3, Disposition::G6x2};

QFont police() { return PoliceDessin(QStringLiteral("Arial"), 9.75, false); }
} // namespace

DialogueMiseEnPage::DialogueMiseEnPage(QWidget* parent, const ModeleFeuille& feuille,
                                       const EtiquettesCouleurs& etiquettes, const OptionsPage& actuelles)
    : QDialog(parent), m_feuille(feuille), m_etiquettes(etiquettes), m_depart(OptionsBornees(actuelles))
{
    setWindowTitle(QStringLiteral("Mise en page"));
    FondWidget(this, VersQColor(FondFenetre));
    const RectPixels client = VersPixels(R_Fenetre);
    setFixedSize(client.l, client.h);
    setFont(police());

    const auto libelleEn = [this](int rang, const QString& texte) {
        etiquette(this, texte, libelle(rang), police(), 0, FondFenetre)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    };
    libelleEn(0, QStringLiteral("Papier :"));
    m_papier = placer(new QComboBox(this), champ(0));
    m_papier->addItems({QStringLiteral("A4"), QStringLiteral("A3"), QStringLiteral("A5"), QStringLiteral("Lettre US")});
    libelleEn(1, QStringLiteral("Orientation :"));
    m_orientation = placer(new QComboBox(this), champ(1));
    m_orientation->addItems({QStringLiteral("Portrait"), QStringLiteral("Paysage")});
    libelleEn(2, QStringLiteral("Mois :"));
    m_disposition = placer(new QComboBox(this), champ(2));
    m_disposition->addItems({QStringLiteral("Au mieux"), QStringLiteral("3 x 4"), QStringLiteral("4 x 3"),
                             QStringLiteral("6 x 2")});
    libelleEn(3, QStringLiteral("Du mois :"));
    m_du = placer(new QComboBox(this), champ(3));
    libelleEn(4, QStringLiteral("Au mois :"));
    m_au = placer(new QComboBox(this), champ(4));
    for (int b = 1; b <= BlocsParFeuille; ++b) {
        const QString nom = QString::fromStdString(feuille.bloc(b).titre);
        m_du->addItem(nom);
        m_au->addItem(nom);
    }
    libelleEn(5, QStringLiteral("Titre :"));
    m_titre = placer(new QLineEdit(this), champ(5));
    m_titre->setPlaceholderText(QStringLiteral("(sans titre)"));
    m_legende = placer(new QCheckBox(QStringLiteral("Légende des couleurs"), this), caseEntiere(6));
    m_feries = placer(new QCheckBox(QStringLiteral("Liste des jours fériés"), this), caseEntiere(7));
    m_semaines = placer(new QCheckBox(QStringLiteral("Numéros de semaine"), this), caseEntiere(8));
    m_encre = placer(new QCheckBox(QStringLiteral("Économie d'encre"), this), caseEntiere(9));
    libelleEn(10, QStringLiteral("Marges (mm) :"));
    m_marge = placer(new QSpinBox(this), champ(10));
    m_marge->setRange(0, 40);
    m_miniature = placer(new MiniaturePage(this), R_Miniature);
    m_miniature->setAccessibleName(QStringLiteral("Aperçu de la page"));

    vkCommand* valider = boutonCouleur(this, QStringLiteral("Valider"), R_Valider, 0x0000FF00, 0x00004000);
    vkCommand* annuler = bouton(this, QStringLiteral("Annuler"), R_Annuler);
    connect(valider, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(annuler, &QAbstractButton::clicked, this, &QDialog::reject);
    vkCommand* imageSeule = bouton(this, QStringLiteral("Image seule (sans mise en page)"), R_ImageSeule);
    connect(imageSeule, &QAbstractButton::clicked, this, [this] { done(ResultatImageSeule); });

    montrer(m_depart);
    for (QComboBox* c : {m_papier, m_orientation, m_disposition, m_du, m_au})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { actualiser(); });
    for (QCheckBox* c : {m_legende, m_feries, m_semaines, m_encre})
        connect(c, &QCheckBox::toggled, this, [this] { actualiser(); });
    connect(m_titre, &QLineEdit::textChanged, this, [this] { actualiser(); });
    connect(m_marge, &QSpinBox::valueChanged, this, [this] { actualiser(); });
    Nommer({{m_papier, "Papier"}, {m_orientation, "Orientation"}, {m_disposition, "Disposition"}, {m_du, "MoisDu"},
            {m_au, "MoisAu"}, {m_titre, "Titre"}, {m_legende, "Legende"}, {m_feries, "ListeFeries"},
            {m_semaines, "Semaines"}, {m_encre, "EconomieEncre"}, {m_marge, "Marge"}, {m_miniature, "Miniature"},
            {valider, "ValiderPage"}, {annuler, "AnnulerPage"}, {imageSeule, "ImageSeule"}});
    actualiser();
}

void DialogueMiseEnPage::montrer(const OptionsPage& o)
{
    m_papier->setCurrentIndex(int(std::find(std::begin(Papiers), std::end(Papiers), o.papier) - std::begin(Papiers)));
    m_orientation->setCurrentIndex(o.paysage ? 1 : 0);
    m_disposition->setCurrentIndex(
        int(std::find(std::begin(Dispositions), std::end(Dispositions), o.disposition) - std::begin(Dispositions)));
    m_du->setCurrentIndex(o.premierBloc - 1);
    m_au->setCurrentIndex(o.premierBloc + o.nombreMois - 2);
    m_titre->setText(QString::fromStdString(o.titre.value_or(TitreParDefaut(m_feuille))));
    m_legende->setChecked(o.legende);
    m_feries->setChecked(o.listeFeries);
    m_semaines->setChecked(o.semaines);
    m_encre->setChecked(o.economieEncre);
    m_marge->setValue(o.margeMm);
}

OptionsPage DialogueMiseEnPage::options() const
{
    OptionsPage o = m_depart;
    o.papier = Papiers[std::clamp(m_papier->currentIndex(), 0, 3)];
    o.paysage = m_orientation->currentIndex() == 1;
    o.disposition = Dispositions[std::clamp(m_disposition->currentIndex(), 0, 3)];
    // The run from the earlier month to the later one, whichever box names which.
    const int du = m_du->currentIndex() + 1, au = m_au->currentIndex() + 1;
    o.premierBloc = std::min(du, au);
    o.nombreMois = std::abs(au - du) + 1;
    // The default title is kept as the default, so that it follows the year.
    const std::string titre = m_titre->text().toStdString();
    o.titre = titre == TitreParDefaut(m_feuille) ? std::nullopt : std::optional(titre);
    o.legende = m_legende->isChecked();
    o.listeFeries = m_feries->isChecked();
    o.semaines = m_semaines->isChecked();
    o.economieEncre = m_encre->isChecked();
    o.margeMm = m_marge->value();
    return OptionsBornees(o);
}

void DialogueMiseEnPage::actualiser()
{
    m_miniature->montrer(&m_feuille, MettreEnPageFeuille(m_feuille, options(), m_etiquettes));
}

std::optional<OptionsPage> DialogueMiseEnPage::Choisir(QWidget* parent, const ModeleFeuille& feuille,
                                                       const EtiquettesCouleurs& etiquettes,
                                                       const OptionsPage& actuelles)
{
    DialogueMiseEnPage d(parent, feuille, etiquettes, actuelles);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.options();
}

std::optional<std::optional<OptionsPage>> DialogueMiseEnPage::ChoisirOuImage(QWidget* parent,
                                                                          const ModeleFeuille& feuille,
                                                                          const EtiquettesCouleurs& etiquettes,
                                                                          const OptionsPage& actuelles)
{
    DialogueMiseEnPage d(parent, feuille, etiquettes, actuelles);
    switch (d.exec()) {
    case QDialog::Accepted: return std::optional(d.options());
    case ResultatImageSeule: return std::optional<OptionsPage>();
    default: return std::nullopt;
    }
}
