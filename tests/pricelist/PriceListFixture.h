// A price list in a scratch working directory: the window's query and data
// source over a temporary copy of a test database named "Dorvak.mdb", with
// every view signal and notification written to one log in order.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "jet/Database.h"
#include "pricelist/DataSource.h"
#include "pricelist/DorvakQuery.h"
#include "pricelist/Field.h"
#include "pricelist/Query.h"
#include "ui/InformationDialog.h"

namespace dorvak {

class PriceListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previousDir_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
        InformationDialog::setAnswererForTesting(
            [this](const QString&, const QString& text) { notices << text; });
        query = CreateDorvakQuery(&owner_);
        query->setConnector([this](const std::string& connectionString) {
            ++connectionAttempts;
            return jet::Database::openConnectionString(connectionString);
        });
        dataSource.setDataSet(query);
        QObject::connect(query, &Query::resultAboutToReset, [this] { log << "aboutToReset"; });
        QObject::connect(query, &Query::resultReset, [this] { log << "reset"; });
        QObject::connect(query, &Query::rowAboutToBeRemoved,
                         [this](int row) { log << QStringLiteral("aboutToRemove %1").arg(row); });
        QObject::connect(query, &Query::rowRemoved,
                         [this](int row) { log << QStringLiteral("removed %1").arg(row); });
        QObject::connect(query, &Query::currentChanged,
                         [this](int row) { log << QStringLiteral("current %1").arg(row); });
        QObject::connect(&dataSource, &DataSource::dataChange, [this] {
            log << "dataChange";
            ++notifications;
        });
    }

    void TearDown() override {
        InformationDialog::setAnswererForTesting({});
        QDir::setCurrent(previousDir_);
    }

    // Puts a copy of tests/data/<name> into the working directory as Dorvak.mdb.
    static void installDatabase(const QString& name) {
        QFile::remove(QStringLiteral("Dorvak.mdb"));
        const QString source = QStringLiteral(DORVAK_TEST_DATA "/") + name;
        ASSERT_TRUE(QFile::copy(source, QStringLiteral("Dorvak.mdb"))) << source.toStdString();
        QFile::setPermissions(QStringLiteral("Dorvak.mdb"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    Field* field(const char* name) const { return query->findChild<Field*>(name); }
    QString code() const { return field("qDorvakSIFRA")->asString(); }
    double price() const { return field("qDorvakCIJENA")->asFloat(); }
    QStringList codes() const {
        QStringList all;
        for (int row = 0; row < query->rowCount(); ++row)
            all << field("qDorvakSIFRA")->asStringAt(row);
        return all;
    }
    void clearLog() {
        log.clear();
        notifications = 0;
    }

    QTemporaryDir dir_;
    QString previousDir_;
    QObject owner_;
    Query* query = nullptr;
    DataSource dataSource;
    QStringList log;
    QStringList notices;
    int notifications = 0;
    int connectionAttempts = 0;
};

}  // namespace dorvak
