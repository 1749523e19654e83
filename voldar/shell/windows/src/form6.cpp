#include "windows/form6.h"

#include "platform/titles.h"
#include "ui_form6.h"

#include <QEvent>

namespace {

constexpr int TimerIntervalMs = 10;

enum KeyboardTypeQuery : int
{
    Type = 0,
    Subtype = 1,
    FunctionKeys = 2
};

} // namespace

Form6::Form6(QWidget* parent, shellwindows::KeyboardQueries keyboard)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::Form6>()),
      m_keyboard(std::move(keyboard)), Timer(this)
{
    const shellwindows::KeyboardQueries system = shellwindows::systemKeyboard();
    if (!m_keyboard.type)
        m_keyboard.type = system.type;
    // The system's change reports belong to the system's layout only.
    if (!m_keyboard.layout) {
        m_keyboard.layout = system.layout;
        if (!m_keyboard.follow)
            m_keyboard.follow = system.follow;
    }

    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::Form6));

    if (const auto type = shellwindows::keyboardTypeText(m_keyboard.type(Type)))
        m_ui->lblKType->setText(*type);
    m_ui->lblKSubType->setText(shellwindows::keyboardSubtypeText(m_keyboard.type(Subtype)));
    m_ui->lblFkeys->setText(shellwindows::functionKeysText(m_keyboard.type(FunctionKeys)));
    showLayout(m_layout.read(m_keyboard.layout()));

    // Moving the mouse anywhere over the window re-reads the layout; the
    // children pass their moves on through the filter.
    setMouseTracking(true);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }

    Timer.setObjectName(QStringLiteral("Timer"));
    Timer.setInterval(TimerIntervalMs);
    connect(&Timer, &QTimer::timeout, this, &Form6::onTimerTimeout);
    // Where the platform reports layout changes, each report does the timer's
    // work and the timer stays stopped; elsewhere it polls every 10 ms.
    if (!m_keyboard.follow || !m_keyboard.follow(this, [this] { onTimerTimeout(); }))
        Timer.start();
}

Form6::~Form6() = default;

bool Form6::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        pollLayout();
    return QWidget::eventFilter(watched, event);
}

void Form6::mouseMoveEvent(QMouseEvent* event)
{
    pollLayout();
    QWidget::mouseMoveEvent(event);
}

void Form6::paintEvent(QPaintEvent* event)
{
    showLayout(m_layout.read(m_keyboard.layout()));
    QWidget::paintEvent(event);
}

void Form6::onTimerTimeout()
{
    pollLayout();
}

void Form6::pollLayout()
{
    showLayout(m_layout.poll(m_keyboard.layout()));
}

void Form6::showLayout(const std::optional<QString>& name)
{
    if (name)
        m_ui->lblKLayout->setText(*name);
}
