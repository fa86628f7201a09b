#pragma once

#include <QApplication>
#include <QIcon>

namespace brivanto {

// The application object: the program's icon and menu entry name, its style and palette, the
// toolkit's texts in Italian, the wait cursor while an archive is locked by another program. A
// failure that no screen handled reaches the general error report, a message box with the
// failure's own text (the archive access error for an archive failure), instead of ending the
// program; the screen stays as it was.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;
    bool notify(QObject* receiver, QEvent* event) override;

    // The program's icon, the same for every window.
    static QIcon windowIcon();
};

} // namespace brivanto
