#pragma once

#include "platform/Seam.h"

#include <QString>

class QWidget;

namespace brivanto::platform {

enum class MessageKind
{
    Warning,
    Information,
    Error,
    Confirmation,
    Plain
};
enum class MessageButtons
{
    OkCancel,
    YesNo,
    // Yes and No with No as the default button, for a question whose Yes cannot be undone.
    YesNoDefaultNo,
    YesNoCancel,
    Ok
};
enum class Answer
{
    Ok,
    Cancel,
    Yes,
    No
};

// Modal message boxes. Screens call the helpers below, never QMessageBox.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(QWidget* parent, MessageKind kind, const QString& text, MessageButtons buttons) = 0;
    static MessageBoxes& real();
};

using Messages = Seam<MessageBoxes>;

// The notices of most screens: OK and Cancel, the answer unused.
void warning(QWidget* parent, const QString& text);
void information(QWidget* parent, const QString& text);
void error(QWidget* parent, const QString& text);
// The notice of the password and list screens: a plain box with OK.
void plainNotice(QWidget* parent, const QString& text);
// A question with Yes and No; true for Yes.
bool confirm(QWidget* parent, const QString& text);
// A question with Yes and No whose default button (the one Enter and Escape press) is No; true
// for Yes.
bool confirmDefaultNo(QWidget* parent, const QString& text);
// A question with Yes, No and Cancel ("Sì", "No", "Annulla"): Yes is the default button.
Answer askYesNoCancel(QWidget* parent, const QString& text);

// The application's general error report: a failure that no handler dealt with, shown with its
// own description.
void reportUnhandledFailure(QWidget* parent, const QString& description);

} // namespace brivanto::platform
