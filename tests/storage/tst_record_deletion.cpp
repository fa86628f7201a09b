#include "storage/ArchiveFile.h"
#include "storage/CheckedSave.h"
#include "storage/DeletionJournal.h"
#include "storage/RecordDeletion.h"

#include "tests/support/ChildProcess.h"

#include "DeletionFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace brivanto;
using namespace deletion_fixture;

namespace {

const QString ArchiveName = QStringLiteral("Giochi");

// "AB,-,A" -> {"AB", "", "A"}: the photo slots of each record.
QStringList slotsOf(const QString& listed)
{
    QStringList slots = listed.split(QLatin1Char(','));
    for (QString& s : slots)
        s.remove(QLatin1Char('-'));
    return slots;
}

QStringList titlesOf(int count)
{
    QStringList titles;
    for (int i = 1; i <= count; ++i)
        titles << QStringLiteral("Gioco %1").arg(i);
    return titles;
}

// The exit code of a child's deletion: 0 deleted, 1 record changed, 2 not whole records,
// 3 ArchiveError.
int outcomeCode(const std::function<DeletionResult()>& deletion)
{
    try {
        switch (deletion().outcome) {
        case DeletionOutcome::Deleted:
            return 0;
        case DeletionOutcome::RecordChanged:
            return 1;
        case DeletionOutcome::NotWholeRecords:
            return 2;
        }
    } catch (const ArchiveError&) {
        return 3;
    }
    return 4;
}

void chmodPath(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

} // namespace

class TestRecordDeletion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void deletions_data();
    void deletions();
    void deletedPhotosKeptWhereTheTrashCannotBeUsed();
    void faults_data();
    void faults();
    void crashAtEveryStep_data();
    void crashAtEveryStep();
    void crashWhileRecovering_data();
    void crashWhileRecovering();
    void staleSaveIsRefused_data();
    void staleSaveIsRefused();
    void openFollowsArchiveReplacedDuringTheWait();

private:
    void makeArchive(const QStringList& titles, const QStringList& slots);
    // The archive holds exactly `titles`, every record exactly its own photos, and no file of
    // the deletion's machinery is left.
    void verifyArchive(const QStringList& titles, const QStringList& slots);
    DeletionResult deleteAt(int position, const QString& title);
    QStringList trashed() const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString archive_;
    QString photos_;
    QString data_;
};

void TestRecordDeletion::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    chmodPath(dir_->path(), 0777);
    archive_ = dir_->filePath(QStringLiteral("Giochi.gdt"));
    photos_ = dir_->filePath(QStringLiteral("Foto_Gioco"));
    // The user's data folder does not exist yet: the trash in it has to be made.
    data_ = dir_->filePath(QStringLiteral("utente/dati"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_));
    QDir::setCurrent(dir_->path());
    QVERIFY(QDir().mkpath(photos_));
    chmodPath(photos_, 0777);
    // Another archive's photos and an attached file: a deletion never touches them.
    QVERIFY(writeFile(photos_ + QStringLiteral("/Altro_Foto_A_2.jpg"), "altro"));
    QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("Documenti_Allegati"))));
    QVERIFY(writeFile(dir_->filePath(QStringLiteral("Documenti_Allegati/regole.pdf")), "regole"));
}

void TestRecordDeletion::cleanup()
{
    setDeletionStopForTesting(-1);
    if (dir_)
        chmodPath(dir_->path(), 0777);
    chmodPath(photos_, 0777);
}

void TestRecordDeletion::makeArchive(const QStringList& titles, const QStringList& slots)
{
    QVERIFY(writeFile(archive_, archiveOf(titles)));
    chmodPath(archive_, 0666);
    const auto photos = expectedPhotos(ArchiveName, titles, slots);
    for (auto it = photos.begin(); it != photos.end(); ++it) {
        QVERIFY(writeFile(photos_ + QLatin1Char('/') + it.key(), it.value()));
        chmodPath(photos_ + QLatin1Char('/') + it.key(), 0644);
    }
}

void TestRecordDeletion::verifyArchive(const QStringList& titles, const QStringList& slots)
{
    QCOMPARE(readFile(archive_), archiveOf(titles));
    auto expected = expectedPhotos(ArchiveName, titles, slots);
    expected.insert(QStringLiteral("Altro_Foto_A_2.jpg"), "altro");
    QCOMPARE(photoFiles(photos_), expected);
    QCOMPARE(QDir(photos_).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
             QFileInfo::exists(photos_ + QStringLiteral("/Eliminate")) ? QStringList{"Eliminate"}
                                                                       : QStringList());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
    QCOMPARE(readFile(dir_->filePath(QStringLiteral("Documenti_Allegati/regole.pdf"))), QByteArray("regole"));
}

DeletionResult TestRecordDeletion::deleteAt(int position, const QString& title)
{
    return deleteRecord(archive_, photos_, ArchiveName, position, recordBytes(title));
}

QStringList TestRecordDeletion::trashed() const
{
    QStringList contents;
    const QString files = data_ + QStringLiteral("/Trash/files");
    for (const QString& name : QDir(files).entryList(QDir::Files))
        contents << name + QLatin1Char('=') + QString::fromUtf8(readFile(files + QLatin1Char('/') + name));
    return contents;
}

void TestRecordDeletion::deletions_data()
{
    QTest::addColumn<QString>("photos"); // the slots with a photo, record by record
    QTest::addColumn<int>("position");
    QTest::newRow("first") << "AB,AB,AB,AB,AB" << 1;
    QTest::newRow("middle") << "AB,AB,AB,AB,AB" << 3;
    QTest::newRow("last") << "AB,AB,AB,AB,AB" << 5;
    QTest::newRow("the only record") << "AB" << 1;
    QTest::newRow("the only record, without photos") << "-" << 1;
    QTest::newRow("no photos at all") << "-,-,-" << 2;
    QTest::newRow("a record without photos moves into the gap") << "AB,AB,-,AB,AB" << 2;
    QTest::newRow("the deleted record has no photos") << "AB,-,AB,AB" << 2;
    QTest::newRow("single photos here and there") << "A,B,AB,-,A,B" << 1;
    QTest::newRow("photos only after the deleted record") << "-,-,AB,A" << 1;
}

void TestRecordDeletion::deletions()
{
    QFETCH(QString, photos);
    QFETCH(int, position);
    const QStringList slots = slotsOf(photos);
    QStringList titles = titlesOf(int(slots.size()));
    makeArchive(titles, slots);

    const DeletionResult result = deleteAt(position, titles[position - 1]);
    QCOMPARE(result.outcome, DeletionOutcome::Deleted);
    QCOMPARE(result.recordCount, titles.size() - 1);
    const QString deleted = titles.takeAt(position - 1);
    QStringList remaining = slots;
    const QString deletedSlots = remaining.takeAt(position - 1);
    verifyArchive(titles, remaining);

    // The deleted record's photos are in the desktop's trash, under their names, with their content.
    QStringList expected;
    for (QChar slot : deletedSlots)
        expected << photoFileName(ArchiveName, position, char(slot.unicode())) + QLatin1Char('=') +
                        QString::fromUtf8(photoOf(deleted, char(slot.unicode())));
    QCOMPARE(trashed(), expected);
    QCOMPARE(result.photosInTrash, deletedSlots.size());
    QCOMPARE(QDir(data_ + QStringLiteral("/Trash/info")).entryList(QDir::Files).size(), deletedSlots.size());
}

void TestRecordDeletion::deletedPhotosKeptWhereTheTrashCannotBeUsed()
{
    const QStringList titles = titlesOf(3);
    makeArchive(titles, {"AB", "AB", "AB"});
    // The user's data folder cannot be made (a file is in the way): no trash.
    qputenv("XDG_DATA_HOME", QFile::encodeName(archive_ + QStringLiteral("/dati")));
    // An earlier deletion left a photo of the same name there: neither is lost.
    QVERIFY(QDir().mkpath(photos_ + QStringLiteral("/Eliminate")));
    QVERIFY(writeFile(photos_ + QStringLiteral("/Eliminate/Giochi_Foto_A_2.jpg"), "prima"));

    const DeletionResult result = deleteAt(2, titles[1]);
    QCOMPARE(result.outcome, DeletionOutcome::Deleted);
    QCOMPARE(result.photosKept, 2);
    QCOMPARE(result.photosInTrash, 0);
    QCOMPARE(photoFiles(photos_ + QStringLiteral("/Eliminate")),
             (QMap<QString, QByteArray>{{"Giochi_Foto_A_2.jpg", "prima"},
                                        {"Giochi_Foto_A_2 (2).jpg", photoOf(titles[1], 'A')},
                                        {"Giochi_Foto_B_2.jpg", photoOf(titles[1], 'B')}}));
    verifyArchive({titles[0], titles[2]}, {"AB", "AB"});
    // Nothing landed in the current folder, as the toolkit's trash does without a trash folder.
    QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("files"))));
}

void TestRecordDeletion::faults_data()
{
    // Each fault runs the deletion in a child without root's privileges (CI runs as root).
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("outcome"); // as outcomeCode
    QTest::newRow("read-only archive") << "archive" << 3;
    QTest::newRow("read-only archive folder") << "folder" << 3;
    QTest::newRow("read-only photo folder") << "photos" << 3;
    QTest::newRow("disk full while writing the new archive") << "full" << 3;
    QTest::newRow("record changed since it was shown") << "changed" << 1;
    QTest::newRow("record moved away (archive shorter)") << "shorter" << 1;
    QTest::newRow("length not a whole number of records") << "partial" << 2;
    // Not a fault: the photos belong to another user (made by root here).
    QTest::newRow("photos of another user") << "others" << 0;
}

void TestRecordDeletion::faults()
{
    QFETCH(QString, fault);
    QFETCH(int, outcome);
    QStringList titles = titlesOf(4);
    const QStringList slots{"AB", "AB", "", "AB"};
    makeArchive(titles, slots);
    QByteArray shown = recordBytes(titles[1]);
    long sizeLimit = 0;
    if (fault == QLatin1String("archive"))
        chmodPath(archive_, 0444);
    else if (fault == QLatin1String("folder"))
        chmodPath(dir_->path(), 0555);
    else if (fault == QLatin1String("photos"))
        chmodPath(photos_, 0555);
    else if (fault == QLatin1String("full"))
        sizeLimit = long(RecordSize) + 100; // the new archive needs three records
    else if (fault == QLatin1String("changed"))
        shown = recordBytes(QStringLiteral("un altro gioco"));
    else if (fault == QLatin1String("shorter")) {
        titles = titles.mid(0, 1);
        QVERIFY(writeFile(archive_, archiveOf(titles)));
    } else if (fault == QLatin1String("partial")) {
        QFile file(archive_);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(100, 'x'));
    }
    const QByteArray before = readFile(archive_);
    const auto photosBefore = photoFiles(photos_);

    const QString archive = archive_;
    const QString photos = photos_;
    const int result = brivanto::testing::runInChild(
        [&] { return outcomeCode([&] { return deleteRecord(archive, photos, ArchiveName, 2, shown); }); },
        true, sizeLimit);
    chmodPath(dir_->path(), 0777);
    chmodPath(photos_, 0777);
    QCOMPARE(result, outcome);
    if (outcome == 0) {
        verifyArchive({titles[0], titles[2], titles[3]}, {"AB", "", "AB"});
        return;
    }
    // Refused: everything as it was, and nothing of the attempt left behind.
    QCOMPARE(readFile(archive_), before);
    QCOMPARE(photoFiles(photos_), photosBefore);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
    QCOMPARE(QDir(photos_).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(trashed().isEmpty());
}

namespace {

// The fixture of the crash tests: the deleted record's photos go to the trash, later photos move
// up, and a record without photos moves into a place that had some.
const QString CrashPhotos = QStringLiteral("AB,AB,-,B,AB");
constexpr int CrashPosition = 1;

} // namespace

void TestRecordDeletion::crashAtEveryStep_data()
{
    QTest::addColumn<int>("step");
    // As many rows as a deletion has checkpoints, counted on a real one, and one more (no stop).
    init();
    const QStringList titles = titlesOf(5);
    makeArchive(titles, slotsOf(CrashPhotos));
    deleteAt(CrashPosition, titles[CrashPosition - 1]);
    const int steps = deletionCheckpointsPassed();
    QVERIFY(steps > 10);
    for (int step = 0; step <= steps; ++step)
        QTest::addRow("step %d", step) << step;
}

void TestRecordDeletion::crashAtEveryStep()
{
    QFETCH(int, step);
    const QStringList titles = titlesOf(5);
    const QStringList slots = slotsOf(CrashPhotos);
    makeArchive(titles, slots);
    const QString archive = archive_;
    const QString photos = photos_;
    const int exit = brivanto::testing::runInChild(
        [&] {
            setDeletionStopForTesting(step);
            return outcomeCode([&] {
                return deleteRecord(archive, photos, ArchiveName, CrashPosition, recordBytes(titles[0]));
            });
        },
        false);
    QVERIFY2(exit == DeletionStoppedExitCode || exit == 0, qPrintable(QString::number(exit)));

    // The next opening, even for reading, completes or undoes the deletion.
    ArchiveFile reopened;
    reopened.Open(archive_, ArchiveFile::Access::Read);
    const int count = reopened.RecordCount();
    reopened.Close();
    QVERIFY(count == 4 || count == 5);
    if (count == 5) {
        verifyArchive(titles, slots);
        QVERIFY(trashed().isEmpty());
    } else {
        verifyArchive(titles.mid(1), slots.mid(1));
        QCOMPARE(trashed().size(), 2);
    }
}

void TestRecordDeletion::crashWhileRecovering_data()
{
    // The deletion stops right after its commit; the next opening stops at each of its own steps;
    // the opening after that must still end with a whole deletion.
    QTest::addColumn<int>("committedStep");
    QTest::addColumn<int>("recoveryStep");
    init();
    const QStringList titles = titlesOf(5);
    makeArchive(titles, slotsOf(CrashPhotos));
    deleteAt(CrashPosition, titles[CrashPosition - 1]);
    // The commit is followed by one checkpoint per deleted and per moved photo, and two at the end.
    const int steps = deletionCheckpointsPassed();
    const int recoverySteps = 2 /* deleted */ + 5 /* moved */ + 2;
    const int committed = steps - recoverySteps - 1;
    for (int step = 0; step < recoverySteps; ++step)
        QTest::addRow("recovery step %d", step) << committed << step;
}

void TestRecordDeletion::crashWhileRecovering()
{
    QFETCH(int, committedStep);
    QFETCH(int, recoveryStep);
    const QStringList titles = titlesOf(5);
    const QStringList slots = slotsOf(CrashPhotos);
    makeArchive(titles, slots);
    const QString archive = archive_;
    const QString photos = photos_;
    QCOMPARE(brivanto::testing::runInChild(
                 [&] {
                     setDeletionStopForTesting(committedStep);
                     return outcomeCode([&] {
                         return deleteRecord(archive, photos, ArchiveName, CrashPosition,
                                             recordBytes(titles[0]));
                     });
                 },
                 false),
             DeletionStoppedExitCode);
    // Committed: the archive already has its new records, the photos not yet.
    QCOMPARE(readFile(archive_), archiveOf(titles.mid(1)));
    QVERIFY(interruptedDeletionPending(archive_));
    QCOMPARE(brivanto::testing::runInChild(
                 [&] {
                     setDeletionStopForTesting(recoveryStep);
                     ArchiveFile again;
                     again.Open(archive);
                     return 0;
                 },
                 false),
             DeletionStoppedExitCode);
    ArchiveFile reopened;
    reopened.Open(archive_);
    reopened.Close();
    verifyArchive(titles.mid(1), slots.mid(1));
    QCOMPARE(trashed().size(), 2);
}

void TestRecordDeletion::staleSaveIsRefused_data()
{
    // What another workstation does between this one's loading of record 2 and its save.
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("written");
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("deleted a later record") << "delete 3" << true;
    QTest::newRow("saved the same record") << "save" << false;
    QTest::newRow("deleted an earlier record (another game now at 2)") << "delete 1" << false;
    QTest::newRow("deleted this record (the next one now at 2)") << "delete 2" << false;
}

void TestRecordDeletion::staleSaveIsRefused()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, written);
    const QStringList titles = titlesOf(3);
    makeArchive(titles, {"AB", "AB", "AB"});
    const QByteArray loaded = recordBytes(titles[1]); // what this workstation shows

    const QString archive = archive_;
    const QString photos = photos_;
    QCOMPARE(
        brivanto::testing::runInChild(
            [&] {
                try {
                    if (meanwhile == QLatin1String("save")) {
                        GameRecord theirs;
                        std::memcpy(&theirs, recordBytes(QStringLiteral("loro")).constData(), RecordSize);
                        return writeIfUnchanged(archive, 2, loaded, theirs) == CheckedSaveOutcome::Written
                                   ? 0
                                   : 1;
                    }
                    if (meanwhile.startsWith(QLatin1String("delete"))) {
                        const int position = meanwhile.back().digitValue();
                        return deleteRecord(archive, photos, ArchiveName, position,
                                            recordBytes(titles[position - 1]))
                                           .outcome == DeletionOutcome::Deleted
                                   ? 0
                                   : 1;
                    }
                } catch (const ArchiveError&) {
                    return 3;
                }
                return 0;
            },
            false),
        0);
    const QByteArray before = readFile(archive_);

    GameRecord mine;
    std::memcpy(&mine, recordBytes(QStringLiteral("mio")).constData(), RecordSize);
    const CheckedSaveOutcome outcome = writeIfUnchanged(archive_, 2, loaded, mine);
    QCOMPARE(outcome, written ? CheckedSaveOutcome::Written : CheckedSaveOutcome::RecordChanged);
    QCOMPARE(readFile(archive_),
             written ? QByteArray(before).replace(RecordSize, RecordSize, recordBytes(QStringLiteral("mio")))
                     : before);
}

void TestRecordDeletion::openFollowsArchiveReplacedDuringTheWait()
{
    // Another program holds the archive's lock while it replaces the file, as a deletion does;
    // this program waits for that lock and must then work on the new file, not the old one.
    QVERIFY(writeFile(archive_, archiveOf({"uno", "due"})));
    const int holder = ::open(QFile::encodeName(archive_).constData(), O_RDWR | O_CLOEXEC);
    QVERIFY(holder >= 0);
    struct flock request
    {
    };
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET;
    QCOMPARE(::fcntl(holder, F_OFD_SETLK, &request), 0);
    const QString archive = archive_;
    std::thread replace([holder, archive] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const QString next = archive + QStringLiteral(".nuovo");
        writeFile(next, archiveOf({"due"}));
        ::rename(QFile::encodeName(next).constData(), QFile::encodeName(archive).constData());
        ::close(holder);
    });
    ArchiveFile opened;
    opened.Open(archive_);
    replace.join();
    QCOMPARE(opened.RecordCount(), 1);
    opened.Seek(opened.RecordCount());
    GameRecord record;
    std::memcpy(&record, recordBytes(QStringLiteral("tre")).constData(), RecordSize);
    opened.Write(record);
    opened.Close();
    QCOMPARE(readFile(archive_), archiveOf({"due", "tre"}));
}

QTEST_GUILESS_MAIN(TestRecordDeletion)
#include "tst_record_deletion.moc"
