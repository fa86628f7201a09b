#include "exchange/BoardGameGeekRow.h"

#include "editor/MarketValue.h"
#include "exchange/CsvReader.h"
#include "storage/FieldText.h"

#include <QRegularExpression>

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
    QString name = value(C::ObjectName);
    if (trimmed(name).isEmpty())
        name = value(C::OriginalName);
    store(record.name, name);
    store(record.idCode, value(C::ObjectId));
    store(record.publisher, value(C::Publishers));
    const int year = value(C::YearPublished).trimmed().toInt();
    store(record.year, year != 0 ? QString::number(year) : QString());

    const QString currency = value(C::ValueCurrency).trimmed().toUpper();
    const QString worth = value(C::CurrentValue).trimmed();
    const bool euro =
        currency.isEmpty() || currency == QLatin1String("EUR") || currency == QStringLiteral(u"\u20AC");
    if (!euro && !worth.isEmpty())
        ++counts.otherCurrency;
    QString marketValue = euro ? worth : QString();
    marketValue.replace(QLatin1Char('.'), QLatin1Char(','));
    store(record.marketValue, normaliseMarketValue(marketValue));

    store(record.language, value(C::Languages));
    store(record.complexity, complexity(value(C::AverageWeight)));
    store(record.players, range(positiveNumber(value(C::MinPlayers)), positiveNumber(value(C::MaxPlayers))));
    store(record.recommendedAge, value(C::AgeRange));
    const int minutes = positiveNumber(value(C::PlayingTime));
    const QString playTime =
        minutes > 0 ? QString::number(minutes)
                    : range(positiveNumber(value(C::MinPlayTime)), positiveNumber(value(C::MaxPlayTime)));
    store(record.playingTime, playTime.isEmpty() ? playTime : playTime + QStringLiteral(" minuti"));
    store(record.condition, oneLine(value(C::Condition)));
    store(record.storagePlace, oneLine(value(C::Location)));
    const QString comment = oneLine(value(C::Comment));
    const QString privateComment = oneLine(value(C::PrivateComment));
    store(record.notes, comment.isEmpty() || privateComment.isEmpty()
                            ? QString(comment + privateComment)
                            : QString(comment + QStringLiteral(" / ") + privateComment));
    store(record.forSale, value(C::ForTrade).trimmed() == QLatin1String("1") ? ForSaleYes : ForSaleNo);
    return true;
}

} // namespace brivanto
