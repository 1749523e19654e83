#include "mainwindow/form10.h"

#include "ui_form10.h"

#include <QScreen>
#include <QTimer>

namespace {

constexpr int SplashMilliseconds = 5000;

} // namespace

Form10::Form10(Form1::Setup mainSetup, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      ui(std::make_unique<Ui::Form10>()), m_timer1(new QTimer(this)),
      m_mainSetup(std::move(mainSetup))
{
    ui->setupUi(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(SplashMilliseconds);
    connect(m_timer1, &QTimer::timeout, this, &Form10::onTimer1Timeout);

    adjustSize();
    const QRect screenArea = screen()->availableGeometry();
    move(screenArea.center() - rect().center());

    m_timer1->start();
}

Form10::~Form10() = default;

void Form10::onTimer1Timeout()
{
    // Stopped first: loading the main window may wait in a message box, and
    // the timer must not fire into that wait and open a second main window.
    m_timer1->stop();
    if (m_main)
        return;
    m_main = std::make_unique<Form1>(m_mainSetup);
    m_main->show();
    hide();
}
