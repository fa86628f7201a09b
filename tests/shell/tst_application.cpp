#include "shell/Application.h"

#include "platform/testing/ScriptedPlatform.h"

#include <QTest>

#include <stdexcept>

using namespace brivanto;

namespace {
// A control whose handler fails in a way nobody catches.
class FailingHandler : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Impossibile scrivere: spazio su disco esaurito");
        return QObject::event(event);
    }
};
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unhandledFailureReachesTheGeneralErrorReport();
};

void TestApplication::unhandledFailureReachesTheGeneralErrorReport()
{
    platform::testing::ScriptedPlatform platform;
    FailingHandler handler;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&handler, &event);
    QCOMPARE(platform.messages.shown().size(), 1);
    QCOMPARE(platform.messages.shown().front().kind, platform::MessageKind::Error);
    QCOMPARE(platform.messages.shown().front().text,
             QString("Impossibile scrivere: spazio su disco esaurito"));
    // The program goes on: the next event is handled as usual.
    QEvent other(QEvent::None);
    QVERIFY(!QCoreApplication::sendEvent(&handler, &other));
    QCOMPARE(platform.messages.shown().size(), 1);
}

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
