#pragma once

#include <functional>
#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace payslip {

// The colours of the main window on screen and on paper.
inline QColor paperWhite()
{
    return QColor(255, 255, 255);
}
inline QColor pageGreen()
{
    return QColor(236, 254, 244);
}
inline QColor amountTeal()
{
    return QColor(180, 236, 226);
}

// How one element of the main window changes between its normal look and the
// look it is printed with.
enum class Look
{
    Page,      // background page green; paper white when printed
    Amount,    // background amount teal; paper white when printed
    Teal,      // background amount teal in both looks
    Hidden,    // shown; hidden when printed (buttons and other controls)
    PaperOnly, // hidden; shown when printed (the web-site line)
    Banner,    // page green and hidden; amount teal and shown when printed
    Enabled,   // disabled; enabled when printed (the children list)
};

struct LookEntry
{
    QString objectName; // the window itself or one of its descendants
    Look look;
};

// Switches a window between its normal look and its print look, element by
// element, from a table the window provides. Colours are set through the
// widgets' palettes (QPalette::Window with an auto-filled background). The
// restore sets every element to its normal state whatever it was before.
class PrintLook
{
public:
    // Enables or disables one element; the main window routes its lists
    // through the engine so that the engine knows their state.
    using EnableHook = std::function<void(QWidget* widget, bool enabled)>;

    PrintLook(QWidget* window, std::vector<LookEntry> entries, EnableHook enable = {});

    void applyPrintLook() const;
    void applyNormalLook() const;

    // Names in the table that the window does not have (for the window's tests).
    QStringList missingNames() const;

private:
    void apply(bool printing) const;
    QWidget* find(const QString& objectName) const;

    QPointer<QWidget> m_window;
    std::vector<LookEntry> m_entries;
    EnableHook m_enable;
};

// The background colour an element shows, as PrintLook sets it.
QColor backgroundOf(const QWidget* widget);

} // namespace payslip
