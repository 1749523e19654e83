#pragma once

#include <QObject>
#include <QPointer>

class QMenu;
class QWidget;

// The tray-icon control Notiko1 of the main window, created by its identifier
// "NotikoLib.Notiko" from the notiko component library. A left click on the
// icon pops up the "Помощь" menu, a right click the "Файл" menu, at the mouse
// position; the other events of the control are not used. When the control
// cannot be created the window simply has no tray icon.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    TrayIcon(QWidget& window, QMenu& mnuHelp, QMenu& mnuFile);

    // Loads the control's library ahead of create(), while the window is
    // being built; creates nothing.
    void prepare();

    // Creates Notiko1 with its saved properties and asks it once to put the
    // icon into the notification area; its answer is not used. Once only.
    void create();

    // The control, or nullptr when it is not (yet) created.
    QWidget* control() const { return m_control; }

private slots:
    // Connected by name: the control is bound late, through its meta-object.
    void onNotiko1LeftClick();
    void onNotiko1RightClick();

private:
    QWidget& m_window;
    QMenu& m_help;
    QMenu& m_file;
    QPointer<QWidget> m_control;
    bool m_created = false;
};
