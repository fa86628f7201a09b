#pragma once

#include "platform/testing/ScriptedPlatform.h"
#include "storage/ProgramFolder.h"
#include "tests/support/TypeText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QShowEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

// A temporary program folder with scripted message boxes, dialogs and shell for one test.
class ProgramFolderFixture
{
public:
    ProgramFolderFixture() { brivanto::setProgramFolderForTesting(dir.path()); }
    ~ProgramFolderFixture() { brivanto::setProgramFolderForTesting({}); }

    QString path(const QString& name) const { return brivanto::ProgramFolder() + name; }

    void writeFile(const QString& name, const QByteArray& bytes = {}) const
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
    brivanto::platform::testing::ScriptedPlatform platform;
};

// The object names of the top-level windows on view, in no particular order.
inline QStringList visibleScreens()
{
    QStringList names;
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (window->isVisible())
            names.append(window->objectName());
    }
    names.sort();
    return names;
}

template <class T = QWidget> T* child(const QWidget* screen, const char* name)
{
    T* found = screen->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s on %s", name, qPrintable(screen->objectName()));
    return found;
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// The show event that the window system sends when a minimised window is restored.
inline void restoreFromTaskbar(QWidget* window)
{
    QShowEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
}
