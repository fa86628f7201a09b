#include "exchange/CsvExport.h"

#include "editor/PhotoFile.h"
#include "exchange/CsvColumns.h"
#include "platform/Windows1252.h"
#include "storage/ArchiveFile.h"
#include "storage/ArchiveHalves.h"
#include "storage/BackgroundWriter.h"
#include "storage/PhotoNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <fcntl.h>

namespace brivanto {
namespace {

// Each stored byte as UTF-8 (one to three bytes).
struct Utf8Of
{
    std::uint8_t size = 0;
    std::array<char, 3> bytes{};
};

const std::array<Utf8Of, 256>& utf8Table()
{
    static const std::array<Utf8Of, 256> table = [] {
        std::array<Utf8Of, 256> t;
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<std::uint8_t>(b);
            const QByteArray utf8 = platform::fromWindows1252(&byte, 1).toUtf8();
            t[b].size = static_cast<std::uint8_t>(utf8.size());
            std::memcpy(t[b].bytes.data(), utf8.constData(), static_cast<std::size_t>(utf8.size()));
        }
        return t;
    }();
    return table;
}

// What each stored byte asks of the value that holds it. Quotes: the separator, the quote and
// every control character put the value in quotes wherever they stand (quoting control characters
// keeps a NUL byte inside quotes, where the import's test for binary files does not look).
// Recode: a byte outside ASCII takes two or three bytes in UTF-8.
constexpr unsigned Quotes = 1;
constexpr unsigned Recode = 2;

constexpr std::array<std::uint8_t, 256> NeedsOf = [] {
    std::array<std::uint8_t, 256> needs{};
    for (int b = 0; b < 0x20; ++b)
        needs[b] = Quotes;
    needs[static_cast<unsigned char>(CsvSeparator)] = needs['"'] = Quotes;
    for (int b = 0x80; b < 0x100; ++b)
        needs[b] = Recode;
    return needs;
}();

#ifdef __SSE2__
// The needs of the first `length` (1 to 16) of the 16 bytes at `bytes`, all of which are readable.
unsigned needsOf16(const std::uint8_t* bytes, std::size_t length)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
    const unsigned low = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20))));
    const unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(CsvSeparator)), _mm_cmpeq_epi8(v, _mm_set1_epi8('"')))));
    const unsigned wanted = (1u << length) - 1;
    // A signed comparison: the bytes from 0x80 on are below 0x20 too, and only the others are
    // control characters.
    return (((low & ~high) | marks) & wanted ? Quotes : 0) | (high & wanted ? Recode : 0);
}
#endif

// The needs of a value of `length` bytes at `value`, of which `readable` can be read.
unsigned needsOf(const std::uint8_t* value, std::size_t length, std::size_t readable)
{
    unsigned needs = value[0] <= 0x20 || value[length - 1] <= 0x20 ? Quotes : 0;
    std::size_t i = 0;
#ifdef __SSE2__
    for (; i < length && i + 16 <= readable; i += 16)
        needs |= needsOf16(value + i, std::min<std::size_t>(length - i, 16));
#endif
    for (; i < length; ++i)
        needs |= NeedsOf[value[i]];
    return needs;
}

// The most a value of `length` stored bytes takes in the file: three UTF-8 bytes each (a doubled
// quote takes two), and the two quotes around it.
constexpr std::size_t mostBytesOf(std::size_t length)
{
    return 3 * length + 2;
}

// Room left after a row for a short copy that writes a few bytes too many.
constexpr std::size_t CopySlack = 16;

// The most one row of record fields takes: every field full, with its separator.
constexpr std::size_t MaxFieldBytes = [] {
    std::size_t bytes = 0;
    for (const FieldInfo& field : Fields)
        bytes += mostBytesOf(field.capacity) + 1;
    return bytes;
}();

// Where, from `at` on, the first byte of a value of `length` bytes stands that the file does not
// hold as it is (a quote, doubled, or a byte outside ASCII, recoded); `length` when there is none.
// `readable` bytes can be read from `value`.
std::size_t nextChanged(const std::uint8_t* value, std::size_t at, std::size_t length, std::size_t readable)
{
#ifdef __SSE2__
    for (; at < length && at + 16 <= readable; at += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(value + at));
        const auto changed = static_cast<unsigned>(_mm_movemask_epi8(v) |
                                                   _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('"'))));
        if (changed != 0)
            return std::min(length, at + static_cast<std::size_t>(std::countr_zero(changed)));
    }
#endif
    while (at < length && value[at] < 0x80 && value[at] != '"')
        ++at;
    return std::min(at, length);
}

// Writes a stored value (length byte, then Windows-1252 bytes) at `out` as the file holds it, and
// returns the end of what it wrote. `out` has room for mostBytesOf(capacity) + CopySlack, and
// `readable` bytes can be read after the length byte (the rest of the record).
char* putStoredValue(char* out, const std::uint8_t* field, std::size_t capacity, std::size_t readable)
{
    const std::size_t length = std::min<std::size_t>(field[0], capacity);
    if (length == 0)
        return out;
    const std::uint8_t* const value = field + 1;
    const unsigned needs = needsOf(value, length, readable);
    if (needs == 0) {
        if (length <= 16 && readable >= 16)
            std::memcpy(out, value, 16); // one fixed move: most values are short
        else
            std::memcpy(out, value, length);
        return out + length;
    }
    const auto& utf8 = utf8Table();
    if (needs & Quotes)
        *out++ = '"';
    for (std::size_t at = 0;;) {
        // The bytes up to the next one that changes are copied as they are, in one move.
        const std::size_t changed = nextChanged(value, at, length, readable);
        std::memcpy(out, value + at, changed - at);
        out += changed - at;
        if (changed == length)
            break;
        const Utf8Of& code = utf8[value[changed]];
        if (value[changed] == '"')
            *out++ = '"';
        std::memcpy(out, code.bytes.data(), code.bytes.size()); // all three: the room is there
        out += code.size;
        at = changed + 1;
    }
    if (needs & Quotes)
        *out++ = '"';
    return out;
}

// UTF-8 text as a value of the file: quoted as a stored value would be.
QByteArray valueOfUtf8(const QByteArray& utf8)
{
    bool quote = !utf8.isEmpty() && (static_cast<std::uint8_t>(utf8.front()) <= 0x20 ||
                                     static_cast<std::uint8_t>(utf8.back()) <= 0x20);
    for (const char c : utf8)
        quote |= (NeedsOf[static_cast<std::uint8_t>(c)] & Quotes) != 0;
    if (!quote)
        return utf8;
    QByteArray quoted = utf8;
    quoted.replace('"', QByteArrayLiteral("\"\""));
    return '"' + quoted + '"';
}

// The photo columns of a row: the photo's file name when it exists, else nothing. The name is the
// file's own, in UTF-8, and its start and end are made once for the whole export.
class PhotoColumn
{
public:
    PhotoColumn(const QString& archiveName, char slot) : slot_(slot)
    {
        // The name of the first position, cut around its "1": the position and the extension never
        // ask for quotes, so the rest of the name decides for every position.
        const QByteArray first = photoFileName(archiveName, 1, slot).toUtf8();
        const QByteArray value = valueOfUtf8(first);
        const bool quoted = value != first;
        start_ = value.left(value.size() - (quoted ? 6 : 5));
        for (int spelling = 0; spelling < PhotoSpellings; ++spelling) {
            const QByteArray name = photoFileName(u"", 1, slot, spelling).toUtf8();
            end_[spelling] = name.right(4) + (quoted ? QByteArrayLiteral("\"") : QByteArray());
        }
    }
    std::size_t mostBytes() const { return std::size_t(start_.size() + end_[0].size()) + 10; }
    char* put(char* out, const PhotosPresent& photos, int position) const
    {
        if (!photos.has(slot_, position))
            return out;
        out = std::copy(start_.cbegin(), start_.cend(), out);
        out = std::to_chars(out, out + 10, position).ptr;
        const QByteArray& end = end_[photos.shownSpelling(slot_, position)];
        return std::copy(end.cbegin(), end.cend(), out);
    }

private:
    char slot_;
    QByteArray start_;
    std::array<QByteArray, PhotoSpellings> end_;
};

// The second half's rows are made in blocks of about a megabyte, as the first half's.
constexpr std::size_t Block = 1 << 20;

// The rows of the second half of a large archive, made while the first half's are still being
// made and kept until their turn. Their maker waits while they hold a budget of bytes, so memory
// stays bounded whatever the size of the archive.
class WaitingRows
{
public:
    struct Rows
    {
        std::string block;
        std::size_t used = 0;
    };
    // False once the taker has given up: nothing more is wanted.
    bool put(Rows rows)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return held_ < Budget || abandoned_; });
        if (abandoned_)
            return false;
        held_ += rows.block.size();
        waiting_.push_back(std::move(rows));
        changed_.notify_all();
        return true;
    }
    void close(std::exception_ptr failure)
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        failure_ = std::move(failure);
        changed_.notify_all();
    }
    // The next rows in order; false when there are no more. Throws what stopped the maker.
    bool take(Rows& rows)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !waiting_.empty() || closed_; });
        if (waiting_.empty()) {
            if (failure_)
                std::rethrow_exception(failure_);
            return false;
        }
        rows = std::move(waiting_.front());
        waiting_.pop_front();
        held_ -= rows.block.size();
        changed_.notify_all();
        return true;
    }
    void abandon()
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        changed_.notify_all();
    }

private:
    static constexpr std::size_t Budget = std::size_t(64) << 20;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Rows> waiting_;
    std::size_t held_ = 0;
    bool closed_ = false;
    bool abandoned_ = false;
    std::exception_ptr failure_;
};

// What a row is made of, for either half.
struct RowMaker
{
    const PhotosPresent& photos;
    const PhotoColumn& photoA;
    const PhotoColumn& photoB;

    char* put(char* out, const GameRecord& record, int position) const
    {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
        for (const FieldInfo& field : Fields) {
            out = putStoredValue(out, bytes + field.offset, field.capacity, RecordSize - field.offset - 1);
            *out++ = CsvSeparator;
        }
        out = photoA.put(out, photos, position);
        *out++ = CsvSeparator;
        out = photoB.put(out, photos, position);
        *out++ = '\r';
        *out++ = '\n';
        return out;
    }
};

// Makes the rows of records from..to-1 into blocks for `waiting`, reading them from `archive`.
void makeRows(ArchiveFile& archive, int from, int to, const RowMaker& maker, std::size_t maxRowBytes,
              WaitingRows& waiting)
{
    const std::size_t room = Block + maxRowBytes + CopySlack;
    WaitingRows::Rows rows{std::string(room, '\0'), 0};
    for (int index = from; index < to; ++index) {
        const char* end = maker.put(rows.block.data() + rows.used, archive.ReadInPlace(), index + 1);
        rows.used = static_cast<std::size_t>(end - rows.block.data());
        if (rows.used >= Block) {
            if (!waiting.put(std::exchange(rows, {std::string(room, '\0'), 0})))
                return;
        }
    }
    archive.Close();
    if (rows.used > 0)
        waiting.put(std::move(rows));
}

} // namespace

QString defaultCsvExportPath(const QString& archiveName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(archiveName + QStringLiteral(".csv"));
}

bool writeArchiveCsv(QIODevice& device, ArchiveHalves& archive, const QString& archiveName)
{
    QByteArray heading("\xEF\xBB\xBF");
    const auto& names = csvColumnNames();
    for (int c = 0; c < CsvColumnCount; ++c)
        heading += (c > 0 ? QByteArray(1, CsvSeparator) : QByteArray()) + valueOfUtf8(names[c].toUtf8());
    heading += "\r\n";
    const PhotoColumn photoA(archiveName, 'A');
    const PhotoColumn photoB(archiveName, 'B');
    const std::size_t maxRowBytes =
        std::max(std::size_t(heading.size()), MaxFieldBytes + photoA.mostBytes() + photoB.mostBytes() + 3);
    // Rows are made in blocks of about a megabyte, written by a thread of their own while the next
    // block is made.
    BlockOutput rows(device);
    if (!rows.reserve(std::size_t(heading.size())))
        return false;
    rows.advanceTo(std::copy(heading.cbegin(), heading.cend(), rows.end()));

    const int count = archive.count();
    const PhotoListing listing = listPhotos(photoFolder(), archiveName, 1, count);
    // A folder that cannot be read would export every game without its photos.
    if (!listing.ok)
        throw ArchiveError("photo folder cannot be read");
    const RowMaker maker{listing.photos, photoA, photoB};
    // Read, not mapped: a disk or share that fails halfway is then an error to report, where a
    // mapping would end the program (and whatever the editor behind holds unsaved). A large
    // archive's second half is read and made into rows at the same time as the first.
    WaitingRows secondRows;
    const bool split = archive.second() != nullptr;
    const auto written = archive.readBoth([&](ArchiveFile& half, int from, int to) {
        if (from > 0) {
            // The second half: its rows wait for their turn.
            std::exception_ptr failure;
            try {
                makeRows(half, from, to, maker, maxRowBytes, secondRows);
            } catch (...) {
                failure = std::current_exception(); // an archive that fails halfway, memory that ran out
            }
            secondRows.close(failure);
            return true;
        }
        // Whatever ends the first half early stops the second half's maker too.
        struct Abandon
        {
            WaitingRows& rows;
            ~Abandon() { rows.abandon(); }
        } abandon{secondRows};
        for (int index = from; index < to; ++index) {
            if (!rows.reserve(maxRowBytes + CopySlack))
                return false;
            rows.advanceTo(maker.put(rows.end(), half.ReadInPlace(), index + 1));
        }
        half.Close();
        for (WaitingRows::Rows made; split && secondRows.take(made);) {
            if (!rows.add(made.block, made.used))
                return false;
        }
        return true;
    });
    return written[0] && rows.finish();
}

CsvExportStatus exportArchiveCsv(const QString& archivePath, const QString& csvPath)
{
    try {
        ArchiveHalves archive(archivePath);
        QSaveFile file(csvPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return CsvExportStatus::FileNotWritten;
        // commit() of this Qt version does not notice a failed final flush: check it here.
        if (!writeArchiveCsv(file, archive, QFileInfo(archivePath).completeBaseName()) || !file.flush()) {
            file.cancelWriting();
            return CsvExportStatus::FileNotWritten;
        }
        return file.commit() ? CsvExportStatus::Written : CsvExportStatus::FileNotWritten;
    } catch (const ArchiveError&) {
        return CsvExportStatus::ArchiveUnreadable;
    }
}

} // namespace brivanto
