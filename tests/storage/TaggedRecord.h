#pragma once

#include "storage/FieldText.h"

#include <QString>

// A record whose every field carries its writer and sequence number, so that a record made of
// two writers' bytes, or a lost or doubled one, shows at once.
inline brivanto::GameRecord taggedRecord(int writer, int sequence)
{
    using namespace brivanto;
    GameRecord record;
    const QString tag = QStringLiteral("%1/%2|").arg(writer).arg(sequence);
    for (const FieldInfo& info : Fields)
        textToField(QString(tag + QString(int(info.capacity), QLatin1Char(char('a' + writer)))),
                    fieldAt(record, info), info.capacity);
    return record;
}
