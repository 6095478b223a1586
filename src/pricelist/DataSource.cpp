#include "pricelist/DataSource.h"

#include "pricelist/Query.h"

namespace dorvak {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

void DataSource::setDataSet(Query* query) {
    if (dataSet_ == query) return;
    disconnect(connection_);
    dataSet_ = query;
    if (query) connection_ = connect(query, &Query::dataSetChanged, this, &DataSource::dataChange);
}

}  // namespace dorvak
