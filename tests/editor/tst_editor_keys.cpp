#include "editor/EditorKeys.h"

#include "tests/editor/EditorFixture.h"

#include <QAccessible>
#include <QTimer>

using namespace brivanto;

namespace {

// What an action left behind on the editor and around it.
struct Outcome
{
    QString position;
    QStringList fields;
    QString focus;
    int cursor = -1;
    QStringList messages;
    QString modal; // the screen the action opened, if any
    QByteArray archive;

    bool operator==(const Outcome&) const = default;
    QString describe() const
    {
        return QStringLiteral("position '%1', focus %2 at %3, messages [%4], modal '%5', title '%6'")
            .arg(position, focus)
            .arg(cursor)
            .arg(messages.join(QStringLiteral(" | ")), modal, fields.value(0));
    }
};

// The editor on `records` numbered records showing `shown` (0: a new record), the focus in `field`
// with the cursor inside it; then `act` runs, and a screen it opens is noted and closed. The
// screen holds no unsaved change, so nothing asks before another record replaces it.
Outcome outcomeOf(int records, int shown, const char* field, const std::function<void(EditorFixture&)>& act)
{
    EditorFixture f(records);
    QApplication::setActiveWindow(&f.editor);
    if (!QTest::qWaitForWindowActive(&f.editor))
        qFatal("the editor is not the active window");
    for (int i = 0; i < shown; ++i)
        f.press("cmdAvanti");
    QLineEdit* edit = f.edit(field);
    edit->setFocus();
    edit->setCursorPosition(qMin(2, edit->text().size()));
    f.folder.platform.messages.clear();

    Outcome outcome;
    bool looked = false;
    QTimer::singleShot(0, [&] {
        looked = true;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            outcome.modal = modal->objectName();
            modal->close();
        }
    });
    act(f);
    if (!looked)
        QCoreApplication::processEvents();

    outcome.position = f.position();
    outcome.fields = f.editor.fieldTexts();
    outcome.focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    if (auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        outcome.cursor = focused->cursorPosition();
    outcome.messages = f.messages();
    outcome.archive = f.archiveBytes();
    return outcome;
}

} // namespace

// The record editor's keys: each does what its toolbar button does, from inside any field; the
// keys that edit text stay the field's.
class TestEditorKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyDoesWhatItsButtonDoes_data();
    void keyDoesWhatItsButtonDoes();
    void textEditingKeysStayInTheField_data();
    void textEditingKeysStayInTheField();
    void keypadKeysCountAsTheirKeys_data();
    void keypadKeysCountAsTheirKeys();
    void buttonsNameTheirKeys();
    void marketValueStillTakesOnlyDigitsAndCommas();
};

void TestEditorKeys::keyDoesWhatItsButtonDoes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("position"); // after the action
    QTest::addColumn<QString>("modal");

    const auto row = [](const char* name, const char* button, QKeyCombination key, int records, int shown,
                        const char* field, const char* position, const char* modal = "") {
        QTest::newRow(name) << QString(button) << key.toCombined() << records << shown << QString(field)
                            << QString(position) << QString(modal);
    };
    const auto ctrl = [](Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); };
    const auto alt = [](Qt::Key key) { return QKeyCombination(Qt::AltModifier, key); };
    // From the third of five records, so that first, previous, next and last all differ.
    row("Ctrl+N new", "cmdNuovo", ctrl(Qt::Key_N), 5, 3, "txtNote", "");
    row("Ctrl+S save", "cmdSalva", ctrl(Qt::Key_S), 5, 3, "txtNote", "3");
    row("Ctrl+S save from the market value", "cmdSalva", ctrl(Qt::Key_S), 5, 3, "txtValore", "3");
    row("Ctrl+F search", "cmdTrova", ctrl(Qt::Key_F), 5, 3, "txtNote", "3", "TfrmTrovaCartoline");
    row("Ctrl+P print", "cmdStampa", ctrl(Qt::Key_P), 5, 3, "txtNote", "3", "TfrmStampaCartolina");
    row("Ctrl+I import", "cmdImporta", ctrl(Qt::Key_I), 5, 3, "txtNote", "3");
    row("Ctrl+T statistics", "cmdStatistiche", ctrl(Qt::Key_T), 5, 3, "txtNote", "3", "TfrmStatistiche");
    row("Ctrl+T statistics from the market value", "cmdStatistiche", ctrl(Qt::Key_T), 5, 3, "txtValore", "3",
        "TfrmStatistiche");
    row("Alt+Home first", "cmdPrimo", alt(Qt::Key_Home), 5, 3, "txtNote", "1");
    row("Alt+PgUp previous", "cmdIndietro", alt(Qt::Key_PageUp), 5, 3, "txtNote", "2");
    row("Alt+PgDown next", "cmdAvanti", alt(Qt::Key_PageDown), 5, 3, "txtNote", "4");
    row("Alt+End last", "cmdUltimo", alt(Qt::Key_End), 5, 3, "txtNote", "5");
    row("Alt+Home from the market value", "cmdPrimo", alt(Qt::Key_Home), 5, 3, "txtValore", "1");
    row("Alt+End from the market value", "cmdUltimo", alt(Qt::Key_End), 5, 3, "txtValore", "5");
    row("Alt+PgUp on the first record", "cmdIndietro", alt(Qt::Key_PageUp), 5, 1, "txtTitolo", "1");
    row("Alt+Home in an empty archive", "cmdPrimo", alt(Qt::Key_Home), 0, 0, "txtTitolo", "");
    row("Alt+End in an empty archive, market value", "cmdUltimo", alt(Qt::Key_End), 0, 0, "txtValore", "");
}

void TestEditorKeys::keyDoesWhatItsButtonDoes()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, records);
    QFETCH(int, shown);
    QFETCH(QString, field);
    QFETCH(QString, position);
    QFETCH(QString, modal);
    const QByteArray fieldName = field.toLatin1();
    const QKeyCombination combination = QKeyCombination::fromCombined(key);

    const Outcome clicked =
        outcomeOf(records, shown, fieldName, [&](EditorFixture& f) { f.press(button.toLatin1()); });
    const Outcome typed = outcomeOf(records, shown, fieldName, [&](EditorFixture& f) {
        QTest::keyClick(f.edit(fieldName), combination.key(), combination.keyboardModifiers());
    });

    QVERIFY2(typed == clicked,
             qPrintable(QStringLiteral("key: %1\nbutton: %2").arg(typed.describe(), clicked.describe())));
    QCOMPARE(typed.position, position);
    QCOMPARE(typed.modal, modal);
}

// A new game's name typed after Ctrl+N, then a key that edits text: the field does with it what any
// line edit does, and the record on screen stays the typed one, without a word.
void TestEditorKeys::textEditingKeysStayInTheField_data()
{
    QTest::addColumn<int>("key");
    const auto row = [](const char* name, Qt::KeyboardModifiers modifiers, Qt::Key key) {
        QTest::newRow(name) << QKeyCombination(modifiers, key).toCombined();
    };
    row("Ctrl+Home", Qt::ControlModifier, Qt::Key_Home);
    row("Ctrl+End", Qt::ControlModifier, Qt::Key_End);
    row("Ctrl+PgUp", Qt::ControlModifier, Qt::Key_PageUp);
    row("Ctrl+PgDown", Qt::ControlModifier, Qt::Key_PageDown);
    row("Home", Qt::NoModifier, Qt::Key_Home);
    row("End", Qt::NoModifier, Qt::Key_End);
    row("Shift+Home", Qt::ShiftModifier, Qt::Key_Home);
    row("Ctrl+Left", Qt::ControlModifier, Qt::Key_Left);
    row("Ctrl+Right", Qt::ControlModifier, Qt::Key_Right);
    row("Ctrl+Backspace", Qt::ControlModifier, Qt::Key_Backspace);
    row("keypad Ctrl+End", Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_End);
}

void TestEditorKeys::textEditingKeysStayInTheField()
{
    QFETCH(int, key);
    const QKeyCombination combination = QKeyCombination::fromCombined(key);
    const QString typed = QStringLiteral("Il nome di un gioco nuovo");

    EditorFixture f(5);
    QApplication::setActiveWindow(&f.editor);
    QVERIFY(QTest::qWaitForWindowActive(&f.editor));
    QTest::keyClick(f.edit("txtNote"), Qt::Key_N, Qt::ControlModifier);
    QLineEdit* name = f.edit("txtTitolo");
    QCOMPARE(QApplication::focusWidget(), name);
    QTest::keyClicks(name, typed);
    name->setCursorPosition(8);

    // What a line edit of its own does with the same text, cursor and key.
    QLineEdit plain(typed);
    plain.setCursorPosition(8);
    QTest::keyClick(&plain, combination.key(), combination.keyboardModifiers());

    QTest::keyClick(name, combination.key(), combination.keyboardModifiers());
    QCOMPARE(name->text(), plain.text());
    QCOMPARE(name->cursorPosition(), plain.cursorPosition());
    QCOMPARE(name->selectedText(), plain.selectedText());
    QCOMPARE(f.position(), QString());
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(QApplication::focusWidget(), name);
}

// With NumLock off the keypad's Home, End, PgUp and PgDown arrive with the keypad modifier: they
// are the same keys, in a field and on a button alike.
void TestEditorKeys::keypadKeysCountAsTheirKeys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("position");
    const auto keypad = [](Qt::Key key) { return (Qt::AltModifier | Qt::KeypadModifier | key).toCombined(); };
    QTest::newRow("field, Alt+End") << "txtNote" << keypad(Qt::Key_End) << "5";
    QTest::newRow("button, Alt+End") << "cmdSalva" << keypad(Qt::Key_End) << "5";
    QTest::newRow("field, Alt+Home") << "txtNote" << keypad(Qt::Key_Home) << "1";
    QTest::newRow("button, Alt+PgDown") << "cmdAvanti" << keypad(Qt::Key_PageDown) << "4";
    QTest::newRow("market value, Alt+PgUp") << "txtValore" << keypad(Qt::Key_PageUp) << "2";
}

void TestEditorKeys::keypadKeysCountAsTheirKeys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, position);
    const QKeyCombination combination = QKeyCombination::fromCombined(key);
    const Outcome outcome = outcomeOf(5, 3, "txtNote", [&](EditorFixture& f) {
        QWidget* target = child(&f.editor, focus.toLatin1());
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
    });
    QCOMPARE(outcome.position, position);
    QCOMPARE(outcome.messages, QStringList());
}

void TestEditorKeys::buttonsNameTheirKeys()
{
    EditorFixture f;
    const std::pair<EditorAction, const char*> buttons[] = {
        {EditorAction::NewRecord, "cmdNuovo"},
        {EditorAction::Save, "cmdSalva"},
        {EditorAction::Search, "cmdTrova"},
        {EditorAction::Print, "cmdStampa"},
        {EditorAction::First, "cmdPrimo"},
        {EditorAction::Previous, "cmdIndietro"},
        {EditorAction::Next, "cmdAvanti"},
        {EditorAction::Last, "cmdUltimo"},
        {EditorAction::Import, "cmdImporta"},
        {EditorAction::Delete, "cmdElimina"},
        {EditorAction::Statistics, "cmdStatistiche"},
    };
    for (const EditorKey& key : EditorKeys) {
        const auto button = std::find_if(std::begin(buttons), std::end(buttons),
                                         [&key](const auto& entry) { return entry.first == key.action; });
        QVERIFY(button != std::end(buttons));
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(child(&f.editor, button->second));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Description),
                 QStringLiteral("Scorciatoia: ") + QString::fromUtf16(key.name));
    }
    // Spelled out, as a screen reader reads them.
    QCOMPARE(child(&f.editor, "cmdSalva")->accessibleDescription(), QStringLiteral("Scorciatoia: Ctrl+S"));
    QCOMPARE(child(&f.editor, "cmdAvanti")->accessibleDescription(),
             QString::fromUtf8("Scorciatoia: Alt+PgGiù"));
}

// The keys are caught before the field's key filter, which still refuses all but digits and
// commas, and the editing keys it lets through.
void TestEditorKeys::marketValueStillTakesOnlyDigitsAndCommas()
{
    EditorFixture f(2);
    QApplication::setActiveWindow(&f.editor);
    QVERIFY(QTest::qWaitForWindowActive(&f.editor));
    QLineEdit* valore = f.edit("txtValore");
    valore->setFocus();
    valore->clear();
    QTest::keyClicks(valore, "1a2.,-5x");
    QCOMPARE(valore->text(), QStringLiteral("12,5"));
    QTest::keyClick(valore, Qt::Key_Home);
    QTest::keyClick(valore, Qt::Key_Left);
    QTest::keyClick(valore, Qt::Key_Backspace);
    QCOMPARE(valore->text(), QStringLiteral("125"));
    // Ctrl+Home and Ctrl+End are no record keys: the new record stays on screen as typed.
    QTest::keyClick(valore, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(valore, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(valore->text(), QStringLiteral("125"));
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(f.position(), QString());
}

QTEST_MAIN(TestEditorKeys)
#include "tst_editor_keys.moc"
