#include "registers/DDocumentoVenda.h"

#include "framework/db/SqlText.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

TdmDocumentoVenda::TdmDocumentoVenda(Database& db, LayoutDocumentoVenda layout) : m_db(db), m_layout(std::move(layout)) {}

TdmDocumentoVenda::~TdmDocumentoVenda() = default;

void TdmDocumentoVenda::carregar(int codigo) {
    const QString tabela = sqlIdentifier(m_layout.tabela), chave = sqlIdentifier(m_layout.chave);
    m_cabecalho = std::make_unique<RecordSet>(m_db);
    m_cabecalho->setCommandText(QStringLiteral("select * from %1 where %2 = :C").arg(tabela, chave));
    m_cabecalho->setParam(QStringLiteral("C"), codigo);
    m_cabecalho->setUpdateTable(tabela);
    m_cabecalho->setKeyFields({chave});
    m_cabecalho->open();

    const QString tabelaItem = sqlIdentifier(m_layout.tabelaItem);
    m_itens = std::make_unique<RecordSet>(m_db);
    m_itens->setCommandText(QStringLiteral("select i.*, p.PRO_DESCRICAO, p.PRO_ST_TRIB, p.PRO_ALIQ_IMP from %1 i "
                                           "left join PRODUTO p on p.CODPRODUTO = i.CODPRODUTO where i.%2 = :C order by i.%3")
                                .arg(tabelaItem, chave, sqlIdentifier(campoItem("ITEM"))));
    m_itens->setParam(QStringLiteral("C"), codigo);
    m_itens->setUpdateTable(tabelaItem);
    m_itens->setKeyFields({sqlIdentifier(m_layout.chaveItem)});
    m_itens->open();
}

void TdmDocumentoVenda::calculaTotal() {
    if (!m_cabecalho || (m_cabecalho->isEmpty() && m_cabecalho->state() != RecordSet::State::Insert))
        return;
    Currency produtos;
    const int total = m_itens->field(campoItem("TOTAL")).index();
    const int cancelado = m_itens->field(campoItem("CANCELADO")).index();
    for (int r = 0; r < m_itens->recordCount(); ++r)
        if (m_itens->valueAt(r, cancelado).toString() != QLatin1String("S"))
            produtos += m_itens->valueAt(r, total).value<Currency>();
    RecordSet& c = *m_cabecalho;
    c.edit();
    c.field(campo("TOTALPROD")).setValue(QVariant::fromValue(produtos));
    c.field(campo("TOTAL")).setValue(QVariant::fromValue(produtos - c.field(campo("DESCONTO")).asCurrency() +
                                                         c.field(campo("ACRESCIMO")).asCurrency()));
}

void TdmDocumentoVenda::cancelar(int codigo) {
    const int linhas = m_db.executeSQL(QStringLiteral("update %1 set %2 = :S where %3 = :C and %2 = 'ABERTO'")
                                           .arg(sqlIdentifier(m_layout.tabela), sqlIdentifier(campo("STATUS")),
                                                sqlIdentifier(m_layout.chave)),
                                       {{QStringLiteral("S"), m_layout.statusCancelado}, {QStringLiteral("C"), codigo}});
    if (linhas == 0)
        Error(QStringLiteral("O documento %1 não está aberto.").arg(codigo));
}

} // namespace kvo
