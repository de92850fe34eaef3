#include "registers/DPessoa.h"

#include "framework/services/DAcesso.h"
#include "core/Clock.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"

namespace kvo {

TdmPessoa& TdmPessoa::gerarInstance() { return Module::current().instance<TdmPessoa>(); }

TdmPessoa::TdmPessoa() : TdmPessoa(TdmAcesso::gerarInstance().sqlCon()) {}

TdmPessoa::TdmPessoa(Database& db) : m_db(db), m_pesquisa(db), m_transportadora(db) {
    m_pesquisa.configurar(QStringLiteral(
        "select PES_NOME, PES_CPFCNPJ, PES_CONTATOS, PES_RAZAO_SOCIAL, PES_ENDERECO, PES_BAIRRO, PES_CIDADE, PES_UF, "
        "PES_CEP, PES_TELEFONE, PES_IE, PES_NOME_2, PES_EMAIL, PES_EMAIL_NFE, CODPESSOA from PESSOA"),
        QStringLiteral("CODPESSOA"), QStringLiteral("Pesquisa de Pessoas"), QStringLiteral("Pessoa não encontrada!"));
    m_transportadora.configurar(QStringLiteral(
        "select PES_RAZAO_SOCIAL as TRA_RAZAO_SOCIAL, PES_NOME as TRA_NOME, PES_CPFCNPJ as TRA_CPFCNPJ, "
        "PES_ENDERECO as TRA_ENDERECO, PES_BAIRRO as TRA_BAIRRO, PES_CIDADE as TRA_CIDADE, PES_UF as TRA_UF, "
        "PES_IE as TRA_IE, CODPESSOA from PESSOA"),
        QStringLiteral("CODPESSOA"), QStringLiteral("Pesquisa de Transportadoras"), QStringLiteral("Transportadora não encontrada!"));
}

RecordSet& TdmPessoa::abrir(int codpessoa) {
    m_registro = MontarDataSet(m_db, QStringLiteral("PESSOA"), QStringLiteral("CODPESSOA"), codpessoa);
    m_registro->setKeyFields({QStringLiteral("CODPESSOA")});
    return *m_registro;
}

bool TdmPessoa::PessoaContribuinte(int codpessoa) {
    const auto rs = m_db.query(QStringLiteral("select PES_CONTRIBUINTE, PES_IE from PESSOA where CODPESSOA = :C"),
                               {{QStringLiteral("C"), codpessoa}});
    if (rs->isEmpty())
        return false;
    const QString ie = rs->field(1).asString().trimmed().toUpper();
    return rs->field(0).asString() == QLatin1String("S") && !ie.isEmpty() && ie != QLatin1String("ISENTO");
}

void TdmPessoa::cancelarPedido(int codpedvenda, const QString& origem, const QDateTime& lancamento,
                               const QString& estornarEstoque) {
    const SqlParams chave{{QStringLiteral("P"), codpedvenda}};
    if (!m_db.scalar(QStringLiteral("select first 1 1 from PEDECF where CODPEDVENDA = :P"), chave).isNull())
        Error(QStringLiteral("O pedido %1 já foi importado para o cupom fiscal e não pode ser cancelado.").arg(codpedvenda));
    Transaction tx(m_db);
    const int linhas = m_db.executeSQL(QStringLiteral("update PEDVENDA set PEDV_STATUS = 'Cancelado', PEDV_DATA_CANCELAMENTO = :AGORA "
                                                      "where CODPEDVENDA = :P and PEDV_STATUS <> 'Cancelado'"),
                                       {{QStringLiteral("P"), codpedvenda}, {QStringLiteral("AGORA"), Clock::now()}});
    if (linhas == 0)
        Error(QStringLiteral("O pedido %1 não existe ou já está cancelado.").arg(codpedvenda));
    if (estornarEstoque == QLatin1String("S")) {
        TdmProduto produtos(m_db);
        const auto itens = m_db.query(QStringLiteral("select CODPRODUTO, PEDI_QTDE from PEDVENDA_ITEM where CODPEDVENDA = :P"), chave);
        for (itens->first(); !itens->eof(); itens->next()) {
            const QString sql = produtos.sqlMovimentarEstoqueNormal(int(itens->field(0).asInteger()), itens->field(1).asCurrency(), 1,
                                                                    QStringLiteral("Canc. ") + origem, codpedvenda);
            if (!sql.isEmpty())
                m_db.executeSQL(sql);
        }
    }
    tx.commit();
    (void)lancamento; // identifies the order on the caller's board; the key already does here
}

} // namespace kvo
