// A small host of the tray-icon control for the end-to-end test: it creates the
// control through the component lookup, puts its icon into the tray and pops
// up a menu for each click, printing every event it receives on stdout.
#include <cstdio>
#include <notiko/propertybag.h>
#include <notikohost/notikohost.h>
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

void say(const QString& line)
{
    std::fputs(qUtf8Printable(line + u'\n'), stdout);
    std::fflush(stdout);
}

QIcon trayIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    QPainter(&pixmap).fillRect(4, 4, 8, 8, Qt::yellow);
    return QIcon(pixmap);
}

} // namespace

class Host : public QWidget
{
    Q_OBJECT

public:
    bool start()
    {
        Notiko1 = notiko::host::createControl(u"NotikoLib.Notiko"_s, this);
        if (!Notiko1)
            return false;
        Notiko1->setObjectName(u"Notiko1"_s);
        notiko::MemoryPropertyBag bag;
        bag.setValue(u"texttooltip"_s, u" ~ Voldar ™   v.3.0  i ~"_s);
        bag.setValue(u"icon"_s, trayIcon());
        bag.setValue(u"errormessage"_s, false);
        notiko::host::readProperties(Notiko1, bag);
        connect(Notiko1, SIGNAL(LeftClick()), this, SLOT(onNotiko1LeftClick()));
        connect(Notiko1, SIGNAL(RightClick()), this, SLOT(onNotiko1RightClick()));
        connect(Notiko1, SIGNAL(MouseMsg(int&)), this, SLOT(onNotiko1MouseMsg(int&)));
        int created = 0;
        QMetaObject::invokeMethod(Notiko1, "Create", Q_RETURN_ARG(int, created));
        say(u"CREATE %1"_s.arg(created));
        return created != 0;
    }

public slots:
    void onNotiko1LeftClick() { popUp(u"Помощь"_s); }
    void onNotiko1RightClick() { popUp(u"Файл"_s); }
    void onNotiko1MouseMsg(int& msg) { say(u"MouseMsg %1"_s.arg(msg)); }

private:
    void popUp(const QString& title)
    {
        QMenu menu(title, this);
        menu.addAction(title);
        connect(&menu, &QMenu::aboutToShow, this, [title] { say(u"MENU "_s + title); });
        say(title == u"Помощь"_s ? u"LeftClick"_s : u"RightClick"_s);
        menu.exec(QCursor::pos());
        say(u"CLOSED "_s + title);
    }

    QWidget* Notiko1 = nullptr;
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    Host host;
    if (!host.start())
        return 1;
    // The test stops the host; this is only a safety net.
    QTimer::singleShot(60'000, &app, &QCoreApplication::quit);
    return app.exec();
}

#include "tray_host.moc"
