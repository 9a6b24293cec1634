// The year box, the two size boxes, the scroll bar and the settings read at start-up.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>

#include "commun/EcritureAtomique.h"
#include "commun/FichierIni.h"
#include "commun/ui/Chemin.h"
#include "app/Reglages.h"
#include "app/Saisies.h"
#include "commun/Twips.h"
#include "app/ui/Ardemo.h"
#include "commun/ui/BoiteImage.h"
#include "commun/ui/Couleur.h"
#include "app/ui/VueFeuille.h"

namespace {
std::string texte(const QLineEdit* boite) { return boite->text().toStdString(); }
std::string texte(const QComboBox* boite) { return boite->currentText().toStdString(); }
} // namespace

void Ardemo::connecterSaisies()
{
    connect(cAn, &QComboBox::activated, this, [this](int) { cAn_Click(); });
    cAn->setToolTip(QStringLiteral("Une année : 2027 (de janvier à décembre)\n"
                                   "Une année scolaire : 2026-2027 (de septembre à août)"));
    // A school year is twice as long as a year: a text too long for the box
    // is written narrower, then smaller, so that the box shows it whole.
    connect(cAn, &QComboBox::editTextChanged, this, [boite = cAn](const QString& t) {
        QLineEdit* ligne = boite->lineEdit();
        QFont police = boite->font();
        const int place = ligne->contentsRect().width() - 6; // less the line's margins and its cursor
        if (QFontMetrics(police).horizontalAdvance(t) > place)
            police.setFamily(QStringLiteral("Arial Narrow"));
        for (int px = QFontInfo(police).pixelSize(); px > 9 && QFontMetrics(police).horizontalAdvance(t) > place;)
            police.setPixelSize(--px);
        if (ligne->font() != police)
            ligne->setFont(police);
    });
    cAn->installEventFilter(this);
    Largeur->installEventFilter(this);
    Hauteur->installEventFilter(this);
    connect(Largeur, &QLineEdit::textChanged, this, [this] { Largeur_Change(); });
    connect(Hauteur, &QLineEdit::textChanged, this, [this] { Hauteur_Change(); });
    connect(VSCal, &QScrollBar::valueChanged, this, [this] { VSCal_Change(); });
}

namespace {
// The character a key press types into a size box, for the key filter: Backspace
// (8), Enter (13) or a printable character. 0 for the moving and editing keys
// (Tab, arrows, Home, End, Delete...) and the shortcuts (Ctrl+C, Ctrl+V...),
// which stay the box's own, as in any text box.
int caractereTape(const QKeyEvent& k)
{
    if (k.key() == Qt::Key_Backspace)
        return 8;
    if (k.key() == Qt::Key_Return || k.key() == Qt::Key_Enter)
        return 13;
    if (k.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return 0;
    const QString t = k.text();
    if (t.size() != 1 || !t.at(0).isPrint())
        return 0;
    return t.at(0).unicode();
}
} // namespace

// Focus changes between the controls run the focus handlers; the focus leaving
// with the whole window (another application activated, the list of the year
// box opened) and coming back with it does not.
bool Ardemo::eventFilter(QObject* objet, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        auto* f = static_cast<QFocusEvent*>(e);
        if (f->reason() != Qt::ActiveWindowFocusReason && f->reason() != Qt::PopupFocusReason) {
            m_focusDedans = nullptr;
            if (objet == cAn)
                cAn_LostFocus();
            else if (objet == Largeur) // (no validation step: the preview already follows the width's changes)
                Largeur_LostFocus();
            else if (objet == Hauteur)
                Hauteur_LostFocus();
        }
    } else if (e->type() == QEvent::FocusIn) {
        auto* f = static_cast<QFocusEvent*>(e);
        const bool retour = f->reason() == Qt::ActiveWindowFocusReason && m_focusDedans == objet;
        m_focusDedans = objet;
        if (!retour && objet == Largeur)
            Largeur_GotFocus();
        else if (!retour && objet == Hauteur)
            Hauteur_GotFocus();
    } else if (e->type() == QEvent::KeyPress && objet == cAn) {
        const int touche = static_cast<QKeyEvent*>(e)->key();
        if (touche != Qt::Key_Return && touche != Qt::Key_Enter)
            return false;
        // Enter builds, as "Fabriquer le Calendrier" does once the box is left:
        // its checks first, and a refused year stops there.
        const bool refusee = !AvertissementAnnee(texte(cAn)).empty();
        cAn_LostFocus();
        if (!refusee)
            Fabriquer_Click();
        return true;
    } else if (e->type() == QEvent::KeyPress && (objet == Largeur || objet == Hauteur)) {
        const int caractere = caractereTape(*static_cast<QKeyEvent*>(e));
        if (caractere == 0)
            return false;
        const Touche t = FiltreTouche(caractere, objet == Largeur);
        if (t == Touche::Refusee)
            return true;
        if (t == Touche::AdmiseEtApercu)
            Apercu_Click();
        return caractere == 13;
    }
    return QWidget::eventFilter(objet, e);
}

void Ardemo::LireReglages()
{
    const std::filesystem::path ini = m_doc.FichierIni();
    // Left by a write that a kill interrupted (only the named file's in a folder of the user's).
    NettoyerTemporaires(ini.parent_path(), m_iniImpose.isEmpty() ? std::string() : ini.filename().string());
    // A file too large to be read is said: the defaults are used, and nothing is written into it.
    if (ExaminerIni(ini) == EtatLecture::TropGros) {
        auto* message = new QMessageBox(
            QMessageBox::Warning, QStringLiteral("Réglages"),
            QStringLiteral("Le fichier de réglages « %1 » est trop gros (plus de %2 Mo) : il n'est pas lu, les "
                           "réglages par défaut sont utilisés et les changements ne dureront que jusqu'à la "
                           "fermeture du programme.")
                .arg(NomFichier(ini))
                .arg(TailleMaxIni / (1024 * 1024)),
            QMessageBox::Ok, this);
        message->setAttribute(Qt::WA_DeleteOnClose);
        message->setWindowFlag(Qt::WindowStaysOnTopHint);
        message->open();
    }
    m_doc.ChargerReglages();
    // The stored width goes into its box as if typed (an unusable one shows red).
    const std::string& largeur = m_doc.Largeur;
    Largeur->setText(QString::fromLatin1(largeur.data(), qsizetype(largeur.size())));
}

// Year box: step Y alone on a choice in the list, steps R then Y on focus loss.
void Ardemo::cAn_Click()
{
    if (auto an = AnneeChoisie(texte(cAn)))
        m_doc.AnChoisi = *an;
}

void Ardemo::cAn_LostFocus()
{
    if (const std::string_view avertissement = AvertissementAnnee(texte(cAn)); !avertissement.empty()) {
        // Above the always-on-top windows (the preview), which would hide it.
        QMessageBox message(QMessageBox::Information, QString::fromUtf8(TitreControleAnnee),
                            QString::fromUtf8(avertissement.data(), qsizetype(avertissement.size())), QMessageBox::Ok,
                            this);
        message.setWindowFlag(Qt::WindowStaysOnTopHint);
        message.exec();
    }
    cAn_Click();
}

void Ardemo::Largeur_GotFocus() { TailleAvant = TailleAvantDe(texte(Largeur)); }
void Ardemo::Hauteur_GotFocus() { TailleAvant = TailleAvantDe(texte(Hauteur)); }

void Ardemo::setRouge(QLineEdit* boite, bool rouge)
{
    FondWidget(boite, rouge ? QColor(255, 0, 0) : QColor(Qt::white));
    (boite == Largeur ? m_largeurRouge : m_hauteurRouge) = rouge;
}

// Writes a size into the other box. When the text would not change, the box's
// change handling would not run to clear the flag: the flag is then not set.
void Ardemo::ecrireTaille(QLineEdit* boite, int mm, bool& drapeau)
{
    const QString nouveau = QString::number(mm);
    if (boite->text() == nouveau)
        return;
    drapeau = true;
    boite->setText(nouveau);
    drapeau = false; // cleared by the handler; never left behind
}

void Ardemo::Hauteur_Change()
{
    if (m_doc.Zone)
        return;
    if (apercuOuvert())
        FermerApercu();
    const ChangementHauteur c = CalculHauteur(texte(Hauteur));
    if (!c.valide) {
        setRouge(Hauteur, true);
        return;
    }
    setRouge(Hauteur, false);
    m_doc.HauteurTwips = c.hauteurTwips;
    if (HauteurParProgramme) {
        HauteurParProgramme = false;
        return;
    }
    ecrireTaille(Largeur, c.largeur, LargeurParProgramme);
    MontrerApercu();
}

void Ardemo::Largeur_Change()
{
    if (apercuOuvert())
        FermerApercu();
    const ChangementLargeur c =
        CalculLargeur(texte(Largeur), m_doc.Zone.has_value(), m_doc.Zone ? m_doc.Zone->RatioZone : 0);
    if (!c.valide) {
        setRouge(Largeur, true);
        return;
    }
    setRouge(Largeur, false);
    m_doc.Largeur = texte(Largeur);
    m_doc.LargeurTwips = c.largeurTwips;
    if (m_doc.Zone) {
        // The height box is disabled and its change handling does nothing.
        Hauteur->setText(QString::number(c.hauteur));
        m_doc.HauteurTwips = c.hauteurTwips;
        MontrerApercu();
        return;
    }
    if (LargeurParProgramme) {
        LargeurParProgramme = false;
        return;
    }
    ecrireTaille(Hauteur, c.hauteur, HauteurParProgramme);
    MontrerApercu();
}

void Ardemo::Largeur_LostFocus()
{
    if (m_largeurRouge) {
        setRouge(Largeur, false);
        Largeur->setText(QString::number(TailleAvant));
    }
    ecrireLargeurReglee();
}

void Ardemo::Hauteur_LostFocus()
{
    if (m_hauteurRouge) {
        setRouge(Hauteur, false);
        Hauteur->setText(QString::number(TailleAvant));
    }
    ecrireLargeurReglee();
}

// The width is stored on leaving either box, but only a width within 30 to 200:
// leaving the height box while the width it gave is red keeps the stored one.
void Ardemo::ecrireLargeurReglee()
{
    if (LargeurValide(ValeurTaille(texte(Largeur)))) {
        m_doc.Largeur = texte(Largeur);
        m_doc.EnregistrerLargeur();
    }
}

void Ardemo::VSCal_Change()
{
    const int haut = TwipsVersPixels(HautDefilement(VSCal->value()));
    CalBase->move(CalBase->x(), haut);
    Pict1->move(Pict1->x(), haut);
}
