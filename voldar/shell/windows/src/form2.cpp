#include "windows/form2.h"

#include "platform/addresses.h"
#include "platform/pictures.h"
#include "platform/platform.h"
#include "platform/titles.h"
#include "platform/twips.h"
#include "ui_form2.h"

#include <QMouseEvent>
#include <QScreen>

// The resources of a static library register only when asked to.
static void initShellWindowsResources()
{
    Q_INIT_RESOURCE(shellwindows);
}

namespace {

constexpr int DesignWidthTwips = 5010;
constexpr int DesignHeightTwips = 4500;

} // namespace

Form2::Form2(QWidget* parent, platform::DocumentOpener open)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::Form2>()),
      m_open(open ? std::move(open) : platform::DocumentOpener(&platform::openDocument))
{
    initShellWindowsResources();
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::Form2));

    m_ui->Picture1->setPixmap(
        platform::picture(QStringLiteral(":/shellwindows/logo.png"), devicePixelRatio()));
    m_ui->Label3->setText(QString::fromUtf16(addresses::DeveloperName) +
                          QStringLiteral("  —  страничка в социальной сети"));
    m_ui->Label5->setText(QString::fromUtf16(addresses::Site));
    m_ui->Label6->setText(QStringLiteral("Версию программы для мобильного телефона можно "
                                         "бесплатно скачать на сайте программы."));

    for (QWidget* clickable :
         {static_cast<QWidget*>(m_ui->Picture1), static_cast<QWidget*>(m_ui->Label1),
          static_cast<QWidget*>(m_ui->Label3), static_cast<QWidget*>(m_ui->Label5)})
        clickable->installEventFilter(this);

    // Fixed size: the window cannot be resized, so it never needs snapping back.
    setFixedSize(designSize());
    if (const QScreen* const display = screen())
        move(platform::centredOrigin(display->geometry(), size()));
}

Form2::~Form2() = default;

QSize Form2::designSize() const
{
    return {platform::twipsToPixels(DesignWidthTwips, logicalDpiX()),
            platform::twipsToPixels(DesignHeightTwips, logicalDpiY())};
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a left-button release over the control that was pressed.
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto* const mouse = static_cast<QMouseEvent*>(event);
    const auto* const control = qobject_cast<QWidget*>(watched);
    if (mouse->button() != Qt::LeftButton || !control ||
        !control->rect().contains(mouse->position().toPoint()))
        return QWidget::eventFilter(watched, event);

    if (watched == m_ui->Picture1)
        onPicture1Click();
    else if (watched == m_ui->Label1)
        onLabel1Click();
    else if (watched == m_ui->Label3)
        onLabel3Click();
    else if (watched == m_ui->Label5)
        onLabel5Click();
    return true;
}

void Form2::onPicture1Click()
{
    m_open(QString::fromUtf16(addresses::Site));
}

void Form2::onLabel1Click()
{
    m_open(QString::fromUtf16(addresses::Site));
}

void Form2::onLabel3Click()
{
    m_open(QString::fromUtf16(addresses::DeveloperPage));
}

void Form2::onLabel5Click()
{
    m_open(QString::fromUtf16(addresses::Site));
}
