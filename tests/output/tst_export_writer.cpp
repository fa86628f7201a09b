#include "output/ExportGrid.h"
#include "output/ExportWriter.h"

#include "tests/output/ExportFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProgramFolderFixture.h"
#include "tests/support/RawField.h"

#include <QAbstractItemModelTester>
#include <QBuffer>

#include <sys/stat.h>

using namespace brivanto;
using brivanto::testing::putRawField;
using brivanto::testing::runInChild;
using namespace std::string_view_literals;

namespace {
// "Sì" in Windows-1252, and the characters that differ most from UTF-8.
const QString Si = QStringLiteral(u"S\u00EC");
} // namespace

// The grid's rows as they come from the archive, and the worksheet written from them.
class TestExportWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void writesTheWorksheetByteForByte_data();
    void writesTheWorksheetByteForByte();
    void gridHoldsTheArchiveTrimmed();
    void largeArchiveIsHeldRowForRow();
    void onlyTheListedColumnsCanBeChanged();
    void changedCellsReachTheWorksheetNeverTheArchive_data();
    void changedCellsReachTheWorksheetNeverTheArchive();
    void unreadableArchiveGivesTheRowsReadSoFar_data();
    void unreadableArchiveGivesTheRowsReadSoFar();
    void failedExportKeepsThePreviousFile_data();
    void failedExportKeepsThePreviousFile();

private:
    ExportGridModel& fill(const QList<GameRecord>& records);

    std::unique_ptr<ProgramFolderFixture> folder_;
    std::unique_ptr<ExportGridModel> grid_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

void TestExportWriter::init()
{
    folder_ = std::make_unique<ProgramFolderFixture>();
    grid_ = std::make_unique<ExportGridModel>();
    tester_ = std::make_unique<QAbstractItemModelTester>(
        grid_.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestExportWriter::cleanup()
{
    tester_.reset();
    grid_.reset();
    folder_.reset();
}

ExportGridModel& TestExportWriter::fill(const QList<GameRecord>& records)
{
    folder_->writeFile(QStringLiteral("Giochi.gdt"), archiveOf(records));
    grid_->fillFromArchive(folder_->path(QStringLiteral("Giochi.gdt")));
    return *grid_;
}

void TestExportWriter::writesTheWorksheetByteForByte_data()
{
    QTest::addColumn<QList<GameRecord>>("records");
    QTest::addColumn<QByteArray>("rows");

    QTest::newRow("empty archive") << QList<GameRecord>{} << QByteArray();
    QStringList scacchi(ExportedFieldCount);
    scacchi[0] = "Scacchi";
    scacchi[21] = "No";
    QTest::newRow("one record, not for sale")
        << QList<GameRecord>{exportRecord(scacchi)}
        << expectedRow({"Scacchi", {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
                        {},        {}, {}, {}, {}, {}, {}, {}, {}, {}, "No"});
    QTest::newRow("for sale is 53 EC")
        << QList<GameRecord>{exportRecord(
               {"Go", "G-1", {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, Si})}
        << expectedRow({"Go", "G-1", {}, {}, {}, {}, {}, {}, {}, {}, {},
                        {},   {},    {}, {}, {}, {}, {}, {}, {}, {}, "S\xEC"});
    QTest::newRow("every special character")
        << QList<GameRecord>{exportRecord({"<Nome>",
                                           "  A&B  ",
                                           "Tom & Jerry",
                                           "</td>",
                                           "\"Citato\" & 'a'",
                                           "1995",
                                           "12,50",
                                           QStringLiteral(u"\u20AC \u00E0\u00E8\u00EC\u00F2\u00F9"),
                                           "&amp;",
                                           "a<b>c",
                                           "&lt;",
                                           "<<>>&&",
                                           {},
                                           {},
                                           {},
                                           {},
                                           {},
                                           {},
                                           {},
                                           {},
                                           "Note\tcon tab",
                                           "No"})}
        << expectedRow({"&lt;Nome&gt;",
                        "A&amp;B",
                        "Tom &amp; Jerry",
                        "&lt;/td&gt;",
                        "\"Citato\" &amp; 'a'",
                        "1995",
                        "12,50",
                        "\x80 \xE0\xE8\xEC\xF2\xF9",
                        "&amp;amp;",
                        "a&lt;b&gt;c",
                        "&amp;lt;",
                        "&lt;&lt;&gt;&gt;&amp;&amp;",
                        {},
                        {},
                        {},
                        {},
                        {},
                        {},
                        {},
                        {},
                        "Note\tcon tab",
                        "No"});
    // As another program may store them: the blanks, tabs and NULs round each value are in the
    // field's bytes and counted by its length byte; bytes above the blank stay.
    GameRecord padded = exportRecord({});
    putRawField(padded.name, "\0 \tRisiko \t\0"sv);
    putRawField(padded.idCode, "  RS-1"sv);
    putRawField(padded.genre, "&\0"sv);
    putRawField(padded.year, " 68 "sv);
    putRawField(padded.marketValue, "!30,00\xA0"sv);
    putRawField(padded.notes, "Note\t \0"sv);
    QList<QByteArray> paddedCells(ExportedFieldCount);
    paddedCells[0] = "Risiko";
    paddedCells[1] = "RS-1";
    paddedCells[2] = "&amp;";
    paddedCells[5] = "68";
    paddedCells[6] = "!30,00\xA0";
    paddedCells[20] = "Note";
    QTest::newRow("blanks, tabs and NULs stored round the values")
        << QList<GameRecord>{padded} << expectedRow(paddedCells);
    QStringList full(ExportedFieldCount);
    for (int f = 0; f < ExportedFieldCount; ++f)
        full[f] = QString(int(Fields[f].capacity), QChar(u'a' + f));
    QList<QByteArray> fullCells;
    for (const QString& text : full)
        fullCells.append(text.toLatin1());
    QTest::newRow("two records, every field full, then an empty one")
        << QList<GameRecord>{exportRecord(full), exportRecord({})}
        << expectedRow(fullCells) + expectedRow({});
}

void TestExportWriter::writesTheWorksheetByteForByte()
{
    QFETCH(QList<GameRecord>, records);
    QFETCH(QByteArray, rows);
    fill(records);
    QCOMPARE(grid_->rowCount(), records.size());

    const QString path = exportFilePath();
    QCOMPARE(path, folder_->path("Zendaro.xls"));
    QVERIFY(writeExportFile(path, *grid_));
    const QByteArray written = fileBytes(path);
    QCOMPARE(written, expectedHeader() + rows + ExpectedClosing);
    QVERIFY(!written.contains('\n') && !written.contains('\r'));

    // The same bytes through any device, and a second export replaces the first whole.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeExport(buffer, *grid_));
    QCOMPARE(buffer.data(), written);
    fill({});
    QVERIFY(writeExportFile(path, *grid_));
    QCOMPARE(fileBytes(path), expectedHeader() + ExpectedClosing);
}

void TestExportWriter::gridHoldsTheArchiveTrimmed()
{
    GameRecord risiko = exportRecord({{}, {}, "Strategico"});
    putRawField(risiko.name, "  Risiko \t\0"sv);
    fill({risiko, exportRecord({QStringLiteral(u"Citt\u00E0 \u20AC"),
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                {},
                                Si})});
    QCOMPARE(grid_->rowCount(), 2);
    QCOMPARE(grid_->columnCount(), 23);
    QCOMPARE(grid_->headerData(0, Qt::Horizontal).toString(), "N.");
    QCOMPARE(grid_->headerData(10, Qt::Horizontal).toString(), QStringLiteral(u"Rarit\u00E0"));
    QCOMPARE(grid_->index(0, 0).data().toString(), "1");
    QCOMPARE(grid_->index(1, 0).data().toString(), "2");
    QCOMPARE(grid_->index(0, 1).data().toString(), "Risiko");
    QCOMPARE(grid_->index(0, 3).data().toString(), "Strategico");
    QCOMPARE(grid_->index(0, 2).data().toString(), "");
    QCOMPARE(grid_->index(1, 1).data().toString(), QStringLiteral(u"Citt\u00E0 \u20AC"));
    QCOMPARE(grid_->index(1, 22).data().toString(), Si);
    QCOMPARE(grid_->exportCell(1, 22), QByteArrayView("S\xEC"));
}

// A large archive is read in two halves at once: every row, those on either side of the middle
// included, holds its own record's values, as long as their fields allow.
void TestExportWriter::largeArchiveIsHeldRowForRow()
{
    constexpr int Count = 5001;
    QList<GameRecord> records(Count);
    for (int i = 0; i < Count; ++i) {
        for (int f = 0; f < ExportedFieldCount; ++f) {
            std::uint8_t* field = fieldAt(records[i], Fields[f]);
            QByteArray value = (i % 3 == 0 ? QByteArray(" \t") : QByteArray()) + QByteArray::number(i) + '/' +
                               QByteArray(1 + (i + f) % 300, char('a' + f)) + (i % 5 == 0 ? " " : "");
            value.truncate(qsizetype(Fields[f].capacity));
            field[0] = std::uint8_t((i + f) % 97 == 0 ? 255 : value.size()); // now and then damaged
            std::memcpy(field + 1, value.constData(), std::size_t(value.size()));
        }
    }
    fill(records);
    QCOMPARE(grid_->rowCount(), Count);
    ExportGridModel::ExportRow cells;
    for (int r = 0; r < Count; ++r) {
        grid_->exportRow(r, cells);
        for (int f = 0; f < ExportedFieldCount; ++f) {
            const QByteArrayView expected = storedValue(fieldAt(records[r], Fields[f]), Fields[f].capacity);
            if (cells[f] != expected || grid_->exportCell(r, f + 1) != expected)
                QFAIL(qPrintable(QStringLiteral("row %1, column %2").arg(r).arg(f + 1)));
        }
    }
    const QByteArrayView last = storedValue(fieldAt(records.last(), Fields[0]), Fields[0].capacity);
    QCOMPARE(grid_->index(Count - 1, 1).data().toString(), QString::fromLatin1(last));
}

void TestExportWriter::onlyTheListedColumnsCanBeChanged()
{
    fill({exportRecord({"Scacchi"})});
    // Codice ID, Valore di mercato, Rarità and everything from Dimensioni della scatola onwards.
    const QList<int> editable{2, 7, 10, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    for (int c = 0; c < 23; ++c) {
        const QModelIndex cell = grid_->index(0, c);
        QCOMPARE(bool(grid_->flags(cell) & Qt::ItemIsEditable), editable.contains(c));
        QCOMPARE(grid_->setData(cell, "x"), editable.contains(c));
    }
    QCOMPARE(grid_->index(0, 1).data().toString(), "Scacchi");
    QCOMPARE(grid_->index(0, 0).data().toString(), "1");
}

void TestExportWriter::changedCellsReachTheWorksheetNeverTheArchive_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("exported");
    QTest::newRow("plain") << "SC-99" << QByteArray("SC-99");
    QTest::newRow("blanks around are trimmed") << "  SC 99  " << QByteArray("SC 99");
    QTest::newRow("markup characters") << "<b>&" << QByteArray("&lt;b&gt;&amp;");
    QTest::newRow("outside the code page")
        << QStringLiteral(u"\u2605 \u00E8 \U0001F3B2") << QByteArray("? \xE8 ?");
    QTest::newRow("emptied") << "" << QByteArray();
}

void TestExportWriter::changedCellsReachTheWorksheetNeverTheArchive()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, exported);
    fill({exportRecord({"Scacchi", "SC-1"}), exportRecord({"Dama", "DA-1"})});
    const QByteArray archive = fileBytes(folder_->path("Giochi.gdt"));

    QVERIFY(grid_->setData(grid_->index(1, 2), typed));
    QCOMPARE(grid_->index(1, 2).data().toString(), typed);
    QVERIFY(writeExportFile(exportFilePath(), *grid_));
    QCOMPARE(fileBytes(exportFilePath()), expectedHeader() + expectedRow({"Scacchi", "SC-1"}) +
                                              expectedRow({"Dama", exported}) + ExpectedClosing);
    QCOMPARE(fileBytes(folder_->path("Giochi.gdt")), archive);

    // Filling again shows the archive as it is: the change is gone.
    grid_->fillFromArchive(folder_->path("Giochi.gdt"));
    QCOMPARE(grid_->index(1, 2).data().toString(), "DA-1");
}

void TestExportWriter::unreadableArchiveGivesTheRowsReadSoFar_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("rows");
    QTest::newRow("missing archive, created empty") << "missing" << 0;
    QTest::newRow("archive replaced by a folder") << "folder" << 0;
    QTest::newRow("archive without read rights") << "no rights" << 0;
    QTest::newRow("trailing bytes that are no record") << "trailing" << 2;
}

void TestExportWriter::unreadableArchiveGivesTheRowsReadSoFar()
{
    QFETCH(QString, kind);
    QFETCH(int, rows);
    fill({exportRecord({"Uno"}), exportRecord({"Due"})});
    QCOMPARE(grid_->rowCount(), 2);
    const QString path = folder_->path("Giochi.gdt");
    if (kind == "missing") {
        QVERIFY(QFile::remove(path));
    } else if (kind == "folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "trailing") {
        folder_->writeFile("Giochi.gdt", fileBytes(path) + QByteArray(100, 'x'));
    }

    if (kind == "no rights") {
        ::chmod(QFile::encodeName(path).constData(), 0);
        const int filled = runInChild(
            [&] {
                grid_->fillFromArchive(path);
                return grid_->rowCount();
            },
            true);
        QCOMPARE(filled, rows);
        return;
    }
    grid_->fillFromArchive(path);
    QCOMPARE(grid_->rowCount(), rows);
    if (kind == "missing")
        QVERIFY(QFileInfo(path).isFile() && QFileInfo(path).size() == 0);
    if (rows > 0)
        QCOMPARE(grid_->index(1, 1).data().toString(), "Due");
}

void TestExportWriter::failedExportKeepsThePreviousFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("written");
    QTest::newRow("export file replaced by a folder") << "folder" << 400 << false;
    QTest::newRow("export file read-only") << "read-only file" << 400 << false;
    QTest::newRow("program folder read-only") << "read-only folder" << 400 << false;
    QTest::newRow("disk fills during the export") << "disk full" << 400 << false;
    // A small worksheet is held in the file's buffer until the last flush: only that write meets
    // the full disk.
    QTest::newRow("disk fills while the last bytes are flushed") << "full at the flush" << 3 << false;
    QTest::newRow("room to write") << "room" << 400 << true;
}

void TestExportWriter::failedExportKeepsThePreviousFile()
{
    QFETCH(QString, kind);
    QFETCH(int, records);
    QFETCH(bool, written);
    QList<GameRecord> archive;
    for (int i = 0; i < records; ++i)
        archive.append(
            exportRecord({QStringLiteral("Gioco %1").arg(i), "ID", "Genere", "Editore", "Descrizione"}));
    fill(archive);
    const QString path = exportFilePath();
    const QByteArray previous = "<html>export precedente</html>";
    const QString folder = folder_->dir.path();
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(path + "/dentro"));
        QVERIFY(!writeExportFile(path, *grid_));
        QVERIFY(QFileInfo(path + "/dentro").isDir());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Giochi.gdt"});
        return;
    }
    folder_->writeFile("Zendaro.xls", previous);
    ::chmod(QFile::encodeName(path).constData(), kind == "read-only file" ? 0444 : 0666);
    if (kind == "read-only folder")
        ::chmod(QFile::encodeName(folder).constData(), 0555);
    long limit = kind == "disk full" ? 64 * 1024 : 0;
    if (kind == "full at the flush") {
        // One byte short of the whole worksheet: every write before the last bytes has room.
        QBuffer whole;
        whole.open(QIODevice::WriteOnly);
        QVERIFY(writeExport(whole, *grid_));
        limit = long(whole.size()) - 1;
    }
    const int result = runInChild([&] { return writeExportFile(path, *grid_) ? 1 : 0; }, true, limit);
    ::chmod(QFile::encodeName(folder).constData(), 0777);

    QCOMPARE(result, written ? 1 : 0);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"Giochi.gdt", "Zendaro.xls"}));
    if (written) {
        QVERIFY(fileBytes(path).size() > 64 * 1024);
        QVERIFY(fileBytes(path).endsWith(ExpectedClosing));
    } else {
        QCOMPARE(fileBytes(path), previous);
    }
}

QTEST_GUILESS_MAIN(TestExportWriter)
#include "tst_export_writer.moc"
