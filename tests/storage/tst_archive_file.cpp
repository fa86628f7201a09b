#include "storage/ArchiveFile.h"
#include "storage/FieldText.h"

#include "tests/support/ChildProcess.h"

#include "TaggedRecord.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brivanto;

namespace {

GameRecord recordNamed(const QString& title)
{
    GameRecord record;
    TextToField(title, record.name);
    writeForSale(record, false);
    return record;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray archiveOf(const QStringList& titles)
{
    QByteArray bytes;
    for (const QString& title : titles) {
        const GameRecord record = recordNamed(title);
        bytes.append(reinterpret_cast<const char*>(&record), RecordSize);
    }
    return bytes;
}

int runUnprivileged(const std::function<int()>& action)
{
    return brivanto::testing::runInChild(action, true);
}

// 0 when the archive operation failed with ArchiveError, 1 when it succeeded.
int failsWithArchiveError(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const ArchiveError&) {
        return 0;
    }
    return 1;
}

} // namespace

class TestArchiveFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void openCreatesMissingArchive();
    void pointerFollowsReadsAndWrites();
    void trailingPartialRecordIsOverwrittenByAppend();
    void overwriteKeepsOtherRecords();
    void invalidOperationsFail_data();
    void invalidOperationsFail();
    void readOnlyArchiveIsNeverTouched_data();
    void readOnlyArchiveIsNeverTouched();
    void failedAppendLeavesNoTornRecord();
    void concurrentAppendersKeepEveryRecord();
    void lockRefusals_data();
    void lockRefusals();
    void anotherProgramsLockIsWaitedFor();
    void writeOnReadAccessIsRefused();
    void accessErrorText();

private:
    // Every wait for a lock that Open reports: true when it starts, false when it ends.
    std::shared_ptr<QList<bool>> waits_;
    QTemporaryDir dir_;
    QString path_;
};

void TestArchiveFile::init()
{
    QVERIFY(dir_.isValid());
    ::chmod(QFile::encodeName(dir_.path()).constData(), 0777);
    path_ = dir_.filePath(QStringLiteral("Giochi.gdt"));
    QFile::remove(path_);
    waits_ = std::make_shared<QList<bool>>();
    ArchiveFile::setLockWaitObserver([waits = waits_](bool waiting) { waits->append(waiting); });
}

void TestArchiveFile::cleanup()
{
    ArchiveFile::setLockWaitObserver({});
    ArchiveFile::setLockAttemptForTesting({});
    ArchiveFile::setLockTimeoutMs(10000);
}

void TestArchiveFile::openCreatesMissingArchive()
{
    ArchiveFile archive;
    archive.Open(path_);
    QCOMPARE(archive.RecordCount(), 0);
    QVERIFY(archive.AtEnd());
    QCOMPARE(archive.Pointer(), 0);
    archive.Close();
    QVERIFY(QFile::exists(path_));
    QCOMPARE(QFileInfo(path_).size(), 0);
}

void TestArchiveFile::pointerFollowsReadsAndWrites()
{
    writeFile(path_, archiveOf({"uno", "due", "tre", "quattro", "cinque"}));
    ArchiveFile archive;
    archive.Open(path_, ArchiveFile::Access::Read);
    QCOMPARE(archive.RecordCount(), 5);
    GameRecord record;
    archive.Seek(0);
    archive.Read(record);
    QCOMPARE(archive.Pointer(), 1);
    QCOMPARE(FieldToText(record.name), QStringLiteral("uno"));
    archive.Seek(4);
    archive.Read(record);
    QCOMPARE(archive.Pointer(), 5);
    QVERIFY(archive.AtEnd());
    QCOMPARE(FieldToText(record.name), QStringLiteral("cinque"));

    // A visit reads every record in file order, backwards seeks included.
    archive.Seek(2);
    archive.Read(record);
    QCOMPARE(FieldToText(record.name), QStringLiteral("tre"));
    archive.Seek(0);
    QStringList titles;
    while (!archive.AtEnd()) {
        archive.Read(record);
        titles << FieldToText(record.name);
    }
    QCOMPARE(titles, QStringList({"uno", "due", "tre", "quattro", "cinque"}));
    // The same visit without copying each record.
    archive.Seek(1);
    titles.clear();
    while (!archive.AtEnd())
        titles << FieldToText(archive.ReadInPlace().name);
    QCOMPARE(titles, QStringList({"due", "tre", "quattro", "cinque"}));
    QCOMPARE(archive.Pointer(), 5);
    QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.ReadInPlace());
    archive.Close();

    archive.Open(path_);
    archive.Seek(archive.RecordCount());
    archive.Write(recordNamed(QStringLiteral("sei")));
    QCOMPARE(archive.Pointer(), 6);
    QCOMPARE(archive.RecordCount(), 6);
    archive.Close();
    QCOMPARE(QFileInfo(path_).size(), 6 * qint64(RecordSize));
}

void TestArchiveFile::trailingPartialRecordIsOverwrittenByAppend()
{
    writeFile(path_, archiveOf({"uno", "due"}) + QByteArray(100, '\x7F'));
    ArchiveFile archive;
    archive.Open(path_);
    QCOMPARE(archive.RecordCount(), 2);
    GameRecord record;
    int visited = 0;
    while (!archive.AtEnd()) {
        archive.Read(record);
        ++visited;
    }
    QCOMPARE(visited, 2);
    archive.Seek(archive.RecordCount());
    archive.Write(recordNamed(QStringLiteral("tre")));
    QCOMPARE(archive.Pointer(), 3);
    archive.Close();
    QCOMPARE(readFile(path_), archiveOf({"uno", "due", "tre"}));
}

void TestArchiveFile::overwriteKeepsOtherRecords()
{
    writeFile(path_, archiveOf({"uno", "due", "tre"}));
    ArchiveFile archive;
    archive.Open(path_);
    archive.Seek(1);
    archive.Write(recordNamed(QStringLiteral("DUE")));
    QCOMPARE(archive.Pointer(), 2);
    // A read after a write sees the new record, not a stale read-ahead.
    archive.Seek(0);
    GameRecord record;
    archive.Read(record);
    archive.Read(record);
    QCOMPARE(FieldToText(record.name), QStringLiteral("DUE"));
    archive.Close();
    QCOMPARE(readFile(path_), archiveOf({"uno", "DUE", "tre"}));
}

void TestArchiveFile::invalidOperationsFail_data()
{
    QTest::addColumn<std::function<void(ArchiveFile&)>>("operation");
    QTest::addColumn<bool>("open");
    GameRecord record;
    QTest::newRow("negative seek") << std::function<void(ArchiveFile&)>([](ArchiveFile& a) { a.Seek(-1); })
                                   << true;
    QTest::newRow("read at end") << std::function<void(ArchiveFile&)>([record](ArchiveFile& a) mutable {
        a.Seek(a.RecordCount());
        a.Read(record);
    }) << true;
    QTest::newRow("read past end") << std::function<void(ArchiveFile&)>([record](ArchiveFile& a) mutable {
        a.Seek(7);
        a.Read(record);
    }) << true;
    QTest::newRow("count when closed")
        << std::function<void(ArchiveFile&)>([](ArchiveFile& a) { a.RecordCount(); }) << false;
    QTest::newRow("pointer when closed")
        << std::function<void(ArchiveFile&)>([](ArchiveFile& a) { a.Pointer(); }) << false;
    QTest::newRow("at end when closed")
        << std::function<void(ArchiveFile&)>([](ArchiveFile& a) { a.AtEnd(); }) << false;
    QTest::newRow("open a folder") << std::function<void(ArchiveFile&)>([](ArchiveFile& a) {
        a.Open(QFileInfo(a.path()).absolutePath());
    }) << true;
}

void TestArchiveFile::invalidOperationsFail()
{
    QFETCH(std::function<void(ArchiveFile&)>, operation);
    QFETCH(bool, open);
    writeFile(path_, archiveOf({"uno", "due"}) + QByteArray(10, 'x'));
    const QByteArray before = readFile(path_);
    ArchiveFile archive;
    if (open)
        archive.Open(path_);
    QVERIFY_THROWS_EXCEPTION(ArchiveError, operation(archive));
    archive.Close();
    QCOMPARE(readFile(path_), before);
}

void TestArchiveFile::readOnlyArchiveIsNeverTouched_data()
{
    QTest::addColumn<bool>("fileReadOnly");
    QTest::addColumn<bool>("folderReadOnly");
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("read-only file") << true << false << true;
    QTest::newRow("read-only folder, existing file") << true << true << true;
    QTest::newRow("read-only folder, missing file") << false << true << false;
}

void TestArchiveFile::readOnlyArchiveIsNeverTouched()
{
    QFETCH(bool, fileReadOnly);
    QFETCH(bool, folderReadOnly);
    QFETCH(bool, fileExists);
    const QByteArray content = archiveOf({"uno", "due"});
    if (fileExists)
        writeFile(path_, content);
    if (fileReadOnly)
        ::chmod(QFile::encodeName(path_).constData(), 0444);
    if (folderReadOnly)
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0555);

    const QString path = path_;
    const int result = runUnprivileged([path] {
        return failsWithArchiveError([path] {
            ArchiveFile archive;
            archive.Open(path);
            archive.Seek(archive.RecordCount());
            archive.Write(recordNamed(QStringLiteral("tre")));
            archive.Close();
        });
    });
    ::chmod(QFile::encodeName(dir_.path()).constData(), 0777);
    QCOMPARE(result, 0);
    QCOMPARE(QFile::exists(path_), fileExists);
    if (fileExists)
        QCOMPARE(readFile(path_), content);
}

void TestArchiveFile::failedAppendLeavesNoTornRecord()
{
    // The disk fills up in the middle of a record: the archive keeps its length and content.
    const QByteArray content = archiveOf({"uno", "due"}) + QByteArray(100, 'x');
    writeFile(path_, content);
    ::chmod(QFile::encodeName(path_).constData(), 0666);
    const QString path = path_;
    const qint64 limit = content.size() + 1000;
    const int result = runUnprivileged([path, limit] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{rlim_t(limit), rlim_t(limit)};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            return 91;
        ArchiveFile archive;
        if (failsWithArchiveError([&] { archive.Open(path); }) == 0)
            return 92;
        return failsWithArchiveError([&] {
            archive.Seek(archive.RecordCount());
            archive.Write(recordNamed(QStringLiteral("tre")));
            archive.Close();
        });
    });
    QCOMPARE(result, 0);
    QCOMPARE(readFile(path_), content);
}

void TestArchiveFile::concurrentAppendersKeepEveryRecord()
{
    constexpr int PerWriter = 150;
    QProcess first;
    QProcess second;
    const QStringList args1{path_, QStringLiteral("1"), QString::number(PerWriter)};
    const QStringList args2{path_, QStringLiteral("2"), QString::number(PerWriter)};
    first.start(QStringLiteral(APPENDER_PATH), args1);
    second.start(QStringLiteral(APPENDER_PATH), args2);
    QVERIFY(first.waitForFinished(120000));
    QVERIFY(second.waitForFinished(120000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    ArchiveFile archive;
    archive.Open(path_, ArchiveFile::Access::Read);
    QCOMPARE(archive.RecordCount(), 2 * PerWriter);
    QCOMPARE(QFileInfo(path_).size(), 2 * PerWriter * qint64(RecordSize));
    QSet<QString> seen;
    GameRecord record;
    while (!archive.AtEnd()) {
        archive.Read(record);
        const QString tag = FieldToText(record.name).section(QLatin1Char('|'), 0, 0);
        const int writer = tag.section(QLatin1Char('/'), 0, 0).toInt();
        const int sequence = tag.section(QLatin1Char('/'), 1, 1).toInt();
        const GameRecord expected = taggedRecord(writer, sequence);
        QVERIFY2(std::memcmp(&record, &expected, RecordSize) == 0, qPrintable(tag));
        seen.insert(tag);
    }
    QCOMPARE(seen.size(), 2 * PerWriter);
}

void TestArchiveFile::lockRefusals_data()
{
    // What the lock call answers, attempt after attempt (the last answer repeats), and what Open
    // then does: work (locked or not) or give up with the archive access error.
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("waits");
    QTest::newRow("network folder without lock service (ENOLCK)") << QList<int>{ENOLCK} << true << false;
    QTest::newRow("file system without locks (EOPNOTSUPP)") << QList<int>{EOPNOTSUPP} << true << false;
    QTest::newRow("lock call not implemented (ENOSYS)") << QList<int>{ENOSYS} << true << false;
    QTest::newRow("lock kind unknown to the kernel (EINVAL)") << QList<int>{EINVAL} << true << false;
    QTest::newRow("interrupted, then placed") << QList<int>{EINTR, 0} << true << false;
    QTest::newRow("held by another program, released") << QList<int>{EAGAIN, EAGAIN, 0} << true << true;
    QTest::newRow("held by another program (EAGAIN) past the limit") << QList<int>{EAGAIN} << false << true;
    QTest::newRow("held by another program (EACCES) past the limit") << QList<int>{EACCES} << false << true;
}

void TestArchiveFile::lockRefusals()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, opens);
    QFETCH(bool, waits);
    const QByteArray content = archiveOf({"uno"});
    writeFile(path_, content);
    ArchiveFile::setLockTimeoutMs(50);
    auto script = std::make_shared<QList<int>>(answers);
    ArchiveFile::setLockAttemptForTesting([script](int, ArchiveFile::Access) {
        return script->size() > 1 ? script->takeFirst() : script->front();
    });

    ArchiveFile archive;
    auto append = [&] {
        archive.Open(path_);
        archive.Seek(archive.RecordCount());
        archive.Write(recordNamed(QStringLiteral("due")));
        archive.Close();
    };
    if (opens) {
        append();
        QCOMPARE(readFile(path_), archiveOf({"uno", "due"}));
    } else {
        QVERIFY_THROWS_EXCEPTION(ArchiveError, append());
        QVERIFY(!archive.isOpen());
        QCOMPARE(readFile(path_), content);
    }
    // The wait cursor comes only for another program's lock, and always goes away again.
    QCOMPARE(*waits_, waits ? QList<bool>({true, false}) : QList<bool>());
}

void TestArchiveFile::anotherProgramsLockIsWaitedFor()
{
    writeFile(path_, archiveOf({"uno"}));
    const int holder = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CLOEXEC);
    QVERIFY(holder >= 0);
    struct flock request
    {
    };
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET;
    QCOMPARE(::fcntl(holder, F_OFD_SETLK, &request), 0);
    std::thread release([holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::close(holder);
    });
    ArchiveFile archive;
    archive.Open(path_, ArchiveFile::Access::Read);
    release.join();
    QCOMPARE(archive.RecordCount(), 1);
    archive.Close();
    QCOMPARE(*waits_, QList<bool>({true, false}));
}

void TestArchiveFile::writeOnReadAccessIsRefused()
{
    const QByteArray content = archiveOf({"uno", "due"});
    writeFile(path_, content);
    ArchiveFile archive;
    archive.Open(path_, ArchiveFile::Access::Read);
    archive.Seek(archive.RecordCount());
    QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(recordNamed(QStringLiteral("tre"))));
    archive.Seek(0);
    QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(recordNamed(QStringLiteral("UNO"))));
    archive.Close();
    QCOMPARE(readFile(path_), content);
}

void TestArchiveFile::accessErrorText()
{
    // A line feed before each carriage return, twice: the text every archive screen shows.
    QCOMPARE(archiveAccessErrorText(),
             QString::fromUtf8("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                               "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                               "installazione del programma."));
}

QTEST_GUILESS_MAIN(TestArchiveFile)
#include "tst_archive_file.moc"
