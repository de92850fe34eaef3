// Which items of a posting print, on which stations, and that nothing prints
// twice: the shared posting routine over the item record set being saved.
#include "ImpressaoFixture.h"

#include "restaurant/impressao/LancamentoTickets.h"

using namespace kvo;
using namespace kvo::test;

namespace {

class PostingRule : public ImpressaoFixture {
protected:
    void SetUp() override {
        ImpressaoFixture::SetUp();
        set("REST.DARUMA", QStringLiteral("S"));
        t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS) values (12, 'EM USO')"));
        produto(10, "Caipirinha de limão", "S", "S"); // kitchen and bar
        produto(11, "Filé à parmegiana", "S", "N");
        produto(12, "Água com gás", "N", "N");        // no station
        t->executeSQL(QStringLiteral("insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA) "
                                     "values (77, 12, 'ABERTO', '06.12.2026 19:00:00')"));
        abrir();
    }

    void produto(int cod, const char* descricao, const char* cozinha, const char* bar) {
        t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_IMP_COZINHA, "
                                     "PRO_IMP_BAR) values (:c, :p, :d, :k, :b)"),
                      {{QStringLiteral("c"), cod}, {QStringLiteral("p"), QString::number(cod)},
                       {QStringLiteral("d"), QString::fromUtf8(descricao)},
                       {QStringLiteral("k"), QString::fromLatin1(cozinha)},
                       {QStringLiteral("b"), QString::fromLatin1(bar)}});
    }

    // The items as the order screen holds them: the product's flags joined.
    void abrir() {
        itens = openEditable(t.db(),
                             QStringLiteral("select RES_PEDIDO_ITEM.*, PRODUTO.PRO_DESCRICAO, PRODUTO.PRO_IMP_COZINHA, "
                                            "PRODUTO.PRO_IMP_BAR, PRODUTO.PRO_IMP_PIZZA, PRODUTO.PRO_IMP_CHURRASQUEIRA "
                                            "from RES_PEDIDO_ITEM join PRODUTO on PRODUTO.CODPRODUTO = "
                                            "RES_PEDIDO_ITEM.CODPRODUTO where CODPEDIDO = 77 order by CODPEDIDOITEM"),
                             {}, QStringLiteral("RES_PEDIDO_ITEM"), QStringLiteral("CODPEDIDOITEM"));
        itens->setObjectName(QStringLiteral("cdsResPedidoItem"));
        for (const char* c : {"PRO_DESCRICAO", "PRO_IMP_COZINHA", "PRO_IMP_BAR", "PRO_IMP_PIZZA", "PRO_IMP_CHURRASQUEIRA"})
            itens->field(QString::fromLatin1(c)).setKind(FieldKind::Joined);
    }

    void lancar(int chave, int produto, const char* descricao, int person = 0) {
        auto rs = t->query(QStringLiteral("select PRO_IMP_COZINHA, PRO_IMP_BAR from PRODUTO where CODPRODUTO = :p"),
                           {{QStringLiteral("p"), produto}});
        itens->append();
        itens->field(QStringLiteral("CODPEDIDOITEM")).setValue(chave);
        itens->field(QStringLiteral("CODPEDIDO")).setValue(77);
        itens->field(QStringLiteral("CODPRODUTO")).setValue(produto);
        itens->field(QStringLiteral("PRO_DESCRICAO")).setValue(QString::fromUtf8(descricao));
        itens->field(QStringLiteral("PRO_IMP_COZINHA")).setValue(rs->field(QStringLiteral("PRO_IMP_COZINHA")).asString());
        itens->field(QStringLiteral("PRO_IMP_BAR")).setValue(rs->field(QStringLiteral("PRO_IMP_BAR")).asString());
        itens->field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(Currency(1)));
        itens->field(QStringLiteral("PEDI_STATUS")).setValue(QStringLiteral("NORMAL"));
        itens->field(QStringLiteral("CODGARCON")).setValue(3);
        if (person)
            itens->field(QStringLiteral("CODPEDIDOITEM_PERSON")).setValue(person);
        itens->post();
    }

    void cancelar(int chave) {
        ASSERT_TRUE(itens->locate(QStringLiteral("CODPEDIDOITEM"), chave));
        itens->edit();
        itens->field(QStringLiteral("PEDI_STATUS")).setValue(QStringLiteral("CANCELADO"));
        itens->post();
    }

    // What the save does: tickets from the changes, the apply, then sending.
    TicketsLancamento salvar() {
        TicketsLancamento tk = montarTicketsLancamento(*dm, *itens, nullptr, nullptr, 12);
        itens->applyUpdates(0);
        enviarTicketsLancamento(*dm, tk);
        return tk;
    }

    std::unique_ptr<RecordSet> itens;
};

} // namespace

TEST_F(PostingRule, AnItemForKitchenAndBarArrivesOnBothInTwoFiles) {
    lancar(1, 10, "Caipirinha de limão");
    lancar(2, 11, "Filé à parmegiana");
    lancar(3, 12, "Água com gás");
    const TicketsLancamento tk = salvar();
    EXPECT_EQ(tk.total(Estacao::Cozinha), 2);
    EXPECT_EQ(tk.total(Estacao::Bar), 1);
    EXPECT_EQ(tk.total(Estacao::Pizzaria), 0);
    EXPECT_EQ(tk.titulo(Estacao::Cozinha), u"LANÇAMENTOS DE 2 PRODUTOS");

    // Kitchen and bar drop into the same folder in the same second.
    const QStringList nomes = arquivos();
    ASSERT_EQ(nomes.size(), 2);
    const QString cozinha = conteudo(tk.enviado[size_t(Estacao::Cozinha)]);
    const QString bar = conteudo(tk.enviado[size_t(Estacao::Bar)]);
    EXPECT_TRUE(cozinha.contains(u"Caipirinha de limão") && cozinha.contains(u"Filé à parmegiana"));
    EXPECT_TRUE(bar.contains(u"Caipirinha de limão"));
    EXPECT_FALSE(bar.contains(u"Filé"));
    EXPECT_FALSE(QString(cozinha + bar).contains(u"Água"));
    EXPECT_TRUE(cozinha.contains(u"MESA 12") && cozinha.contains(u"GARCON.: Joana"));
    EXPECT_EQ(tk.enviado[size_t(Estacao::Pizzaria)], QString()); // an empty station sends nothing
}

TEST_F(PostingRule, InsertedAndCancelledInTheSamePostingPrintsNothing) {
    lancar(1, 10, "Caipirinha de limão");
    cancelar(1);
    const TicketsLancamento tk = salvar();
    for (Estacao e : todasEstacoes)
        EXPECT_EQ(tk.total(e), 0);
    EXPECT_TRUE(arquivos().isEmpty());
    EXPECT_EQ(t->scalar(QStringLiteral("select PEDI_STATUS from RES_PEDIDO_ITEM where CODPEDIDOITEM = 1")).toString(),
              u"CANCELADO"); // saved all the same
}

TEST_F(PostingRule, CancelledLaterPrintsOnceWithTheBannerAndSavingAgainPrintsNothing) {
    lancar(1, 11, "Filé à parmegiana");
    salvar();
    ASSERT_EQ(arquivos().size(), 1);

    abrir(); // the screen opened again later
    cancelar(1);
    const TicketsLancamento tk = salvar();
    EXPECT_EQ(tk.total(Estacao::Cozinha), 1);
    const QString texto = conteudo(tk.enviado[size_t(Estacao::Cozinha)]);
    EXPECT_EQ(texto.count(QStringLiteral("*** ITEM CANCELADO ***")), 1);
    EXPECT_EQ(arquivos().size(), 2);

    const TicketsLancamento nada = salvar(); // no changes
    EXPECT_EQ(nada.total(Estacao::Cozinha), 0);
    abrir();
    const TicketsLancamento nadaDepois = salvar();
    EXPECT_EQ(nadaDepois.total(Estacao::Cozinha), 0);
    EXPECT_EQ(arquivos().size(), 2);
}

TEST_F(PostingRule, AnAlreadyCancelledItemEditedAgainIsNotPrintedAgain) {
    lancar(1, 11, "Filé à parmegiana");
    cancelar(1);
    salvar();
    abrir();
    ASSERT_TRUE(itens->locate(QStringLiteral("CODPEDIDOITEM"), 1));
    itens->edit();
    itens->field(QStringLiteral("PEDI_OBS")).setValue(QStringLiteral("cliente desistiu"));
    itens->post();
    EXPECT_EQ(salvar().total(Estacao::Cozinha), 0);
    EXPECT_TRUE(arquivos().isEmpty());
}

TEST_F(PostingRule, PersonalisationLinesNeverPrintByThemselves) {
    lancar(1, 11, "Filé à parmegiana");
    lancar(2, 10, "Caipirinha de limão", 1); // a line belonging to item 1
    const TicketsLancamento tk = salvar();
    EXPECT_EQ(tk.total(Estacao::Cozinha), 1);
    EXPECT_EQ(tk.total(Estacao::Bar), 0);
}

TEST_F(PostingRule, TheCursorStaysOnTheRowItWasOn) {
    lancar(1, 11, "Filé à parmegiana");
    lancar(2, 10, "Caipirinha de limão");
    itens->first();
    montarTicketsLancamento(*dm, *itens, nullptr, nullptr, 12);
    EXPECT_EQ(itens->field(QStringLiteral("CODPEDIDOITEM")).asInteger(), 1);
}

TEST_F(PostingRule, NothingIsSentBeforeTheSaveSoAFailedSaveSendsNoTicket) {
    lancar(1, 11, "Filé à parmegiana");
    ASSERT_TRUE(itens->locate(QStringLiteral("CODPEDIDOITEM"), 1));
    itens->edit();
    itens->field(QStringLiteral("CODPRODUTO")).setValue(999); // no such product: the save fails
    itens->post();
    TicketsLancamento tk = montarTicketsLancamento(*dm, *itens, nullptr, nullptr, 12);
    EXPECT_EQ(tk.total(Estacao::Cozinha), 1);
    EXPECT_TRUE(arquivos().isEmpty());
    EXPECT_ANY_THROW(itens->applyUpdates(0));
    EXPECT_TRUE(arquivos().isEmpty()); // the caller sends only after a save that went through
}
