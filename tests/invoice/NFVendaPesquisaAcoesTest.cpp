// The invoice search's steps on one invoice: cancel, reopen, delete.
#include "NFVendaFaturamentoFixture.h"

using namespace kvo;
using namespace kvo::test;

namespace {

class NFVendaPesquisaAcoes : public NFVendaFaturamento {
protected:
    // A billed invoice of 5 × 2.00 (stock 100 → 95, one receivable).
    int notaFaturada() {
        const int n = notaSalva("5");
        ui.answerYes();
        EXPECT_TRUE(faturar(n));
        ui.clear();
        return n;
    }
    void emiteNFe(const char* protocolo) {
        sql(QStringLiteral("update PAR_GERAL set PARG_EMITE_NFE = 'S'"));
        TdmAcesso::gerarInstance().recarregarEmpresa();
        sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = %1").arg(QLatin1String(protocolo)));
    }
    const QString um = QStringLiteral("1");
};

TEST_F(NFVendaPesquisaAcoes, CancellingReversesStockAndWritesOffTheReceivables) {
    const int n = notaFaturada();
    ui.answerNo();
    EXPECT_FALSE(dm().NFVENDA_Cancelar(n, um));
    EXPECT_EQ(status(n), u"Faturada");

    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Cancelar(n, um));
    EXPECT_EQ(ui.questions().last(), u"Confirma Cancelar essa Nota Fiscal?");
    EXPECT_EQ(ui.lastMessage(), u"Cancelado com sucesso!");
    EXPECT_EQ(status(n), u"Cancelada");
    EXPECT_EQ(estoque(), c("100"));
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS where CON_STATUS <> 'EXCLUÍDA'")), 0);

    ui.answerYes();
    EXPECT_THROW(dm().NFVENDA_Cancelar(n, um), Abort); // only a billed invoice
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("A Nota Fiscal %1 - Série 1 não está Faturada.").arg(n))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(estoque(), c("100"));
}

TEST_F(NFVendaPesquisaAcoes, AnNFeIsCancelledOnlyWithItsProtocolAndAfterItsEvent) {
    const int n = notaFaturada();
    emiteNFe("null");
    ui.answerYes();
    EXPECT_THROW(dm().NFVENDA_Cancelar(n, um), Abort);
    EXPECT_EQ(ui.lastMessage(),
              u"Não é possivel cancelar essa NF-e, ela não tem o número do protocolo de envio!!");

    sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = '135260000000001'"));
    dm().eventoCancelamentoNFe = [](int, const QString&) { throw Abort(); }; // the authority refused
    ui.answerYes();
    EXPECT_THROW(dm().NFVENDA_Cancelar(n, um), Abort);
    EXPECT_EQ(status(n), u"Faturada");

    int eventos = 0;
    dm().eventoCancelamentoNFe = [&](int numero, const QString& serie) {
        EXPECT_EQ(numero, n);
        EXPECT_EQ(serie, u"1");
        ++eventos;
    };
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Cancelar(n, um));
    EXPECT_EQ(eventos, 1);
    EXPECT_EQ(status(n), u"Cancelada");
}

TEST_F(NFVendaPesquisaAcoes, ReopeningUndoesTheBillingSoItCanBeBilledAgain) {
    const int n = notaFaturada();
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Reabrir(n, um));
    EXPECT_EQ(ui.questions().last(), u"Confirma \"Reabrir\" essa Nota Fiscal?");
    EXPECT_EQ(ui.lastMessage(), u"Reaberta com sucesso!");
    EXPECT_EQ(status(n), u"Aberta");
    EXPECT_TRUE(t->scalar(QStringLiteral("select NFV_DATA_FATURAMENTO from NFVENDA")).isNull());
    EXPECT_EQ(estoque(), c("100"));
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS where CON_STATUS <> 'EXCLUÍDA'")), 0);

    sql(QStringLiteral("update NFVENDA set CODFORMAPAGAMENTO = 2")); // billed again in two instalments
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    EXPECT_EQ(estoque(), c("95"));
    EXPECT_EQ(contar(QStringLiteral("select count(*) from CONTAS where CON_STATUS <> 'EXCLUÍDA'")), 2);
    // The NF-e's instalments and payment means are the live ones only.
    EXPECT_EQ(dm().parcelas()->recordCount(), 2);
    const auto meios = dm().meiosDePagamento();
    Currency pago;
    for (meios->first(); !meios->eof(); meios->next())
        pago += meios->field(QStringLiteral("VALOR")).asCurrency();
    EXPECT_EQ(pago, c("10"));

    // A cancelled invoice reopens too, and its stock is not returned twice.
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Cancelar(n, um));
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Reabrir(n, um));
    EXPECT_EQ(estoque(), c("100"));
    ui.answerYes();
    EXPECT_THROW(dm().NFVENDA_Reabrir(n, um), Abort);
    EXPECT_EQ(ui.lastMessage(),
              QStringLiteral("A Nota Fiscal %1 - Série 1 não está Faturada nem Cancelada.").arg(n));
}

TEST_F(NFVendaPesquisaAcoes, AnNFeWithProtocolIsNotReopenedAPrintedFormIs) {
    const int n = notaFaturada();
    emiteNFe("'135260000000001'");
    EXPECT_THROW(dm().NFVENDA_Reabrir(n, um), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Não é possivel reabrir uma nota que já tem protocolo de entrega NF-e!");
    EXPECT_TRUE(ui.questions().isEmpty());
    EXPECT_EQ(status(n), u"Faturada");

    // Sent with its answer lost: nothing may change before the key is queried.
    sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = null, NFV_XML_ENVIADO = '<NFe/>'"));
    EXPECT_THROW(dm().NFVENDA_Reabrir(n, um), Abort);
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("A NF-e desta nota foi transmitida e a resposta")));
    EXPECT_TRUE(ui.questions().isEmpty());
    EXPECT_EQ(status(n), u"Faturada");

    sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = null, NFV_XML_ENVIADO = null")); // a printed form has none
    ui.answerYes();
    EXPECT_TRUE(dm().NFVENDA_Reabrir(n, um));
    EXPECT_EQ(status(n), u"Aberta");
}

TEST_F(NFVendaPesquisaAcoes, DeletingAsksForThePasswordAndReleasesTheOrderItems) {
    const int faturada = notaFaturada();
    EXPECT_THROW(dm().NFVENDA_Excluir(faturada, um), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Esta Nota Fiscal não pode ser excluída.");
    EXPECT_TRUE(ui.questions().isEmpty()); // refused before the password

    const int n = notaSalva();
    sql(QStringLiteral("update NFVENDA_ITEM set CODPEDVENDAITEM = 77"));
    ui.answerNo();
    EXPECT_FALSE(dm().NFVENDA_Excluir(n, um));
    const std::pair<std::optional<QString>, QString> recusas[] = {
        {std::nullopt, QStringLiteral("Por favor digite uma senha!!")},
        {QString(), QStringLiteral("Por favor digite uma senha!!")},
        {QStringLiteral("errada"), QStringLiteral("Senha inválida !")}};
    for (const auto& [senha, mensagem] : recusas) {
        ui.answerYes();
        ui.answerInput(senha);
        EXPECT_THROW(dm().NFVENDA_Excluir(n, um), Abort);
        EXPECT_EQ(ui.lastMessage(), mensagem);
    }
    EXPECT_EQ(status(n), u"Aberta");
    EXPECT_EQ(contar(QStringLiteral(
                         "select count(*) from NFVENDA_ITEM where CODNFVENDA = %1 and CODPEDVENDAITEM = 77")
                         .arg(n)),
              1);

    ui.answerYes();
    ui.answerInput(QStringLiteral("segredo"));
    EXPECT_TRUE(dm().NFVENDA_Excluir(n, um));
    EXPECT_EQ(ui.lastMessage(),
              QStringLiteral("Nota Fiscal (Cód. %1 - Série 1) excluída com sucesso!").arg(n));
    EXPECT_EQ(status(n), u"Excluída");
    EXPECT_EQ(
        contar(QStringLiteral(
                   "select count(*) from NFVENDA_ITEM where CODNFVENDA = %1 and CODPEDVENDAITEM is null")
                   .arg(n)),
        1);
    EXPECT_EQ(contar(QStringLiteral(
                         "select count(*) from NFVENDA_ITEM where CODNFVENDA = %1 and CODPEDVENDAITEM = 77")
                         .arg(faturada)),
              1); // another invoice's items stay tied to their order
}

} // namespace
