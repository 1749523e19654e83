#include "platform/platform.h"

#include "x11keyboard.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStandardPaths>
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

KeyboardLayoutSource::KeyboardLayoutSource() : m_watcher(x11::layoutWatcher()) {}

std::uint32_t KeyboardLayoutSource::current() const
{
    return x11::watchedLayout(m_watcher);
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

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

namespace {

// Where an installation puts the shipped salary files: <prefix>/share/voldar/Data
// for a program in <prefix>/bin.
QString installedDataFolder()
{
    return QDir(programFolder()).filePath(QStringLiteral("../share/voldar/Data"));
}

QString userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Data"));
}

} // namespace

QString resolveDataFolder(const QString& programFolder, const QString& installedData,
                          const QString& userData)
{
    const QString beside = QDir(programFolder).filePath(QStringLiteral("Data"));
    const QFileInfo besideInfo(beside);
    if (besideInfo.isDir() && besideInfo.isWritable())
        return beside;
    if (QFileInfo(installedData).isDir())
        return userData;
    return beside;
}

QString dataFolder()
{
    return resolveDataFolder(programFolder(), installedDataFolder(), userDataFolder());
}

bool prepareDataFolder()
{
    const QString folder = dataFolder();
    const QString installed = installedDataFolder();
    if (folder != userDataFolder())
        return true;

    QDir target(folder);
    if (!target.mkpath(QStringLiteral("Lists")))
        return false;
    bool ok = true;
    const QDir source(installed);
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString destination = target.filePath(name);
        if (!QFileInfo::exists(destination))
            ok = QFile::copy(source.filePath(name), destination) && ok;
    }
    return ok;
}

} // namespace platform
