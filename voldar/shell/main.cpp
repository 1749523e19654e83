#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Voldar"));
    window.setWindowTitle(QStringLiteral("   ~ Voldar ™   v.3.0  i ~"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
