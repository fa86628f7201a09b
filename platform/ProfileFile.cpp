#include "platform/ProfileFile.h"

#include "platform/Windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace brivanto::platform {
namespace {

struct Line
{
    QString text;
    bool isSection = false;
    QString name; // section name, or key name of a key line
    QString value;
};

QString unquoted(QString value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

Line parse(const QString& raw)
{
    Line line{raw, false, {}, {}};
    const QString text = raw.trimmed();
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        line.isSection = true;
        line.name = text.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return line;
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    line.name = (equals < 0 ? text : text.left(equals)).trimmed();
    if (equals >= 0)
        line.value = unquoted(text.mid(equals + 1).trimmed());
    return line;
}

struct Profile
{
    QList<Line> lines;
    QString lineEnd = QStringLiteral("\r\n");
    bool endsWithLineEnd = true;
};

Profile parseProfile(const QByteArray& bytes)
{
    Profile profile;
    const QString text = fromWindows1252(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size()));
    if (text.contains(QLatin1Char('\n')) && !text.contains(QStringLiteral("\r\n")))
        profile.lineEnd = QStringLiteral("\n");
    profile.endsWithLineEnd = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
    QStringList raw = text.split(QLatin1Char('\n'));
    if (profile.endsWithLineEnd)
        raw.removeLast();
    for (QString& line : raw) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        profile.lines.append(parse(line));
    }
    return profile;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the section header, and of the key line inside it (-1 when absent).
struct Found
{
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastOfSection = -1; // last non-blank line that belongs to the section
};

Found find(const Profile& profile, const QString& section, const QString& key)
{
    Found found;
    for (qsizetype i = 0; i < profile.lines.size(); ++i) {
        const Line& line = profile.lines[i];
        if (line.isSection) {
            if (found.section >= 0)
                break;
            if (sameName(line.name, section))
                found.section = found.lastOfSection = i;
            continue;
        }
        if (found.section < 0)
            continue;
        if (!line.text.trimmed().isEmpty())
            found.lastOfSection = i;
        if (found.key < 0 && sameName(line.name, key))
            found.key = i;
    }
    return found;
}

} // namespace

std::optional<QString> readProfileString(const QString& path, const QString& section, const QString& key)
{
    QFile file(path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const Profile profile = parseProfile(bytes);
    const Found found = find(profile, section, key);
    return found.key < 0 ? QString() : profile.lines[found.key].value;
}

bool writeProfileString(const QString& path, const QString& section, const QString& key, const QString& value)
{
    Profile profile;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        profile = parseProfile(existing.readAll());
        if (existing.error() != QFileDevice::NoError)
            return false;
        existing.close();
    }
    const Found found = find(profile, section, key);
    const Line keyLine = parse(key + QLatin1Char('=') + value);
    if (found.key >= 0) {
        profile.lines[found.key] = keyLine;
    } else if (found.section >= 0) {
        profile.lines.insert(found.lastOfSection + 1, keyLine);
    } else {
        profile.lines.append(parse(QLatin1Char('[') + section + QLatin1Char(']')));
        profile.lines.append(keyLine);
        profile.endsWithLineEnd = true;
    }

    QString text;
    for (qsizetype i = 0; i < profile.lines.size(); ++i) {
        text += profile.lines[i].text;
        if (i + 1 < profile.lines.size() || profile.endsWithLineEnd)
            text += profile.lineEnd;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() does not notice when the final flush of the write buffer fails (a full disk): it
    // would put a truncated file in place of the old one. Push the bytes out and check first;
    // a cancelled save leaves the previous file untouched.
    const QByteArray bytes = toWindows1252(text);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace brivanto::platform
