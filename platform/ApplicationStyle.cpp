#include "platform/ApplicationStyle.h"

#include <QApplication>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>

namespace brivanto::platform {
namespace {

// The colours of the program's screens and pictures.
const QColor Cream(0xFF, 0xF8, 0xEC);     // screen background
const QColor Sand(0xF2, 0xED, 0xE4);      // buttons
const QColor LightSand(0xF7, 0xEA, 0xD3); // alternate rows
const QColor Slate(0x22, 0x31, 0x3A);     // text
const QColor Teal(0x0F, 0x5E, 0x6B);      // selection, focus
const QColor LightTeal(0x1A, 0x7A, 0x89); // links
const QColor Grey(0x8B, 0x95, 0x9B);      // disabled text

class ApplicationStyle final : public QProxyStyle
{
public:
    explicit ApplicationStyle(QStyle* base) : QProxyStyle(base) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        // Dialog buttons carry their Italian text only, as on the program's own screens.
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QPalette applicationPalette()
{
    QPalette palette(Slate, Sand, Qt::white, Grey, Grey, Slate, Qt::white, Qt::white, Cream);
    palette.setColor(QPalette::Window, Cream);
    palette.setColor(QPalette::WindowText, Slate);
    palette.setColor(QPalette::ButtonText, Slate);
    palette.setColor(QPalette::AlternateBase, LightSand);
    palette.setColor(QPalette::Highlight, Teal);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, LightTeal);
    palette.setColor(QPalette::LinkVisited, Teal);
    palette.setColor(QPalette::ToolTipBase, Cream);
    palette.setColor(QPalette::ToolTipText, Slate);
    palette.setColor(QPalette::PlaceholderText, Grey);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, Grey);
    return palette;
}

QStyle* createApplicationStyle(QStyle* base)
{
    return new ApplicationStyle(base ? base : QStyleFactory::create(QStringLiteral("Fusion")));
}

void applyApplicationStyle(QApplication& application)
{
    // The application takes ownership of the style.
    application.setStyle(createApplicationStyle());
    application.setPalette(applicationPalette());
}

} // namespace brivanto::platform
