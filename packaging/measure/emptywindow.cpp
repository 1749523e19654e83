// The yardstick for Voldar's start-up and memory: an empty Qt window of a given
// size, nothing else.
//
//   emptywindow <width> <height>
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int width = argc > 2 ? QString::fromLocal8Bit(argv[1]).toInt() : 800;
    const int height = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 600;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty Qt window"));
    window.resize(width, height);
    window.show();
    return QApplication::exec();
}
