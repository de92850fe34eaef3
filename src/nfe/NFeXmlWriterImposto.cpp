#include "nfe/NFeXmlWriterImpl.h"

#include <stdexcept>

// The tax groups of an item: one ICMS group per tax situation, IPI, import
// tax, PIS, COFINS and the destination-state partition.
namespace kvo::nfe::detail {

void Writer::imposto(const Imposto& i)
{
    open("imposto");
    moneyOpt("vTotTrib", i.vTotTrib);
    open("ICMS");
    if (!i.ICMS.CSOSN.isEmpty())
        icmsSn(i.ICMS);
    else
        icms(i.ICMS);
    close();
    if (!i.IPI.CST.isEmpty()) {
        open("IPI");
        txt("cEnq", i.IPI.cEnq);
        const bool trib = in(i.IPI.CST, {"00", "49", "50", "99"});
        open(trib ? "IPITrib" : "IPINT");
        req("CST", i.IPI.CST);
        if (trib) {
            money("vBC", i.IPI.vBC);
            pct("pIPI", i.IPI.pIPI);
            money("vIPI", i.IPI.vIPI);
        }
        close();
        close();
    }
    const II& ii = i.II;
    if (!(ii.vBC.isZero() && ii.vDespAdu.isZero() && ii.vII.isZero() && ii.vIOF.isZero())) {
        open("II");
        money("vBC", ii.vBC);
        money("vDespAdu", ii.vDespAdu);
        money("vII", ii.vII);
        money("vIOF", ii.vIOF);
        close();
    }
    pisCofins("PIS", "pPIS", "vPIS", i.PIS);
    pisCofins("COFINS", "pCOFINS", "vCOFINS", i.COFINS);
    const ICMSUFDest& u = i.ICMSUFDest;
    if (!(u.vBCUFDest.isZero() && u.pICMSUFDest.isZero() && u.pICMSInterPart.isZero())) {
        open("ICMSUFDest");
        money("vBCUFDest", u.vBCUFDest);
        moneyOpt("vBCFCPUFDest", u.vBCFCPUFDest);
        pctOpt("pFCPUFDest", u.pFCPUFDest);
        pct("pICMSUFDest", u.pICMSUFDest);
        req("pICMSInter", fmt::dec(u.pICMSInter, 2));
        pct("pICMSInterPart", u.pICMSInterPart);
        moneyOpt("vFCPUFDest", u.vFCPUFDest.roundTo2Even());
        money("vICMSUFDest", u.vICMSUFDest.roundTo2Even());
        money("vICMSUFRemet", u.vICMSUFRemet.roundTo2Even());
        close();
    }
    close();
}

void Writer::pisCofins(const char* group, const char* p, const char* v, const PISCOFINS& x)
{
    if (x.CST.isEmpty())
        return;
    open(group);
    const QString g = QLatin1String(group);
    if (in(x.CST, {"01", "02"})) {
        open(qPrintable(g + QStringLiteral("Aliq")));
        req("CST", x.CST);
        money("vBC", x.vBC);
        pct(p, x.p);
        money(v, x.v);
    } else if (in(x.CST, {"04", "05", "06", "07", "08", "09"})) {
        open(qPrintable(g + QStringLiteral("NT")));
        req("CST", x.CST);
    } else {
        open(qPrintable(g + QStringLiteral("Outr")));
        req("CST", x.CST);
        money("vBC", x.vBC);
        pct(p, x.p);
        money(v, x.v);
    }
    close();
    close();
}

void Writer::fcp(const ICMS& c, bool withBase)
{
    if (c.pFCP.isZero())
        return;
    if (withBase)
        money("vBCFCP", c.vBCFCP);
    pct("pFCP", c.pFCP);
    money("vFCP", c.vFCP.roundTo2Even());
}

void Writer::fcpSt(const ICMS& c)
{
    if (c.pFCPST.isZero())
        return;
    money("vBCFCPST", c.vBCFCPST);
    pct("pFCPST", c.pFCPST);
    money("vFCPST", c.vFCPST.roundTo2Even());
}

void Writer::st(const ICMS& c)
{
    num("modBCST", c.modBCST);
    pctOpt("pMVAST", c.pMVAST);
    pctOpt("pRedBCST", c.pRedBCST);
    money("vBCST", c.vBCST);
    pct("pICMSST", c.pICMSST);
    money("vICMSST", c.vICMSST);
    fcpSt(c);
}

void Writer::stRet(const ICMS& c)
{
    if (c.vBCSTRet.isZero() && c.vICMSSTRet.isZero() && c.pST.isZero())
        return;
    money("vBCSTRet", c.vBCSTRet);
    pct("pST", c.pST);
    moneyOpt("vICMSSubstituto", c.vICMSSubstituto);
    money("vICMSSTRet", c.vICMSSTRet);
    if (!c.pFCPSTRet.isZero()) {
        money("vBCFCPSTRet", c.vBCFCPSTRet);
        pct("pFCPSTRet", c.pFCPSTRet);
        money("vFCPSTRet", c.vFCPSTRet);
    }
}

void Writer::icms(const ICMS& c)
{
    const QString& cst = c.CST;
    auto own = [&] {
        num("modBC", c.modBC);
        money("vBC", c.vBC);
        pct("pICMS", c.pICMS);
        money("vICMS", c.vICMS);
    };
    auto deson = [&] {
        if (c.vICMSDeson.isZero())
            return;
        money("vICMSDeson", c.vICMSDeson);
        num("motDesICMS", c.motDesICMS);
    };
    const QString group = in(cst, {"40", "41", "50"}) ? QStringLiteral("ICMS40") : QStringLiteral("ICMS") + cst;
    if (!in(cst, {"00", "10", "20", "30", "40", "41", "50", "51", "60", "70", "90"}))
        throw std::invalid_argument("CST do ICMS sem grupo no leiaute 4.00: " + cst.toStdString());
    open(qPrintable(group));
    num("orig", c.orig);
    req("CST", cst);
    if (cst == u"00") {
        own();
        fcp(c, false);
    } else if (cst == u"10") {
        own();
        fcp(c, true);
        st(c);
    } else if (cst == u"20" || cst == u"70") {
        num("modBC", c.modBC);
        pct("pRedBC", c.pRedBC);
        money("vBC", c.vBC);
        pct("pICMS", c.pICMS);
        money("vICMS", c.vICMS);
        fcp(c, true);
        if (cst == u"70")
            st(c);
        deson();
    } else if (cst == u"30") {
        st(c);
        deson();
    } else if (group == u"ICMS40") {
        deson();
    } else if (cst == u"51") {
        if (!c.vBC.isZero()) {
            num("modBC", c.modBC);
            pctOpt("pRedBC", c.pRedBC);
            money("vBC", c.vBC);
            pct("pICMS", c.pICMS);
            money("vICMS", c.vICMS);
            fcp(c, true);
        }
    } else if (cst == u"60") {
        stRet(c);
    } else { // 90
        if (!c.vBC.isZero() || !c.vICMS.isZero()) {
            num("modBC", c.modBC);
            money("vBC", c.vBC);
            pctOpt("pRedBC", c.pRedBC);
            pct("pICMS", c.pICMS);
            money("vICMS", c.vICMS);
            fcp(c, true);
        }
        if (!c.vBCST.isZero() || !c.vICMSST.isZero())
            st(c);
        deson();
    }
    close();
}

void Writer::icmsSn(const ICMS& c)
{
    const QString& csosn = c.CSOSN;
    QString group;
    if (csosn == u"101" || csosn == u"201" || csosn == u"500" || csosn == u"900")
        group = QStringLiteral("ICMSSN") + csosn;
    else if (in(csosn, {"102", "103", "300", "400"}))
        group = QStringLiteral("ICMSSN102");
    else if (in(csosn, {"202", "203"}))
        group = QStringLiteral("ICMSSN202");
    else
        throw std::invalid_argument("CSOSN sem grupo no leiaute 4.00: " + csosn.toStdString());
    open(qPrintable(group));
    num("orig", c.orig);
    req("CSOSN", csosn);
    if (csosn == u"101") {
        pct("pCredSN", c.pCredSN);
        money("vCredICMSSN", c.vCredICMSSN);
    } else if (group == u"ICMSSN201" || group == u"ICMSSN202") {
        st(c);
        if (csosn == u"201") {
            pct("pCredSN", c.pCredSN);
            money("vCredICMSSN", c.vCredICMSSN);
        }
    } else if (csosn == u"500") {
        stRet(c);
    } else if (csosn == u"900") {
        if (!c.vBC.isZero() || !c.vICMS.isZero()) {
            num("modBC", c.modBC);
            money("vBC", c.vBC);
            pctOpt("pRedBC", c.pRedBC);
            pct("pICMS", c.pICMS);
            money("vICMS", c.vICMS);
        }
        if (!c.vBCST.isZero() || !c.vICMSST.isZero())
            st(c);
        if (!c.pCredSN.isZero()) {
            pct("pCredSN", c.pCredSN);
            money("vCredICMSSN", c.vCredICMSSN);
        }
    }
    close();
}

} // namespace kvo::nfe::detail
