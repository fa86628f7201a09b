#pragma once

#include <QWidget>

namespace brivanto {

// The yellow frame drawn behind a password field: a yellow fill whose border fades from yellow
// to white. It is visible while its field is the focused control of its window, and stays on
// while a message box of that window is open, since the field gets the focus back afterwards.
class FocusHighlight : public QWidget
{
    Q_OBJECT
public:
    FocusHighlight(const QString& objectName, QWidget* field, QWidget* parent);

    // Puts the highlight in step with the window's focused control; for a window just shown,
    // before the field has received its focus event.
    void follow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* field_;
};

} // namespace brivanto
