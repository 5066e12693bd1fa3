// The JPEG decoder on the splash picture, and on damaged data: every damaged picture either fails with
// EJpegError or (where the damage leaves a decodable stream) yields a picture of the stored size;
// truncation and broken headers always fail. Also checks the embedded file's format.
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTemporaryDir>

#include "EJpegError.h"
#include "TJPEGImage.h"
#include "TMutator.h"
#include "TTestChecks.h"

namespace {

QByteArray SplashBytes() {
    QFile file(QStringLiteral(":/splash/Image1.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The first marker segment of the given type, from just after its length field.
QByteArray Segment(const QByteArray& jpeg, unsigned char marker) {
    int at = 2;  // after SOI
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const unsigned char type = uchar(jpeg[at + 1]);
        const int length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        if (type == marker)
            return jpeg.mid(at + 4, length - 2);
        if (type == 0xDA)
            break;  // the scan: no more header segments
        at += 2 + length;
    }
    return {};
}

}  // namespace

class TstJpegImage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splashFileFormat();
    void decodesSplash();
    void truncated_data();
    void truncated();
    void brokenHeader_data();
    void brokenHeader();
    void damagedScanNeverCrashes();
    void mutatedPicturesNeverCrash();
    void missingFile();
};

void TstJpegImage::splashFileFormat() {
    const QByteArray jpeg = SplashBytes();
    QVERIFY(jpeg.startsWith("\xFF\xD8"));
    QVERIFY(jpeg.endsWith("\xFF\xD9"));
    QVERIFY2(jpeg.size() > 24000 && jpeg.size() < 34000, QByteArray::number(jpeg.size()).constData());
    const QByteArray jfif = Segment(jpeg, 0xE0);
    QVERIFY(jfif.startsWith(QByteArray("JFIF\0", 5)));
    QCOMPARE(int(uchar(jfif[5])), 1);  // version 1.01
    QCOMPARE(int(uchar(jfif[6])), 1);
    // Baseline (SOF0), 8 bits, 625 x 435, three components, luma 2x2 and chroma 1x1 (2x2 subsampling).
    const QByteArray sof = Segment(jpeg, 0xC0);
    QCOMPARE(sof.size(), 6 + 3 * 3);
    QCOMPARE(int(uchar(sof[0])), 8);
    QCOMPARE((uchar(sof[1]) << 8) | uchar(sof[2]), 435);
    QCOMPARE((uchar(sof[3]) << 8) | uchar(sof[4]), 625);
    QCOMPARE(int(uchar(sof[5])), 3);
    QCOMPARE(int(uchar(sof[6 + 1])), 0x22);
    QCOMPARE(int(uchar(sof[9 + 1])), 0x11);
    QCOMPARE(int(uchar(sof[12 + 1])), 0x11);
    QVERIFY(Segment(jpeg, 0xC2).isEmpty());  // not progressive
}

void TstJpegImage::decodesSplash() {
    TJPEGImage picture;
    QVERIFY(picture.Empty());
    picture.LoadFromData(SplashBytes());
    QCOMPARE(picture.Width(), 625);
    QCOMPARE(picture.Height(), 435);
    QCOMPARE(picture.Components(), 3);
    // Our decoder and Qt's own reader agree on the pixels within rounding of the colour conversion.
    QImage reference;
    QVERIFY(reference.loadFromData(SplashBytes(), "JPEG"));
    reference = reference.convertToFormat(QImage::Format_RGB888);
    const QImage& ours = picture.Image();
    for (const QPoint& at :
         {QPoint(0, 0), QPoint(312, 40), QPoint(420, 170), QPoint(100, 300), QPoint(624, 434)}) {
        const QColor a = ours.pixelColor(at);
        const QColor b = reference.pixelColor(at);
        QVERIFY2(qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 &&
                     qAbs(a.blue() - b.blue()) <= 3,
                 qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
    }
    // The bezel is dark, the backdrop light.
    QVERIFY(qGray(ours.pixel(312, 40)) < 60);
    QVERIFY(qGray(ours.pixel(5, 5)) > 200);
}

void TstJpegImage::truncated_data() {
    const int size = SplashBytes().size();
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0;
    QTest::newRow("SOI only") << 2;
    QTest::newRow("inside the JFIF segment") << 10;
    QTest::newRow("inside the tables") << 120;
    QTest::newRow("just after the header") << 700;
    QTest::newRow("half") << size / 2;
    QTest::newRow("missing EOI") << size - 2;
    QTest::newRow("one byte short") << size - 1;
}

void TstJpegImage::truncated() {
    QFETCH(int, length);
    TJPEGImage picture;
    QVERIFY_THROWS_EXCEPTION(EJpegError, picture.LoadFromData(SplashBytes().left(length)));
    QVERIFY(picture.Empty());
}

void TstJpegImage::brokenHeader_data() {
    QTest::addColumn<QByteArray>("data");
    QByteArray jpeg = SplashBytes();
    QByteArray noSoi = jpeg;
    noSoi[1] = char(0x00);
    QTest::newRow("no start of image") << noSoi;
    QByteArray zeroWidth = jpeg;
    const int sof = zeroWidth.indexOf("\xFF\xC0");
    zeroWidth[sof + 7] = 0;
    zeroWidth[sof + 8] = 0;
    QTest::newRow("zero width") << zeroWidth;
    QByteArray badComponents = jpeg;
    badComponents[sof + 9] = char(9);
    QTest::newRow("nine components") << badComponents;
    QByteArray noTables = jpeg;
    const int dqt = noTables.indexOf("\xFF\xDB");
    noTables[dqt + 1] = char(0xFE);  // the quantisation table becomes a comment
    QTest::newRow("no quantisation table") << noTables;
    QTest::newRow("a PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("text") << QByteArray("Курсовая по ВМИП");
}

void TstJpegImage::brokenHeader() {
    QFETCH(QByteArray, data);
    TJPEGImage picture;
    QVERIFY_THROWS_EXCEPTION(EJpegError, picture.LoadFromData(data));
}

void TstJpegImage::damagedScanNeverCrashes() {
    const QByteArray jpeg = SplashBytes();
    const int scan = jpeg.indexOf("\xFF\xDA");
    QVERIFY(scan > 0);
    int failures = 0;
    // Overwrite runs of the entropy-coded data with garbage at many places; libjpeg either reports the
    // damage (an error for us) or decodes a picture of the stored size. Nothing else may happen.
    for (int at = scan + 20; at < jpeg.size() - 64; at += 997) {
        QByteArray damaged = jpeg;
        for (int i = 0; i < 24; ++i)
            damaged[at + i] = char((at * 31 + i * 17) & 0xFF);
        try {
            const QImage image = TJPEGImage::Decode(damaged);
            QCOMPARE(image.size(), QSize(625, 435));
        } catch (const EJpegError&) {
            ++failures;
        }
    }
    QVERIFY(failures > 0);  // garbage in the scan is noticed at least somewhere
}

void TstJpegImage::mutatedPicturesNeverCrash() {
    // Mutations anywhere in the file, headers and markers included: each decodes to a picture of a
    // size the header could state, or fails with EJpegError; nothing else.
    const QByteArray jpeg = SplashBytes();
    TMutator mutator(20261211,
                     {QByteArray("\xFF\xD8", 2), QByteArray("\xFF\xD9", 2), QByteArray("\xFF\xDA", 2),
                      QByteArray("\xFF\xC0", 2), QByteArray("\xFF\xC4", 2), QByteArray("\xFF\xDB", 2),
                      QByteArray("\x00\x00", 2), QByteArray("\xFF\xFF", 2)});
    const int rounds = TMutator::Rounds(400);
    int refused = 0;
    for (int round = 0; round < rounds; ++round) {
        const QByteArray damaged = mutator.Mutate({jpeg});
        try {
            const QImage image = TJPEGImage::Decode(damaged);
            QVERIFY(!image.isNull() && image.width() > 0 && image.width() <= 65535 && image.height() > 0);
        } catch (const EJpegError&) {
            ++refused;
        }
    }
    qInfo("JPEG pictures: %d inputs tried, %d refused, 0 crashes", rounds, refused);
    QVERIFY(refused > 0);
}

void TstJpegImage::missingFile() {
    QTemporaryDir dir;
    TJPEGImage picture;
    const QString message =
        TTestChecks::ThrownMessage([&] { picture.LoadFromFile(dir.filePath(QStringLiteral("нет.jpg"))); });
    QVERIFY2(message.contains(QStringLiteral("нет.jpg")), qPrintable(message));
}

QTEST_GUILESS_MAIN(TstJpegImage)
#include "tst_jpegimage.moc"
