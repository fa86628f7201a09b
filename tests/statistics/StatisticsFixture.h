#pragma once

#include "storage/FieldText.h"

#include <QFile>
#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

// A game holding the given texts in the named fields (Fields' names), the others empty; "forSale"
// is "No" unless given.
inline brivanto::GameRecord game(std::initializer_list<std::pair<const char*, QString>> values)
{
    using namespace brivanto;
    GameRecord record{};
    writeForSale(record, false);
    for (const auto& [name, text] : values) {
        for (const FieldInfo& info : Fields) {
            if (info.name == name)
                textToField(text, fieldAt(record, info), info.capacity);
        }
    }
    return record;
}

// A game whose field holds exactly these bytes (a stored value the program's own conversion would
// never write, such as a damaged length or a Windows-1252 accent).
inline void putRawField(brivanto::GameRecord& record, const char* name, const QByteArray& bytes)
{
    using namespace brivanto;
    for (const FieldInfo& info : Fields) {
        if (info.name == name) {
            std::uint8_t* field = fieldAt(record, info);
            field[0] = std::uint8_t(bytes.size());
            std::memcpy(field + 1, bytes.constData(), std::size_t(bytes.size()));
        }
    }
}

inline bool writeGames(const QString& path, const std::vector<brivanto::GameRecord>& games)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const brivanto::GameRecord& record : games) {
        if (file.write(reinterpret_cast<const char*>(&record), sizeof record) != qint64(sizeof record))
            return false;
    }
    return true;
}
