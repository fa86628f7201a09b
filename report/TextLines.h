#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace brivanto::report {

// The lines of a text object in one block of characters. Copying is cheap (the block is shared
// until one side changes), so a prepared report keeps the lines it was made from without a
// second copy of a long list.
class TextLines
{
public:
    // Replaces everything with `text`, one line per line break ("\r\n", "\n" or "\r"); a break at
    // the very end starts no further line, and an empty text has no lines.
    void setText(QStringView text);
    void clear();
    void append(QStringView line);
    void reserve(qsizetype lines, qsizetype characters);

    qsizetype size() const { return ends_.size(); }
    bool isEmpty() const { return ends_.isEmpty(); }
    QStringView at(qsizetype line) const
    {
        const qsizetype begin = line == 0 ? 0 : ends_[line - 1];
        return QStringView(text_).mid(begin, ends_[line] - begin);
    }
    // The whole text, the lines joined with "\r\n".
    QString text() const;

private:
    QString text_;
    QList<qsizetype> ends_;
};

} // namespace brivanto::report
