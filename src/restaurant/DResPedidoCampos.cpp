// The order's record sets: their fields, defaults and derived values.
#include "restaurant/DResPedido.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"

namespace kvo {

namespace {
using T = FieldType;

void somenteLeitura(RecordSet& rs, const char* nome, T tipo, int tamanho = 0) {
    rs.addField(QString::fromLatin1(nome), tipo, tamanho, FieldKind::Joined);
}

} // namespace

void TdmResPedido::definirPedido() {
    m_pedido = std::make_unique<RecordSet>(m_db);
    RecordSet& p = *m_pedido;
    p.setObjectName(QStringLiteral("cdsResPedido")); // the ticket module tells item sources by name
    p.addField(QStringLiteral("CODPEDIDO"), T::Integer).setRequired(true).setDisplayLabel(QStringLiteral("Nr. Pedido"));
    p.addField(QStringLiteral("CODCONTROLE"), T::Integer)
        .setRequired(true)
        .setDisplayLabel(QStringLiteral("Mesa"))
        .setDisplayFormat(QStringLiteral("00000"));
    p.addField(QStringLiteral("PED_STATUS"), T::String, 10).setRequired(true);
    p.addField(QStringLiteral("PED_DATA"), T::DateTime).setRequired(true);
    // Kept by the database from the items; computed here for display.
    somenteLeitura(p, "PED_TOTAL", T::Currency);
    somenteLeitura(p, "CODGARCON", T::Integer);
    p.addField(QStringLiteral("PED_QTDE_COVERT"), T::Integer);
    p.addField(QStringLiteral("PED_IMPRESSO"), T::String, 1);
    p.addField(QStringLiteral("PED_DESC_VLR"), T::Currency);
    p.addField(QStringLiteral("PED_ACRESCIMO"), T::Currency);
    p.addField(QStringLiteral("PED_DATA_FINAL"), T::DateTime);
    p.addField(QStringLiteral("PED_QTDE_PESSOA"), T::Integer);
    somenteLeitura(p, "PED_DT_ULT_MOV", T::DateTime);
    p.addField(QStringLiteral("PED_MD5"), T::String, 32);
    p.addField(QStringLiteral("PED_TOTPROD"), T::Currency);
    p.addField(QStringLiteral("PED_COO"), T::Integer);
    p.addField(QStringLiteral("PED_NUMECF"), T::Integer);
    p.addField(QStringLiteral("PED_CER"), T::Integer);
    p.addField(QStringLiteral("CODPESSOA"), T::Integer);
    for (const char* nome : {"auxVlrAcrescimo", "auxVlrCouvert", "auxTotalAcrescimo"})
        p.addField(QString::fromLatin1(nome), T::Currency, 0, FieldKind::Calculated).setDisplayFormat(QStringLiteral(",0.00"));
    p.addField(QStringLiteral("AUXPESSOA"), T::String, 60, FieldKind::Calculated);
    p.setCommandText(QStringLiteral(
        "select CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, PED_TOTAL, CODGARCON, PED_QTDE_COVERT, PED_IMPRESSO, "
        "PED_DESC_VLR, PED_ACRESCIMO, PED_DATA_FINAL, PED_QTDE_PESSOA, PED_DT_ULT_MOV, PED_MD5, PED_TOTPROD, PED_COO, "
        "PED_NUMECF, PED_CER, CODPESSOA from RES_PEDIDO where CODPEDIDO = :CODPEDIDO"));
    p.setUpdateTable(QStringLiteral("RES_PEDIDO"));
    p.setKeyFields({QStringLiteral("CODPEDIDO")});
    p.onNewRecord = [this](RecordSet& rs) { novoPedido(rs); };
    p.onCalcFields = [this](RecordSet& rs) { calcularPedido(rs); };
}

void TdmResPedido::novoPedido(RecordSet& p) {
    bool ok = false;
    const int mesa = m_mesaAtual.trimmed().toInt(&ok);
    if (!ok || mesa <= 0)
        Error(QStringLiteral("Informe um número de mesa válida!"));
    const QString cobra = m_db.scalar(QStringLiteral(" select CON_COBRAR_SERVICO from RES_CONTROLE where CODCONTROLE = ") +
                                      QString::number(mesa))
                              .toString();
    p.field(QStringLiteral("CODPEDIDO")).setValue(m_db.getGeneretor(QStringLiteral("GEN_RES_PEDIDO")));
    p.field(QStringLiteral("CODCONTROLE")).setValue(mesa);
    p.field(QStringLiteral("PED_STATUS")).setValue(QStringLiteral("ABERTO"));
    p.field(QStringLiteral("PED_DATA"))
        .setValue(QDateTime(TdmCaixaAbertura::gerarInstance().getDataAbertura(false), Clock::now().time()));
    p.field(QStringLiteral("PED_TOTAL")).setValue(0);
    p.field(QStringLiteral("PED_QTDE_COVERT")).setValue(0);
    p.field(QStringLiteral("PED_IMPRESSO")).setValue(QStringLiteral("N"));
    p.field(QStringLiteral("PED_DESC_VLR")).setValue(0);
    p.field(QStringLiteral("PED_QTDE_PESSOA")).setValue(1);
    p.field(QStringLiteral("PED_ACRESCIMO"))
        .setValue(QVariant::fromValue(cobra == QLatin1String("S") ? m_par.servico : Currency()));
}

void TdmResPedido::calcularPedido(RecordSet& p) {
    const Currency total = p.field(QStringLiteral("PED_TOTAL")).asCurrency();
    const Currency servico = (total * p.field(QStringLiteral("PED_ACRESCIMO")).asCurrency() / Currency(100)).roundUp2();
    Currency couvert;
    const qint64 couverts = p.field(QStringLiteral("PED_QTDE_COVERT")).asInteger();
    if (couverts > 0)
        couvert = Currency(couverts) * m_par.couvert;
    p.field(QStringLiteral("auxVlrAcrescimo")).setValue(QVariant::fromValue(servico));
    p.field(QStringLiteral("auxVlrCouvert")).setValue(QVariant::fromValue(couvert));
    p.field(QStringLiteral("auxTotalAcrescimo"))
        .setValue(QVariant::fromValue(total + servico + couvert - p.field(QStringLiteral("PED_DESC_VLR")).asCurrency()));
    p.field(QStringLiteral("AUXPESSOA"))
        .setValue(nomePessoa(int(p.field(QStringLiteral("CODCONTROLE")).asInteger()),
                             int(p.field(QStringLiteral("CODPESSOA")).asInteger())));
}

QString TdmResPedido::nomePessoa(int mesa, int codpessoa) {
    const QString chave = QStringLiteral("%1/%2").arg(mesa).arg(codpessoa);
    if (chave == m_chavePessoa)
        return m_nomePessoa;
    QString nome;
    if (mesa >= 1000 && TdmConfiguracao::gerarInstance().getStr(QStringLiteral("PRORH.PERFIL")) == QLatin1String("S"))
        nome = m_db.scalar(QStringLiteral(" select PES_NOME from PESSOA  where PES_MATRICULA = ") + quotedStr(QString::number(mesa))).toString();
    if (codpessoa > 0) {
        const auto rs = m_db.query(QStringLiteral(" select PES_NOME , pes_celular from PESSOA  where CODPESSOA = :C"),
                                   {{QStringLiteral("C"), codpessoa}});
        if (!rs->isEmpty())
            nome = rs->field(0).asString() + QStringLiteral(" || ") + rs->field(1).asString();
    }
    m_chavePessoa = chave;
    m_nomePessoa = nome.left(60);
    return m_nomePessoa;
}

void TdmResPedido::definirItens() {
    m_item = std::make_unique<RecordSet>(m_db);
    RecordSet& i = *m_item;
    i.setObjectName(QStringLiteral("cdsResPedidoItem")); // the ticket module tells item sources by name
    i.addField(QStringLiteral("CODPEDIDOITEM"), T::Integer).setRequired(true);
    i.addField(QStringLiteral("CODPEDIDO"), T::Integer).setRequired(true);
    i.addField(QStringLiteral("CODPRODUTO"), T::Integer).setRequired(true);
    i.addField(QStringLiteral("CODPESQUISA"), T::String, 20).setDisplayLabel(QStringLiteral("Cod.Pesq"));
    i.addField(QStringLiteral("CODGARCON"), T::Integer).setDisplayFormat(QStringLiteral("00"));
    i.addField(QStringLiteral("PEDI_QTDE"), T::Currency).setDisplayFormat(QStringLiteral(",0.000"));
    i.addField(QStringLiteral("PEDI_VLRUNIT"), T::Currency).setDisplayFormat(QStringLiteral(",0.00"));
    i.addField(QStringLiteral("PEDI_TOTAL"), T::Currency).setDisplayFormat(QStringLiteral(",0.00"));
    i.addField(QStringLiteral("PEDI_STATUS"), T::String, 10).setRequired(true);
    i.addField(QStringLiteral("PEDI_LAN_USUARIO"), T::String, 30);
    i.addField(QStringLiteral("PEDI_LAN_DATA"), T::DateTime).setDisplayLabel(QStringLiteral("Lançamento"));
    i.addField(QStringLiteral("PEDI_CAN_USUARIO"), T::String, 30);
    i.addField(QStringLiteral("PEDI_CAN_MOTIVO"), T::String, 100);
    i.addField(QStringLiteral("PEDI_CAN_DATA"), T::DateTime);
    i.addField(QStringLiteral("PEDI_OBS"), T::String, 100).setDisplayLabel(QStringLiteral("Observação"));
    i.addField(QStringLiteral("AUX"), T::String, 1);
    i.addField(QStringLiteral("CODPEDIDOITEM_PERSON"), T::Integer);
    i.addField(QStringLiteral("CODCONTROLE_ORIGEM"), T::Integer);
    somenteLeitura(i, "PRO_DESCRICAO", T::String, 150);
    somenteLeitura(i, "PRO_ALT_PRECO", T::String, 1);
    somenteLeitura(i, "PRO_ESTQ_ATUAL", T::Currency);
    i.field(QStringLiteral("PRO_ESTQ_ATUAL")).setDisplayLabel(QStringLiteral("Estoque Atual"));
    for (const char* flag : {"PRO_IMP_COZINHA", "PRO_IMP_BAR", "PRO_IMP_PIZZA", "PRO_IMP_CHURRASQUEIRA"})
        somenteLeitura(i, flag, T::String, 1);
    somenteLeitura(i, "PRO_PRECO01", T::Currency); // the product's current price (partial cancellations)
    somenteLeitura(i, "CODCONTROLE", T::Integer);  // the order's table, read by the tickets
    i.addField(QStringLiteral("auxItem"), T::String, 5, FieldKind::Calculated).setDisplayLabel(QStringLiteral("Item"));
    i.addField(QStringLiteral("auxRecNo"), T::Integer, 0, FieldKind::Calculated);
    i.setCommandText(QStringLiteral(
        "select i.CODPEDIDOITEM, i.CODPEDIDO, i.CODPRODUTO, i.CODPESQUISA, i.CODGARCON, i.PEDI_QTDE, i.PEDI_VLRUNIT, "
        "i.PEDI_TOTAL, i.PEDI_STATUS, i.PEDI_LAN_USUARIO, i.PEDI_LAN_DATA, i.PEDI_CAN_USUARIO, i.PEDI_CAN_MOTIVO, "
        "i.PEDI_CAN_DATA, i.PEDI_OBS, i.AUX, i.CODPEDIDOITEM_PERSON, i.CODCONTROLE_ORIGEM, p.PRO_DESCRICAO, "
        "p.PRO_ALT_PRECO, p.PRO_ESTQ_ATUAL, p.PRO_IMP_COZINHA, p.PRO_IMP_BAR, p.PRO_IMP_PIZZA, p.PRO_IMP_CHURRASQUEIRA, "
        "p.PRO_PRECO01, r.CODCONTROLE from RES_PEDIDO_ITEM i join PRODUTO p on p.CODPRODUTO = i.CODPRODUTO "
        "join RES_PEDIDO r on r.CODPEDIDO = i.CODPEDIDO where i.CODPEDIDO = :CODPEDIDO order by i.CODPEDIDOITEM"));
    i.setUpdateTable(QStringLiteral("RES_PEDIDO_ITEM"));
    i.setKeyFields({QStringLiteral("CODPEDIDOITEM")});
    i.onNewRecord = [this](RecordSet& rs) { novoItem(rs); };
    i.beforePost = [this](RecordSet& rs) {
        ResPedidoItem_CalculaTotal();
        RecordSet& p = *m_pedido;
        if (!p.active() || (p.isEmpty() && !editando(p)))
            return;
        if (!editando(p))
            p.edit();
        p.field(QStringLiteral("CODGARCON")).setValue(rs.field(QStringLiteral("CODGARCON")).value());
    };
    i.onCalcFields = [this](RecordSet& rs) {
        const qint64 chave = rs.field(QStringLiteral("CODPEDIDOITEM")).asInteger();
        auto it = m_posicao.find(chave);
        if (it == m_posicao.end())
            it = m_posicao.insert(chave, int(m_posicao.size()) + 1);
        rs.field(QStringLiteral("auxRecNo")).setValue(*it);
        const bool opcao = rs.field(QStringLiteral("CODPEDIDOITEM_PERSON")).asInteger() >= 1;
        rs.field(QStringLiteral("auxItem")).setValue(opcao ? QString() : PadL(QString::number(*it), 5, u' '));
    };
    i.field(QStringLiteral("CODPESQUISA")).onValidate = [this](Field& f) { validarCodPesquisa(f); };
    auto quantidade = [this](Field& f) {
        if (f.asCurrency() < Currency())
            Error(QStringLiteral("A quantidade está menor que zero!"));
        ResPedidoItem_CalculaTotal();
    };
    i.field(QStringLiteral("PEDI_QTDE")).onValidate = quantidade;
    i.field(QStringLiteral("PEDI_VLRUNIT")).onValidate = [this](Field&) { ResPedidoItem_CalculaTotal(); };
}

void TdmResPedido::novoItem(RecordSet& i) {
    RecordSet& p = *m_pedido;
    i.field(QStringLiteral("CODPEDIDO")).setValue(p.field(QStringLiteral("CODPEDIDO")).value());
    i.field(QStringLiteral("CODCONTROLE")).setValue(p.field(QStringLiteral("CODCONTROLE")).value());
    i.field(QStringLiteral("CODPEDIDOITEM")).setValue(m_db.getGeneretor(QStringLiteral("GEN_RES_PEDIDO_ITEM")));
    i.field(QStringLiteral("PEDI_QTDE")).setValueSilently(1);
    i.field(QStringLiteral("PEDI_VLRUNIT")).setValueSilently(0);
    i.field(QStringLiteral("PEDI_TOTAL")).setValue(0);
    i.field(QStringLiteral("PEDI_STATUS")).setValue(QStringLiteral("NORMAL"));
    i.field(QStringLiteral("PEDI_LAN_USUARIO")).setValue(TdmAcesso::gerarInstance().usuario().nome.left(30));
    if (m_dataMovimento)
        i.field(QStringLiteral("PEDI_LAN_DATA")).setValue(*m_dataMovimento);
    QVariant garcon = p.field(QStringLiteral("CODGARCON")).value();
    if (m_garconPredefinido > 0 && !m_par.selecionarGarcon)
        garcon = m_garconPredefinido;
    i.field(QStringLiteral("CODGARCON")).setValue(garcon);
}

void TdmResPedido::validarCodPesquisa(Field& f) {
    RecordSet& i = f.recordSet();
    static const char* const colunas[] = {"PRO_DESCRICAO",   "CODPRODUTO",    "PEDI_VLRUNIT",
                                          "PRO_ALT_PRECO",   "PRO_IMP_COZINHA", "PRO_ESTQ_ATUAL",
                                          "PRO_IMP_BAR",     "PRO_IMP_PIZZA", "PRO_IMP_CHURRASQUEIRA"};
    const QString codigo = f.asString().trimmed();
    if (codigo.isEmpty()) {
        for (const char* c : colunas)
            if (QLatin1String(c) != QLatin1String("PEDI_VLRUNIT"))
                i.field(QString::fromLatin1(c)).setValueSilently(QVariant());
        return;
    }
    // A code that names no product is refused: the item keeps the product it had.
    TwbtPesquisa& pesquisa = produtos().pesquisa();
    if (!pesquisa.Localizar(codigo, false))
        Error(QStringLiteral("Produto não encontrado! (Cód. Pesquisa: %1)").arg(codigo));
    QList<Field*> campos;
    for (const char* c : colunas)
        campos << &i.field(QString::fromLatin1(c));
    pesquisa.Complementar(campos);
}

void TdmResPedido::definirPerso() {
    m_perso = std::make_unique<RecordSet>(m_db);
    RecordSet& o = *m_perso;
    o.setObjectName(QStringLiteral("cdsResPedidoItemPerso")); // the ticket module tells item sources by name
    o.addField(QStringLiteral("CODRESPEDIDOITEMPERSO"), T::Integer).setRequired(true);
    o.addField(QStringLiteral("CODPEDIDOITEM"), T::Integer);
    o.addField(QStringLiteral("CODPRODUTO"), T::Integer);
    o.addField(QStringLiteral("CODGRUPOPERSONALIZACAO"), T::Integer);
    o.addField(QStringLiteral("PEDI_VLRUNIT"), T::Currency).setDisplayFormat(QStringLiteral(",0.00"));
    o.addField(QStringLiteral("CODPEDIDO"), T::Integer);
    somenteLeitura(o, "PRO_CODPESQ_1", T::String, 20);
    somenteLeitura(o, "PRO_DESCRICAO", T::String, 150);
    somenteLeitura(o, "GRPP_DESCRICAO", T::String, 30);
    o.field(QStringLiteral("GRPP_DESCRICAO")).setDisplayLabel(QStringLiteral("Grupo"));
    o.setCommandText(QStringLiteral(
        "select o.CODRESPEDIDOITEMPERSO, o.CODPEDIDOITEM, o.CODPRODUTO, o.CODGRUPOPERSONALIZACAO, o.PEDI_VLRUNIT, "
        "o.CODPEDIDO, p.PRO_CODPESQ_1, p.PRO_DESCRICAO, g.GRPP_DESCRICAO from RES_PEDIDO_ITEM_PERSO o "
        "left join PRODUTO p on p.CODPRODUTO = o.CODPRODUTO "
        "left join GRUPO_PERSONALIZACAO g on g.CODGRUPOPERSONALIZACAO = o.CODGRUPOPERSONALIZACAO "
        "where o.CODPEDIDO = :CODPEDIDO order by o.CODRESPEDIDOITEMPERSO"));
    o.setUpdateTable(QStringLiteral("RES_PEDIDO_ITEM_PERSO"));
    o.setKeyFields({QStringLiteral("CODRESPEDIDOITEMPERSO")});
    o.onNewRecord = [this](RecordSet& rs) {
        rs.field(QStringLiteral("CODRESPEDIDOITEMPERSO"))
            .setValue(m_db.getGeneretor(QStringLiteral("GEN_RES_PEDIDO_ITEM_PERSO")));
        rs.field(QStringLiteral("CODPEDIDOITEM")).setValue(m_item->field(QStringLiteral("CODPEDIDOITEM")).value());
        rs.field(QStringLiteral("CODPEDIDO")).setValue(m_item->field(QStringLiteral("CODPEDIDO")).value());
    };
}

void TdmResPedido::definirConta() {
    m_conta = std::make_unique<RecordSet>(m_db);
    RecordSet& c = *m_conta;
    c.setObjectName(QStringLiteral("cdsResPedidoConta")); // the ticket module tells item sources by name
    c.addField(QStringLiteral("CODPEDIDOCONTA"), T::Integer).setRequired(true);
    c.addField(QStringLiteral("CODPEDIDO"), T::Integer);
    c.addField(QStringLiteral("CODMOEDA"), T::Integer);
    c.addField(QStringLiteral("PEDC_VALOR"), T::Currency).setDisplayFormat(QStringLiteral(",0.00"));
    c.setCommandText(QStringLiteral("select CODPEDIDOCONTA, CODPEDIDO, CODMOEDA, PEDC_VALOR from RES_PEDIDO_CONTA "
                                    "where CODPEDIDO = :CODPEDIDO order by CODPEDIDOCONTA"));
    c.setUpdateTable(QStringLiteral("RES_PEDIDO_CONTA"));
    c.setKeyFields({QStringLiteral("CODPEDIDOCONTA")});
    c.onNewRecord = [this](RecordSet& rs) {
        rs.field(QStringLiteral("CODPEDIDOCONTA")).setValue(m_db.getGeneretor(QStringLiteral("GEN_RES_PEDIDO_CONTA")));
        rs.field(QStringLiteral("CODPEDIDO")).setValue(m_pedido->field(QStringLiteral("CODPEDIDO")).value());
    };
}

} // namespace kvo
