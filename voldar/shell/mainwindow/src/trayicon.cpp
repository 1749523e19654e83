#include "mainwindow/trayicon.h"

#include <notikohost/notikohost.h>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QMetaObject>
#include <QWidget>

namespace {

const QString ProgId = QStringLiteral("NotikoLib.Notiko");
const QString ToolTip = QStringLiteral(" ~ Voldar ™   v.3.0  i ~");

// Both sizes whatever the scale at start-up: the notification area takes the
// one its screen needs.
QIcon trayPicture()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/mainwindow/tray16.png"));
    icon.addFile(QStringLiteral(":/mainwindow/tray16@2x.png"));
    return icon;
}

} // namespace

TrayIcon::TrayIcon(QWidget& window, QMenu& mnuHelp, QMenu& mnuFile)
    : QObject(&window), m_window(window), m_help(mnuHelp), m_file(mnuFile)
{}

void TrayIcon::prepare()
{
    notiko::host::preloadControl(ProgId);
}

void TrayIcon::create()
{
    if (m_created)
        return;
    m_created = true;
    QWidget* Notiko1 = notiko::host::createControl(ProgId, &m_window);
    if (Notiko1 == nullptr)
        return;
    m_control = Notiko1;
    Notiko1->setObjectName(QStringLiteral("Notiko1"));
    // The control works without being shown; shown, its picture box would
    // take mouse moves over the window for notifications.
    Notiko1->hide();

    // The properties the window saves for it: tip, 16 x 16 icon (with its
    // 32 x 32 twin for scaled screens), no failure messages.
    notiko::MemoryPropertyBag saved;
    saved.setValue(QStringLiteral("texttooltip"), ToolTip);
    saved.setValue(QStringLiteral("icon"), trayPicture());
    saved.setValue(QStringLiteral("errormessage"), false);
    notiko::host::readProperties(Notiko1, saved);

    connect(Notiko1, SIGNAL(LeftClick()), this, SLOT(onNotiko1LeftClick()));
    connect(Notiko1, SIGNAL(RightClick()), this, SLOT(onNotiko1RightClick()));

    // The answer does not matter: without a notification area the window
    // works on without its icon.
    int ignored = 0;
    QMetaObject::invokeMethod(Notiko1, "Create", Q_RETURN_ARG(int, ignored));
}

void TrayIcon::onNotiko1LeftClick()
{
    m_help.exec(QCursor::pos());
}

void TrayIcon::onNotiko1RightClick()
{
    m_file.exec(QCursor::pos());
}
