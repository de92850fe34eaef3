// The NF-e life cycle of an invoice against the local authority: the first
// transmission, what is stored, a lost answer settled by the key (never a
// second document), the duplicate recovery and the reprint.
#include "CicloNFeFixture.h"

#include "core/Paths.h"
#include "invoice/CicloNFeInterno.h"
#include "invoice/PortasNFe.h"
#include "nfe/NFeComponent.h"
#include "nfe/VerificadorAssinatura.h"
#include "registers/DNFe.h"

#include <QDir>
#include <QFile>

using namespace kvo;
using namespace kvo::test;
using R = TdmNFVenda::ResultadoNFe;

#define PRECISA_AUTORIDADE()                                                                                          \
    if (!fixturesProntas)                                                                                             \
    GTEST_SKIP() << "NF-e schemas or demo certificate not available in the data cache"

namespace {

class CicloNFe : public NFVendaCiclo {
protected:
    const QString um = QStringLiteral("1");
    nfe::NFeComponent& comp() { return TdmNFe::gerarInstance().componente(); }
    QStringList arquivosNFe(const QString& fim) {
        return QDir(home.filePath(QStringLiteral("nfe"))).entryList({QStringLiteral("*") + fim}, QDir::Files);
    }
};

} // namespace

// --- first transmission

TEST_F(CicloNFe, AnOpenInvoiceIsRefusedBeforeAnythingIsAssembled) {
    PRECISA_AUTORIDADE();
    const int n = notaSalva();
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, false), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Você precisa Faturar a NF antes de Transmitir!");
    EXPECT_EQ(comp().NotasFiscais.Count(), 0);
    EXPECT_TRUE(arquivosNFe(QStringLiteral("_nota.xml")).isEmpty());
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 0);
}

TEST_F(CicloNFe, TransmissionStoresTheSignedDocumentWithItsProtocol) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    ui.answerYes();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Autorizada);
    EXPECT_EQ(ui.questions(), QStringList{QStringLiteral("Confirma transmitir essa nota?")});
    EXPECT_EQ(ui.lastMessage(), u"NF-e enviada com sucesso!");

    const QString nprot = texto(n, "NFV_NFE_NPROT");
    EXPECT_EQ(nprot.size(), 15);
    const QString enviado = texto(n, "NFV_XML_ENVIADO");
    // The document as signed and sent, with the authority's protocol: what the customer gets.
    EXPECT_TRUE(enviado.contains(QStringLiteral("<nfeProc"))) << enviado.left(200).toStdString();
    EXPECT_TRUE(enviado.contains(QStringLiteral("<Signature")));
    EXPECT_TRUE(enviado.contains(QStringLiteral("<nProt>") + nprot + QStringLiteral("</nProt>")));
    EXPECT_TRUE(texto(n, "NFV_XML_RETORNO").contains(nprot));
    EXPECT_FALSE(coluna(n, "NFV_NFE_EMISSAO").isNull());
    EXPECT_EQ(arquivosNFe(QStringLiteral("_nota.xml")).size(), 1);
    ASSERT_EQ(arquivosNFe(QStringLiteral("_retorno.xml")).size(), 1);
    EXPECT_TRUE(arquivosNFe(QStringLiteral("_nota.xml"))[0].startsWith(QStringLiteral("nfe_serie_1_nr_%1_dt_").arg(n)));
    // The preview and the authorised DANFE, named by the key.
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso() + QStringLiteral("-nfe.pdf"))));
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);

    // Later calls reprint; an authorised invoice is never sent again.
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Impressa);
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
    EXPECT_EQ(texto(n, "NFV_NFE_NPROT"), nprot);
}

TEST_F(CicloNFe, AnsweringNoSendsNothingAndKeepsNothing) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    ui.answerNo();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Nada);
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 0);
    EXPECT_TRUE(coluna(n, "NFV_XML_ENVIADO").isNull());
    EXPECT_EQ(arquivosNFe(QStringLiteral("_nota.xml")).size(), 1); // written before the question
}

TEST_F(CicloNFe, ARefusedDocumentLeavesTheInvoiceReadyToSendAgain) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    injetar(R"([{"servico": "NFeAutorizacao4", "acao": "responder", "cStat": 999, "xMotivo": "Rejeição: Erro não catalogado"}])");
    ui.answerYes();
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, false), Abort);
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("2 - Erro ao Enviar a NF-e via WEBSERVICE!\nErro: ")))
        << ui.lastMessage().toStdString();
    EXPECT_TRUE(coluna(n, "NFV_NFE_NPROT").isNull());
    EXPECT_TRUE(coluna(n, "NFV_XML_ENVIADO").isNull()); // nothing pending: the authority refused it

    ui.answerYes();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Autorizada);
    EXPECT_FALSE(texto(n, "NFV_NFE_NPROT").isEmpty());
}

TEST_F(CicloNFe, SimplesIssuerIsAskedForTheAdditionalObservation) {
    PRECISA_AUTORIDADE();
    struct Escolha : EscolhaObservacaoSimples {
        int pre = -1;
        std::optional<ObservacaoSimples> escolher(int p) override {
            pre = p;
            return ObservacaoSimples{2, {}, {}};
        }
    } escolhaSimples;
    setEscolhaObservacaoSimples(&escolhaSimples);
    config("NFE.OPT.SMP", "3");
    const int n = notaFaturada();
    ui.answerNo();
    dm().NFE_Imprimir(n, um, 1, false);
    setEscolhaObservacaoSimples(nullptr);
    EXPECT_EQ(escolhaSimples.pre, 3);
    ASSERT_EQ(comp().NotasFiscais.Count(), 1);
    EXPECT_TRUE(comp().NotasFiscais[0].NFe.InfAdic.infCpl.contains(QStringLiteral("CRÉDITO FISCAL DE IPI")))
        << comp().NotasFiscais[0].NFe.InfAdic.infCpl.toStdString();
}

// --- never a lost authorisation

TEST_F(CicloNFe, AnAnswerDroppedAfterAuthorisingIsSettledByTheKey) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    injetar(R"([{"servico": "NFeAutorizacao4", "acao": "derrubar"}])");
    ui.answerYes();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Autorizada) << ui.lastMessage().toStdString();
    EXPECT_FALSE(texto(n, "NFV_NFE_NPROT").isEmpty());
    EXPECT_TRUE(texto(n, "NFV_XML_ENVIADO").contains(QStringLiteral("<protNFe")));
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
}

TEST_F(CicloNFe, AnAnswerLostWithTheQueryIsSettledByTheNextCallNotResent) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    injetar(R"([{"servico": "NFeAutorizacao4", "acao": "derrubar"},
                {"servico": "NFeConsultaProtocolo4", "acao": "derrubarAntes"}])");
    ui.answerYes();
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, false), Abort);
    EXPECT_TRUE(ui.lastMessage().startsWith(QStringLiteral("2 - Erro ao Enviar a NF-e via WEBSERVICE!")));
    // Sent, answer unknown: the signed bytes are kept, no protocol yet.
    EXPECT_TRUE(coluna(n, "NFV_NFE_NPROT").isNull());
    const QString pendente = texto(n, "NFV_XML_ENVIADO");
    ASSERT_TRUE(pendente.contains(QStringLiteral("<Signature")));

    ui.clear();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Recuperada);
    EXPECT_TRUE(ui.questions().isEmpty()); // nothing assembled or asked again
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
    const QString nprot = texto(n, "NFV_NFE_NPROT");
    EXPECT_FALSE(nprot.isEmpty());
    const QString enviado = texto(n, "NFV_XML_ENVIADO");
    EXPECT_TRUE(enviado.contains(QStringLiteral("<nProt>") + nprot));
    // The very bytes sent, now with their protocol.
    const qsizetype ini = pendente.indexOf(QStringLiteral("<infNFe"));
    EXPECT_TRUE(enviado.contains(pendente.mid(ini, pendente.indexOf(QStringLiteral("</NFe>")) - ini)));

    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Impressa);
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
}

TEST_F(CicloNFe, ConsultingAPendingInvoiceStoresTheProtocol) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    injetar(R"([{"servico": "NFeAutorizacao4", "acao": "derrubar"},
                {"servico": "NFeConsultaProtocolo4", "acao": "derrubarAntes", "vezes": 2}])");
    ui.answerYes();
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, false), Abort);
    EXPECT_THROW(dm().NFE_Consultar(n, um), Abort); // the query fails again: still pending, nothing sent
    EXPECT_TRUE(ui.lastMessage().contains(QStringLiteral("nada foi enviado de novo"))) << ui.lastMessage().toStdString();
    EXPECT_TRUE(coluna(n, "NFV_NFE_NPROT").isNull());
    EXPECT_FALSE(coluna(n, "NFV_XML_ENVIADO").isNull());

    EXPECT_EQ(dm().NFE_Consultar(n, um), R::Recuperada);
    EXPECT_FALSE(texto(n, "NFV_NFE_NPROT").isEmpty());
    EXPECT_EQ(dm().NFE_Consultar(n, um), R::Nada); // already authorised
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
}

TEST_F(CicloNFe, APendingDocumentTheAuthorityNeverReceivedIsSentAgain) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    injetar(R"([{"servico": "NFeAutorizacao4", "acao": "derrubarAntes"},
                {"servico": "NFeConsultaProtocolo4", "acao": "derrubarAntes"}])");
    ui.answerYes();
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, false), Abort);
    ASSERT_FALSE(coluna(n, "NFV_XML_ENVIADO").isNull());
    ui.answerYes();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Autorizada) << ui.lastMessage().toStdString();
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
    EXPECT_FALSE(texto(n, "NFV_NFE_NPROT").isEmpty());
}

TEST_F(CicloNFe, ADuplicateRecoversTheProtocolByTheKey) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    const QString nprot = texto(n, "NFV_NFE_NPROT");
    // As an invoice authorised by another program would look here.
    sql(QStringLiteral("update NFVENDA set NFV_NFE_NPROT = null, NFV_XML_ENVIADO = null, NFV_NFE_EMISSAO = null"));
    ui.answerYes();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Recuperada) << ui.lastMessage().toStdString();
    EXPECT_EQ(ui.lastMessage(), u"NF-e já existe e foi recuperado o protocolo com sucesso!");
    EXPECT_EQ(texto(n, "NFV_NFE_NPROT"), nprot);
    EXPECT_FALSE(coluna(n, "NFV_NFE_EMISSAO").isNull());
}

// --- reprint

TEST_F(CicloNFe, ReprintFromTheStoredDocument) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    const QString pdf = home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso() + QStringLiteral("-nfe.pdf"));
    QFile::remove(pdf);
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Impressa);
    EXPECT_TRUE(QFile::exists(pdf));
    QFile temp(home.filePath(QStringLiteral("temp-nfe.xml")));
    ASSERT_TRUE(temp.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(temp.readAll()), texto(n, "NFV_XML_ENVIADO"));
    EXPECT_EQ(comp().NotasFiscais[0].NFe.procNFe.nProt, texto(n, "NFV_NFE_NPROT"));
}

TEST_F(CicloNFe, ReprintRebuildsTheDocumentWhenNoXmlWasStored) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    const QString nprot = texto(n, "NFV_NFE_NPROT");
    sql(QStringLiteral("update NFVENDA set NFV_XML_ENVIADO = null"));
    QFile::remove(home.filePath(QStringLiteral("temp-nfe.xml")));
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Impressa);
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("temp-nfe.xml"))));
    ASSERT_EQ(comp().NotasFiscais.Count(), 1);
    const nfe::NFe& doc = comp().NotasFiscais[0].NFe;
    EXPECT_EQ(doc.Id, QStringLiteral("NFe") + dm().GetChaveAcesso());
    EXPECT_EQ(doc.procNFe.nProt, nprot);
    EXPECT_EQ(doc.procNFe.cStat, 100);
    EXPECT_EQ(comp().DANFE.protocoloNFe, nprot);
    EXPECT_EQ(pedidos(QStringLiteral("NFeAutorizacao4")), 1);
}

TEST_F(CicloNFe, ReprintAsksTheSecondCopyPassword) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    config("NFE.2VIA.SENHA", "4321");
    const QString pdf = home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso() + QStringLiteral("-nfe.pdf"));
    QFile::remove(pdf);
    ui.answerInput(QStringLiteral("1111"));
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, false), Abort);
    EXPECT_TRUE(ui.messages().isEmpty()); // ended silently
    EXPECT_FALSE(QFile::exists(pdf));
    ui.answerInput(QStringLiteral("4321"));
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Impressa);
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(CicloNFe, PrintingNeverLeavesTheStAsInsuranceInTheDocument) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, false), R::Impressa);
    nfe::NotaFiscal& nota = comp().NotasFiscais[0];
    nota.NFe.Det[0].Imposto.ICMS.vICMSST = Currency::fromString(QStringLiteral("12.34"));
    const QByteArray antes = nota.XMLOriginal();
    ciclo::imprimirDanfe(false);
    EXPECT_EQ(nota.NFe.Det[0].Prod.vSeg, Currency());
    EXPECT_EQ(nota.XMLOriginal(), antes);
}

// --- e-mail

namespace {

struct IniciadorGravado : IniciadorProcessos {
    IniciadorGravado() { setIniciadorProcessos(this); }
    ~IniciadorGravado() override { setIniciadorProcessos(nullptr); }
    void iniciar(const QString& p, const QStringList& a) override {
        programa = p;
        argumentos = a;
    }
    QString programa;
    QStringList argumentos;
};

} // namespace

TEST_F(CicloNFe, EmailOfAnUnsentInvoiceIsRefused) {
    PRECISA_AUTORIDADE();
    const int n = notaFaturada();
    IniciadorGravado iniciador;
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, true), Abort);
    EXPECT_EQ(ui.lastMessage(), u"Nota não foi enviada!!");
    EXPECT_TRUE(iniciador.programa.isEmpty());
}

TEST_F(CicloNFe, EmailGoesToTheNFeAddressThenTheCustomersAndTheCarriers) {
    PRECISA_AUTORIDADE();
    const int n = notaAutorizada();
    IniciadorGravado iniciador;
    sql(QStringLiteral("update PESSOA set PES_EMAIL_NFE = 'nfe@cliente.com.br' where CODPESSOA = 1"));
    EXPECT_EQ(dm().NFE_Imprimir(n, um, 1, true), TdmNFVenda::ResultadoNFe::EmailEnviado);
    const QString base = home.filePath(QStringLiteral("pdf/") + dm().GetChaveAcesso());
    EXPECT_EQ(iniciador.programa, home.filePath(QStringLiteral("KVOSendMail")));
    EXPECT_EQ(iniciador.argumentos,
              QStringList{QStringLiteral("nfe@cliente.com.br|Nf-e %1|%2-nfe.xml,%2.pdf|text|Seguem em anexo os arquivos da NF-e.")
                              .arg(n)
                              .arg(base)});
    EXPECT_FALSE(QFile::exists(base + QStringLiteral("-nfe.pdf"))); // renamed
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".pdf")));

    // Without the NF-e address, the customer's; the carrier's added after a comma.
    sql(QStringLiteral("update PESSOA set PES_EMAIL_NFE = null where CODPESSOA = 1"));
    sql(QStringLiteral("update PESSOA set PES_EMAIL = 'frete@carga.com.br' where CODPESSOA = 4"));
    sql(QStringLiteral("update NFVENDA set CODTRANSPORTADORA = 4"));
    config("EMAIL.MAPI", "S");
    dm().NFE_Imprimir(n, um, 1, true);
    EXPECT_EQ(iniciador.programa, u"xdg-email");
    EXPECT_EQ(iniciador.argumentos,
              (QStringList{QStringLiteral("--subject"), QStringLiteral("Nf-e %1").arg(n), QStringLiteral("--body"),
                           QStringLiteral("Seguem em anexo os arquivos da NF-e."), QStringLiteral("--attach"),
                           base + QStringLiteral("-nfe.xml"), QStringLiteral("--attach"), base + QStringLiteral(".pdf"),
                           QStringLiteral("compras@cliente.com.br"), QStringLiteral("frete@carga.com.br")}));

    sql(QStringLiteral("update PESSOA set PES_EMAIL = null where CODPESSOA = 1"));
    iniciador.programa.clear();
    EXPECT_THROW(dm().NFE_Imprimir(n, um, 1, true), Abort);
    EXPECT_EQ(ui.lastMessage(), u"A Pessoa informada na NF não tem e-mail cadastrado!");
    EXPECT_TRUE(iniciador.programa.isEmpty());
}
