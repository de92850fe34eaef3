#include "invoice/MontagemNFe.h"

#include "core/Format.h"
#include "core/Text.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DProduto.h"

// The items of the document: products, their taxes, the header amounts
// apportioned over them and the totals summed from what the items carry.
namespace kvo::nfvenda {

namespace {
Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }

Currency r2(Currency v) { return v.roundTo2Even(); }

bool em(const QString& v, std::initializer_list<const char*> lista) {
    for (const char* x : lista)
        if (v == QLatin1String(x))
            return true;
    return false;
}

QString mapear(const QString& v, std::initializer_list<const char*> lista, const QString& padrao) {
    const QString t = v.trimmed();
    return em(t, lista) ? t : padrao;
}

// Clears what the item's ICMS group does not carry, so the totals add up
// exactly what the document shows.
void somenteOQueOGrupoLeva(nfe::ICMS& c) {
    const QString& cst = c.CST;
    const QString& sn = c.CSOSN;
    const bool simples = !sn.isEmpty();
    const bool proprio = simples ? sn == u"900" : em(cst, {"00", "10", "20", "51", "70", "90"});
    const bool st = simples ? em(sn, {"201", "202", "203", "900"}) : em(cst, {"10", "30", "70", "90"});
    const bool fcp = !simples && em(cst, {"00", "10", "20", "51", "70", "90"});
    const bool stRet = simples ? sn == u"500" : cst == u"60";
    const bool credito = simples && em(sn, {"101", "201", "900"});
    if (!proprio || (!simples && em(cst, {"00", "10"})))
        c.pRedBC = Currency();
    if (!proprio || (!simples && cst == u"51" && c.vBC.isZero()))
        c.vBC = c.pICMS = c.vICMS = Currency();
    if (!st) {
        c.vBCST = c.pICMSST = c.vICMSST = c.pMVAST = c.pRedBCST = Currency();
        c.vBCFCPST = c.pFCPST = c.vFCPST = Currency();
    }
    if (!fcp || c.vBC.isZero())
        c.vBCFCP = c.pFCP = c.vFCP = Currency();
    if (!stRet)
        c.vBCSTRet = c.pST = c.vICMSSubstituto = c.vICMSSTRet = Currency();
    if (!credito)
        c.pCredSN = c.vCredICMSSN = Currency();
}
} // namespace

int MontagemNFe::componentes(qint64 codproduto) {
    auto it = m_componentes.constFind(codproduto);
    if (it == m_componentes.constEnd())
        it = m_componentes.insert(
            codproduto, conexao()
                            .scalar(QStringLiteral("SELECT count(*) as QTDE_ITENS FROM PRODUTO_COMPOSICAO "
                                                   "WHERE PRODUTO_COMPOSICAO.CODPRODUTO = :P"),
                                    {{QStringLiteral("P"), codproduto}})
                            .toInt());
    return *it;
}

Currency MontagemNFe::aliquotaNcm(qint64 codproduto) {
    auto it = m_aliqNcm.constFind(codproduto);
    if (it == m_aliqNcm.constEnd())
        it = m_aliqNcm.insert(codproduto, codproduto > 0 ? TdmProduto::gerarInstance().retornarAliqNCM(int(codproduto))
                                                         : Currency());
    return *it;
}

int MontagemNFe::origemProduto(qint64 codproduto) {
    if (const auto it = m_origens.constFind(codproduto); it != m_origens.constEnd())
        return *it;
    const QString o = conexao()
                          .scalar(QStringLiteral("SELECT coalesce(PRO_ICMS_ORIGEM, '0') as PRO_ICMS_ORIGEM FROM PRODUTO "
                                                 "WHERE CODPRODUTO = :P"),
                                  {{QStringLiteral("P"), codproduto}})
                          .toString()
                          .trimmed();
    const int origem = em(o, {"1", "2", "3", "4", "5", "6", "7", "8"}) ? o.toInt() : 0;
    m_origens.insert(codproduto, origem);
    return origem;
}

// Origin, composition and tax rate of every product of the saved invoice in a
// query or two, not three a product; compositions and rates only when the
// document uses them. A product read nowhere here (an item not yet saved) is
// looked up on its own.
void MontagemNFe::carregarProdutos() {
    const SqlParams nota{{QStringLiteral("N"), inteiro(m_cab, "CODNFVENDA")},
                         {QStringLiteral("S"), str(m_cab, "CODSERIE")}};
    const bool tributos = str(m_cab, "NFV_TIPO") == u"S" && str(m_cab, "CFOP_CLASSIFICACAO") != QStringLiteral("Devolução")
        && flag("NF.LEI.IMP");
    // Joined from the invoice's products: each read by its key, whatever the size of the register.
    const QString produtosDaNota =
        QStringLiteral("select distinct CODPRODUTO from NFVENDA_ITEM where CODNFVENDA = :N and CODSERIE = :S");
    const auto rs = conexao().query(
        QStringLiteral("select p.CODPRODUTO, coalesce(p.PRO_ICMS_ORIGEM, '0'), %1 from (%3) i "
                       "join PRODUTO p on p.CODPRODUTO = i.CODPRODUTO %2")
            .arg(tributos ? QStringLiteral("iif(coalesce(p.PRO_ICMS_ORIGEM, '0') in ('1', '2', '6', '7'), "
                                           "n.NCM_ALIQ_IMPORTADO, n.NCM_ALIQ_NACIONAL)")
                          : QStringLiteral("0"),
                 tributos ? QStringLiteral("left join NCM_ALIQUOTA n on n.NCM_CODIGO = replace(p.PRO_NCM, '.', '')")
                          : QString(),
                 produtosDaNota),
        nota);
    for (rs->first(); !rs->eof(); rs->next()) {
        const qint64 cod = rs->field(0).asInteger();
        const QString o = rs->field(1).asString().trimmed();
        m_origens.insert(cod, em(o, {"1", "2", "3", "4", "5", "6", "7", "8"}) ? o.toInt() : 0);
        if (tributos)
            m_aliqNcm.insert(cod, rs->field(2).asCurrency());
        if (flag("NF.DET.COMP"))
            m_componentes.insert(cod, 0);
    }
    if (flag("NF.DET.COMP")) {
        const auto c = conexao().query(QStringLiteral("select c.CODPRODUTO, count(*) from (%1) i "
                                                      "join PRODUTO_COMPOSICAO c on c.CODPRODUTO = i.CODPRODUTO "
                                                      "group by c.CODPRODUTO")
                                           .arg(produtosDaNota),
                                       nota);
        for (c->first(); !c->eof(); c->next())
            m_componentes.insert(c->field(0).asInteger(), int(c->field(1).asInteger()));
    }
}

void MontagemNFe::itens() {
    RecordSet& i = m_dm.cdsNFVendaItem();
    carregarProdutos();
    const QString ordem = i.indexFieldNames();
    if (flag("NF.ORD.DESCRI"))
        i.setIndexFieldNames(QStringLiteral("PRO_DESCRICAO"));
    try {
        for (i.first(); !i.eof(); i.next())
            item(i);
    } catch (...) {
        i.setIndexFieldNames(ordem);
        throw;
    }
    i.setIndexFieldNames(ordem);
}

void MontagemNFe::item(RecordSet& i) {
    const qint64 codproduto = inteiro(i, "CODPRODUTO");
    if (flag("NF.DET.COMP") && codproduto > 0 && componentes(codproduto) > 0) {
        composicao(i, codproduto);
        return;
    }
    nfe::Det& d = m_doc.Det.Add();
    d.nItem = m_doc.Det.Count();
    nfe::Prod& p = d.Prod;
    const QString descricao = str(i, "PRO_DESCRICAO").trimmed();
    p.cProd = str(i, "CODPESQUISA").trimmed();
    if (p.cProd.isEmpty())
        p.cProd = QString::number(codproduto);
    p.cEAN = p.cEANTrib = gtinOuSemGtin(str(i, "PRO_EAN13"));
    p.xProd = descricao;
    const QString ncm = OnlyNumber(str(i, "PRO_NCM"));
    p.NCM = ncm.size() == 8 ? ncm : QStringLiteral("00000000");
    const QString cest = OnlyNumber(str(i, "NFVI_CEST"));
    if (cest.size() == 7)
        p.CEST = cest;
    const QString cfop = str(i, "CODCFOP").trimmed();
    p.setCFOP(cfop.isEmpty() ? str(m_cab, "CODCFOP").trimmed() : cfop);
    if (flag("PRO.UND.NFE")) {
        p.uCom = str(i, "UND_COMP").trimmed();
        p.qCom = cur(i, "NFVI_QTDE_UND");
        p.vUnCom = cur(i, "NFVI_VLR_UND");
    } else {
        p.uCom = str(i, "NFVI_UNIDADE").trimmed();
        p.qCom = cur(i, "NFVI_QTDE");
        p.vUnCom = cur(i, "NFVI_VLR_UNITARIO");
    }
    if (p.uCom.isEmpty())
        p.uCom = QStringLiteral("UN");
    p.uTrib = p.uCom;
    p.qTrib = p.qCom;
    p.vUnTrib = p.vUnCom;
    p.vProd = r2(m_dm.NFVENDAITEM_TotalItem());
    p.vDesc = r2(cur(i, "NFVI_TOTAL_DESCONTO"));
    if (flag("NF.IMPORT") && !str(i, "NFVI_DI_NUMERO").trimmed().isEmpty()) {
        nfe::DI& di = p.DI.Add();
        di.nDI = str(i, "NFVI_DI_NUMERO").trimmed();
        di.dDI = f(i, "NFVI_DI_DATA_REGISTRO").asDate();
        di.xLocDesemb = str(i, "NFVI_DI_LOCAL_DESEMB").trimmed();
        di.UFDesemb = str(i, "NFVI_DI_UF_DESEMB").trimmed().toUpper();
        di.dDesemb = f(i, "NFVI_DI_DATA_DESEMB").asDate();
        di.cExportador = str(i, "NFVI_DI_COD_EXPORTADOR").trimmed();
        nfe::Adi& a = di.adi.Add();
        a.nAdicao = 1;
        a.nSeqAdic = 1;
        a.cFabricante = str(i, "CODFABRICANTE").trimmed();
        if (a.cFabricante.isEmpty())
            a.cFabricante = QStringLiteral("0");
    }
    m_linhas.append({m_doc.Det.Count() - 1, cur(i, "NFVI_TOTAL"), p.vDesc});
    impostos(i, d, descricao);
}

void MontagemNFe::impostos(RecordSet& i, nfe::Det& d, const QString& descricao) {
    nfe::Imposto& t = d.Imposto;
    const qint64 codproduto = inteiro(i, "CODPRODUTO");
    const Currency totalItem = cur(i, "NFVI_TOTAL");
    const QString rotulo = QStringLiteral("item %1 (%2)").arg(d.nItem).arg(descricao);

    if (str(m_cab, "NFV_TIPO") == u"S" && str(m_cab, "CFOP_CLASSIFICACAO") != QStringLiteral("Devolução")
        && flag("NF.LEI.IMP")) {
        const Currency aliq = aliquotaNcm(codproduto);
        const Currency estimativa = aliq > Currency() ? totalItem * aliq / Currency(100) : Currency();
        t.vTotTrib = r2(estimativa);
        m_somaTributos += estimativa;
        if (estimativa.isZero())
            Informacao(QStringLiteral("[ Lei De Olho no Imposto (Nº 12.741/2012) ]\rO produto: ") + descricao
                       + QStringLiteral("\r está com a aliquota zerada, verifique o cadastro de produto, se o NCM está correto!"));
    }
    if (flag("NF.IMPORT")) {
        t.II.vBC = r2(cur(i, "NFVI_II_BC"));
        t.II.vDespAdu = r2(cur(i, "NFVI_II_DESP_ADUANEIRAS"));
        t.II.vII = r2(cur(i, "NFVI_II_VLR"));
        t.II.vIOF = r2(cur(i, "NFVI_IOF_VLR"));
    }
    auto pisCofins = [&](nfe::PISCOFINS& x, const char* cst, const char* bc, const char* per, const char* vlr,
                         const char* nome) {
        const QString codigo = str(i, cst).trimmed();
        if (em(codigo, {"03"}))
            Error(QStringLiteral("CST %1 do %2 (por quantidade) não pode ser enviado na NF-e: %3.").arg(codigo, QLatin1String(nome), rotulo));
        if (cur(i, vlr) > Currency()) {
            x.CST = mapear(codigo, {"01", "02", "04", "05", "06", "07", "08", "09", "49", "50", "51", "52", "53", "54",
                                    "55", "56", "60", "61", "62", "63", "64", "65", "66", "67", "70", "71", "72", "73",
                                    "74", "75", "98", "99"},
                           QStringLiteral("01"));
            x.vBC = r2(cur(i, bc));
            x.p = cur(i, per);
            x.v = r2(cur(i, vlr));
            if (em(x.CST, {"04", "05", "06", "07", "08", "09"}))
                x.vBC = x.p = x.v = Currency();
        } else {
            // The group is mandatory on a product line: without a value it goes empty.
            x.CST = mapear(codigo, {"01", "02", "04", "05", "06", "07", "08", "09", "49", "50", "51", "52", "53", "54",
                                    "55", "56", "60", "61", "62", "63", "64", "65", "66", "67", "70", "71", "72", "73",
                                    "74", "75", "98", "99"},
                           QStringLiteral("99"));
            if (m_simples)
                x.CST = QStringLiteral("99");
        }
    };
    pisCofins(t.PIS, "NFVI_PIS_CST", "NFVI_PIS_BC", "NFVI_PIS_PER", "NFVI_PIS_VLR", "PIS");
    pisCofins(t.COFINS, "NFVI_COFINS_CST", "NFVI_COFINS_BC", "NFVI_COFINS_PER", "NFVI_COFINS_VLR", "COFINS");

    nfe::ICMS& icms = t.ICMS;
    QString cstTexto;
    if (flag("NFE.CST.PROD")) {
        if (str(i, "PRO_CST").trimmed().isEmpty())
            Error(QStringLiteral("Não foi informado o CST no Cadastro do seguinte Produto:\r\r") + descricao);
        cstTexto = str(i, "NFVI_CST").trimmed();
        if (cstTexto.isEmpty())
            cstTexto = str(i, "PRO_CST").trimmed();
        cstTexto = cstTexto.mid(1, 2);
    } else {
        cstTexto = (m_opcaoArgumento >= 1 && m_opcaoArgumento <= 6) ? QStringLiteral("41") : QStringLiteral("00");
    }
    icmsCst(icms, cstTexto, rotulo);
    if (m_simples) {
        const QString csosn = str(i, "NFVI_CSOSN").trimmed();
        if (!em(csosn, {"101", "102", "103", "201", "202", "203", "300", "400", "500", "900"}))
            Error(QStringLiteral("CSOSN Informado não valido:") + csosn);
        icms.CSOSN = csosn;
    }
    icms.orig = origemProduto(codproduto);
    const Currency totalProdutos = cur(m_cab, "NFV_TOTAL_PRODUTOS");
    Currency base;
    if (str(m_cab, "NFV_ALTERAR_BASE_ICMS") == u"S" && cur(m_cab, "NFV_ICMS_BASE") > Currency()
        && totalProdutos > Currency())
        base = r2(cur(m_cab, "NFV_ICMS_BASE") * totalItem / totalProdutos);
    else
        base = cur(i, "NFVI_ICMS") > Currency() ? r2(cur(i, "NFVI_ICMS_BASE")) : Currency();
    if (icms.CST == u"60" && str(m_cab, "NFV_NAOZERARICMS") != u"S") {
        icms.vICMSSTRet = r2(cur(i, "NFVI_ICMS"));
        icms.vBCSTRet = base;
    } else {
        icms.modBC = mapear(str(i, "NFVI_MOD_BC"), {"0", "1", "3"}, QStringLiteral("2")).toInt();
        icms.pICMS = r2(cur(i, "NFVI_ALIQ_ICMS"));
        icms.vICMS = r2(cur(i, "NFVI_ICMS"));
        icms.vBC = base;
    }
    if (cur(i, "NFVI_PER_REDUC") > Currency())
        icms.pRedBC = r2(cur(i, "NFVI_PER_REDUC"));
    if (cur(i, "NFVI_SUBST_VLR") > Currency())
        icms.vICMSST = r2(cur(i, "NFVI_SUBST_VLR"));
    if (cur(i, "NFVI_SUBST_BC") > Currency())
        icms.vBCST = r2(cur(i, "NFVI_SUBST_BC"));
    if (icms.CST == u"60" || icms.CSOSN == u"500") {
        icms.pST = r2(cur(i, "NFVI_ST"));
        icms.vICMSSubstituto = r2(cur(i, "NFVI_ICMSSUBSTITUTO"));
        icms.vBCSTRet = r2(cur(i, "NFVI_BCSTRET"));
        icms.vICMSSTRet = r2(cur(i, "NFVI_ICMSSTRET"));
    }
    if (m_simples) {
        const Currency taxa = TdmConfiguracao::gerarInstance().getCurr(QStringLiteral("NFE.OPT.ALIQ"));
        if (taxa > Currency()) {
            icms.pCredSN = taxa;
            icms.vCredICMSSN = r2(totalItem * taxa / Currency(100));
        }
    }

    nfe::IPI& ipi = t.IPI;
    ipi.cEnq = QStringLiteral("999");
    ipi.CST = mapear(str(i, "NFVI_CST_IPI"),
                     {"00", "49", "50", "51", "52", "53", "54", "55", "99", "01", "02", "03", "04", "05"},
                     QStringLiteral("01"));
    ipi.pIPI = cur(i, "NFVI_ALIQ_IPI").roundHalfUp(0);
    ipi.vIPI = r2(cur(i, "NFVI_IPI"));
    const Currency bruto = m_dm.NFVENDAITEM_TotalItem();
    if (ipi.vIPI > Currency() && bruto > Currency()) {
        ipi.vBC = r2(bruto);
        if (str(i, "NFVI_ALTERAR_IPI") == u"S")
            ipi.pIPI = ipi.vIPI / bruto * Currency(100);
    }
    if (!em(ipi.CST, {"00", "49", "50", "99"}))
        ipi.vBC = ipi.pIPI = ipi.vIPI = Currency();

    partilhaEFcp(i, d, false);
    somenteOQueOGrupoLeva(icms);
}

void MontagemNFe::icmsCst(nfe::ICMS& icms, const QString& situacao, const QString& rotulo) {
    if (em(situacao, {"45", "80", "81"}))
        Error(QStringLiteral("O CST %1 do ICMS não existe no leiaute 4.00 da NF-e: %2.\rCorrija o CST do produto.")
                  .arg(situacao, rotulo));
    icms.CST = mapear(situacao, {"00", "10", "20", "30", "40", "41", "50", "51", "60", "70", "90"}, QStringLiteral("00"));
}

void MontagemNFe::partilhaEFcp(RecordSet& i, nfe::Det& d, bool componente) {
    nfe::ICMS& icms = d.Imposto.ICMS;
    nfe::ICMSUFDest& u = d.Imposto.ICMSUFDest;
    const nfe::Ide& ide = m_doc.Ide;
    const QString ufEmp = m_empresa.uf.trimmed().toUpper();
    const bool saidaInterestadual = ide.tpNF == 1 && m_interestadual && !m_estrangeiro;
    if (flag("NFE4.ICMS.UFD") && ide.finNFe == 1 && saidaInterestadual && ide.indFinal == 1
        && m_doc.Dest.indIEDest == 9) {
        u.vBCUFDest = icms.vBC;
        if (u.vBCUFDest > Currency())
            u.vBCFCPUFDest = u.vBCUFDest;
        static const QStringList comFcp = {"BA", "CE", "GO", "MG", "MS", "MT", "PB", "PE", "PI", "PR", "RJ", "RN", "SE", "TO"};
        u.pFCPUFDest = comFcp.contains(m_ufCliente) ? Currency(2) : Currency();
        u.pICMSUFDest = componente ? Currency() : r2(cur(i, "NFVI_ALIQ_ICMS_FORA"));
        static const QStringList sulSudeste = {"PR", "RS", "SC", "MG", "RJ", "SP"};
        static const QStringList norteNordeste = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MS",
                                                  "MT", "PA", "PB", "PE", "PI", "RN", "RO", "RR", "SE", "TO"};
        if (icms.orig != 0)
            u.pICMSInter = Currency(4);
        else if (sulSudeste.contains(ufEmp) && norteNordeste.contains(m_ufCliente))
            u.pICMSInter = Currency(7);
        else
            u.pICMSInter = Currency(12);
        const int ano = ide.dEmi.date().year();
        u.pICMSInterPart = (!componente && (ano == 2014 || ano == 2015)) ? Currency()
            : ano == 2016                                               ? Currency(40)
            : ano == 2017                                               ? Currency(60)
            : ano == 2018                                               ? Currency(80)
                                                                        : Currency(100);
        u.vFCPUFDest = r2(u.vBCUFDest * u.pFCPUFDest / Currency(100));
        // Never a negative partition: a destination rate under the interstate one owes nothing.
        if (u.pICMSUFDest > u.pICMSInter) {
            const Currency diferenca = (u.pICMSUFDest - u.pICMSInter) * u.vBCUFDest / Currency(100);
            u.vICMSUFDest = r2(diferenca * u.pICMSInterPart / Currency(100));
            u.vICMSUFRemet = r2(diferenca - diferenca * u.pICMSInterPart / Currency(100));
        }
    }
    const Currency aliqFcp = componente ? Currency() : cur(i, "NFVI_FCP_ALIQ");
    if (saidaInterestadual && aliqFcp > Currency()) {
        if (icms.vICMSST > Currency()) {
            icms.vBCFCPST = icms.vBCST;
            icms.pFCPST = aliqFcp;
            icms.vFCPST = r2(icms.vBCFCPST * aliqFcp / Currency(100));
        }
        if (icms.vBC > Currency()) {
            icms.vBCFCP = icms.vBC;
            icms.pFCP = aliqFcp;
            icms.vFCP = r2(icms.vBCFCP * aliqFcp / Currency(100));
        }
        if (u.vBCUFDest > Currency()) {
            u.vBCFCPUFDest = u.vBCUFDest;
            u.pFCPUFDest = aliqFcp;
            u.vFCPUFDest = r2(u.vBCFCPUFDest * aliqFcp / Currency(100));
        }
    }
}

void MontagemNFe::ratearCabecalho() {
    QVector<Currency> pesos;
    for (const Linha& l : m_linhas)
        pesos.append(l.peso);
    const bool fob = str(m_cab, "NFV_TP_FRETE").trimmed() == u"FOB";
    const auto aplicar = [&](Currency total, auto campo) {
        const QVector<Currency> partes = ratear(r2(total), pesos);
        for (int k = 0; k < m_linhas.size(); ++k)
            campo(m_doc.Det[m_linhas[k].indiceDet].Prod) += partes[k];
    };
    if (fob)
        aplicar(cur(m_cab, "NFV_FRETE"), [](nfe::Prod& p) -> Currency& { return p.vFrete; });
    if (cur(m_cab, "NFV_DESCVLR") > Currency())
        aplicar(cur(m_cab, "NFV_DESCVLR"), [](nfe::Prod& p) -> Currency& { return p.vDesc; });
    if (cur(m_cab, "NFV_ACRESCIMO") > Currency())
        aplicar(cur(m_cab, "NFV_ACRESCIMO"), [](nfe::Prod& p) -> Currency& { return p.vOutro; });
    // A discount above the line's value would give a negative item and total,
    // which the authority refuses: the invoice has to be corrected first.
    for (const nfe::Det& d : m_doc.Det)
        if (d.Prod.vDesc > d.Prod.vProd)
            Error(QStringLiteral("O desconto do item %1 (%2) é maior que o valor do produto: desconto R$ %3, valor R$ %4."
                                 "\rCorrija o desconto da nota fiscal.")
                      .arg(d.nItem)
                      .arg(d.Prod.xProd, formatFloat(u",0.00", d.Prod.vDesc), formatFloat(u",0.00", d.Prod.vProd)));
}

void MontagemNFe::totais() {
    nfe::ICMSTot& t = m_doc.Total.ICMSTot;
    t = nfe::ICMSTot();
    // Every total is the sum of what the items carry, so the authority's
    // cross checks of the totals hold whatever the header stored.
    for (const nfe::Det& d : m_doc.Det) {
        const nfe::Prod& p = d.Prod;
        const nfe::Imposto& i = d.Imposto;
        t.vProd += p.vProd;
        t.vDesc += p.vDesc;
        t.vFrete += p.vFrete;
        t.vSeg += p.vSeg;
        t.vOutro += p.vOutro;
        t.vBC += i.ICMS.vBC;
        t.vICMS += i.ICMS.vICMS;
        t.vICMSDeson += i.ICMS.vICMSDeson;
        t.vBCST += i.ICMS.vBCST;
        t.vST += i.ICMS.vICMSST;
        t.vFCP += i.ICMS.vFCP;
        t.vFCPST += i.ICMS.vFCPST;
        t.vFCPSTRet += i.ICMS.vFCPSTRet;
        t.vII += i.II.vII;
        t.vIPI += i.IPI.vIPI;
        t.vPIS += i.PIS.v;
        t.vCOFINS += i.COFINS.v;
        t.vFCPUFDest += i.ICMSUFDest.vFCPUFDest;
        t.vICMSUFDest += i.ICMSUFDest.vICMSUFDest;
        t.vICMSUFRemet += i.ICMSUFDest.vICMSUFRemet;
        t.vTotTrib += i.vTotTrib;
    }
    t.vNF = t.vProd - t.vDesc - t.vICMSDeson + t.vST + t.vFCPST + t.vFrete + t.vSeg + t.vOutro + t.vII + t.vIPI
        + t.vIPIDevol;
}

void MontagemNFe::composicao(RecordSet& i, qint64 codproduto) {
    const auto comp = conexao().query(
        QStringLiteral("SELECT PRODUTO.CODPRODUTO, PRODUTO.PRO_CODPESQ_1 as CODPESQUISA, PRODUTO.PRO_DESCRICAO, "
                       "PRODUTO_COMPOSICAO.PROC_QTDE, PRODUTO.PRO_NCM, PRODUTO.PRO_CST, "
                       "coalesce(PRODUTO.PRO_ALIQ_ICMS, 0) as NFVI_ALIQ_ICMS FROM PRODUTO_COMPOSICAO "
                       "JOIN PRODUTO ON PRODUTO_COMPOSICAO.CODPRODUTOFILHO = PRODUTO.CODPRODUTO "
                       "WHERE PRODUTO_COMPOSICAO.CODPRODUTO = :P ORDER BY PRODUTO_COMPOSICAO.CODPRODUTOCOMPOSICAO"),
        {{QStringLiteral("P"), codproduto}});
    const int n = comp->recordCount();
    const bool undNfe = flag("PRO.UND.NFE");
    const Currency precoPai = undNfe ? cur(i, "NFVI_VLR_UND") : cur(i, "NFVI_VLR_UNITARIO");
    const Currency qtdePai = undNfe ? cur(i, "NFVI_QTDE_UND") : cur(i, "NFVI_QTDE");
    QString unidade = (undNfe ? str(i, "UND_COMP") : str(i, "NFVI_UNIDADE")).trimmed();
    if (unidade.isEmpty())
        unidade = QStringLiteral("UN");
    const Currency parte = r2(precoPai / Currency(n));
    const Currency descontoPai = cur(i, "NFVI_TOTAL_DESCONTO");
    const Currency brutoPai = m_dm.NFVENDAITEM_TotalItem();
    const QString cfopItem = str(i, "CODCFOP").trimmed();
    Currency somaPartes, somaDesc;
    int k = 0;
    for (comp->first(); !comp->eof(); comp->next(), ++k) {
        nfe::Det& d = m_doc.Det.Add();
        d.nItem = m_doc.Det.Count();
        nfe::Prod& p = d.Prod;
        auto campo = [&](const char* nome) { return comp->field(QLatin1String(nome)); };
        const QString descricao = campo("PRO_DESCRICAO").asString().trimmed();
        p.cProd = campo("CODPESQUISA").asString().trimmed();
        if (p.cProd.isEmpty())
            p.cProd = QString::number(campo("CODPRODUTO").asInteger());
        p.cEAN = p.cEANTrib = QStringLiteral("SEM GTIN");
        p.xProd = descricao;
        const QString ncm = OnlyNumber(campo("PRO_NCM").asString());
        p.NCM = ncm.size() == 8 ? ncm : QStringLiteral("00000000");
        p.setCFOP(cfopItem.isEmpty() ? str(m_cab, "CODCFOP").trimmed() : cfopItem);
        // The parent's unit price split in equal parts, the last one closing the difference.
        const Currency minhaParte = k == n - 1 ? precoPai - somaPartes : parte;
        somaPartes += minhaParte;
        Currency qtdeComp = campo("PROC_QTDE").asCurrency();
        if (qtdeComp <= Currency())
            qtdeComp = Currency(1);
        p.uCom = p.uTrib = unidade;
        p.qCom = p.qTrib = qtdePai * qtdeComp;
        p.vUnCom = p.vUnTrib = minhaParte / qtdeComp;
        p.vProd = r2(qtdePai * minhaParte);
        // The parent's own discount in proportion, closed on the last component.
        const Currency desc = k == n - 1 ? r2(descontoPai) - somaDesc
                                         : (brutoPai > Currency() ? r2(r2(descontoPai) * p.vProd / brutoPai) : Currency());
        p.vDesc = std::max(Currency(), std::min(desc, p.vProd));
        somaDesc += p.vDesc;
        m_linhas.append({m_doc.Det.Count() - 1, p.vProd, p.vDesc});

        nfe::Imposto& t = d.Imposto;
        const QString rotulo = QStringLiteral("item %1 (%2)").arg(d.nItem).arg(descricao);
        if (flag("NFE.CST.PROD")) {
            if (campo("PRO_CST").asString().trimmed().isEmpty())
                Error(QStringLiteral("Não foi informado o CST no Cadastro do seguinte Produto:\r\r") + descricao);
            icmsCst(t.ICMS, campo("PRO_CST").asString().trimmed().mid(1, 2), rotulo);
        } else {
            icmsCst(t.ICMS, (m_opcaoArgumento >= 1 && m_opcaoArgumento <= 6) ? QStringLiteral("41") : QStringLiteral("00"),
                    rotulo);
        }
        if (m_simples) // component lines take the parent's CSOSN
            t.ICMS.CSOSN = mapear(str(i, "NFVI_CSOSN"), {"101", "102", "103", "300", "400", "900"}, QStringLiteral("102"));
        t.ICMS.orig = origemProduto(campo("CODPRODUTO").asInteger());
        t.ICMS.modBC = mapear(str(i, "NFVI_MOD_BC"), {"0", "1", "3"}, QStringLiteral("2")).toInt();
        t.ICMS.pICMS = r2(campo("NFVI_ALIQ_ICMS").asCurrency());
        t.ICMS.vBC = p.vProd;
        t.ICMS.vICMS = r2(t.ICMS.vBC * t.ICMS.pICMS / Currency(100));
        t.PIS.CST = t.COFINS.CST = QStringLiteral("99");
        t.IPI.CST = QStringLiteral("01");
        if (str(m_cab, "NFV_TIPO") == u"S" && str(m_cab, "CFOP_CLASSIFICACAO") != QStringLiteral("Devolução")
            && flag("NF.LEI.IMP")) {
            const Currency aliq = aliquotaNcm(campo("CODPRODUTO").asInteger());
            const Currency estimativa = aliq > Currency() ? qtdePai * minhaParte * aliq / Currency(100) : Currency();
            t.vTotTrib = r2(estimativa);
            m_somaTributos += estimativa;
            if (k == n - 1 && estimativa.isZero())
                Informacao(QStringLiteral("[ Lei De Olho no Imposto (Nº 12.741/2012) ]\rO produto: ")
                           + str(i, "PRO_DESCRICAO").trimmed()
                           + QStringLiteral("\r está com a aliquota zerada, verifique o cadastro de produto, se o NCM está correto!"));
        }
        partilhaEFcp(i, d, true);
        somenteOQueOGrupoLeva(t.ICMS);
    }
}

} // namespace kvo::nfvenda
