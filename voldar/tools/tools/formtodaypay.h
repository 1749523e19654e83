#pragma once

#include "paycalc/todaypay.h"

#include <array>
#include <functional>
#include <memory>
#include <QByteArray>
#include <QString>
#include <QWidget>
#include <utility>

class QLabel;

namespace Ui {
class FormTodayPay;
}

namespace tools {

class Dialogs;

// The pay under the rules in force today: the inputs in one column, the
// amounts beside them, the salary tables and rules in use underneath. Every
// change goes to paycalc::todaypay::TodayPay and the window shows what it
// reports at once. The user's choices are kept in a small file of the user's
// configuration, rewritten after every change, and come back when the window
// opens.
//
// A top-level window (also when given a parent); closing it deletes it.
class FormTodayPay : public QWidget
{
    Q_OBJECT

public:
    // The main window's rank and grade list indexes, -1 for none.
    using MainChoices = std::function<std::pair<int, int>()>;

    FormTodayPay(const QString& dataFolder, const QString& choicesPath, MainChoices mainChoices,
                 QWidget* parent = nullptr, tools::Dialogs* dialogs = nullptr);
    ~FormTodayPay() override;

    // todaypay.txt in the user's configuration folder.
    static QString defaultChoicesPath();

public slots:
    // Reads the salary tables and the rules file again and shows the sheet
    // anew, keeping the choices (after an indexation).
    void reloadTables();

private:
    using Input = paycalc::todaypay::Input;
    using Amount = paycalc::todaypay::Amount;

    // One handler per kind of input: the fifteen inputs differ only in which
    // of the engine's inputs they set.
    void onListCurrentIndexChanged(Input input, int index);
    void onBoxTextChanged(Input input, const QString& text);
    void onCheckBoxToggled(Input input, bool checked);
    void onTakeFromMainButtonClicked();

    void showCaptions();
    void connectInputs();
    // Puts the engine's choices into the controls without raising changes.
    void showInputs();
    // The marks of the boxes, every amount, the problem and the footer.
    void showSheet();
    void showMark(Input input);

    void restoreChoices();
    void saveChoices();

    QWidget* control(Input input) const { return m_inputs[static_cast<int>(input)]; }

    std::unique_ptr<Ui::FormTodayPay> ui;
    QString m_choicesPath;
    MainChoices m_mainChoices;
    Dialogs& m_dialogs;
    paycalc::todaypay::TodayPay m_pay;
    // The controls in the engine's order of inputs and amounts.
    std::array<QLabel*, paycalc::todaypay::InputCount> m_inputCaptions{};
    std::array<QWidget*, paycalc::todaypay::InputCount> m_inputs{};
    std::array<QLabel*, paycalc::todaypay::AmountCount> m_amountCaptions{};
    std::array<QLabel*, paycalc::todaypay::AmountCount> m_amounts{};
    // What the choices file holds, so that a change that leaves the choices
    // as they were writes nothing.
    QByteArray m_savedChoices;
    // A failed save is reported once, not on every keystroke after it.
    bool m_saveFailureShown = false;
};

} // namespace tools
