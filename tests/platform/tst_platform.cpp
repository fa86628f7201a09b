#include "platform/DesktopShell.h"
#include "platform/MessageBoxes.h"
#include "platform/testing/ScriptedPlatform.h"

#include <QTest>

using namespace brivanto::platform;

class TestPlatform : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shellTarget_data();
    void shellTarget();
    void scriptedBoxesRecordAndRestore();
};

void TestPlatform::shellTarget_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("web address") << QStringLiteral("https://www.brivanto.example/")
                                 << QUrl(QStringLiteral("https://www.brivanto.example/"));
    QTest::newRow("quoted path") << QStringLiteral("\"/home/u/Brivanto/Guida.pdf\"")
                                 << QUrl::fromLocalFile(QStringLiteral("/home/u/Brivanto/Guida.pdf"));
    QTest::newRow("quoted path with blanks and hash")
        << QStringLiteral("\"/home/u/Brivanto/Documenti_Allegati/Gioco #1 (rev).pdf\"")
        << QUrl::fromLocalFile(QStringLiteral("/home/u/Brivanto/Documenti_Allegati/Gioco #1 (rev).pdf"));
    QTest::newRow("quoted mail address") << QStringLiteral("\"mailto:info@brivanto.example\"")
                                         << QUrl(QStringLiteral("mailto:info@brivanto.example"));
}

void TestPlatform::shellTarget()
{
    QFETCH(QString, command);
    QFETCH(QUrl, target);
    QCOMPARE(brivanto::platform::shellTarget(command), target);
}

void TestPlatform::scriptedBoxesRecordAndRestore()
{
    MessageBoxes* real = &MessageBoxes::real();
    {
        testing::ScriptedPlatform platform;
        QVERIFY(&Messages::current() == &platform.messages);
        platform.messages.answerNext(Answer::Yes);
        QVERIFY(confirm(nullptr, QStringLiteral("Domanda?")));
        QVERIFY(!confirm(nullptr, QStringLiteral("Di nuovo?"))); // unscripted questions answer No
        warning(nullptr, QStringLiteral("Attenzione: x"));
        QCOMPARE(platform.messages.texts(), QStringList({"Domanda?", "Di nuovo?", "Attenzione: x"}));
        QCOMPARE(platform.messages.shown().last().kind, MessageKind::Warning);
        QCOMPARE(platform.messages.shown().last().buttons, MessageButtons::OkCancel);
    }
    QVERIFY(&Messages::current() == real);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
