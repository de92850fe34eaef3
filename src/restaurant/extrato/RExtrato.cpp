#include "restaurant/extrato/RExtrato.h"

#include "core/Clock.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/impressao/DResPedidoImpressao.h"


namespace kvo {

namespace {

const QString SemMovimento = QStringLiteral("Não foi encontrado nenhuma movimentação para essa mesa!");

// Columns of the bill lines, grouped per product (and note) at one price.
const QString ColunasMesa = QStringLiteral(
    "RES_PEDIDO.CODCONTROLE, RES_PEDIDO.CODPEDIDO, RES_PEDIDO_ITEM.CODPRODUTO, PRODUTO.PRO_CODPESQ_1, "
    "PRODUTO.PRO_DESCRICAO, %1, RES_PEDIDO_ITEM.PEDI_VLRUNIT, %2 AS PEDI_QTDE, %3 AS PEDI_TOTAL");
const QString OrigemMesa = QStringLiteral(
    " FROM RES_PEDIDO_ITEM INNER JOIN RES_PEDIDO ON (RES_PEDIDO_ITEM.CODPEDIDO = RES_PEDIDO.CODPEDIDO) "
    "INNER JOIN PRODUTO ON (RES_PEDIDO_ITEM.CODPRODUTO = PRODUTO.CODPRODUTO) "
    "WHERE (RES_PEDIDO_ITEM.PEDI_STATUS = 'NORMAL') AND (RES_PEDIDO.CODPEDIDO = :CODPEDIDO) ");
const QString GrupoMesa = QStringLiteral(
    " GROUP BY RES_PEDIDO.CODCONTROLE, RES_PEDIDO.CODPEDIDO, RES_PEDIDO_ITEM.CODPRODUTO, PRODUTO.PRO_CODPESQ_1, "
    "PRODUTO.PRO_DESCRICAO, %1RES_PEDIDO_ITEM.PEDI_VLRUNIT");

const QString SqlPedVenda = QStringLiteral(
    "SELECT PEDVENDA.CODPEDVENDA AS CODPEDIDO, PEDVENDA.CODPEDVENDA AS CODCONTROLE, PEDVENDA.PEDV_STATUS AS "
    "PED_STATUS, CAST(PEDVENDA.PEDV_DATA_ENTRADA AS TIMESTAMP) AS PED_DATA, CAST(PEDVENDA.PEDV_DATA_ENTRADA AS "
    "TIMESTAMP) AS PED_DATA_FINAL, PEDVENDA.PEDV_TOTAL_PEDIDO AS PED_TOTAL, PEDVENDA.PEDV_ACRE_VLR AS "
    "PED_ACRESCIMO, 0 AS CODGARCON, 0 AS PED_QTDE_COVERT, 'N' AS PED_IMPRESSO, 0 AS PED_DESC_VLR, 1 AS "
    "PED_QTDE_PESSOA FROM PEDVENDA WHERE PEDVENDA.CODPEDVENDA = :CODPEDVENDA");

const QString SqlExtratoPedVenda = QStringLiteral(
    "SELECT PEDVENDA.CODPEDVENDA AS CODCONTROLE, PEDVENDA.CODPEDVENDA AS CODPEDIDO, PEDVENDA_ITEM.CODPRODUTO, "
    "PRODUTO.PRO_CODPESQ_1, PRODUTO.PRO_DESCRICAO, PEDVENDA_ITEM.PEDI_OBS, PEDVENDA_ITEM.PEDI_VLRUNIT, "
    "SUM(PEDVENDA_ITEM.PEDI_QTDE) AS PEDI_QTDE, SUM(PEDVENDA_ITEM.PEDI_QTDE * PEDVENDA_ITEM.PEDI_VLRUNIT) AS "
    "PEDI_TOTAL, PEDVENDA.CODPESSOA, PESSOA.PES_NOME, PESSOA.PES_ENDERECO, PESSOA.PES_ENDERECO_NUMERO, "
    "PESSOA.PES_ENDERECO_COMPLEMENTO, PESSOA.PES_BAIRRO, PESSOA.PES_CIDADE, PESSOA.PES_UF, PESSOA.PES_TELEFONE, "
    "PEDVENDA.PEDV_CONTATO FROM PEDVENDA INNER JOIN PEDVENDA_ITEM ON (PEDVENDA_ITEM.CODPEDVENDA = "
    "PEDVENDA.CODPEDVENDA) INNER JOIN PRODUTO ON (PRODUTO.CODPRODUTO = PEDVENDA_ITEM.CODPRODUTO) LEFT JOIN "
    "PESSOA ON (PESSOA.CODPESSOA = PEDVENDA.CODPESSOA) WHERE PEDVENDA.CODPEDVENDA = :CODPEDVENDA GROUP BY "
    "PEDVENDA.CODPEDVENDA, PEDVENDA_ITEM.CODPRODUTO, PRODUTO.PRO_CODPESQ_1, PRODUTO.PRO_DESCRICAO, "
    "PEDVENDA_ITEM.PEDI_OBS, PEDVENDA_ITEM.PEDI_VLRUNIT, PEDVENDA.CODPESSOA, PESSOA.PES_NOME, PESSOA.PES_ENDERECO, "
    "PESSOA.PES_ENDERECO_NUMERO, PESSOA.PES_ENDERECO_COMPLEMENTO, PESSOA.PES_BAIRRO, PESSOA.PES_CIDADE, "
    "PESSOA.PES_UF, PESSOA.PES_TELEFONE, PEDVENDA.PEDV_CONTATO");

// The waiters of the order's lines, in the order they first posted.
const QString SqlGarcons = QStringLiteral(
    "SELECT RES_GARCON.GAR_NOME, MIN(RES_PEDIDO_ITEM.CODPEDIDOITEM) AS PRIMEIRO FROM RES_PEDIDO_ITEM "
    "INNER JOIN RES_PEDIDO ON (RES_PEDIDO_ITEM.CODPEDIDO = RES_PEDIDO.CODPEDIDO) INNER JOIN RES_GARCON ON "
    "(RES_GARCON.CODGARCON = RES_PEDIDO_ITEM.CODGARCON) WHERE (RES_PEDIDO.PED_STATUS = 'ABERTO') AND "
    "(RES_PEDIDO.CODPEDIDO = :CODPEDIDO) GROUP BY RES_GARCON.GAR_NOME ORDER BY 2");

QString s(const RecordSet& rs, const char* coluna) {
    return const_cast<RecordSet&>(rs).field(QString::fromLatin1(coluna)).asString().trimmed();
}


} // namespace

TrelExtrato::TrelExtrato()
    : TrelExtrato(TdmAcesso::gerarInstance().sqlCon(), TdmConfiguracao::gerarInstance(),
                  TdmResPedidoImpressao::gerarInstance()) {}

TrelExtrato::TrelExtrato(Database& db, TdmConfiguracao& cfg, TdmResPedidoImpressao& impressao)
    : m_db(db), m_cfg(cfg), m_impressao(impressao), m_servicoPadrao(impressao.parametros().vlrServico) {}

bool TrelExtrato::ligado(const char* chave) { return m_cfg.getStr(QString::fromLatin1(chave)) == QLatin1String("S"); }

bool TrelExtrato::layoutDaruma() { return ligado("REST.DARUMA") || ligado("REST.DAR.EXTRATO"); }

// ------------------------------------------------------------ entry points

void TrelExtrato::extrato(int mesa, bool cancelado) {
    if (ligado("RST.EXTRATO"))
        Error(QStringLiteral("Essa função deve ser utilizada pelo PAF-ECF!"));
    if (mesa == 0) {
        const auto texto = InputBox(QStringLiteral("Extrato"), QStringLiteral("Informe o Número do(a) ") +
                                                                   TdmAcesso::gerarInstance().empresa().nomeMesa +
                                                                   QStringLiteral(":"));
        bool ok = false;
        mesa = texto ? texto->trimmed().toInt(&ok) : 0;
        if (!ok)
            Error(SemMovimento);
    }
    for (bool escolha = false;; escolha = true) {
        const QVariant pedido = m_db.scalar(
            QStringLiteral(" SELECT RES_PEDIDO.CODPEDIDO  FROM    RES_PEDIDO  WHERE    (RES_PEDIDO.PED_STATUS = "
                           "'ABERTO') AND    (RES_PEDIDO.CODCONTROLE = ") +
            quotedStr(QString::number(mesa)) + QStringLiteral(") "));
        if (pedido.isNull())
            Error(SemMovimento);
        auto linhas = linhasMesa(pedido.toLongLong());
        auto cab = cabecalhoMesa(pedido.toLongLong());
        auto pagamentos = pagamentosMesa(pedido.toLongLong());
        const bool pronto = layoutDaruma()
                                ? extratoDarumaDR700(escolha, *cab, pagamentos.get(), *linhas, false, false, 0, cancelado)
                                : extrato2(escolha, *cab, pagamentos.get(), *linhas, false, false, 0, cancelado);
        if (pronto)
            return;
    }
}

void TrelExtrato::extratoPedido(int pedido, bool entrega, bool balcao, int numeroBalcao) {
    const SqlParams p{{QStringLiteral("CODPEDVENDA"), pedido}};
    for (bool escolha = false;; escolha = true) {
        auto linhas = m_db.query(SqlExtratoPedVenda, p);
        linhas->setObjectName(QStringLiteral("sdsExtratoPedVenda"));
        auto cab = m_db.query(SqlPedVenda, p);
        cab->setObjectName(QStringLiteral("sdsPedVenda"));
        // The restaurant payments belong to restaurant orders: a sale order has none there.
        if (extrato2(escolha, *cab, nullptr, *linhas, entrega, balcao, numeroBalcao, false))
            return;
    }
}

std::unique_ptr<RecordSet> TrelExtrato::cabecalhoMesa(qint64 pedido) {
    auto cab = openEditable(m_db,
                            QStringLiteral("select CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, PED_DATA_FINAL, "
                                           "PED_QTDE_COVERT, PED_IMPRESSO, PED_DESC_VLR, PED_ACRESCIMO, "
                                           "PED_QTDE_PESSOA from RES_PEDIDO where CODPEDIDO = :CODPEDIDO"),
                            {{QStringLiteral("CODPEDIDO"), pedido}}, QStringLiteral("RES_PEDIDO"),
                            QStringLiteral("CODPEDIDO"));
    cab->setObjectName(QStringLiteral("cdsResPedido"));
    return cab;
}

std::unique_ptr<RecordSet> TrelExtrato::pagamentosMesa(qint64 pedido) {
    return m_db.query(QStringLiteral("select CODPEDIDO, PEDC_VALOR from RES_PEDIDO_CONTA where CODPEDIDO = :CODPEDIDO"),
                      {{QStringLiteral("CODPEDIDO"), pedido}});
}

std::unique_ptr<RecordSet> TrelExtrato::linhasMesa(qint64 pedido) {
    const SqlParams p{{QStringLiteral("CODPEDIDO"), pedido}};
    const QString somas = ColunasMesa.arg(QStringLiteral("RES_PEDIDO_ITEM.PEDI_OBS"),
                                          QStringLiteral("SUM(RES_PEDIDO_ITEM.PEDI_QTDE)"),
                                          QStringLiteral("SUM(RES_PEDIDO_ITEM.PEDI_TOTAL)"));
    QString sql;
    if (ligado("REST.EXT.PROD")) {
        // Weighed products each on their own line, with their note.
        sql = QStringLiteral("SELECT ") +
              ColunasMesa.arg(QStringLiteral("CAST(NULL AS VARCHAR(100)) AS PEDI_OBS"),
                              QStringLiteral("SUM(RES_PEDIDO_ITEM.PEDI_QTDE)"),
                              QStringLiteral("SUM(RES_PEDIDO_ITEM.PEDI_TOTAL)")) +
              OrigemMesa +
              QStringLiteral("AND (COALESCE(PRODUTO.pro_balanca, 'N') = 'N') AND (RES_PEDIDO_ITEM.PEDI_VLRUNIT > 0)") +
              GrupoMesa.arg(QString()) + QStringLiteral(" UNION ALL SELECT ") +
              ColunasMesa.arg(QStringLiteral("RES_PEDIDO_ITEM.PEDI_OBS"), QStringLiteral("RES_PEDIDO_ITEM.PEDI_QTDE"),
                              QStringLiteral("RES_PEDIDO_ITEM.PEDI_TOTAL")) +
              OrigemMesa + QStringLiteral("AND (COALESCE(PRODUTO.pro_balanca, 'N') <> 'N')");
    } else if (ligado("REST.SALDO")) {
        const QDate data = TdmCaixaAbertura::gerarInstance().getDataAbertura(false);
        sql = QStringLiteral("SELECT ") + somas + OrigemMesa +
              QStringLiteral("AND (RES_PEDIDO_ITEM.PEDI_VLRUNIT > 0) AND (RES_PEDIDO_ITEM.PEDI_LAN_DATA >= ") +
              quotedStr(data.toString(QStringLiteral("dd.MM.yyyy"))) + QStringLiteral(")") +
              GrupoMesa.arg(QStringLiteral("RES_PEDIDO_ITEM.PEDI_OBS, "));
    } else {
        sql = QStringLiteral("SELECT ") + somas + OrigemMesa + QStringLiteral("AND (RES_PEDIDO_ITEM.PEDI_VLRUNIT > 0)") +
              GrupoMesa.arg(QStringLiteral("RES_PEDIDO_ITEM.PEDI_OBS, "));
    }
    auto rs = m_db.query(sql, p);
    rs->setObjectName(QStringLiteral("sdsExtrato"));
    return rs;
}

// ---------------------------------------------------------------- layouts

bool TrelExtrato::extrato2(bool escolha, RecordSet& cabecalho, RecordSet* pagamentos, RecordSet& linhas,
                           bool entrega, bool balcao, int numeroBalcao, bool cancelado, bool) {
    return montar(false, escolha, cabecalho, pagamentos, linhas, entrega, balcao, numeroBalcao, cancelado);
}

bool TrelExtrato::extratoDarumaDR700(bool escolha, RecordSet& cabecalho, RecordSet* pagamentos, RecordSet& linhas,
                                     bool entrega, bool balcao, int numeroBalcao, bool cancelado, bool) {
    return montar(true, escolha, cabecalho, pagamentos, linhas, entrega, balcao, numeroBalcao, cancelado);
}

bool TrelExtrato::montar(bool daruma, bool escolha, RecordSet& cab, RecordSet* pagamentos, RecordSet& linhas,
                         bool entrega, bool balcao, int numeroBalcao, bool cancelado) {
    const bool pedVenda = cab.objectName() == QLatin1String("sdsPedVenda");
    DadosExtrato d;
    QStringList texto;
    try {
        // The settings come from the header the caller gave (a table whose
        // every line was cancelled still has it).
        if (cab.isEmpty())
            Error(SemMovimento);
        cab.first();
        d.pedido = cab.field(QStringLiteral("CODPEDIDO")).asInteger();
        d.mesa = int(cab.field(QStringLiteral("CODCONTROLE")).asInteger());
        d.abertura = cab.field(QStringLiteral("PED_DATA")).asDateTime();
        d.impresso = s(cab, "PED_IMPRESSO") == QLatin1String("S");
        m_ajustes = AjustesExtrato{};
        m_ajustes.desconto = cab.field(QStringLiteral("PED_DESC_VLR")).asCurrency();
        m_ajustes.pessoas = int(cab.field(QStringLiteral("PED_QTDE_PESSOA")).asInteger());
        m_ajustes.couverts = int(cab.field(QStringLiteral("PED_QTDE_COVERT")).asInteger());
        m_ajustes.servico = m_ajustes.servicoOriginal = cab.field(QStringLiteral("PED_ACRESCIMO")).asCurrency();
        if (pagamentos)
            for (pagamentos->first(); !pagamentos->eof(); pagamentos->next())
                if (pagamentos->field(QStringLiteral("CODPEDIDO")).asInteger() == d.pedido)
                    m_ajustes.pago += pagamentos->field(QStringLiteral("PEDC_VALOR")).asCurrency();
        d.agora = Clock::now();
        lerEmpresa(d);
        if (escolha)
            chamaEscolha();
        d.ajustes = m_ajustes;

        if (balcao && ligado("PDV.IMP.BAL")) {
            // The counter prints the order as the tickets prepared it.
            m_linhas = m_impressao.linhasExtrato();
            mostrar(m_linhas, false);
            return true;
        }
        if (!pedVenda) {
            auto g = m_db.query(SqlGarcons, {{QStringLiteral("CODPEDIDO"), d.pedido}});
            for (g->first(); !g->eof(); g->next())
                d.garcons << s(*g, "GAR_NOME");
        }
        d.entrega = entrega;
        d.balcao = balcao;
        d.numeroBalcao = numeroBalcao;
        d.cancelado = cancelado;
        for (linhas.first(); !linhas.eof(); linhas.next()) {
            LinhaExtrato l;
            l.codProduto = linhas.field(QStringLiteral("CODPRODUTO")).asInteger();
            l.codPesquisa = s(linhas, "PRO_CODPESQ_1");
            l.descricao = s(linhas, "PRO_DESCRICAO");
            l.obs = s(linhas, "PEDI_OBS");
            l.vlrUnit = linhas.field(QStringLiteral("PEDI_VLRUNIT")).asCurrency();
            l.qtde = linhas.field(QStringLiteral("PEDI_QTDE")).asCurrency();
            l.total = linhas.field(QStringLiteral("PEDI_TOTAL")).asCurrency();
            d.linhas << l;
        }
        lerCliente(d, linhas);
        if (d.impresso)
            Alerta(QStringLiteral("Aviso: Esse extrato é uma \"Reimpressão\"."));
        texto = daruma ? montarExtratoDaruma(d, m_impressao) : montarExtratoGenerico(d);
    } catch (const Abort&) {
        throw;
    } catch (const std::exception& e) {
        Error(QStringLiteral("Erro\r") + QString::fromUtf8(e.what()));
    }
    m_linhas = texto;

    const ResultadoPreview r = mostrar(texto, !pedVenda);
    if (pedVenda)
        return true;
    if (r.alterarEscolhas)
        return false;
    if (m_gravarPedido) {
        cab.edit();
        cab.field(QStringLiteral("PED_DESC_VLR")).setValue(QVariant::fromValue(m_ajustes.desconto));
        cab.field(QStringLiteral("PED_QTDE_PESSOA")).setValue(m_ajustes.pessoas);
        cab.field(QStringLiteral("PED_QTDE_COVERT")).setValue(m_ajustes.couverts);
        cab.field(QStringLiteral("PED_ACRESCIMO")).setValue(QVariant::fromValue(m_ajustes.servico));
        cab.field(QStringLiteral("PED_DATA_FINAL")).setValue(d.agora);
        if (r.imprimiu)
            cab.field(QStringLiteral("PED_IMPRESSO")).setValue(QStringLiteral("S"));
        cab.post();
        cab.applyUpdates(0);
    }
    return true;
}

ResultadoPreview TrelExtrato::mostrar(const QStringList& linhas, bool permiteAlterar) {
    return previewExtrato().mostrar(QStringLiteral("EXTRATO"), linhas, permiteAlterar,
                                    [this](const QStringList& l) { m_impressao.enviarExtrato(l); });
}

} // namespace kvo
