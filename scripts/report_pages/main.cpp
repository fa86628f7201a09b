// Writes a sample card and a sample summary as PDF files through the report engine, for the
// pictures of docs/ (see scripts/report_pages.sh): report_pages <folder>
#include "editor/EditorFields.h"
#include "editor/RecordEditorAccess.h"
#include "output/CardPrint.h"
#include "output/ReportTemplates.h"
#include "output/SummaryPrint.h"
#include "report/PdfOutput.h"
#include "search/ListLines.h"
#include "storage/FieldText.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

using namespace brivanto;

namespace {

class SampleEditor final : public RecordEditorAccess
{
public:
    QWidget* owner() override { return nullptr; }
    QString archiveFile() const override { return {}; }
    QString archiveName() const override { return QStringLiteral("Collezione di famiglia"); }
    QString position() const override { return QStringLiteral("12"); }
    QStringList fieldTexts() const override { return texts; }
    bool forSale() const override { return true; }
    AttachmentLabels attachments() const override { return {}; }
    void setAttachments(const AttachmentLabels&) override {}
    void ShowRecord(const GameRecord&, int) override {}
    bool offerToSaveChanges() override { return true; }
    QImage photo(PhotoSlotId) const override { return picture; }
    void putPhoto(PhotoSlotId, const QImage&) override {}

    QStringList texts;
    QImage picture;
};

// A photo of a game box on a table, drawn.
QImage samplePhoto()
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient table(0, 0, 0, 1200);
    table.setColorAt(0, QColor(0x8B, 0x5A, 0x2B));
    table.setColorAt(1, QColor(0x5C, 0x3A, 0x1A));
    painter.fillRect(photo.rect(), table);
    painter.setBrush(QColor(0x1F, 0x4E, 0x8C));
    painter.setPen(QPen(QColor(0x0E, 0x2A, 0x50), 8));
    painter.drawRoundedRect(QRectF(260, 180, 1080, 840), 24, 24);
    painter.setBrush(QColor(0xF2, 0xC1, 0x4E));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(800, 520), 250, 250);
    painter.setBrush(QColor(0x2E, 0x8B, 0x57));
    painter.drawPolygon(QPolygonF({QPointF(560, 700), QPointF(800, 380), QPointF(1040, 700)}));
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Verdana"), 60, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRectF(260, 800, 1080, 180), Qt::AlignCenter, QStringLiteral("LE ISOLE DEL VENTO"));
    return photo;
}

GameRecord sampleRecord(int n)
{
    static const char* const titles[] = {"Le Isole del Vento", "Castelli di Sabbia", "Mercanti di Venezia",
                                         "La Via della Seta",  "Draghi e Torri",     "Il Faro",
                                         "Rotte Polari",       "Giardini Pensili",   "Cronache di Città",
                                         "L'Ultimo Treno"};
    static const char* const genres[] = {"Strategico", "Cooperativo", "Gestionale", "Party game", "Astratto"};
    static const char* const publishers[] = {"Editrice Ludica", "Tavolo & Dadi", "Giochi Rossi",
                                             "Ludoteca Nord"};
    GameRecord record{};
    TextToField(QStringLiteral("%1 %2").arg(QString::fromUtf8(titles[n % 10])).arg(n / 10 + 1), record.name);
    TextToField(QStringLiteral("GT-%1").arg(1000 + n), record.idCode);
    TextToField(QString::fromUtf8(genres[n % 5]), record.genre);
    TextToField(QString::fromUtf8(publishers[n % 4]), record.publisher);
    TextToField(QString::number(1975 + n % 48), record.year);
    TextToField(QStringLiteral("%1,%2").arg(15 + (n * 37) % 240).arg((n * 13) % 100, 2, 10, QLatin1Char('0')),
                record.marketValue);
    return record;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_pages <folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    SampleEditor editor;
    const QStringList values{
        QStringLiteral("Le Isole del Vento"),
        QStringLiteral("GT-1012"),
        QStringLiteral("Strategico, esplorazione"),
        QStringLiteral("Editrice Ludica"),
        QStringLiteral("Esplorazione di un arcipelago con navi a vela, commercio di spezie e carte evento"),
        QStringLiteral("1987"),
        QStringLiteral("145,00"),
        QStringLiteral("Italiano"),
        QStringLiteral("Mario Rossi"),
        QStringLiteral("Rara"),
        QStringLiteral("Italia"),
        QStringLiteral("Media"),
        QStringLiteral("30 x 30 x 8 cm"),
        QStringLiteral("Angoli della scatola un po' consumati"),
        QStringLiteral("Plancia, 4 navi, 120 carte, 60 segnalini, regolamento"),
        QStringLiteral("2-4"),
        QStringLiteral("10+"),
        QStringLiteral("90 minuti"),
        QStringLiteral("Ottimo"),
        QStringLiteral("Scaffale 3, ripiano alto"),
        QStringLiteral("Completo, carte imbustate")};
    editor.texts = values;
    editor.picture = samplePhoto();
    report::Report card = makeCardReport();
    fillCard(card, editor, editor.picture);
    report::writePdf(card.prepare(), out.filePath(QStringLiteral("card.pdf")));

    ListLines lines;
    for (int n = 0; n < 130; ++n)
        lines.append(sampleRecord(n));
    lines.sort();
    report::Report summary = makeSummaryReport();
    fillSummary(summary, SummaryTitleArchive, lines);
    report::writePdf(summary.prepare(), out.filePath(QStringLiteral("summary.pdf")));
    return 0;
}
