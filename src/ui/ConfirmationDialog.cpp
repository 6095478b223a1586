#include "ui/ConfirmationDialog.h"

#include <QMessageBox>
#include <QPushButton>

namespace dorvak {

namespace {

ConfirmationDialog::Answerer& answerer() {
    static ConfirmationDialog::Answerer instance;
    return instance;
}

}  // namespace

bool ConfirmationDialog::ask(const QString& question) {
    const QString caption = QStringLiteral("Confirm");
    if (answerer()) return answerer()(caption, question);

    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::NoButton);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    // Escape and the close box both end in the escape button, so anything but
    // a deliberate OK leaves the data alone.
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

void ConfirmationDialog::setAnswererForTesting(Answerer a) { answerer() = std::move(a); }

}  // namespace dorvak
