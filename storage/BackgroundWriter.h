#pragma once

#include <QIODevice>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace brivanto {

// Writes blocks on a thread of its own, so that the next block is made while the last one is being
// written: on two cores a long export or import then takes about as long as its writes alone.
// What the blocks are written to is used by that thread only, from the first hand() to finish().
class BackgroundWriter
{
public:
    // True when the whole block was written.
    using Write = std::function<bool(std::string_view block)>;
    explicit BackgroundWriter(Write write);
    ~BackgroundWriter(); // finishes, if finish() was not called
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes a block whose first `used` bytes are to be written, and gives back another to fill
    // next, of the size of one handed before (empty the first times): the blocks go round without
    // being made again. Waits while an earlier block is still waiting to be written. False once a
    // write has failed: nothing more is written then.
    bool hand(std::string& block, std::size_t used);
    // Waits until every block handed is written; false when a write failed.
    bool finish();

private:
    void run();

    const Write write_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string waiting_; // handed, not yet taken by the thread
    std::size_t waitingUsed_ = 0;
    bool blockWaiting_ = false;
    bool finishing_ = false;
    bool failed_ = false;
    std::thread thread_;
};

// Writes to `device`. A file starts on its way to the disk block by block, so that the sync that
// ends a safe replacement waits only for the last block.
BackgroundWriter::Write writeToDevice(QIODevice& device);

// Output made in blocks of about a megabyte, each handed to a background writer once full: one
// system call per block, and the next block made while the last is written.
class BlockOutput
{
public:
    explicit BlockOutput(QIODevice& device) : writer_(writeToDevice(device)) {}

    // Room for `bytes` more at end(); false once a write has failed.
    bool reserve(std::size_t bytes)
    {
        if (block_.size() - used_ >= bytes)
            return true;
        const bool handed = handOver();
        // The block given back is one handed before, or nothing the first times.
        if (block_.size() < std::max(bytes, BlockSize))
            block_.resize(std::max(bytes, BlockSize));
        return handed;
    }
    char* end() { return block_.data() + used_; }
    void advanceTo(char* end) { used_ = static_cast<std::size_t>(end - block_.data()); }
    // The first `used` bytes of a block made elsewhere, after what was made here.
    bool add(std::string& block, std::size_t used) { return handOver() && writer_.hand(block, used); }
    bool finish() { return handOver() && writer_.finish(); }

private:
    static constexpr std::size_t BlockSize = 1 << 20;
    bool handOver()
    {
        const bool handed = used_ == 0 || writer_.hand(block_, used_);
        used_ = 0;
        return handed;
    }

    BackgroundWriter writer_;
    std::string block_;
    std::size_t used_ = 0;
};

} // namespace brivanto
