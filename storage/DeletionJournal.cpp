#include "storage/DeletionJournal.h"

#include <QByteArrayList>
#include <QUrl>

namespace brivanto {
namespace {

constexpr char Header[] = "brivanto eliminazione 1";
constexpr char Footer[] = "fine";

QByteArray encoded(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

QString decoded(const QByteArray& bytes)
{
    return QUrl::fromPercentEncoding(bytes);
}

} // namespace

QByteArray serializeDeletionPlan(const DeletionPlan& plan)
{
    QByteArray out;
    out += Header;
    out += "\nnome " + encoded(plan.archiveName);
    out += "\nfoto " + encoded(plan.photoFolder);
    out += "\nposizione " + QByteArray::number(plan.position);
    out += "\nschede " + QByteArray::number(plan.oldCount) + ' ' + QByteArray::number(plan.newCount);
    out += "\nfile " + QByteArray::number(plan.newArchiveDevice) + ' ' +
           QByteArray::number(plan.newArchiveInode);
    for (const QString& name : plan.renames)
        out += "\nsposta " + encoded(name);
    for (const QString& name : plan.deleted)
        out += "\ncestino " + encoded(name);
    out += '\n';
    out += Footer;
    out += '\n';
    return out;
}

std::optional<DeletionPlan> parseDeletionPlan(const QByteArray& bytes)
{
    const QByteArrayList lines = bytes.split('\n');
    // A whole journal starts with the header and ends with the footer and an empty last piece.
    if (lines.size() < 3 || lines.front() != Header || lines[lines.size() - 2] != Footer ||
        !lines.back().isEmpty())
        return {};
    DeletionPlan plan;
    bool ok = true;
    for (qsizetype i = 1; ok && i < lines.size() - 2; ++i) {
        const QByteArray& line = lines[i];
        const qsizetype blank = line.indexOf(' ');
        const QByteArray key = line.left(blank);
        const QByteArray value = blank < 0 ? QByteArray() : line.mid(blank + 1);
        const QByteArrayList numbers = value.split(' ');
        if (key == "nome")
            plan.archiveName = decoded(value);
        else if (key == "foto")
            plan.photoFolder = decoded(value);
        else if (key == "posizione")
            plan.position = value.toInt(&ok);
        else if (key == "schede" && numbers.size() == 2) {
            plan.oldCount = numbers[0].toInt(&ok);
            plan.newCount = ok ? numbers[1].toInt(&ok) : 0;
        } else if (key == "file" && numbers.size() == 2) {
            plan.newArchiveDevice = numbers[0].toULongLong(&ok);
            plan.newArchiveInode = ok ? numbers[1].toULongLong(&ok) : 0;
        } else if (key == "sposta")
            plan.renames.append(decoded(value));
        else if (key == "cestino")
            plan.deleted.append(decoded(value));
        else
            ok = false;
    }
    if (!ok || plan.archiveName.isEmpty() || plan.photoFolder.isEmpty() || plan.position < 1 ||
        plan.newCount != plan.oldCount - 1)
        return {};
    return plan;
}

QString deletionJournalPath(const QString& archivePath)
{
    return archivePath + QStringLiteral(".eliminazione");
}

QString newArchivePath(const QString& archivePath)
{
    return archivePath + QStringLiteral(".nuovo");
}

QString stagingFolderName(const QString& archiveName)
{
    return QLatin1Char('.') + archiveName + QStringLiteral("_eliminazione");
}

} // namespace brivanto
