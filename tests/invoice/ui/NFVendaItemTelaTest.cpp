// The item screen: its OK checks in their order with the focus left on the
// offending control, the lines it lets through, the searches and the panels
// the configuration shows.
#include "TelaNFVendaTeste.h"

#include "framework/ui/Pesquisa.h"
#include "invoice/ui/UNFVendaItem.h"

#include <QCheckBox>
#include <QComboBox>

using namespace kvo;
using namespace kvo::test;

namespace {

class NFVendaItemTela : public TelaNFVendaTeste {
protected:
    NFVendaItemTela() { novaNotaSP(); }
    // Opens the screen on a new item, types, presses F2; what it said and where the focus stayed.
    struct Resultado {
        QString mensagem, foco;
        bool aberta;
    };
    Resultado okApos(const std::function<void(QWidget*)>& digitar) {
        dm().novoItem();
        TfrmNFVendaItem tela;
        mostrar(&tela);
        digitar(&tela);
        ui.clear();
        atalho(&tela, Qt::Key_F2);
        Resultado r{ui.lastMessage(), nomeDoFoco(&tela), tela.isVisible()};
        if (tela.isVisible())
            tecla(&tela, Qt::Key_Escape);
        return r;
    }
    static void codigo(QWidget* j, const char* texto) {
        teclar(j, QString::fromLatin1(texto));
        tecla(j, Qt::Key_Return);
    }
};

TEST_F(NFVendaItemTela, OkRefusesInOrderAndLeavesTheFocusOnTheControlToMend) {
    struct Caso {
        const char* nome;
        std::function<void(QWidget*)> digitar;
        const char* mensagem;
        const char* foco;
    };
    const Caso casos[] = {
        {"nothing typed", [](QWidget*) {}, "Produto não informado!", "edtCODPESQUISA"},
        {"unknown code", [](QWidget* j) { codigo(j, "9999"); }, "Produto não informado!", "edtCODPESQUISA"},
        {"a product without unit rows gets past the unit in its base unit", [](QWidget* j) { codigo(j, "2002"); },
         "QTDE não informada ou inválida!", "edtNFVI_QTDE_UND"},
        {"no selling quantity", [](QWidget* j) { codigo(j, "1001"); }, "QTDE não informada ou inválida!", "edtNFVI_QTDE_UND"},
        {"a zero price",
         [](QWidget* j) {
             codigo(j, "1001");
             codigo(j, "2"); // quantity, then on to the unit list
             tecla(j, Qt::Key_Tab);
             teclar(j, QStringLiteral("0"));
         },
         "TOTAL inválido!", "edtNFVI_VLR_UND"},
        {"a service line without its service",
         [](QWidget* j) {
             tecla(j, Qt::Key_A, Qt::AltModifier); // "C&ategoria:"
             tecla(j, Qt::Key_Down);               // "Serviço"
         },
         "Serviço não informado!", "edtCODSERVICO"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        const Resultado r = okApos(caso.digitar);
        EXPECT_TRUE(r.aberta);
        EXPECT_EQ(r.mensagem, QString::fromUtf8(caso.mensagem));
        EXPECT_EQ(r.foco, QString::fromLatin1(caso.foco));
        EXPECT_EQ(item().recordCount(), 0); // Esc dropped the line
    }
}

// The base unit of a product without unit rows has key 0 and is a real
// choice; only a line whose unit is not among the product's is refused.
TEST_F(NFVendaItemTela, TheBaseUnitIsAChoiceAndAUnitOutsideTheListIsNot) {
    Resultado r = okApos([](QWidget* j) {
        codigo(j, "2002");
        codigo(j, "2");
    });
    EXPECT_FALSE(r.aberta) << r.mensagem.toStdString();
    ASSERT_EQ(item().recordCount(), 1);
    EXPECT_EQ(item().field(QStringLiteral("CODPRODUTOUNIDADE_NFVI")).asInteger(), 0);
    EXPECT_FALSE(item().field(QStringLiteral("CODPRODUTOUNIDADE_NFVI")).isNull());

    sql(QStringLiteral("update PRODUTO set CODPRODUTOUNIDADE = 999 where CODPRODUTO = 20"));
    r = okApos([](QWidget* j) {
        codigo(j, "2002");
        codigo(j, "2");
    });
    EXPECT_TRUE(r.aberta);
    EXPECT_EQ(r.mensagem, u"Unidade não selecionada!");
    EXPECT_EQ(r.foco, u"cbxCODPRODUTOUNIDADE_NFVI");
}

TEST_F(NFVendaItemTela, ZeroLinesPassForAComplementOrWhenTheUserSaysSo) {
    const auto zerada = [](QWidget* j) { codigo(j, "1001"); };
    cabecalho("NFV_FINALIDADE_EMISSAO", QStringLiteral("2"));
    Resultado r = okApos(zerada);
    EXPECT_FALSE(r.aberta) << r.mensagem.toStdString();
    ASSERT_EQ(item().recordCount(), 1);
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), Currency());

    cabecalho("NFV_FINALIDADE_EMISSAO", QStringLiteral("1"));
    EXPECT_EQ(okApos(zerada).mensagem, u"QTDE não informada ou inválida!");
    r = okApos([](QWidget* j) {
        codigo(j, "1001");
        atalho(j, Qt::Key_E, Qt::AltModifier); // "&Estou ciente que o total do item está zerado!"
    });
    EXPECT_FALSE(r.aberta) << r.mensagem.toStdString();
    EXPECT_EQ(item().recordCount(), 2);
}

TEST_F(NFVendaItemTela, KeyboardWalkWithTheSearchKeyAndTheSellingUnit) {
    TwbtPesquisa::dialogo = [](TwbtPesquisa& p, const QString& titulo) {
        EXPECT_EQ(p.fieldKey(), u"PRO_CODPESQ_1") << titulo.toStdString();
        return QVariant(QStringLiteral("1001"));
    };
    dm().novoItem();
    TfrmNFVendaItem tela;
    mostrar(&tela);
    ASSERT_EQ(nomeDoFoco(&tela), u"edtCODPESQUISA");
    tecla(&tela, Qt::Key_F8);
    EXPECT_EQ(textoDe(&tela, "edtPRO_DESCRICAO"), u"PARAFUSO");
    tecla(&tela, Qt::Key_Return);
    ASSERT_EQ(nomeDoFoco(&tela), u"edtNFVI_QTDE_UND");
    teclar(&tela, QStringLiteral("2"));
    tecla(&tela, Qt::Key_Return);
    ASSERT_EQ(nomeDoFoco(&tela), u"cbxCODPRODUTOUNIDADE_NFVI");
    auto* unidades = filho<QComboBox>(&tela, "cbxCODPRODUTOUNIDADE_NFVI");
    ASSERT_EQ(unidades->count(), 2);
    EXPECT_EQ(unidades->currentText(), u"UN");
    tecla(&tela, Qt::Key_Down); // boxes of 12
    EXPECT_EQ(unidades->currentText(), u"CX");
    EXPECT_EQ(valor(item(), "NFVI_QTDE"), c("24"));
    atalho(&tela, Qt::Key_F2);
    EXPECT_FALSE(tela.isVisible()) << ui.lastMessage().toStdString();
    EXPECT_EQ(valor(item(), "NFVI_TOTAL"), c("48"));
    EXPECT_EQ(valor(cab(), "NFV_TOTAL_PRODUTOS"), c("48")); // the header followed
    TwbtPesquisa::dialogo = nullptr;
}

TEST_F(NFVendaItemTela, PanelsFollowTheConfigurationAndTheIpiValueItsCheckBox) {
    const char* paineis[] = {"pnlFornecedor", "pnlTipoPreco", "pnlImportacao", "pnlCST"};
    const auto visiveis = [&] {
        dm().novoItem();
        TfrmNFVendaItem tela;
        mostrar(&tela);
        QStringList v;
        for (const char* p : paineis)
            if (filho<QWidget>(&tela, p)->isVisible())
                v << QString::fromLatin1(p);
        if (filho<QWidget>(&tela, "cbxNFVI_CSOSN")->isVisible())
            v << QStringLiteral("CSOSN");
        if (filho<QWidget>(&tela, "pnlLicitacao")->isVisible())
            v << QStringLiteral("licitacao");
        auto* ipi = filho<QLineEdit>(&tela, "edtNFVI_IPI");
        const bool antes = ipi->isReadOnly();
        QTest::mouseClick(filho<QCheckBox>(&tela, "chkNFVI_ALTERAR_IPI"), Qt::LeftButton);
        v << QStringLiteral("ipi %1>%2").arg(antes ? u"ro" : u"rw", ipi->isReadOnly() ? u"ro" : u"rw");
        tecla(&tela, Qt::Key_Escape);
        return v.join(u' ');
    };
    config("NFE.CST.PROD", "N");
    const QString padrao = visiveis();
    EXPECT_EQ(padrao, u"ipi ro>rw") << padrao.toStdString();
    for (const char* chave : {"PEDV.FORN.ITEM", "NF.TP.VND", "NF.IMPORT", "NFE.CST.PROD"})
        config(chave, "S");
    sql(QStringLiteral("update PAR_GERAL set PARG_REGIME_TRIBUTARIO = 'Simples Nacional'"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    const QString todos = visiveis();
    EXPECT_EQ(todos, u"pnlFornecedor pnlTipoPreco pnlImportacao pnlCST CSOSN ipi ro>rw") << todos.toStdString();
}

// The CST lists carry the layout's codes with their descriptions.
TEST_F(NFVendaItemTela, CodeListsShowTheLayoutsCodesAndDescriptions) {
    dm().novoItem();
    TfrmNFVendaItem tela;
    const auto codigos = [&](const char* lista) {
        auto* box = filho<QComboBox>(&tela, lista);
        QStringList c;
        for (int i = 0; i < box->count(); ++i) {
            EXPECT_TRUE(box->itemText(i).startsWith(box->itemData(i).toString() + QStringLiteral(" - ")));
            c << box->itemData(i).toString();
        }
        return c.join(u',');
    };
    EXPECT_EQ(codigos("cbxNFVI_CST"), u"000,010,020,030,040,041,050,051,060,070,090");
    EXPECT_EQ(codigos("cbxNFVI_CSOSN"), u"101,102,103,201,202,203,300,400,500,900");
    EXPECT_EQ(codigos("cbxNFVI_MOD_BC"), u"0,1,2,3");
    EXPECT_EQ(codigos("cbxNFVI_CST_IPI"), u"00,01,02,03,04,05,49,50,51,52,53,54,55,99");
    EXPECT_EQ(codigos("cbxNFVI_PIS_CST"),
              u"01,02,03,04,05,06,07,08,09,49,50,51,52,53,54,55,56,60,61,62,63,64,65,66,67,70,71,72,73,74,75,98,99");
    EXPECT_EQ(codigos("cbxNFVI_COFINS_CST"), codigos("cbxNFVI_PIS_CST"));
    EXPECT_EQ(filho<QComboBox>(&tela, "cbxNFVI_MOD_BC")->itemText(3), u"3 - Valor da operação");
    item().cancel();
}

} // namespace
