#include "help/Help.h"

#include "help/AboutWindow.h"
#include "help/HelpWindow.h"
#include "help/SplashWindow.h"

#include <QPointer>

namespace brivanto::help {
namespace {

// An on-demand window: created for this one request, shown modally over its owner and destroyed
// when it closes. The guard covers an owner that destroys its children while the window is open.
template <class Window> void runModal(QPointer<Window> window)
{
    window->exec();
    delete window.data();
}

} // namespace

void showHelp(QWidget* owner, HelpTopic topic)
{
    QPointer<HelpWindow> window = new HelpWindow(owner);
    window->setTitle(helpTitle(topic));
    window->setText(helpText(topic));
    runModal(window);
}

void showInformation(QWidget* owner)
{
    runModal(QPointer<AboutWindow>(new AboutWindow(owner)));
}

void showSplash(QWidget* owner)
{
    runModal(QPointer<SplashWindow>(new SplashWindow(owner)));
}

} // namespace brivanto::help
