#pragma once

#include "storage/FieldText.h"
#include "storage/GameRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

// A temporary folder with archives and CSV files made of exact bytes.
class ExchangeFolder
{
public:
    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeArchive(const QString& name, const std::vector<brivanto::GameRecord>& records) const
    {
        write(name, QByteArray(reinterpret_cast<const char*>(records.data()),
                               qsizetype(records.size() * brivanto::RecordSize)));
    }

    std::vector<brivanto::GameRecord> readArchive(const QString& name) const
    {
        const QByteArray bytes = read(name);
        std::vector<brivanto::GameRecord> records(std::size_t(bytes.size()) / brivanto::RecordSize);
        std::memcpy(static_cast<void*>(records.data()), bytes.constData(),
                    records.size() * brivanto::RecordSize);
        return records;
    }

    QTemporaryDir dir;
};

// The 28 values of a record as the screens show them.
inline QStringList recordTexts(const brivanto::GameRecord& record)
{
    QStringList texts;
    for (const auto& field : brivanto::Fields)
        texts << brivanto::fieldToText(brivanto::fieldAt(record, field), field.capacity);
    return texts;
}

// A record whose fields hold these texts (stored as the editor stores them), the rest empty.
inline brivanto::GameRecord recordOf(const QStringList& texts)
{
    brivanto::GameRecord record{};
    for (int f = 0; f < brivanto::FieldCount; ++f)
        brivanto::textToField(texts.value(f), brivanto::fieldAt(record, brivanto::Fields[f]),
                              brivanto::Fields[f].capacity);
    return record;
}
