#pragma once

// Picture decoding through libjpeg and libpng. A damaged file, or one whose
// pixels would take more than 1 GiB, gives a null image and an error text,
// never an abort.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vtl::platform {

struct DecodedImage {
    QImage image; // null on failure
    QString error;
    bool ok() const { return !image.isNull(); }
};

DecodedImage decodeJpeg(const QByteArray& bytes);
DecodedImage decodeJpegFile(const QString& path);
// 8-bit RGBA and every other PNG kind, converted to ARGB32 premultiplied.
DecodedImage decodePng(const QByteArray& bytes);
DecodedImage decodePngFile(const QString& path);

} // namespace vtl::platform
