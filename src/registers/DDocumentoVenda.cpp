#include "registers/DDocumentoVenda.h"

#include "core/Clock.h"
#include "devices/Digest.h"
#include "framework/db/SqlText.h"
#include "registers/Kvolibgeral.h"
#include "framework/ui/UserInterface.h"

#include <algorithm>

namespace kvo {

TdmDocumentoVenda::TdmDocumentoVenda(Database& db, LayoutDocumentoVenda layout) : m_db(db), m_layout(std::move(layout)) {}

TdmDocumentoVenda::~TdmDocumentoVenda() = default;

std::unique_ptr<RecordSet> TdmDocumentoVenda::abrirCabecalho(int codigo) {
    const QString tabela = sqlIdentifier(m_layout.tabela), chave = sqlIdentifier(m_layout.chave);
    auto rs = std::make_unique<RecordSet>(m_db);
    rs->setCommandText(QStringLiteral("select d.*, p.PES_NOME from %1 d left join PESSOA p on p.CODPESSOA = d.CODPESSOA "
                                      "where d.%2 = :C")
                           .arg(tabela, chave));
    rs->setParam(QStringLiteral("C"), codigo);
    rs->setUpdateTable(tabela);
    rs->setKeyFields({chave});
    rs->open();
    return rs;
}

void TdmDocumentoVenda::carregar(int codigo) {
    const QString chave = sqlIdentifier(m_layout.chave);
    m_cabecalho = abrirCabecalho(codigo);
    m_cabecalho->onNewRecord = [this](RecordSet& c) {
        c.field(m_layout.chave).setValue(m_db.getGeneretor(m_layout.geradorChave));
        c.field(campo("STATUS")).setValue(QStringLiteral("ABERTO"));
        c.field(campo("DATA")).setValue(Clock::now());
    };

    const QString tabelaItem = sqlIdentifier(m_layout.tabelaItem);
    m_itens = std::make_unique<RecordSet>(m_db);
    m_itens->setCommandText(QStringLiteral("select i.*, p.PRO_DESCRICAO, p.PRO_ST_TRIB, p.PRO_ALIQ_IMP, p.PRO_LOCALIZACAO, "
                                           "u.PROU_SIGLA from %1 i "
                                           "left join PRODUTO p on p.CODPRODUTO = i.CODPRODUTO "
                                           "left join PRODUTO_UNIDADE u on u.CODPRODUTOUNIDADE = p.CODPRODUTOUNIDADE "
                                           "where i.%2 = :C order by i.%3")
                                .arg(tabelaItem, chave, sqlIdentifier(campoItem("ITEM"))));
    m_itens->setParam(QStringLiteral("C"), codigo);
    m_itens->setUpdateTable(tabelaItem);
    m_itens->setKeyFields({sqlIdentifier(m_layout.chaveItem)});
    m_itens->open();
    m_itens->onNewRecord = [this](RecordSet& i) {
        int ultimo = 0;
        const int coluna = i.field(campoItem("ITEM")).index();
        for (int r = 0; r < i.recordCount(); ++r)
            ultimo = std::max(ultimo, i.valueAt(r, coluna).toInt());
        i.field(m_layout.chaveItem).setValue(m_db.getGeneretor(m_layout.geradorItem));
        i.field(m_layout.chave).setValue(m_cabecalho->field(m_layout.chave).value());
        i.field(campoItem("ITEM")).setValue(ultimo + 1);
        i.field(campoItem("CANCELADO")).setValue(QStringLiteral("N"));
        i.field(campoItem("DT_CAD")).setValue(Clock::now());
    };
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
    auto rs = abrirCabecalho(codigo);
    if (rs->isEmpty() || rs->field(campo("STATUS")).asString() != QLatin1String("ABERTO"))
        Error(QStringLiteral("O documento %1 não está aberto.").arg(codigo));
    rs->edit();
    rs->field(campo("STATUS")).setValue(m_layout.statusCancelado);
    rs->field(campo("MD5")).setValue(digestCabecalho(*rs));
    rs->post();
    rs->applyUpdates(0); // the check on the old status refuses what another terminal settled meanwhile
}

QString TdmDocumentoVenda::digestCabecalho(const RecordSet& cabecalho) {
    // The row is the table's own columns (not the joined ones), and the
    // digest cannot cover itself: its column counts as empty.
    if (m_colunasTabela.isEmpty()) {
        const auto vazio = m_db.query(QStringLiteral("select first 0 * from %1").arg(sqlIdentifier(m_layout.tabela)));
        for (int i = 0; i < vazio->fieldCount(); ++i)
            m_colunasTabela << vazio->field(i).name();
    }
    RecordSet linha;
    for (const QString& nome : std::as_const(m_colunasTabela))
        linha.addField(nome, cabecalho.field(nome).type());
    linha.open();
    linha.append();
    for (const QString& nome : std::as_const(m_colunasTabela))
        if (nome != campo("MD5"))
            linha.field(nome).setValueSilently(cabecalho.field(nome).value());
    return Digest().MD5FromString(RegistroTextoDataSet(linha));
}

} // namespace kvo
