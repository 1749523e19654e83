#include "mainwindow/form10.h"

#include "platform/pictures.h"
#include "ui_form10.h"

#include <QEvent>
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
    // The five seconds count from the creation of the window, as a timer
    // enabled in the design does; precise, not the few percent more that a
    // coarse timer may take.
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(SplashMilliseconds);
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, &Form10::onTimer1Timeout);
    m_timer1->start();

    ui->setupUi(this);
    ui->Picture1->setPixmap(
        platform::picture(QStringLiteral(":/mainwindow/splash.png"), devicePixelRatio()));
    ui->Picture1->installEventFilter(this);
    adjustSize();
    const QRect screenArea = screen()->availableGeometry();
    move(screenArea.center() - rect().center());
}

Form10::~Form10() = default;

Form1* Form10::mainWindow() const
{
    return m_handedOver ? m_main.get() : nullptr;
}

// Once the picture has been painted, the main window is built while the splash
// shows, so that it opens without delay when the five seconds are over.
bool Form10::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Picture1 && event->type() == QEvent::Paint) {
        ui->Picture1->removeEventFilter(this);
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, [this] {
            if (m_main)
                return;
            prepareMainWindow();
            // Drawn once off screen, so that its styles, fonts and glyphs are
            // ready when it is drawn on screen.
            m_main->grab();
        });
    }
    return QWidget::eventFilter(watched, event);
}

// Builds the main window without loading it: nothing is read or shown yet.
void Form10::prepareMainWindow()
{
    if (!m_main)
        m_main = std::make_unique<Form1>(m_mainSetup, Form1::Unloaded{});
}

void Form10::onTimer1Timeout()
{
    // Stopped first: loading the main window may wait in a message box, and
    // the timer must not fire into that wait and open a second main window.
    m_timer1->stop();
    if (m_handedOver)
        return;
    m_handedOver = true;
    prepareMainWindow();
    m_main->load();
    m_main->show();
    hide();
    // The splash is never shown again: its picture and its window's drawing
    // surface go now instead of staying in memory for the program's life.
    ui->Picture1->clear();
    destroy();
}
