#include "storage/CheckedSave.h"

#include "storage/ArchiveFile.h"

#include <cstring>

namespace brivanto {

CheckedSaveOutcome writeIfUnchanged(const QString& archivePath, int position, QByteArrayView loadedRecord,
                                    const GameRecord& record)
{
    ArchiveFile archive;
    archive.Open(archivePath);
    if (position < 1 || position > archive.RecordCount() || loadedRecord.size() != qsizetype(RecordSize))
        return CheckedSaveOutcome::RecordChanged;
    archive.Seek(position - 1);
    if (std::memcmp(&archive.ReadInPlace(), loadedRecord.data(), RecordSize) != 0)
        return CheckedSaveOutcome::RecordChanged;
    archive.Seek(position - 1);
    archive.Write(record);
    archive.Close();
    return CheckedSaveOutcome::Written;
}

} // namespace brivanto
