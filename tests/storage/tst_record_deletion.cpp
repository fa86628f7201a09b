#include "storage/ArchiveFile.h"
#include "storage/DeletionJournal.h"
#include "storage/GameArchive.h"

#include "tests/support/ChildProcess.h"

#include "DeletionFixture.h"
#include "ScriptedSteps.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

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
// 3 ArchiveError, 5 deleted with work left for the next opening, 6 read-only archive.
int outcomeCode(const std::function<DeletionResult()>& deletion)
{
    try {
        const DeletionResult result = deletion();
        switch (result.outcome) {
        case DeletionOutcome::Deleted:
            return result.unfinished ? 5 : 0;
        case DeletionOutcome::RecordChanged:
            return 1;
        case DeletionOutcome::NotWholeRecords:
            return 2;
        }
    } catch (const ArchiveReadOnlyError&) {
        return 6;
    } catch (const ArchiveError&) {
        return 3;
    }
    return 4;
}

// What opening the archive to read it does after an interrupted change: puts it right.
int recordsAfterReopening(const QString& archive)
{
    ArchiveFile reopened;
    GameArchive::openForReading(reopened, archive);
    const int count = reopened.RecordCount();
    reopened.Close();
    return count;
}

// The step of a whole deletion of `position` at which it is committed, and how many it has.
struct DeletionSteps
{
    QStringList names;
    int committed() const { return int(names.indexOf(QStringLiteral("archivio sostituito"))); }
};

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
    void failureAfterTheCommitIsReportedAsDeleted();
    void photosInCapitalsMoveWithTheirRecords();
    void linkedArchiveStaysALinkAndKeepsItsOwner();
    void staleSaveIsRefused_data();
    void staleSaveIsRefused();
    void openFollowsArchiveReplacedDuringTheWait();

private:
    GameArchive owner(ChangeSteps* steps = nullptr) const;
    // Carries on in a copy of the whole folder: the same files under other device and inode
    // numbers, as another workstation on a share or a restored backup sees them.
    void moveToCopyOfFolder();
    DeletionSteps stepsOfADeletion();
    void makeArchive(const QStringList& titles, const QStringList& slots);
    // The archive holds exactly `titles`, every record exactly its own photos, and no file of
    // the deletion's machinery is left.
    void verifyArchive(const QStringList& titles, const QStringList& slots);
    DeletionResult deleteAt(int position, const QString& title, ChangeSteps* steps = nullptr);
    QStringList trashed() const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QTemporaryDir> copy_;
    QString base_; // the program folder: dir_ or its copy
    QString archive_;
    QString photos_;
    QString data_;
};

void TestRecordDeletion::init()
{
    copy_.reset();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    base_ = dir_->path();
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
    if (dir_)
        chmodPath(dir_->path(), 0777);
    chmodPath(photos_, 0777);
}

GameArchive TestRecordDeletion::owner(ChangeSteps* steps) const
{
    GameArchive archive(archive_, photos_, ArchiveName);
    archive.setChangeSteps(steps);
    return archive;
}

void TestRecordDeletion::moveToCopyOfFolder()
{
    copy_ = std::make_unique<QTemporaryDir>();
    QVERIFY(copy_->isValid());
    QCOMPARE(QProcess::execute(QStringLiteral("cp"),
                               {QStringLiteral("-a"), dir_->path() + QStringLiteral("/."), copy_->path()}),
             0);
    base_ = copy_->path();
    archive_ = copy_->filePath(QStringLiteral("Giochi.gdt"));
    photos_ = copy_->filePath(QStringLiteral("Foto_Gioco"));
    data_ = copy_->filePath(QStringLiteral("utente/dati"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data_));
    QDir::setCurrent(copy_->path());
}

DeletionSteps TestRecordDeletion::stepsOfADeletion()
{
    // Counted on a real deletion of the crash tests' fixture, in a folder of its own.
    QTemporaryDir scratch;
    const QString archive = scratch.filePath(QStringLiteral("Giochi.gdt"));
    writeFile(archive, archiveOf(titlesOf(5)));
    QDir().mkpath(scratch.filePath(QStringLiteral("Foto_Gioco")));
    const auto photos = expectedPhotos(ArchiveName, titlesOf(5), slotsOf(QStringLiteral("AB,AB,-,B,AB")));
    for (auto it = photos.begin(); it != photos.end(); ++it)
        writeFile(scratch.filePath(QStringLiteral("Foto_Gioco/") + it.key()), it.value());
    ScriptedSteps steps;
    GameArchive owner(archive);
    owner.setChangeSteps(&steps);
    owner.deleteRecord(1, recordBytes(titlesOf(5)[0]));
    return {steps.passed};
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
    QCOMPARE(QDir(base_).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
    QCOMPARE(readFile(base_ + QStringLiteral("/Documenti_Allegati/regole.pdf")), QByteArray("regole"));
}

DeletionResult TestRecordDeletion::deleteAt(int position, const QString& title, ChangeSteps* steps)
{
    return owner(steps).deleteRecord(position, recordBytes(title));
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
    // Restoring from the desktop's trash puts each photo back into the photo folder, under its
    // own name, where the program looks for photos: never into a hidden folder of the deletion.
    const QString info = data_ + QStringLiteral("/Trash/info");
    QStringList restorePaths;
    for (const QString& name : QDir(info).entryList(QDir::Files)) {
        const QByteArray text = readFile(info + QLatin1Char('/') + name);
        const qsizetype at = text.indexOf("Path=");
        QVERIFY(at >= 0);
        restorePaths << QUrl::fromPercentEncoding(text.mid(at + 5, text.indexOf('\n', at) - at - 5));
    }
    QStringList expectedPaths;
    for (QChar slot : deletedSlots)
        expectedPaths << photos_ + QLatin1Char('/') +
                             photoFileName(ArchiveName, position, char(slot.unicode()));
    restorePaths.sort();
    QCOMPARE(restorePaths, expectedPaths);
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
    QTest::newRow("read-only archive") << "archive" << 6;
    QTest::newRow("read-only archive folder") << "folder" << 3;
    QTest::newRow("read-only photo folder") << "photos" << 3;
    // A folder that cannot be listed is not an empty one: the records would move without their photos.
    QTest::newRow("photo folder that cannot be listed") << "unlisted" << 3;
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
    else if (fault == QLatin1String("unlisted"))
        chmodPath(photos_, 0333);
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
        [&] {
            return outcomeCode(
                [&] { return GameArchive(archive, photos, ArchiveName).deleteRecord(2, shown); });
        },
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
    // The deletion stops at each of its steps, as a crash or a power cut would stop it; the next
    // opening, here or by a workstation that sees the folder under other device and inode numbers,
    // must end with the deletion whole or undone.
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("elsewhere");
    const int steps = int(stepsOfADeletion().names.size());
    QVERIFY(steps > 10);
    for (int step = 0; step <= steps; ++step) {
        QTest::addRow("step %d, reopened here", step) << step << false;
        QTest::addRow("step %d, reopened from a copy of the folder", step) << step << true;
    }
}

void TestRecordDeletion::crashAtEveryStep()
{
    QFETCH(int, step);
    QFETCH(bool, elsewhere);
    const QStringList titles = titlesOf(5);
    const QStringList slots = slotsOf(CrashPhotos);
    makeArchive(titles, slots);
    const int exit = brivanto::testing::runInChild(
        [&] {
            ScriptedSteps steps;
            steps.stopAt = step;
            return outcomeCode([&] { return deleteAt(CrashPosition, titles[0], &steps); });
        },
        false);
    QVERIFY2(exit == ScriptedSteps::StoppedExitCode || exit == 0, qPrintable(QString::number(exit)));
    if (elsewhere)
        moveToCopyOfFolder();

    // The next opening, even for reading, completes or undoes the deletion.
    const int count = recordsAfterReopening(archive_);
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
    const DeletionSteps steps = stepsOfADeletion();
    QVERIFY(steps.committed() > 0);
    // A recovery has one step more than what follows the commit.
    const int recoverySteps = int(steps.names.size()) - steps.committed();
    for (int step = 0; step < recoverySteps; ++step)
        QTest::addRow("recovery step %d", step) << steps.committed() << step;
}

void TestRecordDeletion::crashWhileRecovering()
{
    QFETCH(int, committedStep);
    QFETCH(int, recoveryStep);
    const QStringList titles = titlesOf(5);
    const QStringList slots = slotsOf(CrashPhotos);
    makeArchive(titles, slots);
    QCOMPARE(brivanto::testing::runInChild(
                 [&] {
                     ScriptedSteps steps;
                     steps.stopAt = committedStep;
                     return outcomeCode([&] { return deleteAt(CrashPosition, titles[0], &steps); });
                 },
                 false),
             ScriptedSteps::StoppedExitCode);
    // Committed: the archive already has its new records, the photos not yet.
    QCOMPARE(readFile(archive_), archiveOf(titles.mid(1)));
    QVERIFY(interruptedDeletionPending(archive_));
    const QString archive = archive_;
    QCOMPARE(brivanto::testing::runInChild(
                 [&] {
                     ScriptedSteps steps;
                     steps.stopAt = recoveryStep;
                     GameArchive again(archive);
                     again.setChangeSteps(&steps);
                     again.finishInterruptedChange();
                     return 0;
                 },
                 false),
             ScriptedSteps::StoppedExitCode);
    QCOMPARE(recordsAfterReopening(archive_), 4);
    verifyArchive(titles.mid(1), slots.mid(1));
    QCOMPARE(trashed().size(), 2);
}

void TestRecordDeletion::failureAfterTheCommitIsReportedAsDeleted()
{
    // The game is gone once the archive is replaced: a photo that cannot be moved afterwards is
    // work left for the next opening, never a deletion reported as not done.
    const QStringList titles = titlesOf(5);
    const QStringList slots = slotsOf(CrashPhotos);
    makeArchive(titles, slots);
    ScriptedSteps steps;
    steps.failing = QStringList{QStringLiteral("foto spostata")};
    const DeletionResult result = deleteAt(CrashPosition, titles[0], &steps);
    QCOMPARE(result.outcome, DeletionOutcome::Deleted);
    QVERIFY(result.unfinished);
    QCOMPARE(result.recordCount, 4);
    QVERIFY(owner().changeInterrupted());
    QCOMPARE(recordsAfterReopening(archive_), 4);
    verifyArchive(titles.mid(1), slots.mid(1));
    QVERIFY(!owner().changeInterrupted());
}

void TestRecordDeletion::photosInCapitalsMoveWithTheirRecords()
{
    // A camera or another system wrote some photos as ".JPG": the same photos, which must follow
    // their records like the others, and never be overwritten by another game's photo.
    const QStringList titles = titlesOf(4);
    QVERIFY(writeFile(archive_, archiveOf(titles)));
    const QMap<QString, QByteArray> before{
        {"Giochi_Foto_A_2.JPG", photoOf(titles[1], 'A')},
        {"Giochi_Foto_A_3.jpg", photoOf(titles[2], 'A')},
        {"Giochi_Foto_B_3.Jpg", photoOf(titles[2], 'B')},
        {"Giochi_Foto_A_4.JPG", photoOf(titles[3], 'A')},
    };
    for (auto it = before.begin(); it != before.end(); ++it)
        QVERIFY(writeFile(photos_ + QLatin1Char('/') + it.key(), it.value()));

    QCOMPARE(deleteAt(2, titles[1]).outcome, DeletionOutcome::Deleted);
    QCOMPARE(readFile(archive_), archiveOf({titles[0], titles[2], titles[3]}));
    QCOMPARE(photoFiles(photos_),
             (QMap<QString, QByteArray>{{"Altro_Foto_A_2.jpg", "altro"},
                                        {"Giochi_Foto_A_2.jpg", photoOf(titles[2], 'A')},
                                        {"Giochi_Foto_B_2.Jpg", photoOf(titles[2], 'B')},
                                        {"Giochi_Foto_A_3.JPG", photoOf(titles[3], 'A')}}));
    QCOMPARE(trashed(), QStringList{QStringLiteral("Giochi_Foto_A_2.JPG=") +
                                    QString::fromUtf8(photoOf(titles[1], 'A'))});
}

void TestRecordDeletion::linkedArchiveStaysALinkAndKeepsItsOwner()
{
    // The archive is a link to a file in another folder, shared through a group: the deletion
    // replaces the file behind the link, never the link, and the new file keeps the old one's
    // mode, group and owner, so that the other users can still open it.
    const QStringList titles = titlesOf(3);
    makeArchive(titles, {"AB", "AB", "AB"});
    const QString shared = dir_->filePath(QStringLiteral("condivisa"));
    QVERIFY(QDir().mkpath(shared));
    chmodPath(shared, 0777);
    const QString target = shared + QStringLiteral("/Giochi.gdt");
    QVERIFY(QFile::rename(archive_, target));
    QVERIFY(QFile::link(target, archive_));
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown(QFile::encodeName(target).constData(), 4321, 4242), 0);
    chmodPath(target, 0664);
    const mode_t mask = ::umask(022);

    const DeletionResult result = deleteAt(2, titles[1]);
    ::umask(mask);
    QCOMPARE(result.outcome, DeletionOutcome::Deleted);
    QVERIFY(QFileInfo(archive_).isSymLink());
    QCOMPARE(QFileInfo(archive_).symLinkTarget(), target);
    QCOMPARE(readFile(target), archiveOf({titles[0], titles[2]}));
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0664));
    if (root) {
        QCOMPARE(info.st_uid, uid_t(4321));
        QCOMPARE(info.st_gid, gid_t(4242));
    }
    auto expected = expectedPhotos(ArchiveName, {titles[0], titles[2]}, {"AB", "AB"});
    expected.insert(QStringLiteral("Altro_Foto_A_2.jpg"), "altro");
    QCOMPARE(photoFiles(photos_), expected);
    QCOMPARE(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
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
                    const GameArchive theirs(archive, photos, ArchiveName);
                    if (meanwhile == QLatin1String("save")) {
                        GameRecord record;
                        std::memcpy(&record, recordBytes(QStringLiteral("loro")).constData(), RecordSize);
                        return theirs.saveRecord(2, loaded, record, {}).outcome == SaveOutcome::Written ? 0
                                                                                                        : 1;
                    }
                    if (meanwhile.startsWith(QLatin1String("delete"))) {
                        const int position = meanwhile.back().digitValue();
                        return theirs.deleteRecord(position, recordBytes(titles[position - 1])).outcome ==
                                       DeletionOutcome::Deleted
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
    const SaveResult outcome = owner().saveRecord(2, loaded, mine, {});
    QCOMPARE(outcome.outcome, written ? SaveOutcome::Written : SaveOutcome::RecordChanged);
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
