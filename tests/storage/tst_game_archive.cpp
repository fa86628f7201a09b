#include "storage/ArchiveFile.h"
#include "storage/GameArchive.h"

#include "tests/support/ChildProcess.h"

#include "DeletionFixture.h"
#include "ScriptedSteps.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brivanto;
using namespace deletion_fixture;

// Every change to an archive goes through its owner, which holds the archive's lock from the
// first byte to the last photo and leaves, whatever happens, an archive whose every record has
// exactly its own photos.
namespace {

const QString ArchiveName = QStringLiteral("Giochi");

GameRecord recordOf(const QString& title)
{
    GameRecord record;
    std::memcpy(&record, recordBytes(title).constData(), RecordSize);
    return record;
}

void chmodPath(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

bool waitForFile(const QString& path, int ms = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(path)) {
        if (timer.elapsed() > ms)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// An archive as a test expects it: the titles in order, and the photo slots of each.
struct Expected
{
    QStringList titles;
    QStringList slots;
};

// One change of a workstation, as a test table names it: "elimina 2", "salva 4", "aggiungi",
// "importa". Applies it to the archive (0: done, 1: refused because the record moved) and to the
// expected state, where it is done only if the archive did it.
struct Change
{
    QString text;
    QString verb() const { return text.section(QLatin1Char(' '), 0, 0); }
    int position() const { return text.section(QLatin1Char(' '), 1, 1).toInt(); }
};

int run(const GameArchive& archive, const Change& change, const QStringList& seen)
{
    try {
        if (change.verb() == QLatin1String("elimina"))
            return archive.deleteRecord(change.position(), recordBytes(seen[change.position() - 1]))
                               .outcome == DeletionOutcome::Deleted
                       ? 0
                       : 1;
        if (change.verb() == QLatin1String("salva") || change.verb() == QLatin1String("aggiungi")) {
            const int position = change.verb() == QLatin1String("salva") ? change.position() : 0;
            const QString title =
                position ? seen[position - 1] + QStringLiteral(" bis") : QStringLiteral("Nuovo");
            const QByteArray loaded = position ? recordBytes(seen[position - 1]) : QByteArray();
            const SaveResult saved = archive.saveRecord(position, loaded, recordOf(title),
                                                        {photoOf(title, 'A'), photoOf(title, 'B')});
            return saved.outcome == SaveOutcome::RecordChanged ? 1 : saved.photosWritten ? 0 : 3;
        }
        if (change.verb() == QLatin1String("importa")) {
            auto import = archive.beginImport();
            import->begin();
            for (int i = 1; i <= 3; ++i) {
                const GameRecord record = recordOf(QStringLiteral("Importato %1").arg(i));
                import->append(&record, 1);
            }
            import->commit();
            return 0;
        }
    } catch (const ArchiveError&) {
        return 3;
    }
    return 4;
}

void apply(Expected& state, const Change& change, const QStringList& seen)
{
    const int position = change.position();
    if (change.verb() == QLatin1String("elimina")) {
        if (state.titles.value(position - 1) != seen[position - 1])
            return;
        state.titles.removeAt(position - 1);
        state.slots.removeAt(position - 1);
    } else if (change.verb() == QLatin1String("salva")) {
        if (state.titles.value(position - 1) != seen[position - 1])
            return;
        state.titles[position - 1] += QStringLiteral(" bis");
        state.slots[position - 1] = QStringLiteral("AB");
    } else if (change.verb() == QLatin1String("aggiungi")) {
        state.titles << QStringLiteral("Nuovo");
        state.slots << QStringLiteral("AB");
    } else if (change.verb() == QLatin1String("importa")) {
        for (int i = 1; i <= 3; ++i) {
            state.titles << QStringLiteral("Importato %1").arg(i);
            state.slots << QString();
        }
    }
}

} // namespace

class TestGameArchive : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void twoWorkstationsChangingAtOnce_data();
    void twoWorkstationsChangingAtOnce();
    void importCrashAtEveryStep_data();
    void importCrashAtEveryStep();
    void importThatCannotBeUndoneSaysSo();
    void fullDiskWhileWritingTheImportJournal();
    void readOnlyArchiveOpensForReading();
    void readerWithoutLocksLeavesAnInterruptedChange();
    void savedPhotoKeepsItsNameModeAndGroup();
    void groupSharedArchiveStaysShared();

private:
    GameArchive owner(ChangeSteps* steps = nullptr) const;
    void makeArchive(const Expected& state);
    void verify(const Expected& state);

    std::unique_ptr<QTemporaryDir> dir_;
    QString archive_;
    QString photos_;
};

void TestGameArchive::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    chmodPath(dir_->path(), 0777);
    archive_ = dir_->filePath(QStringLiteral("Giochi.gdt"));
    photos_ = dir_->filePath(QStringLiteral("Foto_Gioco"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_->filePath(QStringLiteral("dati"))));
    QDir::setCurrent(dir_->path());
    QVERIFY(QDir().mkpath(photos_));
    chmodPath(photos_, 0777);
}

void TestGameArchive::cleanup()
{
    ArchiveFile::setLockAttemptForTesting({});
    ArchiveFile::setLockWaitObserver({});
    if (dir_) {
        chmodPath(dir_->path(), 0777);
        chmodPath(photos_, 0777);
    }
}

GameArchive TestGameArchive::owner(ChangeSteps* steps) const
{
    GameArchive archive(archive_);
    archive.setChangeSteps(steps);
    return archive;
}

void TestGameArchive::makeArchive(const Expected& state)
{
    QVERIFY(writeFile(archive_, archiveOf(state.titles)));
    chmodPath(archive_, 0666);
    const auto photos = expectedPhotos(ArchiveName, state.titles, state.slots);
    for (auto it = photos.begin(); it != photos.end(); ++it)
        QVERIFY(writeFile(photos_ + QLatin1Char('/') + it.key(), it.value()));
}

void TestGameArchive::verify(const Expected& state)
{
    QCOMPARE(readFile(archive_), archiveOf(state.titles));
    QCOMPARE(photoFiles(photos_), expectedPhotos(ArchiveName, state.titles, state.slots));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
}

void TestGameArchive::twoWorkstationsChangingAtOnce_data()
{
    // The first workstation's change stops at one of its steps; the second starts its own change
    // then, and must wait for the first to finish before it touches anything.
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("atStep");
    QTest::addColumn<QString>("second");
    QTest::newRow("two deletions") << "elimina 2"
                                   << "piano scritto"
                                   << "elimina 4";
    QTest::newRow("a deletion, then a save of a record it moves") << "elimina 2"
                                                                  << "foto messa da parte"
                                                                  << "salva 4";
    QTest::newRow("a save with new photos, then a deletion before it") << "salva 4"
                                                                       << "scheda scritta"
                                                                       << "elimina 2";
    QTest::newRow("a new record with photos, then a deletion") << "aggiungi"
                                                               << "scheda scritta"
                                                               << "elimina 1";
    QTest::newRow("an import, then a deletion") << "importa"
                                                << "blocco aggiunto"
                                                << "elimina 2";
    QTest::newRow("a deletion, then an import") << "elimina 2"
                                                << "nuovo archivio scritto"
                                                << "importa";
    QTest::newRow("a committed deletion, then a save") << "elimina 5"
                                                       << "archivio sostituito"
                                                       << "salva 1";
}

void TestGameArchive::twoWorkstationsChangingAtOnce()
{
    QFETCH(QString, first);
    QFETCH(QString, atStep);
    QFETCH(QString, second);
    const Expected start{{"Gioco 1", "Gioco 2", "Gioco 3", "Gioco 4", "Gioco 5"},
                         {"AB", "AB", "B", "AB", "A"}};
    makeArchive(start);
    const QString stopped = dir_->filePath(QStringLiteral("primo-fermo"));
    const QString waiting = dir_->filePath(QStringLiteral("secondo-in-attesa"));
    const QString archive = archive_;

    // The first workstation: at the step, it tells so, and goes on only once the second waits.
    const pid_t firstChild = ::fork();
    if (firstChild == 0) {
        ScriptedSteps steps;
        steps.onStep = [&](std::string_view step) {
            if (step == atStep.toStdString() && !QFileInfo::exists(stopped)) {
                writeFile(stopped, "");
                waitForFile(waiting);
            }
        };
        GameArchive owner(archive);
        owner.setChangeSteps(&steps);
        ::_exit(run(owner, {first}, start.titles));
    }
    QVERIFY(waitForFile(stopped));
    const int secondResult = brivanto::testing::runInChild(
        [&] {
            ArchiveFile::setLockWaitObserver([&](bool nowWaiting) {
                if (nowWaiting)
                    writeFile(waiting, "");
            });
            return run(GameArchive(archive), {second}, start.titles);
        },
        false);
    int status = 0;
    ::waitpid(firstChild, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY2(QFileInfo::exists(waiting), "the second workstation did not wait for the first");
    QFile::remove(stopped);
    QFile::remove(waiting);

    Expected expected = start;
    apply(expected, {first}, start.titles);
    const QStringList afterFirst = expected.titles;
    apply(expected, {second}, start.titles);
    QCOMPARE(secondResult,
             afterFirst == expected.titles && Change{second}.verb() != QLatin1String("importa") ? 1 : 0);
    verify(expected);
}

void TestGameArchive::importCrashAtEveryStep_data()
{
    // The import stops at each of its steps; the next opening, by another workstation, finds the
    // archive as it was before the import (with the bytes a damaged last record left), or with
    // every imported record.
    QTest::addColumn<int>("step");
    for (int step = 0; step <= 6; ++step)
        QTest::addRow("step %d", step) << step;
}

void TestGameArchive::importCrashAtEveryStep()
{
    QFETCH(int, step);
    const QStringList titles{"Gioco 1", "Gioco 2"};
    const QByteArray before = archiveOf(titles) + QByteArray(100, 'x');
    QVERIFY(writeFile(archive_, before));
    const QString archive = archive_;
    const int exit = brivanto::testing::runInChild(
        [&] {
            ScriptedSteps steps;
            steps.stopAt = step;
            GameArchive owner(archive);
            owner.setChangeSteps(&steps);
            return run(owner, {QStringLiteral("importa")}, {});
        },
        false);
    QVERIFY2(exit == ScriptedSteps::StoppedExitCode || exit == 0, qPrintable(QString::number(exit)));

    ArchiveFile reopened;
    GameArchive::openForReading(reopened, archive_);
    reopened.Close();
    const QByteArray after = readFile(archive_);
    const QByteArray imported =
        archiveOf({"Gioco 1", "Gioco 2", "Importato 1", "Importato 2", "Importato 3"});
    QVERIFY2(after == before || after == imported, qPrintable(QString::number(after.size())));
    QCOMPARE(after == imported, exit == 0 || step >= 5);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
}

void TestGameArchive::importThatCannotBeUndoneSaysSo()
{
    // The import fails after a block, and so does cutting the archive back: the journal stays,
    // and the next opening puts the archive back as it was.
    const QByteArray before = archiveOf({"Gioco 1"});
    QVERIFY(writeFile(archive_, before));
    ScriptedSteps steps;
    steps.failing = QStringList{QStringLiteral("blocco aggiunto"), QStringLiteral("annullamento")};
    {
        auto import = owner(&steps).beginImport();
        import->begin();
        const GameRecord record = recordOf(QStringLiteral("Importato"));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, import->append(&record, 1));
        QVERIFY(!import->undo());
    }
    QVERIFY(owner().changeInterrupted());
    ArchiveFile reopened;
    GameArchive::openForReading(reopened, archive_);
    QCOMPARE(reopened.RecordCount(), 1);
    reopened.Close();
    QCOMPARE(readFile(archive_), before);
    QVERIFY(!owner().changeInterrupted());
}

void TestGameArchive::fullDiskWhileWritingTheImportJournal()
{
    const QByteArray before = archiveOf({"Gioco 1", "Gioco 2"});
    QVERIFY(writeFile(archive_, before));
    const QString archive = archive_;
    // The disk is full for any file beyond a few bytes: the journal cannot be written.
    const int result = brivanto::testing::runInChild(
        [&] { return run(GameArchive(archive), {QStringLiteral("importa")}, {}); }, false, 16);
    QCOMPARE(result, 3);
    QCOMPARE(readFile(archive_), before);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Giochi.gdt"});
}

void TestGameArchive::readOnlyArchiveOpensForReading()
{
    // The archive and its folder belong to another user, who lets this one read them only.
    const Expected start{{"Gioco 1", "Gioco 2", "Gioco 3"}, {"AB", "AB", "AB"}};
    makeArchive(start);
    chmodPath(archive_, 0444);
    chmodPath(photos_, 0555);
    chmodPath(dir_->path(), 0555);
    const QString archive = archive_;
    const int result = brivanto::testing::runInChild(
        [&] {
            const GameArchive owner(archive);
            ArchiveFile reader;
            owner.openForReading(reader);
            GameRecord record;
            reader.Seek(2);
            reader.Read(record);
            if (reader.RecordCount() != 3 ||
                std::memcmp(&record, recordBytes(QStringLiteral("Gioco 3")).constData(), RecordSize) != 0)
                return 10;
            reader.Close();
            if (owner.writable())
                return 11;
            int refusals = 0;
            const auto refused = [&refusals](const std::function<void()>& change) {
                try {
                    change();
                } catch (const ArchiveReadOnlyError&) {
                    ++refusals;
                } catch (const ArchiveError&) {
                }
            };
            refused([&] {
                owner.saveRecord(1, recordBytes(QStringLiteral("Gioco 1")), recordOf(QStringLiteral("x")),
                                 {});
            });
            refused([&] { owner.saveRecord(0, {}, recordOf(QStringLiteral("x")), {}); });
            refused([&] { owner.deleteRecord(1, recordBytes(QStringLiteral("Gioco 1"))); });
            refused([&] { owner.beginImport(); });
            return refusals;
        },
        true);
    chmodPath(dir_->path(), 0777);
    QCOMPARE(result, 4);
    verify(start);
}

void TestGameArchive::readerWithoutLocksLeavesAnInterruptedChange()
{
    // Where the file system cannot lock, a reader that finds a journal cannot tell a crashed
    // deletion from one another workstation is still making: it changes nothing. The next change
    // (a writer) finishes it.
    const Expected start{{"Gioco 1", "Gioco 2", "Gioco 3"}, {"AB", "AB", "AB"}};
    makeArchive(start);
    const QString archive = archive_;
    QCOMPARE(brivanto::testing::runInChild(
                 [&] {
                     ScriptedSteps steps;
                     steps.onStep = [](std::string_view step) {
                         if (step == "foto messa da parte")
                             ::_exit(ScriptedSteps::StoppedExitCode);
                     };
                     GameArchive owner(archive);
                     owner.setChangeSteps(&steps);
                     return run(owner, {QStringLiteral("elimina 1")}, {"Gioco 1", "Gioco 2", "Gioco 3"});
                 },
                 false),
             ScriptedSteps::StoppedExitCode);
    const QByteArray archiveBefore = readFile(archive_);
    const auto photosBefore = photoFiles(photos_);
    ArchiveFile::setLockAttemptForTesting([](int, ArchiveFile::Access) { return ENOLCK; });

    ArchiveFile reader;
    owner().openForReading(reader);
    QCOMPARE(reader.RecordCount(), 3);
    reader.Close();
    QVERIFY(owner().changeInterrupted());
    QCOMPARE(readFile(archive_), archiveBefore);
    QCOMPARE(photoFiles(photos_), photosBefore);

    owner().finishInterruptedChange();
    verify(start);
}

void TestGameArchive::savedPhotoKeepsItsNameModeAndGroup()
{
    // A photo saved again replaces the file the folder holds, in the letter case it has, and keeps
    // the mode and group that let the other users of a shared folder read it.
    const Expected start{{"Gioco 1"}, {""}};
    makeArchive(start);
    const QString photo = photos_ + QStringLiteral("/Giochi_Foto_A_1.JPG");
    QVERIFY(writeFile(photo, "vecchia"));
    chmodPath(photo, 0640);
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown(QFile::encodeName(photo).constData(), 4321, 4242), 0);
    QCOMPARE(owner().photoPath(1, 'A'), photo);

    const SaveResult saved =
        owner().saveRecord(1, recordBytes(QStringLiteral("Gioco 1")), recordOf(QStringLiteral("Gioco 1")),
                           {QByteArray("nuova A"), QByteArray("nuova B")});
    QCOMPARE(saved.outcome, SaveOutcome::Written);
    QVERIFY(saved.photosWritten);
    QCOMPARE(photoFiles(photos_), (QMap<QString, QByteArray>{{"Giochi_Foto_A_1.JPG", "nuova A"},
                                                             {"Giochi_Foto_B_1.jpg", "nuova B"}}));
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(photo).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0640));
    if (root) {
        QCOMPARE(info.st_uid, uid_t(4321));
        QCOMPARE(info.st_gid, gid_t(4242));
    }
}

void TestGameArchive::groupSharedArchiveStaysShared()
{
    // The folder, the archive and its photos belong to another user and to the group "giochi"
    // (mode 0664), of which this user is a member: after this user's deletion and save, they
    // still belong to the group with the same mode, so the other members can still open them.
    if (::geteuid() != 0)
        QSKIP("needs root to give the files to another user and group");
    constexpr gid_t Group = 4242;
    const Expected start{{"Gioco 1", "Gioco 2", "Gioco 3"}, {"AB", "AB", "AB"}};
    makeArchive(start);
    const QStringList shared =
        QStringList{archive_, photos_, dir_->path()} + QDir(photos_).entryList(QDir::Files);
    for (const QString& name : shared) {
        const QString path = name.contains(QLatin1Char('/')) ? name : photos_ + QLatin1Char('/') + name;
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 4321, Group), 0);
        chmodPath(path, QFileInfo(path).isDir() ? 0775 : 0664);
    }
    const QString archive = archive_;
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {Group};
        if (::setgroups(1, groups) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(90);
        ::umask(022);
        const int deleted = run(GameArchive(archive), {QStringLiteral("elimina 1")}, start.titles);
        const int saved = run(GameArchive(archive), {QStringLiteral("salva 1")}, {"Gioco 2"});
        ::_exit(deleted * 10 + saved);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    Expected expected = start;
    apply(expected, {QStringLiteral("elimina 1")}, start.titles);
    apply(expected, {QStringLiteral("salva 1")}, {"Gioco 2"});
    verify(expected);
    for (const QString& path : QStringList{archive_, photos_ + QStringLiteral("/Giochi_Foto_A_1.jpg"),
                                           photos_ + QStringLiteral("/Giochi_Foto_B_2.jpg")}) {
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_gid, Group);
        QCOMPARE(info.st_mode & 07777, mode_t(0664));
    }
}

QTEST_GUILESS_MAIN(TestGameArchive)
#include "tst_game_archive.moc"
