#include "ui/DataLabel.h"

namespace dorvak {

DataLabel::DataLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
}

void DataLabel::setValueSource(std::function<QString()> read) {
    read_ = std::move(read);
    refresh();
}

void DataLabel::refresh() { setText(read_ ? read_() : QString()); }

}  // namespace dorvak
