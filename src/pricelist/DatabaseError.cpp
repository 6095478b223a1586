#include "pricelist/DatabaseError.h"

namespace dorvak {

DatabaseError::DatabaseError(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

DatabaseError DatabaseError::forComponent(const QString& componentName, const QString& message) {
    return DatabaseError(componentName + QStringLiteral(": ") + message);
}

DatabaseError DatabaseError::fromEngine(const jet::Error& engineError) {
    QString text = QString::fromUtf8(engineError.what());
    qsizetype end = text.size();
    while (end > 0) {
        const QChar c = text.at(end - 1);
        if (c.unicode() > u' ' && c != u'.') break;
        --end;
    }
    text.truncate(end);
    DatabaseError error(text);
    error.engineCategory_ = engineError.category();
    return error;
}

QString DatabaseError::message() const { return QString::fromUtf8(what()); }

}  // namespace dorvak
