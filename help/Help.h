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
    Export
};

QString helpTitle(HelpTopic topic);
QStringList helpParagraphs(HelpTopic topic);
// The paragraphs joined by one empty line ("\r\n\r\n"), nothing before or after.
QString helpText(HelpTopic topic);

// The keys of the record editor's toolbar. Each does what a click on its button does; the user
// guide lists them and each button names its key to assistive technology.
struct EditorKey
{
    const char* button;     // the button's object name
    const char* sequence;   // the key, in the portable form of QKeySequence
    const char16_t* name;   // the key as the guide and a screen reader name it
    const char16_t* action; // what it does, as the guide says it
};
inline constexpr std::array<EditorKey, 8> EditorKeys{{
    {"cmdNuovo", "Ctrl+N", u"Ctrl+N", u"prepara la schermata per una nuova scheda"},
    {"cmdSalva", "Ctrl+S", u"Ctrl+S", u"salva la scheda in archivio"},
    {"cmdTrova", "Ctrl+F", u"Ctrl+F", u"apre la ricerca delle schede"},
    {"cmdStampa", "Ctrl+P", u"Ctrl+P", u"stampa la scheda corrente"},
    {"cmdPrimo", "Ctrl+Home", u"Ctrl+Home", u"mostra la prima scheda dell'archivio"},
    {"cmdIndietro", "Ctrl+PgUp", u"Ctrl+PgSu", u"mostra la scheda precedente"},
    {"cmdAvanti", "Ctrl+PgDown", u"Ctrl+PgGi\u00F9", u"mostra la scheda successiva"},
    {"cmdUltimo", "Ctrl+End", u"Ctrl+Fine", u"mostra l'ultima scheda dell'archivio"},
}};

// What a button's accessible description says of its key: "Scorciatoia: Ctrl+S".
QString shortcutDescription(const EditorKey& key);

// The user guide's chapter on the keyboard: its title and paragraphs, the editor's keys last.
QString keyboardTitle();
QStringList keyboardParagraphs();

// Each creates a fresh window owned by `owner`, shows it modally and destroys it when it closes.
void showHelp(QWidget* owner, HelpTopic topic);
void showInformation(QWidget* owner);
void showSplash(QWidget* owner);

} // namespace brivanto::help
