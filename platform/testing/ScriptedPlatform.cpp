#include "platform/testing/ScriptedPlatform.h"

namespace brivanto::platform::testing {

Answer ScriptedMessageBoxes::show(QWidget*, MessageKind kind, const QString& text, MessageButtons buttons)
{
    shown_.append({kind, text, buttons});
    if (whileShowing_)
        std::exchange(whileShowing_, {})();
    if (!answers_.isEmpty())
        return answers_.dequeue();
    switch (buttons) {
    case MessageButtons::YesNo:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList result;
    for (const ShownMessage& message : shown_)
        result.append(message.text);
    return result;
}

QString ScriptedFileDialogs::openFile(QWidget*, const FileDialogRequest& request)
{
    requests_.append(request);
    return names_.isEmpty() ? QString() : names_.dequeue();
}

QString ScriptedFileDialogs::saveFile(QWidget*, const FileDialogRequest& request)
{
    requests_.append(request);
    return names_.isEmpty() ? QString() : names_.dequeue();
}

struct ScriptedPlatform::Installed
{
    Installed(ScriptedPlatform& p) : messages(p.messages), dialogs(p.dialogs), shell(p.shell), clock(p.clock)
    {}
    ScopedSeam<MessageBoxes> messages;
    ScopedSeam<FileDialogs> dialogs;
    ScopedSeam<DesktopShell> shell;
    ScopedSeam<Clock> clock;
};

ScriptedPlatform::ScriptedPlatform() : installed_(std::make_unique<Installed>(*this)) {}
ScriptedPlatform::~ScriptedPlatform() = default;

} // namespace brivanto::platform::testing
