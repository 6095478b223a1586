// Joins a query to the code that follows its current row: dataChange() fires
// once after each successful open and after each navigation request or
// deletion the query carries out; never on close, while closed or on a
// failed open. Views connect to the query's own signals, which come first.
#pragma once

#include <QObject>
#include <QPointer>

namespace dorvak {

class Query;

class DataSource : public QObject {
    Q_OBJECT

public:
    explicit DataSource(QObject* parent = nullptr);

    Query* dataSet() const { return dataSet_; }
    // Follows `query` (nullptr: none) from now on; does not notify.
    void setDataSet(Query* query);

signals:
    void dataChange();

private:
    QPointer<Query> dataSet_;
    QMetaObject::Connection connection_;
};

}  // namespace dorvak
