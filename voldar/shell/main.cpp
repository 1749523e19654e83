#include "mainwindow/form10.h"
#include "platform/platform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::prepareDataFolder();

    // The splash opens the main window after five seconds; the main window's
    // "Выход" and its closing end the program.
    Form10 splash(Form1::programSetup());
    splash.show();
    return app.exec();
}
