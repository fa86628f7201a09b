#include "shell/Application.h"
#include "shell/FontSetup.h"
#include "shell/ScreenSet.h"

int main(int argc, char* argv[])
{
    brivanto::Application app(argc, argv);
    brivanto::FontSetup fonts;
    brivanto::ScreenSet screens;
    QObject::connect(&screens, &brivanto::ScreenSet::endRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    screens.start();
    return app.exec();
}
