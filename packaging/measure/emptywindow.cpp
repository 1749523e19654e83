// The yardstick for Voldar's start-up and memory: an empty Qt window of a given
// size, nothing else. With a timer interval, the window also runs one timer
// that does nothing: the least a program that polls that often can cost idle.
//
//   emptywindow <width> <height> [<timer interval in ms>]
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int width = argc > 2 ? QString::fromLocal8Bit(argv[1]).toInt() : 800;
    const int height = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 600;
    const int interval = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty Qt window"));
    window.resize(width, height);
    window.show();
    QTimer poll;
    if (interval > 0)
        poll.start(interval);
    return QApplication::exec();
}
