#include "NFeFixtures.h"
#include "NFeSamples.h"

#include "nfe/NFeComponent.h"
#include "nfe/SoapNFe.h"
#include "nfe/VerificadorAssinatura.h"
#include "nfe/XmlLib.h"

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

TEST(Soap, EnvelopeKeepsTheMessageBytesAndNamesTheAction)
{
    const QByteArray mensagem = "<?xml version=\"1.0\"?><consSitNFe xmlns=\"http://www.portalfiscal.inf.br/nfe\" "
                                "versao=\"4.00\"><xServ>CONSULTAR</xServ><x>Ação &amp; preço</x></consSitNFe>";
    const QByteArray env = soap::envelope(soap::Servico::ConsultaProtocolo, mensagem);
    QString ns;
    EXPECT_EQ(soap::conteudo(env, &ns), mensagem.mid(mensagem.indexOf("?>") + 2));
    EXPECT_EQ(ns, QStringLiteral("http://www.portalfiscal.inf.br/nfe/wsdl/NFeConsultaProtocolo4"));
    soap::Servico s{};
    ASSERT_TRUE(soap::servicoDoNamespace(ns, &s));
    EXPECT_EQ(s, soap::Servico::ConsultaProtocolo);
    EXPECT_EQ(soap::contentType(soap::Servico::Autorizacao),
              "application/soap+xml; charset=utf-8; "
              "action=\"http://www.portalfiscal.inf.br/nfe/wsdl/NFeAutorizacao4/nfeAutorizacaoLote\"");

    // Answers come with other prefixes and whitespace.
    const QByteArray resposta = "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\">\n<s:Body>\n"
                                "<nfeResultMsg xmlns=\"http://www.portalfiscal.inf.br/nfe/wsdl/NFeStatusServico4\">"
                                "<retConsStatServ><cStat>107</cStat></retConsStatServ></nfeResultMsg>\n</s:Body></s:Envelope>";
    EXPECT_EQ(soap::conteudo(resposta), QByteArray("<retConsStatServ><cStat>107</cStat></retConsStatServ>"));
    const QByteArray falha = "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body><s:Fault>"
                             "<s:Reason><s:Text>erro</s:Text></s:Reason></s:Fault></s:Body></s:Envelope>";
    EXPECT_THROW(soap::conteudo(falha), std::runtime_error);
    EXPECT_THROW(soap::conteudo("<html>502 Bad Gateway"), std::runtime_error);
}

TEST(Soap, CompressedMessage)
{
    const QByteArray mensagem = QByteArray("<enviNFe versao=\"4.00\">") + QByteArray(5000, 'x') + "ção</enviNFe>";
    const QByteArray env = soap::envelopeZip(soap::Servico::Autorizacao, mensagem);
    EXPECT_TRUE(env.contains("<nfeDadosMsgZip xmlns=\"http://www.portalfiscal.inf.br/nfe/wsdl/NFeAutorizacao4\">"));
    EXPECT_LT(env.size(), mensagem.size());
    QString ns;
    EXPECT_EQ(soap::conteudo(env, &ns), mensagem);
    EXPECT_EQ(ns, QStringLiteral("http://www.portalfiscal.inf.br/nfe/wsdl/NFeAutorizacao4"));
    EXPECT_TRUE(soap::contentType(soap::Servico::Autorizacao, true).endsWith("/nfeAutorizacaoLoteZip\""));
    EXPECT_THROW(soap::gunzip("not compressed"), std::runtime_error);
}

TEST(Soap, AddressesByStateAndOverrides)
{
    EXPECT_EQ(soap::enderecoPublicado(QStringLiteral("SP"), 2, soap::Servico::ConsultaProtocolo),
              QStringLiteral("https://homologacao.nfe.fazenda.sp.gov.br/ws/nfeconsultaprotocolo4.asmx"));
    EXPECT_EQ(soap::enderecoPublicado(QStringLiteral("sc"), 1, soap::Servico::Autorizacao),
              QStringLiteral("https://nfe.svrs.rs.gov.br/ws/NfeAutorizacao/NFeAutorizacao4.asmx"));
    EXPECT_EQ(soap::enderecoPublicado(QStringLiteral("MG"), 1, soap::Servico::RecepcaoEvento),
              QStringLiteral("https://nfe.fazenda.mg.gov.br/nfe2/services/NFeRecepcaoEvento4"));
    EXPECT_TRUE(soap::enderecoPublicado(QStringLiteral("XX"), 1, soap::Servico::Autorizacao).isEmpty());

    NFeComponent c;
    c.Configuracoes.tpAmb = 1;
    c.Configuracoes.WebServices.uf = QStringLiteral("RS");
    EXPECT_TRUE(c.WebServices.url(soap::Servico::StatusServico).startsWith(QStringLiteral("https://nfe.sefazrs.rs.gov.br/")));
    c.Configuracoes.WebServices.urlBase = QStringLiteral("https://127.0.0.1:9443/ws/");
    EXPECT_EQ(c.WebServices.url(soap::Servico::StatusServico), QStringLiteral("https://127.0.0.1:9443/ws/NFeStatusServico4"));
    c.Configuracoes.WebServices.urls.insert(QStringLiteral("NFeStatusServico4"), QStringLiteral("https://127.0.0.1:1/x"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::StatusServico), QStringLiteral("https://127.0.0.1:1/x"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::Autorizacao), QStringLiteral("https://127.0.0.1:9443/ws/NFeAutorizacao4"));

    // Without an address nothing is attempted.
    c.Configuracoes.WebServices.urlBase.clear();
    c.Configuracoes.WebServices.uf = QStringLiteral("XX");
    c.WebServices.NFeConsulta.NFeChave = QStringLiteral("35261211222333000181550010000012311123469019");
    try {
        c.WebServices.Consultar();
        FAIL() << "a query without an address went somewhere";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("não configurado"))) << e.what();
    }
}

TEST(Soap, NFCeHasItsOwnAddresses)
{
    EXPECT_EQ(soap::enderecoPublicado(QStringLiteral("SP"), 2, soap::Servico::Inutilizacao, 65),
              QStringLiteral("https://homologacao.nfce.fazenda.sp.gov.br/ws/NFeInutilizacao4.asmx"));
    EXPECT_EQ(soap::enderecoPublicado(QStringLiteral("SC"), 1, soap::Servico::Inutilizacao, 65),
              QStringLiteral("https://nfce.svrs.rs.gov.br/ws/nfeinutilizacao/nfeinutilizacao4.asmx"));

    NFeComponent c;
    c.Configuracoes.tpAmb = 1;
    c.Configuracoes.WebServices.uf = QStringLiteral("SP");
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 65),
              QStringLiteral("https://nfce.fazenda.sp.gov.br/ws/NFeInutilizacao4.asmx"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 55),
              QStringLiteral("https://nfe.fazenda.sp.gov.br/ws/nfeinutilizacao4.asmx"));
    // An NF-e override is not an NFC-e address; one base serves both.
    c.Configuracoes.WebServices.urls.insert(QStringLiteral("NFeInutilizacao4"), QStringLiteral("https://127.0.0.1:1/nfe"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 65),
              QStringLiteral("https://nfce.fazenda.sp.gov.br/ws/NFeInutilizacao4.asmx"));
    c.Configuracoes.WebServices.urlBase = QStringLiteral("https://127.0.0.1:9443/ws");
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 65), QStringLiteral("https://127.0.0.1:9443/ws/NFeInutilizacao4"));
    c.Configuracoes.WebServices.urlBaseNFCe = QStringLiteral("https://127.0.0.1:9444/nfce/");
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 65), QStringLiteral("https://127.0.0.1:9444/nfce/NFeInutilizacao4"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 55), QStringLiteral("https://127.0.0.1:1/nfe"));
}

TEST(Verificador, SignatureOfAReceivedDocument)
{
    NFeComponent c;
    c.Configuracoes.arquivoPfx = t::arquivoPfx();
    c.Configuracoes.senhaPfx = t::senhaPfx();
    NotaFiscal& n = c.NotasFiscais.Add();
    n.NFe = samples::simplesNacional();
    c.Assinar();
    const VerificadorAssinatura v({t::pastaCertificado() + QStringLiteral("/kvo-demo-ca.pem")});
    using R = VerificadorAssinatura::Resultado;
    EXPECT_EQ(v.verificar(xml::parse(n.XML).get(), "infNFe"), R::Valida);
    EXPECT_FALSE(digestValue(n.XML).isEmpty());

    QByteArray alterado = n.XML;
    alterado.replace("<nNF>", "<nNF>9");
    EXPECT_EQ(v.verificar(xml::parse(alterado).get(), "infNFe"), R::Divergente);

    // A signature that covers some other element does not sign this one.
    QByteArray outraReferencia = n.XML;
    outraReferencia.replace("URI=\"#NFe", "URI=\"#XFe");
    EXPECT_EQ(v.verificar(xml::parse(outraReferencia).get(), "infNFe"), R::Divergente);

    QByteArray semAssinatura = n.XML;
    semAssinatura.truncate(semAssinatura.indexOf("<Signature"));
    semAssinatura += "</NFe>";
    EXPECT_EQ(v.verificar(xml::parse(semAssinatura).get(), "infNFe"), R::Ausente);
    EXPECT_TRUE(digestValue(semAssinatura).isEmpty());
}
