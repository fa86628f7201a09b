#include "search/ListBuilder.h"

#include <algorithm>
#include <utility>

namespace brivanto {

ListBuilder::ListBuilder(qsizetype expectedLines, qsizetype linesPerBlock)
    : linesPerBlock_(std::max<qsizetype>(1, linesPerBlock)), expectedLines_(expectedLines)
{
    filling_.reserve(std::clamp<qsizetype>(expectedLines_, 1, linesPerBlock_));
}

ListBuilder::~ListBuilder()
{
    if (!sorter_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        waiting_.clear();
        ending_ = true;
    }
    wake_.notify_one();
    sorter_.join();
}

void ListBuilder::append(const GameRecord& record)
{
    filling_.append(record);
    if (filling_.size() >= linesPerBlock_)
        handOver();
}

void ListBuilder::handOver()
{
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::exchange(filling_, ListLines()));
    }
    wake_.notify_one();
    if (!sorter_.joinable()) {
        // Room for every line expected, made where the runs will lie before anything is read.
        runs_.reserve(std::max(expectedLines_, 2 * linesPerBlock_));
        sorter_ = std::thread(&ListBuilder::sortBlocks, this);
    }
    filling_.reserve(linesPerBlock_);
}

void ListBuilder::sortBlocks()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;
        ListLines block = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        try {
            runs_.appendSortedRun(std::move(block));
        } catch (...) {
            lock.lock();
            failure_ = std::current_exception();
            waiting_.clear();
            return;
        }
        lock.lock();
    }
}

ListLines ListBuilder::finish()
{
    if (!sorter_.joinable()) {
        ListLines last = std::exchange(filling_, ListLines());
        last.sort();
        return last;
    }
    ListLines runs = finishRuns();
    runs.mergeRuns();
    return runs;
}

ListLines ListBuilder::finishRuns()
{
    ListLines last = std::exchange(filling_, ListLines());
    if (sorter_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        wake_.notify_one();
        sorter_.join();
        ending_ = false;
        if (failure_)
            std::rethrow_exception(std::exchange(failure_, nullptr));
    }
    runs_.appendSortedRun(std::move(last));
    return std::exchange(runs_, ListLines());
}

} // namespace brivanto
