#pragma once

#include <QString>
#include <QStringList>

#include <array>

class QWidget;

namespace brivanto::help {

// The screens that have a help button, each with its own title and run of paragraphs.
enum class HelpTopic
{
    Overview,
    Archives,
    Editor,
    Export,
    Statistics
};

QString helpTitle(HelpTopic topic);
QStringList helpParagraphs(HelpTopic topic);
// The paragraphs joined by one empty line ("\r\n\r\n"), nothing before or after.
QString helpText(HelpTopic topic);

// The user guide's chapter on the keyboard: its title and paragraphs, the editor's keys last.
QString keyboardTitle();
QStringList keyboardParagraphs();

// Each creates a fresh window owned by `owner`, shows it modally and destroys it when it closes.
void showHelp(QWidget* owner, HelpTopic topic);
void showInformation(QWidget* owner);
void showSplash(QWidget* owner);

} // namespace brivanto::help
