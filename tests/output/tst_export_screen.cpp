#include "help/Help.h"
#include "output/ExportGrid.h"
#include "output/ExportScreen.h"
#include "output/ExportWriter.h"

#include "tests/editor/EditorFixture.h"
#include "tests/output/ExportFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ModalWindows.h"

#include <QBuffer>
#include <QHeaderView>
#include <QTableView>

using namespace brivanto;
using platform::Answer;
using platform::MessageButtons;
using platform::MessageKind;
using platform::testing::ScriptedMessageBoxes;

namespace {
const QString FirstQuestion = QString::fromUtf8(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede presenti "
    "in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString SecondQuestion = QString::fromUtf8(
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString ExportFailed = QString::fromUtf8(
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di Excel non sia "
    "già aperto.");

// The export screen over a real record editor whose archive holds `records`.
struct ExportScreenFixture
{
    explicit ExportScreenFixture(const QList<GameRecord>& records) : editor(0)
    {
        editor.folder.writeFile(editor.archiveName + ".gdt", archiveOf(records));
        // Out of the way of the mouse: the offscreen platform sends moves to the window it finds first.
        editor.editor.hide();
        screen = std::make_unique<ExportScreen>(editor.editor);
        screen->show();
    }
    QTableView* grid() const { return child<QTableView>(screen.get(), "grdRecords"); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    void press(const char* button) { click(child(screen.get(), button)); }
    ScriptedMessageBoxes& messages() { return editor.folder.platform.messages; }
    QString exportPath() const { return editor.folder.path("Zendaro.xls"); }

    EditorFixture editor;
    std::unique_ptr<ExportScreen> screen;
};
} // namespace

// The export screen as a user sees and drives it.
class TestExportScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layout();
    void gridIsFilledWhenShown();
    void typingChangesOnlyTheEditableColumns_data();
    void typingChangesOnlyTheEditableColumns();
    void exportQuestions_data();
    void exportQuestions();
    void failureIsReportedAndThePreviousFileKept_data();
    void failureIsReportedAndThePreviousFileKept();
    void hintsFollowTheMouse_data();
    void hintsFollowTheMouse();
    void helpAndExit();
    void editorButtonOpensTheScreen();
};

void TestExportScreen::layout()
{
    ExportScreenFixture f({});
    ExportScreen& screen = *f.screen;
    QCOMPARE(screen.objectName(), "TfrmExpCartoline");
    QCOMPARE(screen.windowTitle(), " Esporta archivio giochi da tavolo in Excel");
    QCOMPARE(screen.size(), QSize(862, 560));
    QVERIFY(!(screen.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(child<QLabel>(&screen, "panInfo")->text(), "Esportazione archivio in Microsoft Excel.");
    for (const char* button : {"cmdEsporta", "cmdGuida", "cmdEsci"})
        QCOMPARE(child(&screen, button)->cursor().shape(), Qt::PointingHandCursor);

    QTableView* grid = f.grid();
    QCOMPARE(grid->size(), QSize(821, 409));
    QVERIFY(grid->alternatingRowColors());
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 21);
    const QList<int> widths{60,  280, 200, 250, 200, 400, 180, 180, 200, 200, 200, 200,
                            200, 250, 250, 400, 200, 200, 200, 200, 250, 350, 120};
    QCOMPARE(grid->model()->columnCount(), widths.size());
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(grid->columnWidth(c), widths[c]);
    QCOMPARE(grid->model()->headerData(22, Qt::Horizontal).toString(), "In vendita");
}

void TestExportScreen::gridIsFilledWhenShown()
{
    ExportScreenFixture f({numberedRecord(1), numberedRecord(2), numberedRecord(3)});
    QCOMPARE(f.grid()->model()->rowCount(), 3);
    QCOMPARE(f.cell(2, 0), "3");
    QCOMPARE(f.cell(2, 1), "Gioco 3");
    QCOMPARE(f.cell(1, 22), "No");
    QCOMPARE(f.cell(0, 22), QString::fromUtf8("Sì"));
    QVERIFY(f.editor.folder.platform.messages.shown().isEmpty());

    // Restoring the minimised screen keeps what the user changed and reads nothing again.
    QVERIFY(f.grid()->model()->setData(f.grid()->model()->index(0, 2), "Cambiato"));
    f.editor.folder.writeFile(f.editor.archiveName + ".gdt", archiveOf({numberedRecord(9)}));
    restoreFromTaskbar(f.screen.get());
    QCOMPARE(f.grid()->model()->rowCount(), 3);
    QCOMPARE(f.cell(0, 2), "Cambiato");
}

void TestExportScreen::typingChangesOnlyTheEditableColumns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("exported");
    QTest::newRow("Codice ID") << 2 << "XY" << QByteArray("XY");
    QTest::newRow("In vendita") << 22 << "XY" << QByteArray("XY");
    QTest::newRow("Nome del gioco") << 1 << "Gioco 1" << QByteArray("Gioco 1");
    QTest::newRow("Genere") << 3 << "Strategico" << QByteArray("Strategico");
    QTest::newRow("N.") << 0 << "1" << QByteArray();
}

void TestExportScreen::typingChangesOnlyTheEditableColumns()
{
    QFETCH(int, column);
    QFETCH(QString, shown);
    QFETCH(QByteArray, exported);
    ExportScreenFixture f({numberedRecord(1)});
    const QByteArray archive = f.editor.archiveBytes();
    QTableView* grid = f.grid();
    grid->setCurrentIndex(grid->model()->index(0, column));
    QTest::keyClick(grid, 'X');
    if (auto* cellEditor = grid->viewport()->findChild<QLineEdit*>())
        QTest::keyClick(cellEditor, 'Y');

    // Exporting takes in the cell still being typed.
    f.messages().answerNext(Answer::Yes);
    f.messages().answerNext(Answer::No);
    f.press("cmdEsporta");
    QCOMPARE(f.cell(0, column), shown);
    const QByteArray written = fileBytes(f.exportPath());
    if (column > 0)
        QVERIFY2(written.contains("<td style=\"text-align: left;\">" + exported + "</td>"),
                 written.right(900));
    QCOMPARE(f.editor.archiveBytes(), archive);
}

void TestExportScreen::exportQuestions_data()
{
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("desktopOpens");
    QTest::addColumn<bool>("goneBeforeOpening"); // the file is removed while the second question is asked
    QTest::newRow("No to exporting") << QList<Answer>{Answer::No} << QStringList{FirstQuestion} << false
                                     << false << true << false;
    QTest::newRow("Yes, then No to opening")
        << QList<Answer>{Answer::Yes, Answer::No} << QStringList{FirstQuestion, SecondQuestion} << true
        << false << true << false;
    QTest::newRow("Yes, then Yes to opening")
        << QList<Answer>{Answer::Yes, Answer::Yes} << QStringList{FirstQuestion, SecondQuestion} << true
        << true << true << false;
    QTest::newRow("Yes to opening, which the desktop cannot")
        << QList<Answer>{Answer::Yes, Answer::Yes} << QStringList{FirstQuestion, SecondQuestion} << true
        << true << false << false;
    QTest::newRow("Yes to opening a file no longer there")
        << QList<Answer>{Answer::Yes, Answer::Yes} << QStringList{FirstQuestion, SecondQuestion} << true
        << false << true << true;
}

void TestExportScreen::exportQuestions()
{
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, asked);
    QFETCH(bool, written);
    QFETCH(bool, opened);
    QFETCH(bool, desktopOpens);
    QFETCH(bool, goneBeforeOpening);
    ExportScreenFixture f({numberedRecord(1), numberedRecord(2)});
    f.editor.folder.writeFile("Zendaro.xls", "vecchio");
    for (Answer answer : answers)
        f.messages().answerNext(answer);
    if (!desktopOpens)
        f.editor.folder.platform.shell.refuseEverything();
    QByteArray writtenBytes;
    if (goneBeforeOpening) {
        f.messages().whileShowing([&] {
            f.messages().whileShowing([&] {
                writtenBytes = fileBytes(f.exportPath());
                QVERIFY(QFile::remove(f.exportPath()));
            });
        });
    }
    f.press("cmdEsporta");

    QCOMPARE(f.messages().texts().mid(0, asked.size()), asked);
    for (const auto& shown : f.messages().shown().mid(0, asked.size())) {
        QCOMPARE(shown.kind, MessageKind::Confirmation);
        QCOMPARE(shown.buttons, MessageButtons::YesNo);
    }
    // A file the desktop cannot open, or that is not there, is named in a warning over the export
    // screen.
    const bool warned = !desktopOpens || goneBeforeOpening;
    QCOMPARE(f.messages().shown().size(), asked.size() + (warned ? 1 : 0));
    if (warned) {
        const auto& warning = f.messages().shown().back();
        QCOMPARE(warning.kind, MessageKind::Warning);
        QVERIFY(warning.text.startsWith("Attenzione: non è stato possibile aprire il file "));
        QVERIFY2(warning.text.contains("\"" + f.exportPath() + "\""), qPrintable(warning.text));
        QCOMPARE(warning.parent, f.screen.get());
    }
    const QByteArray bytes = goneBeforeOpening ? writtenBytes : fileBytes(f.exportPath());
    QCOMPARE(bytes.startsWith("<html"), written);
    if (written)
        QCOMPARE(bytes.count("<tr>"), 3);
    const QList<QUrl> expected = opened ? QList<QUrl>{QUrl::fromLocalFile(f.exportPath())} : QList<QUrl>{};
    QCOMPARE(f.editor.folder.platform.shell.opened(), expected);
    QVERIFY(f.screen->isVisible());
}

void TestExportScreen::failureIsReportedAndThePreviousFileKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a folder in the way") << "folder";
    QTest::newRow("disk fills while the last bytes are flushed") << "full at the flush";
}

void TestExportScreen::failureIsReportedAndThePreviousFileKept()
{
    QFETCH(QString, kind);
    ExportScreenFixture f({numberedRecord(1)});
    // Export, answering Yes; true when exactly the failure box follows the question and nothing
    // is opened.
    const auto exportFails = [&] {
        f.messages().answerNext(Answer::Yes);
        f.press("cmdEsporta");
        const auto& shown = f.messages().shown();
        return f.messages().texts() == QStringList({FirstQuestion, ExportFailed}) &&
               shown.last().kind == MessageKind::Plain && shown.last().buttons == MessageButtons::Ok &&
               f.editor.folder.platform.shell.opened().isEmpty();
    };
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(f.exportPath() + "/dentro"));
        QVERIFY2(exportFails(), qPrintable(f.messages().texts().join(" | ")));
        QVERIFY(QFileInfo(f.exportPath() + "/dentro").isDir());
        return;
    }

    const QByteArray previous = "<html>export precedente</html>";
    f.editor.folder.writeFile("Zendaro.xls", previous);
    // The disk has room for all but the worksheet's last byte: a small worksheet stays in the
    // file's buffer until its final flush, and only that flush fails.
    auto* grid = dynamic_cast<ExportGridModel*>(f.grid()->model());
    QVERIFY(grid);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    QVERIFY(writeExport(whole, *grid));
    const int result =
        brivanto::testing::runInChild([&] { return exportFails() ? 0 : 1; }, false, long(whole.size()) - 1);
    QCOMPARE(result, 0);
    QCOMPARE(fileBytes(f.exportPath()), previous);
    QCOMPARE(QDir(f.editor.folder.dir.path()).entryList({"Zendaro.xls*"}, QDir::Files),
             QStringList{"Zendaro.xls"});
}

void TestExportScreen::hintsFollowTheMouse_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::newRow("export") << "cmdEsporta"
                            << "Esporta l'archivio in formato Microsoft Excel.";
    QTest::newRow("help") << "cmdGuida"
                          << "Visualizza la pagina della guida sensibile al contesto.";
    QTest::newRow("exit") << "cmdEsci"
                          << "Esci da questo ambiente di lavoro.";
    QTest::newRow("grid") << "grdRecords"
                          << "";
    QTest::newRow("information bar") << "panInfo"
                                     << "";
    QTest::newRow("top band") << "imgTitolo"
                              << "";
}

void TestExportScreen::hintsFollowTheMouse()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);
    ExportScreenFixture f({numberedRecord(1)});
    QVERIFY(QTest::qWaitForWindowExposed(f.screen.get()));
    auto* info = child<QLabel>(f.screen.get(), "panInfo");
    // From another button first, so every hint is seen replacing a different text.
    const char* other = control == "cmdEsci" ? "cmdGuida" : "cmdEsci";
    QTest::mouseMove(child(f.screen.get(), other));
    QTRY_VERIFY(info->text() != hint);
    QTest::mouseMove(child(f.screen.get(), control.toLatin1().constData()));
    QTRY_COMPARE(info->text(), hint);
}

void TestExportScreen::helpAndExit()
{
    ExportScreenFixture f({});
    QString title;
    QWidget* owner = nullptr;
    whenModalShown([&](QWidget* modal) {
        title = child<QLabel>(modal, "lblTitolo")->text();
        owner = modal->parentWidget();
    });
    f.press("cmdGuida");
    QCOMPARE(title, "Esportazione archivio giochi da tavolo in Excel");
    QCOMPARE(title, help::helpTitle(help::HelpTopic::Export));
    QCOMPARE(owner, f.screen.get());
    f.screen->show();
    f.press("cmdEsci");
    QTRY_VERIFY(!f.screen->isVisible());
}

void TestExportScreen::editorButtonOpensTheScreen()
{
    EditorFixture f(2);
    QString name;
    int rows = -1;
    bool overEditor = false;
    whenModalShown([&](QWidget* modal) {
        name = modal->objectName();
        overEditor = modal->isModal() && modal->parentWidget() == &f.editor;
        rows = child<QTableView>(modal, "grdRecords")->model()->rowCount();
    });
    f.press("cmdEsporta");
    QCOMPARE(name, "TfrmExpCartoline");
    QVERIFY(overEditor);
    QCOMPARE(rows, 2);
    QVERIFY(f.editor.findChildren<ExportScreen*>().isEmpty()); // discarded when closed
}

QTEST_MAIN(TestExportScreen)
#include "tst_export_screen.moc"
