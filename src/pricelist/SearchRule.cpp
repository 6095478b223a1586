#include "pricelist/SearchRule.h"

#include "pricelist/OpenQuery.h"
#include "ui/InformationDialog.h"

namespace dorvak {

void ApplySearchRule(Query& query, const QString& searchText) {
    // Counted in characters as the user sees them, so a character outside
    // the basic plane is one character, not two.
    if (searchText.toUcs4().size() < 3) {
        InformationDialog::show(QStringLiteral("Upišite barem 3 znaka u pretragu"));
        return;
    }
    OpenQuery(query, {QStringLiteral("sifra")}, {searchText + QLatin1Char('%')});
}

}  // namespace dorvak
