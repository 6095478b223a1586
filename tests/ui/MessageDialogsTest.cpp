// Drives the real dialogs under the offscreen platform: a timer finds the
// modal box once it is up, records what it shows and answers with a key.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/ConfirmationDialog.h"
#include "ui/ErrorBox.h"
#include "ui/InformationDialog.h"

namespace {

struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QString escapeButton;
    bool modal = false;
    bool stuck = false;  // the answer did not close the box
};

// Runs `answer` on the box as soon as it is the active modal widget.
void whenBoxIsUp(Seen* seen, std::function<void(QMessageBox*)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen->buttons << b->text();
        seen->buttons.sort();
        if (box->defaultButton()) seen->defaultButton = box->defaultButton()->text();
        if (box->escapeButton()) seen->escapeButton = box->escapeButton()->text();
        seen->modal = box->isModal();
        answer(box);
        // A key that fails to close the box must fail the test, not hang it.
        QTimer::singleShot(2000, box, [box, seen] {
            if (!box->isVisible()) return;
            seen->stuck = true;
            box->done(-1);
        });
    });
    poll->start(10);
}

// Keys go where the user's keys would: to the box's focused control.
void press(QMessageBox* box, Qt::Key key) {
    QWidget* target = box->focusWidget() ? box->focusWidget() : box;
    QTest::keyClick(target, key);
}

}  // namespace

class MessageDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Dorvak")); }

    void informationHasTheTitleNoIconAndOneOkThatEveryKeyCloses_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void informationHasTheTitleNoIconAndOneOkThatEveryKeyCloses() {
        QFETCH(int, key);
        Seen seen;
        whenBoxIsUp(&seen, [key](QMessageBox* box) { press(box, Qt::Key(key)); });
        dorvak::InformationDialog::show(QStringLiteral("Upišite barem 3 znaka u pretragu"));
        QCOMPARE(seen.title, QStringLiteral("Dorvak"));
        QCOMPARE(seen.text, QStringLiteral("Upišite barem 3 znaka u pretragu"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QStringList{"OK"});
        QCOMPARE(seen.defaultButton, QStringLiteral("OK"));
        QCOMPARE(seen.escapeButton, QStringLiteral("OK"));
        QVERIFY(seen.modal);
        QVERIFY(!seen.stuck);
    }

    void confirmationAnswersOkOnlyForEnterOrOk_data() {
        QTest::addColumn<int>("how");  // a key, or 0 for the close box
        QTest::addColumn<bool>("answer");
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("close box") << 0 << false;
    }
    void confirmationAnswersOkOnlyForEnterOrOk() {
        QFETCH(int, how);
        QFETCH(bool, answer);
        Seen seen;
        whenBoxIsUp(&seen, [how](QMessageBox* box) {
            if (how)
                press(box, Qt::Key(how));
            else
                box->close();
        });
        QCOMPARE(dorvak::ConfirmationDialog::ask(QStringLiteral("Delete record?")), answer);
        QCOMPARE(seen.title, QStringLiteral("Confirm"));
        QCOMPARE(seen.text, QStringLiteral("Delete record?"));
        QCOMPARE(seen.icon, QMessageBox::Question);
        QCOMPARE(seen.buttons, (QStringList{"Cancel", "OK"}));
        QCOMPARE(seen.defaultButton, QStringLiteral("OK"));
        QCOMPARE(seen.escapeButton, QStringLiteral("Cancel"));
        QVERIFY(seen.modal);
        QVERIFY(!seen.stuck);
    }

    void errorBoxHasTheTitleTheStopIconOneOkAndTheFullStop() {
        Seen seen;
        whenBoxIsUp(&seen, [](QMessageBox* box) { press(box, Qt::Key_Return); });
        dorvak::ErrorBox::show(QStringLiteral("JPEG error #53"));
        QCOMPARE(seen.title, QStringLiteral("Dorvak"));
        QCOMPARE(seen.text, QStringLiteral("JPEG error #53."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList{"OK"});
        QCOMPARE(seen.defaultButton, QStringLiteral("OK"));
        QVERIFY(seen.modal);
        QVERIFY(!seen.stuck);
    }

    void errorBoxGivesTheFocusBackToTheControlThatHadIt() {
        QWidget window;
        auto* first = new QLineEdit(&window);
        auto* second = new QLineEdit(&window);
        second->move(0, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        second->setFocus();
        QTRY_VERIFY(second->hasFocus());
        Seen seen;
        whenBoxIsUp(&seen, [](QMessageBox* box) { press(box, Qt::Key_Space); });
        dorvak::ErrorBox::show(QStringLiteral("Greška"));
        QVERIFY(!seen.stuck);
        QTRY_VERIFY(second->hasFocus());
        QVERIFY(!first->hasFocus());
    }

    void messagesAreShownAsTextNeverAsMarkup() {
        Seen seen;
        whenBoxIsUp(&seen, [](QMessageBox* box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            press(box, Qt::Key_Escape);
        });
        dorvak::ErrorBox::show(QStringLiteral("<b>AB&12</b>"));
        QCOMPARE(seen.text, QStringLiteral("<b>AB&12</b>."));
    }

    void seamsReplaceTheDialogsAndReceiveTheirCaptions() {
        QStringList calls;
        dorvak::InformationDialog::setAnswererForTesting(
            [&](const QString& c, const QString& t) { calls << c + '|' + t; });
        dorvak::ConfirmationDialog::setAnswererForTesting([&](const QString& c, const QString& t) {
            calls << c + '|' + t;
            return true;
        });
        dorvak::ErrorBox::setAnswererForTesting(
            [&](const QString& c, const QString& t) { calls << c + '|' + t; });
        dorvak::InformationDialog::show("kratko");
        QVERIFY(dorvak::ConfirmationDialog::ask("Delete record?"));
        dorvak::ErrorBox::show("Greška");
        dorvak::InformationDialog::setAnswererForTesting({});
        dorvak::ConfirmationDialog::setAnswererForTesting({});
        dorvak::ErrorBox::setAnswererForTesting({});
        QCOMPARE(calls, (QStringList{"Dorvak|kratko", "Confirm|Delete record?", "Dorvak|Greška."}));
    }
};

QTEST_MAIN(MessageDialogsTest)
#include "MessageDialogsTest.moc"
