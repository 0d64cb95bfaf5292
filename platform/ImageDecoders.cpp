#include "platform/ImageDecoders.h"

#include <QFile>
#include <QtEndian>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>

// jpeglib.h first: the message list in jerror.h depends on its configuration.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

// Both libraries report fatal errors through a callback that must not return;
// we longjmp back to the decoding function. The functions that call setjmp
// hold no C++ object with a destructor of their own: everything that outlives
// a jump lives in a job struct owned by the caller.

namespace vtl::platform {
namespace {

constexpr bool kLittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// A few bytes of header can ask for any size; larger pictures are refused
// before memory is taken for them. 1 GiB holds a 16384 x 16384 chart.
constexpr quint64 kMaxPixelBytes = quint64{1} << 30;

// A 32-bit picture of this size, or a null one when it is too large.
QImage allocate(quint64 width, quint64 height, QImage::Format format) {
    if (width * height * 4 > kMaxPixelBytes)
        return {};
    return {static_cast<int>(width), static_cast<int>(height), format};
}

DecodedImage failure(const QString& error) {
    return {QImage(), error};
}

// ---- JPEG ------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager; // first, so that libjpeg's pointer to it is ours too
    std::jmp_buf jump;
    std::array<char, JMSG_LENGTH_MAX> message;
};

// Reads from memory like jpeg_mem_src, but notes when the data ran out instead
// of warning: a missing end marker alone costs nothing, while data that the
// decoder still needed shows up as a corrupt-data warning.
struct JpegSource {
    jpeg_source_mgr manager; // first, as above
    bool exhausted;
};

struct JpegJob {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    JpegSource source{};
    QImage image;
    bool complete = false; // every scanline is in; later trouble is ignored
};

[[noreturn]] void jpegFail(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message.data());
    std::longjmp(errors->jump, 1);
}

// Warnings that mean picture data is missing or corrupt fail the decode: libjpeg
// would otherwise fill the gap with grey. Harmless warnings and traces are dropped.
void jpegMessage(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    switch (info->err->msg_code) {
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
        jpegFail(info);
    default:
        break;
    }
}

void jpegSilence(j_common_ptr) {}

void jpegSourceStart(j_decompress_ptr) {}

boolean jpegSourceFill(j_decompress_ptr info) {
    static constexpr std::array<JOCTET, 2> endOfImage = {0xFF, JPEG_EOI};
    auto* source = reinterpret_cast<JpegSource*>(info->src);
    source->exhausted = true;
    source->manager.next_input_byte = endOfImage.data();
    source->manager.bytes_in_buffer = endOfImage.size();
    return TRUE;
}

void jpegSourceSkip(j_decompress_ptr info, long count) {
    jpeg_source_mgr& manager = *info->src;
    if (count <= 0)
        return;
    if (static_cast<unsigned long>(count) > manager.bytes_in_buffer) {
        jpegSourceFill(info);
        return;
    }
    manager.next_input_byte += count;
    manager.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void jpegSourceEnd(j_decompress_ptr) {}

void setJpegSource(JpegJob& job, const QByteArray& bytes) {
    jpeg_source_mgr& manager = job.source.manager;
    manager.next_input_byte = reinterpret_cast<const JOCTET*>(bytes.constData());
    manager.bytes_in_buffer = static_cast<std::size_t>(bytes.size());
    manager.init_source = jpegSourceStart;
    manager.fill_input_buffer = jpegSourceFill;
    manager.skip_input_data = jpegSourceSkip;
    manager.resync_to_restart = jpeg_resync_to_restart;
    manager.term_source = jpegSourceEnd;
    job.info.src = &manager;
}

// CMYK pixels (4 bytes each) become RGB32 in place. Adobe writes them inverted.
void cmykToRgb(uchar* row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        uchar* pixel = row + std::size_t{4} * x;
        int c = pixel[0], m = pixel[1], y = pixel[2], k = pixel[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const QRgb rgb = qRgb(c * k / 255, m * k / 255, y * k / 255);
        std::memcpy(pixel, &rgb, sizeof rgb);
    }
}

// Empty text on success.
QString runJpeg(JpegJob& job, const QByteArray& bytes) {
    jpeg_decompress_struct& info = job.info;
    info.err = jpeg_std_error(&job.errors.manager);
    job.errors.manager.error_exit = jpegFail;
    job.errors.manager.emit_message = jpegMessage;
    job.errors.manager.output_message = jpegSilence;
    if (setjmp(job.errors.jump)) {
        jpeg_destroy_decompress(&info);
        return job.complete ? QString() : QString::fromLocal8Bit(job.errors.message.data());
    }
    jpeg_create_decompress(&info);
    // Pictures with several scans are buffered whole; libjpeg refuses beyond this.
    info.mem->max_memory_to_use = static_cast<long>(kMaxPixelBytes);
    setJpegSource(job, bytes);
    jpeg_read_header(&info, TRUE);

    // Taken before decompression starts, which already buffers whole pictures
    // with several scans; no scaling is asked for, so the output has this size.
    job.image = allocate(info.image_width, info.image_height, QImage::Format_RGB32);
    if (job.image.isNull()) {
        std::snprintf(job.errors.message.data(), job.errors.message.size(),
                      "Picture too large (%u x %u)", info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return QString::fromLatin1(job.errors.message.data());
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        info.out_color_space = JCS_CMYK;
    else
        info.out_color_space = kLittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&info);
    // Multi-scan pictures are read whole by now; one whose data ran out may lack
    // scans without any decoding error to show for it.
    if (jpeg_has_multiple_scans(&info) && job.source.exhausted)
        ERREXIT(&info, JERR_INPUT_EOF);

    while (info.output_scanline < info.output_height) {
        JSAMPROW row = job.image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk)
            cmykToRgb(row, info.output_width, info.saw_Adobe_marker);
    }
    job.complete = true;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return {};
}

// ---- PNG -------------------------------------------------------------------

struct PngJob {
    const QByteArray* bytes = nullptr;
    qsizetype offset = 0;
    QImage image;
    bool complete = false; // every row is in; a damaged tail is ignored
    std::array<char, 256> message{};
};

void pngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (length > static_cast<png_size_t>(job->bytes->size() - job->offset))
        png_error(png, "Unexpected end of file");
    std::memcpy(out, job->bytes->constData() + job->offset, length);
    job->offset += static_cast<qsizetype>(length);
}

[[noreturn]] void pngFail(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message.data(), job->message.size(), "%s", message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Every PNG kind becomes 8-bit non-premultiplied ARGB32 rows.
void requestArgb32(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    png_set_expand(png); // palette, grey below 8 bits, tRNS -> alpha
    if (png_get_bit_depth(png, info) == 16)
        png_set_scale_16(png);
    if (!(colorType & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    const bool hasAlpha =
        (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    if (kLittleEndian) {
        png_set_bgr(png);
        if (!hasAlpha)
            png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png);
        if (!hasAlpha)
            png_set_add_alpha(png, 0xff, PNG_FILLER_BEFORE);
    }
}

// Empty text on success.
QString runPng(PngJob& job) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, pngFail, pngWarning);
    if (!png)
        return QStringLiteral("Out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return QStringLiteral("Out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return job.complete ? QString() : QString::fromLocal8Bit(job.message.data());
    }
    png_set_read_fn(png, &job, pngRead);
    png_read_info(png, info);
    requestArgb32(png, info);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != png_size_t{width} * 4)
        png_error(png, "Unsupported pixel layout");
    job.image = allocate(width, height, QImage::Format_ARGB32);
    if (job.image.isNull())
        png_error(png, "Picture too large");
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, job.image.scanLine(static_cast<int>(y)), nullptr);
    }
    job.complete = true;
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return {};
}

DecodedImage decodeFile(const QString& path, DecodedImage (*decode)(const QByteArray&)) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    return decode(file.readAll());
}

} // namespace

DecodedImage decodeJpeg(const QByteArray& bytes) {
    JpegJob job;
    const QString error = runJpeg(job, bytes);
    if (!error.isEmpty())
        return failure(QStringLiteral("JPEG: ") + error);
    return {std::move(job.image), {}};
}

DecodedImage decodeJpegFile(const QString& path) {
    return decodeFile(path, decodeJpeg);
}

DecodedImage decodePng(const QByteArray& bytes) {
    PngJob job;
    job.bytes = &bytes;
    const QString error = runPng(job);
    if (!error.isEmpty())
        return failure(QStringLiteral("PNG: ") + error);
    job.image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return {std::move(job.image), {}};
}

DecodedImage decodePngFile(const QString& path) {
    return decodeFile(path, decodePng);
}

} // namespace vtl::platform
