#include "help/Help.h"

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

// The editor on `records` numbered records showing `shown` (0: a new record), a note typed in
// `field` with the cursor inside it; then `act` runs, and a screen it opens is noted and closed.
Outcome outcomeOf(int records, int shown, const char* field, const std::function<void(EditorFixture&)>& act)
{
    EditorFixture f(records);
    QApplication::setActiveWindow(&f.editor);
    if (!QTest::qWaitForWindowActive(&f.editor))
        qFatal("the editor is not the active window");
    for (int i = 0; i < shown; ++i)
        f.press("cmdAvanti");
    if (shown == 0)
        f.fillMandatory();
    QLineEdit* edit = f.edit(field);
    edit->setFocus();
    if (qstrcmp(field, "txtValore") == 0)
        edit->setText(QStringLiteral("12,5"));
    else
        edit->setText(QStringLiteral("scritto qui"));
    edit->setCursorPosition(2);
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

// The record editor's keys: each does what its toolbar button does, from inside any field.
class TestEditorKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyDoesWhatItsButtonDoes_data();
    void keyDoesWhatItsButtonDoes();
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
    // From the third of five records, so that first, previous, next and last all differ.
    row("Ctrl+N new", "cmdNuovo", ctrl(Qt::Key_N), 5, 3, "txtNote", "");
    row("Ctrl+S save", "cmdSalva", ctrl(Qt::Key_S), 5, 3, "txtNote", "3");
    row("Ctrl+S save from the market value", "cmdSalva", ctrl(Qt::Key_S), 5, 3, "txtValore", "3");
    row("Ctrl+S save a new record", "cmdSalva", ctrl(Qt::Key_S), 5, 0, "txtTitolo", "6");
    row("Ctrl+F search", "cmdTrova", ctrl(Qt::Key_F), 5, 3, "txtNote", "3", "TfrmTrovaCartoline");
    row("Ctrl+P print", "cmdStampa", ctrl(Qt::Key_P), 5, 3, "txtNote", "3", "TfrmStampaCartolina");
    row("Ctrl+Home first", "cmdPrimo", ctrl(Qt::Key_Home), 5, 3, "txtNote", "1");
    row("Ctrl+PgUp previous", "cmdIndietro", ctrl(Qt::Key_PageUp), 5, 3, "txtNote", "2");
    row("Ctrl+PgDown next", "cmdAvanti", ctrl(Qt::Key_PageDown), 5, 3, "txtNote", "4");
    row("Ctrl+End last", "cmdUltimo", ctrl(Qt::Key_End), 5, 3, "txtNote", "5");
    row("Ctrl+Home from the market value", "cmdPrimo", ctrl(Qt::Key_Home), 5, 3, "txtValore", "1");
    row("Ctrl+End from the market value", "cmdUltimo", ctrl(Qt::Key_End), 5, 3, "txtValore", "5");
    // Where the browse changes nothing, the field keeps its text and its cursor: the key is not
    // also a move of the cursor.
    row("Ctrl+PgUp on the first record", "cmdIndietro", ctrl(Qt::Key_PageUp), 5, 1, "txtTitolo", "1");
    row("Ctrl+Home in an empty archive", "cmdPrimo", ctrl(Qt::Key_Home), 0, 0, "txtTitolo", "");
    row("Ctrl+End in an empty archive", "cmdUltimo", ctrl(Qt::Key_End), 0, 0, "txtTitolo", "");
    row("Ctrl+End in an empty archive, market value", "cmdUltimo", ctrl(Qt::Key_End), 0, 0, "txtValore", "");
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

void TestEditorKeys::buttonsNameTheirKeys()
{
    EditorFixture f;
    for (const help::EditorKey& key : help::EditorKeys) {
        QWidget* button = child(&f.editor, key.button);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Description),
                 QStringLiteral("Scorciatoia: ") + QString::fromUtf16(key.name));
    }
    // Spelled out, as a screen reader reads them.
    QCOMPARE(child(&f.editor, "cmdSalva")->accessibleDescription(), QStringLiteral("Scorciatoia: Ctrl+S"));
    QCOMPARE(child(&f.editor, "cmdAvanti")->accessibleDescription(),
             QString::fromUtf8("Scorciatoia: Ctrl+PgGiù"));
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
    // Keys with Ctrl that are not the toolbar's do nothing in the field.
    QTest::keyClick(valore, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(valore->text(), QStringLiteral("125"));
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(f.position(), QString());
}

QTEST_MAIN(TestEditorKeys)
#include "tst_editor_keys.moc"
