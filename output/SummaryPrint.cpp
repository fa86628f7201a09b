#include "output/SummaryPrint.h"

#include "output/ReportTemplates.h"
#include "platform/Clock.h"
#include "platform/Formats.h"
#include "report/ReportOutput.h"
#include "search/ListLines.h"
#include "search/WaitCursor.h"


namespace brivanto {

void fillSummary(report::Report& summary, const QString& title, const ListLines& lines)
{
    // The pages of an earlier print share its lines: without them, the old lines are freed
    // before the new ones are made, and a long list is never held twice.
    summary.discardPrepared();
    summary.findText(u"txtTitolo").setText(title);

    const QDateTime now = platform::Clocks::current().now();
    summary.findText(u"txtPagina")
        .setText(QString(QStringLiteral("Stampa eseguita in data ") + platform::shortDate(now.date()) +
                         QStringLiteral(" alle ore ") + platform::longTime(now.time())));

    report::TextObject& text = summary.findText(u"txtRiepilogo");
    text.clearLines();
    qsizetype characters = 0;
    for (qsizetype row = 0; row < lines.size(); ++row)
        characters += lines.bytes(row).size();
    text.reserveLines(lines.size(), characters);
    for (qsizetype row = 0; row < lines.size(); ++row)
        text.appendLine(lines.at(row));

    report::Band& data = summary.findBand(u"MasterData");
    text.setHeight(static_cast<double>(text.lineCount()) * SummaryLineHeight);
    data.setHeight(text.height() + 10);
}

bool printSummary(report::Report& summary, const QString& title, const ListLines& lines, QWidget* parent)
{
    {
        WaitCursor wait;
        fillSummary(summary, title, lines);
        summary.prepare();
    }
    return report::print(summary, parent);
}

} // namespace brivanto
