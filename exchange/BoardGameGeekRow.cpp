#include "exchange/BoardGameGeekRow.h"

#include "editor/MarketValue.h"
#include "exchange/CsvReader.h"
#include "storage/FieldText.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <cstring>

namespace brivanto {
namespace {

constexpr std::array<const char*, BoardGameGeekColumns::ColumnCount> ColumnNames{
    "objectname", "originalname",       "objectid",          "yearpublished", "minplayers",
    "maxplayers", "playingtime",        "minplaytime",       "maxplaytime",   "bggrecagerange",
    "avgweight",  "version_publishers", "version_languages", "conditiontext", "invlocation",
    "comment",    "privatecomment",     "currvalue",         "cv_currency",   "fortrade",
    "own"};

// A whole number above 0, or 0 where the site writes 0 or nothing for "not known".
int positiveNumber(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n > 0 ? n : 0;
}

// "2-4", or "3" when both ends are the same, or the one end that is known.
QString range(int low, int high)
{
    if (low > 0 && high > 0 && low != high)
        return QString::number(low) + QLatin1Char('-') + QString::number(high);
    const int known = low > 0 ? low : high;
    return known > 0 ? QString::number(known) : QString();
}

// The site's weight, 1 to 5 with several decimals, as "2,4 / 5"; 0 means no one voted.
QString complexity(const QString& weight)
{
    bool ok = false;
    const double value = weight.trimmed().toDouble(&ok);
    if (!ok || !(value > 0))
        return {};
    QString text = QString::number(std::round(value * 10) / 10, 'f', 1);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text + QStringLiteral(" / 5");
}

// The notes' lines, one after the other.
QString withNote(const QString& notes, const QString& line)
{
    if (notes.isEmpty() || line.isEmpty())
        return notes + line;
    return notes + QStringLiteral(" / ") + line;
}

// Comments may run over several lines; the editor's fields hold one.
QString oneLine(const QString& text)
{
    QString line = text;
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    line.replace(breaks, QStringLiteral(" "));
    return trimmed(line);
}

} // namespace

std::optional<BoardGameGeekColumns> BoardGameGeekColumns::fromHeading(const CsvReader& heading,
                                                                      TextEncoding encoding)
{
    BoardGameGeekColumns columns;
    columns.index_.fill(-1);
    for (int i = heading.fieldCount() - 1; i >= 0; --i) {
        const QString name = fileText(heading.field(i), encoding).trimmed().toLower();
        for (int c = 0; c < ColumnCount; ++c) {
            if (name == QLatin1String(ColumnNames[c]))
                columns.index_[c] = i; // the first of two columns of one name wins
        }
    }
    if (columns.index_[ObjectName] < 0 || columns.index_[ObjectId] < 0)
        return std::nullopt;
    return columns;
}

bool boardGameGeekRecord(const CsvReader& row, const BoardGameGeekColumns& columns, TextEncoding encoding,
                         GameRecord& record, BoardGameGeekCounts& counts)
{
    const auto value = [&](BoardGameGeekColumns::Column column) {
        return fileText(row.field(columns.indexOf(column)), encoding);
    };
    using C = BoardGameGeekColumns;
    if (columns.indexOf(C::Own) >= 0 && value(C::Own).trimmed() != QLatin1String("1"))
        return false;

    record = GameRecord{};
    const auto store = [&](auto& field, const QString& text) {
        storeText(text, &field.length, field.capacity, counts.store);
    };
    // A number cut short is another number ("-2200" would become "-220"): one that does not fit
    // leaves its field empty and goes whole into the notes, after the comments.
    QStringList numbersForNotes;
    const auto storeNumber = [&](auto& field, const QString& text, const QString& label) {
        if (fitsField(text, field.capacity))
            store(field, text);
        else
            numbersForNotes << label + QStringLiteral(": ") + text;
    };
    QString name = value(C::ObjectName);
    if (trimmed(name).isEmpty())
        name = value(C::OriginalName);
    store(record.name, name);
    store(record.idCode, value(C::ObjectId));
    store(record.publisher, value(C::Publishers));
    const int year = value(C::YearPublished).trimmed().toInt();
    storeNumber(record.year, year != 0 ? QString::number(year) : QString(), QStringLiteral("Anno"));

    const QString currency = value(C::ValueCurrency).trimmed().toUpper();
    const QString worth = value(C::CurrentValue).trimmed();
    const bool euro =
        currency.isEmpty() || currency == QLatin1String("EUR") || currency == QStringLiteral(u"\u20AC");
    if (!euro && !worth.isEmpty())
        ++counts.otherCurrency;
    QString marketValue = euro ? worth : QString();
    marketValue.replace(QLatin1Char('.'), QLatin1Char(','));
    storeNumber(record.marketValue, normaliseMarketValue(marketValue), QStringLiteral("Valore"));

    store(record.language, value(C::Languages));
    storeNumber(record.complexity, complexity(value(C::AverageWeight)), QStringLiteral(u"Complessit\u00E0"));
    storeNumber(record.players,
                range(positiveNumber(value(C::MinPlayers)), positiveNumber(value(C::MaxPlayers))),
                QStringLiteral("Giocatori"));
    store(record.recommendedAge, value(C::AgeRange));
    const int minutes = positiveNumber(value(C::PlayingTime));
    const QString playTime =
        minutes > 0 ? QString::number(minutes)
                    : range(positiveNumber(value(C::MinPlayTime)), positiveNumber(value(C::MaxPlayTime)));
    storeNumber(record.playingTime, playTime.isEmpty() ? playTime : playTime + QStringLiteral(" minuti"),
                QStringLiteral("Durata"));
    store(record.condition, oneLine(value(C::Condition)));
    store(record.storagePlace, oneLine(value(C::Location)));
    QString notes = withNote(oneLine(value(C::Comment)), oneLine(value(C::PrivateComment)));
    for (const QString& line : numbersForNotes) {
        const QString longer = withNote(notes, line);
        if (fitsField(longer, record.notes.capacity)) {
            notes = longer;
            ++counts.numbersInNotes;
        } else {
            ++counts.store.cutValues;
        }
    }
    store(record.notes, notes);
    store(record.forSale, value(C::ForTrade).trimmed() == QLatin1String("1") ? ForSaleYes : ForSaleNo);
    return true;
}

} // namespace brivanto
