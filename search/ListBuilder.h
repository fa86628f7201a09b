#pragma once

#include "search/ListLines.h"
#include "storage/GameRecord.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace brivanto {

// Builds a list in list order while its lines are still coming in from an archive being read.
// Each block of lines is sorted on a second thread as soon as it is full, while the next block
// fills, and added to the list as a sorted run; the runs are merged at the end. After the last
// record has been read, only the last block and the merge are left to do. A list that fits in one
// block is sorted where it is built, with no second thread.
//
// The lines themselves are written on the reading thread: the records' bytes, just copied from
// the file, are still in that processor's cache, and a thread on another processor would fetch
// them again from memory.
class ListBuilder
{
public:
    // `expectedLines`: how many lines the list may come to, for the room made ahead (more may come).
    explicit ListBuilder(qsizetype expectedLines, qsizetype linesPerBlock = DefaultLinesPerBlock);
    ~ListBuilder();
    ListBuilder(const ListBuilder&) = delete;
    ListBuilder& operator=(const ListBuilder&) = delete;

    void append(const GameRecord& record);
    // The lines appended, in list order (lines equal in that order keep the order they came in).
    // The builder is empty afterwards.
    ListLines finish();
    // The lines appended as sorted runs, not merged yet: for a list built in parts, whose runs
    // are put together (ListLines::appendRuns) and merged once. The builder is empty afterwards.
    ListLines finishRuns();

    // About a megabyte of lines a block: its sort runs in the processor's cache.
    static constexpr qsizetype DefaultLinesPerBlock = 8192;

private:
    void handOver();
    void sortBlocks();

    const qsizetype linesPerBlock_;
    const qsizetype expectedLines_;
    ListLines filling_;

    // Shared with the sorting thread.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<ListLines> waiting_; // full blocks, in the order they were filled
    bool ending_ = false;
    std::exception_ptr failure_;
    std::thread sorter_;
    // The sorted runs: the sorting thread's alone until it has been joined.
    ListLines runs_;
};

} // namespace brivanto
