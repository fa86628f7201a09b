#include "help/Help.h"

#include "help/TfrmGuida.h"
#include "help/TfrmInfo.h"
#include "help/TfrmSplash.h"

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
    QPointer<TfrmGuida> window = new TfrmGuida(owner);
    window->setTitle(helpTitle(topic));
    window->setText(helpText(topic));
    runModal(window);
}

void showInformation(QWidget* owner)
{
    runModal(QPointer<TfrmInfo>(new TfrmInfo(owner)));
}

void showSplash(QWidget* owner)
{
    runModal(QPointer<TfrmSplash>(new TfrmSplash(owner)));
}

} // namespace brivanto::help
