#include "framework/services/DAcesso.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "framework/db/SafeMigration.h"
#include "framework/db/SqlText.h"
#include "framework/services/DSeguranca.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"

#include <QFileInfo>
#include <QSqlRecord>

namespace kvo {

TdmAcesso& TdmAcesso::gerarInstance() { return Module::current().instance<TdmAcesso>(); }

void TdmAcesso::conectarBaseDeDados(const QString& iniPath) {
    const ConnectionSettings settings = ConnectionSettings::readFile(iniPath);
    const SchemaUpdateReport report = SafeMigration(settings).run();
    for (const QString& aviso : report.avisos)
        Alerta(aviso);
    auto db = std::make_unique<Database>(settings);
    db->open();
    m_parVenda.reset();
    m_parRestaurante.reset();
    m_owned = std::move(db);
    m_db = m_owned.get();
    m_empresaLida = false;
}

void TdmAcesso::usarConexao(Database& db) {
    m_parVenda.reset();
    m_parRestaurante.reset();
    m_owned.reset();
    m_db = &db;
    m_empresaLida = false;
}

Database& TdmAcesso::sqlCon() const {
    if (!m_db)
        throw DatabaseError(QStringLiteral("Sem conexão com o banco de dados."));
    return *m_db;
}

int TdmAcesso::executeSQL(const QString& sql) { return sqlCon().executeSQL(sql); }

int TdmAcesso::executeSQL_2(const QString& sql) { return sqlCon().executeSQL(sql); }

qint64 TdmAcesso::getGeneretor(const QString& name) { return sqlCon().getGeneretor(name); }

std::unique_ptr<RecordSet> TdmAcesso::consulta(const QString& sql, const SqlParams& params) {
    return sqlCon().query(sql, params);
}

QVariantMap TdmAcesso::executarProcedimento(const QString& name, const QVariantList& inputs) {
    QStringList marks;
    SqlParams params;
    for (int i = 0; i < inputs.size(); ++i) {
        marks << QStringLiteral(":P%1").arg(i);
        params.insert(QStringLiteral("P%1").arg(i), inputs[i]);
    }
    QString sql = QStringLiteral("execute procedure ") + sqlIdentifier(name);
    if (!marks.isEmpty())
        sql += u' ' + marks.join(QStringLiteral(", "));
    QSqlQuery q = sqlCon().exec(sql, params);
    QVariantMap out;
    const QSqlRecord record = sqlCon().columnsOf(q);
    if (record.count() > 0 && (q.isValid() || q.next()))
        for (int i = 0; i < record.count(); ++i)
            out.insert(record.fieldName(i).toUpper(), q.value(i));
    return out;
}

bool TdmAcesso::getTrabalhaAbertura() { return empresa().trabalhaAbertura; }

int TdmAcesso::getValidaMesaRestarante(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() == 14) {
        const QVariant mesa = sqlCon().scalar(QStringLiteral("select first 1 CODCONTROLE from RES_CONTROLE where CON_EAN = :EAN"),
                                              {{QStringLiteral("EAN"), t}});
        return mesa.isNull() ? 0 : mesa.toInt();
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok ? n : 0;
}

void TdmAcesso::gerarLog(const QString& operacao, const QString& tabela, const QString& campoChave,
                         const QString& valorChave, const QString& detalhes, const QString& texto,
                         const QString& resposta, const QString& usuario) {
    Database& db = sqlCon();
    db.executeSQL(QStringLiteral("insert into LOG_SISTEMA (CODLOG, LOG_DATA, LOG_OPERACAO, LOG_TABELA, LOG_CAMPO_CHAVE, "
                                 "LOG_VALOR_CHAVE, LOG_DETALHES, LOG_TEXTO, LOG_RESPOSTA, LOG_USUARIO) values "
                                 "(:ID, :DATA, :OP, :TAB, :CAMPO, :VALOR, :DET, :TXT, :RESP, :USU)"),
                  {{QStringLiteral("ID"), db.getGeneretor(QStringLiteral("GEN_LOG_SISTEMA"))},
                   {QStringLiteral("DATA"), Clock::now()},
                   {QStringLiteral("OP"), PadR(operacao, 30).trimmed()},
                   {QStringLiteral("TAB"), tabela.left(60)},
                   {QStringLiteral("CAMPO"), campoChave.left(60)},
                   {QStringLiteral("VALOR"), valorChave.left(60)},
                   {QStringLiteral("DET"), detalhes.left(1000)},
                   {QStringLiteral("TXT"), texto},
                   {QStringLiteral("RESP"), resposta},
                   {QStringLiteral("USU"), usuario.left(60)}});
}

void TdmAcesso::setEmpresaAtual(int codigo) {
    m_empresaAtual = codigo;
    m_empresaLida = false;
}

const Empresa& TdmAcesso::empresa() {
    if (m_empresaLida)
        return m_empresa;
    auto rs = sqlCon().query(QStringLiteral("select * from PAR_GERAL where CODEMPRESA = :E"),
                             {{QStringLiteral("E"), m_empresaAtual}});
    Empresa e;
    if (!rs->isEmpty()) {
        auto s = [&](const char* name) { return rs->field(QString::fromLatin1(name)).asString().trimmed(); };
        auto flag = [&](const char* name) { return s(name) == QLatin1String("S"); };
        e.codigo = m_empresaAtual;
        e.razaoSocial = s("PARG_EMPRESA");
        e.fantasia = s("PARG_FANTASIA");
        e.cnpj = s("PARG_CPFCGC");
        e.ie = s("PARG_IE");
        e.im = s("PARG_IM");
        e.telefone = s("PARG_TELEFONE");
        e.endereco = s("PARG_ENDERECO");
        e.numero = s("PARG_NUMERO");
        e.complemento = s("PARG_COMPLEMENTO");
        e.bairro = s("PARG_BAIRRO");
        e.cidade = s("PARG_CIDADE");
        e.uf = s("PARG_UF");
        e.cep = s("PARG_CEP");
        e.codMunicipio = int(rs->field(QStringLiteral("PARG_COD_MUNICIPIO")).asInteger());
        e.regimeTributario = s("PARG_REGIME_TRIBUTARIO");
        e.emiteNFe = flag("PARG_EMITE_NFE");
        e.controlaEstoque = flag("PARG_CONTROLA_ESTOQUE");
        e.mostraInscricao = flag("PARG_MOSTRA_INSCRICAO");
        e.trabalhaAbertura = s("PARG_TRABALHA_ABERTURA") != QLatin1String("N");
        e.valorCouvert = rs->field(QStringLiteral("PARG_VALOR_COUVERT")).asCurrency();
        if (!s("PARG_NOME_MESA").isEmpty())
            e.nomeMesa = s("PARG_NOME_MESA");
        e.md5 = s("PARG_MD5");
    }
    m_empresa = e;
    m_empresaLida = true;
    return m_empresa;
}

QString TdmAcesso::senhaExclusao() {
    return sqlCon()
        .scalar(QStringLiteral("select PARG_SENHA_EXCLUSAO from PAR_GERAL where CODEMPRESA = :E"),
                {{QStringLiteral("E"), m_empresaAtual}})
        .toString();
}

RecordSet& TdmAcesso::parametros(std::unique_ptr<RecordSet>& rs, const QString& tabela, const QString& chave) {
    if (!rs) {
        auto novo = std::make_unique<RecordSet>(sqlCon());
        novo->setCommandText(QStringLiteral("select * from %1 order by %2").arg(sqlIdentifier(tabela), sqlIdentifier(chave)));
        novo->setUpdateTable(tabela);
        novo->setKeyFields({chave});
        novo->open();
        rs = std::move(novo);
    }
    return *rs;
}

TdmSeguranca& TdmAcesso::seguranca() { return TdmSeguranca::gerarInstance(); }

} // namespace kvo
