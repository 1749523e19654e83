#include "mainwindow/form10.h"
#include "platform/platform.h"
#include "platform/translations.h"
#include "platform/windowsystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::setProgramIdentity();
    // Qt takes the window system from the environment while the application is built.
    platform::WindowSystemChoice windowSystem;
    QApplication app(argc, argv);
    windowSystem.restoreEnvironment();
    platform::useRussianTexts();
    platform::prepareDataFolder();

    // The splash opens the main window after five seconds; the main window's
    // "Выход" and its closing end the program.
    Form10 splash(Form1::programSetup());
    splash.show();
    return app.exec();
}
