#include "access/PasswordCodec.h"
#include "access/PasswordFile.h"

#include "AccessTestSupport.h"

#include <QTest>

using namespace brivanto;
using namespace brivanto::testing;

class TestPasswordFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void normalisingTypedPasswords_data();
    void normalisingTypedPasswords();
    void writingThePassword_data();
    void writingThePassword();
};

void TestPasswordFile::normalisingTypedPasswords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalised");

    QTest::newRow("small letters") << QStringLiteral("abcxyz") << QStringLiteral("ABCXYZ");
    QTest::newRow("capitals and digits kept") << QStringLiteral("Az09") << QStringLiteral("AZ09");
    QTest::newRow("neighbours of a and z kept") << QStringLiteral("`{@[") << QStringLiteral("`{@[");
    QTest::newRow("accented letters kept") << QStringLiteral(u"\u00E8\u00C8\u00E0\u00FF\u00DF")
                                           << QStringLiteral(u"\u00E8\u00C8\u00E0\u00FF\u00DF");
    QTest::newRow("letters beyond Latin-1 kept")
        << QStringLiteral(u"\u0142\u03B1") << QStringLiteral(u"\u0142\u03B1");
    QTest::newRow("blanks inside kept, around dropped") << QStringLiteral(" a b ") << QStringLiteral("A B");
    QTest::newRow("controls around dropped, no-break space kept")
        << QStringLiteral(u"\x01\t\u00A0x\u00A0\x1F\r\n") << QStringLiteral(u"\u00A0X\u00A0");
}

void TestPasswordFile::normalisingTypedPasswords()
{
    QFETCH(QString, text);
    QFETCH(QString, normalised);
    QCOMPARE(brivanto::normalisedPassword(text), normalised);
}

void TestPasswordFile::writingThePassword_data()
{
    // The file as it was (null: missing), the password typed, and the file afterwards. "abc"
    // is stored as "ABC", scrambled 4E04DF.
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing file is created")
        << QByteArray() << QStringLiteral("abc") << QByteArray("[Accesso]\r\nValore=4E04DF\r\n");
    QTest::newRow("empty file") << QByteArray("") << QStringLiteral("abc")
                                << QByteArray("[Accesso]\r\nValore=4E04DF\r\n");
    QTest::newRow("blanks around not stored")
        << DeliveredFile << QStringLiteral(" \t abc  ") << QByteArray("[Accesso]\r\nValore=4E04DF\r\n");
    QTest::newRow("value replaced, the rest kept byte for byte")
        << QByteArray("; Brivanto\r\n[Generale]\r\nNome=Caff\xE8 \x80\x81\r\n\r\n[Accesso]\r\nValore=" +
                      DeliveredPassword + "\r\nAltro=1\r\n\r\n[Fine]\r\nX=Y\r\n")
        << QStringLiteral("abc")
        << QByteArray(
               "; Brivanto\r\n[Generale]\r\nNome=Caff\xE8 \x80\x81\r\n\r\n[Accesso]\r\nValore=4E04DF\r\n"
               "Altro=1\r\n\r\n[Fine]\r\nX=Y\r\n");
    QTest::newRow("line feeds kept") << QByteArray("[Accesso]\nValore=" + DeliveredPassword +
                                                   "\n[Fine]\nX=Y\n")
                                     << QStringLiteral("abc")
                                     << QByteArray("[Accesso]\nValore=4E04DF\n[Fine]\nX=Y\n");
    QTest::newRow("names in other letter case")
        << QByteArray("[ACCESSO]\r\n  valore = " + DeliveredPassword + "\r\n") << QStringLiteral("abc")
        << QByteArray("[ACCESSO]\r\nValore=4E04DF\r\n");
    QTest::newRow("key added to its section")
        << QByteArray("[Accesso]\r\nAltro=1\r\n\r\n[Fine]\r\nX=Y\r\n") << QStringLiteral("abc")
        << QByteArray("[Accesso]\r\nAltro=1\r\nValore=4E04DF\r\n\r\n[Fine]\r\nX=Y\r\n");
    QTest::newRow("section added after the others")
        << QByteArray("[Generale]\r\nValore=1\r\n") << QStringLiteral("abc")
        << QByteArray("[Generale]\r\nValore=1\r\n[Accesso]\r\nValore=4E04DF\r\n");
    QTest::newRow("last line without line end")
        << QByteArray("[Accesso]\r\nValore=" + DeliveredPassword) << QStringLiteral("abc")
        << QByteArray("[Accesso]\r\nValore=4E04DF");
    QTest::newRow("accented letter as typed")
        << DeliveredFile << QStringLiteral(u"caff\u00E8") << QByteArray("[Accesso]\r\nValore=4C14BEFAFC\r\n");
}

void TestPasswordFile::writingThePassword()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, typed);
    QFETCH(QByteArray, after);

    TestProgramFolder folder;
    QVERIFY(folder.isValid());
    if (!before.isNull())
        QVERIFY(folder.writePasswordFile(before));

    QVERIFY(brivanto::writeStoredPassword(typed));
    QCOMPARE(folder.passwordFileBytes(), after);
    QCOMPARE(folder.entries(), QStringList{QStringLiteral("unins000.dll")});
    QCOMPARE(readStoredPassword(), std::optional<QString>(normalisedPassword(typed)));
}

QTEST_MAIN(TestPasswordFile)
#include "tst_password_file.moc"
