#include "framework/db/Database.h"

#include "core/Currency.h"
#include "framework/db/RecordSet.h"
#include "framework/db/SqlText.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

#include <ibase.h>

namespace kvo {

namespace {

QString errorText(const QSqlError& e) {
    QString text = e.databaseText().trimmed();
    const QString driver = e.driverText().trimmed();
    if (text.isEmpty())
        return driver;
    return text;
}

DatabaseError::Kind errorKind(const QSqlError& e) {
    return DatabaseError::classify(e.nativeErrorCode(), e.databaseText() + u'\n' + e.driverText());
}

// The widest character of the sets a shop may name, for when the database
// cannot be asked.
int bytesPerCharacterOf(const QString& charset) {
    const QString c = charset.trimmed().toUpper().remove(u'-').remove(u'_');
    if (c.isEmpty() || c == u"UTF8" || c == u"GB18030")
        return 4;
    if (c == u"UNICODEFSS")
        return 3;
    if (c == u"SJIS0208" || c == u"EUCJ0208" || c == u"BIG5" || c == u"GB2312" || c == u"KSC5601" || c == u"GBK" ||
        c == u"CP943C")
        return 2;
    return 1;
}

QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("kvo-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Database::Database(ConnectionSettings settings)
    : m_settings(std::move(settings)), m_connectionName(nextConnectionName()) {}

Database::~Database() {
    close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Database::create(const ConnectionSettings& settings) {
    if (settings.isEmbedded() && QFileInfo::exists(settings.path))
        throw DatabaseError(QStringLiteral("O banco de dados já existe: %1").arg(settings.path));
    QString sql = QStringLiteral("CREATE DATABASE %1 USER %2").arg(quotedStr(settings.target()), quotedStr(settings.user));
    if (!settings.password.isEmpty())
        sql += QStringLiteral(" PASSWORD ") + quotedStr(settings.password);
    sql += QStringLiteral(" PAGE_SIZE 16384 DEFAULT CHARACTER SET UTF8");
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    const QByteArray text = sql.toUtf8();
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, text.constData(), SQL_DIALECT_V6, nullptr)) {
        char buffer[512];
        const ISC_STATUS* vector = status;
        QString message;
        while (fb_interpret(buffer, sizeof buffer, &vector))
            message += QString::fromLocal8Bit(buffer) + u' ';
        throw DatabaseError(QStringLiteral("Não foi possível criar o banco de dados %1: %2")
                                .arg(settings.target(), message.trimmed()),
                            sql);
    }
    isc_detach_database(status, &db);
}

void Database::open() {
    if (isOpen())
        return;
    if (!m_db.isValid()) // reopened after close(): the same connection again
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_connectionName);
    if (!m_db.isValid())
        throw DatabaseError(QStringLiteral("O driver QIBASE do Qt não está instalado (pacote libqt6sql6-ibase)."));
    m_db.setDatabaseName(m_settings.path);
    if (!m_settings.isEmbedded()) {
        m_db.setHostName(m_settings.host);
        if (m_settings.port)
            m_db.setPort(m_settings.port);
    }
    m_db.setUserName(m_settings.user);
    m_db.setPassword(m_settings.password);
    m_db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=") + m_settings.charset);
    m_db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (m_settings.isEmbedded() && !QFileInfo::exists(m_settings.path))
        throw DatabaseError(QStringLiteral("Banco de dados não encontrado: %1").arg(m_settings.path));
    if (!m_db.open())
        throw DatabaseError(QStringLiteral("Não foi possível conectar ao banco de dados %1: %2")
                                .arg(m_settings.target(), errorText(m_db.lastError())),
                            {}, errorKind(m_db.lastError()));
    // The set the server actually took (aliases resolved), else the one asked for.
    m_bytesPerCharacter = bytesPerCharacterOf(m_settings.charset);
    QSqlQuery q(m_db);
    if (q.exec(QStringLiteral("select cs.RDB$BYTES_PER_CHARACTER from MON$ATTACHMENTS a join RDB$CHARACTER_SETS cs "
                              "on cs.RDB$CHARACTER_SET_ID = a.MON$CHARACTER_SET_ID "
                              "where a.MON$ATTACHMENT_ID = current_connection")) &&
        q.next() && q.value(0).toInt() > 0)
        m_bytesPerCharacter = q.value(0).toInt();
}

void Database::close() {
    m_columns.clear();
    if (m_db.isOpen()) {
        if (m_transactionDepth > 0)
            m_db.rollback();
        m_transactionDepth = 0;
        m_db.close();
    }
}

bool Database::isOpen() const { return m_db.isValid() && m_db.isOpen(); }

QVariant Database::toDriverValue(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<Currency>())
        return value.value<Currency>().toString();
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    return value;
}

namespace {

// Money parameters go into the statement as exact literals: the driver would
// carry a bound value through a double.
QString inlineCurrencyParams(const QString& sql, SqlParams& params) {
    QString out;
    out.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            qsizetype j = sql.indexOf(c, i + 1);
            j = j < 0 ? sql.size() : j + 1;
            out += QStringView(sql).mid(i, j - i);
            i = j;
            continue;
        }
        if (c == u':' && i + 1 < sql.size() && (sql[i + 1].isLetter() || sql[i + 1] == u'_')) {
            qsizetype j = i + 1;
            while (j < sql.size() && (sql[j].isLetterOrNumber() || sql[j] == u'_'))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1);
            const auto it = params.constFind(name);
            if (it != params.cend() && it->metaType() == QMetaType::fromType<Currency>()) {
                out += QStringLiteral("cast(%1 as numeric(18,4))").arg(it->value<Currency>().toString());
                i = j;
                continue;
            }
        }
        out += c;
        ++i;
    }
    for (auto it = params.begin(); it != params.end();)
        it = it->metaType() == QMetaType::fromType<Currency>() ? params.erase(it) : std::next(it);
    return out;
}

} // namespace

QSqlQuery Database::exec(const QString& sqlText, const SqlParams& givenParams) {
    SqlParams params = givenParams;
    const QString sql = params.isEmpty() ? sqlText : inlineCurrencyParams(sqlText, params);
    if (!isOpen())
        throw DatabaseError(QStringLiteral("Sem conexão com o banco de dados."), sql, DatabaseError::Kind::ConnectionLost);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    bool ok;
    if (params.isEmpty()) {
        // Sent as it stands: PSQL bodies may hold ":name" variables.
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (auto it = params.cbegin(); it != params.cend(); ++it)
                q.bindValue(u':' + it.key(), toDriverValue(it.value()));
            ok = q.exec();
        }
    }
    if (!ok)
        throw DatabaseError(errorText(q.lastError()), sql, errorKind(q.lastError()));
    // Leading comments may precede the verb (migration scripts).
    static const QRegularExpression ddl(
        QStringLiteral("^(\\s|--[^\\n]*\\n|/\\*.*?\\*/)*(create|alter|drop|recreate)\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (!m_columns.isEmpty() && ddl.match(sql).hasMatch())
        m_columns.clear();
    return q;
}

QSqlRecord Database::columnsOf(const QSqlQuery& q) {
    const QString sql = q.lastQuery();
    const auto known = m_columns.constFind(sql);
    if (known != m_columns.cend())
        return *known;
    QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        record.setValue(i, QVariant()); // metadata only, never a row's values
    if (m_columns.size() >= 1000)
        m_columns.clear();
    m_columns.insert(sql, record);
    return record;
}

int Database::executeSQL(const QString& sql, const SqlParams& params) {
    QSqlQuery q = exec(sql, params);
    // Only data changes have a row count (the driver complains about DDL).
    static const QRegularExpression dml(QStringLiteral("^\\s*(insert|update|delete|merge)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return dml.match(sql).hasMatch() ? q.numRowsAffected() : 0;
}

QVariant Database::fromDriver(const QSqlField& field, const QVariant& value) {
    // CHAR columns come padded to their byte length (four bytes a character
    // in UTF8): "S" arrives as "S   ".
    constexpr int kFirebirdChar = 452; // SQL_TEXT
    if ((field.typeID() & ~1) == kFirebirdChar && value.metaType().id() == QMetaType::QString) { // low bit: nullable
        QString text = value.toString();
        while (text.endsWith(u' '))
            text.chop(1);
        return text;
    }
    return value;
}

QVariant Database::scalar(const QString& sql, const SqlParams& params) {
    QSqlQuery q = exec(sql, params);
    return q.next() ? fromDriver(columnsOf(q).field(0), q.value(0)) : QVariant();
}

std::unique_ptr<RecordSet> Database::query(const QString& sql, const SqlParams& params) {
    auto rs = std::make_unique<RecordSet>(*this);
    rs->setCommandText(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        rs->setParam(it.key(), it.value());
    rs->setReadOnly(true);
    rs->open();
    return rs;
}

qint64 Database::getGeneretor(const QString& name, qint64 increment) {
    const QString sql = QStringLiteral("select gen_id(%1, %2) from rdb$database")
                            .arg(sqlIdentifier(name))
                            .arg(increment);
    return scalar(sql).toLongLong();
}

void Database::begin() {
    if (m_transactionDepth == 0) {
        m_rollbackOnly = false;
        m_undo.clear();
    }
    if (m_transactionDepth++ == 0 && !m_db.transaction()) {
        m_transactionDepth = 0;
        throw DatabaseError(QStringLiteral("Não foi possível iniciar a transação: ") + errorText(m_db.lastError()), {},
                            errorKind(m_db.lastError()));
    }
}

void Database::commit() {
    if (m_transactionDepth <= 0)
        return;
    if (m_transactionDepth == 1 && m_rollbackOnly) {
        rollback();
        throw DatabaseError(QStringLiteral("A transação foi desfeita por uma falha anterior dentro dela."));
    }
    if (--m_transactionDepth > 0)
        return;
    if (!m_db.commit()) {
        const QSqlError error = m_db.lastError();
        m_db.rollback();
        runUndo();
        throw DatabaseError(QStringLiteral("Não foi possível confirmar a transação: ") + errorText(error), {},
                            errorKind(error));
    }
    m_undo.clear();
}

void Database::commitAndContinue() {
    if (m_transactionDepth == 0)
        return;
    if (m_rollbackOnly)
        throw DatabaseError(QStringLiteral("A transação foi desfeita por uma falha anterior dentro dela."));
    if (!m_db.commit() || !m_db.transaction())
        throw DatabaseError(QStringLiteral("Não foi possível confirmar a transação: ") + errorText(m_db.lastError()));
    m_undo.clear(); // what was done so far is written
}

void Database::rollback() {
    if (m_transactionDepth <= 0)
        return;
    if (--m_transactionDepth == 0) {
        m_db.rollback();
        m_rollbackOnly = false;
        runUndo();
    } else {
        m_rollbackOnly = true; // an inner scope failed: the outer one must not commit
    }
}

void Database::onRollback(std::function<void()> undo) {
    if (m_transactionDepth > 0)
        m_undo.push_back(std::move(undo));
}

void Database::runUndo() noexcept {
    auto undo = std::move(m_undo);
    m_undo.clear();
    // Latest first, as the work was done.
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
        try {
            (*it)();
        } catch (...) {
            // Undo only restores memory; a failure here must not hide the rollback's cause.
        }
    }
}

Transaction::Transaction(Database& db) : m_db(db) { m_db.begin(); }

Transaction::~Transaction() {
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit() {
    if (m_done)
        return;
    m_done = true;
    m_db.commit();
}

void Transaction::rollback() {
    if (m_done)
        return;
    m_done = true;
    m_db.rollback();
}

} // namespace kvo
