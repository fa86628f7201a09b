#include "report/TextLines.h"

namespace brivanto::report {

void TextLines::setText(QStringView text)
{
    clear();
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        append(text.mid(begin, i - begin));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        append(text.mid(begin));
}

void TextLines::clear()
{
    text_.clear();
    ends_.clear();
}

void TextLines::append(QStringView line)
{
    text_.append(line);
    ends_.append(text_.size());
}

void TextLines::reserve(qsizetype lines, qsizetype characters)
{
    ends_.reserve(lines);
    text_.reserve(characters);
}

QString TextLines::text() const
{
    QString whole;
    for (qsizetype i = 0; i < size(); ++i) {
        if (i > 0)
            whole += QStringLiteral("\r\n");
        whole += at(i);
    }
    return whole;
}

} // namespace brivanto::report
