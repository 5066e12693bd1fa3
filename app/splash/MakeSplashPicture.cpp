// Draws the splash picture (a product shot of a flat-screen television set, 625 x 435) and writes it
// as a baseline JFIF 1.01 JPEG with libjpeg's compressor: three components, 2x2 chroma subsampling,
// the quality chosen so the file comes closest to the wanted size. Run once; the output is committed.
//   MakeSplashPicture <output.jpg> [wanted bytes, default 28882]
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

QImage Draw() {
    QImage image(625, 435, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Studio backdrop: a soft light-grey sweep with a floor.
    QLinearGradient wall(0, 0, 0, 435);
    wall.setColorAt(0.0, QColor(236, 238, 242));
    wall.setColorAt(0.72, QColor(206, 210, 218));
    wall.setColorAt(1.0, QColor(176, 180, 190));
    p.fillRect(image.rect(), wall);
    QRadialGradient glow(312, 170, 330);
    glow.setColorAt(0.0, QColor(255, 255, 255, 150));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), glow);

    // Shadow of the stand on the floor.
    QRadialGradient shadow(312, 400, 150);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 110));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.save();
    p.translate(312, 400);
    p.scale(1.0, 0.16);
    p.translate(-312, -400);
    p.fillRect(QRect(150, 330, 325, 140), shadow);
    p.restore();

    // Stand: base and neck.
    QLinearGradient metal(0, 0, 625, 0);
    metal.setColorAt(0.0, QColor(60, 62, 68));
    metal.setColorAt(0.5, QColor(150, 154, 162));
    metal.setColorAt(1.0, QColor(55, 57, 62));
    QPainterPath base;
    base.moveTo(222, 402);
    base.quadTo(312, 380, 402, 402);
    base.lineTo(392, 410);
    base.quadTo(312, 396, 232, 410);
    base.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawPath(base);
    p.drawRect(297, 352, 30, 42);

    // Bezel and screen.
    const QRectF bezel(52, 34, 521, 324);
    QLinearGradient frame(0, bezel.top(), 0, bezel.bottom());
    frame.setColorAt(0.0, QColor(40, 42, 48));
    frame.setColorAt(1.0, QColor(12, 12, 16));
    p.setBrush(frame);
    p.drawRoundedRect(bezel, 10, 10);
    p.setPen(QPen(QColor(110, 112, 120), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(bezel.adjusted(1, 1, -1, -1), 9, 9);

    const QRectF screen = bezel.adjusted(14, 14, -14, -26);
    p.save();
    p.setClipRect(screen);
    QLinearGradient sky(0, screen.top(), 0, screen.bottom());
    sky.setColorAt(0.0, QColor(18, 64, 140));
    sky.setColorAt(0.55, QColor(96, 160, 220));
    sky.setColorAt(0.56, QColor(230, 150, 70));
    sky.setColorAt(1.0, QColor(120, 60, 30));
    p.fillRect(screen, sky);
    // Sun and hills: a picture on the screen, as in a catalogue shot.
    QRadialGradient sun(420, 170, 60);
    sun.setColorAt(0.0, QColor(255, 250, 210));
    sun.setColorAt(0.4, QColor(255, 220, 120, 220));
    sun.setColorAt(1.0, QColor(255, 200, 100, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(420, 170), 60, 60);
    QPainterPath hills;
    hills.moveTo(screen.left(), 250);
    hills.cubicTo(150, 180, 230, 200, 300, 230);
    hills.cubicTo(370, 260, 450, 190, screen.right(), 220);
    hills.lineTo(screen.right(), screen.bottom());
    hills.lineTo(screen.left(), screen.bottom());
    hills.closeSubpath();
    QLinearGradient green(0, 190, 0, screen.bottom());
    green.setColorAt(0.0, QColor(70, 150, 70));
    green.setColorAt(1.0, QColor(20, 70, 30));
    p.setBrush(green);
    p.drawPath(hills);
    // Glass reflection across the upper left.
    QPainterPath glare;
    glare.moveTo(screen.left(), screen.top());
    glare.lineTo(screen.left() + 250, screen.top());
    glare.lineTo(screen.left() + 90, screen.bottom());
    glare.lineTo(screen.left(), screen.bottom());
    glare.closeSubpath();
    QLinearGradient shine(screen.left(), screen.top(), screen.left() + 200, screen.top() + 150);
    shine.setColorAt(0.0, QColor(255, 255, 255, 70));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawPath(glare);
    p.restore();

    // Power light and a small speaker grille under the screen.
    p.setBrush(QColor(40, 200, 255));
    p.drawEllipse(QPointF(540, bezel.bottom() - 12), 2.5, 2.5);
    p.setPen(QPen(QColor(70, 72, 80), 1));
    for (int x = 262; x <= 362; x += 4)
        p.drawLine(QPointF(x, bezel.bottom() - 16), QPointF(x, bezel.bottom() - 8));
    p.end();
    return image;
}

std::vector<unsigned char> Encode(const QImage& image, int quality) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = image.width();
    info.image_height = image.height();
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);  // YCbCr, 2x2 chroma, baseline Huffman, JFIF 1.01 marker
    info.write_JFIF_header = TRUE;
    info.JFIF_major_version = 1;
    info.JFIF_minor_version = 1;
    info.optimize_coding = FALSE;
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(image.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s output.jpg [wanted bytes]\n", argv[0]);
        return 2;
    }
    const long wanted = argc > 2 ? std::atol(argv[2]) : 28882;
    const QImage image = Draw();
    std::vector<unsigned char> best;
    int bestQuality = 0;
    for (int quality = 30; quality <= 100; ++quality) {
        std::vector<unsigned char> bytes = Encode(image, quality);
        if (best.empty() || std::labs(long(bytes.size()) - wanted) < std::labs(long(best.size()) - wanted)) {
            best = std::move(bytes);
            bestQuality = quality;
        }
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(best.data(), 1, best.size(), out) != best.size()) {
        std::perror(argv[1]);
        return 1;
    }
    std::fclose(out);
    std::printf("%s: %zu bytes at quality %d\n", argv[1], best.size(), bestQuality);
    return 0;
}
