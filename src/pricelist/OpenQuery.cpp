#include "pricelist/OpenQuery.h"

#include "pricelist/Query.h"
#include "ui/InformationDialog.h"

namespace dorvak {

void OpenQuery(Query& query, const QStringList& names, const QVariantList& values) {
    query.close();
    if (names.size() != values.size()) {
        InformationDialog::show(QStringLiteral("Greška!, krivi ulazni parametri"));
        return;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i).isEmpty()) continue;
        query.parameterByName(names.at(i)).setValue(values.at(i));
    }
    query.open();
}

}  // namespace dorvak
