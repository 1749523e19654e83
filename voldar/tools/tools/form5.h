#pragma once

#include "paycalc/marquee.h"
#include "tools/servicelength.h"

#include <array>
#include <functional>
#include <memory>
#include <QDate>
#include <QWidget>

class QLineEdit;
class QRadioButton;
class QTimer;

namespace Ui {
class Form5;
}

namespace tools {

class Dialogs;

// The length-of-service calculator: counts one dated service period at a
// chosen coefficient and sums periods into running totals. Everything it
// computes comes from the functions of servicelength.h; the window reads the
// boxes, shows the results and keeps the buttons' enabled states.
//
// A top-level window (also when given a parent); closing it deletes it, so
// the next showing starts with empty boxes and zero totals.
class Form5 : public QWidget
{
    Q_OBJECT

public:
    explicit Form5(QWidget* parent = nullptr, Dialogs* dialogs = nullptr);
    ~Form5() override;

    // The date the year limits follow (today unless a test sets another).
    void setToday(std::function<QDate()> today);

    // The marquee's moving text.
    static QString marqueeInvitation();

private:
    void onActivated();
    void onDateBoxChanged();
    void onDateBoxReturnPressed(int box);
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onCommand3Clicked();
    void onCommand4Clicked();
    void onCommand5Clicked();
    void onText9Changed();
    void onTimerTimeout();

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Runs a handler; an unexpected failure shows the internal-error message
    // and leaves the window as far as the handler got.
    void guarded(const std::function<void()>& handler);

    Coefficient coefficient() const;
    void showLength(const std::array<QLineEdit*, 3>& boxes, const Length& length);
    Length shownLength(const std::array<QLineEdit*, 3>& boxes) const;
    std::array<QLineEdit*, 3> row(int first, int second, int third) const;

    std::unique_ptr<Ui::Form5> ui;
    Dialogs& m_dialogs;
    std::function<QDate()> m_today;
    std::array<QLineEdit*, 6> m_dateBoxes{};
    QTimer* m_timer = nullptr;
    paycalc::Marquee m_marquee;
    Length m_totalService;
    Length m_totalCalendar;
};

} // namespace tools
