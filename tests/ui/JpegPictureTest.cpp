#include "ui/JpegPicture.h"
#include "ui/Resources.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <stdexcept>

// clang-format off
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {

// Copies a fixture into `dir` as `name`, so the test never touches tests/data.
QString copyFixture(const QTemporaryDir& dir, const QString& fixture, const QString& name) {
    const QString target = dir.filePath(name);
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(DORVAK_TEST_DATA "/logo/") + fixture, target)) return {};
    return target;
}

QString failureOf(const QString& path) {
    try {
        dorvak::JpegPicture::fromFile(path);
    } catch (const std::runtime_error& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no failure>");
}

}  // namespace

class JpegPictureTest : public QObject {
    Q_OBJECT

private slots:
    void knowsItsSizeAndDecodesThePixelsOnceAtFirstUse() {
        QTemporaryDir dir;
        const auto picture =
            dorvak::JpegPicture::fromFile(copyFixture(dir, "logo-16x6.jpg", "logo.jpg"));
        QCOMPARE(picture.size(), QSize(16, 6));
        QVERIFY(!picture.isEmpty());
        const QImage& image = picture.image();
        QCOMPARE(image.size(), QSize(16, 6));
        // Left half red, right half blue: catches swapped channels.
        const QColor left = image.pixelColor(1, 3), right = image.pixelColor(14, 3);
        QVERIFY2(left.red() > 220 && left.blue() < 40, qPrintable(left.name()));
        QVERIFY2(right.blue() > 220 && right.red() < 40, qPrintable(right.name()));
        // Copies share the one decoded image.
        const dorvak::JpegPicture copy = picture;
        QCOMPARE(&copy.image(), &image);
    }

    void decodesGreyAndCmykPicturesInTrueColours() {
        QTemporaryDir dir;
        const QImage grey =
            dorvak::JpegPicture::fromFile(copyFixture(dir, "grey-10x4.jpg", "g.jpg")).image();
        QCOMPARE(grey.size(), QSize(10, 4));
        QVERIFY(qAbs(grey.pixelColor(5, 2).red() - 128) < 6);
        QCOMPARE(grey.pixelColor(5, 2).red(), grey.pixelColor(5, 2).blue());
        const QImage cmyk =
            dorvak::JpegPicture::fromFile(copyFixture(dir, "cmyk-6x5.jpg", "c.jpg")).image();
        QCOMPARE(cmyk.size(), QSize(6, 5));
        const QColor green = cmyk.pixelColor(3, 2);
        QVERIFY2(green.green() > 200 && green.red() < 60 && green.blue() < 60,
                 qPrintable(green.name()));
    }

    void failuresCarryTheirMessages() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("logo.jpg");
        QCOMPARE(failureOf(missing),
                 QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));

        // A relative name is reported with the current directory joined to it.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QString relative = failureOf(QStringLiteral("logo.jpg"));
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(relative,
                 QStringLiteral("Cannot open file \"%1/logo.jpg\". No such file or directory")
                     .arg(QDir(dir.path()).canonicalPath()));

        QVERIFY(QDir(dir.path()).mkdir("folder.jpg"));
        QCOMPARE(failureOf(dir.filePath("folder.jpg")),
                 QStringLiteral("Cannot open file \"%1\". Is a directory")
                     .arg(dir.filePath("folder.jpg")));

        QCOMPARE(failureOf(copyFixture(dir, "not-jpeg.jpg", "n.jpg")),
                 QStringLiteral("JPEG error #%1").arg(JERR_NO_SOI));
        QCOMPARE(JERR_NO_SOI, 53);
        QVERIFY(failureOf(copyFixture(dir, "truncated.jpg", "t.jpg")).startsWith("JPEG error #"));
    }

    void anEmptyFileIsNoPictureAndNoFailure() {
        QTemporaryDir dir;
        const auto picture = dorvak::JpegPicture::fromFile(copyFixture(dir, "empty.jpg", "e.jpg"));
        QVERIFY(picture.isEmpty());
        QCOMPARE(picture.size(), QSize(0, 0));
        QVERIFY(picture.image().isNull());
    }

    void dataCutAfterTheHeaderStillDrawsWithoutFailing() {
        QFile file(QStringLiteral(DORVAK_TEST_DATA "/logo/tall-300x400.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray all = file.readAll();
        const auto picture = dorvak::JpegPicture::fromData(all.left(all.size() / 2));
        QCOMPARE(picture.size(), QSize(300, 400));
        QCOMPARE(picture.image().size(), QSize(300, 400));
    }

    void thePlaceholderIsAProgressiveThreeComponentJpegOf21By12() {
        dorvak::initResources();
        QFile file(QStringLiteral(":/dorvak/placeholder.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        QCOMPARE(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
        QCOMPARE(int(cinfo.image_width), 21);
        QCOMPARE(int(cinfo.image_height), 12);
        QCOMPARE(cinfo.num_components, 3);
        QVERIFY(jpeg_has_multiple_scans(&cinfo));
        jpeg_destroy_decompress(&cinfo);
    }
};

QTEST_MAIN(JpegPictureTest)
#include "JpegPictureTest.moc"
