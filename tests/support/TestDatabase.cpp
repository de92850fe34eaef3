#include "TestDatabase.h"

#include "framework/db/Migrator.h"
#include "framework/db/RecordSet.h"

#include <QAtomicInt>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kvo::test {

namespace {

QTemporaryDir& scratch() {
    // Under /tmp so that a Firebird server started by the test script
    // (running as the same user) can open the copies too.
    static QTemporaryDir dir(QStringLiteral("/tmp/kvo-tests-XXXXXX"));
    return dir;
}

const QString& templatePath() {
    static const QString path = [] {
        const QString file = scratch().filePath(QStringLiteral("template.fdb"));
        ConnectionSettings s;
        s.path = file;
        Database::create(s);
        Database db(s);
        db.open();
        Migrator(db).migrate();
        db.close();
        return file;
    }();
    return path;
}

} // namespace

Currency scalarMoney(Database& db, const QString& sql) {
    auto rs = db.query(sql);
    return rs->field(0).asCurrency();
}

QString scratchFolder() { return scratch().path(); }

QString copyOfTemplate() {
    static QAtomicInt counter;
    const QString copy = scratch().filePath(QStringLiteral("db-%1.fdb").arg(counter.fetchAndAddRelaxed(1)));
    if (!QFile::copy(templatePath(), copy))
        throw std::runtime_error("cannot copy the template database to " + copy.toStdString());
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return copy;
}

TestDatabase::TestDatabase() : m_path(copyOfTemplate()) {
    ConnectionSettings s;
    s.path = m_path;
    m_db = std::make_unique<Database>(s);
    m_db->open();
}

TestDatabase::~TestDatabase() {
    m_db.reset();
    QFile::remove(m_path);
}

std::unique_ptr<Database> TestDatabase::connectAgain() const {
    auto other = std::make_unique<Database>(m_db->settings());
    other->open();
    return other;
}

std::optional<QString> testServer() {
    const QString server = qEnvironmentVariable("KVO_TEST_SERVER");
    return server.isEmpty() ? std::nullopt : std::optional<QString>(server);
}

ConnectionSettings serverSettings(const QString& path) {
    ConnectionSettings s = ConnectionSettings::fromTarget(*testServer() + u':' + path);
    s.password = qEnvironmentVariable("KVO_TEST_SERVER_PASSWORD", QStringLiteral("masterkey"));
    return s;
}

} // namespace kvo::test
