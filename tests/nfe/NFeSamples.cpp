#include "NFeSamples.h"

#include <QTimeZone>

namespace kvo::nfe::samples {

namespace {

Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }

QDateTime emissao()
{
    return QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0), QTimeZone(-3 * 3600));
}

NFe base(int numero, bool simples)
{
    NFe n;
    Ide& i = n.Ide;
    i.cUF = 35;
    i.cNF = 12345670 + numero;
    i.natOp = QStringLiteral("VENDA DE MERCADORIA");
    i.serie = 1;
    i.nNF = numero;
    i.dEmi = emissao();
    i.dSaiEnt = emissao();
    i.cMunFG = 3550308;
    i.tpAmb = 2;
    i.indFinal = 1;
    i.verProc = QStringLiteral("1.0.0.0");
    Emit& e = n.Emit;
    e.CNPJCPF = QStringLiteral("11222333000181");
    e.xNome = QStringLiteral("KVO DEMONSTRACAO COMERCIO LTDA");
    e.xFant = QStringLiteral("Mercado Demonstração");
    e.EnderEmit = {QStringLiteral("Rua das Acácias"), QStringLiteral("100"), QStringLiteral("Sala 2"),
                   QStringLiteral("Centro"), 3550308, QStringLiteral("São Paulo"), QStringLiteral("SP"),
                   1310100, 1058, QStringLiteral("BRASIL"), QStringLiteral("1133334444")};
    e.IE = QStringLiteral("111222333444");
    e.CRT = simples ? 1 : 3;
    Dest& d = n.Dest;
    d.CNPJCPF = QStringLiteral("12345678909");
    d.xNome = QStringLiteral("NF-E EMITIDA EM AMBIENTE DE HOMOLOGACAO - SEM VALOR FISCAL");
    d.EnderDest = {QStringLiteral("Av. Beira-Mar"), QStringLiteral("55"), QString(), QStringLiteral("Praia"),
                   2927408, QStringLiteral("Salvador"), QStringLiteral("BA"), 40000000, 1058,
                   QStringLiteral("BRASIL"), QStringLiteral("7132221111")};
    d.indIEDest = 9;
    n.Transp.modFrete = 9;
    n.infRespTec = {QStringLiteral("11222333000181"), QStringLiteral("Suporte KVO"),
                    QStringLiteral("suporte@kvo.example"), QStringLiteral("11999998888"), 0, QString()};
    return n;
}

Det& item(NFe& n, int k, const char* preco, const char* qtde)
{
    Det& d = n.Det.Add();
    Prod& p = d.Prod;
    p.cProd = QStringLiteral("P%1").arg(k, 5, 10, QChar(u'0'));
    p.xProd = QStringLiteral("Produto de teste número %1 – caixa").arg(k);
    p.NCM = QStringLiteral("22021000");
    p.setCFOP(QStringLiteral("6108"));
    p.uCom = QStringLiteral("UN");
    p.qCom = c(qtde);
    p.vUnCom = c(preco);
    p.vProd = (p.qCom * p.vUnCom).roundTo2Even();
    p.cEAN = QStringLiteral("SEM GTIN");
    p.indTot = 1;
    Imposto& t = d.Imposto;
    t.IPI.CST = QStringLiteral("53");
    t.PIS = {QStringLiteral("01"), p.vProd, c("1.65"), (p.vProd * c("0.0165")).roundTo2Even()};
    t.COFINS = {QStringLiteral("01"), p.vProd, c("7.60"), (p.vProd * c("0.076")).roundTo2Even()};
    return d;
}

void somar(NFe& n)
{
    ICMSTot& t = n.Total.ICMSTot;
    t = {};
    for (const Det& d : n.Det) {
        const ICMS& i = d.Imposto.ICMS;
        t.vProd += d.Prod.vProd;
        t.vDesc += d.Prod.vDesc;
        t.vFrete += d.Prod.vFrete;
        t.vOutro += d.Prod.vOutro;
        t.vBC += i.vBC;
        t.vICMS += i.vICMS;
        t.vBCST += i.vBCST;
        t.vST += i.vICMSST;
        t.vFCP += i.vFCP;
        t.vFCPST += i.vFCPST;
        t.vIPI += d.Imposto.IPI.vIPI;
        t.vII += d.Imposto.II.vII;
        t.vPIS += d.Imposto.PIS.v;
        t.vCOFINS += d.Imposto.COFINS.v;
        t.vFCPUFDest += d.Imposto.ICMSUFDest.vFCPUFDest;
        t.vICMSUFDest += d.Imposto.ICMSUFDest.vICMSUFDest;
        t.vICMSUFRemet += d.Imposto.ICMSUFDest.vICMSUFRemet;
        t.vTotTrib += d.Imposto.vTotTrib;
    }
    t.vNF = t.vProd - t.vDesc + t.vFrete + t.vOutro + t.vST + t.vIPI + t.vFCPST;
}

void pagamentoCartao(NFe& n)
{
    DetPag& p = n.pag.Add();
    p.indPag = 1;
    p.tPag = QStringLiteral("03");
    p.vPag = n.Total.ICMSTot.vNF;
    p.tpIntegra = 2;
    p.tBand = QStringLiteral("07");
}

} // namespace

NFe interestadualConsumidorFinal(int itens)
{
    NFe n = base(1231, false);
    n.Ide.idDest = 2;
    n.Ide.NFref.Add().refNFe = QStringLiteral("52060433009911002506550120000007800267301615");
    NFref& ecf = n.Ide.NFref.Add();
    ecf.refECF = {QStringLiteral("2D"), QStringLiteral("1"), QStringLiteral("4567")};
    static const char* csts[] = {"00", "10", "20", "60", "70", "40"};
    for (int k = 1; k <= itens; ++k) {
        Det& d = item(n, k, "12.3456", "3");
        ICMS& i = d.Imposto.ICMS;
        i.CST = QString::fromLatin1(csts[(k - 1) % 6]);
        i.orig = k % 2;
        if (i.CST != u"60" && i.CST != u"40") {
            i.modBC = 3;
            if (i.CST == u"20" || i.CST == u"70")
                i.pRedBC = c("10.00");
            i.vBC = d.Prod.vProd;
            i.pICMS = c("12.00");
            i.vICMS = (i.vBC * c("0.12")).roundTo2Even();
            i.vBCFCP = i.vBC;
            i.pFCP = c("2.00");
            i.vFCP = (i.vBC * c("0.02")).roundTo2Even();
        }
        if (i.CST == u"10" || i.CST == u"70") {
            i.pMVAST = c("40.00");
            i.vBCST = (d.Prod.vProd * c("1.4")).roundTo2Even();
            i.pICMSST = c("18.00");
            i.vICMSST = (i.vBCST * c("0.18")).roundTo2Even() - i.vICMS;
            i.vBCFCPST = i.vBCST;
            i.pFCPST = c("2.00");
            i.vFCPST = (i.vBCST * c("0.02")).roundTo2Even();
        }
        if (i.CST == u"60") {
            i.vBCSTRet = c("30.00");
            i.pST = c("18.00");
            i.vICMSSubstituto = c("3.60");
            i.vICMSSTRet = c("1.80");
        }
        d.Imposto.vTotTrib = (d.Prod.vProd * c("0.3145")).roundTo2Even();
        d.Imposto.IPI = {QStringLiteral("999"), QStringLiteral("50"), d.Prod.vProd, c("5.00"),
                         (d.Prod.vProd * c("0.05")).roundTo2Even()};
        ICMSUFDest& u = d.Imposto.ICMSUFDest;
        u.vBCUFDest = d.Prod.vProd;
        u.vBCFCPUFDest = d.Prod.vProd;
        u.pFCPUFDest = c("2.00");
        u.pICMSUFDest = c("20.50");
        u.pICMSInter = c("12.00");
        u.pICMSInterPart = c("100.00");
        u.vFCPUFDest = (u.vBCUFDest * c("0.02")).roundTo2Even();
        u.vICMSUFDest = (u.vBCUFDest * (u.pICMSUFDest - u.pICMSInter) / c("100")).roundTo2Even();
    }
    somar(n);
    n.Cobr.Fat = {QStringLiteral("1231"), n.Total.ICMSTot.vNF, Currency(), n.Total.ICMSTot.vNF};
    const Currency metade = (n.Total.ICMSTot.vNF / c("2")).roundTo2Even();
    n.Cobr.Dup.Add() = {QStringLiteral("001"), QDate(2027, 1, 5), metade};
    n.Cobr.Dup.Add() = {QStringLiteral("002"), QDate(2027, 2, 5), n.Total.ICMSTot.vNF - metade};
    pagamentoCartao(n);
    n.Transp.modFrete = 0;
    n.Transp.Transporta = {QStringLiteral("99888777000166"), QStringLiteral("Transportes Rápidos Ltda"),
                           QStringLiteral("123456789"), QStringLiteral("Rodovia BR-116, km 10"),
                           QStringLiteral("Guarulhos"), QStringLiteral("SP")};
    n.Transp.veicTransp = {QStringLiteral("ABC1D23"), QStringLiteral("SP"), QString()};
    n.Transp.Vol.Add() = {3, QStringLiteral("CAIXA"), QStringLiteral("KVO"), QStringLiteral("1-3"), c("12.5"), c("13.75")};
    n.InfAdic.infCpl = QStringLiteral("Pedido 778;Val Aprox Tributos R$ 34,95 (31,45%) Fonte: IBPT");
    return n;
}

NFe simplesNacional()
{
    NFe n = base(1232, true);
    n.Ide.idDest = 1;
    n.Dest.EnderDest.cMun = 3550308;
    n.Dest.EnderDest.xMun = QStringLiteral("São Paulo");
    n.Dest.EnderDest.UF = QStringLiteral("SP");
    n.Dest.CNPJCPF = QStringLiteral("99888777000166");
    n.Dest.indIEDest = 1;
    n.Dest.IE = QStringLiteral("123.456.789.111");
    static const char* csosns[] = {"101", "102", "103", "201", "202", "203", "300", "400", "500", "900"};
    int k = 0;
    for (const char* csosn : csosns) {
        Det& d = item(n, ++k, "10.00", "1.5");
        d.Prod.setCFOP(QStringLiteral("5102"));
        d.Imposto.PIS = {QStringLiteral("99"), Currency(), Currency(), Currency()};
        d.Imposto.COFINS = {QStringLiteral("99"), Currency(), Currency(), Currency()};
        d.Imposto.IPI = {};
        ICMS& i = d.Imposto.ICMS;
        i.CSOSN = QString::fromLatin1(csosn);
        if (i.CSOSN == u"101" || i.CSOSN == u"201" || i.CSOSN == u"900") {
            i.pCredSN = c("2.56");
            i.vCredICMSSN = (d.Prod.vProd * c("0.0256")).roundTo2Even();
        }
        if (i.CSOSN.startsWith(u'2') || i.CSOSN == u"900") {
            i.vBCST = c("21.00");
            i.pICMSST = c("18.00");
            i.vICMSST = c("1.08");
        }
        if (i.CSOSN == u"500") {
            i.vBCSTRet = c("15.00");
            i.pST = c("18.00");
            i.vICMSSTRet = c("2.70");
        }
    }
    somar(n);
    n.Total.ICMSTot.vBC = {};
    n.Total.ICMSTot.vICMS = {};
    DetPag& p = n.pag.Add();
    p.indPag = 0;
    p.tPag = QStringLiteral("99");
    p.xPag = QStringLiteral("Vale-presente da loja");
    p.vPag = n.Total.ICMSTot.vNF;
    n.InfAdic.infCpl = QStringLiteral("DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;"
                                      "NÃO GERA DIREITO A CRÉDITO FISCAL DE IPI.");
    return n;
}

NFe importacao()
{
    NFe n = base(1233, false);
    n.Ide.natOp = QStringLiteral("COMPRA PARA COMERCIALIZACAO");
    n.Ide.tpNF = 0;
    n.Ide.idDest = 3;
    n.Ide.indFinal = 0;
    n.Dest.CNPJCPF.clear();
    n.Dest.idEstrangeiro = QString();
    n.Dest.xNome = QStringLiteral("Shenzhen Export Trading Co");
    n.Dest.EnderDest = {QStringLiteral("Nanshan Road"), QStringLiteral("88"), QString(), QStringLiteral("Nanshan"),
                        9999999, QStringLiteral("EXTERIOR"), QStringLiteral("EX"), 0, 1600,
                        QStringLiteral("CHINA"), QString()};
    Det& d = item(n, 1, "250.00", "4");
    d.Prod.setCFOP(QStringLiteral("3102"));
    DI& di = d.Prod.DI.Add();
    di.nDI = QStringLiteral("2612345678");
    di.dDI = QDate(2026, 11, 20);
    di.xLocDesemb = QStringLiteral("Porto de Santos");
    di.UFDesemb = QStringLiteral("SP");
    di.dDesemb = QDate(2026, 11, 25);
    di.vAFRMM = c("45.00");
    di.cExportador = QStringLiteral("CN-7781");
    di.adi.Add() = {1, 1, QStringLiteral("33"), Currency()};
    d.Imposto.II = {c("1000.00"), c("120.00"), c("140.00"), c("3.80")};
    d.Imposto.ICMS.CST = QStringLiteral("00");
    d.Imposto.ICMS.orig = 1;
    d.Imposto.ICMS.vBC = c("1263.80");
    d.Imposto.ICMS.pICMS = c("18.00");
    d.Imposto.ICMS.vICMS = c("227.48");
    d.Imposto.IPI = {QStringLiteral("999"), QStringLiteral("00"), c("1140.00"), c("10.00"), c("114.00")};
    somar(n);
    n.Total.ICMSTot.vNF += n.Total.ICMSTot.vII;
    return n;
}

NFe exportacao()
{
    NFe n = base(1234, false);
    n.Ide.natOp = QStringLiteral("VENDA PARA O EXTERIOR");
    n.Ide.idDest = 3;
    n.Ide.indFinal = 0;
    n.Dest.CNPJCPF.clear();
    n.Dest.xNome = QStringLiteral("Distribuidora del Sur SA");
    n.Dest.EnderDest = {QStringLiteral("Av. Corrientes"), QStringLiteral("1234"), QString(), QStringLiteral("Centro"),
                        9999999, QStringLiteral("EXTERIOR"), QStringLiteral("EX"), 0, 639,
                        QStringLiteral("ARGENTINA"), QString()};
    Det& d = item(n, 1, "80.00", "10");
    d.Prod.setCFOP(QStringLiteral("7102"));
    d.Imposto.ICMS.CST = QStringLiteral("41");
    d.Imposto.PIS = {QStringLiteral("08"), {}, {}, {}};
    d.Imposto.COFINS = {QStringLiteral("08"), {}, {}, {}};
    somar(n);
    n.exporta = {QStringLiteral("PR"), QStringLiteral("Porto de Paranaguá"), QString()};
    DetPag& p = n.pag.Add();
    p.tPag = QStringLiteral("15");
    p.vPag = n.Total.ICMSTot.vNF;
    return n;
}

NFe devolucao()
{
    NFe n = base(1235, false);
    n.Ide.natOp = QStringLiteral("DEVOLUCAO DE VENDA");
    n.Ide.finNFe = 4;
    n.Ide.tpNF = 0;
    n.Ide.idDest = 2;
    n.Ide.NFref.Add().refNFe = QStringLiteral("35261211222333000181550010000012311000001230");
    Det& d = item(n, 1, "9.90", "2");
    d.Prod.setCFOP(QStringLiteral("2202"));
    d.Imposto.IPI = {};
    d.Imposto.ICMS.CST = QStringLiteral("90");
    d.Imposto.ICMS.vBC = d.Prod.vProd;
    d.Imposto.ICMS.pICMS = c("12.00");
    d.Imposto.ICMS.vICMS = c("2.38");
    somar(n);
    DetPag& p = n.pag.Add();
    p.tPag = QStringLiteral("90");
    return n;
}

} // namespace kvo::nfe::samples
