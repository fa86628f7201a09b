// Renders the program's icon, an SVG picture, as PNG files for the desktop's icon theme:
//   render_icon <icon.svg> <output folder> <size>...
// writes <output folder>/<size>x<size>/apps/brivanto.png for each size; with --raw first, it
// writes <output folder>/brivanto-<size>.argb instead: the premultiplied 32-bit pixels as they lie
// in memory, which the program shows as its window icon without decoding anything.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    const bool raw = argc > 1 && QByteArray(argv[1]) == "--raw";
    if (raw) {
        --argc;
        ++argv;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: render_icon [--raw] <icon.svg> <output folder> <size>...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "render_icon: not a size: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (raw) {
            QFile file(output + QStringLiteral("/brivanto-%1.argb").arg(size));
            const auto bytes = static_cast<qint64>(image.sizeInBytes());
            if (!QDir().mkpath(output) || !file.open(QIODevice::WriteOnly) ||
                file.write(reinterpret_cast<const char*>(image.constBits()), bytes) != bytes || !file.flush()) {
                std::fprintf(stderr, "render_icon: cannot write the %d pixel icon into %s\n", size, argv[2]);
                return 1;
            }
            continue;
        }
        const QString folder = output + QStringLiteral("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/brivanto.png"))) {
            std::fprintf(stderr, "render_icon: cannot write the %d pixel icon into %s\n", size, argv[2]);
            return 1;
        }
    }
    return 0;
}
