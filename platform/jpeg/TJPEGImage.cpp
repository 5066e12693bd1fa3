// The JPEG decoder over libjpeg. Its error manager jumps back out of libjpeg (longjmp) on a fatal
// error and on any warning; the frame that calls setjmp holds no C++ object.
#include "TJPEGImage.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "EJpegError.h"

namespace {

struct TErrorManager {
    jpeg_error_mgr Base;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<TErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // Level -1 is a warning about damaged data (premature end, corrupt segment): treated as fatal.
    if (level < 0)
        OnError(info);
}

// The largest picture we accept; far above the splash picture, low enough that a forged header
// cannot make us allocate gigabytes.
constexpr long MaxPixels = 64L * 1024 * 1024;

// Runs libjpeg over the bytes into *image. The setjmp frame holds only C data and pointers, so the
// jump back from libjpeg leaves no C++ object of this frame in an undefined state. Returns false with
// a message in errors->Message or *failure.
bool RunDecoder(const unsigned char* bytes, unsigned long size, TErrorManager* errors, QImage* image,
                int* components, const char** failure) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors->Base);
    errors->Base.error_exit = OnError;
    errors->Base.emit_message = OnMessage;
    errors->Message[0] = '\0';
    volatile bool created = false;

    if (setjmp(errors->Jump)) {
        if (created)
            jpeg_destroy_decompress(&info);
        return false;
    }

    jpeg_create_decompress(&info);
    created = true;
    jpeg_mem_src(&info, bytes, size);
    jpeg_read_header(&info, TRUE);
    if (static_cast<long>(info.image_width) * static_cast<long>(info.image_height) > MaxPixels) {
        jpeg_destroy_decompress(&info);
        *failure = "JPEG picture is too large";
        return false;
    }
    *components = info.num_components;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB888);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        *failure = "Not enough memory for the JPEG picture";
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

QImage TJPEGImage::Decode(const QByteArray& data, int* components) {
    if (data.isEmpty())
        throw EJpegError(QStringLiteral("JPEG data is empty"));
    TErrorManager errors;
    QImage image;
    int stored = 0;
    const char* failure = nullptr;
    if (!RunDecoder(reinterpret_cast<const unsigned char*>(data.constData()),
                    static_cast<unsigned long>(data.size()), &errors, &image, &stored, &failure)) {
        throw EJpegError(failure ? QString::fromLatin1(failure)
                                 : QStringLiteral("JPEG error: ") + QString::fromLocal8Bit(errors.Message));
    }
    if (components)
        *components = stored;
    return image;
}

void TJPEGImage::LoadFromData(const QByteArray& data) {
    int components = 0;
    QImage image = Decode(data, &components);
    m_image = std::move(image);
    m_components = components;
}

void TJPEGImage::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EJpegError(QStringLiteral("Cannot open picture %1: %2").arg(path, file.errorString()));
    LoadFromData(file.readAll());
}
