#pragma once

#include "storage/FieldText.h"
#include "storage/PhotoNames.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

// An archive of records named by their titles, and photo files whose bytes name the record and
// slot they belong to: a photo that followed the wrong record, or a lost one, shows at once.
namespace deletion_fixture {

inline QByteArray recordBytes(const QString& title)
{
    brivanto::GameRecord record;
    brivanto::TextToField(title, record.name);
    brivanto::TextToField(QStringLiteral("scatola di ") + title, record.description);
    brivanto::writeForSale(record, false);
    return QByteArray(reinterpret_cast<const char*>(&record), brivanto::RecordSize);
}

inline QByteArray archiveOf(const QStringList& titles)
{
    QByteArray bytes;
    for (const QString& title : titles)
        bytes += recordBytes(title);
    return bytes;
}

inline QByteArray photoOf(const QString& title, char slot)
{
    return QByteArrayLiteral("foto ") + slot + " di " + title.toUtf8();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The photo files of an archive: file name -> content.
inline QMap<QString, QByteArray> photoFiles(const QString& folder)
{
    QMap<QString, QByteArray> files;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        files.insert(name, readFile(folder + QLatin1Char('/') + name));
    return files;
}

// What the photo folder must hold for `titles` in archive order, where `slots[i]` lists the
// slots ("AB", "A", "" ...) that record i has a photo in.
inline QMap<QString, QByteArray> expectedPhotos(const QString& archiveName, const QStringList& titles,
                                                const QStringList& slots)
{
    QMap<QString, QByteArray> files;
    for (int i = 0; i < titles.size(); ++i)
        for (QChar slot : slots[i])
            files.insert(brivanto::photoFileName(archiveName, i + 1, char(slot.unicode())),
                         photoOf(titles[i], char(slot.unicode())));
    return files;
}

} // namespace deletion_fixture
