#include "pricelist/Parameter.h"

#include <QByteArray>
#include <utility>

namespace dorvak {

Parameter::Parameter(QString name, DataType dataType, int size, int precision, int numericScale,
                     bool nullable, QVariant value)
    : name_(std::move(name)),
      dataType_(dataType),
      size_(size),
      precision_(precision),
      numericScale_(numericScale),
      nullable_(nullable) {
    setValue(value);
}

void Parameter::setValue(const QVariant& value) {
    if (value.isNull()) {
        value_ = QVariant();
        return;
    }
    QString text;
    if (value.typeId() == QMetaType::QByteArray)
        text = QString::fromLocal8Bit(value.toByteArray());
    else
        text = value.toString();
    if (text.size() > size_) size_ = static_cast<int>(text.size());
    value_ = text;
}

QString Parameter::text() const { return value_.isNull() ? QString() : value_.toString(); }

}  // namespace dorvak
