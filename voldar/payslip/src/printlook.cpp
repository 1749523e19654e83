#include "payslip/printlook.h"

#include <QPalette>
#include <QWidget>
#include <utility>

namespace payslip {

namespace {

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

PrintLook::PrintLook(QWidget* window, std::vector<LookEntry> entries, EnableHook enable)
    : m_window(window), m_entries(std::move(entries)), m_enable(std::move(enable))
{
    if (!m_enable)
        m_enable = [](QWidget* widget, bool enabled) { widget->setEnabled(enabled); };
}

void PrintLook::applyPrintLook() const
{
    apply(true);
}

void PrintLook::applyNormalLook() const
{
    apply(false);
}

QStringList PrintLook::missingNames() const
{
    QStringList missing;
    for (const LookEntry& entry : m_entries) {
        if (find(entry.objectName) == nullptr)
            missing << entry.objectName;
    }
    return missing;
}

void PrintLook::apply(bool printing) const
{
    for (const LookEntry& entry : m_entries) {
        QWidget* widget = find(entry.objectName);
        if (widget == nullptr)
            continue;
        switch (entry.look) {
        case Look::Page:
            setBackground(widget, printing ? paperWhite() : pageGreen());
            break;
        case Look::Amount:
            setBackground(widget, printing ? paperWhite() : amountTeal());
            break;
        case Look::Teal:
            setBackground(widget, amountTeal());
            break;
        case Look::Hidden:
            widget->setVisible(!printing);
            break;
        case Look::PaperOnly:
            widget->setVisible(printing);
            break;
        case Look::Banner:
            setBackground(widget, printing ? amountTeal() : pageGreen());
            widget->setVisible(printing);
            break;
        case Look::Enabled:
            m_enable(widget, printing);
            break;
        }
    }
}

QWidget* PrintLook::find(const QString& objectName) const
{
    if (m_window == nullptr)
        return nullptr;
    if (m_window->objectName() == objectName)
        return m_window;
    return m_window->findChild<QWidget*>(objectName);
}

QColor backgroundOf(const QWidget* widget)
{
    return widget->palette().color(QPalette::Window);
}

} // namespace payslip
