#include "commun/ui/DialogueSauver.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "commun/ui/Chemin.h"

DialogueSauver::DialogueSauver(QWidget* parent, const QString& titre, const QString& dossier, const QString& filtre)
    : QFileDialog(parent, titre, dossier, filtre)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
}

void DialogueSauver::accept()
{
    const QString choisi = selectedFiles().value(0);
    const QFileInfo fichier(choisi);
    if (!choisi.isEmpty() && !fichier.isDir()) {
        if (!QFileInfo(fichier.absolutePath()).isDir()) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("Le dossier « %1 » n'existe pas.\nVérifiez le chemin indiqué.")
                                     .arg(QDir::toNativeSeparators(fichier.absolutePath())));
            return;
        }
        const std::string octets = CheminFichier(choisi).native();
        const std::string complet = nomComplet(octets);
        if (complet != octets) {
            // The dialog leaves the name box alone while it has the keyboard
            // (the name typed, then Enter): it is taken away first.
            if (QWidget* clavier = focusWidget())
                clavier->clearFocus();
            selectFile(NomFichier(complet));
        }
    }
    QFileDialog::accept();
}
