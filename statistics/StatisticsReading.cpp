#include "statistics/StatisticsReading.h"

#include "storage/ArchiveFile.h"
#include "storage/ArchiveHalves.h"
#include "storage/GameArchive.h"
#include "storage/PhotoNames.h"

#include <stdexcept>

namespace brivanto::statistics {

StatisticsReading::StatisticsReading(const QString& archivePath, const QString& photoFolder,
                                     const QString& archiveName, RecordTest covered, int currentYear,
                                     std::function<void()> finished)
    : finished_(std::move(finished))
{
    int count = 0;
    int middle = 0;
    try {
        ArchiveHalves halves(archivePath);
        count = halves.count();
        middle = halves.middle();
        first_.archive = halves.takeFirst();
        second_.archive = halves.takeSecond();
    } catch (const ArchiveError&) {
        if (finished_)
            finished_();
        return;
    }
    opened_ = true;
    first_.statistics = std::make_unique<CollectionStatistics>(currentYear);
    first_.statistics->setArchiveRecords(count);
    first_.from = 0;
    first_.to = middle;
    if (second_.archive) {
        second_.statistics = std::make_unique<CollectionStatistics>(currentYear);
        second_.from = first_.to;
        second_.to = count;
    }
    if (!covered) {
        first_.statistics->reserve(count);
        if (second_.statistics)
            second_.statistics->reserve(count - first_.to);
    }
    pending_ = second_.archive ? 3 : 2;
    first_.thread = std::thread([this, covered] { read(first_, covered); });
    if (second_.archive)
        second_.thread = std::thread([this, covered] { read(second_, covered); });
    lister_ = std::thread([this, archivePath, photoFolder, archiveName, count] {
        try {
            // A photo folder that cannot be read is an error, never a collection without photos.
            photos_ = std::make_unique<PhotosPresent>(
                GameArchive(archivePath, photoFolder, archiveName).listPhotos(1, count));
        } catch (...) {
            failed_ = true;
        }
        done();
    });
}

void StatisticsReading::read(Half& half, const RecordTest& covered)
{
    try {
        half.archive->Seek(half.from);
        for (int index = half.from; index < half.to; ++index) {
            if (cancelled_)
                throw std::runtime_error("cancelled");
            const GameRecord& record = half.archive->ReadInPlace();
            if (!covered || covered(record))
                half.statistics->add(record, index + 1);
        }
        half.archive->Close();
    } catch (...) {
        // An archive that fails halfway (ArchiveError), memory that runs out, a cancelled reading.
        failed_ = true;
    }
    half.archive.reset();
    done();
}

StatisticsReading::~StatisticsReading()
{
    join();
}

void StatisticsReading::join()
{
    for (std::thread* thread : {&first_.thread, &second_.thread, &lister_}) {
        if (thread->joinable())
            thread->join();
    }
}

void StatisticsReading::done()
{
    if (pending_.fetch_sub(1) == 1 && finished_)
        finished_();
}

std::unique_ptr<CollectionStatistics> StatisticsReading::result()
{
    join();
    if (failed_ || cancelled_ || !first_.statistics)
        return nullptr;
    if (second_.statistics)
        first_.statistics->absorb(std::move(*second_.statistics));
    second_.statistics.reset();
    first_.statistics->finish(photos_.get());
    return std::move(first_.statistics);
}

std::unique_ptr<CollectionStatistics> readStatistics(const QString& archivePath, const QString& photoFolder,
                                                     const QString& archiveName, RecordTest covered,
                                                     int currentYear)
{
    StatisticsReading reading(archivePath, photoFolder, archiveName, std::move(covered), currentYear, {});
    return reading.result();
}

} // namespace brivanto::statistics
