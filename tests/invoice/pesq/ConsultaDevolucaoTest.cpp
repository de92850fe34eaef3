// The return-invoice search: only invoices whose CFOP is a return, the items of
// the selected one, and the items not delivered as invoiced highlighted.
#include "../NFVendaFixture.h"

#include "framework/services/DAcesso.h"
#include "invoice/pesq/UConsultaNFVendaDevolucao.h"

#include <QApplication>
#include <QCheckBox>
#include <QTableView>
#include <QTest>

using namespace kvo;
using namespace kvo::test;

namespace {

class ConsultaDevolucao : public NFVendaFixture {
protected:
    // A saved invoice of CFOP `cfop` with `qtdes` items of product 10.
    int nota(const char* cfop, std::initializer_list<const char*> qtdes) {
        novaNotaSP();
        for (const char* q : qtdes) {
            dm().novoItem();
            noItem("CODPESQUISA", QStringLiteral("1001"));
            noItem("NFVI_QTDE_UND", QString::fromLatin1(q));
            dm().gravarItem();
        }
        const int n = dm().gravarNFVenda().numero;
        dm().fecharNFVenda();
        // A return's CFOP set afterwards: typed on a sale invoice it would be refused.
        sql(QStringLiteral("update NFVENDA set CODCFOP = '%1' where CODNFVENDA = %2").arg(QLatin1String(cfop)).arg(n));
        return n;
    }
    QStringList linhas(QTableView* g, int coluna) {
        QStringList r;
        for (int i = 0; i < g->model()->rowCount(); ++i)
            r << g->model()->index(i, coluna).data().toString();
        return r;
    }
};

TEST_F(ConsultaDevolucao, ListsReturnsWithTheirItemsAndHighlightsUndelivered) {
    sql(QStringLiteral("update CFOP set CFOP_CLASSIFICACAO = 'Devolução' where CODCFOP = '1202'"));
    const int venda = nota("5102", {"1"});
    const int dev1 = nota("1202", {"3", "2"}), dev2 = nota("1202", {"4"});
    sql(QStringLiteral("update NFVENDA_ITEM set NFVI_QTDE_ENTREGUE = NFVI_QTDE where CODNFVENDA = %1").arg(dev1));
    sql(QStringLiteral("update NFVENDA_ITEM set NFVI_QTDE_ENTREGUE = 1 where CODNFVENDA = %1 and NFVI_QTDE = 2")
            .arg(dev1));

    TfrmConsultaNFVendaDevolucao tela;
    tela.show();
    tela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
    QTest::mouseClick(tela.findChild<QCheckBox*>(QStringLiteral("chkListarTodos")), Qt::LeftButton);
    auto* notas = tela.findChild<QTableView*>(QStringLiteral("dbgPesquisa"));
    auto* itens = tela.findChild<QTableView*>(QStringLiteral("dbgItens"));
    EXPECT_EQ(linhas(notas, 0), (QStringList{QString::number(dev2), QString::number(dev1)}));
    EXPECT_FALSE(linhas(notas, 0).contains(QString::number(venda)));

    // dev2 first: its one item, nothing delivered yet.
    ASSERT_EQ(itens->model()->rowCount(), 1);
    EXPECT_EQ(itens->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
              TfrmConsultaNFVendaDevolucao::corDestaque());

    notas->setFocus();
    QTest::keyClick(notas, Qt::Key_Down);
    ASSERT_EQ(itens->model()->rowCount(), 2);
    auto destaque = [&](int linha) {
        return itens->model()->index(linha, 1).data(Qt::BackgroundRole).value<QColor>() ==
               TfrmConsultaNFVendaDevolucao::corDestaque();
    };
    EXPECT_FALSE(destaque(0)); // 3 of 3 delivered
    EXPECT_TRUE(destaque(1));  // 1 of 2
    EXPECT_EQ(tela.itens().field(QStringLiteral("PRO_CODPESQ_1")).asString(), u"1001");

    // Neither adding nor changing here.
    for (const char* b : {"btnIncluir", "btnAlterar", "btnExcluir"})
        EXPECT_FALSE(tela.findChild<QWidget*>(QString::fromLatin1(b))->isVisible()) << b;
}

} // namespace
