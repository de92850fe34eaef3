#include <QTimeZone>
#include "NFeSamples.h"

#include "nfe/NFeFormat.h"
#include "nfe/NFeXmlReader.h"
#include "nfe/NFeXmlWriter.h"

#include <gtest/gtest.h>

using namespace kvo::nfe;
using kvo::Currency;

namespace {

QString xmlOf(const NFe& n) { return QString::fromUtf8(writeNFeXml(n)); }
bool has(const QString& xml, const char* fragment) { return xml.contains(QString::fromUtf8(fragment)); }

} // namespace

TEST(NFeXmlWriter, IdAndIdeCarryTheAccessKey)
{
    const NFe n = samples::interestadualConsumidorFinal(1);
    const QString xml = xmlOf(n);
    const QString key = chaveDoDocumento(n);
    EXPECT_EQ(key, QStringLiteral("NFe35261211222333000181550010000012311123469019"));
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<NFe xmlns=\"http://www.portalfiscal.inf.br/nfe\">"
                                              "<infNFe versao=\"4.00\" Id=\"") + key + u'"'));
    EXPECT_TRUE(has(xml, "<cNF>12346901</cNF>"));
    EXPECT_TRUE(has(xml, "<cDV>9</cDV>"));
    EXPECT_TRUE(has(xml, "<dhEmi>2026-12-06T10:30:00-03:00</dhEmi>"));
    EXPECT_FALSE(has(xml, "indPag</indPag><mod>")) << "indPag left ide in layout 4.00";
}

TEST(NFeXmlWriter, NumbersUseEachTypesDecimals)
{
    NFe n = samples::interestadualConsumidorFinal(1);
    n.Det[0].Imposto.ICMSUFDest.vICMSUFDest = Currency::fromString(u"0.125");
    n.Det[0].Imposto.ICMSUFDest.vICMSUFRemet = Currency::fromString(u"0.135");
    n.Det[0].Imposto.ICMS.pICMS = Currency::fromString(u"17.125");
    const QString xml = xmlOf(n);
    EXPECT_TRUE(has(xml, "<qCom>3.0000</qCom><vUnCom>12.3456000000</vUnCom><vProd>37.04</vProd>"));
    EXPECT_TRUE(has(xml, "<pesoL>12.500</pesoL><pesoB>13.750</pesoB>"));
    EXPECT_TRUE(has(xml, "<pICMS>17.1250</pICMS>"));
    EXPECT_TRUE(has(xml, "<pFCP>2.00</pFCP>"));
    // Four-decimal partition amounts are rounded to the cent, halves to even.
    EXPECT_TRUE(has(xml, "<vICMSUFDest>0.12</vICMSUFDest><vICMSUFRemet>0.14</vICMSUFRemet>"));
    EXPECT_TRUE(has(xml, "<pICMSInter>12.00</pICMSInter>"));
}

TEST(NFeXmlWriter, EmptyOptionalGroupsAreLeftOut)
{
    const QString xml = xmlOf(samples::devolucao());
    for (const char* group : {"<cobr>", "<transporta>", "<veicTransp>", "<vol>", "<exporta>",
                              "<ICMSUFDest>", "<II>", "<IPI>", "<infAdic>",
                              "<card>", "<vTotTrib>"})
        EXPECT_FALSE(has(xml, group)) << group;
    EXPECT_TRUE(has(xml, "<NFref><refNFe>35261211222333000181550010000012311000001230</refNFe></NFref>"));
    EXPECT_TRUE(has(xml, "<detPag><tPag>90</tPag><vPag>0.00</vPag></detPag>"));
}

TEST(NFeXmlWriter, MandatoryPaymentGroupWhenNoneWasGiven)
{
    NFe n = samples::devolucao();
    n.pag.Clear();
    EXPECT_TRUE(has(xmlOf(n), "<pag><detPag><tPag>90</tPag><vPag>0.00</vPag></detPag></pag>"));
}

TEST(NFeXmlWriter, TaxCodesWithoutAGroupAreRefused)
{
    NFe n = samples::devolucao();
    n.Det[0].Imposto.ICMS.CST = QStringLiteral("45");
    EXPECT_THROW(writeNFeXml(n), std::invalid_argument);
    n.Det[0].Imposto.ICMS.CSOSN = QStringLiteral("999");
    EXPECT_THROW(writeNFeXml(n), std::invalid_argument);
}

TEST(NFeXmlWriter, ForeignCustomerAndCardPayment)
{
    const QString exp = xmlOf(samples::exportacao());
    EXPECT_TRUE(has(exp, "<dest><idEstrangeiro></idEstrangeiro><xNome>"));
    EXPECT_TRUE(has(exp, "<cMun>9999999</cMun><xMun>EXTERIOR</xMun><UF>EX</UF><cPais>639</cPais>"));
    EXPECT_TRUE(has(exp, "<exporta><UFSaidaPais>PR</UFSaidaPais><xLocExporta>Porto de Paranaguá</xLocExporta></exporta>"));
    const QString card = xmlOf(samples::interestadualConsumidorFinal(1));
    EXPECT_TRUE(has(card, "<tPag>03</tPag>"));
    EXPECT_TRUE(has(card, "<card><tpIntegra>2</tpIntegra><tBand>07</tBand></card>"));
    EXPECT_TRUE(has(card, "<refECF><mod>2D</mod><nECF>1</nECF><nCOO>4567</nCOO></refECF>"));
    EXPECT_TRUE(has(card, "<veicTransp><placa>ABC1D23</placa><UF>SP</UF></veicTransp>"));
}

TEST(NFeFormat, TextFitsTheLayoutsStringType)
{
    EXPECT_EQ(fmt::text(QStringLiteral("  Caixa – 12\r\n unidades  ")), QStringLiteral("Caixa 12 unidades"));
    EXPECT_EQ(fmt::text(QStringLiteral("Ação & Cia")), QStringLiteral("Ação & Cia"));
    EXPECT_EQ(fmt::rate(Currency::fromString(u"7")), QStringLiteral("7.00"));
    EXPECT_EQ(fmt::dateTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone(-10800))),
              QStringLiteral("2026-01-02T03:04:05-03:00"));
}

TEST(NFeXmlReader, EverySampleRoundTripsUnchanged)
{
    for (const NFe& n : {samples::interestadualConsumidorFinal(), samples::simplesNacional(),
                         samples::importacao(), samples::exportacao(), samples::devolucao()}) {
        const QByteArray first = writeNFeXml(n);
        const NFe back = readNFeXml(first);
        EXPECT_EQ(writeNFeXml(back), first) << back.Id.toStdString();
        EXPECT_EQ(back.Det.Count(), n.Det.Count());
        EXPECT_EQ(back.Total.ICMSTot, n.Total.ICMSTot);
    }
}

TEST(NFeXmlReader, ReadsTheProtocolOfAnNfeProc)
{
    const NFe n = samples::devolucao();
    ProcNFe prot;
    prot.tpAmb = 2;
    prot.verAplic = QStringLiteral("KVO-AUT-1.0");
    prot.chNFe = chaveDoDocumento(n).mid(3);
    prot.dhRecbto = QDateTime(QDate(2026, 12, 6), QTime(10, 31, 5), QTimeZone(-10800));
    prot.nProt = QStringLiteral("135260000012345");
    prot.digVal = QStringLiteral("q1w2e3r4t5y6u7i8o9p0a1s2d3f=");
    prot.cStat = 100;
    prot.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
    const QByteArray nfe = writeNFeXml(n);
    const QByteArray proc = writeNfeProcXml(nfe, prot);
    EXPECT_TRUE(proc.contains("</NFe><protNFe xmlns=\"http://www.portalfiscal.inf.br/nfe\" versao=\"4.00\">"));
    const NFe back = readNFeXml(proc);
    EXPECT_EQ(back.procNFe, prot);
    EXPECT_EQ(back.Dest, n.Dest);
    EXPECT_EQ(extractNFeElement(proc), nfe);
    EXPECT_THROW(readNFeXml("<outro/>"), std::runtime_error);
    EXPECT_THROW(readNFeXml("<NFe><infNFe>"), std::runtime_error);
}
