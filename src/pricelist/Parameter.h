// A named statement parameter of a query, bound by name before each open.
#pragma once

#include <QString>
#include <QVariant>

namespace dorvak {

class Parameter {
public:
    enum class DataType { WideVarChar };

    Parameter(QString name, DataType dataType, int size, int precision, int numericScale,
              bool nullable, QVariant value);

    const QString& name() const { return name_; }
    DataType dataType() const { return dataType_; }
    // Grows to the length of a longer bound text and never shrinks: a long
    // search text is bound whole instead of being cut.
    int size() const { return size_; }
    int precision() const { return precision_; }
    int numericScale() const { return numericScale_; }
    bool isNullable() const { return nullable_; }
    const QVariant& value() const { return value_; }

    // Stores `value` converted to wide text (a QByteArray is taken as text in
    // the system's 8-bit encoding) and raises size() when the text is longer.
    // A null value stays null.
    void setValue(const QVariant& value);
    // The text handed to the engine; null binds as the empty text.
    QString text() const;

private:
    QString name_;
    DataType dataType_;
    int size_;
    int precision_;
    int numericScale_;
    bool nullable_;
    QVariant value_;
};

}  // namespace dorvak
