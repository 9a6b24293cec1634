#pragma once
#include <QFileDialog>
#include <string>
#include <string_view>

// The program's save dialog (Qt's own, never the platform's). Before it closes,
// a folder that does not exist is said and the dialog stays open; the name
// chosen gets the extension nomComplet gives it, also when it was typed in the
// name box and confirmed with Enter, and the replacement question is asked
// about that name.
class DialogueSauver : public QFileDialog {
    Q_OBJECT
public:
    DialogueSauver(QWidget* parent, const QString& titre, const QString& dossier = {}, const QString& filtre = {});

public slots:
    void accept() override;

protected:
    // The name saved for the name chosen, as the system's bytes.
    virtual std::string nomComplet(std::string_view choisi) const = 0;
};
