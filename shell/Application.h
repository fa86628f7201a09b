#pragma once

#include <QApplication>

namespace brivanto {

// The application object. A failure that no screen handled reaches the general error report,
// a message box with the failure's own text, instead of ending the program; the screen stays
// as it was.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace brivanto
