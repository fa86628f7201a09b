// Renders the program's icon, an SVG picture, as PNG files for the desktop's icon theme:
//   render_icon <icon.svg> <output folder> <size>...
// writes <output folder>/<size>x<size>/apps/brivanto.png for each size; with --raw first, it
// writes <output folder>/brivanto-<size>.argb instead: the premultiplied 32-bit pixels as they lie
// in memory, which the program shows as its window icon without decoding anything.
//   render_icon --picture <picture.svg> <output.argb>
// draws a picture of the screens at its natural size the same way: its width and height (two
// 32-bit numbers), then its pixels.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool writePixels(QFile& file, const QImage& image)
{
    const auto bytes = static_cast<qint64>(image.sizeInBytes());
    return file.write(reinterpret_cast<const char*>(image.constBits()), bytes) == bytes;
}

QImage draw(QSvgRenderer& renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

int renderPicture(const char* svg, const char* output)
{
    QSvgRenderer renderer(QString::fromLocal8Bit(svg));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", svg);
        return 1;
    }
    // Drawn exactly as the program draws it from the SVG (platform/PictureBox.cpp).
    const QImage image = draw(renderer, renderer.defaultSize());
    const quint32 size[2] = {quint32(image.width()), quint32(image.height())};
    QFile file(QString::fromLocal8Bit(output));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(size), sizeof size) != sizeof size ||
        !writePixels(file, image) || !file.flush()) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", output);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--picture") {
        // Text needs the font database, which needs the application object.
        QGuiApplication app(argc, argv);
        return renderPicture(argv[2], argv[3]);
    }
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
            if (!QDir().mkpath(output) || !file.open(QIODevice::WriteOnly) || !writePixels(file, image) ||
                !file.flush()) {
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
