#include "tools/form5.h"

#include "platform/addresses.h"
#include "platform/platform.h"
#include "platform/titles.h"
#include "platform/twips.h"
#include "tools/activation.h"
#include "tools/dialogs.h"
#include "ui_form5.h"

#include <exception>
#include <QEvent>
#include <QStyle>
#include <QTimer>

namespace tools {

Form5::Form5(QWidget* parent, Dialogs* dialogs)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::Form5>()),
      m_dialogs(dialogs != nullptr ? *dialogs : Dialogs::standard()),
      m_today([] { return QDate::currentDate(); })
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::Form5));
    setFixedSize(371, 585);

    m_dateBoxes = {ui->Text1, ui->Text2, ui->Text3, ui->Text4, ui->Text5, ui->Text6};
    for (int box = 0; box < int(m_dateBoxes.size()); ++box) {
        QLineEdit* edit = m_dateBoxes[box];
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &Form5::onDateBoxChanged);
        connect(edit, &QLineEdit::returnPressed, this,
                [this, box] { onDateBoxReturnPressed(box); });
    }
    connect(ui->Command1, &QPushButton::clicked, this, &Form5::onCommand1Clicked);
    connect(ui->Command2, &QPushButton::clicked, this, &Form5::onCommand2Clicked);
    connect(ui->Command3, &QPushButton::clicked, this, &Form5::onCommand3Clicked);
    connect(ui->Command4, &QPushButton::clicked, this, &Form5::onCommand4Clicked);
    connect(ui->Command5, &QPushButton::clicked, this, &Form5::onCommand5Clicked);
    connect(ui->Text9, &QLineEdit::textChanged, this, &Form5::onText9Changed);
    connect(new ActivationWatcher(this), &ActivationWatcher::activated, this, &Form5::onActivated);

    const QString site = QString::fromUtf16(addresses::Site);
    ui->Command4->setToolTip(site);
    ui->Command4->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    ui->Command4->setIconSize(QSize(32, 32));

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    connect(m_timer, &QTimer::timeout, this, &Form5::onTimerTimeout);
    guarded([this] {
        m_timer->setInterval(150);
        m_timer->start();
        // The blanks in front let the text enter from the right.
        m_marquee.setText(marqueeInvitation(), platform::blanksAcross(ui->txtRun, 0));
    });
}

Form5::~Form5() = default;

void Form5::setToday(std::function<QDate()> today)
{
    m_today = std::move(today);
}

QString Form5::marqueeInvitation()
{
    return QStringLiteral("Заходите на сайт программы : ") + QString::fromUtf16(addresses::Site) +
           QStringLiteral(" - там новые версии и ответы на вопросы ");
}

void Form5::onActivated()
{
    ui->Text1->setFocus(Qt::ActiveWindowFocusReason);
}

void Form5::onDateBoxChanged()
{
    ui->Command1->setEnabled(true);
}

void Form5::onDateBoxReturnPressed(int box)
{
    guarded([this, box] {
        if (box + 1 < int(m_dateBoxes.size())) {
            m_dateBoxes[box + 1]->setFocus(Qt::OtherFocusReason);
            return;
        }
        // While "Считать" is disabled (the period was just computed) the focus
        // stays in the last box.
        if (ui->Command1->isEnabled())
            ui->Command1->setFocus(Qt::OtherFocusReason);
    });
}

void Form5::onCommand1Clicked()
{
    guarded([this] {
        DateTexts texts;
        for (std::size_t box = 0; box < texts.size(); ++box)
            texts[box] = m_dateBoxes[box]->text();
        const DateCheck check = checkDates(texts, m_today().year());
        for (const DateCheck::Rewrite& rewrite : check.rewrites)
            m_dateBoxes[rewrite.box]->setText(rewrite.text);
        if (check.failure) {
            m_dialogs.showMessage(this, check.failure->message);
            m_dateBoxes[check.failure->box]->setText(check.failure->replacement);
            return;
        }

        const PeriodResult result = computePeriod(check.period, coefficient());
        const auto rowOf = [&result](Coefficient k) {
            return result.rows[static_cast<std::size_t>(k)];
        };
        showLength(row(7, 8, 9), result.service);
        showLength(row(10, 11, 12), result.calendar);
        showLength(row(13, 14, 15), rowOf(Coefficient::OneAndHalf));
        showLength(row(16, 17, 18), rowOf(Coefficient::Two));
        showLength(row(19, 20, 21), rowOf(Coefficient::One));
        showLength(row(22, 23, 24), rowOf(Coefficient::Three));
        // The same period cannot be computed twice in a row by accident.
        ui->Command1->setEnabled(false);
        ui->Text1->setFocus(Qt::OtherFocusReason);
        ui->Command3->setEnabled(true);
    });
}

void Form5::onCommand2Clicked()
{
    guarded([this] {
        ui->Command1->setEnabled(true);
        for (int first = 7; first <= 22; first += 3)
            showLength(row(first, first + 1, first + 2), Length{});
    });
}

void Form5::onCommand3Clicked()
{
    guarded([this] {
        m_totalService = addToTotal(m_totalService, shownLength(row(7, 8, 9)));
        m_totalCalendar = addToTotal(m_totalCalendar, shownLength(row(10, 11, 12)));
        showLength(row(28, 29, 30), m_totalService);
        showLength(row(25, 26, 27), m_totalCalendar);
        // One period is added once.
        ui->Command3->setEnabled(false);
    });
}

void Form5::onCommand4Clicked()
{
    guarded([] { platform::openDocument(QString::fromUtf16(addresses::Site)); });
}

void Form5::onCommand5Clicked()
{
    m_totalService = {};
    m_totalCalendar = {};
    showLength(row(28, 29, 30), m_totalService);
    showLength(row(25, 26, 27), m_totalCalendar);
    ui->Command3->setEnabled(true);
}

void Form5::onText9Changed()
{
    ui->Command3->setEnabled(true);
}

void Form5::onTimerTimeout()
{
    ui->txtRun->setText(m_marquee.tick());
    // The box shows its text from the first character on.
    ui->txtRun->setCursorPosition(0);
}

bool Form5::eventFilter(QObject* watched, QEvent* event)
{
    // A date box entered in any way has its whole text selected, so that
    // typing replaces it.
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            edit->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

void Form5::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception&) {
        m_dialogs.showMessage(this, internalErrorMessage());
    }
}

Coefficient Form5::coefficient() const
{
    if (ui->opt2->isChecked())
        return Coefficient::OneAndHalf;
    if (ui->opt3->isChecked())
        return Coefficient::Two;
    if (ui->opt4->isChecked())
        return Coefficient::Three;
    return Coefficient::One;
}

void Form5::showLength(const std::array<QLineEdit*, 3>& boxes, const Length& length)
{
    const std::array<QString, 3> texts = lengthTexts(length);
    for (std::size_t part = 0; part < boxes.size(); ++part)
        boxes[part]->setText(texts[part]);
}

Length Form5::shownLength(const std::array<QLineEdit*, 3>& boxes) const
{
    return readLength(boxes[0]->text(), boxes[1]->text(), boxes[2]->text());
}

std::array<QLineEdit*, 3> Form5::row(int first, int second, int third) const
{
    const auto box = [this](int number) {
        return findChild<QLineEdit*>(u"Text" + QString::number(number));
    };
    return {box(first), box(second), box(third)};
}

} // namespace tools
