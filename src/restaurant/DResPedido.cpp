#include "restaurant/DResPedido.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "framework/db/SqlText.h"
#include "framework/services/ChavesConfiguracao.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"

namespace kvo {

namespace {
const QString kNormal = QStringLiteral("NORMAL");
} // namespace

TdmResPedido& TdmResPedido::gerarInstance() { return Module::current().instance<TdmResPedido>(); }

TdmResPedido::TdmResPedido() : TdmResPedido(TdmAcesso::gerarInstance().sqlCon()) {}

TdmResPedido::TdmResPedido(Database& db) : m_db(db) {
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    Transaction registro(TdmAcesso::gerarInstance().sqlCon()); // one commit for all the keys
    for (const ChaveConfiguracao& c : chavesRestaurante())
        cfg.verificaConfiguracao(QString::fromUtf8(c.grupo), QString::fromUtf8(c.chave), QString::fromUtf8(c.tipo),
                                 QString::fromUtf8(c.padrao), QString::fromUtf8(c.descricao));
    registro.commit();
    definirPedido();
    definirItens();
    definirPerso();
    definirConta();
}

TdmResPedido::~TdmResPedido() = default;

TdmProduto& TdmResPedido::produtos() {
    if (!m_produtos)
        m_produtos = std::make_unique<TdmProduto>(m_db);
    return *m_produtos;
}

void TdmResPedido::CarregarResVenda(int codpedido) {
    FecharResVenda();
    m_posicao.clear();
    Transaction leitura(m_db); // one snapshot, and one commit instead of one per query
    lerParametros();
    m_dataMovimento = dataMovimento();
    for (RecordSet* rs : {m_pedido.get(), m_item.get(), m_perso.get(), m_conta.get()}) {
        rs->setParam(QStringLiteral("CODPEDIDO"), codpedido);
        rs->open();
    }
    leitura.commit();
}

void TdmResPedido::lerParametros() {
    m_par = {};
    const auto rs = m_db.query(QStringLiteral("select first 1 PARR_VLR_SERVICO, PARR_VLR_COVERT, PARR_SELECIONAR_GARCON "
                                              "from PAR_RESTAURANTE order by CODPARRESTAURANTE"));
    if (rs->isEmpty())
        return;
    m_par.servico = rs->field(0).asCurrency();
    m_par.couvert = rs->field(1).asCurrency();
    m_par.selecionarGarcon = rs->field(2).asString() == QLatin1String("S");
}

void TdmResPedido::FecharResVenda() {
    for (RecordSet* rs : {m_conta.get(), m_perso.get(), m_item.get(), m_pedido.get()})
        rs->close();
}

void TdmResPedido::ResPedidoItem_CalculaTotal() {
    RecordSet& i = *m_item;
    if (!editando(i))
        return;
    i.field(QStringLiteral("PEDI_TOTAL"))
        .setValue(QVariant::fromValue(i.field(QStringLiteral("PEDI_QTDE")).asCurrency() *
                                      i.field(QStringLiteral("PEDI_VLRUNIT")).asCurrency()));
}

void TdmResPedido::ResPedido_CalculaTotal() {
    RecordSet& i = *m_item;
    RecordSet& p = *m_pedido;
    i.checkBrowseMode();
    if (!editando(p)) {
        if (p.isEmpty())
            return;
        p.edit();
    }
    Currency total;
    {
        DisableControls parado(i);
        const int status = i.field(QStringLiteral("PEDI_STATUS")).index();
        const int valor = i.field(QStringLiteral("PEDI_TOTAL")).index();
        for (int r = 0; r < i.recordCount(); ++r)
            if (i.valueAt(r, status).toString() == kNormal)
                total += i.valueAt(r, valor).value<Currency>();
    }
    p.field(QStringLiteral("PED_TOTAL")).setValue(QVariant::fromValue(total));
}

QString TdmResPedido::sqlResControleMovimentacao(int mesa, Currency valor, int tipo, const QString& texto) {
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("REST.SALDO")) != QLatin1String("S"))
        return {};
    return QStringLiteral("EXECUTE PROCEDURE STP_RES_CONTROLE_MOVIMENTACAO(") + QString::number(mesa) + u',' +
           currencyToPlainText(valor).replace(u',', u'.') + u',' + quotedStr(QString::number(tipo)) + u',' + quotedStr(texto) + u')';
}

void TdmResPedido::validaSeTemSaldoParaCompra(int mesa, Currency valor, Currency saldo) {
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("REST.SALDO")) != QLatin1String("S"))
        return;
    const auto rs = m_db.query(QStringLiteral("select CODCONTROLE, CON_SALDO, CON_EAN, CODPESSOA from RES_CONTROLE "
                                              "where CODCONTROLE = :C"),
                               {{QStringLiteral("C"), mesa}});
    if (rs->isEmpty() || saldo - valor >= Currency())
        return;
    Alerta(QStringLiteral("Seu saldo está menor") + u'\r' + QStringLiteral("CodControle: \"") + QString::number(mesa) +
           u'\r' + QStringLiteral("EAN: \"") + rs->field(QStringLiteral("CON_EAN")).asString() + u'\r' +
           QStringLiteral("Saldo Atual=") + currencyToPlainText(saldo) + u'\r' + QStringLiteral("Valor Informado: ") +
           currencyToPlainText(valor));
}

bool TdmResPedido::controleValido(int mesa) {
    return m_db.scalar(QStringLiteral("SELECT count(*) FROM RES_CONTROLE WHERE RES_CONTROLE.CON_STATUS <> 'CANCELADO' "
                                      "and RES_CONTROLE.CODCONTROLE = :C"),
                       {{QStringLiteral("C"), mesa}})
               .toInt() > 0;
}

int TdmResPedido::pedidoAberto(int mesa) {
    return m_db
        .scalar(QStringLiteral(" SELECT    RES_PEDIDO.CODPEDIDO  FROM    RES_PEDIDO  WHERE    RES_PEDIDO.CODCONTROLE = :C"
                               "   AND RES_PEDIDO.PED_STATUS = 'ABERTO'"),
                {{QStringLiteral("C"), mesa}})
        .toInt();
}

void TdmResPedido::avaliaControle(int mesa) {
    m_db.executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_REST_AVALIA_CONTROLE(:C)"), {{QStringLiteral("C"), mesa}});
}

void TdmResPedido::verificarPedido(int codpedido, int mesa) {
    m_db.executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_RES_PEDIDO_VERIFICAR(:P, :C)"),
                    {{QStringLiteral("P"), codpedido}, {QStringLiteral("C"), mesa}});
}

void TdmResPedido::abrirMesa(int mesa) {
    Transaction tx(m_db); // the table's evaluation and the order read as one
    if (mesa <= 0 || !controleValido(mesa))
        Error(QStringLiteral("Mesa não está correta, tente novamente"));
    setMesaAtual(QString::number(mesa));
    avaliaControle(mesa);
    const int codpedido = pedidoAberto(mesa);
    CarregarResVenda(codpedido);
    if (codpedido > 0)
        m_pedido->edit();
    else
        m_pedido->append();
    tx.commit();
}

std::optional<QDateTime> TdmResPedido::dataMovimento() {
    QDate data;
    if (!TdmAcesso::gerarInstance().getTrabalhaAbertura())
        data = Clock::today();
    else if (auto aberto = TdmCaixaAbertura::gerarInstance().caixaAberto())
        data = aberto->data;
    else
        return std::nullopt;
    return QDateTime(data, Clock::now().time());
}

} // namespace kvo
