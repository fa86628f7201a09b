// The README's picture of the program's icon: the theme's PNGs at 16, 48 and 256 pixels as the
// install puts them in the icon theme, each at its own size on a light and a dark strip (menus and
// task bars come in both), with the 16-pixel one also enlarged to show its pixels.
//   brivanto_icon_sheet <hicolor folder> <output.png>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: brivanto_icon_sheet <hicolor folder> <output.png>\n");
        return 2;
    }
    const QString theme = QString::fromLocal8Bit(argv[1]);
    const int sizes[] = {16, 48, 256};
    const int gap = 32, labelHeight = 28, strip = 256 + 2 * gap + labelHeight;
    const int enlarged = 16 * 8;
    const int width = gap + 16 + gap + enlarged + gap + 48 + gap + 256 + gap;
    QImage sheet(width, 2 * strip, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    const QColor backgrounds[] = {QColor(0xFF, 0xF8, 0xEC), QColor(0x22, 0x31, 0x3A)};
    for (int row = 0; row < 2; ++row) {
        const int top = row * strip;
        painter.fillRect(0, top, width, strip, backgrounds[row]);
        painter.setPen(row == 0 ? QColor(0x22, 0x31, 0x3A) : QColor(0xFF, 0xF8, 0xEC));
        int x = gap;
        const int baseline = top + gap + 256;
        for (const int size : sizes) {
            const QImage icon(theme + QStringLiteral("/%1x%1/apps/brivanto.png").arg(size));
            if (icon.size() != QSize(size, size)) {
                std::fprintf(stderr, "brivanto_icon_sheet: no %d pixel icon in %s\n", size, argv[1]);
                return 1;
            }
            painter.drawImage(x, baseline - size, icon);
            painter.drawText(QRect(x - gap / 2, baseline + 6, size + gap, labelHeight),
                             Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("%1 px").arg(size));
            x += size + gap;
            if (size == 16) {
                painter.drawImage(
                    x, baseline - enlarged,
                    icon.scaled(enlarged, enlarged, Qt::IgnoreAspectRatio, Qt::FastTransformation));
                painter.drawText(QRect(x, baseline + 6, enlarged, labelHeight),
                                 Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("16 px, 8\u00D7"));
                x += enlarged + gap;
            }
        }
    }
    painter.end();
    return sheet.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
