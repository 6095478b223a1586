// An open Jet 4 (Access 2000-2003) database file: the engine's public face.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/ResultSet.h"

namespace jet {

class Database {
public:
    // Opens the file named by `Data Source=` in an OLE DB style connection
    // string ("Provider=...;Data Source=Dorvak.mdb;..."); keys are case-blind,
    // the provider is ignored, a relative path is taken from the current
    // directory. Throws Error.
    static std::unique_ptr<Database> openConnectionString(std::string_view connectionString);
    // Opens a file by path. Throws Error.
    static std::unique_ptr<Database> open(const std::string& path);

    virtual ~Database() = default;

    const std::string& path() const;
    // User tables (not system tables), in catalog order.
    virtual std::vector<std::string> tableNames() = 0;
    // Every row of a table in physical order.
    virtual ResultSet readTable(std::string_view table) = 0;
    // Runs "select * from <table> where <column> like ?" with positional
    // parameters (wide text). Rows come in the order of an index whose first
    // key column is the searched column, else in physical order. Throws Error.
    virtual ResultSet execute(std::string_view statement,
                              const std::vector<std::u16string>& parameters) = 0;
    // Deletes row `row` of `result` from the file, after checking that the
    // row still holds the values the snapshot has. On success the row is also
    // removed from `result`. Throws Error and then changes no byte of the file.
    virtual void deleteRow(ResultSet& result, std::size_t row) = 0;
    // Structural check of every table and index; empty when consistent.
    virtual std::vector<std::string> check() = 0;

protected:
    explicit Database(std::string path) : path_(std::move(path)) {}

private:
    std::string path_;
};

}  // namespace jet
