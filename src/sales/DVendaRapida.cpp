#include "sales/DVendaRapida.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "devices/FiscalPrinter.h"
#include "devices/FiscalPrinterState.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "restaurant/extrato/TotaisPedido.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

namespace kvo {

namespace {

QString reais(Currency v) { return formatFloat(u",0.00", v); }

// The printer's tax code of a product: substitution "F", exempt "I", not
// taxed "N", otherwise "T" and the ICMS rate ("F" when there is none, as a
// Simples Nacional shop's restaurant items are).
QString aliquotaECF(const QString& cst, const QString& csosn, Currency aliquota) {
    const QString c = cst.trimmed().right(2);
    const QString s = csosn.trimmed();
    if (c == u"60" || c == u"10" || c == u"30" || c == u"70" || s == u"500" || s == u"201" || s == u"202")
        return QStringLiteral("F");
    if (c == u"40" || s == u"300")
        return QStringLiteral("I");
    if (c == u"41" || c == u"50" || s == u"400")
        return QStringLiteral("N");
    const int inteira = int(aliquota.raw() / Currency::Scale);
    if (s.isEmpty() && inteira > 0 && inteira < 100)
        return QStringLiteral("T%1").arg(inteira, 2, 10, QLatin1Char('0'));
    return QStringLiteral("F");
}

// What the printer will charge for an item: quantity times price cut to cents.
Currency brutoNoCupom(const ItemVendaRapida& i) {
    CupomFiscalItem c;
    c.quantidade = i.qtde;
    c.valorUnitario = i.vlrUnit;
    return c.bruto();
}

const QString ColunasProduto = QStringLiteral("p.PRO_CODPESQ_1, p.PRO_DESCRICAO, p.PRO_CST, p.PRO_CSOSN, "
                                              "p.PRO_ALIQ_ICMS");

void lerProduto(ItemVendaRapida& item, RecordSet& rs, int primeira) {
    item.codPesquisa = rs.field(primeira).asString().trimmed();
    item.descricao = rs.field(primeira + 1).asString().trimmed();
    item.aliquota = aliquotaECF(rs.field(primeira + 2).asString(), rs.field(primeira + 3).asString(),
                                rs.field(primeira + 4).asCurrency());
}

} // namespace

TdmVendaRapida::TdmVendaRapida()
    : TdmVendaRapida(TdmAcesso::gerarInstance().sqlCon(), TdmConfiguracao::gerarInstance()) {}

TdmVendaRapida::TdmVendaRapida(Database& db, TdmConfiguracao& cfg)
    : m_db(db), m_cfg(cfg), m_produto(std::make_unique<TdmProduto>(db)) {}

TdmVendaRapida::~TdmVendaRapida() = default;

void TdmVendaRapida::limpar() {
    m_mesa = 0;
    m_pedido = 0;
    m_itens.clear();
    m_totais = {};
    m_anteriores.clear();
    m_pagamentos.clear();
}

void TdmVendaRapida::novaVendaBalcao() { limpar(); }

void TdmVendaRapida::carregarMesa(int mesa) {
    limpar();
    const QVariant pedido = m_db.scalar(
        QStringLiteral("select CODPEDIDO from RES_PEDIDO where CODCONTROLE = :M and PED_STATUS = 'ABERTO'"),
        {{QStringLiteral("M"), mesa}});
    if (pedido.isNull())
        Error(QStringLiteral("Nenhuma movimentação nessa mesa!"));
    m_mesa = mesa;
    m_pedido = pedido.toLongLong();
    m_itens = lerItensMesa(m_pedido);
    auto splits = m_db.query(QStringLiteral("select c.CODMOEDA, m.MOE_DESCRICAO, sum(c.PEDC_VALOR) from "
                                            "RES_PEDIDO_CONTA c left join MOEDA m on m.CODMOEDA = c.CODMOEDA "
                                            "where c.CODPEDIDO = :P group by 1, 2"),
                             {{QStringLiteral("P"), m_pedido}});
    for (splits->first(); !splits->eof(); splits->next()) {
        QString nome = splits->field(1).asString().trimmed();
        if (nome.isEmpty())
            nome = QStringLiteral("Pagamento anterior");
        m_anteriores.append({{int(splits->field(0).asInteger()), nome, false}, splits->field(2).asCurrency()});
    }
}

// The order's "NORMAL" items with their product, and the amounts of its bill.
QList<ItemVendaRapida> TdmVendaRapida::lerItensMesa(qint64 pedido) {
    const DadosExtrato d = dadosTotaisPedido(m_db, m_cfg, pedido);
    const TotaisExtrato t = calcularTotais(d);
    m_totais.consumo = t.consumo;
    m_totais.servico = t.servico;
    m_totais.couvert = t.couvert;
    m_totais.desconto = d.ajustes.desconto;
    m_totais.jaPago = d.ajustes.pago;
    // Item rows keep four decimals (weighed items): what is paid, and printed,
    // is the bill's total in cents.
    m_totais.total = t.total.roundHalfUp(2);
    m_totais.servicoAParte = d.comprovanteTaxa;
    auto rs = m_db.query(QStringLiteral("select i.CODPRODUTO, i.PEDI_QTDE, i.PEDI_VLRUNIT, i.PEDI_TOTAL, ") +
                             ColunasProduto +
                             QStringLiteral(" from RES_PEDIDO_ITEM i join PRODUTO p on p.CODPRODUTO = i.CODPRODUTO "
                                            "where i.CODPEDIDO = :P and i.PEDI_STATUS = 'NORMAL' "
                                            "order by i.CODPEDIDOITEM"),
                         {{QStringLiteral("P"), pedido}});
    QList<ItemVendaRapida> itens;
    for (rs->first(); !rs->eof(); rs->next()) {
        ItemVendaRapida item;
        item.codProduto = rs->field(0).asInteger();
        item.qtde = rs->field(1).asCurrency();
        item.vlrUnit = rs->field(2).asCurrency();
        item.total = rs->field(3).asCurrency();
        lerProduto(item, *rs, 4);
        itens << item;
    }
    return itens;
}

bool TdmVendaRapida::adicionarItem(const QString& codPesquisa, Currency qtde) {
    if (fechandoMesa())
        Error(QStringLiteral("Os itens da mesa são lançados no pedido da mesa."));
    if (qtde <= Currency())
        Error(QStringLiteral("Quantidade invalida!"));
    TwbtPesquisa& pesquisa = m_produto->pesquisa();
    if (codPesquisa.trimmed().isEmpty() || !pesquisa.Localizar(codPesquisa.trimmed(), false))
        Error(QStringLiteral("Produto não encontrado!"));
    const qint64 codigo = pesquisa.encontrado()->field(QStringLiteral("CODPRODUTO")).asInteger();
    if (!m_produto->validaEstoque(int(codigo), qtde))
        return false;
    auto rs = m_db.query(QStringLiteral("select p.PRO_PRECO01, ") + ColunasProduto +
                             QStringLiteral(" from PRODUTO p where p.CODPRODUTO = :P"),
                         {{QStringLiteral("P"), codigo}});
    ItemVendaRapida item;
    item.codProduto = codigo;
    item.qtde = qtde;
    item.vlrUnit = rs->field(0).asCurrency();
    lerProduto(item, *rs, 1);
    item.total = brutoNoCupom(item);
    m_itens << item;
    m_totais.consumo += item.total;
    m_totais.total += item.total;
    return true;
}

TotaisVendaRapida TdmVendaRapida::totais() const { return m_totais; }

QList<MoedaVendaRapida> TdmVendaRapida::moedas() const {
    if (m_moedas)
        return *m_moedas;
    auto rs = m_db.query(QStringLiteral("select CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG from MOEDA order by "
                                        "case when MOE_NFE_PAG = '01' then 0 else 1 end, CODMOEDA"));
    QList<MoedaVendaRapida> out;
    for (rs->first(); !rs->eof(); rs->next())
        out.append({int(rs->field(0).asInteger()), rs->field(1).asString().trimmed(),
                    rs->field(2).asString().trimmed() == u"01"});
    m_moedas = out;
    return out;
}

MoedaVendaRapida TdmVendaRapida::moeda(int codigo) const {
    for (const MoedaVendaRapida& m : moedas())
        if (m.codigo == codigo)
            return m;
    Error(QStringLiteral("Tipo de moeda %1 não cadastrado!").arg(codigo));
}

void TdmVendaRapida::adicionarPagamento(int codMoeda, Currency valor) {
    const MoedaVendaRapida m = moeda(codMoeda);
    if (valor <= Currency())
        Error(QStringLiteral("Informe um valor maior que zero."));
    if (falta() <= Currency())
        Error(QStringLiteral("Não há valor a pagar."));
    if (!m.dinheiro && valor > falta())
        Error(QStringLiteral("Troco somente em dinheiro: o valor em %1 não pode passar de R$ %2.")
                  .arg(m.descricao, reais(falta())));
    m_pagamentos.append({m, valor});
}

void TdmVendaRapida::removerPagamento(int indice) {
    if (indice >= 0 && indice < m_pagamentos.size())
        m_pagamentos.removeAt(indice);
}

Currency TdmVendaRapida::pago() const {
    Currency soma;
    for (const PagamentoVendaRapida& p : m_pagamentos)
        soma += p.valor;
    return soma;
}

Currency TdmVendaRapida::falta() const {
    const Currency resto = m_totais.total - pago();
    return resto > Currency() ? resto : Currency();
}

Currency TdmVendaRapida::troco() const {
    const Currency resto = pago() - m_totais.total;
    return resto > Currency() ? resto : Currency();
}

// The order becomes ours before anything is printed: while it is "ABERTO" it
// is set "FECHADO"; a row another terminal holds is waited for a while.
void TdmVendaRapida::reivindicarPedido() {
    const int linhas = m_db.executeSQL(
        QStringLiteral("update RES_PEDIDO set PED_STATUS = 'FECHADO', PED_DATA_FINAL = :AGORA "
                       "where CODPEDIDO = :P and PED_STATUS = 'ABERTO'"),
        {{QStringLiteral("AGORA"), Clock::now()}, {QStringLiteral("P"), m_pedido}});
    if (linhas == 0)
        Error(QStringLiteral("Mesa já foi fechada em outro terminal."));
    const TotaisVendaRapida mostrados = m_totais;
    const QList<ItemVendaRapida> atuais = lerItensMesa(m_pedido);
    const bool iguais = atuais == m_itens && m_totais.total == mostrados.total;
    m_totais = mostrados;
    if (!iguais)
        Error(QStringLiteral("A mesa foi alterada em outro terminal. Carregue a mesa novamente antes de fechar."));
}

CupomEmitido TdmVendaRapida::fechar(FiscalPrinter& ecf) {
    if (!ecf.Ativo())
        Error(QStringLiteral("Impressora (ECF) não disponível!"));
    if (m_itens.isEmpty())
        Error(QStringLiteral("Nenhum item para fechar!"));
    if (falta() > Currency())
        Error(QStringLiteral("Pagamento insuficiente. Falta R$ %1.").arg(reais(falta())));
    const QString mesaAberta = fechandoMesa() ? QStringLiteral(" A mesa continua aberta.") : QString();
    CupomEmitido cupom;
    QElapsedTimer espera;
    espera.start();
    for (;;) {
        m_cupomIniciado = false;
        try {
            Transaction tx(m_db);
            if (fechandoMesa())
                reivindicarPedido();
            gravar(ecf, cupom);
            tx.commit();
            break;
        } catch (const DatabaseError& e) {
            // Only the claim is retried: nothing went to the printer yet.
            const bool conflito = e.kind() == DatabaseError::Kind::LockConflict;
            if (conflito && !m_cupomIniciado && espera.elapsed() < m_esperaMs) {
                QThread::msleep(50 + QRandomGenerator::global()->bounded(100));
                continue;
            }
            if (conflito && cupom.coo == 0)
                Error(QStringLiteral("A mesa está sendo alterada em outro terminal. Tente novamente.%1").arg(mesaAberta));
            if (cupom.coo != 0)
                Error(QStringLiteral("O cupom fiscal %1 foi impresso, mas a venda não foi gravada: %2")
                          .arg(cupom.coo)
                          .arg(e.message()));
            throw;
        }
    }
    m_pagamentos.clear();
    return cupom;
}

// Inside the claiming transaction: the coupon up to its payments, the rows,
// then the closing command; a printer failure cancels what it opened.
void TdmVendaRapida::gravar(FiscalPrinter& ecf, CupomEmitido& cupom) {
    bool aberto = false;
    m_cupomIniciado = true;
    try {
        ecf.AbreCupom({}, {}, {});
        aberto = true;
        Currency noCupom;
        for (const ItemVendaRapida& i : m_itens) {
            ecf.VendeItem(i.codPesquisa, i.descricao, i.aliquota, i.qtde, i.vlrUnit, {}, i.unidade,
                          QStringLiteral("$"), QStringLiteral("D"), -1);
            noCupom += brutoNoCupom(i);
        }
        // Service, cover and discount; also any cent the item rows were
        // rounded differently from the printer, so the coupon ends at the
        // amount the screen showed.
        const Currency totalCupom = m_totais.total + m_totais.jaPago;
        ecf.SubTotalizaCupom(totalCupom - noCupom);
        for (const PagamentoVendaRapida& p : m_anteriores)
            ecf.EfetuaPagamento(p.moeda.descricao, p.valor);
        for (const PagamentoVendaRapida& p : m_pagamentos)
            ecf.EfetuaPagamento(p.moeda.descricao, p.valor);
        cupom.numEcf = ecf.NumECF().toInt();
        cupom.coo = ecf.NumCupom().toInt();
        cupom.ccf = ecf.NumCCF().toInt();
        cupom.total = totalCupom;
        cupom.troco = troco();

        const QDateTime agora = Clock::now();
        cupom.codPedEcf = int(m_db.getGeneretor(QStringLiteral("GEN_PEDECF")));
        m_db.executeSQL(QStringLiteral("insert into PEDECF (CODPEDECF, CODPEDIDO, PECF_DATA, PECF_STATUS, "
                                       "PECF_NUMECF, PECF_COO, PECF_CCF, PECF_TOTAL) values (:C, :P, :D, "
                                       "'FINALIZADO', :E, :COO, :CCF, :T)"),
                        {{QStringLiteral("C"), cupom.codPedEcf},
                         {QStringLiteral("P"), fechandoMesa() ? QVariant(m_pedido) : QVariant()},
                         {QStringLiteral("D"), agora},
                         {QStringLiteral("E"), cupom.numEcf},
                         {QStringLiteral("COO"), cupom.coo},
                         {QStringLiteral("CCF"), cupom.ccf},
                         {QStringLiteral("T"), QVariant::fromValue(cupom.total)}});
        int n = 0;
        for (const ItemVendaRapida& i : m_itens) {
            m_db.executeSQL(QStringLiteral("insert into PEDECF_ITEM (CODPEDECFITEM, CODPEDECF, CODPRODUTO, "
                                           "PECFI_ITEM, PECFI_QTDE, PECFI_VLRUNIT, PECFI_TOTAL, PECFI_DESCRICAO) "
                                           "values (gen_id(GEN_PEDECF_ITEM, 1), :C, :P, :N, :Q, :V, :T, :D)"),
                            {{QStringLiteral("C"), cupom.codPedEcf},
                             {QStringLiteral("P"), i.codProduto},
                             {QStringLiteral("N"), ++n},
                             {QStringLiteral("Q"), QVariant::fromValue(i.qtde)},
                             {QStringLiteral("V"), QVariant::fromValue(i.vlrUnit)},
                             {QStringLiteral("T"), QVariant::fromValue(i.total)},
                             {QStringLiteral("D"), i.descricao}});
            if (!fechandoMesa()) { // the table's stock went out when it was posted
                const QString sql = m_produto->sqlMovimentarEstoqueNormal(int(i.codProduto), i.qtde, 2,
                                                                          QStringLiteral("PEDECF"), cupom.codPedEcf);
                if (!sql.isEmpty())
                    m_db.executeSQL(sql);
            }
        }
        // The change comes out of the last cash payment.
        int ultimoDinheiro = -1;
        for (int k = 0; k < m_pagamentos.size(); ++k)
            if (m_pagamentos[k].moeda.dinheiro)
                ultimoDinheiro = k;
        for (int k = 0; k < m_pagamentos.size(); ++k)
            m_db.executeSQL(QStringLiteral("insert into PEDECF_PAGAMENTO (CODPEDECFPAGAMENTO, CODPEDECF, CODMOEDA, "
                                           "PECFP_VALOR, PECFP_TROCO) values (gen_id(GEN_PEDECF_PAGAMENTO, 1), "
                                           ":C, :M, :V, :T)"),
                            {{QStringLiteral("C"), cupom.codPedEcf},
                             {QStringLiteral("M"), m_pagamentos[k].moeda.codigo},
                             {QStringLiteral("V"), QVariant::fromValue(m_pagamentos[k].valor)},
                             {QStringLiteral("T"), QVariant::fromValue(k == ultimoDinheiro ? cupom.troco : Currency())}});
        if (fechandoMesa())
            m_db.executeSQL(QStringLiteral("execute procedure STP_REST_AVALIA_CONTROLE(:M)"),
                            {{QStringLiteral("M"), m_mesa}});
        ecf.FechaCupom({fechandoMesa() ? QStringLiteral("Mesa %1").arg(m_mesa, 4, 10, QLatin1Char('0'))
                                       : QStringLiteral("Venda balcão")});
        aberto = false;
    } catch (...) {
        QString cancelamento;
        if (aberto) {
            try {
                ecf.CancelaCupom();
            } catch (const FiscalPrinterError& e) {
                cancelamento = QStringLiteral(" O cupom não pôde ser cancelado: %1").arg(e.message());
            }
        }
        cupom = {};
        try {
            throw;
        } catch (const FiscalPrinterError& e) {
            Error(QStringLiteral("Cupom fiscal não impresso: %1.%2%3")
                      .arg(e.message().endsWith(u'.') ? e.message().chopped(1) : e.message(),
                           fechandoMesa() ? QStringLiteral(" A mesa continua aberta.") : QString(), cancelamento));
        }
    }
}

} // namespace kvo
