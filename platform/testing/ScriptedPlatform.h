#pragma once

#include "platform/Clock.h"
#include "platform/DesktopShell.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/PrintDialogs.h"
#include "platform/Timer.h"

#include <QList>
#include <QPointer>
#include <QQueue>
#include <QUrl>

#include <functional>
#include <memory>

namespace brivanto::platform::testing {

struct ShownMessage
{
    MessageKind kind;
    QString text;
    MessageButtons buttons;
    const QWidget* parent; // the screen the box was shown over; only to compare
};

// Records every box and answers from a queue; with the queue empty a notice answers OK and a
// question answers No (Annulla where it has one), so an unexpected question never destroys
// anything.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    Answer show(QWidget* parent, MessageKind kind, const QString& text, MessageButtons buttons) override;

    void answerNext(Answer answer) { answers_.enqueue(answer); }
    // Runs while the box is "open", to check what the screen looks like at that moment.
    void whileShowing(std::function<void()> action) { whileShowing_ = std::move(action); }
    const QList<ShownMessage>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); }

private:
    QQueue<Answer> answers_;
    QList<ShownMessage> shown_;
    std::function<void()> whileShowing_;
};

class ScriptedFileDialogs final : public FileDialogs
{
public:
    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;

    void chooseNext(const QString& path) { names_.enqueue(path); } // empty = cancel
    const QList<FileDialogRequest>& requests() const { return requests_; }

private:
    QQueue<QString> names_;
    QList<FileDialogRequest> requests_;
};

// Records every target; the desktop opens them all unless the test makes it refuse.
class RecordingShell final : public DesktopShell
{
public:
    bool open(const QUrl& target) override
    {
        opened_.append(target);
        return opens_;
    }
    const QList<QUrl>& opened() const { return opened_; }
    // As a desktop without an application for the target does, from now on.
    void refuseEverything() { opens_ = false; }

private:
    QList<QUrl> opened_;
    bool opens_ = true;
};

// What a scripted print dialogue was asked, and how it answered.
struct PrintRequest
{
    QString preselectedPrinter;
    QString documentName;
    int pageCount = 0;
    bool accepted = false;
    bool underWaitCursor = false; // the dialogue must never open under the wait cursor
};

// Answers the print dialogue from a queue; with the queue empty it cancels, so a test never
// prints by accident.
class ScriptedPrintDialogs final : public PrintDialogs
{
public:
    bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount) override;

    // Prints to this PDF file, as choosing "print to file" does.
    void printToFileNext(const QString& path) { answers_.enqueue({true, path}); }
    // Prints on the printer the dialogue preselected.
    void acceptNext() { answers_.enqueue({true, {}}); }
    void cancelNext() { answers_.enqueue({false, {}}); }
    const QList<PrintRequest>& requests() const { return requests_; }

private:
    struct Choice
    {
        bool accept;
        QString pdfFile;
    };
    QQueue<Choice> answers_;
    QList<PrintRequest> requests_;
};

class FixedClock final : public Clock
{
public:
    QDateTime now() const override { return now_; }
    void set(const QDateTime& now) { now_ = now; }

private:
    QDateTime now_ = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
};

// Timers that fire only when the test says so.
class ManualTimer final : public RepeatingTimer
{
    Q_OBJECT
public:
    void start(int intervalMs) override
    {
        interval_ = intervalMs;
        active_ = true;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int interval() const { return interval_; }

private:
    bool active_ = false;
    int interval_ = 0;
};

class ManualTimers final : public TimerFactory
{
public:
    std::unique_ptr<RepeatingTimer> create() override;
    // The timers still alive, oldest first.
    QList<ManualTimer*> alive() const;
    // One timeout of every running timer.
    void tick();

private:
    QList<QPointer<ManualTimer>> created_;
};

// Installs all the doubles for the lifetime of a test.
class ScriptedPlatform
{
public:
    ScriptedPlatform();
    ~ScriptedPlatform();

    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecordingShell shell;
    FixedClock clock;
    ManualTimers timers;
    ScriptedPrintDialogs printing;

private:
    struct Installed;
    std::unique_ptr<Installed> installed_;
};

} // namespace brivanto::platform::testing
