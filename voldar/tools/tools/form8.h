#pragma once

#include "tools/pension.h"

#include <array>
#include <functional>
#include <memory>
#include <QString>
#include <QWidget>

namespace Ui {
class Form8;
}

namespace tools {

class Dialogs;

// The pension estimate. It is kept above every other window, asks for the
// years in an input box and answers in a message box; the amounts come from
// pension.h.
//
// A top-level window (also when given a parent); closing it deletes it, so
// the next showing starts with an empty box and the check box unticked.
class Form8 : public QWidget
{
    Q_OBJECT

public:
    // The texts of the main window's hand-over labels Label62, Label63 and
    // Label64 (rank salary, raised position salary, long-service bonus) at the
    // moment a button is pressed.
    using SalaryTexts = std::function<std::array<QString, 3>()>;

    explicit Form8(SalaryTexts salaries, QWidget* parent = nullptr, Dialogs* dialogs = nullptr);
    ~Form8() override;

private:
    void onCommand1Clicked();
    void onCommand2Clicked();
    void estimate(PensionKind kind);

    std::unique_ptr<Ui::Form8> ui;
    SalaryTexts m_salaries;
    Dialogs& m_dialogs;
};

} // namespace tools
