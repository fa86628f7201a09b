#pragma once

#include <QKeyCombination>
#include <QString>

#include <array>

namespace brivanto {

// What the record editor's toolbar buttons do. The toolbar table and the key table name an action,
// and the editor runs it through one switch, so a key can only lead to a handler that exists.
enum class EditorAction
{
    NewRecord,
    Save,
    Delete,
    Search,
    ForSale,
    Attachments,
    Preview,
    Print,
    First,
    Previous,
    Next,
    Last,
    Export,
    Import,
    Slideshow,
    Statistics,
    Help,
    Exit
};

// A key of the record editor: it does what a click on its action's button does. No key is one
// that a text field uses for editing (Ctrl+Home, Ctrl+End, Home, End, Ctrl+Left...), so a key
// pressed in a field either edits the field or acts on the record, never both.
struct EditorKey
{
    EditorAction action;
    QKeyCombination key;
    const char16_t* name; // the key as the guide and a screen reader name it
    const char16_t* does; // what it does, as the guide says it
};

inline constexpr std::array<EditorKey, 11> EditorKeys{{
    {EditorAction::NewRecord, QKeyCombination(Qt::ControlModifier, Qt::Key_N), u"Ctrl+N",
     u"prepara la schermata per una nuova scheda"},
    {EditorAction::Save, QKeyCombination(Qt::ControlModifier, Qt::Key_S), u"Ctrl+S",
     u"salva la scheda in archivio"},
    {EditorAction::Delete, QKeyCombination(Qt::AltModifier, Qt::Key_Delete), u"Alt+Canc",
     u"elimina la scheda corrente dall'archivio, dopo una conferma"},
    {EditorAction::Search, QKeyCombination(Qt::ControlModifier, Qt::Key_F), u"Ctrl+F",
     u"apre la ricerca delle schede"},
    {EditorAction::Print, QKeyCombination(Qt::ControlModifier, Qt::Key_P), u"Ctrl+P",
     u"stampa la scheda corrente"},
    {EditorAction::First, QKeyCombination(Qt::AltModifier, Qt::Key_Home), u"Alt+Home",
     u"mostra la prima scheda dell'archivio"},
    {EditorAction::Previous, QKeyCombination(Qt::AltModifier, Qt::Key_PageUp), u"Alt+PgSu",
     u"mostra la scheda precedente"},
    {EditorAction::Next, QKeyCombination(Qt::AltModifier, Qt::Key_PageDown), u"Alt+PgGi\u00F9",
     u"mostra la scheda successiva"},
    {EditorAction::Last, QKeyCombination(Qt::AltModifier, Qt::Key_End), u"Alt+Fine",
     u"mostra l'ultima scheda dell'archivio"},
    {EditorAction::Import, QKeyCombination(Qt::ControlModifier, Qt::Key_I), u"Ctrl+I",
     u"importa giochi da un file CSV"},
    {EditorAction::Statistics, QKeyCombination(Qt::ControlModifier, Qt::Key_T), u"Ctrl+T",
     u"apre le statistiche dell'archivio: valore, generi, giochi in vendita"},
}};

// What a button's accessible description says of its key: "Scorciatoia: Ctrl+S".
inline QString shortcutDescription(const EditorKey& key)
{
    return QStringLiteral("Scorciatoia: ") + QString::fromUtf16(key.name);
}

} // namespace brivanto
