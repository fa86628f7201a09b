#pragma once

#include "output/ExportColumns.h"
#include "storage/ArchiveFile.h"

#include <QAbstractTableModel>
#include <QByteArrayView>
#include <QHash>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace brivanto {

// The rows of the export grid: one per record of the archive, in file order, with the 22 field
// texts trimmed. The texts are kept as their Windows-1252 bytes, back to back, with one small
// index entry per row, so an archive of 100,000 records costs little more than its text; the
// export writes those bytes without converting them. A cell the user changed is kept apart, as
// typed; it changes the export, never the archive.
class ExportGridModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the rows with the records of the archive at `path`, read from the start until its
    // end. A file that cannot be opened is created empty, as every archive operation does. A
    // failure while opening or reading ends the filling without a word; the rows read so far
    // stay.
    void fillFromArchive(const QString& path);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The cell of an exported column (1..22) as it goes into the worksheet: trimmed, in
    // Windows-1252, a character the code page cannot hold as '?'. Valid until the grid changes.
    QByteArrayView exportCell(int row, int column) const;
    // The cells of columns 1..22 of one row at once, as exportCell gives them.
    using ExportRow = std::array<QByteArrayView, ExportedFieldCount>;
    void exportRow(int row, ExportRow& cells) const;

    // The memory the rows take: texts, index and changed cells.
    std::size_t heldBytes() const;

private:
    struct Row
    {
        std::uint64_t start; // of the row's first text in its part's texts
        std::array<std::uint8_t, ExportedFieldCount> lengths;
    };
    struct ChangedCell
    {
        QString typed;
        QByteArray exported;
    };
    // Texts back to back; left uninitialised beyond `used`, so room never written to costs no
    // memory.
    struct Texts
    {
        struct Free
        {
            void operator()(char* text) const { std::free(text); }
        };
        std::unique_ptr<char, Free> text;
        std::size_t capacity = 0;
        std::size_t used = 0;
        void reallocate(std::size_t capacity);
    };
    static qint64 cellKey(int row, int column) { return qint64(row) * ExportColumnCount + column; }
    // Fills rows[0, to - from) from records from..to-1 of `archive`, their texts into `texts`; the
    // number of rows filled, fewer when reading failed. Closes the archive.
    static int fillPart(ArchiveFile& archive, int from, int to, Texts& texts, Row* rows);
    static void addRow(const GameRecord& record, Texts& texts, Row& row);
    const char* textOf(int row) const;
    QString storedText(int row, int column) const;

    // A large archive is read in two halves at once: the texts of the rows from secondPart_ on
    // are in texts_[1].
    std::array<Texts, 2> texts_;
    int secondPart_ = 0;
    std::vector<Row> rows_;
    QHash<qint64, ChangedCell> changed_;
};

} // namespace brivanto
