#include "output/ui/PeintrePage.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "colour/ui/PeintreFeuille.h"
#include "commun/ui/Couleur.h"

namespace {

QRect versQRect(const RectPage& r) { return QRect(r.x, r.y, r.l, r.h); }

// A font at a height in units of the page.
QFont police(const QString& famille, int hauteur, bool gras)
{
    QFont f(famille);
    f.setPixelSize(std::max(1, hauteur));
    f.setBold(gras);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const QString Sans = QStringLiteral("Arial");

// A frame `e` thick inside r, in four strips that overlap nothing else.
void cadre(Toile& t, const QRect& r, int e, const QColor& c)
{
    e = std::clamp(e, 1, std::max(1, std::min(r.width(), r.height()) / 2));
    t.remplir(QRect(r.x(), r.y(), r.width(), e), c);
    t.remplir(QRect(r.x(), r.bottom() + 1 - e, r.width(), e), c);
    t.remplir(QRect(r.x(), r.y() + e, e, r.height() - 2 * e), c);
    t.remplir(QRect(r.right() + 1 - e, r.y() + e, e, r.height() - 2 * e), c);
}

// One day cell (or a legend's sample, without a number). In colour: its
// background and a thin frame; saving ink: white, the frame in the weekend or
// holiday colour, thicker for a holiday, which also gets a dark corner. A
// special colour colours the number and underlines it, so that it reads in
// black and white and on any background.
void peindreCase(Toile& t, const ModeleFeuille& f, const PlanPage& plan, const QRect& r, Fond fond,
                 double texte, const QString& nombre)
{
    const int s = r.width(), fin = std::max(1, s / 40);
    const SchemaCouleurs& k = f.couleurs;
    const QColor grille = VersQColor(k.CoulGrille);
    const bool encre = plan.options.economieEncre;
    int e = fin;
    QColor bord = grille, interieur = Qt::white;
    if (!encre) {
        CaseFeuille c;
        c.fond = fond;
        interieur = VersQColor(f.fond(c));
    } else if (fond == Fond::WeekEnd) {
        bord = VersQColor(k.CoulWeekEnd), e = std::max(2, s / 16);
    } else if (fond == Fond::Ferie) {
        bord = VersQColor(k.CoulFerie), e = std::max(3, s / 9);
    }
    t.couche(Toile::Couche::Cases);
    cadre(t, r, e, bord);
    t.remplir(r.adjusted(e, e, -e, -e), interieur);
    if (!nombre.isEmpty())
        t.texte(r, Qt::AlignCenter, police(Sans, s * 45 / 100, true), VersQColor(texte), nombre);
    t.couche(Toile::Couche::Marques);
    if (encre && fond == Fond::Ferie)
        t.remplir(QRect(r.right() + 1 - e - s / 6, r.y() + e, s / 6, s / 6), grille);
    if (texte != 0)
        t.remplir(QRect(r.x() + s / 4, r.y() + s * 78 / 100, s / 2, std::max(3, s / 10)), VersQColor(texte));
}

void peindreMois(Toile& t, const ModeleFeuille& f, const PlanPage& plan, const BlocPage& b)
{
    const BlocFeuille& bloc = f.bloc(b.bloc);
    const SchemaCouleurs& k = f.couleurs;
    const int s = plan.cote;
    t.couche(Toile::Couche::Titres);
    t.texte(versQRect(b.titre), Qt::AlignCenter, police(QStringLiteral("Times New Roman"), s * 62 / 100, true),
            VersQColor(k.CoulTxtEntete), QString::fromStdString(bloc.titre));
    t.couche(Toile::Couche::NomsJours);
    const QColor noms = plan.options.economieEncre ? QColor(Qt::white) : VersQColor(k.CoulNoms);
    for (int j = 0; j < 7; ++j) {
        const QRect r(b.nomsJours.x + j * s, b.nomsJours.y, s, b.nomsJours.h);
        t.remplir(r, noms);
        t.texte(r, Qt::AlignCenter, police(Sans, b.nomsJours.h * 62 / 100, true), Qt::black,
                QString::fromLatin1(NomsJoursSemaine[j]));
    }
    for (int k2 = 0; k2 < CellulesParMois; ++k2) {
        const CaseFeuille& c = bloc.cases[static_cast<size_t>(k2)];
        if (c.Tag == 0)
            peindreCase(t, f, plan, versQRect(CasePage(b, s, k2)), c.fond, c.texte, QString::number(c.legende));
    }
    // The ISO week of each row holding days of the month, beside it.
    if (b.semaines.l > 0) {
        t.couche(Toile::Couche::NomsJours);
        for (int r = 0; r < 6; ++r) {
            const auto jour = std::find_if(bloc.cases.begin() + r * 7, bloc.cases.begin() + r * 7 + 7,
                                           [](const CaseFeuille& c) { return c.Tag == 0; });
            if (jour == bloc.cases.begin() + r * 7 + 7)
                continue;
            t.texte(QRect(b.semaines.x, b.semaines.y + r * s, b.semaines.l - s / 10, s), Qt::AlignRight | Qt::AlignVCenter,
                    police(Sans, s * 32 / 100, false), QColor(96, 96, 96), QString::number(WOY(jour->date)));
        }
    }
}

QPageSize::PageSizeId formatQt(Papier p)
{
    switch (p) {
    case Papier::A3: return QPageSize::A3;
    case Papier::A5: return QPageSize::A5;
    case Papier::Lettre: return QPageSize::Letter;
    case Papier::A4: break;
    }
    return QPageSize::A4;
}

} // namespace

QPageLayout MiseEnPageQt(const PlanPage& plan)
{
    return QPageLayout(QPageSize(formatQt(plan.options.papier)),
                       plan.options.paysage ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

namespace {

// The page's paper and orientation set on the device, then the page over
// the whole paper.
bool peindreSurPapier(QPagedPaintDevice& papier, const ModeleFeuille& f, const PlanPage& plan)
{
    if (!papier.setPageLayout(MiseEnPageQt(plan)))
        return false;
    QPainter p;
    if (!p.begin(&papier))
        return false;
    DessinerPage(p, QRectF(papier.pageLayout().fullRectPixels(papier.logicalDpiX())), f, plan);
    return p.end();
}

} // namespace

void PeindrePage(Toile& t, const ModeleFeuille& f, const PlanPage& plan)
{
    t.couche(Toile::Couche::Fond);
    t.element(QPoint(0, 0));
    t.remplir(QRect(0, 0, plan.taille.largeur, plan.taille.hauteur), Qt::white);
    if (plan.zoneTitre.h > 0) {
        t.couche(Toile::Couche::Titres);
        t.texte(versQRect(plan.zoneTitre), Qt::AlignCenter,
                police(QStringLiteral("Times New Roman"), plan.hauteurTitre, true),
                VersQColor(f.couleurs.CoulTxtEntete), QString::fromStdString(plan.titre));
    }
    for (const BlocPage& b : plan.blocs)
        peindreMois(t, f, plan, b);
    for (const EntreeLegende& e : plan.legende) {
        const Fond fond = e.sorte == EntreeLegende::Sorte::WeekEnd ? Fond::WeekEnd
                        : e.sorte == EntreeLegende::Sorte::Ferie   ? Fond::Ferie
                                                                    : Fond::Jours;
        peindreCase(t, f, plan, versQRect(e.echantillon), fond, e.couleur, QString());
        t.couche(Toile::Couche::Titres);
        t.texte(versQRect(e.zoneTexte), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, police(Sans, plan.hauteurLegende, false),
                Qt::black, QString::fromStdString(e.texte));
    }
    for (const LigneFerie& l : plan.feries) {
        t.couche(Toile::Couche::Titres);
        t.texte(versQRect(l.zone), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, police(Sans, plan.hauteurFeries, false),
                Qt::black, QString::fromStdString(l.texte));
    }
    t.fin();
}

void DessinerPage(QPainter& p, const QRectF& cible, const ModeleFeuille& f, const PlanPage& plan)
{
    if (plan.taille.largeur <= 0 || plan.taille.hauteur <= 0)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(cible.topLeft());
    p.scale(cible.width() / plan.taille.largeur, cible.height() / plan.taille.hauteur);
    {
        ToileQPainter toile(p);
        PeindrePage(toile, f, plan);
    }
    p.restore();
}

QImage ImagePage(const ModeleFeuille& f, const PlanPage& plan, int dpi)
{
    const double pixelsParUnite = dpi / (25.4 * UnitesParMm);
    const QSize taille(qRound(plan.taille.largeur * pixelsParUnite), qRound(plan.taille.hauteur * pixelsParUnite));
    if (taille.isEmpty() || dpi <= 0)
        return {};
    QImage img(taille, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter p(&img);
    DessinerPage(p, QRectF(QPointF(0, 0), QSizeF(taille)), f, plan);
    return img;
}

bool EcrirePdfPage(QIODevice& fichier, const ModeleFeuille& f, const PlanPage& plan, const QString& titre,
                   const QString& createur)
{
    QPdfWriter pdf(&fichier);
    pdf.setCreator(createur);
    pdf.setTitle(titre);
    pdf.setResolution(1200);
    return peindreSurPapier(pdf, f, plan);
}

bool ImprimerPage(QPrinter& imprimante, const ModeleFeuille& f, const PlanPage& plan)
{
    imprimante.setFullPage(true);
    return peindreSurPapier(imprimante, f, plan);
}
