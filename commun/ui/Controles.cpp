#include "commun/ui/Controles.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>

#include "commun/ui/Couleur.h"
#include "commun/ui/Styles.h"

vkFrame* cadre(QWidget* parent, const QString& titre, const RectTwips& r, double titre1, double titre2,
               double fond1, double fond2, int hauteurTitreTwips)
{
    auto* f = placer(new vkFrame(titre, parent), r);
    f->setPoliceTitre(PoliceDessin(QStringLiteral("Arial"), 12, true));
    f->setCouleursTitre(VersQColor(titre1), VersQColor(titre2));
    f->setFonds(VersQColor(fond1), VersQColor(fond2));
    f->setHauteurTitre(TwipsVersPixels(hauteurTitreTwips));
    return f;
}

vkCommand* bouton(QWidget* parent, const QString& legende, const RectTwips& r)
{
    auto* b = placer(new vkCommand(legende, parent), r);
    b->setFont(PoliceDessin(QStringLiteral("Arial"), 12, true));
    return b;
}

vkCommand* boutonCouleur(QWidget* parent, const QString& legende, const RectTwips& r, double fond1, double fond2)
{
    auto* b = bouton(parent, legende, r);
    b->setFonds(VersQColor(fond1), VersQColor(fond2));
    b->setCouleurTexte(Qt::white);
    return b;
}

QLabel* etiquette(QWidget* parent, const QString& texte, const RectTwips& r, const QFont& police, double couleur,
                  double fond, Qt::Alignment alignement)
{
    auto* l = placer(new QLabel(texte, parent), r);
    l->setFont(police);
    l->setAlignment(alignement | Qt::AlignTop);
    FondWidget(l, VersQColor(fond));
    TexteWidget(l, VersQColor(couleur));
    l->setContentsMargins(0, 0, 0, 0);
    return l;
}

QCheckBox* caseACocher(QWidget* parent, const QString& texte, const RectTwips& r, double fond)
{
    auto* c = placer(new AvecMarque<QCheckBox>(Qt::black, texte, parent), r);
    c->setFont(PoliceDessin(QStringLiteral("Arial"), 10.5, true));
    FondWidget(c, VersQColor(fond));
    c->setChecked(true);
    return c;
}

QLabel* icone(QWidget* parent, const QString& ressource, const RectTwips& r, const QString& description)
{
    auto* l = placer(new QLabel(parent), r);
    l->setAccessibleName(description);
    l->setPixmap(QPixmap(ressource));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

void Nommer(std::initializer_list<std::pair<QObject*, const char*>> controles)
{
    for (const auto& [controle, nom] : controles)
        controle->setObjectName(QString::fromUtf8(nom));
}
