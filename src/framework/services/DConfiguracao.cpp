#include "framework/services/DConfiguracao.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/Paths.h"
#include "framework/db/RecordSet.h"
#include "framework/services/ChavesConfiguracao.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

#include <QDir>
#include <QFile>

namespace kvo {

TdmConfiguracao& TdmConfiguracao::gerarInstance() {
    return Module::current().instance<TdmConfiguracao>();
}

TdmConfiguracao::TdmConfiguracao(Database& db) : m_db(db) {}

TdmConfiguracao::TdmConfiguracao() : m_db(TdmAcesso::gerarInstance().sqlCon()) {}

void TdmConfiguracao::verificaConfiguracao(const QString& grupo, const QString& chave, const QString& tipo,
                                           const QString& valorPadrao, const QString& descricao) {
    const QString key = chave.trimmed().toUpper();
    // "update or insert" would overwrite the stored value; only a missing key is added.
    try {
        m_db.executeSQL(
            QStringLiteral(
                "merge into CONFIGURACAO c using (select cast(:K as varchar(60)) CHAVE from rdb$database) n "
                "on c.CFG_CHAVE = n.CHAVE "
                "when not matched then insert (CFG_CHAVE, CFG_GRUPO, CFG_TIPO, CFG_VALOR, CFG_DESCRICAO) "
                "values (n.CHAVE, :G, :T, :V, :D)"),
            {{QStringLiteral("K"), key},
             {QStringLiteral("G"), grupo.left(60)},
             {QStringLiteral("T"), tipo.trimmed().toUpper().left(3)},
             {QStringLiteral("V"), valorPadrao},
             {QStringLiteral("D"), descricao.left(300)}});
    } catch (const DatabaseError& e) {
        // Another terminal starting at the same moment added the key first:
        // it exists now, which is all this asks for.
        if (e.kind() != DatabaseError::Kind::UniqueKey && e.kind() != DatabaseError::Kind::LockConflict)
            throw;
    }
    m_cache.remove(key);
}

void TdmConfiguracao::registrarChaves() {
    Transaction tx(m_db);
    for (const ChaveConfiguracao& c : chavesRegistradas())
        verificaConfiguracao(QString::fromUtf8(c.grupo), QString::fromUtf8(c.chave),
                             QString::fromUtf8(c.tipo), QString::fromUtf8(c.padrao),
                             QString::fromUtf8(c.descricao));
    tx.commit();
}

QString TdmConfiguracao::getStr(const QString& chave) {
    const QString key = chave.trimmed().toUpper();
    const QDateTime agora = Clock::now();
    const auto it = m_cache.constFind(key);
    // A clock set back counts as expired too.
    if (it != m_cache.cend() && it->quando <= agora && it->quando.secsTo(agora) < validadeCacheSegundos)
        return it->valor;
    const QString value = valorDoTerminal(key).value_or(
        m_db.scalar(QStringLiteral("select CFG_VALOR from CONFIGURACAO where CFG_CHAVE = :K"),
                    {{QStringLiteral("K"), key}})
            .toString());
    m_cache.insert(key, {value, agora});
    return value;
}

// Read again whenever a key's cached value expires, so an edit of the file
// is seen as a change on another terminal is.
std::optional<QString> TdmConfiguracao::valorDoTerminal(const QString& chave) const {
    QFile arquivo(QDir(programFolder()).filePath(QStringLiteral("terminal.ini")));
    if (!arquivo.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    bool naSecao = false;
    while (!arquivo.atEnd()) {
        const QString linha = QString::fromUtf8(arquivo.readLine()).trimmed();
        if (linha.isEmpty() || linha.startsWith(u';') || linha.startsWith(u'#'))
            continue;
        if (linha.startsWith(u'[')) {
            naSecao = linha.compare(QStringLiteral("[Configuracao]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype igual = linha.indexOf(u'=');
        if (naSecao && igual > 0 && linha.left(igual).trimmed().toUpper() == chave)
            return linha.mid(igual + 1).trimmed();
    }
    return std::nullopt;
}

int TdmConfiguracao::getInt(const QString& chave, int padrao) {
    bool ok = false;
    const int n = getStr(chave).trimmed().toInt(&ok);
    return ok ? n : padrao;
}

Currency TdmConfiguracao::getCurr(const QString& chave) {
    const QString text = getStr(chave).trimmed();
    if (auto plain = Currency::parse(text))
        return *plain;
    return RemChrStrToCurr(text);
}

void TdmConfiguracao::setValor(const QString& chave, const QString& valor) {
    const QString key = chave.trimmed().toUpper();
    const int rows =
        m_db.executeSQL(QStringLiteral("update CONFIGURACAO set CFG_VALOR = :V where CFG_CHAVE = :K"),
                        {{QStringLiteral("V"), valor}, {QStringLiteral("K"), key}});
    if (rows == 0)
        throw DatabaseError(QStringLiteral("Parâmetro de configuração não cadastrado: %1").arg(key));
    m_cache.remove(key);
}

QVector<ParametroConfiguracao> TdmConfiguracao::listar(const QString& grupo) {
    QString sql =
        QStringLiteral("select CFG_GRUPO, CFG_CHAVE, CFG_TIPO, CFG_VALOR, CFG_DESCRICAO from CONFIGURACAO");
    SqlParams params;
    if (!grupo.isEmpty()) {
        sql += QStringLiteral(" where CFG_GRUPO = :G");
        params.insert(QStringLiteral("G"), grupo);
    }
    sql += QStringLiteral(" order by CFG_GRUPO, CFG_CHAVE");
    auto rs = m_db.query(sql, params);
    QVector<ParametroConfiguracao> out;
    for (rs->first(); !rs->eof(); rs->next())
        out.push_back({rs->field(0).asString(), rs->field(1).asString(), rs->field(2).asString(),
                       rs->field(3).asString(), rs->field(4).asString()});
    return out;
}

} // namespace kvo
