#include <QTest>
class TestSearchScreens : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(TestSearchScreens)
#include "tst_search_screens.moc"
