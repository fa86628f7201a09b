#include "storage/ArchiveHalves.h"

#include "storage/GameArchive.h"

namespace brivanto {

ArchiveHalves::ArchiveHalves(const QString& path, int splitFrom) : first_(std::make_unique<ArchiveFile>())
{
    GameArchive::openForReading(*first_, path);
    count_ = first_->RecordCount();
    middle_ = count_;
    if (count_ < splitFrom)
        return;
    auto second = std::make_unique<ArchiveFile>();
    try {
        GameArchive::openForReading(*second, path);
    } catch (const ArchiveError&) {
        return; // the first opening reads it all
    }
    if (second->RecordCount() != count_)
        return;
    middle_ = count_ / 2;
    second->Seek(middle_);
    second_ = std::move(second);
}

} // namespace brivanto
