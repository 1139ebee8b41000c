#include <kestrune/shell/AppDelegate.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/shell/Startup.h>

#include <QtWidgets/QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Kestrune::configureApplication(app);
    Kestrune::registerAllClasses();

    KSTMainWindow window;
    AppDelegate delegate(&window);
    delegate.awakeFromNib();
    window.show();
    // Launching brings the application to the front with its main window active.
    window.activateWindow();
    return app.exec();
}
