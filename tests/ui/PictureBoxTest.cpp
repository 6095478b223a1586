#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "ui/PictureBox.h"

class PictureBoxTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        previous_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        QFile::remove("logo.jpg");
    }
    void cleanup() { QDir::setCurrent(previous_); }

    void startsWithThe12PixelPlaceholder() {
        dorvak::PictureBox box;
        QCOMPARE(box.picture().size(), QSize(21, 12));
        QCOMPARE(box.minimumHeight(), 12);
        QCOMPARE(box.maximumHeight(), 12);
    }

    void aLoadedLogoSetsTheHeightAndIsDrawnUnstretchedOnWhite() {
        QVERIFY(QFile::copy(QStringLiteral(DORVAK_TEST_DATA "/logo/logo-16x6.jpg"), "logo.JPG"));
        dorvak::PictureBox box;
        QSignalSpy heights(&box, &dorvak::PictureBox::heightChanged);
        box.loadFromFile("logo.JPG");
        QCOMPARE(box.picture().size(), QSize(16, 6));
        QCOMPARE(box.maximumHeight(), 6);
        QCOMPARE(heights.count(), 1);
        QCOMPARE(heights.at(0).at(0).toInt(), 6);

        box.resize(40, 6);
        const QImage shot = box.grab().toImage();
        QVERIFY(shot.pixelColor(1, 3).red() > 220);    // the picture's red half, at natural size
        QVERIFY(shot.pixelColor(14, 3).blue() > 220);  // its blue half ends at x = 15
        QCOMPARE(shot.pixelColor(30, 3), QColor(Qt::white));
    }

    void aFailedOrEmptyLoadKeepsTheStripHeight_data() {
        QTest::addColumn<QString>("fixture");  // empty: no file at all
        QTest::addColumn<QString>("failure");
        QTest::newRow("missing") << QString()
                                 << "Cannot open file \"%1/logo.jpg\". No such file or directory";
        QTest::newRow("not JPEG") << "not-jpeg.jpg"
                                  << "JPEG error #53";
        QTest::newRow("empty") << "empty.jpg" << QString();
    }
    void aFailedOrEmptyLoadKeepsTheStripHeight() {
        QFETCH(QString, fixture);
        QFETCH(QString, failure);
        if (!fixture.isEmpty())
            QVERIFY(QFile::copy(QStringLiteral(DORVAK_TEST_DATA "/logo/") + fixture, "logo.jpg"));
        dorvak::PictureBox box;
        QString message;
        try {
            box.loadFromFile("logo.jpg");
        } catch (const std::runtime_error& e) {
            message = QString::fromUtf8(e.what());
        }
        QCOMPARE(message, failure.contains("%1") ? failure.arg(QDir::currentPath()) : failure);
        QCOMPARE(box.maximumHeight(), 12);
        if (failure.isEmpty())
            QVERIFY(box.picture().isEmpty());  // the empty picture replaced it
        else
            QCOMPARE(box.picture().size(), QSize(21, 12));  // the placeholder stayed
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

QTEST_MAIN(PictureBoxTest)
#include "PictureBoxTest.moc"
