#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace brivanto::testing {

// Types a text as keystrokes; characters beyond ASCII go one at a time as text-only key events.
inline void typeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
            continue;
        }
        QString unit(c);
        if (c.isHighSurrogate() && i + 1 < text.size())
            unit += text[++i];
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, unit, Qt::NoModifier);
    }
}

} // namespace brivanto::testing
