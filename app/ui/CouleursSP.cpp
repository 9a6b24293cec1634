// The main window's side of the special colours: every change is a step of
// the undo stack, and colours that would be lost are offered to be saved first.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QUndoCommand>
#include <QUndoStack>

#include "app/Horloge.h"
#include "app/ui/Ardemo.h"
#include "app/ui/VueFeuille.h"
#include "commun/ui/Chemin.h"
#include "commun/ui/Couleur.h"
#include "commun/ui/Curseur.h"
#include "special/FichierCal.h"
#include "special/ImportIcs.h"
#include "special/ui/VornCoulSP.h"

namespace {
const QString TitreImport = QStringLiteral("Importer un calendrier");
const QString FiltreCal = QStringLiteral("Fichiers autorisés (*.Cal)");

// One change of the special colours: the state before and after; the
// calendar changes with them only when the change made it change.
class CommandeCouleurs : public QUndoCommand {
public:
    using Appliquer = std::function<void(const EtatCouleursSP&, bool avecAnnee)>;
    CommandeCouleurs(const QString& texte, EtatCouleursSP avant, EtatCouleursSP apres, Appliquer appliquer)
        : QUndoCommand(texte), m_avant(std::move(avant)), m_apres(std::move(apres)), m_appliquer(std::move(appliquer))
    {
    }
    void redo() override { m_appliquer(m_apres, m_avant.anChoisi != m_apres.anChoisi); }
    void undo() override { m_appliquer(m_avant, m_avant.anChoisi != m_apres.anChoisi); }

private:
    EtatCouleursSP m_avant, m_apres;
    Appliquer m_appliquer;
};

// A folder remembered when it still exists, else the default one.
QString DossierRetenu(const std::string& retenu, const QString& defaut)
{
    const QString dossier = NomFichier(retenu);
    return !retenu.empty() && QDir(dossier).exists() ? dossier : defaut;
}
} // namespace

void Ardemo::creerActionsAnnulation()
{
    // Ctrl+Z, Ctrl+Maj+Z and Ctrl+Y here and in the special-colours window; the
    // sheet's context menu names what they undo and redo. The text boxes keep
    // their own Ctrl+Z while they have the keyboard.
    QAction* annuler = m_pile->createUndoAction(this, QStringLiteral("Annuler"));
    annuler->setShortcut(QKeySequence::Undo);
    QAction* retablir = m_pile->createRedoAction(this, QStringLiteral("Rétablir"));
    retablir->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    addActions({annuler, retablir});
    CalBase->addActions({annuler, retablir});
    CalBase->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void Ardemo::ModifierCouleurs(const QString& texte, const EtatCouleursSP& apres)
{
    const EtatCouleursSP avant = m_doc.EtatCouleurs();
    if (apres == avant)
        return;
    m_pile->push(new CommandeCouleurs(texte, avant, apres,
                                      [this](const EtatCouleursSP& e, bool annee) { AppliquerCouleurs(e, annee); }));
}

// The special colours become `e`: the sheet's numbers take them, and a change of
// calendar builds the sheet again first (also while the special colours are
// open, whose window waits meanwhile).
void Ardemo::AppliquerCouleurs(const EtatCouleursSP& e, bool avecAnnee)
{
    const bool autreAnnee = m_doc.Appliquer(e, avecAnnee);
    // The days' tooltips and accessible names say what their colours stand for.
    m_feuille.etiquettes = m_doc.Speciales.etat.etiquettes;
    if (autreAnnee) {
        cAn->setEditText(QString::fromStdString(m_doc.AnChoisi));
        const bool mode = std::exchange(m_modeCoulSP, false);
        if (vornCoulSP)
            vornCoulSP->setEnabled(false);
        Fabrication();
        m_modeCoulSP = mode;
        quandPret([this] {
            if (vornCoulSP)
                vornCoulSP->setEnabled(true);
        });
    } else {
        Coloriage();
        // Outside the special colours the image shows them at once.
        if (!m_modeCoulSP && m_calendrierFait && !m_occupe) {
            Copier();
            Coller();
        }
    }
    actualiserCouleursSP();
}

// The special-colours window when it is open (its messages above it), else this one.
QWidget* Ardemo::parentCouleursSP()
{
    return vornCoulSP && vornCoulSP->isVisible() ? static_cast<QWidget*>(vornCoulSP) : this;
}

void Ardemo::actualiserCouleursSP()
{
    if (vornCoulSP)
        vornCoulSP->Actualiser();
}

bool Ardemo::ProposerEnregistrer()
{
    if (!m_doc.Speciales.Modifiees())
        return true;
    QMessageBox question(QMessageBox::Question, QStringLiteral("Couleurs spéciales"),
                         QStringLiteral("Enregistrer les couleurs spéciales ?"), QMessageBox::NoButton, this);
    question.setInformativeText(
        QStringLiteral("Les couleurs spéciales du calendrier n'ont pas été enregistrées depuis leur dernier "
                       "changement."));
    QPushButton* enregistrer = question.addButton(QStringLiteral("Enregistrer"), QMessageBox::AcceptRole);
    QPushButton* non = question.addButton(QStringLiteral("Ne pas enregistrer"), QMessageBox::DestructiveRole);
    QPushButton* annuler = question.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    question.setDefaultButton(enregistrer);
    question.setEscapeButton(annuler);
    // Above the always-on-top windows (the special colours), which would hide it.
    question.setWindowFlag(Qt::WindowStaysOnTopHint);
    question.exec();
    if (question.clickedButton() == non)
        return true;
    return question.clickedButton() == enregistrer && SauverCouleursSP();
}

QString Ardemo::nomCalPropose() const
{
    const std::string& fichier = m_doc.Speciales.etat.fichier;
    if (!fichier.empty())
        return NomFichier(fichier);
    const Date d = m_horloge.Aujourdhui();
    return DossierRetenu(m_doc.Choix.dossierCal, dossierDocuments()) + QLatin1Char('/')
           + QString::fromStdString(NomFichierCalParDefaut(d.jour, d.mois, d.annee));
}

bool Ardemo::SauverCouleursSP()
{
    QWidget* parent = parentCouleursSP();
    const QString chemin = VornCoulSP::FichierCalASauver(parent, nomCalPropose());
    if (chemin.isEmpty())
        return false;
    CurseurSablier();
    const bool ecrit = m_doc.EnregistrerCal(CheminFichier(chemin));
    CurseurNormal();
    if (!ecrit) {
        QMessageBox::warning(parent, QStringLiteral("Sauver un Fichier de Couleurs spéciales"),
                             QStringLiteral("Les couleurs n'ont pas pu être enregistrées dans « %1 ».")
                                 .arg(QDir::toNativeSeparators(chemin)));
        return false;
    }
    // The file saved is the file in use, as after an opening; its folder is remembered.
    m_doc.Choix.dossierCal = CheminFichier(QFileInfo(chemin).absolutePath()).string();
    m_doc.EnregistrerChoix();
    actualiserCouleursSP();
    return true;
}

void Ardemo::OuvrirCouleursSP()
{
    if (!ProposerEnregistrer())
        return;
    const QString fichier =
        VornCoulSP::FichierAOuvrir(vornCoulSP, QStringLiteral("Ouvrir un Fichier de Couleurs spéciales"),
                                   DossierRetenu(m_doc.Choix.dossierCal, dossierDocuments()), FiltreCal);
    if (fichier.isEmpty())
        return;
    m_doc.Choix.dossierCal = CheminFichier(QFileInfo(fichier).absolutePath()).string();
    m_doc.EnregistrerChoix();
    OuvrirFichierCal(fichier);
}

// The .Cal file opened: its colours and its year (the calendar switches to it),
// the file in use; one step of the undo stack. A file that cannot be read is
// said, and changes nothing.
void Ardemo::OuvrirFichierCal(const QString& chemin)
{
    CurseurSablier();
    const Document::LectureFichierCal lecture = m_doc.LireCal(CheminFichier(chemin));
    CurseurNormal();
    // A file the command line refuses changes nothing and does not become the
    // file in use, and the user is told why.
    if (!lecture.etat) {
        QMessageBox::warning(parentCouleursSP(),
                             QStringLiteral("Ouvrir un Fichier de Couleurs spéciales"),
                             QStringLiteral("Le fichier « %1 » est refusé : %2.")
                                 .arg(QDir::toNativeSeparators(chemin), QString::fromStdString(lecture.refus)));
        return;
    }
    m_doc.NoterContenu(lecture.etat->fichier, {lecture.etat->table, lecture.etat->etiquettes});
    ModifierCouleurs(QStringLiteral("ouverture de « %1 »").arg(QFileInfo(chemin).fileName()), *lecture.etat);
    // Opened again as it is: the file is in use all the same.
    actualiserCouleursSP();
}

bool Ardemo::CouleurPourImport()
{
    const CouleursSpeciales& sp = m_doc.Speciales;
    // The days take the colour a click would give. With clicks off (after
    // "Réinitialiser tout") or no colour chosen yet, the colour is asked first.
    return (sp.clics && CouleurEntiere(sp.choisie) != CouleurEntiere(sp.normale))
           || (vornCoulSP && vornCoulSP->ChoixCoul_Click());
}

void Ardemo::ImporterIcs(const QString& chemin, bool demanderCouleur)
{
    CurseurSablier();
    // The sheet's twelve months: a year, or a school year.
    const ImportIcs import = LireFichierIcs(CheminFichier(chemin), m_doc.PeriodeChoisie());
    CurseurNormal();
    QWidget* parent = parentCouleursSP();
    const QString message = QString::fromStdString(MessageIcs(import));
    if (import.etat != EtatIcs::Ok) {
        QMessageBox boite(import.etat == EtatIcs::AucunEvenement ? QMessageBox::Information : QMessageBox::Warning,
                          TitreImport, message, QMessageBox::Ok, parent);
        boite.exec();
        return;
    }
    // The colour is asked once the file is known to be read.
    if (demanderCouleur && !CouleurPourImport())
        return;
    QMessageBox resume(QMessageBox::Question, TitreImport, message, QMessageBox::NoButton, parent);
    QPushButton* valider = resume.addButton(QStringLiteral("Valider"), QMessageBox::AcceptRole);
    resume.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    resume.setDefaultButton(valider);
    resume.exec();
    if (resume.clickedButton() != valider)
        return;
    // The cells change as under clicks, and the sheet shows them at once.
    ModifierCouleurs(QStringLiteral("import de « %1 »").arg(QFileInfo(chemin).fileName()),
                     m_doc.Importer(import, m_doc.Speciales.choisie, chemin.toStdString()));
}

// "Importer un calendrier (.ics)...": the file, from the folder of the last import (else where the browser puts what it downloads,
// else the home folder).
void Ardemo::ImporterIcsDemande()
{
    QString defaut = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (defaut.isEmpty() || !QDir(defaut).exists())
        defaut = QDir::homePath();
    const QString fichier =
        VornCoulSP::FichierAOuvrir(vornCoulSP, TitreImport, DossierRetenu(m_doc.Choix.dossierIcs, defaut),
                                   QStringLiteral("Calendriers iCalendar (*.ics);;Tous les fichiers (*.*)"));
    if (fichier.isEmpty())
        return;
    m_doc.Choix.dossierIcs = CheminFichier(QFileInfo(fichier).absolutePath()).string();
    m_doc.EnregistrerChoix();
    ImporterIcs(fichier, true);
}

void Ardemo::ReinitialiserCouleursSP()
{
    ModifierCouleurs(QStringLiteral("Réinitialiser tout"), SansCouleurs(m_doc.EtatCouleurs()));
    // Day clicks do nothing until a colour is chosen again.
    m_doc.Speciales.choisie = 0;
    m_doc.Speciales.clics = false;
    CalBase->setFocus(Qt::OtherFocusReason);
    actualiserCouleursSP();
}
