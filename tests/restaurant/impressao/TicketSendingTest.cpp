// Where tickets and bills go: manager folders, the central queue, a printer
// path; the restaurant parameters and the failure messages.
#include "ImpressaoFixture.h"

#include "framework/services/ChavesConfiguracao.h"

#include <QEventLoop>
#include <QTimer>

using namespace kvo;
using namespace kvo::test;

namespace {

class TicketSending : public ImpressaoFixture {
protected:
    void parametros(const QString& cozinha, const QString& extrato = QStringLiteral("GERENCIADOR")) {
        t->executeSQL(QStringLiteral("delete from PAR_RESTAURANTE"));
        t->executeSQL(QStringLiteral("insert into PAR_RESTAURANTE (CODPARRESTAURANTE, PARR_IMP_COZINHA, PARR_IMP_EXTRATO, "
                                     "PARR_CONTROLE_NOME, PARR_VLR_SERVICO) values (1, :c, :e, '', 10)"),
                      {{QStringLiteral("c"), cozinha}, {QStringLiteral("e"), extrato}});
        dm->par_carrega_restaurante();
    }
    const QStringList ticket{QStringLiteral("\x1b@"), QStringLiteral("MESA 12"), QStringLiteral("Filé à parmegiana")};
};

} // namespace

TEST_F(TicketSending, WithoutParameterRowEveryStationDropsIntoTheDefaultFolder) {
    t->executeSQL(QStringLiteral("delete from PAR_RESTAURANTE"));
    dm->par_carrega_restaurante();
    for (Estacao e : todasEstacoes) {
        EXPECT_EQ(dm->impressora(e), u"GERENCIADOR");
        EXPECT_EQ(dm->pastaGerenciador(e), u"c:\\KVO\\pedidos\\");
    }
    EXPECT_EQ(dm->parametros().controleNome, u"Mesas");
    EXPECT_EQ(dm->parametros().vlrServico, Currency());
    const QString pasta = QDir(home.path()).filePath(QStringLiteral("drive_c/KVO/pedidos"));
    EXPECT_EQ(QDir::cleanPath(dm->pastaLocal(Estacao::Bar)), pasta);
    EXPECT_TRUE(QDir(pasta + QStringLiteral("/temp")).exists());
    EXPECT_TRUE(QDir(home.path() + QStringLiteral("/drive_c/KVO/extrato/temp")).exists());
    EXPECT_TRUE(QDir(home.path() + QStringLiteral("/drive_c/KVO/temp")).exists());

    const QString onde = dm->imprimirCustomBar(ticket, 12, QStringLiteral("LANÇAMENTOS DE 1 PRODUTOS"));
    EXPECT_EQ(QFileInfo(onde).fileName(), QStringLiteral("PED_20261206_201530.ped"));
    EXPECT_EQ(QDir::cleanPath(QFileInfo(onde).path()), pasta);
}

TEST_F(TicketSending, StoredParametersWinAndEmptyColumnsKeepTheirDefaults) {
    parametros(QStringLiteral("CENTRALIZADOR"));
    EXPECT_EQ(dm->impressora(Estacao::Cozinha), u"CENTRALIZADOR");
    EXPECT_EQ(dm->impressora(Estacao::Bar), u"GERENCIADOR"); // column default
    EXPECT_EQ(dm->parametros().controleNome, u"Mesas");      // stored empty
    EXPECT_EQ(dm->parametros().vlrServico, Currency(10));
}

TEST_F(TicketSending, FolderFilesCarryUtf8TextWithTheControlBytes) {
    const QString onde = dm->imprimirCustomCozinha(ticket, 12, QStringLiteral("T"));
    QFile f(onde);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\x1b@\r\nMESA 12\r\nFil\xc3\xa9 \xc3\xa0 parmegiana\r\n"));
    EXPECT_TRUE(QDir(QFileInfo(onde).path() + QStringLiteral("/temp")).entryList(QDir::Files).isEmpty());
}

TEST_F(TicketSending, FolderStoredWithOrWithoutSeparatorGetsOneTempSubfolder) {
    set("REST.PST.BAR", QStringLiteral("c:\\KVO\\bar"));
    set("REST.PST.PIZ", QStringLiteral("c:\\KVO\\pizza\\\\"));
    dm->criarPastas();
    const QString esperado = home.path() + QStringLiteral("/drive_c/KVO/pedidos/temp");
    EXPECT_EQ(TdmResPedidoImpressao::pastaTemporaria(QStringLiteral("c:\\KVO\\pedidos\\")), esperado);
    EXPECT_EQ(TdmResPedidoImpressao::pastaTemporaria(QStringLiteral("c:\\KVO\\pedidos")), esperado);
    EXPECT_FALSE(TdmResPedidoImpressao::pastaTemporaria(QStringLiteral("c:\\KVO\\pizza\\\\")).contains(u"//"));
    for (Estacao e : {Estacao::Bar, Estacao::Pizzaria}) {
        const QString onde = dm->imprimirCustom(e, ticket, 12, QStringLiteral("T"));
        ASSERT_FALSE(onde.isEmpty());
        EXPECT_FALSE(onde.contains(u"//")) << onde.toStdString();
        EXPECT_TRUE(QDir(QFileInfo(onde).path() + QStringLiteral("/temp")).exists());
    }
}

TEST_F(TicketSending, TwoTicketsInTheSameSecondBothArrive) {
    // Kitchen and bar share the default folder; one posting sends to both.
    const QString a = dm->imprimirCustomCozinha(ticket, 12, QStringLiteral("T"));
    const QString b = dm->imprimirCustomBar(ticket, 12, QStringLiteral("T"));
    EXPECT_NE(a, b);
    const QStringList nomes = arquivos();
    ASSERT_EQ(nomes.size(), 2);
    for (const QString& n : nomes) {
        EXPECT_TRUE(n.startsWith(u"PED_20261206_201530")) << n.toStdString();
        EXPECT_TRUE(n.endsWith(u".ped"));
    }
}

TEST_F(TicketSending, PrinterPathGetsThePrintersBytes) {
    const QString impressora = QDir(home.path()).filePath(QStringLiteral("lpt1.txt"));
    parametros(impressora);
    EXPECT_EQ(dm->imprimirCustomCozinha(ticket, 12, QStringLiteral("T")), impressora);
    QFile f(impressora);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\x1b@\r\nMESA 12\r\nFile a parmegiana\r\n"));
}

TEST_F(TicketSending, CentralQueueGetsOneRowWithUserStationTextTableAndTitle) {
    parametros(QStringLiteral("CENTRALIZADOR"));
    dm->imprimirCustomCozinha(ticket, 12, QStringLiteral("LANÇAMENTOS DE 1 PRODUTOS"));
    auto fila = t->query(QStringLiteral("select IMP_USUARIO, IMP_CENTRALIZADOR, IMP_TEXTO, CODCONTROLE, IMP_TITULO "
                                        "from RES_IMPRESSAO"));
    ASSERT_EQ(fila->recordCount(), 1);
    EXPECT_EQ(fila->field(QStringLiteral("IMP_USUARIO")).asString(), u"caixa");
    EXPECT_EQ(fila->field(QStringLiteral("IMP_CENTRALIZADOR")).asString(), u"COZINHA");
    EXPECT_EQ(fila->field(QStringLiteral("IMP_TEXTO")).asString(),
              QStringLiteral("\x1b@\r\nMESA 12\r\nFilé à parmegiana\r\n"));
    EXPECT_EQ(fila->field(QStringLiteral("CODCONTROLE")).asInteger(), 12);
    EXPECT_EQ(fila->field(QStringLiteral("IMP_TITULO")).asString(), u"LANÇAMENTOS DE 1 PRODUTOS");
    EXPECT_TRUE(arquivos().isEmpty());
}

TEST_F(TicketSending, AFailedTicketIsShownWholeSoItCanBePassedOnByHand) {
    parametros(QDir(home.path()).filePath(QStringLiteral("nao/existe/lpt1")));
    QStringList linhas = ticket;
    EXPECT_EQ(dm->imprimirFinalCozinha(linhas, 12, QStringLiteral("T")), QString());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.lastMessage(),
              QStringLiteral("Não foi possivel imprimir o pedido: \r\r\x1b@\rMESA 12\rFilé à parmegiana"));
}

TEST_F(TicketSending, FootersFollowTheTicketButAnEmptyListSendsNothing) {
    QFile rodape(QDir(home.path()).filePath(QStringLiteral("finalcozinha.txt")));
    ASSERT_TRUE(rodape.open(QIODevice::WriteOnly));
    rodape.write("Obrigado!\nVolte sempre\n");
    rodape.close();
    QStringList vazia;
    EXPECT_EQ(dm->imprimirFinalCozinha(vazia, 12, QStringLiteral("T")), QString());
    EXPECT_TRUE(vazia.isEmpty());
    EXPECT_TRUE(arquivos().isEmpty());

    QStringList linhas = ticket;
    const QString onde = dm->imprimirFinalCozinha(linhas, 12, QStringLiteral("T"));
    EXPECT_TRUE(conteudo(onde).endsWith(QStringLiteral("parmegiana\r\nObrigado!\r\nVolte sempre\r\n")));
    QStringList bar = ticket; // the bar has no footer file
    EXPECT_EQ(conteudo(dm->imprimirFinalBar(bar, 12, QStringLiteral("T"))).count(u'\n'), 3);
}

TEST_F(TicketSending, BillGoesToItsFolderTenMillisecondsAfterItIsQueued) {
    dm->enviarExtrato({QStringLiteral("EXTRATO"), QStringLiteral("TOTAL A PAGAR 10,00")});
    const QString pasta = QDir(home.path()).filePath(QStringLiteral("drive_c/KVO/extrato"));
    EXPECT_TRUE(arquivos(pasta).isEmpty()); // not yet: the timer sends it
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    const QStringList nomes = arquivos(pasta);
    ASSERT_EQ(nomes.size(), 1);
    EXPECT_EQ(nomes.first(), QStringLiteral("EXT_20261206_201530.ext"));
    EXPECT_EQ(conteudo(pasta + u'/' + nomes.first()), QStringLiteral("EXTRATO\r\nTOTAL A PAGAR 10,00\r\n"));
}

TEST_F(TicketSending, BillForTheCentralQueueIsNotSentHereAndAFailedOneIsShown) {
    parametros(QStringLiteral("GERENCIADOR"), QStringLiteral("CENTRALIZADOR"));
    dm->linhasExtrato() = QStringList{QStringLiteral("EXTRATO")};
    EXPECT_EQ(dm->tmrExtratoTimer(), QString());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from RES_IMPRESSAO")).toInt(), 0);

    parametros(QStringLiteral("GERENCIADOR"), QDir(home.path()).filePath(QStringLiteral("nao/existe/lpt2")));
    dm->linhasExtrato() = QStringList{QStringLiteral("EXTRATO"), QStringLiteral("TOTAL")};
    EXPECT_EQ(dm->tmrExtratoTimer(), QString());
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("Não foi possivel imprimir o extrato: \r\rEXTRATO\rTOTAL"));
}

TEST_F(TicketSending, TheModulesKeysAreRegisteredAtStartUp) {
    QStringList registradas;
    for (const auto& c : chavesRegistradas())
        registradas << QString::fromUtf8(c.chave);
    for (const char* k : {"REST.PST.COZ", "REST.PST.BAR", "REST.PST.PIZ", "REST.PST.CHU", "REST.TAB.EXTRA"})
        EXPECT_TRUE(registradas.contains(QString::fromLatin1(k))) << k;
    EXPECT_EQ(cfg->getStr(QStringLiteral("REST.TAB.EXTRA")), u"N");
}
