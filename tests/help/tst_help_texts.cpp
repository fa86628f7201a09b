#include "help/Help.h"

#include <QTest>

using brivanto::help::helpParagraphs;
using brivanto::help::helpText;
using brivanto::help::helpTitle;
using brivanto::help::HelpTopic;

Q_DECLARE_METATYPE(HelpTopic)

namespace {
const QString Separator = QStringLiteral("\r\n\r\n");

void addTopicRows()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::newRow("overview") << HelpTopic::Overview;
    QTest::newRow("archives") << HelpTopic::Archives;
    QTest::newRow("editor") << HelpTopic::Editor;
    QTest::newRow("export") << HelpTopic::Export;
    QTest::newRow("statistics") << HelpTopic::Statistics;
}
} // namespace

class TestHelpTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void titleAndLength_data();
    void titleAndLength();
    void everyParagraphIsOneParagraph_data() { addTopicRows(); }
    void everyParagraphIsOneParagraph();
    void screensReuseRunsOfTheOverview_data();
    void screensReuseRunsOfTheOverview();
    void textHasOneEmptyLineBetweenParagraphs_data() { addTopicRows(); }
    void textHasOneEmptyLineBetweenParagraphs();
    void exportHelpIsItsOwn();
    void firstPasswordIsQuotedOnce();
};

void TestHelpTexts::titleAndLength_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("paragraphs");

    QTest::newRow("overview") << HelpTopic::Overview << QStringLiteral("Uno sguardo a Brivanto") << 25;
    QTest::newRow("archives") << HelpTopic::Archives
                              << QStringLiteral("Creazione e apertura archivi giochi da tavolo") << 6;
    QTest::newRow("editor") << HelpTopic::Editor << QStringLiteral("App Zendaro") << 13;
    QTest::newRow("export") << HelpTopic::Export
                            << QStringLiteral("Esportazione archivio giochi da tavolo in Excel") << 4;
    QTest::newRow("statistics") << HelpTopic::Statistics << QStringLiteral("Statistiche della collezione")
                                << 8;
}

void TestHelpTexts::titleAndLength()
{
    QFETCH(HelpTopic, topic);
    QFETCH(QString, title);
    QFETCH(int, paragraphs);

    QCOMPARE(helpTitle(topic), title);
    QCOMPARE(helpParagraphs(topic).size(), paragraphs);
}

void TestHelpTexts::everyParagraphIsOneParagraph()
{
    QFETCH(HelpTopic, topic);

    const QStringList paragraphs = helpParagraphs(topic);
    for (qsizetype index = 0; index < paragraphs.size(); ++index) {
        const QString& paragraph = paragraphs.at(index);
        const QByteArray where = "paragraph " + QByteArray::number(index + 1);
        QVERIFY2(paragraph.size() > 20, where);
        QVERIFY2(paragraph == paragraph.trimmed(), where);
        QVERIFY2(!paragraph.contains(QLatin1Char('\r')) && !paragraph.contains(QLatin1Char('\n')), where);
        QVERIFY2(!paragraph.contains(QStringLiteral("  ")), where);
        QVERIFY2(paragraph.endsWith(QLatin1Char('.')), where);
    }
}

void TestHelpTexts::screensReuseRunsOfTheOverview_data()
{
    QTest::addColumn<HelpTopic>("topic");
    QTest::addColumn<int>("first"); // overview paragraph numbers, from 1
    QTest::addColumn<int>("last");

    QTest::newRow("create and open archive screens") << HelpTopic::Archives << 3 << 8;
    QTest::newRow("record editor") << HelpTopic::Editor << 9 << 21;
}

void TestHelpTexts::screensReuseRunsOfTheOverview()
{
    QFETCH(HelpTopic, topic);
    QFETCH(int, first);
    QFETCH(int, last);

    const QStringList overview = helpParagraphs(HelpTopic::Overview);
    QCOMPARE(helpParagraphs(topic), overview.mid(first - 1, last - first + 1));
    QVERIFY(helpText(HelpTopic::Overview).contains(helpText(topic)));
}

void TestHelpTexts::textHasOneEmptyLineBetweenParagraphs()
{
    QFETCH(HelpTopic, topic);

    const QString text = helpText(topic);
    QCOMPARE(text.split(Separator), helpParagraphs(topic));
    QCOMPARE(text.count(Separator), helpParagraphs(topic).size() - 1);
    QVERIFY(!text.startsWith(QLatin1Char('\r')) && !text.startsWith(QLatin1Char('\n')));
    QVERIFY(!text.endsWith(QLatin1Char('\r')) && !text.endsWith(QLatin1Char('\n')));
}

void TestHelpTexts::exportHelpIsItsOwn()
{
    const QStringList overview = helpParagraphs(HelpTopic::Overview);
    for (const QString& paragraph : helpParagraphs(HelpTopic::Export))
        QVERIFY2(!overview.contains(paragraph), qPrintable(paragraph));
    QVERIFY(helpParagraphs(HelpTopic::Export).constFirst().contains(QStringLiteral("\"Esporta archivio\"")));
}

void TestHelpTexts::firstPasswordIsQuotedOnce()
{
    const QStringList overview = helpParagraphs(HelpTopic::Overview);
    QVERIFY(overview.at(22).contains(QStringLiteral("\"benvenutissimo\"")));
    QCOMPARE(helpText(HelpTopic::Overview).count(QStringLiteral("benvenutissimo")), 1);
}

QTEST_MAIN(TestHelpTexts)
#include "tst_help_texts.moc"
