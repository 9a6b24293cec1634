#include "app/ui/VueFeuille.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <QToolTip>

#include "colour/ui/PeintreFeuille.h"
#include "commun/ui/Styles.h"

namespace {
constexpr int NombreCases = BlocsParFeuille * CellulesParMois;

// What a screen reader finds in the sheet: one object per day cell (its full
// date and tooltip), then one per month title.
class AccessibleElement : public QAccessibleInterface {
public:
    AccessibleElement(VueFeuille* vue, int index) : m_vue(vue), m_index(index) {}
    bool isValid() const override { return m_vue && m_vue->modele(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_vue->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_vue); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return estCase() ? QAccessible::Cell : QAccessible::StaticText; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const ModeleFeuille& f = *m_vue->modele();
        if (!estCase())
            return t == QAccessible::Name ? QString::fromStdString(f.bloc(m_index - NombreCases + 1).titre) : QString();
        const CaseFeuille& c = f.cellule(position());
        if (t == QAccessible::Name)
            return QString::fromStdString(NomAccessible(f, c));
        if (t == QAccessible::Description)
            return QString::fromStdString(BulleCase(f, c)).trimmed();
        return {};
    }

    QRect rect() const override
    {
        const RectPixels r = estCase() ? RectCase(position().bloc, position().cellule)
                                   : RectTitre(m_index - NombreCases + 1);
        return QRect(m_vue->mapToGlobal(QPoint(r.x, r.y)), QSize(r.l, r.h));
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!estCase())
            return s;
        s.focusable = true;
        s.focused = m_vue->hasFocus() && m_vue->caseFocus() == position();
        s.invisible = !m_vue->isVisible();
        return s;
    }

private:
    bool estCase() const { return m_index < NombreCases; }
    PositionCase position() const { return {m_index / CellulesParMois + 1, m_index % CellulesParMois}; }

    QPointer<VueFeuille> m_vue;
    int m_index;
};
} // namespace

class AccessibleFeuille : public QAccessibleWidget {
public:
    explicit AccessibleFeuille(VueFeuille* vue) : QAccessibleWidget(vue, QAccessible::Table) {}
    VueFeuille* vue() const { return static_cast<VueFeuille*>(widget()); }
    int childCount() const override { return NombreCases + BlocsParFeuille; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        std::vector<unsigned>& ids = vue()->m_idsAccessibles;
        if (ids.empty())
            for (int i = 0; i < childCount(); ++i)
                ids.push_back(QAccessible::registerAccessibleInterface(new AccessibleElement(vue(), i)));
        return QAccessible::accessibleInterface(ids[static_cast<size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* enfant) const override
    {
        const std::vector<unsigned>& ids = vue()->m_idsAccessibles;
        for (size_t i = 0; i < ids.size(); ++i)
            if (QAccessible::accessibleInterface(ids[i]) == enfant)
                return static_cast<int>(i);
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint p = vue()->mapFromGlobal(QPoint(x, y));
        const std::optional<PositionCase> c = CaseEn(p.x(), p.y());
        return c ? child((c->bloc - 1) * CellulesParMois + c->cellule) : nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        const std::optional<PositionCase> c = vue()->caseFocus();
        return vue()->hasFocus() && c ? child((c->bloc - 1) * CellulesParMois + c->cellule) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? vue()->accessibleName() : QAccessibleWidget::text(t);
    }
};

namespace {
QAccessibleInterface* FabriqueAccessible(const QString& classe, QObject* objet)
{
    if (classe == QLatin1String("VueFeuille") && objet && objet->isWidgetType())
        return new AccessibleFeuille(static_cast<VueFeuille*>(objet));
    return nullptr;
}
} // namespace

VueFeuille::VueFeuille(QWidget* parent, std::function<Date()> aujourdhui)
    : QWidget(parent), m_aujourdhui(std::move(aujourdhui))
{
    static const bool fabrique = (QAccessible::installFactory(FabriqueAccessible), true);
    (void)fabrique;
    resize(LargeurFeuille, HauteurFeuille);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Calendrier réel"));
}

VueFeuille::~VueFeuille()
{
    for (unsigned id : m_idsAccessibles)
        QAccessible::deleteAccessibleInterface(id);
}

void VueFeuille::setModele(const ModeleFeuille* modele)
{
    m_modele = modele;
    update();
}

QRect VueFeuille::rectCase(PositionCase p) const
{
    const RectPixels r = RectCase(p.bloc, p.cellule);
    return QRect(r.x, r.y, r.l, r.h);
}

std::optional<PositionCase> VueFeuille::caseFocus() const
{
    if (!m_modele)
        return std::nullopt;
    if (m_jour)
        if (const std::optional<PositionCase> c = CaseDuJour(*m_modele, *m_jour))
            return c;
    // Today when the sheet shows it, else the first day of the first block.
    if (const std::optional<PositionCase> c = CaseDuJour(*m_modele, m_aujourdhui()))
        return c;
    const BlocFeuille& premier = m_modele->bloc(1);
    return CaseDuJour(*m_modele, Date{1, premier.mois, premier.annee});
}

void VueFeuille::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!m_modele) {
        p.fillRect(rect(), palette().window());
        return;
    }
    ToileQPainter toile(p);
    PeindreFeuille(toile, *m_modele);
    if (hasFocus() && m_suiteClavier && m_ancre && m_jour) {
        // The run Shift+arrows cover, each day framed in a lighter blue.
        const int64_t a = JoursDepuisEpoque(*m_ancre), b = JoursDepuisEpoque(*m_jour);
        for (int64_t j = std::min(a, b); j <= std::max(a, b); ++j)
            if (const std::optional<PositionCase> c = CaseDuJour(*m_modele, DateDeJours(j)))
                MarqueFocus(p, rectCase(*c).adjusted(3, 3, -3, -3), QColor(110, 110, 255));
    }
    if (hasFocus())
        if (const std::optional<PositionCase> c = caseFocus())
            // Inside the sunken border, in a blue that no scheme colour hides.
            MarqueFocus(p, rectCase(*c).adjusted(2, 2, -2, -2), QColor(0, 0, 220));
}

void VueFeuille::montrerAide(const QString& texte, const QRect& jour)
{
    m_aide = jour.isEmpty() ? rect() : jour;
    QToolTip::showText(mapToGlobal(m_aide.bottomLeft()), texte, this, m_aide, 8000);
}

void VueFeuille::mousePressEvent(QMouseEvent* e)
{
    m_aide = QRect();
    m_appui.reset();
    if (e->button() == Qt::LeftButton)
        m_appui = CaseEn(e->position().toPoint().x(), e->position().toPoint().y());
}

void VueFeuille::mouseReleaseEvent(QMouseEvent* e)
{
    const std::optional<PositionCase> ici = CaseEn(e->position().toPoint().x(), e->position().toPoint().y());
    if (e->button() == Qt::LeftButton && m_appui && ici && m_modele) {
        const Date jour = m_modele->cellule(*ici).date;
        if (ici != m_appui) // a drag
            emit suiteDeJours(m_modele->cellule(*m_appui).date, jour);
        else if ((e->modifiers() & Qt::ShiftModifier) && m_ancre && *m_ancre != jour)
            emit suiteDeJours(*m_ancre, jour);
        else
            emit jourClique(ici->bloc, ici->cellule);
        // The day clicked has the keyboard from now on (a run by keys starts there).
        m_ancre = jour;
        if (CaseDuJour(*m_modele, jour))
            m_jour = jour;
        m_suiteClavier = false;
        update();
    }
    m_appui.reset();
}

bool VueFeuille::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && m_modele) {
        const QPoint p = static_cast<QHelpEvent*>(e)->pos();
        if (m_aide.contains(p) && QToolTip::isVisible())
            return true; // the line of help stays
        const std::optional<PositionCase> c = CaseEn(p.x(), p.y());
        const QString bulle = c ? QString::fromStdString(BulleCase(*m_modele, m_modele->cellule(*c))) : QString();
        if (bulle.trimmed().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), bulle, this, rectCase(*c));
        return true;
    }
    return QWidget::event(e);
}

void VueFeuille::keyPressEvent(QKeyEvent* e)
{
    const std::optional<PositionCase> c = caseFocus();
    if (!c) {
        QWidget::keyPressEvent(e);
        return;
    }
    const Date d = m_modele->cellule(*c).date;
    // Shift with a move extends the run from its anchor; a move without it starts afresh.
    const bool mouvement = e->key() == Qt::Key_Right || e->key() == Qt::Key_Left || e->key() == Qt::Key_Down
                           || e->key() == Qt::Key_Up || e->key() == Qt::Key_Home || e->key() == Qt::Key_End
                           || e->key() == Qt::Key_PageDown || e->key() == Qt::Key_PageUp;
    if (mouvement && (e->modifiers() & Qt::ShiftModifier)) {
        if (!m_suiteClavier)
            m_ancre = d;
        m_suiteClavier = true;
    } else if (mouvement) {
        m_suiteClavier = false;
    }
    const auto moisDecale = [&d](int n) {
        const Date premier = DateDeJours(JoursDepuisEpoque(Date{1, d.mois + n, d.annee}));
        return Date{std::min(d.jour, JoursDansMois(premier.annee, premier.mois)), premier.mois, premier.annee};
    };
    switch (e->key()) {
    case Qt::Key_Right: allerA(AjouterJours(d, 1)); break;
    case Qt::Key_Left: allerA(AjouterJours(d, -1)); break;
    case Qt::Key_Down: allerA(AjouterJours(d, 7)); break;
    case Qt::Key_Up: allerA(AjouterJours(d, -7)); break;
    case Qt::Key_Home: allerA(Date{1, d.mois, d.annee}); break;
    case Qt::Key_End: allerA(Date{JoursDansMois(d.annee, d.mois), d.mois, d.annee}); break;
    case Qt::Key_PageDown: allerA(moisDecale(1)); break;
    case Qt::Key_PageUp: allerA(moisDecale(-1)); break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_suiteClavier && m_ancre && *m_ancre != d)
            emit suiteDeJours(*m_ancre, d);
        else
            emit jourClique(c->bloc, c->cellule);
        m_suiteClavier = false;
        m_ancre = d;
        update();
        break;
    default: QWidget::keyPressEvent(e); return;
    }
    e->accept();
}

// Days outside the sheet's months are not reached: the focus stays.
void VueFeuille::allerA(const Date& d)
{
    if (!m_modele || !CaseDuJour(*m_modele, d))
        return;
    m_jour = d;
    update();
    annoncerFocus();
}

void VueFeuille::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (const std::optional<PositionCase> c = caseFocus())
        m_jour = m_modele->cellule(*c).date;
    update();
    // After the focus event Qt sends for the sheet as a whole once this one is
    // handled, so that a screen reader's last word is the day's.
    QTimer::singleShot(0, this, [this] { annoncerFocus(); });
}

// Letting a key go hides the tooltip (the Tab that brought the focus, an
// arrow): the focused day's shows again.
void VueFeuille::keyReleaseEvent(QKeyEvent* e)
{
    QWidget::keyReleaseEvent(e);
    if (hasFocus() && !e->isAutoRepeat())
        montrerBulle();
}

void VueFeuille::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    QToolTip::hideText();
    update();
}

void VueFeuille::montrerBulle()
{
    const std::optional<PositionCase> c = caseFocus();
    if (!c || !hasFocus())
        return;
    const QRect r = rectCase(*c);
    const QString bulle = QString::fromStdString(BulleCase(*m_modele, m_modele->cellule(*c)));
    if (bulle.trimmed().isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(mapToGlobal(r.bottomLeft() + QPoint(0, 2)), bulle, this, r);
}

// The focused day's tooltip shows, and screen readers hear its name.
void VueFeuille::annoncerFocus()
{
    const std::optional<PositionCase> c = caseFocus();
    if (!c || !hasFocus())
        return;
    montrerBulle();
    QAccessibleEvent evenement(this, QAccessible::Focus);
    evenement.setChild(m_enfantAnnonce = (c->bloc - 1) * CellulesParMois + c->cellule);
    QAccessible::updateAccessibility(&evenement);
}
