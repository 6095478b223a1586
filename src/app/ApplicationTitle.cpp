#include "app/ApplicationTitle.h"

namespace dorvak {

QString ApplicationTitle(const QString& exePath) {
    QString name = exePath.mid(exePath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    if (name.size() > 1) name = name.left(1) + name.mid(1).toLower();
    return name;
}

}  // namespace dorvak
