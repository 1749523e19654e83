#pragma once

#include "paycalc/controls.h"
#include "paycalc/formsink.h"
#include "paycalc/paysheet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <QDate>
#include <QString>
#include <QStringList>

namespace paycalc {

// The pay calculator of the main window without the window: it owns the pay
// sheet, every list's rule, the accrual and tax computations, the delayed and
// periodic refreshes and every caption text. The window forwards its controls'
// events here and copies what the engine writes through the FormSink.
class PayEngine
{
public:
    // `dataFolder` holds Zvanie.Txt and Dolznost.Txt (read on every use).
    // Every label starts with its design caption (designCaption).
    PayEngine(FormSink& sink, QString dataFolder);

    // --- captions before any computation -----------------------------------
    // The text a label shows from the moment the window is built until the
    // engine first writes it: the zero amount in the label's own form, "???"
    // for the keyboard layout, a placeholder word for a hand-over label.
    static QString designCaption(Label label);
    // Writes every label's caption as it stands through the sink, without
    // the consequences of a new caption (no net pay, no hand-over). The window
    // calls it once it is built, so that every label text comes from here.
    void showAllCaptions();

    // --- start-up ---------------------------------------------------------
    // First half of loading: StartDate, the title, the month and year
    // selections, RegionalMultiplier := 1.0. Combo15 and Combo16 are design
    // lists: the window fills them itself from fixedItems(list, year of
    // startDate); the engine only counts their items and reports the
    // selections through setListIndex (they have no rule).
    void beginLoad(const QDate& startDate);
    // Second half: Combo1 and Combo2 from the salary files, then the fixed
    // items of the other lists. On a failure shows " Не найдена папка Data ",
    // stops there and returns false (lists filled before the failure keep
    // their items).
    bool fillLists();

    // The salary files were replaced while the program runs (an indexation of
    // the tables): Combo1 and Combo2 are filled again, each keeps its position,
    // the salaries of the chosen records are looked up anew and every amount
    // follows. Unlike a choice, the other rates (the flight raise) stay. On a
    // file that cannot be read shows " Не найдена папка Data ", changes
    // nothing and returns false.
    bool reloadSalaryLists();

    static QString windowTitle(const QDate& startDate);
    // Items of the lists filled from the window's design or from fixed tables
    // (not Combo1 and Combo2). The year list runs from 2005 to `currentYear` + 1.
    static QStringList fixedItems(List list, int currentYear);

    // --- events of the window --------------------------------------------
    // A list's selection changed, by the user or the program (-1: none). Runs
    // the list's rule, also when the index is the same as before.
    void select(List list, int index);
    // The program sets a list's selection: the window is told to show it and
    // the rule runs. Returns false, changing nothing, when the list refuses the
    // index (outside 0 .. item count - 1 and not -1).
    bool setSelection(List list, int index);

    // A check box was ticked or cleared, or an option button selected.
    // Option1 and Option2 are one group: selecting one clears the other.
    void setSwitch(Switch control, bool on);

    // The text of a free-entry box changed, by the user or the program.
    void boxChanged(Box box, const QString& text);

    // A window timer fired (Timer1, Timer2, Timer3, Timer6).
    void timerTick(Timer timer);

    // Timer5: the platform's current keyboard layout (0 when unknown).
    void showKeyboardLayout(std::uint32_t layout);

    // Printing and the restore after it force a list's enabled state.
    void setListEnabled(List list, bool enabled);

    // "Обнулить": zeroes the computed sheet and redisplays every amount.
    void reset();

    // --- computations (also run by the events above) ----------------------
    void ModulRaschet();
    void ModulUder();
    void CalcAdditionalAccruals();

    // --- state, for the window, the saved calculation and the pay slip -----
    const PaySheet& sheet() const { return m_sheet; }
    QString caption(Label label) const;
    QString mirror(Mirror mirror) const;
    QString boxText(Box box) const;
    bool isOn(Switch control) const;
    int selectedIndex(List list) const;
    int itemCount(List list) const;
    bool isListEnabled(List list) const;
    bool isTimerRunning(Timer timer) const;
    const QDate& startDate() const { return m_startDate; }
    QString dataFolder() const { return m_dataFolder; }

private:
    // Implementation detail; see payengine.cpp.
    struct ListState
    {
        int index = -1;
        int count = 0;
        bool enabled = true;
    };

    void addItems(List list, const QStringList& items);

    // List rules.
    void salaryRule(List list, int index);
    template <std::size_t N>
    void rateRule(List list, const double (&rates)[N], int index, double& rate);
    void flightClassRule(int index);
    void classQualificationRule(int index);
    void foodRationRule(int index);
    void sanatoriumRule(int index);
    void incomeBracketRule(int index);
    void childrenRule(int index);
    void clearChildrenList();

    // Delayed refreshes (Timer1, Timer2, Timer3).
    void otherAllowancesRefresh();
    void regionalRefresh();
    void otherDeductionsRefresh();

    void writeSalaryCaptions(QStringView totalPrefix);
    void updateNetPay();
    void updateGrandTotal();

    // How a caption shows its amount (see numbers.h).
    enum class CaptionForm : std::uint8_t
    {
        Amount,
        Fixed6,
        Fixed7,
        Whole6,
        Plain,
        HandOver
    };
    // What a caption was last formed from; the same input reuses the text.
    struct CaptionKey
    {
        std::uint64_t amountBits = 0;
        const QChar* prefix = nullptr;
        qsizetype prefixSize = 0;
        CaptionForm form = CaptionForm::Amount;
        bool valid = false;
        friend bool operator==(const CaptionKey&, const CaptionKey&) = default;
    };

    void writeFormatted(Label label, CaptionForm form, double amount, QStringView prefix = {});
    void writeCaption(Label label, const QString& text);
    void captionWritten(Label label);
    void writeBox(Box box, const QString& text);
    void writeMirror(List list, int index);
    void changeListEnabled(List list, bool enabled);
    void startTimer(Timer timer);
    void stopTimer(Timer timer);

    FormSink& m_sink;
    QString m_dataFolder;
    QDate m_startDate;
    PaySheet m_sheet;
    std::array<ListState, 17> m_lists{};  // indexed by the list's number
    std::array<QString, 66> m_captions{}; // indexed by the label's number
    std::array<CaptionKey, 66> m_captionKeys{};
    std::array<QString, 11> m_mirrors{}; // indexed by the mirror's number
    std::array<QString, 6> m_boxes{};    // indexed by the box's number
    std::array<bool, 9> m_switches{};    // indexed by the switch's number
    std::array<bool, 10> m_timers{};     // indexed by the timer's number
    std::uint32_t m_lastLayout = 0;
};

} // namespace paycalc
