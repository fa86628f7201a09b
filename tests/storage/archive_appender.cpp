// Appends records to an archive, one archive operation per record, as a second program sharing
// the archive would. Used by the concurrency test: archive_appender <path> <writer> <count>.
#include "TaggedRecord.h"
#include "storage/ArchiveFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

using namespace brivanto;

int main(int argc, char* argv[])
{
    if (argc != 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int writer = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            ArchiveFile archive;
            archive.Open(path);
            archive.Seek(archive.RecordCount());
            archive.Write(taggedRecord(writer, i));
            archive.Close();
        }
    } catch (const ArchiveError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
