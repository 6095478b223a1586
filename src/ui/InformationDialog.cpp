#include "ui/InformationDialog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace dorvak {

namespace {

InformationDialog::Answerer& answerer() {
    static InformationDialog::Answerer instance;
    return instance;
}

}  // namespace

void InformationDialog::show(const QString& text) {
    const QString caption = QGuiApplication::applicationDisplayName();
    if (answerer()) {
        answerer()(caption, text);
        return;
    }
    // No parent: the dialog centres on the screen and, run by exec(), blocks
    // every window of the program.
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton);
    // Notices may quote what the user typed; never let it be read as markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

void InformationDialog::setAnswererForTesting(Answerer a) { answerer() = std::move(a); }

}  // namespace dorvak
