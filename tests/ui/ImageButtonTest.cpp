#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "ui/ImageButton.h"
#include "ui/ImageList.h"

namespace {

constexpr QRgb Marker = 0xFFFF00FF;

// Records the keys that the button lets through to its strip.
class Strip : public QWidget {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys << e->key(); }
};

bool hasHotPixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == dorvak::ImageButton::HotColour) return true;
    return false;
}

}  // namespace

class ImageButtonTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        strip_ = new Strip;
        strip_->resize(300, 60);
        edit_ = new QLineEdit(strip_);
        edit_->setGeometry(0, 0, 100, 20);
        button_ = new dorvak::ImageButton(strip_);
        button_->setGeometry(150, 11, 102, 29);
        button_->setText(QStringLiteral("Traži"));
        list_ = new dorvak::ImageList(QSize(24, 16), strip_);
        QImage marker(24, 16, QImage::Format_RGB32);
        marker.fill(Marker);
        list_->add(marker);
        button_->setImageList(list_);
        button_->setImageIndex(0);
        strip_->show();
        QVERIFY(QTest::qWaitForWindowExposed(strip_));
    }
    void cleanup() { delete strip_; }

    void centresImageAndCaptionAndShiftsThemWhilePressed() {
        const int caption = button_->fontMetrics().horizontalAdvance(button_->text());
        const int left = 4 + (102 - 8 - (27 + caption)) / 2;
        const int top = (29 - 16) / 2;
        QImage shot = button_->grab().toImage();
        QCOMPARE(shot.pixel(left, top), Marker);
        QCOMPARE(shot.pixel(left + 23, top + 15), Marker);
        QVERIFY(shot.pixel(left + 24, top + 8) != Marker);
        QVERIFY(shot.pixel(left - 1, top + 8) != Marker);
        QCOMPARE(shot.pixel(button_->width() / 2, 2), QColor(Qt::white).rgb());  // white face

        button_->setDown(true);
        shot = button_->grab().toImage();
        QVERIFY(shot.pixel(left, top) != Marker);
        QCOMPARE(shot.pixel(left + 1, top + 1), Marker);
        QCOMPARE(shot.pixel(left + 24, top + 16), Marker);
    }

    void captionTurnsGreenOnlyWhileTheMouseIsOverAnEnabledButton() {
        QVERIFY(!hasHotPixels(button_->grab().toImage()));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(155, 16));
        QApplication::sendEvent(button_, &enter);
        QVERIFY(button_->isHot());
        QVERIFY(hasHotPixels(button_->grab().toImage()));

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button_, &leave);
        QVERIFY(!button_->isHot());
        QVERIFY(!hasHotPixels(button_->grab().toImage()));

        button_->setEnabled(false);
        QApplication::sendEvent(button_, &enter);
        QVERIFY(!button_->isHot());
    }

    void enterAndSpaceClickButEscapeGoesToTheWindow_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Return") << int(Qt::Key_Return) << 1;
        QTest::newRow("Enter (keypad)") << int(Qt::Key_Enter) << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << 1;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0;
    }
    void enterAndSpaceClickButEscapeGoesToTheWindow() {
        QFETCH(int, key);
        QFETCH(int, clicks);
        QSignalSpy clicked(button_, &QAbstractButton::clicked);
        QTest::keyClick(button_, Qt::Key(key));
        QCOMPARE(clicked.count(), clicks);
        QCOMPARE(strip_->keys.contains(Qt::Key_Escape), key == Qt::Key_Escape);
    }

    void focusedButtonHasOutlineAndDottedRectangleAndArrowsMoveToTheStrip() {
        strip_->activateWindow();
        button_->setFocus();
        QTRY_VERIFY(button_->hasFocus());
        const QImage shot = button_->grab().toImage();
        QCOMPARE(shot.pixel(0, 0), QColor(Qt::black).rgb());
        QCOMPARE(shot.pixel(4, 4), QColor(Qt::black).rgb());
        QCOMPARE(shot.pixel(5, 4), QColor(Qt::white).rgb());  // dotted
        QCOMPARE(shot.pixel(6, 4), QColor(Qt::black).rgb());

        QTest::keyClick(button_, Qt::Key_Left);
        QTRY_VERIFY(edit_->hasFocus());
    }

    void buttonImagesAreThreeOpaque24By16Pictures() {
        dorvak::ImageList* images = dorvak::ImageList::createButtonImages(strip_);
        QCOMPARE(images->count(), 3);
        for (int i = 0; i < 3; ++i) {
            const QImage image = images->image(i);
            QCOMPARE(image.size(), QSize(24, 16));
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 24; ++x) QCOMPARE(qAlpha(image.pixel(x, y)), 255);
            QCOMPARE(image.pixel(0, 0), QColor(Qt::white).rgb());  // on a white ground
        }
        QVERIFY(images->image(3).isNull());
    }

private:
    Strip* strip_ = nullptr;
    QLineEdit* edit_ = nullptr;
    dorvak::ImageButton* button_ = nullptr;
    dorvak::ImageList* list_ = nullptr;
};

QTEST_MAIN(ImageButtonTest)
#include "ImageButtonTest.moc"
