#include "pricing/RegionalSeparators.h"

#include "pricing/NumberSeparators.h"

#include <QEvent>
#include <QLocale>

namespace dorvak {

RegionalSeparators::RegionalSeparators(QObject* application) : QObject(application) {
    apply(QLocale::system());
    if (application) application->installEventFilter(this);
}

void RegionalSeparators::apply(const QLocale& locale) {
    SetNumberSeparators(locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString());
}

bool RegionalSeparators::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LocaleChange) apply(QLocale::system());
    return QObject::eventFilter(watched, event);
}

}  // namespace dorvak
