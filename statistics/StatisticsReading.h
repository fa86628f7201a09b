#pragma once

#include "statistics/CollectionStatistics.h"
#include "storage/GameRecord.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace brivanto {
class ArchiveFile;
}

namespace brivanto::statistics {

// Which records the statistics cover: every record when empty. It runs on a thread of its own.
using RecordTest = std::function<bool(const GameRecord&)>;

// The statistics of the records of an archive that `covered` accepts. The archive is opened for
// reading here, on the calling thread, exactly as the scans of the lists open it (a lock held by
// another program is waited for there, under the application's wait cursor); then each record is
// read once, on threads of their own while the photo folder is listed on another, so that the
// caller's event loop keeps running: a large archive in two halves at once, whose statistics are
// joined at the end. `finished` is called, on one of those threads (or at once, when the archive
// cannot be opened), once all are done; result() then hands over what was read.
class StatisticsReading
{
public:
    StatisticsReading(const QString& archivePath, const QString& photoFolder, const QString& archiveName,
                      RecordTest covered, int currentYear, std::function<void()> finished);
    ~StatisticsReading();
    StatisticsReading(const StatisticsReading&) = delete;
    StatisticsReading& operator=(const StatisticsReading&) = delete;

    bool isFinished() const { return pending_.load() == 0; }
    // Whether the archive could be opened; when not, `finished` has already been called.
    bool isOpened() const { return opened_; }
    // Stops the reading at the next record: result() is then empty. For a screen closed while it reads.
    void cancel() { cancelled_ = true; }
    // Waits for both threads. The statistics, or none when the archive could not be opened or read
    // to its end.
    std::unique_ptr<CollectionStatistics> result();

private:
    // One part of the archive, read on its own thread from its own opening of the file.
    struct Half
    {
        std::unique_ptr<ArchiveFile> archive;
        std::unique_ptr<CollectionStatistics> statistics;
        int from = 0; // record indexes, from 0, the last excluded
        int to = 0;
        std::thread thread;
    };
    void read(Half& half, const RecordTest& covered);
    void done();
    void join();

    Half first_;
    Half second_;
    std::unique_ptr<PhotosPresent> photos_;
    std::function<void()> finished_;
    std::atomic<int> pending_{0};
    std::atomic<bool> failed_{false};
    std::atomic<bool> cancelled_{false};
    bool opened_ = false;
    std::thread lister_;
};

// The same, read to the end on the calling thread: for tests and tools.
std::unique_ptr<CollectionStatistics> readStatistics(const QString& archivePath, const QString& photoFolder,
                                                     const QString& archiveName, RecordTest covered,
                                                     int currentYear);

} // namespace brivanto::statistics
