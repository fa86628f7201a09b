// Writes the user guide, Guida.pdf, at build time: a title page with the product's picture, then
// the overview, the spreadsheet export help and the statistics help, from the same texts the help
// window shows, and a short chapter on the keyboard.
//
// Usage: brivanto_make_guide <output file>

#include "help/Help.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <cstdio>

namespace {

using brivanto::help::HelpTopic;

constexpr int Resolution = 300; // dots per inch of the page's coordinates
constexpr QRgb TitleColour = 0xDC143C;
constexpr QRgb TextColour = 0x22313A;
constexpr QRgb FooterColour = 0x707070;
const QString GuideTitle = QStringLiteral("Guida all'utilizzo di Brivanto");

// Points to page coordinates.
constexpr qreal pt(qreal points)
{
    return points * Resolution / 72.0;
}

QFont font(const QString& family, qreal points, QFont::Weight weight = QFont::Normal)
{
    QFont result(family);
    result.setPointSizeF(points);
    result.setWeight(weight);
    return result;
}

// Draws a picture of the resources into `box`, as large as fits with its proportions, centred
// horizontally. Returns the bottom of what was drawn.
qreal drawPicture(QPainter& painter, const QString& resource, const QRectF& box)
{
    QSvgRenderer picture(resource);
    if (!picture.isValid()) {
        std::fprintf(stderr, "brivanto_make_guide: picture %s is missing\n", qPrintable(resource));
        return box.top();
    }
    QSizeF size = picture.defaultSize();
    size.scale(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.left() + (box.width() - size.width()) / 2, box.top(), size.width(),
                        size.height());
    picture.render(&painter, target);
    return target.bottom();
}

void drawTitlePage(QPainter& painter, const QRectF& page)
{
    const qreal y = drawPicture(
        painter, QStringLiteral(":/help/splash.svg"),
        QRectF(page.left(), page.top() + page.height() * 0.12, page.width(), page.height() * 0.45));

    painter.setPen(QColor::fromRgb(TitleColour));
    painter.setFont(font(QStringLiteral("Arial"), 26, QFont::Bold));
    const QRectF title(page.left(), y + pt(40), page.width(), pt(40));
    painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop, GuideTitle);

    painter.setPen(QColor::fromRgb(TextColour));
    painter.setFont(font(QStringLiteral("Verdana"), 13));
    painter.drawText(QRectF(page.left(), title.bottom() + pt(14), page.width(), pt(24)),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Manuale dell'utente"));
    painter.setFont(font(QStringLiteral("Verdana"), 10));
    painter.drawText(QRectF(page.left(), page.bottom() - pt(20), page.width(), pt(20)),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Brivanto versione %1").arg(QStringLiteral(BRIVANTO_VERSION)));
}

// The chapters of the guide, each with its title as heading, then its paragraphs: one help topic
// each, then the keyboard.
void writeChapters(QTextDocument& document)
{
    QTextCharFormat heading;
    heading.setFont(font(QStringLiteral("Arial"), 16, QFont::Bold));
    heading.setForeground(QColor::fromRgb(TitleColour));
    QTextCharFormat body;
    body.setFont(font(QStringLiteral("Verdana"), 11));
    body.setForeground(QColor::fromRgb(TextColour));

    QTextBlockFormat headingBlock;
    headingBlock.setBottomMargin(pt(10));
    QTextBlockFormat paragraphBlock;
    paragraphBlock.setAlignment(Qt::AlignJustify);
    paragraphBlock.setBottomMargin(pt(4));
    paragraphBlock.setLineHeight(120, QTextBlockFormat::ProportionalHeight);

    QTextCursor cursor(&document);
    bool first = true;
    const auto writeChapter = [&](const QString& title, const QStringList& paragraphs) {
        QTextBlockFormat chapterStart = headingBlock;
        chapterStart.setPageBreakPolicy(first ? QTextFormat::PageBreak_Auto
                                              : QTextFormat::PageBreak_AlwaysBefore);
        if (first)
            cursor.setBlockFormat(chapterStart);
        else
            cursor.insertBlock(chapterStart);
        first = false;
        cursor.insertText(title, heading);
        for (const QString& paragraph : paragraphs) {
            cursor.insertBlock(paragraphBlock);
            cursor.insertText(paragraph, body);
        }
    };
    for (const HelpTopic topic : {HelpTopic::Overview, HelpTopic::Export, HelpTopic::Statistics})
        writeChapter(brivanto::help::helpTitle(topic), brivanto::help::helpParagraphs(topic));
    writeChapter(brivanto::help::keyboardTitle(), brivanto::help::keyboardParagraphs());
}

// Draws the lines of the laid-out document whose top lies in [top, top + height) at the top of
// the page. Line by line, so that no line also lands, clipped but still in the file's text, on a
// neighbouring page.
void drawTextPage(QPainter& painter, const QTextDocument& document, qreal top, qreal height)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        const QPointF origin = lines->position() - QPointF(0, top);
        for (int index = 0; index < lines->lineCount(); ++index) {
            const QTextLine line = lines->lineAt(index);
            const qreal lineTop = origin.y() + line.y();
            if (lineTop >= -0.5 && lineTop < height - 0.5)
                line.draw(&painter, origin);
        }
    }
}

void drawFooter(QPainter& painter, const QRectF& page, int number, int count)
{
    painter.setPen(QColor::fromRgb(FooterColour));
    painter.setFont(font(QStringLiteral("Verdana"), 9));
    painter.drawText(QRectF(page.left(), page.bottom() - pt(14), page.width(), pt(14)),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Pagina %1 di %2").arg(number).arg(count));
}

bool writeGuide(QIODevice& device)
{
    QPdfWriter writer(&device);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setTitle(GuideTitle);
    writer.setCreator(QStringLiteral("Brivanto"));

    const QRectF page(QPointF(0, 0), writer.pageLayout().paintRectPixels(Resolution).size());
    const qreal footerHeight = pt(30);
    const QSizeF textArea(page.width(), page.height() - footerHeight);

    // The text is laid out in pages of the text area; lines never straddle two pages.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDocumentMargin(0);
    document.setPageSize(textArea);
    writeChapters(document);
    const int textPages = document.pageCount();
    const int pageCount = 1 + textPages;

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    drawTitlePage(painter, page);
    for (int index = 0; index < textPages; ++index) {
        writer.newPage();
        drawTextPage(painter, document, index * textArea.height(), textArea.height());
        drawFooter(painter, page, index + 2, pageCount);
    }
    return painter.end();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: brivanto_make_guide <output file>\n");
        return 2;
    }
    QSaveFile file(arguments.at(1));
    if (!file.open(QIODevice::WriteOnly) || !writeGuide(file) || !file.commit()) {
        std::fprintf(stderr, "brivanto_make_guide: cannot write %s: %s\n", qPrintable(arguments.at(1)),
                     qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
