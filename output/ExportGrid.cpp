#include "output/ExportGrid.h"

#include "platform/LargePages.h"
#include "platform/Windows1252.h"
#include "storage/ArchiveFile.h"
#include "storage/ArchiveHalves.h"
#include "storage/FieldText.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace brivanto {

void ExportGridModel::fillFromArchive(const QString& path)
{
    beginResetModel();
    texts_ = {};
    rows_.clear();
    changed_.clear();
    int filled = 0;
    int middle = 0;
    try {
        ArchiveHalves halves(path);
        middle = halves.middle();
        rows_.resize(static_cast<std::size_t>(halves.count()));
        const auto parts = halves.readBoth([this](ArchiveFile& archive, int from, int to) {
            return fillPart(archive, from, to, texts_[from == 0 ? 0 : 1], rows_.data() + from);
        });
        // The rows read so far stay, without a gap.
        filled = parts[0] == middle ? parts[0] + parts[1] : parts[0];
    } catch (const ArchiveError&) {
        // Not even opened: no rows, and the screen says nothing.
    }
    rows_.resize(static_cast<std::size_t>(filled));
    rows_.shrink_to_fit();
    secondPart_ = middle;
    for (Texts& texts : texts_)
        texts.reallocate(texts.used);
    endResetModel();
}

int ExportGridModel::fillPart(ArchiveFile& archive, int from, int to, Texts& texts, Row* rows)
{
    // Room for short texts in every record; pages never written to cost nothing.
    texts.reallocate(std::max<std::size_t>(std::size_t(to - from) * 512, RecordSize));
    int filled = 0;
    try {
        archive.Seek(from);
        for (; filled < to - from; ++filled)
            addRow(archive.ReadInPlace(), texts, rows[filled]);
        archive.Close();
    } catch (const ArchiveError&) {
        // The rows read so far stay; the screen says nothing.
    }
    return filled;
}

void ExportGridModel::addRow(const GameRecord& record, Texts& texts, Row& row)
{
    // The 22 texts take at most their capacities together, well under a record.
    if (texts.capacity - texts.used < RecordSize)
        texts.reallocate(texts.capacity * 2 + RecordSize);
    row.start = texts.used;
    char* out = texts.text.get() + texts.used;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    const char* recordEnd = reinterpret_cast<const char*>(&record) + RecordSize;
    for (int f = 0; f < ExportedFieldCount; ++f) {
        const QByteArrayView value = storedValue(bytes + Fields[f].offset, Fields[f].capacity);
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
    texts.used = static_cast<std::size_t>(out - texts.text.get());
}

// realloc moves large blocks by remapping their pages, so neither growing nor the final trim
// copies the texts.
void ExportGridModel::Texts::reallocate(std::size_t wanted)
{
    if (wanted == 0) {
        text.reset();
        capacity = 0;
        return;
    }
    char* moved = static_cast<char*>(std::realloc(text.get(), wanted));
    if (!moved)
        throw std::bad_alloc();
    static_cast<void>(text.release());
    text.reset(moved);
    capacity = wanted;
    platform::preferLargePages(moved, wanted);
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
    const char* text = textOf(row);
    for (int f = 0; f < column - 1; ++f)
        text += stored.lengths[f];
    return {text, stored.lengths[column - 1]};
}

void ExportGridModel::exportRow(int row, ExportRow& cells) const
{
    const Row& stored = rows_[static_cast<std::size_t>(row)];
    const char* text = textOf(row);
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

const char* ExportGridModel::textOf(int row) const
{
    return texts_[row < secondPart_ ? 0 : 1].text.get() + rows_[static_cast<std::size_t>(row)].start;
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
    std::size_t bytes = texts_[0].capacity + texts_[1].capacity + rows_.capacity() * sizeof(Row);
    for (const ChangedCell& cell : changed_)
        bytes += sizeof(ChangedCell) + sizeof(qint64) + std::size_t(cell.typed.capacity()) * 2 +
                 std::size_t(cell.exported.capacity());
    return bytes;
}

} // namespace brivanto
