// The price-list query: a parameterised statement run through the engine into
// a client-side static snapshot, with a cursor over it and declared fields.
//
// The query owns its connection: it is made by the first open that succeeds
// and kept until the query is destroyed, so closing and re-running the query
// never reconnects. An open that fails leaves no connection behind.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pricelist/Cursor.h"
#include "pricelist/Parameter.h"

namespace jet {
class Database;
class ResultSet;
}  // namespace jet

namespace dorvak {

class Field;

class Query : public QObject {
    Q_OBJECT

public:
    // Makes the connection from the connection string (UTF-8). Throws on failure.
    using Connector = std::function<std::unique_ptr<jet::Database>(const std::string&)>;

    explicit Query(QObject* parent = nullptr);
    ~Query() override;

    // Statement lines; ":name" marks a parameter, sent to the engine as "?".
    const QStringList& statement() const { return statement_; }
    void setStatement(const QStringList& lines) { statement_ = lines; }
    const QString& connectionString() const { return connectionString_; }
    void setConnectionString(const QString& connectionString) {
        connectionString_ = connectionString;
    }
    // Replaces how the connection is made (tests count the attempts). The
    // default opens the engine's database by connection string.
    void setConnector(Connector connector);
    bool isConnected() const { return database_ != nullptr; }

    // Declared parameters, in declaration order.
    Parameter& addParameter(const Parameter& parameter);
    std::vector<Parameter>& parameters() { return parameters_; }
    // The parameter named `name`, ignoring the case of a-z; throws
    // DatabaseError "<query>: Parameter '<name>' not found".
    Parameter& parameterByName(const QString& name);
    Parameter* findParameter(const QString& name);

    // Declared fields, in declaration order (they are also children).
    const QList<Field*>& fields() const { return fields_; }
    Field* findField(const QString& fieldName) const;

    // Connects if needed, runs the statement with the bound parameters, binds
    // the declared fields and makes the first row current; then the views are
    // told (resultReset) and the data source notifies once. Does nothing when
    // already open. Throws DatabaseError; the query is then closed, no signal
    // is emitted and any connection made by this attempt is dropped.
    void open();
    // Releases the result; the connection stays. Views are told, the data
    // source is not. Does nothing when closed.
    void close();
    bool isActive() const { return cursor_.isOpen(); }

    bool isEmpty() const { return cursor_.rowCount() == 0; }
    int recordCount() const { return static_cast<int>(cursor_.rowCount()); }
    // 1-based current record number; 0 when closed or empty.
    int recNo() const { return static_cast<int>(cursor_.recNo()); }
    // 0-based current row; -1 when closed or empty.
    int currentRow() const {
        return cursor_.hasCurrent() ? static_cast<int>(cursor_.current()) : -1;
    }
    bool bof() const { return cursor_.bof(); }
    bool eof() const { return cursor_.eof(); }

    // Navigation; each request the cursor carries out emits currentChanged and
    // then one notification. On a closed query they do nothing.
    void moveBy(int distance);
    void next() { moveBy(1); }
    void prior() { moveBy(-1); }
    void first();
    void last();
    // Values outside 1..recordCount() and the current number are ignored.
    void setRecNo(int recNo);

    // True while open: the engine accepts deleting rows of this result.
    bool canModify() const { return isActive(); }
    // Deletes the current row from the table at once, then from the result;
    // the following row becomes current, else the previous one. Throws
    // DatabaseError when closed, empty or refused by the engine; a refused
    // delete leaves the table and the result as they were.
    void deleteCurrent();

    // Read access for views.
    int rowCount() const { return isActive() ? recordCount() : 0; }
    // Text of declared field `column` (index into fields()) at `row`.
    QString cellText(int row, int column) const;
    // The open snapshot, or nullptr when closed.
    const jet::ResultSet* result() const { return result_.get(); }

signals:
    // Around every replacement of the result (open, close).
    void resultAboutToReset();
    void resultReset();
    // Around the removal of one row (0-based) by deleteCurrent, once the
    // engine has deleted it; during the first the views still read the old
    // rows. Neither is emitted for a refused delete.
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    // The cursor was placed (0-based row, -1 for none); precedes every
    // dataSetChanged.
    void currentChanged(int row);
    // The data source's cue: emitted exactly when it must notify.
    void dataSetChanged();

private:
    friend class Field;

    std::string engineStatement(std::vector<std::u16string>& values);
    void bindFields();
    void announce();
    // Row of result() that view row `row` reads, -1 for none.
    int resultRow(int row) const;

    QStringList statement_;
    QString connectionString_;
    Connector connector_;
    std::vector<Parameter> parameters_;
    QList<Field*> fields_;
    std::unique_ptr<jet::Database> database_;
    std::unique_ptr<jet::ResultSet> result_;
    Cursor cursor_;
    int removedRow_ = -1;
};

}  // namespace dorvak
