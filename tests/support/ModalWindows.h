#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `check` on the modal window once it is up, then closes every dialog still open, so a
// failed check never leaves the test waiting.
inline void whenModalShown(std::function<void(QWidget*)> check)
{
    QTimer::singleShot(0, [check = std::move(check)] {
        if (QWidget* modal = QApplication::activeModalWidget())
            check(modal);
        else
            QTest::qFail("no modal window is shown", __FILE__, __LINE__);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(window) && window->isVisible())
                window->close();
        }
    });
}
