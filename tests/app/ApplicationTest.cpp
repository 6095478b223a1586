#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

#include "app/Application.h"
#include "app/SilentAbort.h"
#include "ui/ErrorBox.h"

namespace {

// Throws from an ordinary event handler, the way a failing button click would.
class FailingWidget : public QWidget {
public:
    enum class Kind { Failure, Silent };
    Kind kind = Kind::Failure;
    int presses = 0;
    bool grabbed = false;

protected:
    void mousePressEvent(QMouseEvent*) override {
        ++presses;
        grabMouse();
        grabbed = QWidget::mouseGrabber() == this;
        if (kind == Kind::Silent) throw dorvak::SilentAbort();
        throw std::runtime_error("Datoteka nije pronađena");
    }
};

}  // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        shown_.clear();
        dorvak::ErrorBox::setAnswererForTesting(
            [this](const QString& caption, const QString& text) {
                shown_ << caption + QLatin1Char('|') + text;
            });
    }
    void cleanup() { dorvak::ErrorBox::setAnswererForTesting({}); }

    void takesTheTitleFromTheExecutableAndTheIconInEverySize() {
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Applicationtest"));
        // The title reaches the dialogs without being appended to other captions.
        QCOMPARE(QGuiApplication::applicationName(), QStringLiteral("Applicationtest"));
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        for (int s : {16, 24, 32, 48})
            QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
    }

    void failureFromAQueuedSlotReachesTheErrorBoxAndTheLoopGoesOn() {
        QObject target;
        bool laterRan = false;
        QTimer::singleShot(0, &target, [] {
            throw std::runtime_error("Cannot open file \"/x\". No such file or directory");
        });
        QTimer::singleShot(0, &target, [&] { laterRan = true; });
        QTRY_VERIFY(laterRan);
        QCOMPARE(shown_,
                 QStringList{QStringLiteral(
                     "Applicationtest|Cannot open file \"/x\". No such file or directory.")});
    }

    void failureInAClickedSlotLeavesTheButtonUsable() {
        QPushButton button(QStringLiteral("Traži"));
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw std::runtime_error("Cannot open database");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QVERIFY(!button.isDown());
        QCOMPARE(shown_.size(), 2);
        QCOMPARE(shown_.at(0), QStringLiteral("Applicationtest|Cannot open database."));
    }

    void failureInAnEventHandlerReleasesTheMouseGrab() {
        FailingWidget w;
        w.resize(50, 50);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(&w, Qt::LeftButton);
        QCOMPARE(w.presses, 1);
        QVERIFY(w.grabbed);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(shown_, QStringList{QStringLiteral("Applicationtest|Datoteka nije pronađena.")});
    }

    void silentAbortIsDroppedWithoutAWord() {
        FailingWidget w;
        w.kind = FailingWidget::Kind::Silent;
        w.resize(50, 50);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(&w, Qt::LeftButton);
        QCOMPARE(w.presses, 1);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QVERIFY(shown_.isEmpty());

        dorvak::Application::reportFailure(dorvak::SilentAbort());
        QVERIFY(shown_.isEmpty());
        dorvak::Application::reportFailure(std::runtime_error("JPEG error #53"));
        QCOMPARE(shown_, QStringList{QStringLiteral("Applicationtest|JPEG error #53.")});
    }

private:
    QStringList shown_;
};

int main(int argc, char** argv) {
    dorvak::Application app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
