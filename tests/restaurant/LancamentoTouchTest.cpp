// The touch map's rules without any widget: the state machine walked through
// its calls, as another screen or a whole-evening test drives it.
#include "PedidoFixture.h"

#include "core/Paths.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/LancamentoTouch.h"

#include <QTemporaryDir>

using namespace kvo;
using namespace kvo::test;

namespace {

using Estado = LancamentoTouch::Estado;
using Campo = LancamentoTouch::Campo;

class Touch : public PedidoFixture {
protected:
    void SetUp() override {
        PedidoFixture::SetUp();
        setProgramFolder(home.path()); // the tickets land here
        cfg().setValor(QStringLiteral("REST.GARCON"), QStringLiteral("S"));
        dmTouch = std::make_unique<TdmResPedido>(t.db()); // once the services have their connection
        regras = std::make_unique<LancamentoTouch>(*dmTouch);
    }
    LancamentoTouch::Item item(const QString& codigo, const char* qtde) {
        const auto p = regras->localizarProduto(codigo);
        LancamentoTouch::Item i;
        i.codigo = codigo;
        if (p) {
            i.codproduto = p->codproduto;
            i.descricao = p->descricao;
            i.vlrUnitario = p->vlrUnitario;
        }
        i.qtde = lerQuantidade(qtde);
        return i;
    }
    static std::optional<Currency> lerQuantidade(const char* texto) { return Currency::parse(QString::fromLatin1(texto)); }

    QTemporaryDir home;
    std::unique_ptr<TdmResPedido> dmTouch;
    std::unique_ptr<LancamentoTouch> regras;
};

TEST_F(Touch, TableWaiterPostingAndSaveThroughTheRules) {
    EXPECT_THROW(regras->lancarMesa(QStringLiteral("9")), Abort);
    EXPECT_EQ(regras->campoRecusado(), Campo::Mesa);
    regras->lancarMesa(QStringLiteral(" 2 "));
    EXPECT_EQ(regras->estado(), Estado::Garcon);
    EXPECT_FALSE(regras->sair()); // back to the table
    EXPECT_EQ(regras->estado(), Estado::Mesa);
    regras->lancarMesa(QStringLiteral("2"));
    EXPECT_THROW(regras->lancarGarcon(QStringLiteral("2"), QString()), Abort);
    EXPECT_EQ(regras->campoRecusado(), Campo::Senha);
    regras->lancarGarcon(QStringLiteral("2"), QStringLiteral("22"));
    ASSERT_EQ(regras->estado(), Estado::Lancando);
    EXPECT_EQ(regras->garcon(), 2);
    EXPECT_FALSE(regras->localizarProduto(QStringLiteral("999")).has_value());
    EXPECT_EQ(LancamentoTouch::totalItem(Currency(3), Currency::fromString(u"6.50")), Currency::fromString(u"19.50"));
    EXPECT_FALSE(LancamentoTouch::totalItem(std::nullopt, Currency(1)).has_value());

    EXPECT_THROW(regras->adicionarItem(item(QStringLiteral("2001"), "0")), Abort);
    EXPECT_EQ(regras->campoRecusado(), Campo::Quantidade);
    EXPECT_FALSE(regras->alterado());
    regras->adicionarItem(item(QStringLiteral("2001"), "3"));
    regras->adicionarItem(item(QStringLiteral("1001"), "1"));
    EXPECT_TRUE(regras->alterado());
    regras->iniciarCancelamento();
    EXPECT_EQ(regras->estado(), Estado::Cancelando);
    EXPECT_FALSE(regras->sair()); // no cancellation yet: back to the posting, nothing asked
    EXPECT_EQ(regras->estado(), Estado::Lancando);
    regras->salvar();
    EXPECT_EQ(regras->estado(), Estado::Mesa);
    EXPECT_EQ(dmTouch->garconPredefinido(), 0);
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_PEDIDO_ITEM i join RES_PEDIDO p on p.CODPEDIDO = "
                                       "i.CODPEDIDO where i.CODGARCON = 2 and p.CODCONTROLE = 2"))
                  .toInt(),
              2);
    EXPECT_EQ(dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = 2")), Currency(97));
    EXPECT_TRUE(ui.questions().isEmpty());
    EXPECT_EQ(regras->mesaDoExtrato(QStringLiteral("2")), 2);
}

} // namespace
