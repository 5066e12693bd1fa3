// A JPEG picture decoded by our own calls into libjpeg (create, read header, start, read scanlines).
// libjpeg's fatal errors and its warnings about corrupt or missing data both become EJpegError, so a
// damaged picture is an error the caller sees, never a crash or a half-grey picture.
#pragma once

#include <QByteArray>
#include <QImage>

class TJPEGImage {
public:
    // Decodes the data; throws EJpegError when it is not a complete, sound JPEG.
    void LoadFromData(const QByteArray& data);
    // Reads a file or a Qt resource (":/...") and decodes it.
    void LoadFromFile(const QString& path);

    bool Empty() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    // Components as stored in the file (3 for YCbCr colour, 1 for greyscale).
    int Components() const { return m_components; }
    // The decoded picture, RGB888.
    const QImage& Image() const { return m_image; }

    static QImage Decode(const QByteArray& data, int* components = nullptr);

private:
    QImage m_image;
    int m_components = 0;
};
