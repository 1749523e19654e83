#include "platform/platform.h"

#include "x11keyboard.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QWidget>

namespace platform {

void openDocument(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

std::uint32_t keyboardLayout()
{
    if (!x11::hasDisplay())
        return 0;
    const int group = x11::currentGroup();
    const QStringList layouts = x11::currentRulesNames().layouts;
    if (group < 0 || group >= layouts.size())
        return 0;
    return x11::windowsLayout(x11::languageOf(layouts.at(group)));
}

int keyboardType(int which)
{
    return x11::keyboardTypeOf(x11::currentRulesNames().model, which);
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

QString dataFolder()
{
    return QDir(programFolder()).filePath(QStringLiteral("Data"));
}

} // namespace platform
