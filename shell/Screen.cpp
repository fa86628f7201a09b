#include "shell/Screen.h"

#include "platform/Formats.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace brivanto {

void prepareScreen(QWidget* screen, const QString& className, const QString& caption)
{
    screen->setObjectName(className);
    screen->setWindowTitle(caption);
    platform::setProcessFormats();
}

void makeFixedDialogWindow(QWidget* screen, int clientWidth, int clientHeight)
{
    screen->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    screen->setFixedSize(clientWidth, clientHeight);
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

QWidget* addCentredPanel(QWidget* screen, int width, int height)
{
    screen->setAutoFillBackground(true);
    screen->setPalette(QPalette(QColor(0xFF, 0xF8, 0xEC)));
    auto* panel = new QWidget(screen);
    panel->setFixedSize(width, height);
    auto* centring = new QGridLayout(screen);
    centring->addWidget(panel, 0, 0, Qt::AlignCenter);
    return panel;
}

QLabel* hiddenLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

} // namespace brivanto
