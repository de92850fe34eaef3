#pragma once

#include "core/Currency.h"
#include "framework/db/Database.h"

#include <QString>

#include <memory>
#include <optional>

namespace kvo::test {

// A fresh, migrated database for one test: a copy of a template that is
// created and migrated once per test program, so each test starts clean in
// milliseconds. The file is removed with the object.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    Database& db() { return *m_db; }
    Database* operator->() { return m_db.get(); }
    const QString& path() const { return m_path; }
    // A second connection to the same file (another terminal in this process).
    std::unique_ptr<Database> connectAgain() const;

private:
    QString m_path;
    std::unique_ptr<Database> m_db;
};

// The first column of a select read as money, through a record set's field
// (the driver hands scaled numerics over as text of a double).
Currency scalarMoney(Database& db, const QString& sql);

// Folder for scratch files of this test program (removed at exit).
QString scratchFolder();
// A copy of the migrated template under a new name, not opened.
QString copyOfTemplate();
// "127.0.0.1/30555" when the test script started a Firebird server
// (KVO_TEST_SERVER), else nullopt.
std::optional<QString> testServer();
// Settings to reach `path` through the test server.
ConnectionSettings serverSettings(const QString& path);

} // namespace kvo::test
