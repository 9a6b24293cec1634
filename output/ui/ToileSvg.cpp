#include "output/ui/ToileSvg.h"

#include <QFontMetricsF>
#include <map>
#include <vector>

#include "colour/ui/PeintreFeuille.h"
#include "output/ui/ImpressionNette.h"
#include "output/ui/PeintrePage.h"

namespace {

// Numbers as short as they can be written: "12", "12.5", "0.333".
QByteArray nombre(double v)
{
    QByteArray t = QByteArray::number(v, 'f', 3);
    while (t.contains('.') && (t.endsWith('0') || t.endsWith('.')))
        t.chop(1);
    return t == "-0" ? QByteArray("0") : t;
}

QByteArray couleur(const QColor& c) { return c.name(QColor::HexRgb).toLatin1(); }

QByteArray echapper(const QString& t)
{
    return t.toHtmlEscaped().toUtf8();
}

// The family a design font stands for here, then what other programs may use.
QByteArray familles(const QFont& f)
{
    if (f.family() == QLatin1String("Times New Roman"))
        return "'Liberation Serif', 'Times New Roman', Times, serif";
    if (f.family() == QLatin1String("Arial Narrow"))
        return "'Liberation Sans Narrow', 'Arial Narrow', sans-serif";
    return "'Liberation Sans', Arial, Helvetica, sans-serif";
}

class ToileSvg : public Toile {
public:
    void couche(Couche c) override { m_couche = static_cast<int>(c); }
    void element(QPoint origine) override { m_origine = origine; }
    void fin() override { m_origine = QPoint(); }

    void remplir(const QRect& r, const QColor& c) override
    {
        const QRect a = r.translated(m_origine);
        groupe(Remplis, "fill=\"" + couleur(c) + "\"", "<path d=\"") +=
            "M" + nombre(a.x()) + " " + nombre(a.y()) + "h" + nombre(a.width()) + "v" + nombre(a.height()) + "h"
            + nombre(-a.width()) + "z";
    }

    // Along the centres of the pixels it covers, one pixel wide.
    void ligne(int x1, int y1, int x2, int y2, const QColor& c) override
    {
        QByteArray& d = groupe(Lignes, "fill=\"none\" stroke=\"" + couleur(c) + "\"", "<path d=\"");
        const QPoint a = QPoint(std::min(x1, x2), std::min(y1, y2)) + m_origine;
        if (y1 == y2)
            d += "M" + nombre(a.x()) + " " + nombre(a.y() + 0.5) + "h" + nombre(std::abs(x2 - x1) + 1);
        else
            d += "M" + nombre(a.x() + 0.5) + " " + nombre(a.y()) + "v" + nombre(std::abs(y2 - y1) + 1);
    }

    void contour(const QRect& r, const QColor& c) override
    {
        const QRect a = r.translated(m_origine);
        groupe(Lignes, "fill=\"none\" stroke=\"" + couleur(c) + "\"", "<path d=\"") +=
            "M" + nombre(a.x() + 0.5) + " " + nombre(a.y() + 0.5) + "h" + nombre(a.width()) + "v"
            + nombre(a.height()) + "h" + nombre(-a.width()) + "z";
    }

    void texte(const QRect& r, int alignement, const QFont& police, const QColor& c, const QString& t) override
    {
        const QFontMetricsF fm(police);
        const QRectF a = QRectF(r.translated(m_origine));
        const double y = (alignement & Qt::AlignVCenter) ? a.y() + (a.height() - fm.height()) / 2 + fm.ascent()
                                                         : a.y() + fm.ascent();
        // Centred unless asked otherwise (the page's legend and lists).
        const bool gauche = alignement & Qt::AlignLeft, droite = alignement & Qt::AlignRight;
        const QByteArray style = "font-family=\"" + familles(police) + "\" font-size=\""
                                 + nombre(police.pixelSize()) + "\"" + (police.bold() ? " font-weight=\"bold\"" : "")
                                 + " text-anchor=\"" + (gauche ? "start" : droite ? "end" : "middle") + "\" fill=\""
                                 + couleur(c) + "\"";
        const double x = gauche ? a.left() : droite ? a.x() + a.width() : a.center().x();
        groupe(Textes, style, {}) += "<text x=\"" + nombre(x) + "\" y=\"" + nombre(y) + "\">" + echapper(t)
                                     + "</text>";
    }

    // The groups in drawing order: layer by layer, within a layer the fills,
    // the lines, then the texts (elements of one layer do not overlap).
    QByteArray groupes() const
    {
        QByteArray svg;
        for (const auto& [cle, g] : m_groupes) {
            svg += "<g " + g.style + ">";
            svg += g.debut.isEmpty() ? g.contenu : g.debut + g.contenu + "\"/>";
            svg += "</g>\n";
        }
        return svg;
    }

private:
    enum Sorte { Remplis, Lignes, Textes };
    struct Groupe {
        QByteArray style, debut, contenu;
    };

    QByteArray& groupe(Sorte sorte, const QByteArray& style, const QByteArray& debut)
    {
        const auto cle = std::make_tuple(m_couche, int(sorte), m_ordre.try_emplace(style, m_ordre.size()).first->second);
        Groupe& g = m_groupes[cle];
        if (g.style.isEmpty())
            g.style = style, g.debut = debut;
        return g.contenu;
    }

    int m_couche = 0;
    QPoint m_origine;
    std::map<QByteArray, size_t> m_ordre; // styles in the order they first appear
    std::map<std::tuple<int, int, size_t>, Groupe> m_groupes;
};

} // namespace

QByteArray SvgCalendrier(const ModeleFeuille& feuille, const PlanImpression& plan, QSizeF tailleMm,
                         const QString& titre, const QString& description)
{
    // One unit of the view box is a tenth of a millimetre; the picture's pixels
    // are stretched to the printed size, as on paper.
    const int l = qRound(tailleMm.width() * 10), h = qRound(tailleMm.height() * 10);
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""
                     + nombre(l / 10.0) + "mm\" height=\"" + nombre(h / 10.0) + "mm\" viewBox=\"0 0 "
                     + QByteArray::number(l) + " " + QByteArray::number(h) + "\">\n<title>" + echapper(titre)
                     + "</title>\n<desc>" + echapper(description) + "</desc>\n";
    const QRect source(plan.destination, plan.source.size());
    svg += "<defs><clipPath id=\"source\"><rect x=\"" + nombre(source.x()) + "\" y=\"" + nombre(source.y())
           + "\" width=\"" + nombre(source.width()) + "\" height=\"" + nombre(source.height())
           + "\"/></clipPath></defs>\n";
    svg += "<g transform=\"scale(" + nombre(double(l) / plan.taille.width()) + " "
           + nombre(double(h) / plan.taille.height()) + ")\">\n";
    if (plan.fond.isValid())
        svg += "<rect width=\"" + nombre(plan.taille.width()) + "\" height=\"" + nombre(plan.taille.height())
               + "\" fill=\"" + couleur(plan.fond) + "\"/>\n";
    ToileSvg toile;
    PeindreFeuille(toile, feuille);
    const QPoint decalage = plan.destination - plan.source.topLeft();
    svg += "<g clip-path=\"url(#source)\"><g transform=\"translate(" + nombre(decalage.x()) + " "
           + nombre(decalage.y()) + ")\">\n" + toile.groupes() + "</g></g>\n";
    if (plan.contour)
        svg += "<path fill=\"none\" stroke=\"" + couleur(plan.couleurContour) + "\" d=\"M0.5 0.5H"
               + nombre(plan.coinContour.x() + 0.5) + "V" + nombre(plan.coinContour.y() + 0.5) + "H0.5z\"/>\n";
    return svg + "</g>\n</svg>\n";
}

QByteArray SvgPage(const ModeleFeuille& feuille, const PlanPage& plan, const QString& titre,
                   const QString& description)
{
    // One unit of the view box is one of the page's, a tenth of a millimetre.
    const int l = plan.taille.largeur, h = plan.taille.hauteur;
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""
                     + nombre(l / UnitesParMm) + "mm\" height=\"" + nombre(h / UnitesParMm) + "mm\" viewBox=\"0 0 "
                     + QByteArray::number(l) + " " + QByteArray::number(h) + "\">\n<title>" + echapper(titre)
                     + "</title>\n<desc>" + echapper(description) + "</desc>\n";
    ToileSvg toile;
    PeindrePage(toile, feuille, plan);
    return svg + toile.groupes() + "</svg>\n";
}
