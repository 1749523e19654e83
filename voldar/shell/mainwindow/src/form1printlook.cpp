#include "mainwindow/form1printlook.h"

#include "paycalc/controls.h"

#include <QMainWindow>
#include <QWidget>

namespace form1printlook {

namespace {

using payslip::Look;

// The colour group of a "role" value; false for a role that does not change.
bool lookOfRole(const QString& role, Look& look)
{
    if (role == QStringLiteral("caption"))
        look = Look::Page;
    else if (role == QStringLiteral("amount") || role == QStringLiteral("heading"))
        look = Look::Amount;
    else if (role == QStringLiteral("fixedAmount") || role == QStringLiteral("total"))
        look = Look::Teal;
    else if (role == QStringLiteral("banner"))
        look = Look::Banner;
    else if (role == QStringLiteral("siteLine"))
        look = Look::PaperOnly;
    else
        return false;
    return true;
}

} // namespace

std::vector<payslip::LookEntry> table(const QWidget& form)
{
    std::vector<payslip::LookEntry> entries;
    const auto* window = qobject_cast<const QMainWindow*>(&form);
    const QWidget* client = window != nullptr ? window->centralWidget() : &form;
    entries.push_back({client->objectName(), Look::Page});

    for (const QWidget* widget : client->findChildren<QWidget*>()) {
        Look look{};
        if (lookOfRole(widget->property("role").toString(), look))
            entries.push_back({widget->objectName(), look});
        if (widget->property("screenOnly").toBool())
            entries.push_back({widget->objectName(), Look::Hidden});
    }
    entries.push_back({paycalc::objectName(paycalc::List::Combo14), Look::Enabled});
    return entries;
}

} // namespace form1printlook
