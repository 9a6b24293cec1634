#pragma once
// The action runs on the next modal dialog of the given kind once it is shown, inside its own
// event loop; it must always close the dialog (record what it checks, compare after).
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

template <typename D>
void auProchainDialogue(std::function<void(D*)> action, int essais = 500)
{
    QTimer::singleShot(0, [action, essais] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (d && d->isVisible())
            action(d);
        else if (essais > 0)
            auProchainDialogue<D>(action, essais - 1);
    });
}

// What a colour or file dialog showed when it opened: the colour, or the name in the name box.
struct VuDialogue { bool vu = false; QColor depart; QString nom; };

// The next colour dialog: note it, then choose `couleur` (an invalid one cancels).
inline void choisirCouleur(VuDialogue& vu, const QColor& couleur)
{
    auProchainDialogue<QColorDialog>([&vu, couleur](QColorDialog* d) {
        vu = {true, d->currentColor(), {}};
        couleur.isValid() ? d->setCurrentColor(couleur), d->accept() : d->reject();
    });
}

// The next file dialog: note it, then accept `chemin` (empty cancels).
inline void choisirFichier(VuDialogue& vu, const QString& chemin)
{
    auProchainDialogue<QFileDialog>([&vu, chemin](QFileDialog* d) {
        vu = {true, {}, d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text()};
        if (!chemin.isEmpty())
            d->selectFile(chemin), static_cast<QDialog*>(d)->accept(); // the file dialog's own accept
        if (d->isVisible())
            d->reject();
    });
}

// The next message box: note its text, then press the button showing `reponse`.
inline void repondre(QString& vu, const QString& reponse)
{
    auProchainDialogue<QMessageBox>([&vu, reponse](QMessageBox* b) {
        vu = b->text();
        for (QAbstractButton* bouton : b->buttons())
            if (bouton->text() == reponse)
                return bouton->click();
        b->reject();
    });
}
