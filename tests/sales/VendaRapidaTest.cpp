#include "VendaRapidaFixture.h"

#include "sales/DVendaRapida.h"

using namespace kvo;
using namespace kvo::test;

namespace {

class VendaRapida : public VendaRapidaFixture {
protected:
    void SetUp() override {
        VendaRapidaFixture::SetUp();
        dm = std::make_unique<TdmVendaRapida>(t.db(), cfg());
    }
    std::unique_ptr<TdmVendaRapida> dm;
    TdmVendaRapida& venda() { return *dm; }

    // Table 1 (service 10 %) with 2 X-BURGUER and 1 REFRIGERANTE, two covers and a discount of 1,00.
    int mesaComConsumo() {
        const int pedido = lancar(1, {{QStringLiteral("1001"), Currency(2)}, {QStringLiteral("2001"), Currency(1)}});
        t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_ACRESCIMO = 10, PED_QTDE_COVERT = 2, "
                                     "PED_DESC_VLR = 1 where CODPEDIDO = %1").arg(pedido));
        return pedido;
    }
    QString erroDe(const std::function<void()>& f) {
        try {
            f();
        } catch (const Abort& e) {
            return e.message();
        }
        return QStringLiteral("<sem erro>");
    }
};

} // namespace

TEST_F(VendaRapida, TableIsClosedOnTheCouponWithCashAndCard) {
    const int pedido = mesaComConsumo();
    const Currency estoqueAntes = estoque(1);
    venda().carregarMesa(1);
    ASSERT_EQ(venda().itens().size(), 2);
    const TotaisVendaRapida tot = venda().totais();
    EXPECT_EQ(tot.consumo, cur("56.30"));
    EXPECT_EQ(tot.servico, cur("5.63"));
    EXPECT_EQ(tot.couvert, cur("16.00"));
    EXPECT_EQ(tot.desconto, cur("1.00"));
    EXPECT_EQ(tot.total, cur("76.93"));

    venda().adicionarPagamento(2, cur("30.00"));
    EXPECT_EQ(venda().falta(), cur("46.93"));
    venda().adicionarPagamento(1, cur("50.00"));
    EXPECT_EQ(venda().falta(), Currency());
    EXPECT_EQ(venda().troco(), cur("3.07"));
    const int cooAntes = ecf->estado().coo, ccfAntes = ecf->estado().ccf;
    const CupomEmitido c = venda().fechar(*ecf);

    // The printer: one document, one fiscal coupon, the grand total and the payment totals.
    EXPECT_EQ(ecf->estado().coo, cooAntes + 1);
    EXPECT_EQ(ecf->estado().ccf, ccfAntes + 1);
    EXPECT_EQ(ecf->estado().grandeTotal, cur("76.93"));
    EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("Dinheiro")), cur("50.00"));
    EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("Cartão de crédito")), cur("30.00"));
    EXPECT_EQ(ecf->estado().totalTroco, cur("3.07"));
    EXPECT_FALSE(ecf->estado().cupom);
    ASSERT_EQ(papel->documents.size(), 1);
    EXPECT_TRUE(papel->text(0).contains(u"ACRESCIMO R$                               20,63")) << qPrintable(papel->text(0));

    // The database: the coupon with its items and payments, the order closed, the table free.
    EXPECT_EQ(c.coo, ecf->estado().coo);
    EXPECT_EQ(c.troco, cur("3.07"));
    EXPECT_EQ(texto(QStringLiteral("select PECF_STATUS || '|' || PECF_COO || '|' || PECF_CCF || '|' || PECF_NUMECF "
                                   "|| '|' || CODPEDIDO from PEDECF")),
              QStringLiteral("FINALIZADO|%1|%2|1|%3").arg(c.coo).arg(c.ccf).arg(pedido));
    EXPECT_EQ(dinheiro(QStringLiteral("select PECF_TOTAL from PEDECF")), cur("76.93"));
    EXPECT_EQ(texto(QStringLiteral("select list(CODPRODUTO || 'x' || cast(PECFI_QTDE as integer), ',') from "
                                   "(select CODPRODUTO, PECFI_QTDE from PEDECF_ITEM order by PECFI_ITEM)")),
              u"1x2,2x1");
    EXPECT_EQ(texto(QStringLiteral("select list(CODMOEDA || ':' || cast(PECFP_VALOR as numeric(18,2)) || ':' || "
                                   "cast(PECFP_TROCO as numeric(18,2)), ' ') from (select * from PEDECF_PAGAMENTO "
                                   "order by CODPEDECFPAGAMENTO)")),
              u"2:30.00:0.00 1:50.00:3.07");
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)), u"FECHADO");
    EXPECT_EQ(t->scalar(QStringLiteral("select PED_DATA_FINAL from RES_PEDIDO where CODPEDIDO = %1").arg(pedido))
                  .toDateTime(),
              Clock::now());
    EXPECT_EQ(texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 1")), u"LIVRE");
    EXPECT_EQ(estoque(1), estoqueAntes) << "posting moved the stock already";
    EXPECT_TRUE(venda().pagamentos().isEmpty());
}

TEST_F(VendaRapida, ServiceIsRoundedUpToTheCentAsOnTheBill) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01) "
                                 "values (9, '9001', 'PRATO', 33.33)"));
    const struct {
        const char* codigo;
        int qtde;
        const char* servico;
    } casos[] = {{"9001", 1, "3.34"}, {"3001", 1, "1.15"}, {"1001", 1, "2.49"}, {"2001", 2, "1.30"}};
    int k = 0;
    for (const auto& c : casos) {
        const int mesa = 1 + k++ % 3;
        const int pedido = lancar(mesa, {{QLatin1String(c.codigo), Currency(c.qtde)}});
        t->executeSQL(QStringLiteral("update RES_PEDIDO set PED_ACRESCIMO = 10 where CODPEDIDO = %1").arg(pedido));
        venda().carregarMesa(mesa);
        EXPECT_EQ(venda().totais().servico, cur(c.servico)) << c.codigo;
        EXPECT_EQ(venda().totais().total, venda().totais().consumo + cur(c.servico)) << c.codigo;
        venda().adicionarPagamento(3, venda().falta());
        venda().fechar(*ecf);
    }
    EXPECT_EQ(ecf->estado().ccf, 4);
}

// With the service on a receipt of its own the bill's total leaves it out,
// and so does the coupon.
TEST_F(VendaRapida, ServiceOnItsOwnReceiptIsShownButNotCharged) {
    cfg().setValor(QStringLiteral("REST.COMP.TX"), QStringLiteral("S"));
    mesaComConsumo();
    venda().carregarMesa(1);
    EXPECT_EQ(venda().totais().servico, cur("5.63"));
    EXPECT_EQ(venda().totais().total, cur("71.30"));
    EXPECT_TRUE(venda().totais().servicoAParte);
    venda().adicionarPagamento(1, cur("71.30"));
    venda().fechar(*ecf);
    EXPECT_EQ(ecf->estado().grandeTotal, cur("71.30"));
}

// 0,333 kg × 11,47 is kept as 3,8195 on the item; the printer cuts the item
// to 3,81. What is paid and printed is the bill's 3,82, without a sub-cent change.
TEST_F(VendaRapida, WeighedItemIsPaidAndPrintedInWholeCents) {
    lancar(2, {{QStringLiteral("3001"), cur("0.333")}});
    venda().carregarMesa(2);
    EXPECT_EQ(venda().totais().total, cur("3.82"));
    venda().adicionarPagamento(1, cur("3.82"));
    EXPECT_EQ(venda().troco(), Currency());
    venda().fechar(*ecf);
    EXPECT_EQ(ecf->estado().grandeTotal, cur("3.82"));
    EXPECT_EQ(ecf->estado().totalTroco, Currency());
    EXPECT_EQ(dinheiro(QStringLiteral("select PECF_TOTAL from PEDECF")), cur("3.82"));
    EXPECT_EQ(dinheiro(QStringLiteral("select PECFP_TROCO from PEDECF_PAGAMENTO")), Currency());
}

TEST_F(VendaRapida, PaymentsOtherThanCashCannotGiveChange) {
    mesaComConsumo();
    venda().carregarMesa(1);
    EXPECT_EQ(erroDe([&] { venda().adicionarPagamento(2, cur("80.00")); }),
              u"Troco somente em dinheiro: o valor em Cartão de crédito não pode passar de R$ 76,93.");
    EXPECT_EQ(erroDe([&] { venda().adicionarPagamento(1, Currency()); }), u"Informe um valor maior que zero.");
    EXPECT_EQ(erroDe([&] { venda().adicionarPagamento(77, cur("1.00")); }), u"Tipo de moeda 77 não cadastrado!");
    venda().adicionarPagamento(3, cur("76.93"));
    EXPECT_EQ(erroDe([&] { venda().adicionarPagamento(1, cur("5.00")); }), u"Não há valor a pagar.");
    venda().removerPagamento(0);
    venda().adicionarPagamento(3, cur("70.00"));
    EXPECT_EQ(erroDe([&] { venda().fechar(*ecf); }), u"Pagamento insuficiente. Falta R$ 6,93.");
    EXPECT_EQ(ecf->estado().coo, 0) << "nothing reached the printer";
    EXPECT_EQ(venda().moedas().first().descricao, u"Dinheiro");
}

TEST_F(VendaRapida, TableWithoutAnOpenOrderIsRefused) {
    EXPECT_EQ(erroDe([&] { venda().carregarMesa(2); }), u"Nenhuma movimentação nessa mesa!");
    EXPECT_FALSE(venda().fechandoMesa());
}

// A failure at any step of the coupon: the open coupon is cancelled, nothing
// is written and the table stays open.
TEST_F(VendaRapida, CouponThatFailedToPrintLeavesTheTableOpen) {
    const int pedido = mesaComConsumo();
    int canceladosEsperados = 0;
    for (const char* passo : {"AbreCupom", "VendeItem", "SubTotalizaCupom", "EfetuaPagamento", "FechaCupom"}) {
        venda().carregarMesa(1);
        venda().adicionarPagamento(1, cur("100.00"));
        ecf->falharNoComando(QLatin1String(passo), QStringLiteral("Erro de comunicação."));
        EXPECT_EQ(erroDe([&] { venda().fechar(*ecf); }),
                  u"Cupom fiscal não impresso: Erro de comunicação. A mesa continua aberta.")
            << passo;
        if (QLatin1String(passo) != QLatin1String("AbreCupom"))
            ++canceladosEsperados;
        EXPECT_FALSE(ecf->estado().cupom) << passo;
        EXPECT_EQ(ecf->estado().cancelamentos, canceladosEsperados) << passo;
        EXPECT_EQ(ecf->estado().grandeTotal, Currency()) << passo;
        EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)),
                  u"ABERTO")
            << passo;
        EXPECT_EQ(contar(QStringLiteral("select count(*) from PEDECF")), 0) << passo;
        EXPECT_EQ(contar(QStringLiteral("select count(*) from PEDECF_PAGAMENTO")), 0) << passo;
        EXPECT_EQ(texto(QStringLiteral("select CON_STATUS from RES_CONTROLE where CODCONTROLE = 1")), u"EM USO");
    }
    // The same table closes once the printer answers.
    venda().carregarMesa(1);
    venda().adicionarPagamento(1, cur("100.00"));
    venda().fechar(*ecf);
    EXPECT_EQ(texto(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = %1").arg(pedido)), u"FECHADO");
}

TEST_F(VendaRapida, InactivePrinterRefusesToCloseAndWritesNothing) {
    mesaComConsumo();
    venda().carregarMesa(1);
    venda().adicionarPagamento(1, cur("100.00"));
    ecf->Desativar();
    EXPECT_EQ(erroDe([&] { venda().fechar(*ecf); }), u"Impressora (ECF) não disponível!");
    EXPECT_EQ(contar(QStringLiteral("select count(*) from RES_PEDIDO where PED_STATUS = 'ABERTO'")), 1);
}

// Already-paid splits count on the coupon in their own currency type.
TEST_F(VendaRapida, SplitsPaidBeforeAreOnTheCouponAndOutOfWhatIsLeft) {
    const int pedido = mesaComConsumo();
    t->executeSQL(QStringLiteral("insert into RES_PEDIDO_CONTA (CODPEDIDOCONTA, CODPEDIDO, CODMOEDA, PEDC_VALOR) "
                                 "values (1, %1, 3, 20)").arg(pedido));
    venda().carregarMesa(1);
    EXPECT_EQ(venda().totais().jaPago, cur("20.00"));
    EXPECT_EQ(venda().totais().total, cur("56.93"));
    venda().adicionarPagamento(1, cur("56.93"));
    venda().fechar(*ecf);
    EXPECT_EQ(ecf->estado().grandeTotal, cur("76.93"));
    EXPECT_EQ(ecf->estado().totalPagamento(QStringLiteral("PIX")), cur("20.00"));
    EXPECT_EQ(dinheiro(QStringLiteral("select PECF_TOTAL from PEDECF")), cur("76.93"));
}

TEST_F(VendaRapida, CounterSaleMovesTheStockOut) {
    venda().novaVendaBalcao();
    EXPECT_TRUE(venda().adicionarItem(QStringLiteral("1001"), Currency(2)));
    EXPECT_TRUE(venda().adicionarItem(QStringLiteral("3001"), cur("0.5")));
    EXPECT_EQ(erroDe([&] { venda().adicionarItem(QStringLiteral("999"), Currency(1)); }), u"Produto não encontrado!");
    EXPECT_EQ(erroDe([&] { venda().adicionarItem(QStringLiteral("1001"), Currency()); }), u"Quantidade invalida!");
    EXPECT_EQ(venda().totais().total, cur("55.53")); // 49,80 + 5,735 cut to 5,73
    venda().adicionarPagamento(1, cur("60.00"));
    const CupomEmitido c = venda().fechar(*ecf);
    EXPECT_EQ(c.troco, cur("4.47"));
    EXPECT_EQ(estoque(1), Currency(8));
    EXPECT_EQ(estoque(3), cur("4.5"));
    EXPECT_EQ(texto(QStringLiteral("select ESTM_ORIGEM || ':' || ESTM_DOCUMENTO from ESTOQUE_MOVIMENTO where "
                                   "CODPRODUTO = 1")),
              QStringLiteral("PEDECF:%1").arg(c.codPedEcf));
    EXPECT_TRUE(t->scalar(QStringLiteral("select CODPEDIDO from PEDECF")).isNull());
    EXPECT_EQ(ecf->estado().grandeTotal, cur("55.53"));
}

TEST_F(VendaRapida, CounterSaleIsRefusedWhatTheStockDoesNotCover) {
    t->executeSQL(QStringLiteral("update or insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_CONTROLA_ESTOQUE) "
                                 "values (1, 'Loja', 'S') matching (CODEMPRESA)"));
    t->executeSQL(QStringLiteral("update PRODUTO set PRO_NPERM_SEMESTOQ = 'S' where CODPRODUTO = 3"));
    venda().novaVendaBalcao();
    EXPECT_FALSE(venda().adicionarItem(QStringLiteral("3001"), Currency(6)));
    EXPECT_TRUE(ui.lastMessage().startsWith(u"Estoque insuficiente para o produto AGUA")) << qPrintable(ui.lastMessage());
    EXPECT_TRUE(venda().itens().isEmpty());
    EXPECT_TRUE(venda().adicionarItem(QStringLiteral("3001"), Currency(5)));
}
