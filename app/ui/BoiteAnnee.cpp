#include "app/ui/BoiteAnnee.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace {
// As Qt describes a list box, with the box's own name: the text field and the
// drop-down list are its children, its value is the text shown.
class AccesBoiteAnnee : public QAccessibleWidget {
public:
    explicit AccesBoiteAnnee(QComboBox* boite) : QAccessibleWidget(boite, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? boite()->currentText() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = boite()->view()->isVisible();
        s.editable = boite()->isEditable();
        return s;
    }
    int childCount() const override { return boite()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        QWidget* enfant = index == 0 ? static_cast<QWidget*>(boite()->view())
                          : index == 1 ? boite()->lineEdit()
                                       : nullptr;
        return enfant ? QAccessible::queryAccessibleInterface(enfant) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* enfant) const override
    {
        for (int i = 0; enfant && i < childCount(); ++i)
            if (child(i) == enfant)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        QLineEdit* texte = boite()->lineEdit();
        if (texte && texte->rect().contains(texte->mapFromGlobal(QPoint(x, y))))
            return QAccessible::queryAccessibleInterface(texte);
        return nullptr;
    }

    // Opening and closing the list.
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        boite()->view()->isVisible() ? boite()->hidePopup() : boite()->showPopup();
    }

private:
    QComboBox* boite() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* Fabrique(const QString& classe, QObject* objet)
{
    if (classe == QLatin1String("BoiteAnnee") && qobject_cast<BoiteAnnee*>(objet))
        return new AccesBoiteAnnee(static_cast<BoiteAnnee*>(objet));
    return nullptr;
}
} // namespace

BoiteAnnee::BoiteAnnee(const QString& nomAccessible, QWidget* parent) : QComboBox(parent)
{
    [[maybe_unused]] static const bool installee = (QAccessible::installFactory(Fabrique), true);
    setEditable(true);
    setAccessibleName(nomAccessible);
    lineEdit()->setAccessibleName(nomAccessible);
}
