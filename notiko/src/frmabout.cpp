#include "frmabout.h"

#include "builtinicon.h"
#include "developer.h"
#include "ui_frmabout.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace {

QString usageExample()
{
    return QStringLiteral(
        "// The host connects the control's MouseMsg event:\n"
        "//   connect(Notiko1, SIGNAL(MouseMsg(int&)), this, SLOT(onNotiko1MouseMsg(int&)));\n"
        "void Form1::onNotiko1MouseMsg(int& Msg)\n"
        "{\n"
        "    switch (Msg) {\n"
        "    // Левая Кнопка Двойной Щелчок\n"
        "    case Notiko::WM_LBUTTONDBLCLK:\n"
        "        setWindowTitle(\"LBUTTONDBLCLK\");\n"
        "        break;\n"
        "    // Левая Кнопка Нажата\n"
        "    case Notiko::WM_LBUTTONDOWN:\n"
        "        setWindowTitle(\"LBUTTONDOWN\");\n"
        "        break;\n"
        "    // Левая Кнопка Отпущена\n"
        "    case Notiko::WM_LBUTTONUP:\n"
        "        setWindowTitle(\"LBUTTONUP\");\n"
        "        break;\n"
        "    // Правая Кнопка Двойной Щелчок\n"
        "    case Notiko::WM_RBUTTONDBLCLK:\n"
        "        setWindowTitle(\"RBUTTONDBLCLK\");\n"
        "        break;\n"
        "    // Правая Кнопка Нажата\n"
        "    case Notiko::WM_RBUTTONDOWN:\n"
        "        setWindowTitle(\"RBUTTONDOWN\");\n"
        "        break;\n"
        "    // Правая Кнопка Отпущена\n"
        "    case Notiko::WM_RBUTTONUP:\n"
        "        setWindowTitle(\"RBUTTONUP\");\n"
        "        break;\n"
        "    }\n"
        "}\n");
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAbout>()),
      m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    ui->setupUi(this);
    ui->Image1->setPixmap(notiko::drawBuiltInPicture(64, devicePixelRatio()));
    ui->Label2->setText(notiko::developer::line());
    ui->LblMail->setText(QString::fromLatin1(notiko::developer::mail));
    ui->Text1->setPlainText(usageExample());
    setLblMailColor(Qt::black);

    // The mail link lights up under the mouse and goes dark again as soon as
    // the mouse is over the window or the frame instead.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(ui->Frame1),
                       static_cast<QWidget*>(ui->LblMail)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

frmAbout::~frmAbout() = default;

void frmAbout::setUrlOpener(UrlOpener opener)
{
    m_openUrl = std::move(opener);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->LblMail) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            setLblMailColor(QColor(0, 0, 255));
            // Taken here, so the move does not travel on to the frame below.
            return event->type() == QEvent::MouseMove;
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            onLblMailClick();
    } else if (event->type() == QEvent::MouseMove) {
        setLblMailColor(Qt::black);
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::onLblMailClick()
{
    m_openUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(notiko::developer::mail)));
}

void frmAbout::setLblMailColor(const QColor& color)
{
    QPalette palette = ui->LblMail->palette();
    palette.setColor(QPalette::WindowText, color);
    ui->LblMail->setPalette(palette);
}
