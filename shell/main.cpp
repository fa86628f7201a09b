#include "shell/Application.h"
#include "shell/FontSetup.h"
#include "shell/ScreenSet.h"

int main(int argc, char* argv[])
{
    brivanto::FontSetup fonts;
    brivanto::Application app(argc, argv);
    fonts.wait();
    brivanto::ScreenSet screens;
    QObject::connect(&screens, &brivanto::ScreenSet::endRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    screens.start();
    return app.exec();
}
