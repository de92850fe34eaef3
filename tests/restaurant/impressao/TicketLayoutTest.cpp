// Ticket text of each station in both layouts, the counter ticket and the
// printer control sequences.
#include "ImpressaoFixture.h"

#include "core/Format.h"
#include "core/Text.h"

using namespace kvo;
using namespace kvo::test;

namespace {

// Item rows in memory, shaped like the order module's item record set.
std::unique_ptr<RecordSet> itensRestaurante() {
    auto rs = std::make_unique<RecordSet>();
    rs->setObjectName(QStringLiteral("cdsResPedidoItem"));
    rs->addField(QStringLiteral("CODPEDIDOITEM"), FieldType::Integer);
    rs->addField(QStringLiteral("CODPEDIDO"), FieldType::Integer);
    rs->addField(QStringLiteral("CODPRODUTO"), FieldType::Integer);
    rs->addField(QStringLiteral("PRO_DESCRICAO"), FieldType::String, 150);
    rs->addField(QStringLiteral("PEDI_QTDE"), FieldType::Currency);
    rs->addField(QStringLiteral("PEDI_STATUS"), FieldType::String, 10);
    rs->addField(QStringLiteral("PEDI_OBS"), FieldType::String, 100);
    rs->addField(QStringLiteral("CODGARCON"), FieldType::Integer);
    rs->open();
    return rs;
}

void item(RecordSet& rs, int chave, int produto, const QString& descricao, const char* qtde, const QString& status,
          const QString& obs, int garcon) {
    rs.append();
    rs.field(QStringLiteral("CODPEDIDOITEM")).setValue(chave);
    rs.field(QStringLiteral("CODPEDIDO")).setValue(77);
    rs.field(QStringLiteral("CODPRODUTO")).setValue(produto);
    rs.field(QStringLiteral("PRO_DESCRICAO")).setValue(descricao);
    rs.field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(Currency::fromString(QString::fromLatin1(qtde))));
    rs.field(QStringLiteral("PEDI_STATUS")).setValue(status);
    rs.field(QStringLiteral("PEDI_OBS")).setValue(obs);
    rs.field(QStringLiteral("CODGARCON")).setValue(garcon);
    rs.post();
}

std::unique_ptr<RecordSet> pedidoMesa(int mesa) {
    auto rs = std::make_unique<RecordSet>();
    rs->setObjectName(QStringLiteral("cdsResPedido"));
    rs->addField(QStringLiteral("CODPEDIDO"), FieldType::Integer);
    rs->addField(QStringLiteral("CODCONTROLE"), FieldType::Integer);
    rs->open();
    rs->append();
    rs->field(QStringLiteral("CODPEDIDO")).setValue(77);
    rs->field(QStringLiteral("CODCONTROLE")).setValue(mesa);
    rs->post();
    return rs;
}

// Options of item 501: two groups, as the personalisation screen stores them.
std::unique_ptr<RecordSet> opcoes(const QString& nome, const QString& colunaItem) {
    auto rs = std::make_unique<RecordSet>();
    rs->setObjectName(nome);
    rs->addField(colunaItem, FieldType::Integer);
    rs->addField(QStringLiteral("GRPP_DESCRICAO"), FieldType::String, 30);
    rs->addField(QStringLiteral("PRO_DESCRICAO"), FieldType::String, 150);
    rs->open();
    const auto add = [&](int i, const char* g, const QString& d) {
        rs->append();
        rs->field(colunaItem).setValue(i);
        rs->field(QStringLiteral("GRPP_DESCRICAO")).setValue(QString::fromLatin1(g));
        rs->field(QStringLiteral("PRO_DESCRICAO")).setValue(d);
        rs->post();
    };
    add(501, "Ponto", QStringLiteral("Ao ponto"));
    add(501, "Adicionais", QStringLiteral("Bacon"));
    add(501, "Adicionais", QStringLiteral("Queijo extra"));
    add(502, "Ponto", QStringLiteral("Bem passado")); // another item's: not on this ticket
    return rs;
}

class TicketLayout : public ImpressaoFixture {
protected:
    // One ticket: an item with options, waiter and note, then a cancelled one.
    QStringList ticket(Estacao e) {
        auto itens = itensRestaurante();
        auto pedido = pedidoMesa(12);
        auto perso = opcoes(QStringLiteral("cdsResPedidoItemPerso"), QStringLiteral("CODPEDIDOITEM"));
        item(*itens, 501, 10, QStringLiteral("Filé à parmegiana"), "2", QStringLiteral("NORMAL"),
             QStringLiteral("Sem cebola, pão à parte"), 3);
        item(*itens, 502, 11, QStringLiteral("Caipirinha de limão"), "1.5", QStringLiteral("CANCELADO"), {}, 0);
        QStringList linhas;
        for (itens->first(); !itens->eof(); itens->next())
            dm->imprimir(e, linhas, *itens, pedido.get(), perso.get(), false, false, 0, {});
        return linhas;
    }
};

} // namespace

TEST_F(TicketLayout, NewLayoutOfEachStationMatchesItsGoldenFile) {
    set("REST.DARUMA", QStringLiteral("S"));
    set("REST.IMP.OPC", QStringLiteral("S"));
    set("REST.DAR.BIP", QStringLiteral("S"));
    set("REST.DAR.CORT", QStringLiteral("S"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Cozinha), "novo-cozinha.txt"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Bar), "novo-bar.txt"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Pizzaria), "novo-pizzaria.txt"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Churrasqueira), "novo-churrasqueira.txt"));
}

TEST_F(TicketLayout, ClassicLayoutOfEachStationMatchesItsGoldenFile) {
    set("REST.IMP.OPC", QStringLiteral("S"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Cozinha), "classico-cozinha.txt"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Bar), "classico-bar.txt"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Pizzaria), "classico-pizzaria.txt"));
    EXPECT_TRUE(igualAoGolden(ticket(Estacao::Churrasqueira), "classico-churrasqueira.txt"));
}

TEST_F(TicketLayout, OnlyTheStationsOwnKeyTurnsTheNewLayoutOn) {
    set("REST.DAR.BAR", QStringLiteral("S"));
    EXPECT_TRUE(dm->layoutNovo(Estacao::Bar));
    EXPECT_FALSE(dm->layoutNovo(Estacao::Cozinha));
    EXPECT_EQ(ticket(Estacao::Bar).first(), QStringLiteral("\x1b@"));
    EXPECT_TRUE(ticket(Estacao::Cozinha).first().startsWith(u"Data/Hora: "));
}

TEST_F(TicketLayout, ColumnCountChangesOnlyTheNewLayoutsSeparators) {
    set("REST.DAR.MCOL", QStringLiteral("42"));
    set("REST.DAR.COZ", QStringLiteral("S"));
    const QStringList novo = ticket(Estacao::Cozinha);
    EXPECT_TRUE(novo.contains(QString(42, u'-')));
    EXPECT_FALSE(novo.contains(QString(48, u'-')));
    const QStringList classico = ticket(Estacao::Bar);
    EXPECT_TRUE(classico.contains(QString(59, u'-')));
    EXPECT_FALSE(classico.contains(QString(42, u'-')));
    set("REST.DAR.MCOL", QStringLiteral("muitas"));
    EXPECT_EQ(dm->largura(), 48);
}

TEST_F(TicketLayout, ControlSequencesFollowThePrinterModel) {
    const QChar esc(27);
    EXPECT_EQ(dm->getAlinhamentoCentro(), esc + QStringLiteral("j1")); // DARUMA by default
    EXPECT_EQ(dm->getBeep(), QString(QChar(7)));
    set("REST.DAR.MOD", QStringLiteral("EPSON"));
    EXPECT_EQ(dm->getAlinhamentoEsquerda(), esc + QStringLiteral("a") + QChar(0));
    EXPECT_EQ(dm->getAlinhamentoEsquerda().size(), 3);
    EXPECT_EQ(dm->getLigaNegrito(), esc + QStringLiteral("E1"));
    EXPECT_EQ(dm->getCorteTotal(), QChar(29) + QStringLiteral("V0"));
    EXPECT_EQ(dm->getLigaExpandido(), QString());
    EXPECT_EQ(dm->getBeep(), QString());
    set("REST.DAR.MOD", QStringLiteral("BEMATECH"));
    EXPECT_EQ(dm->getAlinhamentoEsquerda(), esc + QStringLiteral("a0 "));
    EXPECT_EQ(dm->getCorteTotal(), esc + QStringLiteral("w"));
    EXPECT_EQ(dm->getDesligaNegrito(), esc + QStringLiteral("F"));
    set("REST.DAR.MOD", QStringLiteral("OUTRA"));
    EXPECT_EQ(dm->getLigaAlturaDupla(), esc + QStringLiteral("w1"));
    EXPECT_EQ(dm->getCorteTotal(), esc + QStringLiteral("m"));
}

TEST_F(TicketLayout, NoWaiterLineForWaiterZeroAndNoOptionsOfOtherItems) {
    set("REST.DARUMA", QStringLiteral("S"));
    const QString texto = ticket(Estacao::Cozinha).join(u'\n');
    EXPECT_EQ(texto.count(QStringLiteral("GARCON.: Joana")), 1); // only the first item has one
    EXPECT_EQ(texto.count(QStringLiteral("Queijo extra")), 1); // each item shows only its own options
    EXPECT_EQ(texto.count(QStringLiteral("Bem passado")), 1);
    EXPECT_EQ(texto.count(QStringLiteral("*** ITEM CANCELADO ***")), 1);
}

TEST_F(TicketLayout, SaleItemsShowCounterOrDeliveryThroughTheirOwnColumns) {
    set("REST.DARUMA", QStringLiteral("S"));
    auto itens = std::make_unique<RecordSet>();
    itens->setObjectName(QStringLiteral("cdsPEDECF_ITEM"));
    for (const char* c : {"CODPEDECFITEM", "CODPAFPRODUTO"})
        itens->addField(QString::fromLatin1(c), FieldType::Integer);
    for (const char* c : {"PECFI_DESCRICAO", "PECFI_QTDE", "PECFI_OBS"})
        itens->addField(QString::fromLatin1(c), FieldType::String, 100);
    itens->open();
    itens->append();
    itens->field(QStringLiteral("CODPEDECFITEM")).setValue(501);
    itens->field(QStringLiteral("CODPAFPRODUTO")).setValue(10);
    itens->field(QStringLiteral("PECFI_DESCRICAO")).setValue(QStringLiteral("X-Salada"));
    itens->field(QStringLiteral("PECFI_QTDE")).setValue(QStringLiteral("3"));
    itens->post();
    auto pedido = std::make_unique<RecordSet>();
    pedido->addField(QStringLiteral("CODPEDVENDA"), FieldType::Integer);
    pedido->open();
    pedido->append();
    pedido->field(QStringLiteral("CODPEDVENDA")).setValue(123);
    pedido->post();
    auto perso = opcoes(QStringLiteral("cdsPEDECF_ITEM_PERSO"), QStringLiteral("CODPEDECFITEM"));

    QStringList balcao, entrega;
    dm->imprimirCozinha(balcao, *itens, pedido.get(), perso.get(), true, true, 7, {});
    dm->imprimirCozinha(entrega, *itens, pedido.get(), perso.get(), true, false, 7, {});
    const QString b = balcao.join(u'\n'), e = entrega.join(u'\n');
    EXPECT_TRUE(b.contains(u"BALCAO 007"));
    EXPECT_TRUE(e.contains(u"ENTREGA NR. 00123"));
    EXPECT_TRUE(b.contains(u"X-Salada") && b.contains(u"QTDE: 3"));
    EXPECT_TRUE(b.contains(u"  Queijo extra")); // options through the pre-sale names
    EXPECT_EQ(TdmResPedidoImpressao::getCODPEDVENDA(*itens, nullptr), 0);
    EXPECT_EQ(TdmResPedidoImpressao::getCODPEDIDOITEM(*pedido), 0); // a dataset of no known name
}

TEST_F(TicketLayout, CounterTicketInBothLayoutsMatchesItsGoldenFiles) {
    auto pedido = std::make_unique<RecordSet>();
    pedido->setObjectName(QStringLiteral("cdsPedVenda"));
    pedido->addField(QStringLiteral("CODPEDVENDA"), FieldType::Integer);
    pedido->addField(QStringLiteral("CONTATO"), FieldType::String, 60);
    pedido->addField(QStringLiteral("CODPESSOA"), FieldType::Integer);
    pedido->open();
    pedido->append();
    pedido->field(QStringLiteral("CODPEDVENDA")).setValue(321);
    pedido->field(QStringLiteral("CONTATO")).setValue(QStringLiteral("Márcia"));
    pedido->field(QStringLiteral("CODPESSOA")).setValue(0);
    pedido->post();
    auto itens = std::make_unique<RecordSet>();
    itens->setObjectName(QStringLiteral("cdsPedVendaItem"));
    itens->addField(QStringLiteral("CODPEDVENDAITEM"), FieldType::Integer);
    itens->addField(QStringLiteral("CODPRODUTO"), FieldType::Integer);
    itens->addField(QStringLiteral("PRO_DESCRICAO"), FieldType::String, 150);
    itens->addField(QStringLiteral("PEDI_QTDE"), FieldType::Currency);
    itens->addField(QStringLiteral("PEDI_OBS"), FieldType::String, 100);
    itens->open();
    itens->append();
    itens->field(QStringLiteral("CODPEDVENDAITEM")).setValue(501);
    itens->field(QStringLiteral("CODPRODUTO")).setValue(10);
    itens->field(QStringLiteral("PRO_DESCRICAO")).setValue(QStringLiteral("Pastel de camarão"));
    itens->field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(Currency(2)));
    itens->field(QStringLiteral("PEDI_OBS")).setValue(QStringLiteral("Bem frito"));
    itens->post();
    auto perso = opcoes(QStringLiteral("cdsPedVendaItemPerso"), QStringLiteral("CODPEDVENDAITEM"));

    const auto montar = [&] {
        QStringList l;
        dm->imprimirCabBalcao(l, *pedido, 4);
        dm->imprimirBalcao(l, *itens, perso.get());
        dm->imprimirFinalBalcao(l);
        return l;
    };
    EXPECT_TRUE(igualAoGolden(montar(), "balcao-classico.txt"));
    set("REST.DAR.BALCAO", QStringLiteral("S"));
    set("REST.DAR.CORT", QStringLiteral("S"));
    EXPECT_TRUE(igualAoGolden(montar(), "balcao-novo.txt"));
}

TEST_F(TicketLayout, CompositionOfACompositeProductWhenAsked) {
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values "
                                 "(10, '10', 'Combo executivo')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values "
                                 "(20, '20', 'Suco de laranja')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO) values "
                                 "(21, '21', 'Arroz e feijão')"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO) "
                                 "values (1, 10, 20)"));
    t->executeSQL(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO) "
                                 "values (2, 10, 21)"));
    QStringList sem;
    dm->imprimirComposicao(QStringLiteral("10"), sem, 0, nullptr);
    EXPECT_TRUE(sem.isEmpty()); // "REST.IMP.COMP" is off
    set("REST.IMP.COMP", QStringLiteral("S"));
    QStringList com;
    dm->imprimirComposicao(QStringLiteral("10"), com, 0, nullptr);
    EXPECT_EQ(com, (QStringList{QStringLiteral("COMPOSICAO:"), QStringLiteral("Arroz e feijão"),
                                QStringLiteral("Suco de laranja"), QString(59, u'-')}));
    QStringList simples;
    dm->imprimirComposicao(QStringLiteral("20"), simples, 0, nullptr);
    EXPECT_TRUE(simples.isEmpty());
}

TEST_F(TicketLayout, ClassicTicketOfAPrepaidTabShowsTheCardInsteadOfTheTable) {
    set("REST.SALDO", QStringLiteral("S"));
    t->executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_CELULAR_DDD, PES_CELULAR) "
                                 "values (5, 'Rita Souza', '11', '98765-4321')"));
    t->executeSQL(QStringLiteral("insert into RES_CONTROLE (CODCONTROLE, CON_STATUS, CON_SALDO, CON_EAN, CODPESSOA) "
                                 "values (12, 'EM USO', 1234.5, '7890000000012', 5)"));
    const QStringList l = ticket(Estacao::Cozinha);
    const QChar so(14);
    EXPECT_TRUE(l.contains(so + QStringLiteral("Cartão de Consumo: ") + PadR(QStringLiteral("7890000000012"), 34)));
    EXPECT_TRUE(l.contains(so + QStringLiteral("SALDO ATUAL: ") + PadR(QStringLiteral("1.234,50"), 34)));
    EXPECT_TRUE(l.contains(so + QStringLiteral("Nome: ") + PadR(QStringLiteral("Rita Souza"), 34)));
    EXPECT_TRUE(l.contains(so + QStringLiteral("Celular: ") + PadR(QStringLiteral("(11) 98765-4321"), 34)));
    EXPECT_FALSE(l.join(u'\n').contains(u"Mesa.....:"));
}

TEST_F(TicketLayout, AnItemThatCannotBeBuiltIsReportedAndTheNextStillPrints) {
    t->executeSQL(QStringLiteral("drop table RES_GARCON")); // the waiter's name cannot be read
    const QStringList l = ticket(Estacao::Cozinha);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.lastMessage().startsWith(
        QStringLiteral("Não foi possivel imprimir o produto: Filé à parmegiana\rverifique a impressora.\r")))
        << ui.lastMessage().toStdString();
    EXPECT_TRUE(l.join(u'\n').contains(u"Caipirinha de limão")); // no waiter: built as usual
}
