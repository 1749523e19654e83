#include "platform/platform.h"

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

std::uint32_t keyboardLayout()
{
    return x11::watchedLayout(x11::layoutWatcher());
}

KeyboardLayoutSource::KeyboardLayoutSource(Changes changes)
    : m_watcher(x11::layoutWatcher()),
      m_notifies(changes == Changes::Notified && x11::watcherNotifies(m_watcher))
{}

std::uint32_t KeyboardLayoutSource::current() const
{
    return x11::watchedLayout(m_watcher);
}

bool KeyboardLayoutSource::notifies() const
{
    return m_notifies && m_watcher;
}

bool KeyboardLayoutSource::onChange(QObject* context, std::function<void()> handler) const
{
    return notifies() && x11::onWatchedLayoutChange(m_watcher, context, std::move(handler));
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
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
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
