#include "editor/EditorKeys.h"
#include "help/Help.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using brivanto::help::helpParagraphs;
using brivanto::help::helpTitle;
using brivanto::help::HelpTopic;

Q_DECLARE_METATYPE(HelpTopic)

namespace {
const QString GuidePath = QStringLiteral(GUIDE_PATH);

// The first words of a paragraph: enough to find it, short enough to stay on one line of the page.
QString opening(const QString& paragraph)
{
    return paragraph.split(QLatin1Char(' ')).mid(0, 5).join(QLatin1Char(' '));
}
} // namespace

class TestHelpGuide : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void guideIsAPdfOfSeveralPages();
    void guideHoldsTheTitle();
    void guideHoldsEveryParagraphOnce_data();
    void guideHoldsEveryParagraphOnce();
    void keyboardChapterNamesEveryEditorKey();

private:
    QString guideText_; // as a reader extracts it, whitespace simplified; empty without one
};

void TestHelpGuide::initTestCase()
{
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (reader.isEmpty())
        return;
    QProcess process;
    process.start(reader, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), GuidePath, QStringLiteral("-")});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    // Compatibility normalisation turns the typographic ligatures the fonts draw back into letters.
    guideText_ = QString::fromUtf8(process.readAllStandardOutput())
                     .normalized(QString::NormalizationForm_KC)
                     .simplified();
    QVERIFY(!guideText_.isEmpty());
}

void TestHelpGuide::guideIsAPdfOfSeveralPages()
{
    QFile guide(GuidePath);
    QVERIFY2(guide.open(QIODevice::ReadOnly), qPrintable(GuidePath));
    const QByteArray content = guide.readAll();
    QVERIFY(content.startsWith("%PDF-"));
    QVERIFY(content.trimmed().endsWith("%%EOF"));
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    QVERIFY(QString::fromLatin1(content).count(pageObject) > 2);
}

void TestHelpGuide::guideHoldsTheTitle()
{
    if (guideText_.isEmpty())
        QSKIP("pdftotext is not installed");
    QVERIFY(guideText_.startsWith(QStringLiteral("Guida all'utilizzo di Brivanto")));
}

void TestHelpGuide::guideHoldsEveryParagraphOnce_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("overview") << helpTitle(HelpTopic::Overview) << helpParagraphs(HelpTopic::Overview);
    QTest::newRow("spreadsheet export") << helpTitle(HelpTopic::Export) << helpParagraphs(HelpTopic::Export);
    QTest::newRow("statistics") << helpTitle(HelpTopic::Statistics) << helpParagraphs(HelpTopic::Statistics);
    QTest::newRow("keyboard") << brivanto::help::keyboardTitle() << brivanto::help::keyboardParagraphs();
}

void TestHelpGuide::guideHoldsEveryParagraphOnce()
{
    QFETCH(QString, title);
    QFETCH(QStringList, paragraphs);
    if (guideText_.isEmpty())
        QSKIP("pdftotext is not installed");

    const qsizetype heading = guideText_.indexOf(title);
    QVERIFY2(heading >= 0, qPrintable(title));
    // In order after their heading, and once only: a line drawn on two pages would show twice.
    qsizetype from = heading;
    for (const QString& paragraph : paragraphs) {
        const QString words = opening(paragraph);
        const qsizetype at = guideText_.indexOf(words, from);
        QVERIFY2(at > from, qPrintable(words));
        QVERIFY2(guideText_.indexOf(words, at + 1) < 0, qPrintable(words));
        from = at;
    }
}

// Each key of the editor's toolbar with what it does, as the chapter's last paragraphs.
void TestHelpGuide::keyboardChapterNamesEveryEditorKey()
{
    if (guideText_.isEmpty())
        QSKIP("pdftotext is not installed");
    const qsizetype chapter = guideText_.lastIndexOf(brivanto::help::keyboardTitle());
    QVERIFY(chapter > guideText_.indexOf(helpTitle(HelpTopic::Export)));
    for (const brivanto::EditorKey& key : brivanto::EditorKeys) {
        const QString line =
            QString::fromUtf16(key.name) + QStringLiteral(": ") + QString::fromUtf16(key.does);
        QVERIFY2(guideText_.indexOf(line, chapter) > chapter, qPrintable(line));
    }
    QVERIFY(guideText_.contains(QStringLiteral("Ctrl+S: salva la scheda in archivio.")));
    QVERIFY(guideText_.contains(QStringLiteral("Ctrl+T: apre le statistiche dell'archivio")));
    QVERIFY(guideText_.contains(QStringLiteral("Alt+Home: mostra la prima scheda dell'archivio.")));
}

QTEST_MAIN(TestHelpGuide)
#include "tst_help_guide.moc"
