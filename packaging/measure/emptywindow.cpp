// The yardstick for Voldar's start-up and memory: an empty Qt window of a given
// size, nothing else. Given "ticking", the window also runs the two timers
// Voldar's main window must run: every 150 ms it repaints a strip as small as
// the ticker line (an opaque fill, the cheapest repaint there is), and every
// 200 ms a timer fires that does nothing. That is the least idle cost of any Qt
// program doing what the ticker and the periodic computation do.
//
//   emptywindow <width> <height> [ticking]
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Strip : public QWidget
{
public:
    explicit Strip(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(40, 20, 500, 22);
    }

    void step()
    {
        m_dark = !m_dark;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), m_dark ? Qt::darkGray : Qt::lightGray);
    }

private:
    bool m_dark = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int width = argc > 2 ? QString::fromLocal8Bit(argv[1]).toInt() : 800;
    const int height = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 600;
    const bool ticking = argc > 3 && qstrcmp(argv[3], "ticking") == 0;
    QWidget window;
    window.setWindowTitle(ticking ? QStringLiteral("Ticking Qt window")
                                  : QStringLiteral("Empty Qt window"));
    window.resize(width, height);
    QTimer ticker;
    QTimer periodic;
    if (ticking) {
        auto* const strip = new Strip(&window);
        QObject::connect(&ticker, &QTimer::timeout, strip, &Strip::step);
        ticker.start(150);
        periodic.start(200);
    }
    window.show();
    return QApplication::exec();
}
