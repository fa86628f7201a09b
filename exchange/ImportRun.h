#pragma once

#include "exchange/BoardGameGeekRow.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvScan.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class QIODevice;

namespace brivanto {

enum class CsvKind
{
    Brivanto,     // this program's own export
    BoardGameGeek // a collection exported from BoardGameGeek
};

// What an import does, counted before anything is written.
struct ImportPlan
{
    QString error; // when not empty, the file cannot be imported and this says why
    CsvKind kind = CsvKind::Brivanto;
    int toImport = 0;
    int notOwned = 0;
    int alreadyThere = 0; // copies the archive already holds (records with the same ID code)
    int cutValues = 0;
    int numbersInNotes = 0; // numbers too long for their field, kept in the notes instead
    int unmappableCharacters = 0;
    int otherCurrency = 0;
    bool readAsWindows1252 = false;
    bool ok() const { return error.isEmpty(); }
};

// The ID codes of an archive's records, as compared by the import (trimmed stored bytes), each
// with the number of records that hold it.
using ArchiveIds = QHash<QByteArray, int>;
QByteArray archiveIdOf(const GameRecord& record);

// One pass of an import over a CSV file: the records to append, one by one, and the counts of
// what happens to the rest. The summary and the import itself make the same pass, so what the
// user is told is what is done.
class ImportRun
{
public:
    // `device` stands at the start of the file and can seek back to it.
    ImportRun(QIODevice& device, ArchiveIds ids);
    ~ImportRun();

    // Reads the heading; false with plan().error set when the file cannot be imported.
    bool start();
    // The next record to append; false at the end of the file or on an error (plan().error).
    bool next(GameRecord& record);
    const ImportPlan& plan() const { return plan_; }

private:
    bool fail(const QString& message);
    bool readHeading(char separator);
    bool ownRecord(GameRecord& record);

    QIODevice& device_;
    ArchiveIds ids_;
    ImportPlan plan_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::unique_ptr<CsvReader> reader_;
    int headingFields_ = 0;
    int unclosedHeadingLine_ = 0;
    std::array<int, FieldCount> ownColumns_{}; // this program's file: column of each record field
    std::optional<BoardGameGeekColumns> boardGameGeek_;
};

// The message for a file of neither kind.
QString unknownCsvText();

} // namespace brivanto
