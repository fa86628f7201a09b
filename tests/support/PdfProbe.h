#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdlib>

namespace brivanto::testing {

// A word of a PDF page as poppler's text reader finds it, in millimetres from the paper's corner.
struct PdfWord
{
    QString text;
    QRectF box;
};

inline bool havePdfTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

inline QByteArray runTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

// The words of every page, page by page, with ligatures undone.
inline QList<QList<PdfWord>> pdfWords(const QString& pdf)
{
    const QByteArray html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    constexpr double MmPerPoint = 25.4 / 72;
    QList<QList<PdfWord>> pages;
    QXmlStreamReader reader(html);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("page")) {
            pages.append(QList<PdfWord>());
        } else if (reader.name() == QLatin1String("word") && !pages.isEmpty()) {
            const auto at = [&](const char* name) {
                return reader.attributes().value(QLatin1String(name)).toDouble() * MmPerPoint;
            };
            const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
            QString text = reader.readElementText();
            text.replace(QChar(0xFB01), QStringLiteral("fi")).replace(QChar(0xFB02), QStringLiteral("fl"));
            pages.last().append({text, box});
        }
    }
    return pages;
}

// The words whose middle lies inside `box`, in reading order, as one line of text.
inline QString textIn(const QList<PdfWord>& words, const QRectF& box, QRectF* span = nullptr)
{
    QStringList found;
    QRectF covered;
    for (const PdfWord& word : words) {
        if (!box.contains(word.box.center()))
            continue;
        found.append(word.text);
        covered = covered.isNull() ? word.box : covered.united(word.box);
    }
    if (span)
        *span = covered;
    return found.join(QLatin1Char(' '));
}

// The text of one page in reading order, words joined by single blanks: for a page that a print
// system turned to lie on its paper, where positions no longer follow the template.
inline QString pdfText(const QString& pdf, int page)
{
    return QString::fromUtf8(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-f"),
                                                                  QString::number(page), QStringLiteral("-l"),
                                                                  QString::number(page), pdf, QStringLiteral("-")}))
        .simplified();
}

inline QString pdfInfo(const QString& pdf, const QString& key)
{
    const QString info = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch value =
        QRegularExpression(QStringLiteral("^%1:\\s+(.*)$").arg(key), QRegularExpression::MultilineOption).match(info);
    return value.hasMatch() ? value.captured(1).trimmed() : QString();
}

inline int pdfPageCount(const QString& pdf)
{
    bool number = false;
    const int pages = pdfInfo(pdf, QStringLiteral("Pages")).toInt(&number);
    return number ? pages : -1;
}

// One page rasterised by poppler at `dotsPerInch`.
inline QImage rasterisedPage(const QString& pdf, int page, int dotsPerInch = 100)
{
    QTemporaryDir folder;
    const QString stem = folder.filePath(QStringLiteral("page"));
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dotsPerInch),
                                         QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                         QString::number(page), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// The colour at a point given in millimetres from the paper's corner.
inline QRgb colourAtMm(const QImage& page, QPointF mm, int dotsPerInch = 100)
{
    const double dotsPerMm = dotsPerInch / 25.4;
    return page.pixel(qRound(mm.x() * dotsPerMm), qRound(mm.y() * dotsPerMm)) & 0xFFFFFF;
}

// Whether two colours are alike within `slack` in each of red, green and blue.
inline bool colourNear(QRgb actual, QRgb expected, int slack = 12)
{
    return std::abs(qRed(actual) - qRed(expected)) <= slack && std::abs(qGreen(actual) - qGreen(expected)) <= slack &&
           std::abs(qBlue(actual) - qBlue(expected)) <= slack;
}

} // namespace brivanto::testing
