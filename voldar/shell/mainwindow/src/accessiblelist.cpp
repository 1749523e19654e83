#include "accessiblelist.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

class AccessibleList : public QAccessibleWidget
{
public:
    explicit AccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    // The open list of items is the one child, as with Qt's own interface.
    int childCount() const override { return 1; }

    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr && child->object() == list()->view() ? 0 : -1;
    }

    QString text(QAccessible::Text kind) const override
    {
        const QString own = QAccessibleWidget::text(kind);
        switch (kind) {
        case QAccessible::Name:
            return own.isEmpty() ? list()->currentText() : own;
        case QAccessible::Value:
            return list()->currentText();
        case QAccessible::Description:
            // A named list says its chosen item after its name; before a
            // choice, its prompt (the tool tip) says what to choose.
            return list()->accessibleName().isEmpty() || list()->currentIndex() < 0
                       ? own
                       : list()->currentText();
        default:
            return own;
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        state.editable = list()->isEditable();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
        } else if (list()->view()->isVisible()) {
            list()->hidePopup();
        } else {
            list()->showPopup();
        }
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* listInterface(const QString&, QObject* object)
{
    auto* list = qobject_cast<QComboBox*>(object);
    // Qt's accessibility cache owns the interface and deletes it with the list.
    return list != nullptr ? new AccessibleList(list) : nullptr;
}

} // namespace

void installAccessibleLists()
{
    QAccessible::installFactory(&listInterface);
}
