// The restaurant parameter screen by keys: a new row with its defaults and
// key, every field, the help lines, and the module's parameters refreshed.
#include "PedidoTelaFixture.h"

#include "framework/ui/ScreenRegistry.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>

using namespace kvo;
using namespace kvo::test;

namespace {

class Parametro : public PedidoTela {};

TEST_F(Parametro, ANewRowTakesItsDefaultsAndIsWalkedByKeyboard) {
    t->executeSQL(QStringLiteral("delete from PAR_RESTAURANTE"));
    t->executeSQL(QStringLiteral("alter sequence GEN_PAR_RESTAURANTE restart with 0"));
    QStringList rotulos, ajuda;
    QString controle, extrato, focoInicial;
    Roteiro roteiro({{QStringLiteral("frmParRestaurante"), [&](QWidget* tela) {
                          focoInicial = foco(tela);
                          for (QLabel* l : tela->findChildren<QLabel*>())
                              rotulos << l->text();
                          for (QCheckBox* c : tela->findChildren<QCheckBox*>())
                              rotulos << c->text();
                          controle = filho<QLineEdit>(tela, "edtPARR_CONTROLE_NOME")->text();
                          extrato = filho<QLineEdit>(tela, "edtPARR_IMP_EXTRATO")->text();
                          digitar(tela, QStringLiteral("Comandas"));          // name
                          digitar(tela, QStringLiteral("CENTRALIZADOR"));     // kitchen
                          for (int i = 0; i < 4; ++i)                         // bar, pizza, grill, bill
                              tecla(tela, Qt::Key_Return);
                          digitar(tela, QStringLiteral("7,50"));              // couvert
                          QTest::keyClicks(tela->focusWidget(), QStringLiteral("10")); // service
                          tecla(tela, Qt::Key_Tab);                           // "Trabalhar com Restaurante"
                          tecla(tela, Qt::Key_Tab);                           // "Imprimir IE e IM ..."
                          tecla(tela, Qt::Key_Tab);                           // "Selecionar sempre o garçon ..."
                          tecla(tela, Qt::Key_Space);
                          tecla(tela, Qt::Key_F2);
                      }}});
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmParRestaurante.ChamaParametro")));
    ASSERT_EQ(roteiro.feitos(), 1);
    EXPECT_EQ(focoInicial, u"edtPARR_CONTROLE_NOME");
    EXPECT_EQ(controle, u"Mesas");
    EXPECT_EQ(extrato, u"GERENCIADOR");
    for (const char* r : {"Nome do Controle", "Caminho da Imp. do Extrato (e outras impressões)", "Valor Couvert",
                          "Percentual do Serviço", "Trabalhar com Restaurante", "Imprimir IE e IM no extrato de contas",
                          "Selecionar sempre o garçon no lançamento", "Cod. de Pesquisa no Extrato",
                          "Exibir somente duração no extrato"})
        EXPECT_TRUE(rotulos.contains(QString::fromUtf8(r))) << r;
    EXPECT_TRUE(rotulos.contains(
        QStringLiteral("1 - Colocar como GERENCIADOR, caso queira usar o gerenciador de extrato\n"
                       "2 - Colocar como CENTRALIZADOR, para utilizar o novo centralizador de impressão")));
    EXPECT_EQ(texto(QStringLiteral("select CODPARRESTAURANTE || '|' || PARR_CONTROLE_NOME || '|' || PARR_IMP_COZINHA || "
                                   "'|' || PARR_IMP_BAR || '|' || PARR_VLR_COVERT || '|' || PARR_VLR_SERVICO || '|' || "
                                   "PARR_TRABALHAR_REST || PARR_IMPRIMIR_IEIM || PARR_SELECIONAR_GARCON || "
                                   "PARR_CODPESQ_VENDA || PARR_SOMENTE_DURACAO from PAR_RESTAURANTE")),
              u"1|Comandas|CENTRALIZADOR|GERENCIADOR|7.5000|10.0000|SNSNN");
    // What the module reads afterwards is the saved row.
    EXPECT_EQ(TdmAcesso::gerarInstance().parRestaurante().field(QStringLiteral("PARR_CONTROLE_NOME")).asString(),
              u"Comandas");
}

TEST_F(Parametro, TheExistingRowIsEditedAndCancellingKeepsIt) {
    Roteiro roteiro({{QStringLiteral("frmParRestaurante"), [&](QWidget* tela) {
                          digitar(tela, QStringLiteral("Outro nome"), Qt::Key_Escape);
                      }}});
    ScreenRegistry::abrir(QStringLiteral("TfrmParRestaurante.ChamaParametro"));
    ASSERT_EQ(roteiro.feitos(), 1);
    EXPECT_EQ(texto(QStringLiteral("select count(*) || '|' || CODPARRESTAURANTE || '|' || PARR_VLR_SERVICO from "
                                   "PAR_RESTAURANTE group by CODPARRESTAURANTE, PARR_VLR_SERVICO")),
              u"1|1|10.0000");
    EXPECT_EQ(texto(QStringLiteral("select coalesce(PARR_CONTROLE_NOME, 'Mesas') from PAR_RESTAURANTE")), u"Mesas");
}

} // namespace
