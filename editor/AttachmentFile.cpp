#include "editor/AttachmentFile.h"

#include "platform/Windows1252.h"
#include "storage/FieldText.h"
#include "storage/GameRecord.h"
#include "storage/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace brivanto {
namespace {

constexpr qsizetype NameCapacity = decltype(GameRecord::attachment1)::capacity;
// An extension longer than this is no extension worth keeping: the name is simply cut.
constexpr qsizetype LongestKeptExtension = 16;

bool holdsInWindows1252(QChar c)
{
    return c == QLatin1Char('?') || platform::toWindows1252(QStringView(&c, 1)) != "?";
}

// The same file under two paths: the same device and file number (a hard link counts too).
bool sameFile(const QString& a, const QString& b)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool copyWhole(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = in.read(block.data(), block.size());
        if (read < 0 || (read > 0 && out.write(block.constData(), read) != read)) {
            out.cancelWriting();
            return false;
        }
        if (read == 0)
            break;
    }
    // commit() of this Qt version does not notice a failed final flush: check it here.
    if (!out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace

QString attachmentFolder()
{
    return ProgramFolder() + QStringLiteral("Documenti_Allegati");
}

bool isAttachmentName(QStringView name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

QString attachmentPath(QStringView name)
{
    return isAttachmentName(name) ? attachmentFolder() + QLatin1Char('/') + name : QString();
}

QString storableAttachmentName(QStringView fileName)
{
    const QString name = trimmed(fileName);
    QString held;
    held.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            ++i; // one character in two code units
        held.append(c.isSurrogate() || !holdsInWindows1252(c) ? QLatin1Char('_') : c);
    }
    if (held.size() <= NameCapacity)
        return held;
    const qsizetype dot = held.lastIndexOf(QLatin1Char('.'));
    const qsizetype extension = dot > 0 ? held.size() - dot : 0;
    if (extension == 0 || extension > LongestKeptExtension)
        return trimmed(held.left(NameCapacity));
    return trimmed(held.left(NameCapacity - extension)) + held.right(extension);
}

std::optional<QString> attachFile(const QString& source, const std::function<bool()>& replaceExisting)
{
    const QFileInfo chosen(source);
    const QString name = storableAttachmentName(chosen.fileName());
    if (!chosen.isFile() || !isAttachmentName(name) || !QDir().mkpath(attachmentFolder()))
        return std::nullopt;
    const QString target = attachmentPath(name);
    if (QFileInfo::exists(target)) {
        if (sameFile(source, target))
            return name;
        if (!replaceExisting())
            return name;
    }
    if (!copyWhole(source, target))
        return std::nullopt;
    return name;
}

} // namespace brivanto
