#include "payslip/printsequence.h"

#include "payslip/form3.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

namespace payslip {

PrintSequence::PrintSequence(QWidget* window, QWidget* printed, PrintLook look, QObject* parent)
    : QObject(parent), m_window(window), m_printed(printed), m_look(std::move(look))
{
    m_timer4.setObjectName(QStringLiteral("Timer4"));
    m_timer4.setSingleShot(true);
    m_timer4.setInterval(RestoreDelayMs);
    connect(&m_timer4, &QTimer::timeout, this, &PrintSequence::onTimer4Timer);
}

PrintSequence::~PrintSequence() = default;

void PrintSequence::setPrintHook(PrintHook hook)
{
    m_print = std::move(hook);
}

std::optional<paycalc::Message> PrintSequence::print()
{
    m_look.applyPrintLook();
    // Elements just shown or hidden take their places before the image is taken.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

    const PrintResult result = m_print(m_printed);
    if (!result.printed) {
        m_timer4.stop();
        m_look.applyNormalLook();
        if (m_form3)
            m_form3->hide();
        return printFailedMessage(result.failure);
    }

    // The main window owns the wait window, so it goes away with it.
    if (!m_form3)
        m_form3 = new Form3(m_window);
    m_form3->show();
    m_timer4.start();
    return std::nullopt;
}

void PrintSequence::onTimer4Timer()
{
    m_look.applyNormalLook();
    if (m_form3)
        m_form3->hide();
    m_timer4.stop();
}

} // namespace payslip
