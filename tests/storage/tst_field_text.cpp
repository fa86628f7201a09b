#include "storage/FieldText.h"

#include <QTest>

using namespace brivanto;

namespace {
QByteArray fieldBytes(const std::uint8_t* field, std::size_t capacity)
{
    return QByteArray(reinterpret_cast<const char*>(field), static_cast<qsizetype>(capacity + 1));
}
} // namespace

class TestFieldText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layoutMatchesTheFileFormat();
    void textToField_data();
    void textToField();
    void cutFallsAfterTrimming();
    void bytesAfterTheValueAreZeroed();
    void fieldToTextReadsOnlyTheValue();
    void oversizedLengthByteIsReadAsCapacity();
    void everyByteRoundTrips();
    void forSaleMark();
};

void TestFieldText::layoutMatchesTheFileFormat()
{
    // The table that code walks must agree with the structure, field by field, end to end.
    std::size_t expected = 0;
    for (const FieldInfo& info : Fields) {
        QCOMPARE(info.offset, expected);
        expected += info.capacity + 1;
    }
    QCOMPARE(expected, RecordSize);
    QCOMPARE(Fields.front().name, std::string_view("name"));
    QCOMPARE(Fields[21].name, std::string_view("forSale"));
    QCOMPARE(Fields.back().name, std::string_view("attachmentDescription3"));
}

void TestFieldText::textToField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored"); // length byte and value

    QTest::newRow("blanks around") << QStringLiteral("  Scacchi  ") << QByteArray("\x07Scacchi");
    QTest::newRow("controls around, blanks inside")
        << QStringLiteral("\t\r\nRisiko  classico\x01") << QByteArray("\x10Risiko  classico");
    QTest::newRow("only blanks") << QStringLiteral("   \t ") << QByteArray("\x00", 1);
    QTest::newRow("euro is byte 80") << QStringLiteral(u"\u20AC 12") << QByteArray("\x04\x80 12");
    QTest::newRow("accented letters") << QStringLiteral(u"Et\u00E0 \u00E8")
                                      << QByteArray("\x05"
                                                    "Et\xE0 \xE8");
    QTest::newRow("outside the code page") << QStringLiteral(u"\u4E2D\u0141") << QByteArray("\x02??");
    QTest::newRow("surrogate pair is one character") << QStringLiteral(u"a\U0001F3B2b")
                                                     << QByteArray("\x03"
                                                                   "a?b");
    QTest::newRow("holes of the code page") << QStringLiteral(u"\u0081\u008D") << QByteArray("\x02\x81\x8D");
}

void TestFieldText::textToField()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    GameRecord record;
    TextToField(text, record.name);
    QCOMPARE(fieldBytes(&record.name.length, 120).left(stored.size()), stored);
}

void TestFieldText::cutFallsAfterTrimming()
{
    GameRecord record;
    TextToField(QString(130, QLatin1Char('x')), record.name);
    QCOMPARE(int(record.name.length), 120);

    // Trimming happens before the cut, so a stored value may end in a blank.
    TextToField(QStringLiteral("  abc defgh  "), record.year);
    QCOMPARE(fieldBytes(&record.year.length, 4), QByteArray("\x04"
                                                            "abc "));
    QCOMPARE(FieldToText(record.year), QStringLiteral("abc"));
}

void TestFieldText::bytesAfterTheValueAreZeroed()
{
    GameRecord record;
    TextToField(QStringLiteral("Monopoly deluxe edition"), record.publisher);
    TextToField(QStringLiteral("Go"), record.publisher);
    QByteArray expected("\x02Go");
    expected.append(QByteArray(48, '\0'));
    QCOMPARE(fieldBytes(&record.publisher.length, 50), expected);
}

void TestFieldText::fieldToTextReadsOnlyTheValue()
{
    GameRecord record;
    record.year.length = 2;
    record.year.bytes = {'1', '9', '8', '4'};
    QCOMPARE(FieldToText(record.year), QStringLiteral("19"));
    record.marketValue.length = 6;
    std::memcpy(record.marketValue.bytes.data(), " 1,50\x09garbage", 12);
    QCOMPARE(FieldToText(record.marketValue), QStringLiteral("1,50"));
}

void TestFieldText::oversizedLengthByteIsReadAsCapacity()
{
    // Only a damaged file has one; it must never read into the next field.
    GameRecord record;
    TextToField(QStringLiteral("Nord"), record.countryOfOrigin);
    record.year.length = 255;
    record.year.bytes = {'2', '0', '2', '6'};
    QCOMPARE(FieldToText(record.year), QStringLiteral("2026"));
}

void TestFieldText::everyByteRoundTrips()
{
    // Every byte above the blank decodes to one character that encodes back to the same byte.
    GameRecord record;
    for (int b = 0x21; b <= 0xFF; ++b) {
        record.idCode.length = 1;
        record.idCode.bytes[0] = static_cast<std::uint8_t>(b);
        const QString text = FieldToText(record.idCode);
        QCOMPARE(text.size(), 1);
        GameRecord again;
        TextToField(text, again.idCode);
        QCOMPARE(int(again.idCode.length), 1);
        QCOMPARE(int(again.idCode.bytes[0]), b);
    }
}

void TestFieldText::forSaleMark()
{
    GameRecord record;
    writeForSale(record, true);
    QCOMPARE(fieldBytes(&record.forSale.length, 2), QByteArray("\x02\x53\xEC"));
    QCOMPARE(readForSale(record), std::optional<bool>(true));
    writeForSale(record, false);
    QCOMPARE(fieldBytes(&record.forSale.length, 2), QByteArray("\x02\x4E\x6F"));
    QCOMPARE(readForSale(record), std::optional<bool>(false));
    record.forSale.length = 0;
    QCOMPARE(readForSale(record), std::nullopt);
    TextToField(QStringLiteral("si"), record.forSale);
    QCOMPARE(readForSale(record), std::nullopt);
}

QTEST_APPLESS_MAIN(TestFieldText)
#include "tst_field_text.moc"
