#include "output/ExportWriter.h"

#include "output/ExportGrid.h"
#include "platform/Windows1252.h"
#include "storage/ProgramFolder.h"

#include <QSaveFile>

namespace brivanto {
namespace {

constexpr QByteArrayView DataCellStart = "<td style=\"text-align: left;\">";
constexpr QByteArrayView CellEnd = "</td>";
constexpr QByteArrayView RowStart = "<tr>";
constexpr QByteArrayView RowEnd = "</tr>";
constexpr QByteArrayView Closing = "</table></body></html>";

// The document up to and including the heading row.
QByteArray header()
{
    QByteArray bytes =
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\""
        " xmlns:x=\"urn:schemas-microsoft-com:office:excel\""
        " xmlns=\"http://www.w3.org/TR/REC-html40\">"
        "<head>"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
        "<!--[if gte mso 9]><xml>"
        "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
        "<x:Name>Zendaro</x:Name>"
        "<x:WorksheetOptions><x:Selected/>"
        "<x:Panes><x:Pane><x:Number>1</x:Number><x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes>"
        "<x:ProtectContents>False</x:ProtectContents>"
        "<x:ProtectObjects>False</x:ProtectObjects>"
        "<x:ProtectScenarios>False</x:ProtectScenarios>"
        "</x:WorksheetOptions>"
        "</x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook>"
        "</xml><![endif]-->"
        "</head>"
        "<body>"
        "<table x:str>"
        "<tr>";
    for (int c = 1; c < ExportColumnCount; ++c) {
        bytes += "<td style=\"text-align: left; font-weight: bold;\" width=" +
                 QByteArray::number(ExportColumns[c].exportWidth) + '>' +
                 platform::toWindows1252(QString::fromUtf16(ExportColumns[c].header)) + "</td>";
    }
    bytes += "</tr>";
    return bytes;
}

// The value as the spreadsheet must show it: the three characters that HTML reads as markup
// become character references. They are plain ASCII in Windows-1252, so the bytes are scanned
// as they are.
void appendEscaped(QByteArray& out, QByteArrayView value)
{
    const char* run = value.data();
    const char* const end = run + value.size();
    for (const char* p = run; p < end; ++p) {
        QByteArrayView reference;
        switch (*p) {
        case '&':
            reference = "&amp;";
            break;
        case '<':
            reference = "&lt;";
            break;
        case '>':
            reference = "&gt;";
            break;
        default:
            continue;
        }
        out.append(run, p - run);
        out.append(reference);
        run = p + 1;
    }
    out.append(run, end - run);
}

// Writes in large blocks: one system call per block, however many rows.
class BlockWriter
{
public:
    explicit BlockWriter(QIODevice& device) : device_(device) { block_.reserve(BlockSize + 4096); }
    QByteArray& block() { return block_; }
    bool flushIfFull() { return block_.size() < BlockSize || flush(); }
    bool flush()
    {
        const bool written = block_.isEmpty() || device_.write(block_) == block_.size();
        block_.resize(0);
        return written;
    }

private:
    static constexpr qsizetype BlockSize = 1 << 18;
    QIODevice& device_;
    QByteArray block_;
};

} // namespace

QString exportFilePath()
{
    return ProgramFolder() + QStringLiteral("Zendaro.xls");
}

bool writeExport(QIODevice& device, const ExportGridModel& grid)
{
    static const QByteArray heading = header();
    BlockWriter writer(device);
    writer.block() += heading;
    const int rows = grid.rowCount();
    for (int r = 0; r < rows; ++r) {
        QByteArray& block = writer.block();
        block.append(RowStart);
        for (int c = 1; c < ExportColumnCount; ++c) {
            block.append(DataCellStart);
            appendEscaped(block, grid.exportCell(r, c));
            block.append(CellEnd);
        }
        block.append(RowEnd);
        if (!writer.flushIfFull())
            return false;
    }
    writer.block().append(Closing);
    return writer.flush();
}

bool writeExportFile(const QString& path, const ExportGridModel& grid)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() of this Qt version does not notice a failed final flush: check it here.
    if (!writeExport(file, grid) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace brivanto
