#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSize>

// A small real JPEG whose frame header announces `size`; the scan data stays that of the small
// picture, so nothing of that size is ever allocated to make it.
inline QByteArray jpegClaiming(QSize size)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(90, 140, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG"))
        qFatal("cannot encode a test picture");
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        qFatal("no baseline frame header");
    const auto put16 = [&bytes](qsizetype at, int value) {
        bytes[at] = char(value >> 8);
        bytes[at + 1] = char(value & 0xFF);
    };
    put16(frame + 5, size.height());
    put16(frame + 7, size.width());
    return bytes;
}
