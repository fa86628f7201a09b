#include "storage/ArchiveFile.h"
#include "tests/editor/EditorFixture.h"

#include <QCheckBox>
#include <QSignalSpy>

using namespace brivanto;
using platform::Answer;

namespace {

const QString SaveQuestion = QStringLiteral("Salvare le modifiche alla scheda corrente?");

enum class Change
{
    Field,
    ForSale,
    Photo,
    Attachment
};

enum class Action
{
    NextButton,
    NextKey,
    NewRecord,
    Exit
};

void change(EditorFixture& f, Change kind)
{
    switch (kind) {
    case Change::Field:
        f.edit("txtNote")->setText(QStringLiteral("scatola un po' rovinata"));
        break;
    case Change::ForSale:
        click(child(&f.editor, "chkInVendita"));
        break;
    case Change::Photo:
        f.editor.putPhoto(PhotoSlotId::A, QImage(QSize(40, 30), QImage::Format_RGB32));
        break;
    case Change::Attachment:
        f.editor.setAttachments({{QStringLiteral("regole.pdf")}, {QStringLiteral("Regolamento")}});
        break;
    }
}

void act(EditorFixture& f, Action action)
{
    switch (action) {
    case Action::NextButton:
        f.press("cmdAvanti");
        break;
    case Action::NextKey:
        QTest::keyClick(f.edit("txtNote"), Qt::Key_PageDown, Qt::AltModifier);
        break;
    case Action::NewRecord:
        f.press("cmdNuovo");
        break;
    case Action::Exit:
        f.press("cmdEsci");
        break;
    }
}

// The editor on the third of five records, active, so that keys reach it.
void showThird(EditorFixture& f)
{
    QApplication::setActiveWindow(&f.editor);
    if (!QTest::qWaitForWindowActive(&f.editor))
        qFatal("the editor is not the active window");
    for (int i = 0; i < 3; ++i)
        f.press("cmdAvanti");
    f.edit("txtNote")->setFocus();
    f.folder.platform.messages.clear();
}

} // namespace

// Nothing typed, ticked, attached or photographed is dropped without a question; an unchanged
// screen asks nothing.
class TestUnsavedChanges : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void changedScreenAsks_data();
    void changedScreenAsks();
    void unchangedScreenAsksNothing_data();
    void unchangedScreenAsksNothing();
    void failedCheckStaysOnTheRecord();
};

void TestUnsavedChanges::changedScreenAsks_data()
{
    QTest::addColumn<Change>("kind");
    QTest::addColumn<Action>("action");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("position"); // after the answer; "closed" when the editor closed

    const std::pair<const char*, Change> changes[] = {{"field", Change::Field},
                                                      {"for-sale box", Change::ForSale},
                                                      {"photo", Change::Photo},
                                                      {"attachment", Change::Attachment}};
    for (const auto& [name, kind] : changes) {
        QTest::addRow("%s, next, Sì", name) << kind << Action::NextButton << Answer::Yes << "4";
        QTest::addRow("%s, next, No", name) << kind << Action::NextButton << Answer::No << "4";
        QTest::addRow("%s, next, Annulla", name) << kind << Action::NextButton << Answer::Cancel << "3";
    }
    const std::tuple<const char*, Action, const char*> actions[] = {{"Alt+PgDown", Action::NextKey, "4"},
                                                                    {"new record", Action::NewRecord, ""},
                                                                    {"exit", Action::Exit, "closed"}};
    for (const auto& [name, action, target] : actions) {
        QTest::addRow("field, %s, Sì", name) << Change::Field << action << Answer::Yes << target;
        QTest::addRow("field, %s, No", name) << Change::Field << action << Answer::No << target;
        QTest::addRow("field, %s, Annulla", name) << Change::Field << action << Answer::Cancel << "3";
    }
}

void TestUnsavedChanges::changedScreenAsks()
{
    QFETCH(Change, kind);
    QFETCH(Action, action);
    QFETCH(Answer, answer);
    QFETCH(QString, position);

    EditorFixture f(5);
    showThird(f);
    const QByteArray before = f.archiveBytes();
    change(f, kind);
    QSignalSpy closed(&f.editor, &RecordEditor::closed);
    f.folder.platform.messages.answerNext(answer);
    act(f, action);

    QCOMPARE(f.messages().value(0), SaveQuestion);
    QCOMPARE(f.folder.platform.messages.shown().value(0).buttons, platform::MessageButtons::YesNoCancel);
    QCOMPARE(closed.count() == 1 ? QStringLiteral("closed") : f.position(), position);

    // Sì keeps the change in the archive (and the photo in its file); No and Annulla leave the
    // archive as it was, and Annulla leaves the change on screen.
    ArchiveFile archive;
    archive.Open(f.archivePath(), ArchiveFile::Access::Read);
    GameRecord third{};
    archive.Seek(2);
    archive.Read(third);
    archive.Close();
    const bool saved = answer == Answer::Yes;
    switch (kind) {
    case Change::Field:
        QCOMPARE(FieldToText(third.notes) == QStringLiteral("scatola un po' rovinata"), saved);
        break;
    case Change::ForSale:
        QCOMPARE(readForSale(third), std::optional<bool>(!saved)); // record 3 was for sale
        break;
    case Change::Photo:
        QCOMPARE(QFile::exists(f.photoPath('A', 3)), saved);
        break;
    case Change::Attachment:
        QCOMPARE(FieldToText(third.attachment1) == QStringLiteral("regole.pdf"), saved);
        break;
    }
    if (!saved)
        QCOMPARE(f.archiveBytes(), before);
    if (answer == Answer::Cancel && kind == Change::Field)
        QCOMPARE(f.edit("txtNote")->text(), QStringLiteral("scatola un po' rovinata"));
}

void TestUnsavedChanges::unchangedScreenAsksNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a record as shown") << "shown";
    QTest::newRow("the market value left, normalised") << "market value";
    QTest::newRow("a record just saved") << "saved";
    QTest::newRow("a new record, nothing typed") << "new";
    QTest::newRow("a field changed and changed back") << "back";
    QTest::newRow("blanks around a value") << "blanks";
    QTest::newRow("an empty slot cleared") << "cleared";
}

void TestUnsavedChanges::unchangedScreenAsksNothing()
{
    QFETCH(QString, how);
    GameRecord odd = numberedRecord(3);
    TextToField(QStringLiteral("7"), odd.marketValue); // shown as "7", normalised to "7,00"
    EditorFixture f(5);
    {
        ArchiveFile archive;
        archive.Open(f.archivePath());
        archive.Seek(2);
        archive.Write(odd);
        archive.Close();
    }
    showThird(f);
    if (how == "market value") {
        f.edit("txtValore")->setFocus();
        f.edit("txtNote")->setFocus();
        QCOMPARE(f.edit("txtValore")->text(), QStringLiteral("7,00"));
    } else if (how == "saved") {
        f.edit("txtNote")->setText(QStringLiteral("nuova nota"));
        f.press("cmdSalva");
    } else if (how == "new") {
        f.press("cmdNuovo");
    } else if (how == "back") {
        f.edit("txtNote")->setText(QStringLiteral("x"));
        f.edit("txtNote")->clear();
    } else if (how == "blanks") {
        f.edit("txtTitolo")->setText(QStringLiteral("  Gioco 3 "));
    } else if (how == "cleared") {
        f.press("btnCancFoto");
    }
    f.folder.platform.messages.clear();
    f.press("cmdAvanti");
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(f.position(), how == "new" ? QStringLiteral("1") : QStringLiteral("4"));
}

// Sì saves with every check of the save button: a check that fails keeps the typed record on
// screen, where it was.
void TestUnsavedChanges::failedCheckStaysOnTheRecord()
{
    EditorFixture f(2);
    f.edit("txtTitolo")->setText(QStringLiteral("Un gioco senza codice"));
    f.folder.platform.messages.answerNext(Answer::Yes);
    f.press("cmdUltimo");
    QCOMPARE(f.messages().size(), 2);
    QCOMPARE(f.messages()[0], SaveQuestion);
    QVERIFY(f.messages()[1].contains(QStringLiteral("codice ID")));
    QCOMPARE(f.position(), QString());
    QCOMPARE(f.edit("txtTitolo")->text(), QStringLiteral("Un gioco senza codice"));
    QCOMPARE(f.archiveBytes().size(), 2 * int(RecordSize));
}

QTEST_MAIN(TestUnsavedChanges)
#include "tst_unsaved_changes.moc"
