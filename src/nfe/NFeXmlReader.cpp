#include "nfe/NFeXmlReader.h"

#include "nfe/NFeFormat.h"
#include "nfe/XmlLib.h"

#include <libxml/tree.h>

#include <stdexcept>

namespace kvo::nfe {

namespace {

// A read-only view of one element with lookups by child name.
class El {
public:
    El(xmlNodePtr n = nullptr) : m_node(n) {}
    explicit operator bool() const { return m_node != nullptr; }
    El operator[](const char* name) const { return first(name); }
    El first(const char* name) const
    {
        for (xmlNodePtr c = m_node ? m_node->children : nullptr; c; c = c->next)
            if (c->type == XML_ELEMENT_NODE && xmlStrEqual(c->name, xml::xs(name)))
                return El(c);
        return {};
    }
    template <typename F>
    void each(const char* name, F f) const
    {
        for (xmlNodePtr c = m_node ? m_node->children : nullptr; c; c = c->next)
            if (c->type == XML_ELEMENT_NODE && xmlStrEqual(c->name, xml::xs(name)))
                f(El(c));
    }
    QString name() const { return m_node ? QString::fromUtf8(reinterpret_cast<const char*>(m_node->name)) : QString(); }
    QString text() const
    {
        if (!m_node)
            return {};
        xmlChar* t = xmlNodeGetContent(m_node);
        const QString s = QString::fromUtf8(reinterpret_cast<const char*>(t));
        xmlFree(t);
        return s;
    }
    QString attr(const char* name) const
    {
        xmlChar* t = m_node ? xmlGetProp(m_node, xml::xs(name)) : nullptr;
        const QString s = t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QString();
        xmlFree(t);
        return s;
    }
    QString s(const char* child) const { return first(child).text(); }
    int i(const char* child, int absent = 0) const
    {
        const El c = first(child);
        return c ? c.text().toInt() : absent;
    }
    Currency c(const char* child) const { return fmt::parseAmount(first(child).text()); }
    xmlNodePtr node() const { return m_node; }

private:
    xmlNodePtr m_node;
};

QString doc(const El& e)
{
    const QString cnpj = e.s("CNPJ");
    return cnpj.isEmpty() ? e.s("CPF") : cnpj;
}

Endereco endereco(const El& e)
{
    Endereco a;
    a.xLgr = e.s("xLgr");
    a.nro = e.s("nro");
    a.xCpl = e.s("xCpl");
    a.xBairro = e.s("xBairro");
    a.cMun = e.i("cMun");
    a.xMun = e.s("xMun");
    a.UF = e.s("UF");
    a.CEP = e.i("CEP");
    a.cPais = e.i("cPais");
    a.xPais = e.s("xPais");
    a.fone = e.s("fone");
    return a;
}

void ide(const El& e, Ide& i)
{
    i.cUF = e.i("cUF");
    i.cNF = e.i("cNF");
    i.natOp = e.s("natOp");
    i.mod = e.i("mod");
    i.serie = e.i("serie");
    i.nNF = e.i("nNF");
    i.dEmi = fmt::parseDateTime(e.s("dhEmi"));
    i.dSaiEnt = fmt::parseDateTime(e.s("dhSaiEnt"));
    i.tpNF = e.i("tpNF");
    i.idDest = e.i("idDest");
    i.cMunFG = e.i("cMunFG");
    i.tpImp = e.i("tpImp");
    i.tpEmis = e.i("tpEmis");
    i.cDV = e.i("cDV");
    i.tpAmb = e.i("tpAmb");
    i.finNFe = e.i("finNFe");
    i.indFinal = e.i("indFinal");
    i.indPres = e.i("indPres");
    i.procEmi = e.i("procEmi");
    i.verProc = e.s("verProc");
    i.dhCont = fmt::parseDateTime(e.s("dhCont"));
    i.xJust = e.s("xJust");
    e.each("NFref", [&](El r) {
        NFref& ref = i.NFref.Add();
        ref.refNFe = r.s("refNFe");
        const El ecf = r["refECF"];
        ref.refECF = {ecf.s("mod"), ecf.s("nECF"), ecf.s("nCOO")};
    });
}

void icms(const El& group, ICMS& c)
{
    c.orig = group.i("orig");
    c.CST = group.s("CST");
    c.CSOSN = group.s("CSOSN");
    c.modBC = group.i("modBC", 3);
    c.vBC = group.c("vBC");
    c.pRedBC = group.c("pRedBC");
    c.pICMS = group.c("pICMS");
    c.vICMS = group.c("vICMS");
    c.modBCST = group.i("modBCST", 4);
    c.pMVAST = group.c("pMVAST");
    c.pRedBCST = group.c("pRedBCST");
    c.vBCST = group.c("vBCST");
    c.pICMSST = group.c("pICMSST");
    c.vICMSST = group.c("vICMSST");
    c.vBCFCP = group.c("vBCFCP");
    c.pFCP = group.c("pFCP");
    c.vFCP = group.c("vFCP");
    c.vBCFCPST = group.c("vBCFCPST");
    c.pFCPST = group.c("pFCPST");
    c.vFCPST = group.c("vFCPST");
    c.vBCSTRet = group.c("vBCSTRet");
    c.pST = group.c("pST");
    c.vICMSSubstituto = group.c("vICMSSubstituto");
    c.vICMSSTRet = group.c("vICMSSTRet");
    c.vBCFCPSTRet = group.c("vBCFCPSTRet");
    c.pFCPSTRet = group.c("pFCPSTRet");
    c.vFCPSTRet = group.c("vFCPSTRet");
    c.pCredSN = group.c("pCredSN");
    c.vCredICMSSN = group.c("vCredICMSSN");
    c.vICMSDeson = group.c("vICMSDeson");
    c.motDesICMS = group.i("motDesICMS");
}

El onlyChild(const El& e)
{
    for (xmlNodePtr c = e.node() ? e.node()->children : nullptr; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE)
            return El(c);
    return {};
}

PISCOFINS pisCofins(const El& e, const char* p, const char* v)
{
    const El g = onlyChild(e);
    return {g.s("CST"), g.c("vBC"), g.c(p), g.c(v)};
}

void det(const El& e, Det& d)
{
    d.nItem = e.attr("nItem").toInt();
    const El p = e["prod"];
    Prod& o = d.Prod;
    o.cProd = p.s("cProd");
    o.cEAN = p.s("cEAN");
    o.xProd = p.s("xProd");
    o.NCM = p.s("NCM");
    o.CEST = p.s("CEST");
    o.CFOP = p.s("CFOP");
    o.uCom = p.s("uCom");
    o.qCom = p.c("qCom");
    o.vUnCom = p.c("vUnCom");
    o.vProd = p.c("vProd");
    o.cEANTrib = p.s("cEANTrib");
    o.uTrib = p.s("uTrib");
    o.qTrib = p.c("qTrib");
    o.vUnTrib = p.c("vUnTrib");
    o.vFrete = p.c("vFrete");
    o.vSeg = p.c("vSeg");
    o.vDesc = p.c("vDesc");
    o.vOutro = p.c("vOutro");
    o.indTot = p.i("indTot");
    o.xPed = p.s("xPed");
    p.each("DI", [&](El x) {
        DI& di = o.DI.Add();
        di.nDI = x.s("nDI");
        di.dDI = fmt::parseDate(x.s("dDI"));
        di.xLocDesemb = x.s("xLocDesemb");
        di.UFDesemb = x.s("UFDesemb");
        di.dDesemb = fmt::parseDate(x.s("dDesemb"));
        di.tpViaTransp = x.i("tpViaTransp");
        di.vAFRMM = x.c("vAFRMM");
        di.tpIntermedio = x.i("tpIntermedio");
        di.cExportador = x.s("cExportador");
        x.each("adi", [&](El a) {
            di.adi.Add() = {a.i("nAdicao"), a.i("nSeqAdic"), a.s("cFabricante"), a.c("vDescDI")};
        });
    });
    const El t = e["imposto"];
    Imposto& i = d.Imposto;
    i.vTotTrib = t.c("vTotTrib");
    icms(onlyChild(t["ICMS"]), i.ICMS);
    if (const El ipi = t["IPI"]) {
        i.IPI.cEnq = ipi.s("cEnq");
        const El g = ipi["IPITrib"] ? ipi["IPITrib"] : ipi["IPINT"];
        i.IPI.CST = g.s("CST");
        i.IPI.vBC = g.c("vBC");
        i.IPI.pIPI = g.c("pIPI");
        i.IPI.vIPI = g.c("vIPI");
    }
    const El ii = t["II"];
    i.II = {ii.c("vBC"), ii.c("vDespAdu"), ii.c("vII"), ii.c("vIOF")};
    i.PIS = pisCofins(t["PIS"], "pPIS", "vPIS");
    i.COFINS = pisCofins(t["COFINS"], "pCOFINS", "vCOFINS");
    const El u = t["ICMSUFDest"];
    i.ICMSUFDest = {u.c("vBCUFDest"), u.c("vBCFCPUFDest"), u.c("pFCPUFDest"), u.c("pICMSUFDest"),
                    u.c("pICMSInter"), u.c("pICMSInterPart"), u.c("vFCPUFDest"), u.c("vICMSUFDest"),
                    u.c("vICMSUFRemet")};
    d.infAdProd = e.s("infAdProd");
}

void total(const El& t, ICMSTot& o)
{
    o = {t.c("vBC"), t.c("vICMS"), t.c("vICMSDeson"), t.c("vFCPUFDest"), t.c("vICMSUFDest"),
         t.c("vICMSUFRemet"), t.c("vFCP"), t.c("vBCST"), t.c("vST"), t.c("vFCPST"),
         t.c("vFCPSTRet"), t.c("vProd"), t.c("vFrete"), t.c("vSeg"), t.c("vDesc"), t.c("vII"),
         t.c("vIPI"), t.c("vIPIDevol"), t.c("vPIS"), t.c("vCOFINS"), t.c("vOutro"), t.c("vNF"),
         t.c("vTotTrib")};
}

void infNFe(const El& inf, NFe& n)
{
    n.Id = inf.attr("Id");
    ide(inf["ide"], n.Ide);
    const El emit = inf["emit"];
    n.Emit.CNPJCPF = doc(emit);
    n.Emit.xNome = emit.s("xNome");
    n.Emit.xFant = emit.s("xFant");
    n.Emit.EnderEmit = endereco(emit["enderEmit"]);
    n.Emit.IE = emit.s("IE");
    n.Emit.IEST = emit.s("IEST");
    n.Emit.IM = emit.s("IM");
    n.Emit.CNAE = emit.s("CNAE");
    n.Emit.CRT = emit.i("CRT");
    if (const El dest = inf["dest"]) {
        n.Dest.CNPJCPF = doc(dest);
        n.Dest.idEstrangeiro = dest.s("idEstrangeiro");
        n.Dest.xNome = dest.s("xNome");
        n.Dest.EnderDest = endereco(dest["enderDest"]);
        n.Dest.indIEDest = dest.i("indIEDest");
        n.Dest.IE = dest.s("IE");
        n.Dest.ISUF = dest.s("ISUF");
        n.Dest.email = dest.s("email");
    }
    inf.each("det", [&](El d) { det(d, n.Det.Add()); });
    total(inf["total"]["ICMSTot"], n.Total.ICMSTot);
    const El tr = inf["transp"];
    n.Transp.modFrete = tr.i("modFrete");
    const El c = tr["transporta"];
    n.Transp.Transporta = {doc(c), c.s("xNome"), c.s("IE"), c.s("xEnder"), c.s("xMun"), c.s("UF")};
    const El v = tr["veicTransp"];
    n.Transp.veicTransp = {v.s("placa"), v.s("UF"), v.s("RNTC")};
    tr.each("vol", [&](El x) {
        n.Transp.Vol.Add() = {x.i("qVol"), x.s("esp"), x.s("marca"), x.s("nVol"), x.c("pesoL"), x.c("pesoB")};
    });
    const El cobr = inf["cobr"];
    const El fat = cobr["fat"];
    n.Cobr.Fat = {fat.s("nFat"), fat.c("vOrig"), fat.c("vDesc"), fat.c("vLiq")};
    cobr.each("dup", [&](El x) { n.Cobr.Dup.Add() = {x.s("nDup"), fmt::parseDate(x.s("dVenc")), x.c("vDup")}; });
    const El pag = inf["pag"];
    pag.each("detPag", [&](El x) {
        DetPag& d = n.pag.Add();
        d.indPag = x.i("indPag", -1);
        d.tPag = x.s("tPag");
        d.xPag = x.s("xPag");
        d.vPag = x.c("vPag");
        const El card = x["card"];
        d.tpIntegra = card.i("tpIntegra");
        d.CNPJ = card.s("CNPJ");
        d.tBand = card.s("tBand");
        d.cAut = card.s("cAut");
    });
    n.pag.vTroco = pag.c("vTroco");
    n.InfAdic = {inf["infAdic"].s("infAdFisco"), inf["infAdic"].s("infCpl")};
    const El ex = inf["exporta"];
    n.exporta = {ex.s("UFSaidaPais"), ex.s("xLocExporta"), ex.s("xLocDespacho")};
    const El rt = inf["infRespTec"];
    n.infRespTec.CNPJ = rt.s("CNPJ");
    n.infRespTec.xContato = rt.s("xContato");
    n.infRespTec.email = rt.s("email");
    n.infRespTec.fone = rt.s("fone");
    n.infRespTec.idCSRT = rt.i("idCSRT");
}

xmlNodePtr nfeNode(xmlDocPtr doc)
{
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (root && xmlStrEqual(root->name, xml::xs("NFe")))
        return root;
    return root ? xml::findElement(root->children, "NFe") : nullptr;
}

} // namespace

NFe readNFeXml(const QByteArray& bytes)
{
    xml::DocPtr doc = xml::parse(bytes);
    xmlNodePtr nfeEl = nfeNode(doc.get());
    const El inf = El(nfeEl)["infNFe"];
    if (!inf)
        throw std::runtime_error("O arquivo não contém uma NF-e (infNFe não encontrado).");
    NFe n;
    infNFe(inf, n);
    if (xmlNodePtr prot = xml::findElement(xmlDocGetRootElement(doc.get()), "infProt")) {
        const El p(prot);
        ProcNFe& o = n.procNFe;
        o.tpAmb = p.i("tpAmb");
        o.verAplic = p.s("verAplic");
        o.chNFe = p.s("chNFe");
        o.dhRecbto = fmt::parseDateTime(p.s("dhRecbto"));
        o.nProt = p.s("nProt");
        o.digVal = p.s("digVal");
        o.cStat = p.i("cStat");
        o.xMotivo = p.s("xMotivo");
    }
    return n;
}

QByteArray extractNFeElement(const QByteArray& bytes)
{
    const qsizetype start = bytes.indexOf("<NFe");
    const qsizetype end = bytes.indexOf("</NFe>");
    if (start < 0 || end < start)
        return {};
    QByteArray element = bytes.mid(start, end + 6 - start);
    if (!element.contains("xmlns=")) // inside nfeProc the namespace was inherited
        element.insert(4, QByteArray(" xmlns=\"http://www.portalfiscal.inf.br/nfe\""));
    return element;
}

} // namespace kvo::nfe
