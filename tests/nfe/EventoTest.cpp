#include "NFeFixtures.h"

#include "nfe/NFeComponent.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

namespace {

const QString Chave = QStringLiteral("35261211222333000181550010000012311123469019");

class Eventos : public ::testing::Test {
protected:
    Eventos()
    {
        componente.Configuracoes.arquivoPfx = t::arquivoPfx();
        componente.Configuracoes.senhaPfx = t::senhaPfx();
        componente.Configuracoes.pastaSchemas = t::pastaSchemas();
    }
    InfEvento& evento(int tipo)
    {
        InfEvento& e = componente.EventoNFe.Evento.Add();
        e.cOrgao = 35;
        e.CNPJ = QStringLiteral("11.222.333/0001-81");
        e.chNFe = Chave;
        e.dhEvento = QDateTime(QDate(2026, 12, 6), QTime(15, 0), QTimeZone(-10800));
        e.tpEvento = tipo;
        return e;
    }
    // The independent verifier, for documents whose signed element is `elemento`.
    int verificar(const QByteArray& xml, const char* elemento)
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("evento.xml")));
        f.open(QIODevice::WriteOnly);
        f.write(xml);
        f.close();
        return t::executar(QStringLiteral("xmlsec1"),
                           {QStringLiteral("--verify"), QStringLiteral("--id-attr:Id"), QLatin1String(elemento),
                            QStringLiteral("--trusted-pem"), t::pastaCertificado() + QStringLiteral("/kvo-demo-ca.pem"),
                            f.fileName()});
    }
    NFeComponent componente;
};

} // namespace

TEST_F(Eventos, CancellationIsSignedAndValid)
{
    InfEvento& e = evento(EventoCancelamento);
    e.nProt = QStringLiteral("135260000012345");
    e.xJust = QStringLiteral("Cliente desistiu da compra");
    EXPECT_EQ(idDoEvento(e), QStringLiteral("ID110111") + Chave + QStringLiteral("01"));
    const QByteArray xml = componente.GerarEventoAssinado();
    EXPECT_TRUE(xml.contains("<descEvento>Cancelamento</descEvento><nProt>135260000012345</nProt>"));
    EXPECT_TRUE(xml.contains("<CNPJ>11222333000181</CNPJ>"));
    EXPECT_EQ(xml.count("<Signature xmlns"), 1);
    if (t::programaDisponivel(QStringLiteral("xmlsec1"))) {
        EXPECT_EQ(verificar(xml, "infEvento"), 0);
    }
}

TEST_F(Eventos, TwoCorrectionLettersEachGetTheirSignature)
{
    evento(EventoCartaCorrecao).xCorrecao = QStringLiteral("Endereço de entrega: Rua B, 20");
    InfEvento& segunda = evento(EventoCartaCorrecao);
    segunda.nSeqEvento = 2;
    segunda.xCorrecao = QStringLiteral("Peso bruto correto: 14,000 kg");
    const QByteArray xml = componente.GerarEventoAssinado();
    EXPECT_EQ(xml.count("<Signature xmlns"), 2);
    EXPECT_EQ(xml.count("<xCondUso>A Carta de Correcao e disciplinada"), 2);
    if (t::programaDisponivel(QStringLiteral("xmlsec1"))) {
        EXPECT_EQ(verificar(xml, "infEvento"), 0);
        QByteArray changed = xml;
        changed.replace("Rua B, 20", "Rua B, 28"); // xmlsec1 checks the first signature
        EXPECT_NE(verificar(changed, "infEvento"), 0);
    }
}

TEST_F(Eventos, SchemaRefusesAShortJustification)
{
    InfEvento& e = evento(EventoCancelamento);
    e.nProt = QStringLiteral("135260000012345");
    e.xJust = QStringLiteral("erro");
    try {
        componente.GerarEventoAssinado();
        FAIL() << "a 4-character justification was accepted";
    } catch (const std::runtime_error& erro) {
        EXPECT_TRUE(QString::fromUtf8(erro.what()).contains(QStringLiteral("Elemento 'xJust'"))) << erro.what();
    }
    componente.EventoNFe.Evento.Clear();
    EXPECT_THROW(componente.GerarEventoAssinado(), std::runtime_error);
}

TEST_F(Eventos, NumberVoidingRequest)
{
    InutilizacaoNFe i;
    i.cUF = 35;
    i.ano = 2026;
    i.CNPJ = QStringLiteral("11222333000181");
    i.serie = 1;
    i.nNFIni = 1240;
    i.nNFFin = 1245;
    i.xJust = QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA");
    const QByteArray xml = componente.GerarInutilizacaoAssinada(i);
    EXPECT_TRUE(xml.contains("Id=\"ID35261122233300018155001000001240000001245\""));
    EXPECT_TRUE(xml.contains("<ano>26</ano>"));
    if (t::programaDisponivel(QStringLiteral("xmlsec1"))) {
        EXPECT_EQ(verificar(xml, "infInut"), 0);
    }
}
