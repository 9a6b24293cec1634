#include "output/ui/ImageFichier.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <filesystem>
#include <vector>

#include "commun/ui/BoiteImage.h"
#include "commun/ui/Chemin.h"
#include "commun/ui/Curseur.h"
#include "output/Bmp.h"

QImage ImageDeBoite(const BoiteImage& boite)
{
    const QSize taille = boite.tailleInterieure();
    QImage image(taille, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(boite.fond());
    if (boite.aUneImage()) {
        QPainter p(&image);
        p.drawImage(0, 0, boite.image());
    }
    return image;
}

namespace {
// The image's pixels, rows top-down, 0xAARRGGBB.
std::vector<uint32_t> Pixels(const QImage& image)
{
    const QImage rvb = image.convertToFormat(QImage::Format_RGB32);
    const int l = rvb.width(), h = rvb.height();
    std::vector<uint32_t> pixels(size_t(l) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* ligne = reinterpret_cast<const uint32_t*>(rvb.constScanLine(y));
        std::copy(ligne, ligne + l, pixels.begin() + ptrdiff_t(y) * l);
    }
    return pixels;
}
} // namespace

std::string EncoderBmpImage(const QImage& image)
{
    return image.isNull() ? std::string() : EncoderBmp24(image.width(), image.height(), Pixels(image).data());
}

bool CopierImagePressePapier(const QImage& image)
{
    QClipboard* pressePapier = QGuiApplication::clipboard();
    if (!pressePapier || image.isNull())
        return false;
    pressePapier->clear();
    pressePapier->setImage(image);
    return true;
}

DialogueSauverImage::DialogueSauverImage(QWidget* parent, const QString& dossier, const QString& an,
                                         FormatSortie type)
    : DialogueSauver(parent, QStringLiteral("Sauver l'image"))
{
    // Above the preview, which stays on top of every other window.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // The first filter and its extension as they always were; the type chosen
    // in the list gives the extension added to a name typed without one.
    setNameFilters({QStringLiteral("Image (*.bmp)"), QStringLiteral("Image PNG (*.png)"),
                    QStringLiteral("Document PDF (*.pdf)"), QStringLiteral("Image SVG (*.svg)")});
    if (type == FormatSortie::Aucun)
        type = FormatSortie::Bmp;
    const QString extension = QString::fromLatin1(ExtensionFormat(type));
    selectNameFilter(nameFilters().value(int(type) - int(FormatSortie::Bmp)));
    setDefaultSuffix(extension);
    setDirectory(dossier);
    selectFile(QDir(dossier).filePath(QStringLiteral("Calendrier ") + an + QLatin1Char('.') + extension));
    // PDF, PNG and SVG can be a laid-out page: its button under the file
    // dialog's own rows, shown for those types only.
    auto* miseEnPage = new QPushButton(QStringLiteral("Mise en page..."), this);
    miseEnPage->setObjectName(QStringLiteral("MiseEnPageImage"));
    if (auto* grille = qobject_cast<QGridLayout*>(layout()))
        grille->addWidget(miseEnPage, grille->rowCount(), 0, 1, grille->columnCount(), Qt::AlignLeft);
    const auto montrer = [this, miseEnPage] {
        const FormatSortie f = formatChoisi();
        miseEnPage->setVisible(f == FormatSortie::Png || f == FormatSortie::Pdf || f == FormatSortie::Svg);
    };
    connect(this, &QFileDialog::filterSelected, this, montrer);
    // A type selected by the program changes the list without that signal.
    if (auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        connect(types, &QComboBox::currentIndexChanged, this, montrer);
    connect(miseEnPage, &QAbstractButton::clicked, this, &DialogueSauverImage::miseEnPageDemandee);
    montrer();
}

QString DialogueSauverImage::demander()
{
    if (exec() != QDialog::Accepted)
        return QString();
    return selectedFiles().value(0);
}

FormatSortie DialogueSauverImage::formatChoisi() const
{
    const QString filtre = selectedNameFilter();
    const FormatSortie f = FormatDuNom(filtre.left(filtre.lastIndexOf(QLatin1Char(')'))).toStdString());
    return f == FormatSortie::Aucun ? FormatSortie::Bmp : f;
}

void DialogueSauverImage::accept()
{
    // A name typed without any extension is completed by Qt itself.
    setDefaultSuffix(QString::fromLatin1(ExtensionFormat(formatChoisi())));
    DialogueSauver::accept();
}

// "x.txt" with PNG chosen becomes "x.txt.png".
std::string DialogueSauverImage::nomComplet(std::string_view choisi) const
{
    return NomAvecExtension(choisi, formatChoisi());
}
