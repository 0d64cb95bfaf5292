#include "platform/ImageDecoders.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <memory>
#include <vector>

namespace vtl::platform {
namespace {

// ---- making test pictures ---------------------------------------------------

QByteArray encode(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

// Four solid 16x16 blocks: solid areas survive JPEG compression nearly intact.
const std::array<QRgb, 4> kQuadrantColors = {qRgb(220, 30, 30), qRgb(30, 200, 40),
                                             qRgb(20, 40, 210), qRgb(250, 250, 250)};

QImage quadrants() {
    QImage image(32, 32, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int i = 0; i < 4; ++i)
        painter.fillRect((i % 2) * 16, (i / 2) * 16, 16, 16, QColor::fromRgb(kQuadrantColors[i]));
    return image;
}

// Colours, alpha and a gradient, so that every channel of every pixel matters.
QImage gradient(int width = 19, int height = 13) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 13, y * 19, (x * y) % 256, 255 - (x + y) * 7));
    }
    return image;
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance &&
           std::abs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

void expectSamePixels(const QImage& actual, const QImage& expected, int tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            ASSERT_TRUE(near(actual.pixel(x, y), expected.pixel(x, y), tolerance))
                << "at " << x << "," << y << ": " << std::hex << actual.pixel(x, y) << " vs "
                << expected.pixel(x, y);
        }
    }
}

// A PNG assembled chunk by chunk, for kinds and damage that Qt's writer won't make.
quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc ^= static_cast<uchar>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type, 4) + data;
    return bigEndian(static_cast<quint32>(data.size())) + body + bigEndian(crc32(body));
}

QByteArray pngFile(quint32 width, quint32 height, char depth, char colorType, char interlace,
                   const QByteArray& idat) {
    const QByteArray header =
        bigEndian(width) + bigEndian(height) + depth + colorType + QByteArray(2, '\0') + interlace;
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) + chunk("IDAT", idat) +
           chunk("IEND", {});
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (const int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

QByteArray zlib(const QByteArray& raw) {
    return qCompress(raw).mid(4);
}

// Rows of the given pixels, each after filter byte 0.
QByteArray scanlines(int width, int height, int bytesPerPixel,
                     const std::function<QByteArray(int, int)>& pixel) {
    QByteArray raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x)
            raw += pixel(x, y).left(bytesPerPixel);
    }
    return raw;
}

// The seven Adam7 passes, each a run of filtered rows of the pixels it holds.
QByteArray adam7(int width, int height, const std::function<QByteArray(int, int)>& pixel) {
    struct Pass {
        int x, y, dx, dy;
    };
    constexpr std::array<Pass, 7> passes = {{{0, 0, 8, 8},
                                             {4, 0, 8, 8},
                                             {0, 4, 4, 8},
                                             {2, 0, 4, 4},
                                             {0, 2, 2, 4},
                                             {1, 0, 2, 2},
                                             {0, 1, 1, 2}}};
    QByteArray raw;
    for (const Pass& pass : passes) {
        if (pass.x >= width)
            continue;
        for (int y = pass.y; y < height; y += pass.dy) {
            raw += '\0';
            for (int x = pass.x; x < width; x += pass.dx)
                raw += pixel(x, y);
        }
    }
    return raw;
}

QByteArray cmykJpeg(const std::vector<std::array<uchar, 4>>& swatches) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(8 * swatches.size());
    info.image_height = 8;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info); // CMYK with an Adobe marker
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uchar> row;
    for (const auto& swatch : swatches) {
        for (int i = 0; i < 8; ++i)
            row.insert(row.end(), swatch.begin(), swatch.end());
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(buffer, std::free);
    return {reinterpret_cast<const char*>(owned.get()), static_cast<qsizetype>(size)};
}

// ---- JPEG ------------------------------------------------------------------

struct JpegKind {
    const char* name;
    bool grey;
    bool progressive;
};

class ImageDecodersJpeg : public testing::TestWithParam<JpegKind> {};

TEST_P(ImageDecodersJpeg, DecodesToRgb32) {
    const JpegKind& kind = GetParam();
    QImage source = quadrants();
    if (kind.grey)
        source = source.convertToFormat(QImage::Format_Grayscale8);
    const DecodedImage decoded = decodeJpeg(encode(source, "jpeg", kind.progressive));
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_TRUE(decoded.error.isEmpty());
    EXPECT_EQ(decoded.image.format(), QImage::Format_RGB32);
    ASSERT_EQ(decoded.image.size(), source.size());
    for (const QPoint centre : {QPoint(8, 8), QPoint(24, 8), QPoint(8, 24), QPoint(24, 24)}) {
        const QRgb actual = decoded.image.pixel(centre);
        EXPECT_TRUE(near(actual, source.pixel(centre), 6))
            << std::hex << actual << " vs " << source.pixel(centre);
        if (kind.grey) {
            EXPECT_TRUE(qRed(actual) == qGreen(actual) && qGreen(actual) == qBlue(actual));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ImageDecodersJpeg,
    testing::Values(JpegKind{"colour", false, false}, JpegKind{"colourProgressive", false, true},
                    JpegKind{"grey", true, false}, JpegKind{"greyProgressive", true, true}),
    [](const testing::TestParamInfo<JpegKind>& info) { return std::string(info.param.name); });

TEST(ImageDecodersJpegCmyk, AdobeInvertedInkBecomesRgb) {
    // Adobe stores ink inverted: 255 is no ink.
    const DecodedImage decoded = decodeJpeg(cmykJpeg({{255, 0, 0, 255},        // magenta + yellow
                                                      {0, 255, 255, 255},      // cyan
                                                      {255, 255, 255, 127},    // half black
                                                      {255, 255, 255, 255}})); // paper
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.image.format(), QImage::Format_RGB32);
    const std::array<QRgb, 4> expected = {qRgb(255, 0, 0), qRgb(0, 255, 255), qRgb(127, 127, 127),
                                          qRgb(255, 255, 255)};
    for (int i = 0; i < 4; ++i) {
        const QRgb actual = decoded.image.pixel(8 * i + 4, 4);
        EXPECT_TRUE(near(actual, expected[i], 4)) << i << ": " << std::hex << actual;
    }
}

// ---- PNG -------------------------------------------------------------------

struct PngKind {
    const char* name;
    QImage::Format format; // the picture Qt writes
    char depth;            // what its header must say, so the case covers that kind
    char colorType;
    int tolerance;
};

class ImageDecodersPng : public testing::TestWithParam<PngKind> {};

TEST_P(ImageDecodersPng, DecodesToPremultipliedArgb) {
    const PngKind& kind = GetParam();
    QImage source = gradient().convertToFormat(kind.format);
    if (kind.format == QImage::Format_Indexed8) {
        // A palette with translucent entries, written as PLTE plus tRNS.
        source = gradient().convertToFormat(QImage::Format_Indexed8,
                                            {qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 128),
                                             qRgba(0, 255, 0, 0), qRgba(10, 20, 30, 200)});
    }
    const QByteArray bytes = encode(source, "png");
    ASSERT_EQ(bytes.at(24), kind.depth);
    ASSERT_EQ(bytes.at(25), kind.colorType);

    const DecodedImage decoded = decodePng(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.image.format(), QImage::Format_ARGB32_Premultiplied);
    expectSamePixels(decoded.image, source.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     kind.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ImageDecodersPng,
    testing::Values(PngKind{"rgba8", QImage::Format_ARGB32, 8, 6, 0},
                    PngKind{"rgb8", QImage::Format_RGB32, 8, 2, 0},
                    PngKind{"rgba16", QImage::Format_RGBA64, 16, 6, 1},
                    PngKind{"grey8", QImage::Format_Grayscale8, 8, 0, 0},
                    PngKind{"grey16", QImage::Format_Grayscale16, 16, 0, 1},
                    PngKind{"paletteWithAlpha", QImage::Format_Indexed8, 8, 3, 0},
                    PngKind{"mono", QImage::Format_Mono, 1, 3, 0}),
    [](const testing::TestParamInfo<PngKind>& info) { return std::string(info.param.name); });

TEST(ImageDecodersPngMade, GreyWithAlpha) {
    const auto pixel = [](int x, int y) { return bytesOf({x * 40, 255 - y * 60}); };
    const DecodedImage decoded = decodePng(pngFile(5, 4, 8, 4, 0, zlib(scanlines(5, 4, 2, pixel))));
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    QImage expected(5, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x)
            expected.setPixel(x, y, qRgba(x * 40, x * 40, x * 40, 255 - y * 60));
    }
    expectSamePixels(decoded.image, expected.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     0);
}

TEST(ImageDecodersPngMade, Interlaced) {
    const auto rgb = [](int x, int y) { return qRgb(x * 50, y * 50, (x + y) * 20); };
    const auto pixel = [&](int x, int y) {
        const QRgb c = rgb(x, y);
        return bytesOf({qRed(c), qGreen(c), qBlue(c)});
    };
    // 5 x 5 puts pixels into all seven passes.
    const DecodedImage decoded = decodePng(pngFile(5, 5, 8, 2, 1, zlib(adam7(5, 5, pixel))));
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    QImage expected(5, 5, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x)
            expected.setPixel(x, y, rgb(x, y));
    }
    expectSamePixels(decoded.image, expected, 0);
}

// ---- damaged input -----------------------------------------------------------

using Decoder = DecodedImage (*)(const QByteArray&);

struct Damage {
    const char* name;
    Decoder decoder;
    std::function<QByteArray()> bytes;
};

QByteArray randomBytes() {
    QRandomGenerator random(42);
    QByteArray bytes(4096, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray noisyJpeg() {
    QImage image(64, 64, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000U);
    }
    return encode(image, "jpeg");
}

qsizetype startOfScan(const QByteArray& jpeg) {
    return jpeg.indexOf("\xFF\xDA");
}

QByteArray jpegHeaderOnly() {
    const QByteArray jpeg = noisyJpeg();
    return jpeg.left(startOfScan(jpeg));
}

// Cut before its last scan: every remaining scan decodes cleanly.
QByteArray progressiveJpegMissingScans() {
    QImage image = quadrants();
    const QByteArray jpeg = encode(image, "jpeg", true);
    return jpeg.left(jpeg.lastIndexOf("\xFF\xDA"));
}

QByteArray truncatedJpeg() {
    const QByteArray jpeg = noisyJpeg();
    return jpeg.left((startOfScan(jpeg) + jpeg.size()) / 2);
}

// A valid small picture whose frame header claims 60000 x 60000 pixels.
QByteArray hugeJpeg() {
    QByteArray jpeg = encode(quadrants(), "jpeg");
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    qToBigEndian<quint16>(60000, jpeg.data() + frame + 5);
    qToBigEndian<quint16>(60000, jpeg.data() + frame + 7);
    return jpeg;
}

QByteArray goodPng() {
    return encode(gradient(64, 64), "png");
}

QByteArray pngWithBrokenHeaderCrc() {
    QByteArray png = goodPng();
    png[29] = static_cast<char>(png[29] ^ 0x55); // first byte of the IHDR CRC
    return png;
}

// The bytes of the compressed stream are intact; only the checksum is wrong.
QByteArray pngWithBrokenIdatCrc() {
    QByteArray png = goodPng();
    const qsizetype idat = png.indexOf("IDAT");
    const qsizetype crc = idat + 4 + qFromBigEndian<quint32>(png.constData() + idat - 4);
    png[crc] = static_cast<char>(png[crc] ^ 0x55);
    return png;
}

// Bit rot inside the compressed stream.
QByteArray pngWithFlippedIdatByte() {
    QByteArray png = goodPng();
    const qsizetype idat = png.indexOf("IDAT");
    png[idat + 10] = static_cast<char>(png[idat + 10] ^ 0x55);
    return png;
}

QByteArray pngWithBrokenImageData() {
    return pngFile(4, 4, 8, 2, 0, QByteArray("this is not a zlib stream"));
}

QByteArray pngWithTooLittleImageData() {
    return pngFile(4, 4, 8, 2, 0, zlib(QByteArray(1 + 4 * 3, '\0')));
}

QByteArray hugePng() {
    return pngFile(100000, 100000, 8, 6, 0, zlib(QByteArray(1 + 100000 * 4, '\0')));
}

class ImageDecodersDamaged : public testing::TestWithParam<Damage> {};

TEST_P(ImageDecodersDamaged, GivesAnErrorAndNoPicture) {
    const DecodedImage decoded = GetParam().decoder(GetParam().bytes());
    EXPECT_FALSE(decoded.ok());
    EXPECT_TRUE(decoded.image.isNull());
    EXPECT_FALSE(decoded.error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageDecodersDamaged,
    testing::Values(Damage{"jpegEmpty", decodeJpeg, [] { return QByteArray(); }},
                    Damage{"jpegRandom", decodeJpeg, randomBytes},
                    Damage{"jpegHeaderOnly", decodeJpeg, jpegHeaderOnly},
                    Damage{"jpegTruncated", decodeJpeg, truncatedJpeg},
                    Damage{"jpegProgressiveMissingScans", decodeJpeg, progressiveJpegMissingScans},
                    Damage{"jpegSoiOnly", decodeJpeg, [] { return QByteArray("\xFF\xD8"); }},
                    Damage{"jpegHugeFrame", decodeJpeg, hugeJpeg},
                    Damage{"jpegGivenAPng", decodeJpeg, goodPng},
                    Damage{"pngEmpty", decodePng, [] { return QByteArray(); }},
                    Damage{"pngRandom", decodePng, randomBytes},
                    Damage{"pngSignatureOnly", decodePng, [] { return goodPng().left(8); }},
                    Damage{"pngTruncated", decodePng, [] { return goodPng().chopped(200); }},
                    Damage{"pngBrokenHeaderCrc", decodePng, pngWithBrokenHeaderCrc},
                    Damage{"pngBrokenIdatCrc", decodePng, pngWithBrokenIdatCrc},
                    Damage{"pngFlippedIdatByte", decodePng, pngWithFlippedIdatByte},
                    Damage{"pngBrokenImageData", decodePng, pngWithBrokenImageData},
                    Damage{"pngTooLittleImageData", decodePng, pngWithTooLittleImageData},
                    Damage{"pngHugeHeader", decodePng, hugePng},
                    Damage{"pngGivenAJpeg", decodePng, noisyJpeg}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// Once every pixel is in, a lost end marker costs nothing.
TEST(ImageDecodersTail, MissingEndMarkerStillDecodes) {
    const QByteArray jpeg = encode(quadrants(), "jpeg");
    ASSERT_TRUE(jpeg.endsWith("\xFF\xD9"));
    EXPECT_TRUE(decodeJpeg(jpeg.chopped(2)).ok());

    const QByteArray png = goodPng();
    ASSERT_EQ(png.mid(png.size() - 8, 4), QByteArray("IEND"));
    EXPECT_TRUE(decodePng(png.chopped(12)).ok());
}

// ---- files -----------------------------------------------------------------

TEST(ImageDecodersFiles, ReadsFilesAndReportsMissingOnes) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("picture.png"));
    const QString jpeg = dir.filePath(QStringLiteral("picture.jpg"));
    ASSERT_TRUE(gradient().save(png));
    ASSERT_TRUE(quadrants().save(jpeg, "JPEG", 100));
    EXPECT_EQ(decodePngFile(png).image.size(), gradient().size());
    EXPECT_EQ(decodeJpegFile(jpeg).image.size(), quadrants().size());

    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    for (const DecodedImage& decoded : {decodePngFile(missing), decodeJpegFile(missing)}) {
        EXPECT_FALSE(decoded.ok());
        EXPECT_TRUE(decoded.error.contains(missing)) << decoded.error.toStdString();
    }
}

} // namespace
} // namespace vtl::platform
