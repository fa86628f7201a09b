#include "exchange/ImportRun.h"

#include "exchange/CsvColumns.h"
#include "storage/FieldText.h"

#include <QIODevice>

#include <cstring>

namespace brivanto {
namespace {

QString onLine(int line, const QString& message)
{
    return QStringLiteral("Riga %1: %2").arg(line).arg(message);
}

} // namespace

QByteArray archiveIdOf(const GameRecord& record)
{
    const auto& id = record.idCode;
    const std::uint8_t* begin = id.bytes.data();
    const std::uint8_t* end = begin + std::min<std::size_t>(id.length, id.capacity);
    while (begin < end && *begin <= 0x20)
        ++begin;
    while (end > begin && end[-1] <= 0x20)
        --end;
    return QByteArray(reinterpret_cast<const char*>(begin), end - begin);
}

QString unknownCsvText()
{
    return QStringLiteral(
        "Il file non \u00E8 tra quelli che il programma sa importare.\n\n"
        "Si possono importare soltanto due tipi di file CSV: un archivio esportato da questo programma "
        "e una collezione esportata da BoardGameGeek (la cui prima riga contiene le colonne "
        "objectname e objectid).");
}

ImportRun::ImportRun(QIODevice& device, ArchiveIds ids) : device_(device), ids_(std::move(ids)) {}

ImportRun::~ImportRun() = default;

bool ImportRun::fail(const QString& message)
{
    plan_.error = message;
    return false;
}

bool ImportRun::start()
{
    const CsvScan scan = scanCsv(device_);
    if (scan.readFailed)
        return fail(QStringLiteral("Il file non si pu\u00F2 leggere."));
    if (scan.empty)
        return fail(QStringLiteral("Il file \u00E8 vuoto: non c'\u00E8 nulla da importare."));
    if (scan.binary)
        return fail(QStringLiteral("Il file non \u00E8 un file di testo CSV: contiene dati binari."));
    encoding_ = scan.encoding;
    plan_.readAsWindows1252 = encoding_ == TextEncoding::Windows1252;
    // This program writes ';'; the site writes ','; a spreadsheet program may have saved either
    // with the other.
    for (const char separator : {CsvSeparator, ','}) {
        if (readHeading(separator))
            return true;
        if (!plan_.ok())
            return false;
    }
    if (unclosedHeadingLine_ > 0)
        return fail(
            onLine(unclosedHeadingLine_, QStringLiteral("le virgolette aperte qui non vengono mai chiuse.")));
    return fail(unknownCsvText());
}

bool ImportRun::readHeading(char separator)
{
    if (!device_.seek(0))
        return fail(QStringLiteral("Il file non si pu\u00F2 leggere."));
    reader_ = std::make_unique<CsvReader>(device_, separator);
    CsvReader::Status status;
    while ((status = reader_->next()) == CsvReader::Status::Row && reader_->isBlank()) {
    }
    if (status == CsvReader::Status::End)
        return fail(QStringLiteral("Il file \u00E8 vuoto: non c'\u00E8 nulla da importare."));
    if (status == CsvReader::Status::ReadFailed)
        return fail(QStringLiteral("Il file non si pu\u00F2 leggere."));
    if (status == CsvReader::Status::UnclosedQuote) {
        // Perhaps only with this separator: told when no other reads the heading either.
        unclosedHeadingLine_ = reader_->errorLine();
        return false;
    }

    headingFields_ = reader_->fieldCount();
    const auto& names = csvColumnNames();
    ownColumns_.fill(-1);
    int found = 0;
    for (int i = 0; i < std::min(headingFields_, int(CsvReader::MaxKeptFields)); ++i) {
        const QString name = fileText(reader_->field(i), encoding_);
        for (int f = 0; f < FieldCount; ++f) {
            if (name == names[f] && ownColumns_[f] < 0) {
                ownColumns_[f] = i;
                ++found;
            }
        }
    }
    if (found == FieldCount) {
        plan_.kind = CsvKind::Brivanto;
        return true;
    }
    boardGameGeek_ = BoardGameGeekColumns::fromHeading(*reader_, encoding_);
    if (boardGameGeek_) {
        plan_.kind = CsvKind::BoardGameGeek;
        return true;
    }
    return false;
}

bool ImportRun::next(GameRecord& record)
{
    if (!plan_.ok() || !reader_)
        return false;
    for (;;) {
        const CsvReader::Status status = reader_->next();
        if (status == CsvReader::Status::End)
            return false;
        if (status == CsvReader::Status::ReadFailed)
            return fail(QStringLiteral("Il file non si pu\u00F2 leggere."));
        if (status == CsvReader::Status::UnclosedQuote)
            return fail(onLine(reader_->errorLine(),
                               QStringLiteral("le virgolette aperte qui non vengono mai chiuse.")));
        if (reader_->isBlank())
            continue;
        if (plan_.kind == CsvKind::Brivanto) {
            if (reader_->fieldCount() != headingFields_)
                return fail(onLine(reader_->line(),
                                   QStringLiteral("la riga ha %1 valori, ma l'intestazione ne ha %2.")
                                       .arg(reader_->fieldCount())
                                       .arg(headingFields_)));
            ownRecord(record);
        } else {
            if (reader_->fieldCount() > headingFields_)
                return fail(onLine(reader_->line(),
                                   QStringLiteral("la riga ha %1 valori, ma l'intestazione ne ha %2.")
                                       .arg(reader_->fieldCount())
                                       .arg(headingFields_)));
            BoardGameGeekCounts counts{
                {plan_.cutValues, plan_.unmappableCharacters}, plan_.otherCurrency, plan_.numbersInNotes};
            const bool owned = boardGameGeekRecord(*reader_, *boardGameGeek_, encoding_, record, counts);
            if (!owned) {
                ++plan_.notOwned;
                continue;
            }
            plan_.cutValues = counts.store.cutValues;
            plan_.unmappableCharacters = counts.store.unmappableCharacters;
            plan_.otherCurrency = counts.otherCurrency;
            plan_.numbersInNotes = counts.numbersInNotes;
        }
        // Each row is a copy the collector owns: of the copies with one ID code, the archive takes
        // those beyond the ones it already holds, so that importing a file again adds nothing.
        const QByteArray id = archiveIdOf(record);
        const auto held = id.isEmpty() ? ids_.end() : ids_.find(id);
        if (held != ids_.end()) {
            if (--*held == 0)
                ids_.erase(held);
            ++plan_.alreadyThere;
            continue;
        }
        ++plan_.toImport;
        return true;
    }
}

bool ImportRun::ownRecord(GameRecord& record)
{
    auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
    StoreCounts counts{plan_.cutValues, plan_.unmappableCharacters};
    for (int f = 0; f < FieldCount; ++f) {
        const int column = ownColumns_[f];
        storeFileValue(reader_->field(column), reader_->fieldCut(column), encoding_, bytes + Fields[f].offset,
                       Fields[f].capacity, counts);
    }
    plan_.cutValues = counts.cutValues;
    plan_.unmappableCharacters = counts.unmappableCharacters;
    return true;
}

} // namespace brivanto
