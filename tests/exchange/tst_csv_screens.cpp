#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "output/ExportScreen.h"

#include "tests/editor/EditorFixture.h"
#include "tests/support/ModalWindows.h"

#include <QPushButton>

using namespace brivanto;
using platform::Answer;
using platform::MessageKind;

namespace {
const QString UnsavedQuestion = QStringLiteral("Salvare le modifiche alla scheda corrente?");

QByteArray archiveOfNumbers(int from, int to)
{
    QByteArray bytes;
    for (int n = from; n <= to; ++n)
        bytes += recordBytes(numberedRecord(n));
    return bytes;
}

// A CSV file of this program's own kind holding records `from`..`to`, written by the export.
QString ownCsvOf(const EditorFixture& f, int from, int to)
{
    f.folder.writeFile(QStringLiteral("sorgente.gdt"), archiveOfNumbers(from, to));
    const QString csv = f.folder.path(QStringLiteral("sorgente.csv"));
    if (exportArchiveCsv(f.folder.path(QStringLiteral("sorgente.gdt")), csv) != CsvExportStatus::Written)
        qFatal("the export of the test file failed");
    return csv;
}

// Presses "Importa" on the editor; when the summary opens, `answer` names the button pressed in it.
// Returns the summary's file line, empty when no summary opened.
QString importFromEditor(EditorFixture& f, const char* answer, const std::function<void()>& meanwhile = {})
{
    QString shown;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QLatin1String("ImportSummaryDialog"))
            return;
        opened = true;
        shown = child<QLabel>(modal, "lblFileImportato")->text();
        if (meanwhile)
            meanwhile();
        click(child<QPushButton>(modal, answer));
    });
    f.press("cmdImporta");
    if (!opened) // no summary: let the pending check run and find nothing
        QCoreApplication::processEvents();
    return shown;
}
} // namespace

// CSV export and import as the screens offer them: the export screen's button and the editor's
// "Importa", with the file dialogs and the summary answered as a user answers them.
class TestCsvScreens : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportButtonWritesTheChosenFile_data();
    void exportButtonWritesTheChosenFile();
    void importAppendsAndShowsTheFirstImportedGame();
    void cancelledSummaryWritesNothing();
    void unknownFileIsRefusedWithItsMessage();
    void archiveFailureAfterTheSummaryIsReported();
    void unsavedChangesAreAskedAboutFirst_data();
    void unsavedChangesAreAskedAboutFirst();
    void ctrlIInAFieldImports();
    void toolbarStillFits();
};

void TestCsvScreens::exportButtonWritesTheChosenFile_data()
{
    QTest::addColumn<QString>("chosen"); // relative to the program folder; empty: cancelled
    QTest::addColumn<bool>("archiveThere");
    QTest::addColumn<int>("kind"); // of the one message, -1 for none
    QTest::addColumn<QString>("message");
    QTest::newRow("written") << "Collezione.csv" << true << int(MessageKind::Information)
                             << "Le schede in archivio sono state esportate nel file CSV";
    QTest::newRow("cancelled") << "" << true << -1 << "";
    QTest::newRow("folder missing") << "manca/Collezione.csv" << true << int(MessageKind::Warning)
                                    << QString::fromUtf8("Attenzione: il file CSV non è stato scritto.");
    QTest::newRow("archive unreadable")
        << "Collezione.csv" << false << int(MessageKind::Error) << ArchiveAccessError;
}

void TestCsvScreens::exportButtonWritesTheChosenFile()
{
    QFETCH(QString, chosen);
    QFETCH(bool, archiveThere);
    QFETCH(int, kind);
    QFETCH(QString, message);
    EditorFixture f(3);
    f.editor.hide();
    ExportScreen screen(f.editor);
    screen.show();
    const QString target = chosen.isEmpty() ? QString() : f.folder.path(chosen);
    f.folder.writeFile(QStringLiteral("copia.gdt"), f.archiveBytes());
    QVERIFY(exportArchiveCsv(f.folder.path(QStringLiteral("copia.gdt")), f.folder.path("atteso.csv")) ==
            CsvExportStatus::Written);
    if (!archiveThere) { // a folder where the archive was: it cannot be opened
        QVERIFY(QFile::remove(f.archivePath()));
        QVERIFY(QDir().mkdir(f.archivePath()));
    }
    f.folder.platform.dialogs.chooseNext(target);

    click(child(&screen, "cmdEsportaCsv"));

    const auto& requests = f.folder.platform.dialogs.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].filters, QStringList{QStringLiteral("File CSV (*.csv)")});
    QCOMPARE(requests[0].initialName, defaultCsvExportPath(f.archiveName));
    QVERIFY(requests[0].askBeforeReplacing);
    QVERIFY(!requests[0].title.isEmpty());
    const auto& shown = f.folder.platform.messages.shown();
    if (kind < 0) {
        QVERIFY(shown.isEmpty());
    } else {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(int(shown[0].kind), kind);
        QVERIFY2(shown[0].text.startsWith(message), qPrintable(shown[0].text));
    }
    if (kind == int(MessageKind::Information))
        QCOMPARE(f.fileBytes(target), f.fileBytes(f.folder.path("atteso.csv")));
    else if (!target.isEmpty())
        QVERIFY(!QFile::exists(target));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestCsvScreens::importAppendsAndShowsTheFirstImportedGame()
{
    EditorFixture f(2);
    const QString csv = ownCsvOf(f, 3, 5);
    f.folder.platform.dialogs.chooseNext(csv);

    QCOMPARE(importFromEditor(f, "cmdImporta"), QStringLiteral("File: sorgente.csv"));

    const auto& requests = f.folder.platform.dialogs.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].filters,
             (QStringList{QStringLiteral("File CSV (*.csv)"), QStringLiteral("Tutti i file (*.*)")}));
    QCOMPARE(f.archiveBytes(), archiveOfNumbers(1, 5));
    QCOMPARE(f.position(), "3");
    QCOMPARE(f.edit("txtTitolo")->text(), "Gioco 3");
    QVERIFY(f.messages().isEmpty());
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // The same file again brings nothing: its ID codes are all in the archive now.
    f.folder.platform.dialogs.chooseNext(csv);
    QCOMPARE(importFromEditor(f, "cmdAnnulla"), QStringLiteral("File: sorgente.csv"));
    QCOMPARE(f.archiveBytes(), archiveOfNumbers(1, 5));
}

void TestCsvScreens::cancelledSummaryWritesNothing()
{
    EditorFixture f(2);
    f.press("cmdAvanti");
    const QString csv = ownCsvOf(f, 3, 4);
    f.folder.platform.dialogs.chooseNext(csv);

    QVERIFY(!importFromEditor(f, "cmdAnnulla").isEmpty());

    QCOMPARE(f.archiveBytes(), archiveOfNumbers(1, 2));
    QCOMPARE(f.position(), "1");
    QVERIFY(f.messages().isEmpty());
}

void TestCsvScreens::unknownFileIsRefusedWithItsMessage()
{
    EditorFixture f(2);
    f.folder.writeFile(QStringLiteral("altro.csv"), "Titolo;Autore\r\nUno;Due\r\n");
    f.folder.platform.dialogs.chooseNext(f.folder.path(QStringLiteral("altro.csv")));

    QVERIFY(importFromEditor(f, "cmdImporta").isEmpty()); // no summary

    QCOMPARE(f.archiveBytes(), archiveOfNumbers(1, 2));
    const auto& shown = f.folder.platform.messages.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, MessageKind::Warning);
    QVERIFY2(shown[0].text.contains(QStringLiteral("BoardGameGeek")), qPrintable(shown[0].text));
}

// The archive becomes unusable while the summary is open: the import tells so and the editor
// stays on its record.
void TestCsvScreens::archiveFailureAfterTheSummaryIsReported()
{
    EditorFixture f(2);
    f.press("cmdAvanti");
    f.folder.platform.dialogs.chooseNext(ownCsvOf(f, 3, 4));

    importFromEditor(f, "cmdImporta", [&f] {
        QVERIFY(QFile::remove(f.archivePath()));
        QVERIFY(QDir().mkdir(f.archivePath()));
    });

    const auto& shown = f.folder.platform.messages.shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].kind, MessageKind::Error);
    QCOMPARE(shown[0].text, ArchiveAccessError);
    QCOMPARE(f.position(), "1");
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestCsvScreens::unsavedChangesAreAskedAboutFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dialogOpened");
    QTest::addColumn<QString>("savedNote");
    QTest::newRow("cancel") << int(Answer::Cancel) << false << "";
    QTest::newRow("no") << int(Answer::No) << true << "";
    QTest::newRow("yes") << int(Answer::Yes) << true << "cambiata";
}

void TestCsvScreens::unsavedChangesAreAskedAboutFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, dialogOpened);
    QFETCH(QString, savedNote);
    EditorFixture f(2);
    f.press("cmdAvanti");
    f.edit("txtNote")->setText(QStringLiteral("cambiata"));
    f.folder.platform.messages.answerNext(Answer(answer));
    f.folder.platform.dialogs.chooseNext(QString()); // the file dialog, if it opens, is cancelled

    f.press("cmdImporta");

    QCOMPARE(f.messages().value(0), UnsavedQuestion);
    QCOMPARE(f.folder.platform.dialogs.requests().size(), dialogOpened ? 1 : 0);
    GameRecord first{};
    std::memcpy(&first, f.archiveBytes().constData(), sizeof first);
    QCOMPARE(FieldToText(first.notes).trimmed(), savedNote);
}

// Ctrl+I is no editing key of a text field: pressed in one, it opens the import's file dialog
// and leaves the field as it was.
void TestCsvScreens::ctrlIInAFieldImports()
{
    EditorFixture f(2);
    QApplication::setActiveWindow(&f.editor);
    QVERIFY(QTest::qWaitForWindowActive(&f.editor));
    f.press("cmdAvanti");
    QLineEdit* note = f.edit("txtNote");
    note->setText(QStringLiteral("Il nome"));
    note->setFocus();
    note->setCursorPosition(3);
    f.folder.platform.messages.answerNext(Answer::No);
    f.folder.platform.dialogs.chooseNext(QString());

    QTest::keyClick(note, Qt::Key_I, Qt::ControlModifier);

    QCOMPARE(f.folder.platform.dialogs.requests().size(), 1);
    QCOMPARE(note->text(), QStringLiteral("Il nome"));
    QCOMPARE(note->cursorPosition(), 3);
}

// The toolbar's groups stand side by side in the editor's panel, the last one at its right end,
// and the panel fits a screen 1366 pixels wide.
void TestCsvScreens::toolbarStillFits()
{
    EditorFixture f;
    QWidget* panel = child(&f.editor, "panCartoline");
    QVERIFY(panel->width() <= 1366);
    int right = 0;
    for (int g = 1; g <= 6; ++g) {
        QWidget* group = child(panel, QStringLiteral("panGruppo%1").arg(g).toLatin1().constData());
        QVERIFY2(group->x() > right, qPrintable(group->objectName()));
        right = group->geometry().right();
        for (QWidget* button : group->findChildren<QWidget*>())
            QVERIFY(group->rect().contains(button->geometry()));
    }
    QVERIFY(right < panel->width());
    QVERIFY(child(panel, "cmdImporta")->isVisibleTo(&f.editor));
}

QTEST_MAIN(TestCsvScreens)
#include "tst_csv_screens.moc"
