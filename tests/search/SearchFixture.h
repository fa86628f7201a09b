#pragma once

#include "storage/FieldText.h"

#include <QFile>
#include <QString>

#include <initializer_list>
#include <utility>

// A record holding the given texts in the named fields and nothing in the others.
inline brivanto::GameRecord gameRecord(std::initializer_list<std::pair<const char*, QString>> values)
{
    using namespace brivanto;
    GameRecord record{};
    for (const auto& [name, text] : values) {
        for (const FieldInfo& info : Fields) {
            if (info.name == name)
                textToField(text, fieldAt(record, info), info.capacity);
        }
    }
    return record;
}

// A game with the five columns of its list line and a for-sale mark.
inline brivanto::GameRecord listedGame(const QString& title, const QString& id, const QString& genre,
                                       const QString& publisher, const QString& year, const QString& value,
                                       const QString& forSale = QStringLiteral("No"))
{
    return gameRecord({{"name", title},
                       {"idCode", id},
                       {"genre", genre},
                       {"publisher", publisher},
                       {"year", year},
                       {"marketValue", value},
                       {"forSale", forSale}});
}

inline QByteArray archiveBytes(std::initializer_list<brivanto::GameRecord> records)
{
    QByteArray bytes;
    for (const brivanto::GameRecord& record : records)
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    return bytes;
}

inline bool writeArchive(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The list line as the columns read: each text cut or filled to its width, the value as it is.
inline QString expectedLine(const QString& title, const QString& id, const QString& genre,
                            const QString& publisher, const QString& year, const QString& value)
{
    return title.leftJustified(30, u' ', true) + QStringLiteral("  ID: ") + id.leftJustified(24, u' ', true) +
           QStringLiteral("  Genere: ") + genre.leftJustified(24, u' ', true) +
           QStringLiteral("  Editore: ") + publisher.leftJustified(24, u' ', true) +
           QStringLiteral("  Anno: ") + year.leftJustified(4, u' ', true) + QStringLiteral("  \u20AC ") +
           value;
}
