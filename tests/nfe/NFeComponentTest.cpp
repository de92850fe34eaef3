#include "NFeFixtures.h"
#include "NFeSamples.h"

#include "nfe/ConfiguracoesArquivo.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/ValidadorXml.h"
#include "nfe/VerificadorAssinatura.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

namespace {

class ComponenteAssinando : public ::testing::Test {
protected:
    ComponenteAssinando()
    {
        componente.Configuracoes.arquivoPfx = t::arquivoPfx();
        componente.Configuracoes.senhaPfx = t::senhaPfx();
        componente.Configuracoes.pastaSchemas = t::pastaSchemas();
        componente.DANFE.pastaPDF = dir.filePath(QStringLiteral("pdf"));
    }
    QByteArray ler(const QString& arquivo)
    {
        QFile f(arquivo);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << arquivo.toStdString();
        return f.readAll();
    }

    QTemporaryDir dir;
    NFeComponent componente;
};

} // namespace

// A reprint or the e-mail sets only number, status, reason and date of the
// protocol; the XML saved from it must still be a valid nfeProc.
TEST_F(ComponenteAssinando, SavedAuthorisedXmlIsAValidNfeProc)
{
    NotaFiscal& n = componente.NotasFiscais.Add();
    n.NFe = samples::interestadualConsumidorFinal(2);
    componente.GerarNFe();
    componente.Assinar();
    const QByteArray assinado = n.XML;
    // As it comes back from the stored column.
    componente.NotasFiscais.Clear();
    NotaFiscal& guardada = componente.NotasFiscais.LoadFromString(assinado);
    guardada.NFe.procNFe.nProt = QStringLiteral("135260000000077");
    guardada.NFe.procNFe.cStat = 100;
    guardada.NFe.procNFe.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
    guardada.NFe.procNFe.dhRecbto = QDateTime(QDate(2026, 12, 6), QTime(9, 30));
    const QString chave = chaveNumerica(guardada.NFe);
    guardada.NFe.Id = chave; // the life cycle's GetChaveAcesso()
    ASSERT_TRUE(guardada.GravarXML(chave + QStringLiteral("-nfe.xml"), dir.path()));

    const QByteArray salvo = ler(dir.filePath(chave + QStringLiteral("-nfe.xml")));
    EXPECT_TRUE(salvo.contains("<tpAmb>2</tpAmb><verAplic>"));
    EXPECT_TRUE(salvo.contains(QByteArray("<chNFe>" + chave.toLatin1() + "</chNFe>")));
    EXPECT_TRUE(salvo.contains(QByteArray("<digVal>" + digestValue(assinado).toLatin1() + "</digVal>")));
    EXPECT_TRUE(salvo.contains(assinado)) << "the signed bytes are kept as they are";
    const QStringList erros = componente.validador().validar(salvo, QStringLiteral("procNFe_v4.00.xsd"));
    EXPECT_TRUE(erros.isEmpty()) << erros.join(u'\n').toStdString();
}

TEST_F(ComponenteAssinando, CorrectionLetterPrintsOnThePrinterUnlessPrintingToFile)
{
    InfEvento& e = componente.EventoNFe.Evento.Add();
    e.tpEvento = EventoCartaCorrecao;
    e.chNFe = QStringLiteral("35261211222333000181550010000012311123469019");
    e.CNPJ = QStringLiteral("11222333000181");
    e.nSeqEvento = 2;
    e.dhEvento = QDateTime(QDate(2026, 12, 6), QTime(9, 30));
    e.xCorrecao = QStringLiteral("Endereço de entrega: Rua das Flores, 100");

    componente.DANFE.impressora = QStringLiteral("kvo-impressora-inexistente");
    try {
        componente.ImprimirEvento();
        FAIL() << "the letter went to no printer and nothing said so";
    } catch (const std::runtime_error& erro) {
        EXPECT_TRUE(QString::fromUtf8(erro.what()).contains(QStringLiteral("kvo-impressora-inexistente"))) << erro.what();
    }
    EXPECT_FALSE(QFileInfo::exists(componente.DANFE.pastaPDF)) << "nothing written in place of the print";

    componente.DANFE.imprimirEmArquivo = true;
    componente.ImprimirEvento();
    EXPECT_EQ(componente.ArquivoPDF(),
              dir.filePath(QStringLiteral("pdf/35261211222333000181550010000012311123469019-cce-02.pdf")));
    EXPECT_TRUE(ler(componente.ArquivoPDF()).startsWith("%PDF"));
}

TEST(ConfiguracoesArquivo, DanfeAndNFCeSettings)
{
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("nfe.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[nfe]\nuf=SP\n[webservices]\nurl=https://127.0.0.1:9443/ws\nurlNFCe=https://127.0.0.1:9444/nfce\n"
              "[webservicesNFCe]\nNFeInutilizacao4=https://127.0.0.1:9445/inut\n"
              "[danfe]\npasta=saida/pdf\nimpressora=Laser Escritorio\narquivo=S\n");
    ini.close();
    NFeComponent c;
    carregarConfiguracoes(c, ini.fileName());
    EXPECT_EQ(c.DANFE.pastaPDF, dir.filePath(QStringLiteral("saida/pdf")));
    EXPECT_EQ(c.DANFE.impressora, QStringLiteral("Laser Escritorio"));
    EXPECT_TRUE(c.DANFE.imprimirEmArquivo);
    EXPECT_EQ(c.WebServices.url(soap::Servico::Autorizacao, 65), QStringLiteral("https://127.0.0.1:9444/nfce/NFeAutorizacao4"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 65), QStringLiteral("https://127.0.0.1:9445/inut"));
    EXPECT_EQ(c.WebServices.url(soap::Servico::Inutilizacao, 55), QStringLiteral("https://127.0.0.1:9443/ws/NFeInutilizacao4"));
}
