#include "output/ExportGrid.h"

#include "platform/LargePages.h"
#include "platform/Windows1252.h"
#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"
#include "storage/GameArchive.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace brivanto {

void ExportGridModel::fillFromArchive(const QString& path)
{
    beginResetModel();
    text_.reset();
    textCapacity_ = 0;
    used_ = 0;
    rows_.clear();
    changed_.clear();
    try {
        ArchiveFile archive;
        GameArchive::openForReading(archive, path);
        const auto count = static_cast<std::size_t>(archive.RecordCount());
        rows_.reserve(count);
        // Room for short texts in every record; pages never written to cost nothing.
        reallocateText(std::max<std::size_t>(count * 512, RecordSize));
        while (!archive.AtEnd())
            addRow(archive.ReadInPlace());
        archive.Close();
    } catch (const ArchiveError&) {
        // The rows read so far stay; the screen says nothing.
    }
    reallocateText(used_);
    rows_.shrink_to_fit();
    endResetModel();
}

void ExportGridModel::addRow(const GameRecord& record)
{
    // The 22 texts take at most their capacities together, well under a record.
    if (textCapacity_ - used_ < RecordSize)
        reallocateText(textCapacity_ * 2 + RecordSize);
    Row row{used_, {}};
    char* out = text_.get() + used_;
    const char* recordEnd = reinterpret_cast<const char*>(&record) + RecordSize;
    for (int f = 0; f < ExportedFieldCount; ++f) {
        const QByteArrayView value = storedValue(fieldAt(record, Fields[f]), Fields[f].capacity);
        const auto length = static_cast<std::size_t>(value.size());
        row.lengths[f] = static_cast<std::uint8_t>(length);
        // Values are short: they are copied in pieces of a size known here, which the compiler
        // turns into a move or two, past their end where the record goes on; the next value is
        // written over what went too far, within the room of a record kept free above.
        constexpr std::size_t Piece = 32;
        if (value.data() + (length + Piece - 1) / Piece * Piece <= recordEnd) {
            for (std::size_t at = 0; at < length; at += Piece)
                std::memcpy(out + at, value.data() + at, Piece);
        } else {
            std::memcpy(out, value.data(), length);
        }
        out += length;
    }
    used_ = static_cast<std::size_t>(out - text_.get());
    rows_.push_back(row);
}

// realloc moves large blocks by remapping their pages, so neither growing nor the final trim
// copies the texts.
void ExportGridModel::reallocateText(std::size_t capacity)
{
    capacity = std::max<std::size_t>(capacity, 1);
    char* text = static_cast<char*>(std::realloc(text_.get(), capacity));
    if (!text)
        throw std::bad_alloc();
    static_cast<void>(text_.release());
    text_.reset(text);
    textCapacity_ = capacity;
    platform::preferLargePages(text, capacity);
}

int ExportGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ExportGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ExportColumnCount;
}

QByteArrayView ExportGridModel::exportCell(int row, int column) const
{
    if (!changed_.isEmpty()) {
        if (const auto changed = changed_.constFind(cellKey(row, column)); changed != changed_.constEnd())
            return changed->exported;
    }
    const Row& stored = rows_[static_cast<std::size_t>(row)];
    std::uint64_t start = stored.start;
    for (int f = 0; f < column - 1; ++f)
        start += stored.lengths[f];
    return {text_.get() + start, stored.lengths[column - 1]};
}

void ExportGridModel::exportRow(int row, ExportRow& cells) const
{
    const Row& stored = rows_[static_cast<std::size_t>(row)];
    const char* text = text_.get() + stored.start;
    for (int f = 0; f < ExportedFieldCount; ++f) {
        cells[f] = QByteArrayView(text, stored.lengths[f]);
        text += stored.lengths[f];
    }
    if (changed_.isEmpty())
        return;
    for (int f = 0; f < ExportedFieldCount; ++f) {
        if (const auto changed = changed_.constFind(cellKey(row, f + 1)); changed != changed_.constEnd())
            cells[f] = changed->exported;
    }
}

QString ExportGridModel::storedText(int row, int column) const
{
    const QByteArrayView bytes = exportCell(row, column);
    return platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                     static_cast<std::size_t>(bytes.size()));
}

QVariant ExportGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.column() == 0)
        return QString::number(index.row() + 1);
    if (const auto changed = changed_.constFind(cellKey(index.row(), index.column()));
        changed != changed_.constEnd())
        return changed->typed;
    return storedText(index.row(), index.column());
}

QVariant ExportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ExportColumnCount)
        return {};
    return QString::fromUtf16(ExportColumns[section].header);
}

Qt::ItemFlags ExportGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return ExportColumns[index.column()].editable ? flags | Qt::ItemIsEditable : flags;
}

bool ExportGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !ExportColumns[index.column()].editable)
        return false;
    const QString typed = value.toString();
    changed_.insert(cellKey(index.row(), index.column()), {typed, platform::toWindows1252(trimmed(typed))});
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

std::size_t ExportGridModel::heldBytes() const
{
    std::size_t bytes = textCapacity_ + rows_.capacity() * sizeof(Row);
    for (const ChangedCell& cell : changed_)
        bytes += sizeof(ChangedCell) + sizeof(qint64) + std::size_t(cell.typed.capacity()) * 2 +
                 std::size_t(cell.exported.capacity());
    return bytes;
}

} // namespace brivanto
