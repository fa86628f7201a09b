#include "statistics/StatisticsReading.h"

#include "storage/ArchiveFile.h"
#include "storage/PhotoNames.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <stdexcept>

namespace brivanto::statistics {
namespace {

using GameSummary = CollectionStatistics::GameSummary;
constexpr int FieldChartCount = CollectionStatistics::FieldChartCount;

// One covered record as the charts need it: its summary, the sizes of its chart fields' texts,
// then the texts back to back.
struct PackedHeader
{
    GameSummary game;
    std::array<std::uint8_t, FieldChartCount> sizes;
};

// The most one record takes packed, and the slack a fixed sixteen-byte copy of a shorter text
// writes past its end.
constexpr std::size_t ShortText = 16;
constexpr std::size_t MostPacked = [] {
    std::size_t bytes = sizeof(PackedHeader) + ShortText;
    for (const ChartInfo& info : Charts) {
        if (info.grouping != Grouping::MostValuable)
            bytes += Fields[info.field].capacity;
    }
    return bytes;
}();

constexpr bool shortCopiesStayInTheRecord()
{
    for (const ChartInfo& info : Charts) {
        if (Fields[info.field].offset + 1 + Fields[info.field].capacity + ShortText > RecordSize)
            return false;
    }
    return true;
}
static_assert(shortCopiesStayInTheRecord());

} // namespace

// A block of packed records: room for BlockQueue::BlockRecords of the longest kind.
struct PackedBlock
{
    std::vector<std::uint8_t> bytes;
    std::size_t used = 0;
    std::size_t records = 0;
};

namespace {} // namespace

// The records handed from the reading thread to the charts' thread, a block at a time. At most
// `InFlight` blocks exist: the reader waits when the charts fall behind, so memory stays small.
class BlockQueue
{
public:
    static constexpr std::size_t BlockRecords = 1024;
    static constexpr int InFlight = 4;

    PackedBlock emptyBlock()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !spare_.empty() || made_ < InFlight || stopped_; });
        if (stopped_)
            throw std::runtime_error("the groups stopped");
        if (!spare_.empty()) {
            PackedBlock block = std::move(spare_.back());
            spare_.pop_back();
            block.used = 0;
            block.records = 0;
            return block;
        }
        ++made_;
        PackedBlock block;
        block.bytes.resize(BlockRecords * MostPacked);
        return block;
    }
    void hand(PackedBlock block)
    {
        {
            std::lock_guard lock(mutex_);
            full_.push_back(std::move(block));
        }
        changed_.notify_all();
    }
    // The next block, or none once the reader has closed the queue and every block is taken.
    bool take(PackedBlock& block)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !full_.empty() || closed_ || stopped_; });
        if (full_.empty() || stopped_)
            return false;
        block = std::move(full_.front());
        full_.pop_front();
        return true;
    }
    void giveBack(PackedBlock block)
    {
        {
            std::lock_guard lock(mutex_);
            spare_.push_back(std::move(block));
        }
        changed_.notify_all();
    }
    void close()
    {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        changed_.notify_all();
    }
    // Either side gave up: the other stops waiting.
    void stop()
    {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PackedBlock> full_;
    std::vector<PackedBlock> spare_;
    int made_ = 0;
    bool closed_ = false;
    bool stopped_ = false;
};

namespace {

// The trimmed text of a field, as FieldToText reads it.
std::string_view trimmedText(const GameRecord& record, std::size_t field)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    const FieldInfo& info = Fields[field];
    const std::uint8_t* begin = bytes + info.offset + 1;
    const std::uint8_t* end = begin + std::min<std::size_t>(bytes[info.offset], info.capacity);
    while (begin < end && *begin <= 0x20)
        ++begin;
    while (end > begin && end[-1] <= 0x20)
        --end;
    return {reinterpret_cast<const char*>(begin), std::size_t(end - begin)};
}

void pack(PackedBlock& block, const GameSummary& game, const GameRecord& record)
{
    std::uint8_t* const start = block.bytes.data() + block.used;
    std::uint8_t* out = start + sizeof(PackedHeader);
    PackedHeader header{game, {}};
    for (int c = 0; c < FieldChartCount; ++c) {
        const std::string_view text =
            trimmedText(record, CollectionStatistics::chartFields()[std::size_t(c)]);
        header.sizes[std::size_t(c)] = std::uint8_t(text.size());
        // Most texts are short: one fixed move, which stays inside the record (every grouped field
        // lies well before its end) and inside the block's slack.
        if (text.size() <= ShortText)
            std::memcpy(out, text.data(), ShortText);
        else
            std::memcpy(out, text.data(), text.size());
        out += text.size();
    }
    std::memcpy(start, &header, sizeof header);
    block.used = std::size_t(out - block.bytes.data());
    ++block.records;
}

void unpackInto(CollectionStatistics& statistics, const PackedBlock& block)
{
    const std::uint8_t* in = block.bytes.data();
    const std::uint8_t* const end = in + block.used;
    CollectionStatistics::ChartTexts texts;
    while (in < end) {
        PackedHeader header;
        std::memcpy(&header, in, sizeof header);
        in += sizeof header;
        for (int c = 0; c < FieldChartCount; ++c) {
            const std::size_t size = header.sizes[std::size_t(c)];
            texts[std::size_t(c)] = {reinterpret_cast<const char*>(in), size};
            in += size;
        }
        statistics.addToCharts(header.game, texts);
    }
}

} // namespace

StatisticsReading::StatisticsReading(const QString& archivePath, const QString& photoFolder,
                                     const QString& archiveName, RecordTest covered, int currentYear,
                                     std::function<void()> finished)
    : finished_(std::move(finished))
{
    int count = 0;
    try {
        archive_ = std::make_unique<ArchiveFile>();
        archive_->Open(archivePath, ArchiveFile::Access::Read);
        count = archive_->RecordCount();
    } catch (const ArchiveError&) {
        failed_ = true;
        archive_.reset();
        pending_ = 0;
        if (finished_)
            finished_();
        return;
    }
    opened_ = true;
    statistics_ = std::make_unique<CollectionStatistics>(currentYear);
    statistics_->setArchiveRecords(count);
    if (!covered)
        statistics_->reserve(count);
    queue_ = std::make_unique<BlockQueue>();
    pending_ = 3;

    // The archive is read once, on this thread, which keeps the figures; the groups are made on
    // the next one from the texts it hands over, while the following records are read.
    reader_ = std::thread([this, covered = std::move(covered)] {
        try {
            PackedBlock block = queue_->emptyBlock();
            while (!archive_->AtEnd()) {
                if (cancelled_)
                    throw std::runtime_error("cancelled");
                const GameRecord& record = archive_->ReadInPlace();
                if (covered && !covered(record))
                    continue;
                pack(block, statistics_->addFigures(record, archive_->Pointer()), record);
                if (block.records == BlockQueue::BlockRecords) {
                    queue_->hand(std::move(block));
                    block = queue_->emptyBlock();
                }
            }
            if (block.records > 0)
                queue_->hand(std::move(block));
            archive_->Close();
            queue_->close();
        } catch (...) {
            // An archive that fails halfway (ArchiveError), or memory that runs out.
            failed_ = true;
            queue_->stop();
        }
        archive_.reset();
        done();
    });
    grouper_ = std::thread([this] {
        try {
            PackedBlock block;
            while (queue_->take(block)) {
                unpackInto(*statistics_, block);
                queue_->giveBack(std::move(block));
            }
        } catch (...) {
            failed_ = true;
            queue_->stop();
        }
        done();
    });
    lister_ = std::thread([this, photoFolder, archiveName, count] {
        try {
            photos_ = std::make_unique<PhotosPresent>(listPhotos(photoFolder, archiveName, 1, count));
        } catch (...) {
            failed_ = true;
        }
        done();
    });
}

StatisticsReading::~StatisticsReading()
{
    join();
}

void StatisticsReading::join()
{
    for (std::thread* thread : {&reader_, &grouper_, &lister_}) {
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
    if (failed_ || cancelled_ || !statistics_)
        return nullptr;
    statistics_->finish(photos_.get());
    return std::move(statistics_);
}

std::unique_ptr<CollectionStatistics> readStatistics(const QString& archivePath, const QString& photoFolder,
                                                     const QString& archiveName, RecordTest covered,
                                                     int currentYear)
{
    StatisticsReading reading(archivePath, photoFolder, archiveName, std::move(covered), currentYear, {});
    return reading.result();
}

} // namespace brivanto::statistics
