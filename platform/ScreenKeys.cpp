#include "platform/ScreenKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace brivanto::platform {

bool isPlainEnter(const QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

namespace {

// A push button, a tool button or a picture button: a check box or a radio button is not
// pressed by Enter.
QAbstractButton* pressableButton(QWidget* widget)
{
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button || button->isCheckable() || !button->isEnabled() || !button->isVisible())
        return nullptr;
    return button;
}

// In a dialog, a push button that may become the default (Qt makes the first one the default
// when the dialog is shown, and the focused one while it has the focus) would be pressed by an
// Enter that a field or a list ignores. Only the screen's own buttons: a message box or a dialog
// shown over it is a window of its own and keeps the default button Enter answers it with.
void noDefaultButtons(QWidget* screen)
{
    const auto buttons = screen->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->window() != screen->window())
            continue;
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

// Sees the keys that no control of the screen used, before the window's own handling.
class ScreenKeyFilter final : public QObject
{
public:
    ScreenKeyFilter(QWidget* screen, std::function<void()> escape)
        : QObject(screen), screen_(screen), escape_(std::move(escape))
    {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != screen_)
            return false;
        if (event->type() == QEvent::Show) {
            // Buttons added after the screen was built follow the rule too.
            noDefaultButtons(screen_);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (isPlainEnter(key)) {
            if (QAbstractButton* button = pressableButton(screen_->focusWidget());
                button && !key->isAutoRepeat())
                button->click();
            return true;
        }
        if (escape_ && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            escape_();
            return true;
        }
        return false;
    }

private:
    QWidget* screen_;
    std::function<void()> escape_;
};

} // namespace

void applyScreenKeys(QWidget* screen, ScreenKeys keys)
{
    noDefaultButtons(screen);
    screen->installEventFilter(new ScreenKeyFilter(screen, std::move(keys.escape)));
    if (keys.help) {
        auto* help = new QShortcut(QKeySequence::HelpContents, screen);
        help->setObjectName(QStringLiteral("keyHelp"));
        QObject::connect(help, &QShortcut::activated, screen, std::move(keys.help));
    }
}

} // namespace brivanto::platform
