#include "platform/testing/ScriptedPlatform.h"

#include <QGuiApplication>
#include <QPrinter>

namespace brivanto::platform::testing {

Answer ScriptedMessageBoxes::show(QWidget* parent, MessageKind kind, const QString& text,
                                  MessageButtons buttons)
{
    shown_.append({kind, text, buttons, parent});
    if (whileShowing_)
        std::exchange(whileShowing_, {})();
    if (!answers_.isEmpty())
        return answers_.dequeue();
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return Answer::No;
    case MessageButtons::YesNoCancel:
        return Answer::Cancel;
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

bool ScriptedPrintDialogs::choosePrinter(QWidget*, QPrinter& printer, int pageCount)
{
    PrintRequest request{printer.printerName(), printer.docName(), pageCount, false,
                         QGuiApplication::overrideCursor() != nullptr};
    const Choice choice = answers_.isEmpty() ? Choice{false, {}} : answers_.dequeue();
    request.accepted = choice.accept;
    requests_.append(request);
    if (choice.accept && !choice.pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.pdfFile);
    }
    return choice.accept;
}

std::unique_ptr<RepeatingTimer> ManualTimers::create()
{
    auto timer = std::make_unique<ManualTimer>();
    created_.append(timer.get());
    return timer;
}

QList<ManualTimer*> ManualTimers::alive() const
{
    QList<ManualTimer*> timers;
    for (const QPointer<ManualTimer>& timer : created_) {
        if (timer)
            timers.append(timer);
    }
    return timers;
}

void ManualTimers::tick()
{
    for (ManualTimer* timer : alive()) {
        if (timer->isActive())
            Q_EMIT timer->timeout();
    }
}

struct ScriptedPlatform::Installed
{
    Installed(ScriptedPlatform& p)
        : messages(p.messages), dialogs(p.dialogs), shell(p.shell), clock(p.clock), timers(p.timers),
          printing(p.printing)
    {}
    ScopedSeam<MessageBoxes> messages;
    ScopedSeam<FileDialogs> dialogs;
    ScopedSeam<DesktopShell> shell;
    ScopedSeam<Clock> clock;
    ScopedSeam<TimerFactory> timers;
    ScopedSeam<PrintDialogs> printing;
};

ScriptedPlatform::ScriptedPlatform() : installed_(std::make_unique<Installed>(*this)) {}
ScriptedPlatform::~ScriptedPlatform() = default;

} // namespace brivanto::platform::testing
