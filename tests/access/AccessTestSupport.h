#pragma once

// What the access tests share: a temporary program folder with its password file, and ways to
// make reading and writing fail.

#include "access/PasswordCodec.h"
#include "storage/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

namespace brivanto::testing {

// The password file of the program as delivered: the initial password "BENVENUTISSIMO".
inline const QByteArray DeliveredPassword = QByteArrayLiteral("4D8B4C4A1AEB37AB82DE806E580E");
inline const QByteArray DeliveredFile = "[Accesso]\r\nValore=" + DeliveredPassword + "\r\n";

// A password file holding `password` scrambled, as the program writes it.
inline QByteArray passwordFileWith(const QString& password)
{
    return "[Accesso]\r\nValore=" + EncodePassword(password).toLatin1() + "\r\n";
}

// A program folder of its own for one test; the program looks for its files there while it lives.
class TestProgramFolder
{
public:
    TestProgramFolder() { setProgramFolderForTesting(dir_.path()); }
    ~TestProgramFolder()
    {
        // Give back every permission a test took away, so that the folder can be removed.
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0700);
        ::chmod(QFile::encodeName(passwordFile()).constData(), 0600);
        setProgramFolderForTesting({});
    }
    TestProgramFolder(const TestProgramFolder&) = delete;
    TestProgramFolder& operator=(const TestProgramFolder&) = delete;

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    QString passwordFile() const { return dir_.filePath(QStringLiteral("unins000.dll")); }

    bool writePasswordFile(const QByteArray& content) const
    {
        QFile file(passwordFile());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
    }
    // The bytes of the password file; a null array when it is missing or not a plain file.
    QByteArray passwordFileBytes() const
    {
        QFile file(passwordFile());
        if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
    QStringList entries() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir dir_;
};

// Takes away the read or write permission; false when the process can use the file or folder
// all the same (root can), so the test has nothing to show.
inline bool makeUnreadable(const QString& file)
{
    ::chmod(QFile::encodeName(file).constData(), 0);
    QFile probe(file);
    return !probe.open(QIODevice::ReadOnly);
}

inline bool makeReadOnlyFolder(const QString& folder)
{
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    QFile probe(folder + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    return false;
}

// Every file write beyond a few bytes fails while this lives, as on a full disk, for root too.
class FullDisk
{
public:
    FullDisk()
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit small = previous_;
        small.rlim_cur = 4;
        active_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool isActive() const { return active_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

} // namespace brivanto::testing
