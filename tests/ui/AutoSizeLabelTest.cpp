#include <QTest>

#include "ui/AutoSizeLabel.h"

class AutoSizeLabelTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        strip_ = new QWidget;
        strip_->resize(797, 53);
        QPalette palette = strip_->palette();
        palette.setColor(QPalette::Window, QColor(0xDD, 0xDD, 0xDD));
        strip_->setPalette(palette);
        label_ = new dorvak::AutoSizeLabel(strip_);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        font.setBold(true);
        label_->setFont(font);
        label_->move(749, 12);
        label_->setAnchor(Qt::AlignRight, 770);
    }
    void cleanup() { delete strip_; }

    void rightEdgeStaysPutWhateverTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("measured");
        QTest::newRow("price") << "0,00"
                               << "0,00";
        QTest::newRow("long price") << "1.234.567,89"
                                    << "1.234.567,89";
        QTest::newRow("empty measures as a blank") << ""
                                                   << " ";
        QTest::newRow("single & hidden") << "A&B-1"
                                         << "AB-1";
        QTest::newRow("&& is one &") << "A&&B"
                                     << "A&B";
        QTest::newRow("address") << "https://www.example.com/a&&b"
                                 << "https://www.example.com/a&b";
    }
    void rightEdgeStaysPutWhateverTheText() {
        QFETCH(QString, text);
        QFETCH(QString, measured);
        label_->setText(QStringLiteral("a much longer text first"));
        label_->setText(text);
        const int width = label_->fontMetrics().horizontalAdvance(measured);
        QCOMPARE(label_->width(), width);
        QCOMPARE(label_->x() + label_->width(), 770);
        QCOMPARE(label_->y(), 12);
        QCOMPARE(label_->height(), label_->fontMetrics().height());
    }

    void leftAnchoredLabelKeepsItsLeftEdge() {
        label_->setAnchor(Qt::AlignLeft, 23);
        label_->setText(QStringLiteral("pretraga artikala"));
        QCOMPARE(label_->x(), 23);
        label_->setText(QStringLiteral("x"));
        QCOMPARE(label_->x(), 23);
    }

    void textSetThroughThePropertyIsRefittedBeforeDrawing() {
        label_->setProperty("text", QStringLiteral("1.234,56"));
        label_->grab();
        QCOMPARE(label_->width(), label_->fontMetrics().horizontalAdvance("1.234,56"));
        QCOMPARE(label_->x() + label_->width(), 770);
    }

    void ampersandUnderlinesTheNextLetterOnTheStripColour() {
        label_->setText(QStringLiteral("AB"));
        const QImage plain = label_->grab().toImage();
        label_->setText(QStringLiteral("A&B"));
        const QImage marked = label_->grab().toImage();
        QCOMPARE(marked.size(), plain.size());
        QVERIFY(marked != plain);  // the underline under B
        // Opaque in the strip's colour where no text is drawn.
        QCOMPARE(QColor(marked.pixel(0, 0)), QColor(0xDD, 0xDD, 0xDD));
        label_->setText(QStringLiteral("A&&B"));
        QCOMPARE(label_->width(), label_->fontMetrics().horizontalAdvance("A&B"));
    }

private:
    QWidget* strip_ = nullptr;
    dorvak::AutoSizeLabel* label_ = nullptr;
};

QTEST_MAIN(AutoSizeLabelTest)
#include "AutoSizeLabelTest.moc"
