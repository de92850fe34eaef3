#include "nfe/NFeXmlWriter.h"

#include "nfe/ChaveAcesso.h"
#include "nfe/NFeXmlWriterImpl.h"

#include <QCryptographicHash>

#include <stdexcept>

namespace kvo::nfe {

namespace detail {

void Writer::doc(const QString& digits, bool allowForeign)
{
    const QString d = OnlyNumber(digits);
    if (d.size() == 11)
        req("CPF", d);
    else if (!d.isEmpty() || !allowForeign)
        req("CNPJ", d);
}

void Writer::nfe(const NFe& n)
{
    const QString chave = QStringLiteral("NFe") + chaveNumerica(n);
    w.writeStartElement(QLatin1String("NFe"));
    w.writeDefaultNamespace(QLatin1String(NFeNamespace));
    open("infNFe");
    w.writeAttribute(QStringLiteral("versao"), QStringLiteral("4.00"));
    w.writeAttribute(QStringLiteral("Id"), chave);
    ide(n, chave);
    emit(n.Emit);
    dest(n.Dest);
    for (int i = 0; i < n.Det.Count(); ++i)
        det(n.Det[i], n.Det[i].nItem > 0 ? n.Det[i].nItem : i + 1);
    open("total");
    total(n.Total.ICMSTot);
    close();
    transp(n.Transp);
    cobr(n.Cobr);
    pag(n.pag);
    if (!fmt::text(n.InfAdic.infAdFisco).isEmpty() || !fmt::text(n.InfAdic.infCpl).isEmpty()) {
        open("infAdic");
        opt("infAdFisco", n.InfAdic.infAdFisco);
        opt("infCpl", n.InfAdic.infCpl);
        close();
    }
    if (!n.exporta.UFSaidaPais.isEmpty()) {
        open("exporta");
        txt("UFSaidaPais", n.exporta.UFSaidaPais);
        txt("xLocExporta", n.exporta.xLocExporta);
        opt("xLocDespacho", n.exporta.xLocDespacho);
        close();
    }
    infRespTec(n.infRespTec, chave);
    close();
    close();
}

void Writer::ide(const NFe& n, const QString& chave)
{
    const Ide& i = n.Ide;
    open("ide");
    num("cUF", i.cUF);
    req("cNF", chave.mid(3 + 35, 8));
    txt("natOp", i.natOp);
    num("mod", i.mod);
    num("serie", i.serie);
    num("nNF", i.nNF);
    req("dhEmi", fmt::dateTime(i.dEmi));
    if (i.dSaiEnt.isValid())
        req("dhSaiEnt", fmt::dateTime(i.dSaiEnt));
    num("tpNF", i.tpNF);
    num("idDest", i.idDest);
    num("cMunFG", i.cMunFG);
    num("tpImp", i.tpImp);
    num("tpEmis", i.tpEmis);
    req("cDV", chave.right(1));
    num("tpAmb", i.tpAmb);
    num("finNFe", i.finNFe);
    num("indFinal", i.indFinal);
    num("indPres", i.indPres);
    num("procEmi", i.procEmi);
    txt("verProc", i.verProc);
    if (i.dhCont.isValid()) {
        req("dhCont", fmt::dateTime(i.dhCont));
        txt("xJust", i.xJust);
    }
    for (const NFref& r : i.NFref) {
        open("NFref");
        if (!r.refNFe.isEmpty()) {
            req("refNFe", OnlyNumber(r.refNFe));
        } else {
            open("refECF");
            txt("mod", r.refECF.mod);
            txt("nECF", r.refECF.nECF);
            txt("nCOO", r.refECF.nCOO);
            close();
        }
        close();
    }
    close();
}

void Writer::endereco(const char* name, const Endereco& e, bool emitente)
{
    open(name);
    txt("xLgr", e.xLgr);
    txt("nro", e.nro.trimmed().isEmpty() ? QStringLiteral("SN") : e.nro);
    opt("xCpl", e.xCpl);
    txt("xBairro", e.xBairro);
    req("cMun", QString::number(e.cMun).rightJustified(7, u'0'));
    txt("xMun", e.xMun);
    txt("UF", e.UF);
    if (emitente || e.CEP > 0)
        req("CEP", QString::number(e.CEP).rightJustified(8, u'0'));
    if (e.cPais > 0) {
        num("cPais", e.cPais);
        txt("xPais", e.xPais);
    }
    if (OnlyNumber(e.fone).size() >= 6)
        req("fone", OnlyNumber(e.fone));
    close();
}

void Writer::emit(const Emit& e)
{
    open("emit");
    doc(e.CNPJCPF);
    txt("xNome", e.xNome);
    opt("xFant", e.xFant);
    endereco("enderEmit", e.EnderEmit, true);
    txt("IE", e.IE);
    opt("IEST", e.IEST);
    if (!e.IM.isEmpty()) {
        txt("IM", e.IM);
        opt("CNAE", e.CNAE);
    }
    num("CRT", e.CRT);
    close();
}

void Writer::dest(const Dest& d)
{
    if (d.xNome.isEmpty() && d.CNPJCPF.isEmpty())
        return;
    open("dest");
    if (d.CNPJCPF.isEmpty())
        req("idEstrangeiro", fmt::text(d.idEstrangeiro));
    else
        doc(d.CNPJCPF);
    opt("xNome", d.xNome);
    if (!d.EnderDest.xLgr.isEmpty())
        endereco("enderDest", d.EnderDest, false);
    num("indIEDest", d.indIEDest);
    if (d.indIEDest == 1)
        opt("IE", OnlyNumber(d.IE));
    opt("ISUF", d.ISUF);
    opt("email", d.email);
    close();
}

void Writer::det(const Det& d, int nItem)
{
    open("det");
    w.writeAttribute(QStringLiteral("nItem"), QString::number(nItem));
    prod(d.Prod);
    imposto(d.Imposto);
    opt("infAdProd", d.infAdProd);
    close();
}

void Writer::prod(const Prod& p)
{
    open("prod");
    txt("cProd", p.cProd);
    req("cEAN", p.cEAN.isEmpty() ? QStringLiteral("SEM GTIN") : p.cEAN);
    txt("xProd", p.xProd);
    req("NCM", p.NCM.isEmpty() ? QStringLiteral("00") : OnlyNumber(p.NCM));
    if (!p.CEST.isEmpty())
        req("CEST", OnlyNumber(p.CEST));
    req("CFOP", OnlyNumber(p.CFOP));
    txt("uCom", p.uCom);
    req("qCom", fmt::dec(p.qCom, 4));
    req("vUnCom", fmt::price(p.vUnCom));
    money("vProd", p.vProd);
    const QString eanTrib = p.cEANTrib.isEmpty() ? p.cEAN : p.cEANTrib;
    req("cEANTrib", eanTrib.isEmpty() ? QStringLiteral("SEM GTIN") : eanTrib);
    txt("uTrib", p.uTrib.isEmpty() ? p.uCom : p.uTrib);
    req("qTrib", fmt::dec(p.qTrib.isZero() ? p.qCom : p.qTrib, 4));
    req("vUnTrib", fmt::price(p.vUnTrib.isZero() ? p.vUnCom : p.vUnTrib));
    moneyOpt("vFrete", p.vFrete);
    moneyOpt("vSeg", p.vSeg);
    moneyOpt("vDesc", p.vDesc);
    moneyOpt("vOutro", p.vOutro);
    num("indTot", p.indTot);
    for (const DI& di : p.DI) {
        open("DI");
        txt("nDI", di.nDI);
        req("dDI", fmt::date(di.dDI));
        txt("xLocDesemb", di.xLocDesemb);
        txt("UFDesemb", di.UFDesemb);
        req("dDesemb", fmt::date(di.dDesemb));
        num("tpViaTransp", di.tpViaTransp);
        if (di.tpViaTransp == 1)
            money("vAFRMM", di.vAFRMM); // required for sea freight
        num("tpIntermedio", di.tpIntermedio);
        txt("cExportador", di.cExportador);
        for (const Adi& a : di.adi) {
            open("adi");
            if (a.nAdicao > 0)
                num("nAdicao", a.nAdicao);
            num("nSeqAdic", a.nSeqAdic);
            txt("cFabricante", a.cFabricante);
            moneyOpt("vDescDI", a.vDescDI);
            close();
        }
        close();
    }
    opt("xPed", p.xPed);
    close();
}

void Writer::total(const ICMSTot& t)
{
    open("ICMSTot");
    money("vBC", t.vBC);
    money("vICMS", t.vICMS);
    money("vICMSDeson", t.vICMSDeson);
    if (!t.vFCPUFDest.isZero() || !t.vICMSUFDest.isZero() || !t.vICMSUFRemet.isZero()) {
        money("vFCPUFDest", t.vFCPUFDest.roundTo2Even());
        money("vICMSUFDest", t.vICMSUFDest.roundTo2Even());
        money("vICMSUFRemet", t.vICMSUFRemet.roundTo2Even());
    }
    money("vFCP", t.vFCP.roundTo2Even());
    money("vBCST", t.vBCST);
    money("vST", t.vST);
    money("vFCPST", t.vFCPST.roundTo2Even());
    money("vFCPSTRet", t.vFCPSTRet);
    money("vProd", t.vProd);
    money("vFrete", t.vFrete);
    money("vSeg", t.vSeg);
    money("vDesc", t.vDesc);
    money("vII", t.vII);
    money("vIPI", t.vIPI);
    money("vIPIDevol", t.vIPIDevol);
    money("vPIS", t.vPIS.roundTo2Even());
    money("vCOFINS", t.vCOFINS.roundTo2Even());
    money("vOutro", t.vOutro);
    money("vNF", t.vNF);
    moneyOpt("vTotTrib", t.vTotTrib);
    close();
}

void Writer::transp(const Transp& t)
{
    open("transp");
    num("modFrete", t.modFrete);
    const Transporta& c = t.Transporta;
    if (!c.CNPJCPF.isEmpty() || !c.xNome.isEmpty()) {
        open("transporta");
        if (!OnlyNumber(c.CNPJCPF).isEmpty())
            doc(c.CNPJCPF);
        opt("xNome", c.xNome);
        opt("IE", c.IE);
        opt("xEnder", c.xEnder);
        opt("xMun", c.xMun);
        opt("UF", c.UF);
        close();
    }
    if (!t.veicTransp.placa.isEmpty()) {
        open("veicTransp");
        txt("placa", t.veicTransp.placa);
        opt("UF", t.veicTransp.UF);
        opt("RNTC", t.veicTransp.RNTC);
        close();
    }
    for (const Vol& v : t.Vol) {
        open("vol");
        if (v.qVol > 0)
            num("qVol", v.qVol);
        opt("esp", v.esp);
        opt("marca", v.marca);
        opt("nVol", v.nVol);
        if (!v.pesoL.isZero())
            req("pesoL", fmt::dec(v.pesoL, 3));
        if (!v.pesoB.isZero())
            req("pesoB", fmt::dec(v.pesoB, 3));
        close();
    }
    close();
}

void Writer::cobr(const Cobr& c)
{
    const bool fat = !c.Fat.nFat.isEmpty() || !c.Fat.vOrig.isZero();
    if (!fat && c.Dup.isEmpty())
        return;
    open("cobr");
    if (fat) {
        open("fat");
        opt("nFat", c.Fat.nFat);
        money("vOrig", c.Fat.vOrig);
        money("vDesc", c.Fat.vDesc);
        money("vLiq", c.Fat.vLiq);
        close();
    }
    for (const Dup& d : c.Dup) {
        open("dup");
        opt("nDup", d.nDup);
        if (d.dVenc.isValid())
            req("dVenc", fmt::date(d.dVenc));
        money("vDup", d.vDup);
        close();
    }
    close();
}

void Writer::pag(const Pag& p)
{
    open("pag");
    if (p.isEmpty()) { // the group is mandatory: an invoice without payment says so
        open("detPag");
        req("tPag", QStringLiteral("90"));
        money("vPag", Currency());
        close();
    }
    for (const DetPag& d : p) {
        open("detPag");
        if (d.indPag >= 0)
            num("indPag", d.indPag);
        req("tPag", d.tPag);
        opt("xPag", d.xPag);
        money("vPag", d.vPag);
        if (d.tpIntegra > 0) {
            open("card");
            num("tpIntegra", d.tpIntegra);
            if (!d.CNPJ.isEmpty())
                req("CNPJ", OnlyNumber(d.CNPJ));
            opt("tBand", d.tBand);
            opt("cAut", d.cAut);
            close();
        }
        close();
    }
    moneyOpt("vTroco", p.vTroco);
    close();
}

void Writer::infRespTec(const InfRespTec& r, const QString& chave)
{
    if (r.CNPJ.isEmpty())
        return;
    open("infRespTec");
    req("CNPJ", OnlyNumber(r.CNPJ));
    txt("xContato", r.xContato);
    txt("email", r.email);
    req("fone", OnlyNumber(r.fone));
    if (!r.CSRT.isEmpty()) {
        req("idCSRT", QString::number(r.idCSRT).rightJustified(2, u'0'));
        const QByteArray hash = QCryptographicHash::hash((r.CSRT + chave.mid(3)).toUtf8(),
                                                         QCryptographicHash::Sha1);
        req("hashCSRT", QString::fromLatin1(hash.toBase64()));
    }
    close();
}

void Writer::proc(const ProcNFe& p)
{
    w.writeStartElement(QLatin1String("protNFe"));
    w.writeDefaultNamespace(QLatin1String(NFeNamespace));
    w.writeAttribute(QStringLiteral("versao"), QStringLiteral("4.00"));
    open("infProt");
    num("tpAmb", p.tpAmb);
    txt("verAplic", p.verAplic.isEmpty() ? QStringLiteral("KVO") : p.verAplic);
    req("chNFe", OnlyNumber(p.chNFe));
    req("dhRecbto", fmt::dateTime(p.dhRecbto));
    opt("nProt", p.nProt);
    opt("digVal", p.digVal);
    num("cStat", p.cStat);
    txt("xMotivo", p.xMotivo);
    close();
    close();
}

} // namespace detail

using detail::Writer;

QString chaveDoDocumento(const NFe& n)
{
    const Ide& i = n.Ide;
    return GerarChaveAcesso(i.cUF, i.dEmi.date(), n.Emit.CNPJCPF, i.serie, i.nNF, i.tpEmis,
                            i.cNF, i.mod);
}

QString chaveNumerica(const NFe& n)
{
    // The invoice module may set the Id from the bare 44-digit key.
    return OnlyNumber(n.Id.isEmpty() ? chaveDoDocumento(n) : n.Id);
}

QByteArray writeNFeXml(const NFe& nfe)
{
    QByteArray out;
    out.reserve(2048 + nfe.Det.Count() * 1400);
    Writer(&out).nfe(nfe);
    return out;
}

QByteArray writeProtNFeXml(const ProcNFe& prot)
{
    QByteArray protocolo;
    Writer(&protocolo).proc(prot);
    return protocolo;
}

QByteArray writeNfeProcXml(const QByteArray& signedNFe, const ProcNFe& prot)
{
    QByteArray protocolo;
    Writer(&protocolo).proc(prot);
    return QByteArrayLiteral("<nfeProc xmlns=\"") + NFeNamespace + QByteArrayLiteral("\" versao=\"4.00\">")
        + signedNFe + protocolo + QByteArrayLiteral("</nfeProc>");
}

} // namespace kvo::nfe
