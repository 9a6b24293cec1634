#include "colour/ui/PeintreFeuille.h"

#include <QImage>
#include <QPainter>

#include "commun/ui/Couleur.h"
#include "commun/Twips.h"

namespace {
QRect VersQRect(const RectPixels& r) { return QRect(0, 0, r.l, r.h); }
QPoint Origine(const RectPixels& r) { return QPoint(r.x, r.y); }

// Background, then the frame: an outline from (1, 1) to (width - 1, height - 1)
// three pixels wide, centred on that path.
void peindreFond(Toile& t, const ModeleFeuille& f)
{
    t.couche(Toile::Couche::Fond);
    t.remplir(QRect(0, 0, LargeurFeuille, HauteurFeuille), VersQColor(f.couleurs.CoulBordure));
    const QColor grille = VersQColor(f.couleurs.CoulGrille);
    const int w = LargeurFeuille, h = HauteurFeuille;
    t.remplir(QRect(0, 0, w, 3), grille);
    t.remplir(QRect(0, 0, 3, h), grille);
    t.remplir(QRect(w - 2, 0, 3, h), grille);
    t.remplir(QRect(0, h - 2, w, 3), grille);
}

// Centred, transparent background.
void peindreTitre(Toile& t, const ModeleFeuille& f, int b)
{
    t.couche(Toile::Couche::Titres);
    const RectPixels r = RectTitre(b);
    t.element(Origine(r));
    t.texte(VersQRect(r), Qt::AlignHCenter | Qt::AlignTop, PoliceTitre(), VersQColor(f.couleurs.CoulTxtEntete),
            QString::fromStdString(f.bloc(b).titre));
}

// Flat one-pixel border, the name at the top.
void peindreNomJour(Toile& t, const ModeleFeuille& f, int b, int k)
{
    t.couche(Toile::Couche::NomsJours);
    const RectPixels rp = RectNomJour(b, k);
    t.element(Origine(rp));
    const QRect r = VersQRect(rp);
    t.remplir(r, VersQColor(f.couleurs.CoulNoms));
    t.contour(r.adjusted(0, 0, -1, -1), Qt::black);
    t.texte(r.adjusted(1, 1, -1, -1), Qt::AlignHCenter | Qt::AlignTop, PoliceNomJour(), Qt::black,
            QString::fromLatin1(NomsJoursSemaine[k]));
}

// Sunken border two pixels wide: grey and white outside, dark and light inside.
void peindreCase(Toile& t, const ModeleFeuille& f, int b, int k)
{
    t.couche(Toile::Couche::Cases);
    const CaseFeuille& c = f.bloc(b).cases[static_cast<size_t>(k)];
    const RectPixels rp = RectCase(b, k);
    t.element(Origine(rp));
    const int w = rp.l, h = rp.h;
    t.remplir(VersQRect(rp), VersQColor(f.fond(c)));
    const QColor gris(128, 128, 128), sombre(64, 64, 64), clair(212, 208, 200);
    t.ligne(0, 0, w - 2, 0, gris);
    t.ligne(0, 0, 0, h - 2, gris);
    t.ligne(0, h - 1, w - 1, h - 1, Qt::white);
    t.ligne(w - 1, 0, w - 1, h - 1, Qt::white);
    t.ligne(1, 1, w - 3, 1, sombre);
    t.ligne(1, 1, 1, h - 3, sombre);
    t.ligne(1, h - 2, w - 2, h - 2, clair);
    t.ligne(w - 2, 1, w - 2, h - 2, clair);
    t.texte(QRect(2, 2, w - 4, h - 4), Qt::AlignCenter, PoliceCase(c.gras), VersQColor(c.texte),
            QString::number(c.legende));
}
} // namespace

void ToileQPainter::remplir(const QRect& r, const QColor& c) { m_p.fillRect(r, c); }

void ToileQPainter::element(QPoint origine)
{
    fin();
    m_p.save();
    m_p.translate(origine);
    m_ouvert = true;
}

void ToileQPainter::fin()
{
    if (m_ouvert)
        m_p.restore();
    m_ouvert = false;
    m_crayon.reset();
}

// The pen is set once for the lines of one colour: every change is a new state
// for the PDF writer.
void ToileQPainter::crayon(const QColor& c)
{
    if (m_crayon != c)
        m_p.setPen(c);
    m_crayon = c;
}

void ToileQPainter::ligne(int x1, int y1, int x2, int y2, const QColor& c)
{
    crayon(c);
    m_p.drawLine(x1, y1, x2, y2);
}

void ToileQPainter::contour(const QRect& r, const QColor& c)
{
    crayon(c);
    m_p.drawRect(r);
}

void ToileQPainter::texte(const QRect& r, int alignement, const QFont& police, const QColor& c, const QString& t)
{
    m_p.setFont(police);
    crayon(c);
    m_p.drawText(r, alignement, t);
}

QFont PoliceTitre() { return PoliceDessin(QStringLiteral("Times New Roman"), 16.5, true); }
QFont PoliceNomJour() { return PoliceDessin(QStringLiteral("MS Sans Serif"), 8.25, true); }
QFont PoliceCase(bool gras) { return PoliceDessin(QStringLiteral("Arial"), 12, gras); }

void PeindreFeuille(Toile& t, const ModeleFeuille& f)
{
    peindreFond(t, f);
    // Element 0 of each block's names and cells comes with its title, the
    // others after all of them, as the sheet is laid out: a weekday name's
    // bottom row lies under the top row of the cells.
    for (int b = 1; b <= BlocsParFeuille; ++b) {
        peindreTitre(t, f, b);
        peindreNomJour(t, f, b, 0);
        peindreCase(t, f, b, 0);
    }
    for (int b = 1; b <= BlocsParFeuille; ++b)
        for (int k = 1; k < 7; ++k)
            peindreNomJour(t, f, b, k);
    for (int b = 1; b <= BlocsParFeuille; ++b)
        for (int k = 1; k < CellulesParMois; ++k)
            peindreCase(t, f, b, k);
    t.fin();
}

QImage ImageFeuille(const ModeleFeuille& f)
{
    QImage img(LargeurImage, HauteurImage, QImage::Format_RGB32);
    QPainter p(&img);
    {
        ToileQPainter toile(p);
        PeindreFeuille(toile, f);
    }
    return img;
}
