#include "invoice/MontagemNFe.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/DNFVendaInterno.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/NFeComponent.h"
#include "registers/DFormaDePagamento.h"
#include "registers/DNFe.h"
#include "registers/DPessoa.h"
#include "registers/ValidaDocumentos.h"

#include <QTimeZone>

// Header groups of the document: ide and its references, issuer, recipient,
// billing, payment, transport and the additional information.
namespace kvo::nfvenda {

namespace {
Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }
const QString cHomologacao = QStringLiteral("NF-E EMITIDA EM AMBIENTE DE HOMOLOGACAO - SEM VALOR FISCAL");
} // namespace

QVector<Currency> ratear(Currency total, const QVector<Currency>& pesos) {
    QVector<Currency> partes(pesos.size());
    Currency somaPesos;
    int ultimo = -1;
    for (int k = 0; k < pesos.size(); ++k)
        if (pesos[k] > Currency()) {
            somaPesos += pesos[k];
            ultimo = k;
        }
    if (ultimo < 0 || total <= Currency())
        return partes;
    Currency soma;
    for (int k = 0; k < ultimo; ++k)
        if (pesos[k] > Currency()) {
            const Currency parcela = total * pesos[k];
            partes[k] = (parcela / somaPesos).roundTo2Even();
            soma += partes[k];
        }
    Currency resto = total - soma;
    // Rounded parts may pass the total: the excess comes off the lines before.
    for (int k = ultimo - 1; resto < Currency() && k >= 0; --k) {
        const Currency tirar = std::min(partes[k], -resto);
        partes[k] -= tirar;
        resto += tirar;
    }
    partes[ultimo] = resto;
    return partes;
}

QString codigoMeioPagamento(const QString& codigo) {
    static const QStringList tabela = {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
                                       QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("10"),
                                       QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13"),
                                       QStringLiteral("15"), QStringLiteral("16"), QStringLiteral("17"),
                                       QStringLiteral("18"), QStringLiteral("19"), QStringLiteral("20"),
                                       QStringLiteral("21"), QStringLiteral("22"), QStringLiteral("90"),
                                       QStringLiteral("99")};
    const QString c = codigo.trimmed();
    return tabela.contains(c) ? c : QStringLiteral("01");
}

QString gtinOuSemGtin(const QString& codigo) {
    const QString d = codigo.trimmed();
    const bool digitos = !d.isEmpty() && OnlyNumber(d) == d;
    if (digitos && (d.size() == 8 || d.size() == 12 || d.size() == 13 || d.size() == 14)) {
        int soma = 0;
        for (int k = d.size() - 2, peso = 3; k >= 0; --k, peso = 4 - peso)
            soma += (d[k].unicode() - '0') * peso;
        if ((10 - soma % 10) % 10 == d.back().unicode() - '0')
            return d;
    }
    return QStringLiteral("SEM GTIN");
}

int indicadorIE(const QString& ie) {
    const QString t = ie.trimmed();
    if (t.compare(QLatin1String("ISENTO"), Qt::CaseInsensitive) == 0)
        return 2;
    return OnlyNumber(t).isEmpty() ? 9 : 1;
}

QString textoSimples(int opcao, const QString& valor, const QString& aliq) {
    const QString doc = QStringLiteral("DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;");
    const QString credito = QStringLiteral("PERMITE O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ ") + valor
        + QStringLiteral(";CORRESPONDENTE À ALÍQUOTA DE ") + aliq + QStringLiteral("%, NOS TERMOS DO ART. 23 DA LC 123/2006");
    switch (opcao) {
    case 1: return doc + QStringLiteral("NÃO GERA DIREITO A CRÉDITO FISCAL DE ISS E DE IPI;") + credito;
    case 2: return doc + QStringLiteral("NÃO GERA DIREITO A CRÉDITO FISCAL DE IPI.");
    case 3:
        return doc + QStringLiteral("NÃO GERA DIREITO A CRÉDITO FISCAL DE ICMS E DE ISS.;RESOLUÇÃO 10 DO SIMPLES NACIONAL.");
    case 4: return doc + credito;
    case 5:
    case 6: return credito;
    case 7:
        return doc + QStringLiteral("ESTABELECIMENTO IMPEDIDO DE RECOLHER O ICMS/ISS PELO SIMPLES NACIONAL, NOS TERMOS "
                                    "DO § 1o DO ART. 20 DA LC 123/2006;NÃO GERA DIREITO A CRÉDITO FISCAL DE IPI.");
    default: return {};
    }
}

MontagemNFe::MontagemNFe(TdmNFVenda& dm, nfe::NFe& doc, int opcaoSimples, const QString& valorCredito,
                         const QString& aliqCredito)
    : m_dm(dm), m_cab(dm.cdsNFVenda()), m_doc(doc), m_empresa(TdmAcesso::gerarInstance().empresa()),
      m_opcaoArgumento(opcaoSimples), m_valorCredito(valorCredito), m_aliqCredito(aliqCredito) {
    m_simples = m_empresa.simplesNacional();
}

QString MontagemNFe::cfg(const char* chave) {
    const QString k = QLatin1String(chave);
    auto it = m_cfg.constFind(k);
    if (it == m_cfg.constEnd())
        it = m_cfg.insert(k, TdmConfiguracao::gerarInstance().getStr(k));
    return *it;
}

void MontagemNFe::montar() {
    ide();
    referencias();
    emitente();
    destinatario();
    responsavelTecnico();
    itens();
    ratearCabecalho();
    totais();
    cobranca();
    pagamento();
    transporte();
    informacoesAdicionais();
}

void MontagemNFe::ide() {
    nfe::Ide& i = m_doc.Ide;
    nfe::NFeComponent& comp = TdmNFe::gerarInstance().componente();
    const QString serie = str(m_cab, "CODSERIE");
    const qint64 numero = inteiro(m_cab, "CODNFVENDA");
    i.cUF = nfe::UFparaCodigo(m_empresa.uf);
    i.cNF = TdmNFVenda::NFE_CodigoNumerico(inteiro(m_cab, "NFV_CNF"), numero, serie);
    i.natOp = str(m_cab, "CFOP_DESCRICAO").trimmed();
    i.indPag = pagamentoAVista() ? 0 : 1;
    i.mod = 55;
    i.serie = TdmNFVenda::NFE_Serie(serie);
    i.nNF = int(numero);
    // Issue date with the time of day and the local offset, as layout 4.00 asks.
    const QDate emissao = f(m_cab, "NFV_DTEMISSAO").asDate();
    const QDateTime agora = Clock::now();
    const QTime hora = emissao == agora.date() ? agora.time() : QTime(12, 0);
    i.dEmi = QDateTime(emissao, QTime(hora.hour(), hora.minute(), hora.second()), QTimeZone::systemTimeZone());
    i.dSaiEnt = i.dEmi;
    i.tpNF = str(m_cab, "NFV_TIPO") == u"E" ? 0 : 1;
    m_ufCliente = f(m_cab, "PES_UF").asString().trimmed().toUpper();
    m_interestadual = m_ufCliente != m_empresa.uf.trimmed().toUpper();
    i.idDest = m_interestadual ? 2 : 1;
    i.cMunFG = m_empresa.codMunicipio;
    i.tpImp = comp.DANFE.tipoDanfe;
    i.tpEmis = comp.Configuracoes.tpEmis;
    if (i.tpEmis != 1) { // every contingency form carries its moment and reason
        i.dhCont = i.dEmi;
        i.xJust = QStringLiteral("Serviço está fora");
    }
    i.tpAmb = comp.Configuracoes.tpAmb;
    const QString fin = str(m_cab, "NFV_FINALIDADE_EMISSAO").trimmed();
    i.finNFe = (fin == u"2" || fin == u"3" || fin == u"4") ? fin.toInt() : 1;
    const QString consumidor = str(m_cab, "PES_CONSUMIDOR_FINAL").trimmed();
    if (consumidor == u"S")
        i.indFinal = 1;
    else if (consumidor == u"N")
        i.indFinal = 0;
    else // by the person type, once the customer record is read
        i.indFinal = -1;
    i.indPres = 0;
    i.procEmi = 0;
    i.verProc = QStringLiteral("1.0.0.0");
}

void MontagemNFe::referencias() {
    nfe::Ide& i = m_doc.Ide;
    const QString fin = str(m_cab, "NFV_FINALIDADE_EMISSAO").trimmed();
    const qint64 numeroDev = inteiro(m_cab, "CODNFVENDA_DEV");
    if ((fin == u"2" || fin == u"4") && numeroDev > 0) {
        const QString serieDev = str(m_cab, "CODSERIE_DEV").trimmed();
        const auto rs = conexao().query(
            QStringLiteral("select NFV_DTEMISSAO, NFV_CNF from NFVENDA where CODNFVENDA = :N and CODSERIE = :S"),
            {{QStringLiteral("N"), numeroDev}, {QStringLiteral("S"), serieDev}});
        if (rs->isEmpty())
            Error(QStringLiteral("Nota fiscal referenciada não encontrada: número %1, série %2.").arg(numeroDev).arg(serieDev));
        const int cnf = TdmNFVenda::NFE_CodigoNumerico(rs->field(1).asInteger(), numeroDev, serieDev);
        const QString chave = nfe::GerarChaveAcesso(i.cUF, rs->field(0).asDate(), OnlyNumber(m_empresa.cnpj),
                                                    TdmNFVenda::NFE_Serie(serieDev), int(numeroDev), i.tpEmis, cnf, 55);
        i.NFref.Add().refNFe = chave.mid(3);
    }
    QString digitada = str(m_cab, "NFV_REFNFE").trimmed();
    if (!digitada.isEmpty()) {
        digitada.remove(QStringLiteral("NFe")).remove(u' ');
        if (digitada.size() != 44 || OnlyNumber(digitada) != digitada || !nfe::ChaveValida(digitada))
            Error(QStringLiteral("Chave de acesso referenciada inválida: %1\r\nInforme os 44 dígitos da chave da "
                                 "NF-e referenciada.").arg(str(m_cab, "NFV_REFNFE").trimmed()));
        i.NFref.Add().refNFe = digitada;
    }
    const qint64 pedidoEcf = inteiro(m_cab, "CODPEDECF");
    if (pedidoEcf > 0) {
        const auto rs = conexao().query(
            QStringLiteral("SELECT PEDECF.PECF_NUMECF, PEDECF.PECF_COO FROM PEDECF WHERE PEDECF.CODPEDECF = :P"),
            {{QStringLiteral("P"), pedidoEcf}});
        if (!rs->isEmpty()) {
            nfe::NFref& r = i.NFref.Add();
            r.refECF.mod = QStringLiteral("2D");
            r.refECF.nECF = QString::number(rs->field(0).asInteger()).rightJustified(3, u'0');
            r.refECF.nCOO = QString::number(rs->field(1).asInteger()).rightJustified(6, u'0');
        }
    }
    if (i.finNFe == 4 && i.NFref.isEmpty())
        Error(QStringLiteral("Nota fiscal de devolução sem documento referenciado.\r\nInforme a nota fiscal devolvida "
                             "ou a chave de acesso da NF-e referenciada."));
}

void MontagemNFe::emitente() {
    nfe::Emit& e = m_doc.Emit;
    e.CNPJCPF = OnlyNumber(m_empresa.cnpj);
    e.IE = OnlyNumber(m_empresa.ie);
    e.xNome = m_empresa.razaoSocial;
    e.xFant = m_empresa.fantasia;
    // CNAE goes only beside the municipal registration.
    e.IM = m_empresa.im.trimmed();
    const QString cnae = OnlyNumber(cfg("NFE.CNAE"));
    if (!e.IM.isEmpty() && !cnae.isEmpty() && cnae.toLongLong() != 0)
        e.CNAE = cnae;
    nfe::Endereco& a = e.EnderEmit;
    a.xLgr = m_empresa.endereco;
    a.nro = m_empresa.numero.trimmed().isEmpty() ? QStringLiteral("S/N") : m_empresa.numero.trimmed();
    a.xCpl = m_empresa.complemento;
    a.xBairro = m_empresa.bairro;
    a.cMun = m_empresa.codMunicipio;
    a.xMun = m_empresa.cidade;
    a.UF = m_empresa.uf;
    a.CEP = OnlyNumber(m_empresa.cep).toInt();
    a.fone = OnlyNumber(m_empresa.telefone);
    a.cPais = 1058;
    a.xPais = QStringLiteral("BRASIL");
    e.CRT = m_simples ? 1 : 3;
}

void MontagemNFe::destinatario() {
    RecordSet& p = TdmPessoa::gerarInstance().abrir(int(inteiro(m_cab, "CODPESSOA")));
    nfe::Dest& d = m_doc.Dest;
    if (m_doc.Ide.indFinal < 0)
        m_doc.Ide.indFinal = str(p, "PES_TIPO").trimmed() == u"F" ? 1 : 0;
    const QString nome = str(p, "PES_NOME").trimmed();
    const QString razao = str(p, "PES_RAZAO_SOCIAL").trimmed();
    d.xNome = (flag("NFE.NOM.FANT") || razao.isEmpty()) ? nome : razao;
    if (m_doc.Ide.tpAmb == 2)
        d.xNome = cHomologacao;
    QString pais = str(p, "PES_PAIS").trimmed().toUpper();
    nfe::Endereco& a = d.EnderDest;
    a.xLgr = str(p, "PES_ENDERECO").trimmed();
    const QString nro = str(p, "PES_ENDERECO_NUMERO").trimmed();
    a.nro = nro.isEmpty() ? QStringLiteral("S/N") : nro;
    a.xCpl = str(p, "PES_ENDERECO_COMPLEMENTO").trimmed();
    a.xBairro = str(p, "PES_BAIRRO").trimmed();
    // The address is always sent (its municipality and UF are checked against
    // the operation); street and district the register left empty say so.
    for (QString* campo : {&a.xLgr, &a.xBairro})
        if (campo->size() < 2)
            *campo = QStringLiteral("NAO INFORMADO");
    a.CEP = OnlyNumber(str(p, "PES_CEP")).toInt();
    a.fone = OnlyNumber(str(p, "PES_TELEFONE_DDD")) + OnlyNumber(str(p, "PES_TELEFONE"));
    if (pais.isEmpty() || pais == u"BRASIL") {
        a.xPais = QStringLiteral("BRASIL");
        a.cPais = 1058;
    } else {
        a.xPais = str(p, "PES_PAIS").trimmed();
        a.cPais = TdmNFe::gerarInstance().obterBacen(pais);
    }
    // A customer abroad is always sent as foreign: operations abroad (idDest 3)
    // carry UF "EX" and municipality 9999999.
    m_estrangeiro = a.cPais != 1058;
    if (m_estrangeiro) {
        m_doc.Ide.idDest = 3;
        a.cMun = 9999999;
        a.xMun = QStringLiteral("EXTERIOR");
        a.UF = QStringLiteral("EX");
        a.CEP = 0;
        d.CNPJCPF.clear();
        d.idEstrangeiro = str(p, "PES_CPFCNPJ").simplified().remove(u' ').left(20);
        if (d.idEstrangeiro.size() < 5)
            d.idEstrangeiro.clear();
        d.indIEDest = 9;
        d.IE.clear();
        const QString ufEmb = str(m_cab, "NFV_UF_EMB").trimmed().toUpper();
        const QString localEmb = str(m_cab, "NFV_LOCAL_EMB").trimmed();
        if (!ufEmb.isEmpty() && !localEmb.isEmpty()) {
            m_doc.exporta.UFSaidaPais = ufEmb;
            m_doc.exporta.xLocExporta = localEmb;
        }
    } else {
        d.CNPJCPF = OnlyNumber(str(p, "PES_CPFCNPJ"));
        const QString cidade = str(p, "PES_CIDADE").trimmed();
        const QString uf = str(p, "PES_UF").trimmed().toUpper();
        const QString codigo = TdmNFe::gerarInstance().codigoMunicipio(cidade, uf);
        if (codigo.isEmpty())
            Error(QStringLiteral("Erro no Municipio - UF: %1 -- Cidade: %2\rVerifique Arquivo: MunIBGE\\MunIBGE-UF%3.txt")
                      .arg(uf, cidade)
                      .arg(nfe::UFparaCodigo(uf), 2, 10, QChar(u'0')));
        a.cMun = codigo.toInt();
        a.xMun = cidade;
        a.UF = uf;
        d.indIEDest = indicadorIE(str(p, "PES_IE"));
        d.IE = d.indIEDest == 1 ? OnlyNumber(str(p, "PES_IE")) : QString();
    }
    // A recipient that is not a taxpayer buys as a final consumer.
    if (d.indIEDest == 9)
        m_doc.Ide.indFinal = 1;
}

void MontagemNFe::responsavelTecnico() {
    nfe::InfRespTec& r = m_doc.infRespTec;
    r.CNPJ = QStringLiteral("11222333000181");
    r.xContato = QStringLiteral("Suporte KVO Gestão");
    r.email = QStringLiteral("suporte@kvogestao.com.br");
    r.fone = QStringLiteral("11999990000");
    r.idCSRT = 0;
}

const CondicaoPagamento& MontagemNFe::condicaoPagamento() {
    if (!m_condicao)
        m_condicao = TdmFormaDePagamento::gerarInstance().condicao(int(inteiro(m_cab, "CODFORMAPAGAMENTO")));
    return *m_condicao;
}

bool MontagemNFe::pagamentoAVista() {
    return condicaoPagamento().parcelas == 1 && condicaoPagamento().diasPrimeira == 0;
}

void MontagemNFe::cobranca() {
    if (!flag("NFE4.COB.ENV") || pagamentoAVista())
        return;
    nfe::Cobr& c = m_doc.Cobr;
    const Currency vNF = m_doc.Total.ICMSTot.vNF;
    if (flag("NFE4.COB.TOTAL")) {
        c.Fat.nFat = str(m_cab, "CODNFVENDA");
        c.Fat.vOrig = c.Fat.vLiq = vNF;
        nfe::Dup& d = c.Dup.Add();
        d.nDup = QStringLiteral("001");
        d.dVenc = f(m_cab, "NFV_DTEMISSAO").asDate().addDays(condicaoPagamento().diasPrimeira);
        d.vDup = vNF;
        return;
    }
    const auto rs = m_dm.parcelas();
    int n = 0;
    for (rs->first(); !rs->eof(); rs->next()) {
        const Currency v = rs->field(QStringLiteral("CON_VLRPARCELA")).asCurrency().roundTo2Even();
        if (v <= Currency())
            continue;
        c.Fat.nFat = rs->field(QStringLiteral("CON_NUMDOC")).asString().trimmed();
        c.Fat.vOrig += v;
        c.Fat.vLiq += v;
        nfe::Dup& d = c.Dup.Add();
        d.nDup = QString::number(++n).rightJustified(3, u'0');
        d.dVenc = rs->field(QStringLiteral("CON_DTVENC")).asDate();
        d.vDup = v;
    }
}

void MontagemNFe::pagamento() {
    if (!flag("NFE4.PAG.ENV"))
        return;
    nfe::Pag& pag = m_doc.pag;
    const Currency vNF = m_doc.Total.ICMSTot.vNF;
    const int fin = m_doc.Ide.finNFe;
    auto semPagamento = [&] {
        nfe::DetPag& p = pag.Add();
        p.tPag = QStringLiteral("90");
        p.vPag = Currency();
    };
    // Returns and adjustments carry no payment, whatever the configuration.
    if (fin == 3 || fin == 4) {
        semPagamento();
        return;
    }
    if (flag("NFE4.PAG.TOTAL")) {
        nfe::DetPag& p = pag.Add();
        p.indPag = 1;
        p.tPag = QStringLiteral("15");
        p.vPag = vNF;
        return;
    }
    const int indPag = m_doc.Ide.indPag;
    const auto rs = m_dm.meiosDePagamento();
    Currency soma;
    for (rs->first(); !rs->eof(); rs->next()) {
        const Currency valor = rs->field(QStringLiteral("VALOR")).asCurrency().roundTo2Even();
        if (valor <= Currency()) // instalments of nothing pay nothing
            continue;
        nfe::DetPag& p = pag.Add();
        p.indPag = indPag;
        p.tPag = codigoMeioPagamento(rs->field(QStringLiteral("MOE_NFE_PAG")).asString());
        if (p.tPag == u"99")
            p.xPag = QStringLiteral("OUTROS");
        p.vPag = valor;
        soma += p.vPag;
        if (p.tPag == u"03" || p.tPag == u"04") {
            const QString band = rs->field(QStringLiteral("MOE_NFE_BAND")).asString().trimmed();
            static const QStringList bandeiras = {"01", "02", "03", "04", "05", "06", "07", "08", "09", "99"};
            if (bandeiras.contains(band))
                p.tBand = band;
            p.tpIntegra = 2;
        }
    }
    if (pag.isEmpty()) {
        semPagamento();
        return;
    }
    // The payments cover the document's total: a shortfall goes on the last
    // entry, an excess is change.
    if (soma < vNF)
        pag[pag.Count() - 1].vPag += vNF - soma;
    else if (soma > vNF)
        pag.vTroco = soma - vNF;
}

void MontagemNFe::transporte() {
    nfe::Transp& t = m_doc.Transp;
    const QString tipo = str(m_cab, "NFV_TP_FRETE").trimmed();
    t.modFrete = tipo == u"FOB" ? 1 : (tipo == u"SFT" ? 9 : 0);
    if (inteiro(m_cab, "CODTRANSPORTADORA") > 0) {
        nfe::Transporta& c = t.Transporta;
        c.CNPJCPF = OnlyNumber(str(m_cab, "TRA_CPFCNPJ"));
        c.xNome = str(m_cab, "TRA_RAZAO_SOCIAL").trimmed();
        if (c.xNome.isEmpty())
            c.xNome = str(m_cab, "TRA_NOME").trimmed();
        c.IE = OnlyNumber(str(m_cab, "TRA_IE"));
        c.xEnder = str(m_cab, "TRA_ENDERECO").trimmed();
        c.xMun = str(m_cab, "TRA_CIDADE").trimmed();
        c.UF = str(m_cab, "TRA_UF").trimmed().toUpper();
    }
    const QString placa = str(m_cab, "NFV_PLACA").trimmed();
    if (!placa.isEmpty()) {
        t.veicTransp.placa = QString(placa).remove(u'-').toUpper();
        t.veicTransp.UF = str(m_cab, "NFV_PLACA_UF").trimmed().toUpper();
    }
    const qint64 qVol = inteiro(m_cab, "NFV_QTD_VOL");
    const QString nVol = str(m_cab, "NFV_NR_VOL").trimmed();
    if (qVol > 0 || !nVol.isEmpty()) {
        nfe::Vol& v = t.Vol.Add();
        v.qVol = int(qVol);
        v.esp = str(m_cab, "NFV_ESP").trimmed();
        v.marca = str(m_cab, "NFV_MARCA").trimmed();
        v.nVol = nVol;
        v.pesoL = cur(m_cab, "NFV_PESO_LIQUIDO");
        v.pesoB = cur(m_cab, "NFV_PESO_BRUTO");
    }
}

void MontagemNFe::informacoesAdicionais() {
    int opcao = m_opcaoArgumento;
    if (opcao == -1) {
        const QString c = cfg("NFE.OPT.SMP").trimmed();
        opcao = (c == u"1" || c == u"2" || c == u"3" || c == u"7") ? c.toInt() : 0;
    }
    QString valor = m_valorCredito, aliq = m_aliqCredito;
    if (opcao == 1 || opcao == 4 || opcao == 5) {
        const Currency taxa = TdmConfiguracao::gerarInstance().getCurr(QStringLiteral("NFE.OPT.ALIQ"));
        valor = formatFloat(u",0.00", cur(m_cab, "NFV_TOTAL_NOTA") * taxa / Currency(100));
        aliq = formatFloat(u",0.00", taxa);
    }
    const QString simples = textoSimples(opcao, valor, aliq);
    const QString obs = str(m_cab, "NFV_OBS").trimmed();
    QString texto;
    if (simples.isEmpty())
        texto = obs;
    else if (obs.isEmpty())
        texto = simples;
    else
        texto = obs + u';' + simples;
    if (!m_empresa.md5.isEmpty())
        texto = texto.isEmpty() ? QString(QStringLiteral("MD-5:") + m_empresa.md5)
                                : QString(texto + QStringLiteral(";MD-5:") + m_empresa.md5);
    const Currency vProd = m_doc.Total.ICMSTot.vProd;
    if (m_somaTributos > Currency() && vProd > Currency())
        texto += QStringLiteral(";Val Aprox Tributos R$ ") + formatFloat(u",0.00", m_somaTributos) + QStringLiteral(" (")
            + formatFloat(u",0.00", m_somaTributos / vProd * Currency(100)) + QStringLiteral("%) Fonte: IBPT");
    m_doc.InfAdic.infCpl = texto;
}

} // namespace kvo::nfvenda
