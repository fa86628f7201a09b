#include "exchange/CsvExport.h"

#include "editor/PhotoFile.h"
#include "exchange/CsvColumns.h"
#include "platform/Windows1252.h"
#include "storage/ArchiveFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <array>
#include <cstring>
#include <vector>

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

// Bytes that put a value in quotes wherever they stand: the separator, the quote and every
// control character. Quoting control characters keeps a NUL byte inside quotes, where the
// import's test for binary files does not look.
constexpr std::array<bool, 256> NeedsQuotes = [] {
    std::array<bool, 256> needs{};
    for (int b = 0; b < 0x20; ++b)
        needs[b] = true;
    needs[static_cast<unsigned char>(CsvSeparator)] = needs['"'] = true;
    return needs;
}();

// Rows are made in one buffer and handed to the device in large blocks.
class RowBuffer
{
public:
    explicit RowBuffer(QIODevice& device) : device_(device) { bytes_.reserve(Block + Block / 4); }
    void put(const char* data, std::size_t size) { bytes_.append(data, size); }
    void put(char c) { bytes_.push_back(c); }
    bool rowDone() { return bytes_.size() < Block || flush(); }
    bool flush()
    {
        const auto size = static_cast<qint64>(bytes_.size());
        const bool written = size == 0 || device_.write(bytes_.data(), size) == size;
        bytes_.clear();
        return written;
    }

private:
    static constexpr std::size_t Block = 1 << 20;
    QIODevice& device_;
    std::string bytes_;
};

void putStoredValue(RowBuffer& out, const std::uint8_t* field, std::size_t capacity)
{
    const std::size_t length = std::min<std::size_t>(field[0], capacity);
    const std::uint8_t* value = field + 1;
    bool quote = length > 0 && (value[0] <= 0x20 || value[length - 1] <= 0x20);
    bool ascii = true;
    for (std::size_t i = 0; i < length; ++i) {
        quote |= NeedsQuotes[value[i]];
        ascii &= value[i] < 0x80;
    }
    if (!quote && ascii) {
        out.put(reinterpret_cast<const char*>(value), length);
        return;
    }
    const auto& utf8 = utf8Table();
    if (quote)
        out.put('"');
    for (std::size_t i = 0; i < length; ++i) {
        if (value[i] == '"')
            out.put('"');
        out.put(utf8[value[i]].bytes.data(), utf8[value[i]].size);
    }
    if (quote)
        out.put('"');
}

void putText(RowBuffer& out, const QString& text)
{
    if (text.isEmpty())
        return;
    const QByteArray bytes = platform::toWindows1252(text);
    std::vector<std::uint8_t> field(1 + static_cast<std::size_t>(bytes.size()));
    field[0] = static_cast<std::uint8_t>(std::min<qsizetype>(bytes.size(), 255));
    std::memcpy(field.data() + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    putStoredValue(out, field.data(), field.size() - 1);
}

} // namespace

QString defaultCsvExportPath(const QString& archiveName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(archiveName + QStringLiteral(".csv"));
}

PhotoPresence PhotoPresence::ofArchive(const QString& archiveName)
{
    PhotoPresence presence;
    presence.archiveName_ = archiveName;
    const QRegularExpression name(QStringLiteral("^") + QRegularExpression::escape(archiveName) +
                                  QStringLiteral("_Foto_([AB])_([1-9][0-9]{0,8})\\.jpg$"));
    const QStringList entries = QDir(photoFolder()).entryList(QDir::Files);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch match = name.match(entry);
        if (!match.hasMatch())
            continue;
        const auto position = static_cast<std::size_t>(match.captured(2).toInt());
        if (presence.slots_.size() <= position)
            presence.slots_.resize(position + 1);
        presence.slots_[position] |= match.captured(1) == QLatin1String("A") ? 1 : 2;
    }
    return presence;
}

QString PhotoPresence::fileName(int position, bool slotB) const
{
    const auto p = static_cast<std::size_t>(position);
    if (p >= slots_.size() || !(slots_[p] & (slotB ? 2 : 1)))
        return {};
    return archiveName_ + (slotB ? QStringLiteral("_Foto_B_") : QStringLiteral("_Foto_A_")) +
           QString::number(position) + QStringLiteral(".jpg");
}

bool writeArchiveCsv(QIODevice& device, ArchiveFile& archive, const PhotoPresence& photos)
{
    RowBuffer out(device);
    out.put("\xEF\xBB\xBF", 3);
    const auto& names = csvColumnNames();
    for (int c = 0; c < CsvColumnCount; ++c) {
        if (c > 0)
            out.put(CsvSeparator);
        putText(out, names[c]);
    }
    out.put("\r\n", 2);
    archive.Seek(0);
    while (!archive.AtEnd()) {
        const int position = archive.Pointer() + 1;
        const auto* record = reinterpret_cast<const std::uint8_t*>(&archive.ReadInPlace());
        for (int f = 0; f < FieldCount; ++f) {
            putStoredValue(out, record + Fields[f].offset, Fields[f].capacity);
            out.put(CsvSeparator);
        }
        putText(out, photos.fileName(position, false));
        out.put(CsvSeparator);
        putText(out, photos.fileName(position, true));
        out.put("\r\n", 2);
        if (!out.rowDone())
            return false;
    }
    return out.flush();
}

CsvExportStatus exportArchiveCsv(const QString& archivePath, const QString& csvPath)
{
    try {
        ArchiveFile archive;
        archive.Open(archivePath, ArchiveFile::Access::Read);
        QSaveFile file(csvPath);
        if (!file.open(QIODevice::WriteOnly))
            return CsvExportStatus::FileNotWritten;
        const PhotoPresence photos = PhotoPresence::ofArchive(QFileInfo(archivePath).completeBaseName());
        // commit() of this Qt version does not notice a failed final flush: check it here.
        if (!writeArchiveCsv(file, archive, photos) || !file.flush()) {
            file.cancelWriting();
            return CsvExportStatus::FileNotWritten;
        }
        archive.Close();
        return file.commit() ? CsvExportStatus::Written : CsvExportStatus::FileNotWritten;
    } catch (const ArchiveError&) {
        return CsvExportStatus::ArchiveUnreadable;
    }
}

} // namespace brivanto
