#include "access/PasswordCodec.h"
#include "access/PasswordFile.h"
#include "storage/ProgramFolder.h"

#include "AccessTestSupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <cstdint>

using namespace brivanto;

namespace {

bool isUpperCaseHex(const QString& hex)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:[0-9A-F]{2})*$"));
    return pattern.match(hex).hasMatch();
}

QString allCodes(bool ascending)
{
    QString text;
    for (int code = 1; code <= 255; ++code)
        text += QChar(static_cast<char16_t>(ascending ? code : 256 - code));
    return text;
}

} // namespace

class TestPasswordCodec : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encodeKnownAnswers_data();
    void encodeKnownAnswers();
    void decode_data();
    void decode();
    void everyCharacterRoundTrips();
    void longTextsRoundTrip_data();
    void longTextsRoundTrip();
    void deliveredFileHoldsTheInitialPassword();
};

void TestPasswordCodec::encodeKnownAnswers_data()
{
    // Expected values worked out apart from this code, from the scrambling rule itself.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hex");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one letter") << QStringLiteral("A") << QStringLiteral("4E");
    QTest::newRow("key follows the scrambled byte") << QStringLiteral("ABC") << QStringLiteral("4E04DF");
    QTest::newRow("initial password")
        << QStringLiteral("BENVENUTISSIMO") << QStringLiteral("4D8B4C4A1AEB37AB82DE806E580E");
    QTest::newRow("accented letter") << QStringLiteral(u"CAFF\u00E8") << QStringLiteral("4C14BEFAFC");
    QTest::newRow("highest, lowest and blank")
        << QStringLiteral(u"\u00FF\u0001 ") << QStringLiteral("F07257");
    QTest::newRow("only the low 8 bits count") << QStringLiteral(u"\u0141BC") << QStringLiteral("4E04DF");
}

void TestPasswordCodec::encodeKnownAnswers()
{
    QFETCH(QString, text);
    QFETCH(QString, hex);
    QCOMPARE(EncodePassword(text), hex);
}

void TestPasswordCodec::decode_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("decodable");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString() << true << QString();
    QTest::newRow("upper-case digits") << QStringLiteral("4E04DF") << true << QStringLiteral("ABC");
    QTest::newRow("lower-case digits") << QStringLiteral("4e04df") << true << QStringLiteral("ABC");
    QTest::newRow("mixed-case digits") << QStringLiteral("4e04Df") << true << QStringLiteral("ABC");
    QTest::newRow("odd digit ignored") << QStringLiteral("4E04DF7") << true << QStringLiteral("ABC");
    QTest::newRow("odd non-digit ignored") << QStringLiteral("4E04DFz") << true << QStringLiteral("ABC");
    QTest::newRow("single digit") << QStringLiteral("4") << true << QString();
    QTest::newRow("letter past F") << QStringLiteral("4E0G") << false << QString();
    QTest::newRow("bad first pair") << QStringLiteral("XX04DF") << false << QString();
    QTest::newRow("sign") << QStringLiteral("+E04") << false << QString();
    QTest::newRow("blank in pair") << QStringLiteral("4E 4") << false << QString();
    QTest::newRow("hex prefix") << QStringLiteral("0x4E") << false << QString();
    QTest::newRow("full-width digits") << QStringLiteral(u"\uFF14\uFF25") << false << QString();
}

void TestPasswordCodec::decode()
{
    QFETCH(QString, hex);
    QFETCH(bool, decodable);
    QFETCH(QString, text);
    const std::optional<QString> decoded = DecodePassword(hex);
    QCOMPARE(decoded.has_value(), decodable);
    if (decodable)
        QCOMPARE(*decoded, text);
}

void TestPasswordCodec::everyCharacterRoundTrips()
{
    for (int code = 1; code <= 255; ++code) {
        const QString text(QChar(static_cast<char16_t>(code)));
        const QString hex = EncodePassword(text);
        QVERIFY2(hex.size() == 2 && isUpperCaseHex(hex), qPrintable(hex));
        QCOMPARE(DecodePassword(hex), std::optional<QString>(text));
    }
}

void TestPasswordCodec::longTextsRoundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("every code ascending") << allCodes(true);
    QTest::newRow("every code descending") << allCodes(false);
    QTest::newRow("255 times the highest code") << QString(255, QChar(0xFF));
    QTest::newRow("255 times the lowest code") << QString(255, QChar(0x01));
    QString mixed;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 255; ++i) {
        seed = seed * 1103515245u + 12345u;
        mixed += QChar(static_cast<char16_t>(1 + (seed >> 16) % 255));
    }
    QTest::newRow("pseudo-random codes") << mixed;
}

void TestPasswordCodec::longTextsRoundTrip()
{
    QFETCH(QString, text);
    const QString hex = EncodePassword(text);
    QCOMPARE(hex.size(), 2 * text.size());
    QVERIFY(isUpperCaseHex(hex));
    QCOMPARE(DecodePassword(hex), std::optional<QString>(text));
    QCOMPARE(DecodePassword(hex.toLower()), std::optional<QString>(text));
}

void TestPasswordCodec::deliveredFileHoldsTheInitialPassword()
{
    const QString delivered = QStringLiteral(BRIVANTO_DELIVERED_PASSWORD_FILE);
    QFile file(delivered);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(delivered));
    QCOMPARE(file.readAll(), QByteArray("[Accesso]\r\nValore=4D8B4C4A1AEB37AB82DE806E580E\r\n"));

    setProgramFolderForTesting(QFileInfo(delivered).absolutePath());
    const std::optional<QString> stored = readStoredPassword();
    setProgramFolderForTesting({});
    QCOMPARE(stored, std::optional<QString>(QStringLiteral("BENVENUTISSIMO")));
}

QTEST_MAIN(TestPasswordCodec)
#include "tst_password_codec.moc"
