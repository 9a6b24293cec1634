#pragma once
// The calendar image handed to the outside world: the .bmp file and the clipboard.
#include <QImage>
#include <QString>
#include <string>

#include "commun/ui/DialogueSauver.h"
#include "output/FormatSortie.h"

class BoiteImage;

// The retained drawing of an image box as the outputs read it: the box's inner
// area filled with its background, the image on top (an empty box gives a
// plain picture of the right size).
QImage ImageDeBoite(const BoiteImage& boite);

// The image as the bytes of a 24-bit .bmp file (empty for no image).
std::string EncoderBmpImage(const QImage& image);

// Replaces whatever the clipboard holds by the image alone. False when there
// is no clipboard to use.
bool CopierImagePressePapier(const QImage& image);

// The save dialog of the image: the file types .bmp (first), .png, .pdf and
// .svg; a name typed without one of these extensions gets the selected type's.
class DialogueSauverImage : public DialogueSauver {
    Q_OBJECT
public:
    // Proposes "Calendrier <an>.bmp" in `dossier`, or with the extension of
    // `type` and that type selected.
    DialogueSauverImage(QWidget* parent, const QString& dossier, const QString& an,
                        FormatSortie type = FormatSortie::Bmp);

    // The name chosen, with its extension, or empty when the dialog was cancelled.
    QString demander();

    // The type selected in the list of file types.
    FormatSortie formatChoisi() const;

public slots:
    void accept() override;

signals:
    // "Mise en page..." was clicked (PDF, PNG, SVG): the caller asks for the page and keeps it.
    void miseEnPageDemandee();

protected:
    std::string nomComplet(std::string_view choisi) const override;
};
