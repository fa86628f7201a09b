#include "editor/MarketValue.h"

#include <QLocale>
#include <QTest>

using namespace brivanto;

class TestMarketValue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void normalise_data();
    void normalise();
    void acceptedText_data();
    void acceptedText();
};

void TestMarketValue::initTestCase()
{
    // Other code changes the default locale; a point separator and thousands grouping must not
    // leak into the stored value.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestMarketValue::normalise_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    // Nothing there.
    QTest::newRow("empty") << ""
                           << "0,00";
    QTest::newRow("blanks") << "   "
                            << "0,00";
    QTest::newRow("blanks and controls") << " \t\r\n "
                                         << "0,00";

    // Completed to two decimals.
    QTest::newRow("whole") << "12"
                           << "12,00";
    QTest::newRow("one decimal") << "12,5"
                                 << "12,50";
    QTest::newRow("single digit") << "7"
                                  << "7,00";
    QTest::newRow("leading zeros") << "007"
                                   << "7,00";
    QTest::newRow("comma first") << ",5"
                                 << "0,50";
    QTest::newRow("comma last") << "5,"
                                << "5,00";
    QTest::newRow("comma alone") << ","
                                 << "0,00";
    QTest::newRow("zero") << "0"
                          << "0,00";
    QTest::newRow("two decimals kept") << "125,50"
                                       << "125,50";
    QTest::newRow("trailing zeros dropped first") << "3,5000"
                                                  << "3,50";

    // Rounding to cents: halves up, but a value the double holds just below a half goes down.
    QTest::newRow("half up") << "0,125"
                             << "0,13";
    QTest::newRow("carry into the units") << "12,999"
                                          << "13,00";
    QTest::newRow("below half a cent") << "0,004"
                                       << "0,00";
    QTest::newRow("half a cent") << "0,005"
                                 << "0,01";
    QTest::newRow("2,675 held below the half") << "2,675"
                                               << "2,67";
    QTest::newRow("1,005 held below the half") << "1,005"
                                               << "1,00";
    QTest::newRow("2,665 held above the half") << "2,665"
                                               << "2,67";

    // Fifteen significant digits, never an exponent.
    QTest::newRow("twelve nines") << "999999999999"
                                  << "999999999999,00";
    QTest::newRow("fifteen digits with cents") << "1234567890123,456"
                                               << "1234567890123,46";
    QTest::newRow("cut to fifteen digits") << "12345678901234,567"
                                           << "12345678901234,60";
    QTest::newRow("sixteen digits") << "1234567890123456"
                                    << "1234567890123460,00";
    QTest::newRow("1e20") << "1e20"
                          << "100000000000000000000,00";
    QTest::newRow("1e-5") << "1e-5"
                          << "0,00";

    // The exponent.
    QTest::newRow("exponent") << "1e3"
                              << "1000,00";
    QTest::newRow("capital exponent with sign") << "2,5E+2"
                                                << "250,00";
    QTest::newRow("negative exponent") << "125e-2"
                                       << "1,25";
    QTest::newRow("comma alone with exponent") << ",e5"
                                               << "0,00";
    QTest::newRow("overflow") << "1E400"
                              << "0,00";
    QTest::newRow("underflow") << "1e-400"
                               << "0,00";

    // Blanks, signs and control characters around the number.
    QTest::newRow("blanks around") << " 12 "
                                   << "12,00";
    QTest::newRow("tab and newline around") << "\t12,5\r\n"
                                            << "12,50";
    QTest::newRow("plus") << "+5"
                          << "5,00";
    QTest::newRow("plus comma") << "+,"
                                << "0,00";

    // Not a number.
    QTest::newRow("two commas") << "1,2,3"
                                << "0,00";
    QTest::newRow("letters") << "abc"
                             << "0,00";
    QTest::newRow("digits then letters") << "12abc"
                                         << "0,00";
    QTest::newRow("point is not the separator") << "12.5"
                                                << "0,00";
    QTest::newRow("thousands point") << "1.000,00"
                                     << "0,00";
    QTest::newRow("blank inside") << "1 000"
                                  << "0,00";
    QTest::newRow("sign alone") << "+"
                                << "0,00";
    QTest::newRow("two signs") << "+-5"
                               << "0,00";
    QTest::newRow("blank after the sign") << "+ 5"
                                          << "0,00";
    QTest::newRow("exponent without digits") << "1e"
                                             << "0,00";
    QTest::newRow("exponent alone") << "e5"
                                    << "0,00";
    QTest::newRow("euro sign") << "12€"
                               << "0,00";
    QTest::newRow("infinity") << "inf"
                              << "0,00";
    QTest::newRow("nan") << "nan"
                         << "0,00";
    QTest::newRow("hexadecimal") << "0x10"
                                 << "0,00";
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << "0,00";

    // Negatives go through the same formula, whose truncation is towards zero.
    QTest::newRow("negative cents") << "-2,345"
                                    << "-2,34";
    QTest::newRow("negative whole loses a cent") << "-5"
                                                 << "-4,99";
    QTest::newRow("negative cent becomes zero") << "-0,01"
                                                << "0,00";
    QTest::newRow("negative zero") << "-0"
                                   << "0,00";
}

void TestMarketValue::normalise()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(normaliseMarketValue(text), expected);
}

void TestMarketValue::acceptedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("digits and commas") << "0123456789,," << true;
    QTest::newRow("point") << "12.5" << false;
    QTest::newRow("minus") << "-5" << false;
    QTest::newRow("plus") << "+5" << false;
    QTest::newRow("space") << "1 2" << false;
    QTest::newRow("tab") << "\t" << false;
    QTest::newRow("letter") << "1e3" << false;
    QTest::newRow("pasted line end") << "12\n" << false;
    QTest::newRow("superscript two") << QString::fromUtf8("1\u00B2") << false;
    QTest::newRow("fullwidth digit") << QString::fromUtf8("\uFF11") << false;
}

void TestMarketValue::acceptedText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(isMarketValueText(text), accepted);
}

QTEST_APPLESS_MAIN(TestMarketValue)
#include "tst_market_value.moc"
