#include "app/ui/Feuille.h"

#include <QMouseEvent>
#include <QPainter>

#include "commun/Twips.h"
#include "app/ui/Couleur.h"

namespace {
// Designed positions, in twips, of element 0 of each block's arrays.
constexpr int GaucheTitre[3] = {360, 3510, 6630};
constexpr int GaucheJour[3] = {105, 3255, 6375};
constexpr int GaucheCellule[3] = {90, 3240, 6360};
constexpr int HautTitre[4] = {30, 3270, 6510, 9750};
constexpr int HautJour[4] = {435, 3675, 6915, 10155};
constexpr int HautCellule[4] = {720, 3960, 7200, 10440};
constexpr RectTwips TailleTitre{0, 0, 2430, 390};
constexpr RectTwips TailleJour{0, 0, 420, 300};
constexpr RectTwips TailleCellule{0, 0, 420, 420};
constexpr RectTwips RectFeuille{3990, 0, 9450, 13020};

const char* const NomsJours[7] = {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"};

void placer(QWidget* w, int gaucheTwips, int hautTwips, const RectTwips& taille)
{
    w->setGeometry(TwipsVersPixels(gaucheTwips), TwipsVersPixels(hautTwips),
                   TwipsVersPixels(taille.largeur), TwipsVersPixels(taille.hauteur));
}
} // namespace

CaseJour::CaseJour(int index, QWidget* parent) : QWidget(parent), m_index(index)
{
    legende = QStringLiteral("0");
    setAccessibleName(legende); // the date, once the cell is filled
}

void CaseJour::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    peindre(p);
}

void CaseJour::peindre(QPainter& p) const
{
    const int w = width(), h = height();
    p.fillRect(rect(), fond);
    // Sunken border, two pixels: grey/white outside, dark/light inside.
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, w - 2, 0);
    p.drawLine(0, 0, 0, h - 2);
    p.setPen(Qt::white);
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(1, 1, w - 3, 1);
    p.drawLine(1, 1, 1, h - 3);
    p.setPen(QColor(212, 208, 200));
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);

    QFont f = PoliceDessin(QStringLiteral("Arial"), 12, gras);
    p.setFont(f);
    p.setPen(texte);
    p.drawText(QRect(2, 2, w - 4, h - 4), Qt::AlignCenter, legende);
}

void CaseJour::mousePressEvent(QMouseEvent* e)
{
    m_appui = e->button() == Qt::LeftButton;
}

void CaseJour::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_appui && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked(m_index);
    m_appui = false;
}

EtiquetteJour::EtiquetteJour(QWidget* parent) : QWidget(parent)
{
    setLegende(QStringLiteral("Sam"));
}

void EtiquetteJour::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    peindre(p);
}

void EtiquetteJour::peindre(QPainter& p) const
{
    p.fillRect(rect(), fond);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(PoliceDessin(QStringLiteral("MS Sans Serif"), 8.25, true));
    p.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignHCenter | Qt::AlignTop, legende);
}

EtiquetteTitre::EtiquetteTitre(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(legende);
}

void EtiquetteTitre::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    peindre(p);
}

void EtiquetteTitre::peindre(QPainter& p) const
{
    p.setFont(PoliceDessin(QStringLiteral("Times New Roman"), 16.5, true));
    p.setPen(texte);
    p.drawText(QRect(0, 0, width(), height()), Qt::AlignHCenter | Qt::AlignTop, legende);
}

FeuilleCalendrier::FeuilleCalendrier(QWidget* parent) : QWidget(parent)
{
    const RectPixels r = VersPixels(RectFeuille);
    resize(r.l, r.h);
    setAccessibleName(QStringLiteral("Calendrier réel"));
    for (int m = 1; m <= 12; ++m) {
        const int col = (m - 1) % 3, rang = (m - 1) / 3;
        lblDate[m] = new EtiquetteTitre(this);
        placer(lblDate[m], GaucheTitre[col], HautTitre[rang], TailleTitre);

        lblJour[m][0] = new EtiquetteJour(this);
        placer(lblJour[m][0], GaucheJour[col], HautJour[rang], TailleJour);

        BtnJour[m][0] = new CaseJour(0, this);
        placer(BtnJour[m][0], GaucheCellule[col], HautCellule[rang], TailleCellule);
        connect(BtnJour[m][0], &CaseJour::clicked, this, [this, m](int i) { emit jourClique(m, i); });
    }
}

void FeuilleCalendrier::JourSemaine(int mois, const QColor& coulNoms)
{
    EtiquetteJour** Ljs = lblJour[mois];
    for (int i = 1; i <= 6; ++i) {
        if (Ljs[i])
            continue; // already created
        Ljs[i] = new EtiquetteJour(this);
        const QRect prec = Ljs[i - 1]->geometry();
        Ljs[i]->setGeometry(prec.x() + prec.width(), Ljs[0]->y(), Ljs[0]->width(), Ljs[0]->height());
        Ljs[i]->show();
    }
    for (int j = 0; j <= 6; ++j)
        Ljs[j]->setLegende(QString::fromLatin1(NomsJours[j]));
    for (int j = 0; j <= 6; ++j)
        Ljs[j]->setFond(coulNoms);
}

void FeuilleCalendrier::BoutonJour(int mois)
{
    CaseJour** Btn = BtnJour[mois];
    for (int i = 1; i <= 41; ++i) {
        if (Btn[i])
            continue;
        Btn[i] = new CaseJour(i, this);
        const QRect prec = Btn[i - 1]->geometry();
        if (i % 7 == 0)
            Btn[i]->setGeometry(Btn[0]->x(), prec.y() + prec.height(), prec.width(), prec.height());
        else
            Btn[i]->setGeometry(prec.x() + prec.width(), prec.y(), prec.width(), prec.height());
        Btn[i]->fond = Btn[0]->fond;
        Btn[i]->show();
        connect(Btn[i], &CaseJour::clicked, this, [this, mois](int k) { emit jourClique(mois, k); });
    }
}

void FeuilleCalendrier::setFond(const QColor& c)
{
    m_fond = c;
    m_cadre = false;
    update();
}

void FeuilleCalendrier::dessinerCadre(const QColor& grille)
{
    m_grille = grille;
    m_cadre = true;
    update();
}

void FeuilleCalendrier::paintEvent(QPaintEvent*)
{
    // The blocks are child widgets and paint themselves.
    QPainter p(this);
    peindreFond(p);
}

void FeuilleCalendrier::peindreFond(QPainter& p) const
{
    p.fillRect(rect(), m_fond);
    if (m_cadre) {
        // Outline from (1, 1) to (width - 1, height - 1), three pixels wide,
        // centred on that path.
        const int w = width(), h = height();
        p.fillRect(QRect(0, 0, w, 3), m_grille);
        p.fillRect(QRect(0, 0, 3, h), m_grille);
        p.fillRect(QRect(w - 2, 0, 3, h), m_grille);
        p.fillRect(QRect(0, h - 2, w, 3), m_grille);
    }
}

void FeuilleCalendrier::peindre(QPainter& p) const
{
    peindreFond(p);
    // Children in their stacking order: the later ones lie above.
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isHidden())
            continue;
        p.save();
        p.translate(w->pos());
        if (auto* c = qobject_cast<CaseJour*>(w))
            c->peindre(p);
        else if (auto* e = qobject_cast<EtiquetteJour*>(w))
            e->peindre(p);
        else if (auto* t = qobject_cast<EtiquetteTitre*>(w))
            t->peindre(p);
        p.restore();
    }
}

QImage FeuilleCalendrier::rendre(QSize taille) const
{
    QImage img(taille, QImage::Format_RGB32);
    img.fill(m_fond);
    QPainter p(&img);
    peindre(p);
    return img;
}
