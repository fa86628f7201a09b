#include "platform/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace brivanto::platform {
namespace {

class QtMessageBoxes final : public MessageBoxes
{
public:
    Answer show(QWidget* parent, MessageKind kind, const QString& text, MessageButtons buttons) override
    {
        QMessageBox box(parent ? parent : QApplication::activeWindow());
        box.setWindowTitle(QStringLiteral("Brivanto"));
        box.setText(text);
        switch (kind) {
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        switch (buttons) {
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        // The program speaks Italian whatever the desktop's language.
        if (QAbstractButton* button = box.button(QMessageBox::Cancel))
            button->setText(QStringLiteral("Annulla"));
        if (QAbstractButton* button = box.button(QMessageBox::Yes))
            button->setText(QStringLiteral(u"S\u00EC"));
        switch (box.exec()) {
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Ok;
        }
    }
};

} // namespace

MessageBoxes& MessageBoxes::real()
{
    static QtMessageBoxes boxes;
    return boxes;
}

void warning(QWidget* parent, const QString& text)
{
    Messages::current().show(parent, MessageKind::Warning, text, MessageButtons::OkCancel);
}

void information(QWidget* parent, const QString& text)
{
    Messages::current().show(parent, MessageKind::Information, text, MessageButtons::OkCancel);
}

void error(QWidget* parent, const QString& text)
{
    Messages::current().show(parent, MessageKind::Error, text, MessageButtons::OkCancel);
}

void plainNotice(QWidget* parent, const QString& text)
{
    Messages::current().show(parent, MessageKind::Plain, text, MessageButtons::Ok);
}

bool confirm(QWidget* parent, const QString& text)
{
    return Messages::current().show(parent, MessageKind::Confirmation, text, MessageButtons::YesNo) ==
           Answer::Yes;
}

bool confirmDefaultNo(QWidget* parent, const QString& text)
{
    return Messages::current().show(parent, MessageKind::Confirmation, text,
                                    MessageButtons::YesNoDefaultNo) == Answer::Yes;
}

Answer askYesNoCancel(QWidget* parent, const QString& text)
{
    return Messages::current().show(parent, MessageKind::Confirmation, text, MessageButtons::YesNoCancel);
}

void reportUnhandledFailure(QWidget* parent, const QString& description)
{
    Messages::current().show(parent, MessageKind::Error, description, MessageButtons::Ok);
}

} // namespace brivanto::platform
