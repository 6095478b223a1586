#include "ui/ErrorBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace dorvak {

namespace {

ErrorBox::Answerer& answerer() {
    static ErrorBox::Answerer instance;
    return instance;
}

}  // namespace

QString ErrorBox::withFullStop(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.') return message;
    return message + QLatin1Char('.');
}

void ErrorBox::show(const QString& message) {
    const QString caption = QGuiApplication::applicationDisplayName();
    const QString text = withFullStop(message);
    if (answerer()) {
        answerer()(caption, text);
        return;
    }
    // The box may come up from deep inside a handler; remember who had the
    // focus so the user can go on typing where they were.
    QPointer<QWidget> active = QApplication::activeWindow();
    QPointer<QWidget> focused = QApplication::focusWidget();

    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::NoButton);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();

    if (active) active->activateWindow();
    if (focused) focused->setFocus(Qt::OtherFocusReason);
}

void ErrorBox::setAnswererForTesting(Answerer a) { answerer() = std::move(a); }

}  // namespace dorvak
