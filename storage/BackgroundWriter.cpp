#include "storage/BackgroundWriter.h"

#include <QFileDevice>

#include <fcntl.h>

namespace brivanto {

BackgroundWriter::BackgroundWriter(Write write) : write_(std::move(write)), thread_([this] { run(); }) {}

BackgroundWriter::~BackgroundWriter()
{
    finish();
}

bool BackgroundWriter::hand(std::string& block, std::size_t used)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !blockWaiting_ || failed_; });
    if (failed_)
        return false;
    waiting_.swap(block);
    waitingUsed_ = used;
    blockWaiting_ = true;
    changed_.notify_all();
    return true;
}

bool BackgroundWriter::finish()
{
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    return !failed_;
}

void BackgroundWriter::run()
{
    std::string writing;
    std::size_t used = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return blockWaiting_ || finishing_; });
            if (!blockWaiting_)
                return;
            writing.swap(waiting_);
            used = waitingUsed_;
            blockWaiting_ = false;
        }
        changed_.notify_all();
        const bool written = write_(std::string_view(writing.data(), used));
        if (!written) {
            std::lock_guard lock(mutex_);
            failed_ = true;
            changed_.notify_all();
            return;
        }
    }
}

BackgroundWriter::Write writeToDevice(QIODevice& device)
{
    const auto* file = qobject_cast<QFileDevice*>(&device);
    const int handle = file ? file->handle() : -1;
    return [&device, handle, offset = off_t(0)](std::string_view block) mutable {
        const auto size = static_cast<qint64>(block.size());
        if (device.write(block.data(), size) != size)
            return false;
        // Only a hint: where it is not taken, the sync writes everything.
        if (handle >= 0)
            ::sync_file_range(handle, offset, size, SYNC_FILE_RANGE_WRITE);
        offset += size;
        return true;
    };
}

} // namespace brivanto
