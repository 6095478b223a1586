// Keeps the number separators (NumberSeparators.h) in step with the user's
// regional settings: read once when created, again on every locale change
// the application is told about.
#pragma once

#include <QObject>

class QEvent;
class QLocale;

namespace dorvak {

class RegionalSeparators : public QObject {
    Q_OBJECT

public:
    // Reads the system locale's separators at once and watches `application`
    // (normally the QCoreApplication) for QEvent::LocaleChange. The object
    // becomes a child of `application`; destroying it earlier stops the
    // watching, and the separators stay as last read.
    explicit RegionalSeparators(QObject* application);

    // Makes `locale`'s decimal and grouping symbols the current separators,
    // with the usual defaults for a symbol that is not one character.
    static void apply(const QLocale& locale);

    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace dorvak
