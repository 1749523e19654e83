#include "platform/platform.h"

#include "layoutwatcher.h"
#include "platform/windowsystem.h"
#include "waylandkeyboard.h"
#include "x11keyboard.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace platform {

void openDocument(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

namespace {

// The watcher of this window system's keyboard: the X server's, or on Wayland
// the input language Qt reports; none elsewhere (Qt's offscreen platform).
LayoutWatcher* layoutWatcher()
{
    if (LayoutWatcher* const watcher = x11::layoutWatcher())
        return watcher;
    return wayland::layoutWatcher();
}

} // namespace

std::uint32_t keyboardLayout()
{
    LayoutWatcher* const watcher = layoutWatcher();
    return watcher ? watcher->layout() : 0;
}

KeyboardLayoutSource::KeyboardLayoutSource(Changes changes) : m_watcher(layoutWatcher())
{
    const auto* const watcher = qobject_cast<LayoutWatcher*>(m_watcher);
    m_notifies = changes == Changes::Notified && watcher && watcher->notifies();
}

std::uint32_t KeyboardLayoutSource::current() const
{
    auto* const watcher = qobject_cast<LayoutWatcher*>(m_watcher);
    return watcher ? watcher->layout() : 0;
}

bool KeyboardLayoutSource::notifies() const
{
    return m_notifies && m_watcher;
}

bool KeyboardLayoutSource::onChange(QObject* context, std::function<void()> handler) const
{
    auto* const watcher = qobject_cast<LayoutWatcher*>(m_watcher);
    if (!notifies() || !watcher || !context)
        return false;
    return QObject::connect(watcher, &LayoutWatcher::layoutChanged, context, std::move(handler));
}

int keyboardType(int which)
{
    return x11::keyboardTypeOf(x11::currentRulesNames().model, which);
}

namespace {

QMessageBox::Icon boxIcon(paycalc::Message::Icon icon)
{
    switch (icon) {
    case paycalc::Message::Icon::Information:
        return QMessageBox::Information;
    case paycalc::Message::Icon::Warning:
        return QMessageBox::Warning;
    case paycalc::Message::Icon::Error:
        return QMessageBox::Critical;
    case paycalc::Message::Icon::Question:
        return QMessageBox::Question;
    case paycalc::Message::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void showMessageBox(QWidget* parent, const paycalc::Message& message)
{
    QString text = message.text;
    text.replace(u'\r', u'\n');
    QMessageBox box(boxIcon(message.icon), message.title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                               const QString& initial)
{
    // Message pieces are joined with carriage returns; a label breaks lines only
    // at line feeds.
    QString shown = prompt;
    shown.replace(u'\r', u'\n');
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent, title, shown, QLineEdit::Normal, initial, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

QString askOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                        const QString& filter)
{
    QFileDialog dialog(parent, caption, suggestedPath, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(suggestedPath).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void setTopmost(QWidget* window, bool topmost)
{
    // Where the compositor alone stacks windows, the flag would only recreate
    // the window to no effect.
    if (!window || !canKeepOnTop() ||
        window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    // Changing a window flag recreates the native window and hides it; keep the
    // place and the visibility the window had.
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    window->setGeometry(geometry);
    if (visible)
        window->show();
}

} // namespace platform
