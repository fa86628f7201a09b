#include "storage/ArchiveFile.h"
#include "storage/GameArchive.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/ChildProcess.h"

#include <QImage>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace brivanto;
using platform::Answer;
using platform::MessageButtons;
using platform::MessageKind;

namespace {

QString deletionQuestion(int position, const QString& name)
{
    return QString::fromUtf8(
               "Si sta per eliminare dall'archivio la scheda n. %1 \"%2\". Le due foto della scheda "
               "saranno spostate nel cestino del computer.\r\n\r\nSi conferma l'eliminazione "
               "della scheda?")
        .arg(position)
        .arg(name);
}
const QString Deleted = QString::fromUtf8("La scheda è stata eliminata dall'archivio.");
const QString NothingToDelete =
    QString::fromUtf8("La schermata contiene una nuova scheda, non ancora salvata in archivio: non c'è "
                      "nessuna scheda da eliminare.");
const QString StaleSaveStart = QString::fromUtf8(
    "La scheda è stata modificata o spostata da un'altra postazione dopo che è stata visualizzata.");
const QString DeletionRefused = QString::fromUtf8("Attenzione: la scheda è stata modificata o spostata da "
                                                  "un'altra postazione dopo che è stata visualizzata. "
                                                  "Nessuna scheda è stata eliminata.");

// The archive of the given numbered records, in order.
QByteArray archiveOf(std::initializer_list<int> numbers)
{
    QByteArray bytes;
    for (int n : numbers)
        bytes += recordBytes(numberedRecord(n));
    return bytes;
}

// What another workstation does: overwrites record `position` of the archive with record `n`.
void overwriteBehind(const EditorFixture& f, int position, int n)
{
    QFile file(f.archivePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(qint64(position - 1) * qint64(RecordSize)));
    QCOMPARE(file.write(recordBytes(numberedRecord(n))), qint64(RecordSize));
}

// The editor showing record `position`, with photo A of every record n holding picture n.
void showRecord(EditorFixture& f, int records, int position)
{
    for (int n = 1; n <= records; ++n)
        f.folder.writeFile(QStringLiteral("Foto_Gioco/%1_Foto_A_%2.jpg").arg(f.archiveName).arg(n),
                           jpegOf(QSize(24, 16), n));
    for (int i = 0; i < position; ++i)
        f.press("cmdAvanti");
    QCOMPARE(f.position(), QString::number(position));
    f.folder.platform.messages.clear();
}

} // namespace

// Deletion from the record editor and saves that meet a record another workstation changed.
class TestRecordDeletionScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void toolbarGroupsFitSideBySide();
    void deletionAsksWithNoAsDefault();
    void yesDeletesAndShowsTheNextRecord_data();
    void yesDeletesAndShowsTheNextRecord();
    void newScreenHasNothingToDelete();
    void recordChangedBehindIsNotDeleted();
    void staleSaveOverwritesNothing_data();
    void staleSaveOverwritesNothing();
    void ownSavesAndListedRecordsStillOverwrite();
    void saveAfterAnotherWorkstationsDeletion_data();
    void saveAfterAnotherWorkstationsDeletion();
    void readOnlyArchiveSaysSoOnEveryChange();

private:
    QTemporaryDir data_;
};

void TestRecordDeletionScreen::initTestCase()
{
    // The deleted photos go to a trash of the test's own, never the real one.
    QVERIFY(QDir().mkpath(data_.filePath(QStringLiteral("Trash"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_.path()));
}

// With the bin in the first group the toolbar still fits the editor's panel, which a 1366-pixel
// screen shows whole: no group overlaps the next, none passes the panel's right edge.
void TestRecordDeletionScreen::toolbarGroupsFitSideBySide()
{
    EditorFixture f;
    const QWidget* panel = child(&f.editor, "panCartoline");
    QVERIFY(panel->width() <= 1366);
    int rightOfPrevious = 0;
    for (int g = 1; g <= 6; ++g) {
        const QWidget* group = child(panel, QStringLiteral("panGruppo%1").arg(g).toLatin1());
        QVERIFY2(group->x() > rightOfPrevious, qPrintable(group->objectName()));
        rightOfPrevious = group->geometry().right();
        for (const QWidget* button : group->findChildren<QWidget*>())
            QVERIFY2(group->rect().contains(button->geometry()), qPrintable(button->objectName()));
    }
    QVERIFY(rightOfPrevious < panel->width());
    QCOMPARE(child(panel, "cmdElimina")->parentWidget()->objectName(), QStringLiteral("panGruppo1"));
}

// The key acts from a field without touching its text; No, the default, deletes nothing.
void TestRecordDeletionScreen::deletionAsksWithNoAsDefault()
{
    EditorFixture f(3);
    QApplication::setActiveWindow(&f.editor);
    QVERIFY(QTest::qWaitForWindowActive(&f.editor));
    showRecord(f, 3, 2);
    const QByteArray before = f.archiveBytes();
    QLineEdit* note = f.edit("txtNote");
    note->setText(QStringLiteral("scatola"));
    note->setFocus();
    note->setCursorPosition(3);

    QTest::keyClick(note, Qt::Key_Delete, Qt::AltModifier);

    const QList<platform::testing::ShownMessage>& shown = f.folder.platform.messages.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, deletionQuestion(2, QStringLiteral("Gioco 2")));
    QCOMPARE(shown[0].buttons, MessageButtons::YesNoDefaultNo);
    QCOMPARE(f.archiveBytes(), before);
    QCOMPARE(f.position(), QStringLiteral("2"));
    QCOMPARE(note->text(), QStringLiteral("scatola"));
    QCOMPARE(note->cursorPosition(), 3);
}

void TestRecordDeletionScreen::yesDeletesAndShowsTheNextRecord_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QByteArray>("archiveAfter");
    QTest::addColumn<QString>("positionAfter"); // empty: the cleared screen of an empty archive
    QTest::addColumn<QString>("titleAfter");
    QTest::addColumn<int>("photoAfter"); // the record whose photo A the screen shows; 0 none

    QTest::newRow("first: the next moves up") << 3 << 1 << archiveOf({2, 3}) << "1"
                                              << "Gioco 2" << 2;
    QTest::newRow("middle: the next moves up") << 3 << 2 << archiveOf({1, 3}) << "2"
                                               << "Gioco 3" << 3;
    QTest::newRow("last: the new last") << 3 << 3 << archiveOf({1, 2}) << "2"
                                        << "Gioco 2" << 2;
    QTest::newRow("the only one: empty") << 1 << 1 << QByteArray() << ""
                                         << "" << 0;
}

void TestRecordDeletionScreen::yesDeletesAndShowsTheNextRecord()
{
    QFETCH(int, records);
    QFETCH(int, deleted);
    QFETCH(QByteArray, archiveAfter);
    QFETCH(QString, positionAfter);
    QFETCH(QString, titleAfter);
    QFETCH(int, photoAfter);
    EditorFixture f(records);
    showRecord(f, records, deleted);
    f.folder.platform.messages.answerNext(Answer::Yes);

    f.press("cmdElimina");

    QCOMPARE(f.messages(),
             QStringList({deletionQuestion(deleted, QStringLiteral("Gioco %1").arg(deleted)), Deleted}));
    QCOMPARE(f.archiveBytes(), archiveAfter);
    QCOMPARE(f.position(), positionAfter);
    QCOMPARE(f.edit("txtTitolo")->text().trimmed(), titleAfter);
    // The photos moved with their records: the screen shows the photo of the record it shows.
    const QImage shownPhoto = f.editor.photo(PhotoSlotId::A);
    if (photoAfter == 0) {
        QVERIFY(!QFile::exists(f.photoPath('A', 1)));
    } else {
        QImage expected;
        QVERIFY(expected.loadFromData(jpegOf(QSize(24, 16), photoAfter)));
        QCOMPARE(shownPhoto.convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
        QVERIFY(!QFile::exists(f.photoPath('A', records)));
    }
}

void TestRecordDeletionScreen::newScreenHasNothingToDelete()
{
    EditorFixture f(2);
    showRecord(f, 2, 1);
    f.press("cmdNuovo");
    f.folder.platform.messages.answerNext(Answer::Yes); // a question now would delete
    const QByteArray before = f.archiveBytes();

    f.press("cmdElimina");

    QCOMPARE(f.messages(), QStringList{NothingToDelete});
    QCOMPARE(f.folder.platform.messages.shown()[0].kind, MessageKind::Information);
    QCOMPARE(f.archiveBytes(), before);
}

// Another workstation changed the record between its showing and the deletion.
void TestRecordDeletionScreen::recordChangedBehindIsNotDeleted()
{
    EditorFixture f(3);
    showRecord(f, 3, 2);
    overwriteBehind(f, 2, 20);
    const QByteArray before = f.archiveBytes();
    f.folder.platform.messages.answerNext(Answer::Yes);

    f.press("cmdElimina");

    QCOMPARE(f.messages().size(), 2);
    QVERIFY2(f.messages()[1].startsWith(DeletionRefused), qPrintable(f.messages()[1]));
    QCOMPARE(f.archiveBytes(), before);
    QVERIFY(QFile::exists(f.photoPath('A', 3)));
}

// A save over a record another workstation changed after it was shown writes nothing over it:
// Sì appends the screen, No shows what the archive now holds, Annulla stays.
void TestRecordDeletionScreen::staleSaveOverwritesNothing_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QByteArray>("archiveAfter");
    QTest::addColumn<QString>("positionAfter");
    QTest::addColumn<QString>("noteAfter");
    QTest::addColumn<QString>("titleAfter");

    QByteArray appended = archiveOf({1, 20, 3});
    GameRecord screen = numberedRecord(2);
    TextToField(QStringLiteral("angoli consumati"), screen.notes);
    appended += recordBytes(screen);
    QTest::newRow("Sì: saved as a new record") << Answer::Yes << appended << "4"
                                               << "angoli consumati"
                                               << "Gioco 2";
    QTest::newRow("No: the archive's record") << Answer::No << archiveOf({1, 20, 3}) << "2"
                                              << ""
                                              << "Gioco 20";
    QTest::newRow("Annulla: the screen stays") << Answer::Cancel << archiveOf({1, 20, 3}) << "2"
                                               << "angoli consumati"
                                               << "Gioco 2";
}

void TestRecordDeletionScreen::staleSaveOverwritesNothing()
{
    QFETCH(Answer, answer);
    QFETCH(QByteArray, archiveAfter);
    QFETCH(QString, positionAfter);
    QFETCH(QString, noteAfter);
    QFETCH(QString, titleAfter);
    EditorFixture f(3);
    showRecord(f, 3, 2);
    f.edit("txtNote")->setText(QStringLiteral("angoli consumati"));
    overwriteBehind(f, 2, 20);
    f.folder.platform.messages.answerNext(answer);

    f.press("cmdSalva");

    QVERIFY(!f.messages().isEmpty());
    QVERIFY2(f.messages()[0].startsWith(StaleSaveStart), qPrintable(f.messages()[0]));
    QVERIFY(f.messages()[0].contains(QStringLiteral("posizione n. 2")));
    QCOMPARE(f.folder.platform.messages.shown()[0].buttons, MessageButtons::YesNoCancel);
    QCOMPARE(f.messages().size(), answer == Answer::Yes ? 2 : 1);
    if (answer == Answer::Yes)
        QCOMPARE(f.messages()[1], Appended);
    QCOMPARE(f.archiveBytes(), archiveAfter);
    QCOMPARE(f.position(), positionAfter);
    QCOMPARE(f.edit("txtNote")->text().trimmed(), noteAfter);
    QCOMPARE(f.edit("txtTitolo")->text().trimmed(), titleAfter);
}

// The checked save compares with what the editor last read or wrote at the position: saving
// twice in a row, and saving a record put on the editor by the search list, still overwrite.
void TestRecordDeletionScreen::ownSavesAndListedRecordsStillOverwrite()
{
    EditorFixture f(3);
    showRecord(f, 3, 1);
    f.editor.ShowRecord(numberedRecord(2), 2); // as opening a line of the search list does
    f.edit("txtNote")->setText(QStringLiteral("prima"));
    f.press("cmdSalva");
    f.edit("txtNote")->setText(QStringLiteral("seconda"));
    f.press("cmdSalva");

    QCOMPARE(f.messages(), QStringList({Overwritten, Overwritten}));
    GameRecord expected = numberedRecord(2);
    TextToField(QStringLiteral("seconda"), expected.notes);
    QCOMPARE(f.archiveBytes().mid(RecordSize, RecordSize), recordBytes(expected));
    QCOMPARE(f.archiveBytes().size(), qsizetype(3 * RecordSize));
}

// The last game is on screen when another workstation deletes a game: the position on screen is
// now past the end of the archive, or holds another game. The save must ask, never add the game
// a second time or bring back a deleted one silently; Sì adds it with its photos.
void TestRecordDeletionScreen::saveAfterAnotherWorkstationsDeletion_data()
{
    QTest::addColumn<int>("deletedThere");
    QTest::addColumn<QByteArray>("archiveBefore"); // after the other workstation's deletion
    QTest::newRow("an earlier game deleted") << 1 << archiveOf({2, 3});
    QTest::newRow("the game on screen deleted") << 3 << archiveOf({1, 2});
}

void TestRecordDeletionScreen::saveAfterAnotherWorkstationsDeletion()
{
    QFETCH(int, deletedThere);
    QFETCH(QByteArray, archiveBefore);
    EditorFixture f(3);
    showRecord(f, 3, 3);
    f.edit("txtNote")->setText(QStringLiteral("angoli consumati"));
    const DeletionResult deleted =
        GameArchive(f.archivePath()).deleteRecord(deletedThere, recordBytes(numberedRecord(deletedThere)));
    QCOMPARE(deleted.outcome, DeletionOutcome::Deleted);
    QCOMPARE(f.archiveBytes(), archiveBefore);
    f.folder.platform.messages.answerNext(Answer::Yes);

    f.press("cmdSalva");

    QCOMPARE(f.messages().size(), 2);
    QVERIFY2(f.messages()[0].startsWith(StaleSaveStart), qPrintable(f.messages()[0]));
    QCOMPARE(f.messages()[1], Appended);
    GameRecord screen = numberedRecord(3);
    TextToField(QStringLiteral("angoli consumati"), screen.notes);
    QCOMPARE(f.archiveBytes(), archiveBefore + recordBytes(screen));
    QCOMPARE(f.position(), QStringLiteral("3"));
    // The new record has the photo the screen showed; the game that moved keeps its own.
    const auto photoBytes = [&f](int position) {
        QFile photo(f.photoPath('A', position));
        return photo.open(QIODevice::ReadOnly) ? photo.readAll() : QByteArray();
    };
    QCOMPARE(photoBytes(3), jpegOf(QSize(24, 16), 3));
    if (deletedThere == 1)
        QCOMPARE(photoBytes(2), jpegOf(QSize(24, 16), 3));
}

// The archive belongs to another user, who lets this one read it only: it browses as usual, and
// saving, deleting and importing each say plainly that it is read-only, changing nothing.
void TestRecordDeletionScreen::readOnlyArchiveSaysSoOnEveryChange()
{
    EditorFixture f(3);
    ::chmod(QFile::encodeName(QFileInfo(f.archivePath()).absolutePath()).constData(), 0777);
    ::chmod(QFile::encodeName(f.archivePath()).constData(), 0444);
    const QByteArray before = f.archiveBytes();
    const int said = brivanto::testing::runInChild(
        [&] {
            f.press("cmdUltimo");
            if (f.position() != QStringLiteral("3"))
                return 1;
            f.edit("txtNote")->setText(QStringLiteral("angoli consumati"));
            f.folder.platform.messages.clear();
            f.press("cmdSalva");
            f.press("cmdElimina");
            f.press("cmdImporta");
            const QStringList texts = f.messages();
            return texts == QStringList(3, archiveReadOnlyText()) ? 0 : 2 + int(texts.size());
        },
        true);
    QCOMPARE(said, 0);
    QCOMPARE(f.archiveBytes(), before);
}

QTEST_MAIN(TestRecordDeletionScreen)
#include "tst_record_deletion_screen.moc"
