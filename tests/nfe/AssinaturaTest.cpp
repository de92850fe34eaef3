#include "NFeFixtures.h"
#include "NFeSamples.h"

#include "nfe/AssinadorXml.h"
#include "nfe/CertificadoA1.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeXmlReader.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/ValidadorXml.h"

#include <QFile>
#include <QTimeZone>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

namespace {

std::vector<NFe> todasAsVariantes()
{
    return {samples::interestadualConsumidorFinal(), samples::simplesNacional(), samples::importacao(),
            samples::exportacao(), samples::devolucao()};
}

class Assinatura : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        cert = std::make_unique<CertificadoA1>(CertificadoA1::carregar(t::arquivoPfx(), t::senhaPfx()));
        assinador = std::make_unique<AssinadorXml>(*cert);
    }
    static void TearDownTestSuite()
    {
        assinador.reset();
        cert.reset();
    }

    // Runs the independent verifier with the demo CA as the trust anchor.
    static int verificar(const QByteArray& xml, QString* saida)
    {
        QFile f(dir.filePath(QStringLiteral("verificar.xml")));
        f.open(QIODevice::WriteOnly);
        f.write(xml);
        f.close();
        return t::executar(QStringLiteral("xmlsec1"),
                           {QStringLiteral("--verify"), QStringLiteral("--id-attr:Id"), QStringLiteral("infNFe"),
                            QStringLiteral("--trusted-pem"), t::pastaCertificado() + QStringLiteral("/kvo-demo-ca.pem"),
                            f.fileName()},
                           saida);
    }

    static inline std::unique_ptr<CertificadoA1> cert;
    static inline std::unique_ptr<AssinadorXml> assinador;
    static inline QTemporaryDir dir;
    ValidadorXml validador{t::pastaSchemas()};
};

} // namespace

TEST_F(Assinatura, CertificateFacts)
{
    EXPECT_EQ(cert->cnpj(), QStringLiteral("11222333000181"));
    EXPECT_EQ(cert->nomeTitular(), QStringLiteral("KVO DEMONSTRACAO COMERCIO LTDA"));
    EXPECT_TRUE(cert->subject().contains(QStringLiteral("CN=KVO DEMONSTRACAO COMERCIO LTDA:11222333000181")));
    EXPECT_LT(cert->validoDe(), QDateTime::currentDateTimeUtc());
    EXPECT_GT(cert->validoAte(), QDateTime::currentDateTimeUtc().addYears(4));
    EXPECT_FALSE(cert->vencido(QDateTime::currentDateTimeUtc()));
    try {
        CertificadoA1::carregar(t::arquivoPfx(), QStringLiteral("errada"));
        FAIL() << "wrong password accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Senha do certificado inválida ou certificado sem chave privada.");
    }
    EXPECT_THROW(CertificadoA1::carregar(QByteArray("not a pfx"), QStringLiteral("1234")), std::runtime_error);
}

TEST_F(Assinatura, EveryVariantValidatesAfterSigning)
{
    for (const NFe& n : todasAsVariantes()) {
        const QByteArray unsignedXml = writeNFeXml(n);
        // The schema requires the signature: an unsigned document must fail.
        EXPECT_FALSE(validador.validar(unsignedXml, QStringLiteral("nfe_v4.00.xsd")).isEmpty());
        const QByteArray signedXml = assinador->assinar(unsignedXml, "infNFe");
        const QStringList erros = validador.validar(signedXml, QStringLiteral("nfe_v4.00.xsd"));
        EXPECT_TRUE(erros.isEmpty()) << n.Ide.nNF << ": " << erros.join(u'\n').toStdString();
        EXPECT_EQ(signedXml.count("<X509Certificate>"), 1) << "only the holder's certificate";
        EXPECT_FALSE(signedXml.contains('\n')) << "no line breaks anywhere, signature included";
        // Reading the signed document back writes the same unsigned document.
        EXPECT_EQ(writeNFeXml(readNFeXml(signedXml)), unsignedXml);
    }
}

TEST_F(Assinatura, SchemaComplaintsNameTheElement)
{
    QByteArray xml = assinador->assinar(writeNFeXml(samples::devolucao()), "infNFe");
    xml.replace("<vProd>19.80</vProd>", "<vProd>19,80</vProd>");
    const QStringList erros = validador.validar(xml, QStringLiteral("nfe_v4.00.xsd"));
    ASSERT_FALSE(erros.isEmpty());
    EXPECT_TRUE(erros.first().startsWith(QStringLiteral("NFe/infNFe/det[1]/prod/vProd: Elemento 'vProd'")))
        << erros.first().toStdString();
    EXPECT_TRUE(erros.first().contains(QStringLiteral("19,80")));
}

TEST_F(Assinatura, IndependentVerifierAcceptsAndDetectsTampering)
{
    if (!t::programaDisponivel(QStringLiteral("xmlsec1")))
        GTEST_SKIP() << "xmlsec1 (Debian package xmlsec1) is not installed";
    for (const NFe& n : todasAsVariantes()) {
        const QByteArray signedXml = assinador->assinar(writeNFeXml(n), "infNFe");
        QString saida;
        EXPECT_EQ(verificar(signedXml, &saida), 0) << saida.toStdString();
        QByteArray changed = signedXml;
        const qsizetype at = changed.indexOf("<xNome>") + 7;
        changed[at] = changed[at] == 'K' ? 'X' : 'K';
        EXPECT_NE(verificar(changed, &saida), 0) << "a changed name must break the signature";
    }
}

TEST_F(Assinatura, ComponentGeneratesSignsValidatesAndStores)
{
    NFeComponent componente;
    componente.Configuracoes.arquivoPfx = t::arquivoPfx();
    componente.Configuracoes.senhaPfx = t::senhaPfx();
    componente.Configuracoes.pastaSchemas = t::pastaSchemas();
    componente.NotasFiscais.Add().NFe = samples::interestadualConsumidorFinal(3);
    componente.NotasFiscais.Add().NFe = samples::simplesNacional();
    componente.GerarNFe();
    componente.Assinar();
    EXPECT_NO_THROW(componente.Validar());
    QTemporaryDir pasta;
    componente.NotasFiscais.GravarXML(pasta.path());
    const QString arquivo = componente.NotasFiscais[0].NomeArq;
    EXPECT_TRUE(arquivo.endsWith(QStringLiteral("35261211222333000181550010000012311123469019-nfe.xml")));

    componente.NotasFiscais.Clear();
    NotaFiscal& lida = componente.NotasFiscais.LoadFromFile(arquivo);
    EXPECT_EQ(lida.NFe.Det.Count(), 3);
    EXPECT_TRUE(lida.Assinada);
    EXPECT_NO_THROW(componente.Validar());

    // A broken document: Validar names the note and the element.
    lida.NFe.Emit.EnderEmit.UF = QStringLiteral("XX");
    componente.Assinar();
    try {
        componente.Validar();
        FAIL() << "invalid UF accepted";
    } catch (const std::runtime_error& e) {
        const QString msg = QString::fromUtf8(e.what());
        EXPECT_TRUE(msg.startsWith(QStringLiteral("Falha na validação dos dados da nota 1"))) << e.what();
        EXPECT_TRUE(msg.contains(QStringLiteral("Elemento 'UF'"))) << e.what();
    }
}

TEST_F(Assinatura, AuthorisedDocumentIsStoredAsNfeProc)
{
    NFeComponent componente;
    componente.Configuracoes.arquivoPfx = t::arquivoPfx();
    componente.Configuracoes.senhaPfx = t::senhaPfx();
    componente.Configuracoes.pastaSchemas = t::pastaSchemas();
    NotaFiscal& nota = componente.NotasFiscais.Add();
    nota.NFe = samples::exportacao();
    componente.Assinar();
    ProcNFe& prot = nota.NFe.procNFe;
    prot.tpAmb = 2;
    prot.verAplic = QStringLiteral("KVO-AUT-1.0");
    prot.chNFe = nota.NFe.Id.mid(3);
    prot.dhRecbto = QDateTime(QDate(2026, 12, 6), QTime(11, 2, 3), QTimeZone(-10800));
    prot.nProt = QStringLiteral("135260000054321");
    prot.digVal = QStringLiteral("vFL68WETQ+mvj1aJAMDx+oVi928=");
    prot.cStat = 100;
    prot.xMotivo = QStringLiteral("Autorizado o uso da NF-e");

    QTemporaryDir pasta;
    ASSERT_TRUE(nota.GravarXML(QStringLiteral("autorizada.xml"), pasta.path()));
    QFile f(pasta.filePath(QStringLiteral("autorizada.xml")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray xml = f.readAll();
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><nfeProc"));
    EXPECT_EQ(ValidadorXml::schemaPara(xml), QStringLiteral("procNFe_v4.00.xsd"));
    const QStringList erros = validador.validar(xml, ValidadorXml::schemaPara(xml));
    EXPECT_TRUE(erros.isEmpty()) << erros.join(u'\n').toStdString();
    if (t::programaDisponivel(QStringLiteral("xmlsec1"))) {
        QString saida;
        EXPECT_EQ(verificar(xml, &saida), 0) << "the signature survives inside nfeProc: " << saida.toStdString();
    }

    // A reprint loads it back with its protocol.
    componente.NotasFiscais.Clear();
    const NotaFiscal& lida = componente.NotasFiscais.LoadFromFile(f.fileName());
    EXPECT_EQ(lida.NFe.procNFe, prot);
    EXPECT_EQ(lida.XML, nota.XML);
}
