#include "registers/DCadastros.h"

#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

namespace kvo {

namespace {
Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }
} // namespace

TdmCfop& TdmCfop::gerarInstance() { return Module::current().instance<TdmCfop>(); }
TdmCfop::TdmCfop() : TdmCfop(conexao()) {}
TdmCfop::TdmCfop(Database& db) : m_pesquisa(db) {
    m_pesquisa.configurar(QStringLiteral("select CFOP_DESCRICAO, CFOP_GERAFINANCEIRO, CFOP_CLASSIFICACAO, CFOP_TIPO, "
                                         "CFOP_TIPO as NFV_TIPO, CODCFOP from CFOP"),
        QStringLiteral("CODCFOP"), QStringLiteral("Pesquisa de CFOP"), QStringLiteral("CFOP não encontrado!"));
}

TdmSerie& TdmSerie::gerarInstance() { return Module::current().instance<TdmSerie>(); }
TdmSerie::TdmSerie() : TdmSerie(conexao()) {}
TdmSerie::TdmSerie(Database& db) : m_db(db) {}

RecordSet& TdmSerie::abrir(const QString& codserie) {
    m_registro = MontarDataSet(m_db, QStringLiteral("SERIE"), QStringLiteral("CODSERIE"), codserie);
    m_registro->setKeyFields({QStringLiteral("CODSERIE")});
    return *m_registro;
}

QString TdmSerie::serieNFe(const QString& codserie) {
    return abrir(codserie).field(QStringLiteral("SER_SERIE_NFE")).asString().trimmed();
}

bool TdmSerie::ehNFe(const QString& codserie) {
    return abrir(codserie).field(QStringLiteral("SER_TIPO")).asString() == QLatin1String("NF-e");
}

TdmVendedor& TdmVendedor::gerarInstance() { return Module::current().instance<TdmVendedor>(); }
TdmVendedor::TdmVendedor() : TdmVendedor(conexao()) {}
TdmVendedor::TdmVendedor(Database& db) : m_pesquisa(db) {
    m_pesquisa.configurar(QStringLiteral("select VEN_NOME, CODVENDEDOR from VENDEDOR"),
        QStringLiteral("CODVENDEDOR"), QStringLiteral("Pesquisa de Vendedores"), QStringLiteral("Vendedor não encontrado!"));
}

TdmBanco& TdmBanco::gerarInstance() { return Module::current().instance<TdmBanco>(); }
TdmBanco::TdmBanco() : TdmBanco(conexao()) {}
TdmBanco::TdmBanco(Database& db) : m_pesquisa(db) {
    m_pesquisa.configurar(QStringLiteral("select BAN_DESCRICAO, CODBANCO from BANCO"),
        QStringLiteral("CODBANCO"), QStringLiteral("Pesquisa de Contas"), QStringLiteral("Conta não encontrada!"));
}

TdmParametro& TdmParametro::gerarInstance() { return Module::current().instance<TdmParametro>(); }
TdmParametro::TdmParametro() : TdmParametro(conexao()) {}
TdmParametro::TdmParametro(Database& db) : m_db(db) {}

QString TdmParametro::seloFiscalAtual() {
    return m_db.scalar(QStringLiteral("select PARN_SELO_FISCAL from PARAMETRO_NF where CODPARAMETRONF = 1")).toString().trimmed();
}

bool TdmParametro::avancarSeloFiscal(const QString& atual) {
    bool numero = false;
    const qlonglong n = atual.trimmed().toLongLong(&numero);
    const QString proximo = atual.trimmed().isEmpty() ? QStringLiteral("1") : (numero ? QString::number(n + 1) : QString());
    if (proximo.isEmpty())
        throw DatabaseError(QStringLiteral("O selo fiscal atual (%1) não é um número.").arg(atual));
    const QString condicao = atual.trimmed().isEmpty() ? QStringLiteral("coalesce(trim(PARN_SELO_FISCAL), '') = ''")
                                                       : QStringLiteral("trim(PARN_SELO_FISCAL) = :A");
    SqlParams params{{QStringLiteral("P"), proximo}};
    if (!atual.trimmed().isEmpty())
        params.insert(QStringLiteral("A"), atual.trimmed());
    return m_db.executeSQL(QStringLiteral("update PARAMETRO_NF set PARN_SELO_FISCAL = :P where CODPARAMETRONF = 1 and ") +
                               condicao,
                           params) == 1;
}

QString TdmParametro::seriePadrao() {
    return m_db.scalar(QStringLiteral("select PARN_SERIE_PADRAO from PARAMETRO_NF where CODPARAMETRONF = 1")).toString().trimmed();
}

QString TdmParametro::cfopPadrao() {
    return m_db.scalar(QStringLiteral("select PARN_CFOP_PADRAO from PARAMETRO_NF where CODPARAMETRONF = 1")).toString().trimmed();
}

RecordSet& TdmParametro::layoutImpressao() {
    m_layout = MontarDataSet(m_db, QStringLiteral("PAR_NFVENDA_IMPRESSAO"), QStringLiteral("1"), QStringLiteral("1"),
                             QStringLiteral("*"), QStringLiteral("CODPARNI"));
    m_layout->setKeyFields({QStringLiteral("CODPARNI")});
    return *m_layout;
}

} // namespace kvo
