#pragma once

#include "storage/ArchiveFile.h"

#include <QString>

#include <array>
#include <exception>
#include <memory>
#include <thread>
#include <type_traits>

namespace brivanto {

// An archive opened for reading every record, in two halves at once when it is large: each half
// from its own opening of the file, read by a thread of its own. On two cores each processor then
// copies its own records out of the system's cache and looks at them while they are still in its
// own cache, so the visit takes about half as long as one reading of the file; each record is
// still read once. The second opening comes while the first holds its lock, so both see the same
// records; where the file system cannot lock and another program changed the archive in between,
// the first half is the whole archive.
class ArchiveHalves
{
public:
    // Below this many records one thread reads the whole archive.
    static constexpr int SplitFrom = 4096;

    // Opens the archive at `path` as every visit opens it (GameArchive::openForReading). Throws
    // ArchiveError.
    explicit ArchiveHalves(const QString& path, int splitFrom = SplitFrom);

    int count() const { return count_; }
    // The first record of the second half: count() when there is no second half.
    int middle() const { return middle_; }
    // The first half's opening, at record 0.
    ArchiveFile& first() { return *first_; }
    // The second half's opening, at middle(); none when the archive is read whole.
    ArchiveFile* second() { return second_.get(); }
    std::unique_ptr<ArchiveFile> takeFirst() { return std::move(first_); }

    // Reads both halves at once: `read(archive, from, to)` for the second half on a thread of its
    // own, for the first on the calling thread, each with its half's opening. The results come in
    // file order; the second is a default one when the archive is read whole. What the first half
    // throws is thrown once the second has ended, otherwise what the second threw.
    template <class Read> auto readBoth(Read&& read)
    {
        std::array<std::invoke_result_t<Read&, ArchiveFile&, int, int>, 2> results{};
        std::exception_ptr secondFailure;
        {
            std::jthread second;
            if (second_) {
                second = std::jthread([&] {
                    try {
                        results[1] = read(*second_, middle_, count_);
                    } catch (...) {
                        secondFailure = std::current_exception();
                    }
                });
            }
            results[0] = read(*first_, 0, middle_);
        }
        if (secondFailure)
            std::rethrow_exception(secondFailure);
        return results;
    }
    std::unique_ptr<ArchiveFile> takeSecond() { return std::move(second_); }

private:
    std::unique_ptr<ArchiveFile> first_;
    std::unique_ptr<ArchiveFile> second_;
    int count_ = 0;
    int middle_ = 0;
};

} // namespace brivanto
