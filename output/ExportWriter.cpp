#include "output/ExportWriter.h"

#include "output/ExportGrid.h"
#include "platform/Windows1252.h"
#include "storage/BackgroundWriter.h"
#include "storage/ProgramFolder.h"

#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

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

// The bytes that HTML reads as markup. They are plain ASCII in Windows-1252, so the cells' bytes
// are scanned as they are.
constexpr std::array<bool, 256> Markup = [] {
    std::array<bool, 256> markup{};
    markup['&'] = markup['<'] = markup['>'] = true;
    return markup;
}();
constexpr std::size_t LongestReference = 5; // "&amp;"

char* put(char* out, QByteArrayView bytes)
{
    std::memcpy(out, bytes.data(), static_cast<std::size_t>(bytes.size()));
    return out + bytes.size();
}

// The value as the spreadsheet must show it: '&', '<' and '>' become character references.
char* putEscaped(char* out, QByteArrayView value)
{
    const char* p = value.data();
    const char* const end = p + value.size();
    while (p < end) {
        const char* run = p;
        while (p < end && !Markup[static_cast<unsigned char>(*p)])
            ++p;
        out = put(out, QByteArrayView(run, p - run));
        if (p == end)
            break;
        out = put(out, *p == '&'   ? QByteArrayView("&amp;")
                       : *p == '<' ? QByteArrayView("&lt;")
                                   : QByteArrayView("&gt;"));
        ++p;
    }
    return out;
}

} // namespace

QString exportFilePath()
{
    return ProgramFolder() + QStringLiteral("Zendaro.xls");
}

bool writeExport(QIODevice& device, const ExportGridModel& grid)
{
    static const QByteArray heading = header();
    BlockOutput writer(device);
    if (!writer.reserve(static_cast<std::size_t>(heading.size())))
        return false;
    writer.advanceTo(put(writer.end(), heading));
    constexpr std::size_t CellMarkup = DataCellStart.size() + CellEnd.size();
    ExportGridModel::ExportRow cells;
    const int rows = grid.rowCount();
    for (int r = 0; r < rows; ++r) {
        grid.exportRow(r, cells);
        std::size_t longest = RowStart.size() + RowEnd.size();
        for (const QByteArrayView cell : cells)
            longest += CellMarkup + LongestReference * static_cast<std::size_t>(cell.size());
        if (!writer.reserve(longest))
            return false;
        char* out = put(writer.end(), RowStart);
        for (const QByteArrayView cell : cells) {
            out = put(out, DataCellStart);
            out = putEscaped(out, cell);
            out = put(out, CellEnd);
        }
        writer.advanceTo(put(out, RowEnd));
    }
    if (!writer.reserve(static_cast<std::size_t>(Closing.size())))
        return false;
    writer.advanceTo(put(writer.end(), Closing));
    return writer.finish();
}

bool writeExportFile(const QString& path, const ExportGridModel& grid)
{
    QSaveFile file(path);
    // The rows are written in large blocks by another thread: the file buffers nothing.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    // commit() of this Qt version does not notice a failed final flush: check it here.
    if (!writeExport(file, grid) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace brivanto
