#include "nfe/Danfe.h"

#include "core/Format.h"
#include "nfe/CodigoBarras.h"
#include "nfe/DanfeLayout.h"
#include "nfe/NFeXmlWriter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kvo::nfe {

namespace {

constexpr double Largura = 200;  // mm inside 5 mm margins of an A4 sheet
constexpr double Altura = 287;
constexpr double Linha = 3.6;    // one item row
constexpr double RodapePrimeira = 32; // additional information
constexpr double TopoItensDemais = 50;
constexpr double CabecalhoItens = 5;

QString dinheiro(Currency v) { return formatFloat(u",0.00", v); }
QString quantidade(Currency v) { return formatFloat(u",0.0000", v); }

QString documento(const QString& digits)
{
    if (digits.size() == 14)
        return QStringLiteral("%1.%2.%3/%4-%5").arg(digits.left(2), digits.mid(2, 3), digits.mid(5, 3),
                                                     digits.mid(8, 4), digits.mid(12, 2));
    if (digits.size() == 11)
        return QStringLiteral("%1.%2.%3-%4").arg(digits.left(3), digits.mid(3, 3), digits.mid(6, 3), digits.mid(9, 2));
    return digits;
}

QString chaveFormatada(const QString& chave)
{
    QStringList grupos;
    for (int i = 0; i < chave.size(); i += 4)
        grupos << chave.mid(i, 4);
    return grupos.join(u' ');
}

QString numeroNF(int n)
{
    const QString s = QString::number(n).rightJustified(9, u'0');
    return s.left(3) + u'.' + s.mid(3, 3) + u'.' + s.mid(6, 3);
}

// Duplicates run eight to a line, two lines at most.
double alturaFatura(const NFe& n) { return n.Cobr.Dup.Count() > 8 ? 18 : 11; }
// Stub, header, recipient, invoice, taxes and transport come before the items.
double topoItensPrimeira(const NFe& n) { return 18 + 47 + 25 + alturaFatura(n) + 18 + 25 + 4; }
// Column widths of the item table, in millimetres (they add up to 200).
constexpr double Colunas[] = {15, 50, 13, 8, 8, 7, 14, 15, 15, 14, 12, 11, 9, 9};
constexpr double PontosItem = 5.5;
constexpr int MaxLinhasDescricao = 4;

QFont fonteItem()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(PontosItem);
    return f;
}

// The item's own insurance is shown under its description: the item table
// has no column for it, and a value set only for printing must be seen.
QString descricao(const Det& d)
{
    QString texto = d.Prod.xProd;
    if (!d.infAdProd.isEmpty())
        texto += u'\n' + d.infAdProd;
    if (!d.Prod.vSeg.isZero())
        texto += QStringLiteral("\nSeguro: R$ ") + dinheiro(d.Prod.vSeg.roundTo2Even());
    return texto;
}

// The items' insurance when they carry any (the total group may not have
// followed a change made for printing), else the total group's.
Currency seguroTotal(const NFe& n)
{
    Currency soma;
    for (const Det& d : n.Det)
        soma += d.Prod.vSeg;
    return soma.isZero() ? n.Total.ICMSTot.vSeg : soma;
}

// Height of each item row in millimetres: the description wraps inside its
// column (four lines at most) instead of being cut.
QVector<double> alturasDosItens(const NFe& n, QPaintDevice* device)
{
    const QFontMetricsF fm(fonteItem(), device);
    const double dpmm = device->logicalDpiY() / 25.4;
    const double largura = (Colunas[1] - 1) * device->logicalDpiX() / 25.4;
    QVector<double> alturas;
    alturas.reserve(n.Det.Count());
    for (const Det& d : n.Det) {
        const QRectF r = fm.boundingRect(QRectF(0, 0, largura, 1e6), Qt::TextWordWrap, descricao(d));
        const int linhas = std::clamp(int(std::ceil(r.height() / fm.lineSpacing() - 0.05)), 1, MaxLinhasDescricao);
        alturas << std::max(Linha, (linhas * fm.lineSpacing()) / dpmm + 0.9);
    }
    return alturas;
}

// Index of the first item of each page.
QVector<int> quebrasDePagina(const NFe& n, const QVector<double>& alturas)
{
    QVector<int> inicio{0};
    double livre = Altura - RodapePrimeira - 1 - topoItensPrimeira(n) - CabecalhoItens;
    for (int i = 0; i < alturas.size(); ++i) {
        if (alturas[i] > livre) {
            inicio << i;
            livre = Altura - TopoItensDemais - CabecalhoItens;
        }
        livre -= alturas[i];
    }
    return inicio;
}

QString modFrete(int m)
{
    switch (m) {
    case 0: return QStringLiteral("0-Emitente");
    case 1: return QStringLiteral("1-Destinatário");
    case 2: return QStringLiteral("2-Terceiros");
    case 9: return QStringLiteral("9-Sem Frete");
    default: return QString::number(m);
    }
}

QString formaPagamento(const DetPag& p)
{
    static const QHash<QString, QString> nomes = {
        {QStringLiteral("01"), QStringLiteral("Dinheiro")}, {QStringLiteral("02"), QStringLiteral("Cheque")},
        {QStringLiteral("03"), QStringLiteral("Cartão de Crédito")}, {QStringLiteral("04"), QStringLiteral("Cartão de Débito")},
        {QStringLiteral("05"), QStringLiteral("Crédito Loja")}, {QStringLiteral("10"), QStringLiteral("Vale Alimentação")},
        {QStringLiteral("11"), QStringLiteral("Vale Refeição")}, {QStringLiteral("12"), QStringLiteral("Vale Presente")},
        {QStringLiteral("13"), QStringLiteral("Vale Combustível")}, {QStringLiteral("15"), QStringLiteral("Boleto Bancário")},
        {QStringLiteral("90"), QStringLiteral("Sem pagamento")}};
    if (!p.xPag.isEmpty())
        return p.xPag;
    return nomes.value(p.tPag, QStringLiteral("Outros"));
}

class Desenho {
public:
    Desenho(QPagedPaintDevice& d, const NFe& n, const DanfeOpcoes& o)
        : device(d), nfe(n), opcoes(o), chave(chaveNumerica(n)), barras(chave)
    {
    }
    void executar();

private:
    void canhoto();
    double cabecalho(double y, int pagina, int total);
    double destinatario(double y);
    double fatura(double y);
    double impostos(double y);
    double transporte(double y);
    void cabecalhoItens(double y);
    void item(double y, const Det& d, double altura);
    void adicionais();
    void marcas();

    QPagedPaintDevice& device;
    const NFe& nfe;
    const DanfeOpcoes& opcoes;
    QString chave;
    CodigoBarras128 barras;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<FolhaDanfe> f;
};

void Desenho::executar()
{
    painter = std::make_unique<QPainter>();
    if (!painter->begin(&device))
        throw std::runtime_error("Não foi possível iniciar a impressão do DANFE.");
    f = std::make_unique<FolhaDanfe>(*painter, device.logicalDpiX(), 5);
    const QVector<double> alturas = alturasDosItens(nfe, &device);
    const QVector<int> inicio = quebrasDePagina(nfe, alturas);
    const int total = int(inicio.size());
    for (int pagina = 1; pagina <= total; ++pagina) {
        if (pagina > 1)
            device.newPage();
        double y;
        if (pagina == 1) {
            canhoto();
            y = cabecalho(18, 1, total);
            y = destinatario(y);
            y = fatura(y);
            y = impostos(y);
            y = transporte(y) + 4;
            adicionais();
        } else {
            cabecalho(0, pagina, total);
            y = TopoItensDemais;
        }
        f->titulo(y - 3.5, QStringLiteral("DADOS DOS PRODUTOS / SERVIÇOS"));
        cabecalhoItens(y);
        y += CabecalhoItens;
        const int fim = pagina < total ? inicio[pagina] : nfe.Det.Count();
        for (int k = inicio[pagina - 1]; k < fim; y += alturas[k], ++k)
            item(y, nfe.Det[k], alturas[k]);
        marcas();
    }
    painter->end();
}

void Desenho::canhoto()
{
    const QString texto = QStringLiteral("RECEBEMOS DE %1 OS PRODUTOS E/OU SERVIÇOS CONSTANTES DA NOTA FISCAL "
                                         "ELETRÔNICA INDICADA AO LADO. EMISSÃO: %2 VALOR TOTAL: R$ %3 DESTINATÁRIO: %4")
                              .arg(nfe.Emit.xNome, nfe.Ide.dEmi.toString(QStringLiteral("dd/MM/yyyy")),
                                   dinheiro(nfe.Total.ICMSTot.vNF), nfe.Dest.xNome);
    f->moldura(0, 0, 160, 16);
    f->texto(0.6, 0.4, 158.8, 6.6, texto, 5.5, Qt::AlignLeft | Qt::AlignTop, false, true);
    f->caixa(0, 7, 40, 9, QStringLiteral("DATA DE RECEBIMENTO"), QString());
    f->caixa(40, 7, 120, 9, QStringLiteral("IDENTIFICAÇÃO E ASSINATURA DO RECEBEDOR"), QString());
    f->moldura(160, 0, 40, 16);
    f->texto(160, 1, 40, 4, QStringLiteral("NF-e"), 10, Qt::AlignCenter, true);
    f->texto(160, 6, 40, 4, QStringLiteral("Nº ") + numeroNF(nfe.Ide.nNF), 8, Qt::AlignCenter, true);
    f->texto(160, 10.5, 40, 4, QStringLiteral("SÉRIE %1").arg(nfe.Ide.serie, 3, 10, QChar(u'0')), 8, Qt::AlignCenter, true);
}

double Desenho::cabecalho(double y, int pagina, int total)
{
    const Emit& e = nfe.Emit;
    const Endereco& a = e.EnderEmit;
    f->moldura(0, y, 82, 32);
    f->texto(2, y + 2, 78, 10, e.xNome, 10, Qt::AlignCenter, true, true);
    const QString endereco = QStringLiteral("%1, %2 %3\n%4 - CEP %5\n%6 - %7   Fone: %8")
                                 .arg(a.xLgr, a.nro, a.xCpl, a.xBairro,
                                      QString::number(a.CEP).rightJustified(8, u'0').insert(5, u'-'), a.xMun, a.UF, a.fone);
    f->texto(2, y + 13, 78, 18, endereco, 7, Qt::AlignCenter, false, true);

    f->moldura(82, y, 36, 32);
    f->texto(82, y + 1, 36, 5, QStringLiteral("DANFE"), 13, Qt::AlignCenter, true);
    f->texto(83, y + 6, 34, 6, QStringLiteral("Documento Auxiliar da Nota Fiscal Eletrônica"), 6, Qt::AlignCenter, false, true);
    f->texto(84, y + 13, 20, 3, QStringLiteral("0 - ENTRADA"), 6.5);
    f->texto(84, y + 16, 20, 3, QStringLiteral("1 - SAÍDA"), 6.5);
    f->caixa(106, y + 13, 8, 6, QString(), QString::number(nfe.Ide.tpNF), Qt::AlignCenter, 10, true);
    f->texto(82, y + 20, 36, 4, QStringLiteral("Nº ") + numeroNF(nfe.Ide.nNF), 8.5, Qt::AlignCenter, true);
    f->texto(82, y + 24, 36, 3.5, QStringLiteral("SÉRIE %1").arg(nfe.Ide.serie, 3, 10, QChar(u'0')), 8, Qt::AlignCenter, true);
    f->texto(82, y + 27.5, 36, 3.5, QStringLiteral("FOLHA %1/%2").arg(pagina).arg(total), 7, Qt::AlignCenter);

    f->moldura(118, y, 82, 14);
    // 5 mm quiet zones on each side of the bars.
    barras.desenhar(f->painter(), f->mm(123, y + 1.5, 72, 11));
    f->caixa(118, y + 14, 82, 8, QStringLiteral("CHAVE DE ACESSO"), chaveFormatada(chave), Qt::AlignCenter, 8, true);
    f->moldura(118, y + 22, 82, 10);
    f->texto(119, y + 22.5, 80, 9, QStringLiteral("Consulta de autenticidade no portal nacional da NF-e "
                                                 "www.nfe.fazenda.gov.br/portal ou no site da Sefaz Autorizadora"),
             7, Qt::AlignCenter, false, true);
    y += 32;

    QString protocolo = opcoes.protocolo;
    if (!nfe.procNFe.nProt.isEmpty())
        protocolo = nfe.procNFe.nProt + u' ' + nfe.procNFe.dhRecbto.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    // A normal emission printed before its authorisation (the preview before
    // sending) must not pass for an authorised DANFE.
    if (protocolo.isEmpty() && nfe.Ide.tpEmis == 1)
        protocolo = QStringLiteral("PRÉVIA - NF-e NÃO AUTORIZADA");
    f->caixa(0, y, 118, 7, QStringLiteral("NATUREZA DA OPERAÇÃO"), nfe.Ide.natOp);
    f->caixa(118, y, 82, 7, QStringLiteral("PROTOCOLO DE AUTORIZAÇÃO DE USO"), protocolo, Qt::AlignCenter, 7.5, true);
    y += 7;
    f->caixa(0, y, 66, 7, QStringLiteral("INSCRIÇÃO ESTADUAL"), e.IE);
    f->caixa(66, y, 67, 7, QStringLiteral("INSCRIÇÃO ESTADUAL DO SUBST. TRIBUT."), e.IEST);
    f->caixa(133, y, 67, 7, QStringLiteral("CNPJ / CPF"), documento(e.CNPJCPF));
    return y + 8;
}

double Desenho::destinatario(double y)
{
    const Dest& d = nfe.Dest;
    const Endereco& a = d.EnderDest;
    f->titulo(y, QStringLiteral("DESTINATÁRIO / REMETENTE"));
    y += 3;
    const QString data = nfe.Ide.dEmi.toString(QStringLiteral("dd/MM/yyyy"));
    f->caixa(0, y, 120, 7, QStringLiteral("NOME / RAZÃO SOCIAL"), d.xNome);
    f->caixa(120, y, 50, 7, QStringLiteral("CNPJ / CPF"), d.CNPJCPF.isEmpty() ? d.idEstrangeiro : documento(d.CNPJCPF));
    f->caixa(170, y, 30, 7, QStringLiteral("DATA DA EMISSÃO"), data, Qt::AlignCenter);
    y += 7;
    f->caixa(0, y, 100, 7, QStringLiteral("ENDEREÇO"), a.xLgr + QStringLiteral(", ") + a.nro + u' ' + a.xCpl);
    f->caixa(100, y, 45, 7, QStringLiteral("BAIRRO / DISTRITO"), a.xBairro);
    f->caixa(145, y, 25, 7, QStringLiteral("CEP"), a.CEP > 0 ? QString::number(a.CEP).rightJustified(8, u'0').insert(5, u'-') : QString());
    f->caixa(170, y, 30, 7, QStringLiteral("DATA DA SAÍDA/ENTRADA"), nfe.Ide.dSaiEnt.toString(QStringLiteral("dd/MM/yyyy")), Qt::AlignCenter);
    y += 7;
    f->caixa(0, y, 80, 7, QStringLiteral("MUNICÍPIO"), a.xMun);
    f->caixa(80, y, 35, 7, QStringLiteral("FONE / FAX"), a.fone);
    f->caixa(115, y, 10, 7, QStringLiteral("UF"), a.UF, Qt::AlignCenter);
    f->caixa(125, y, 45, 7, QStringLiteral("INSCRIÇÃO ESTADUAL"), d.IE);
    f->caixa(170, y, 30, 7, QStringLiteral("HORA DA SAÍDA/ENTRADA"), nfe.Ide.dSaiEnt.toString(QStringLiteral("HH:mm:ss")), Qt::AlignCenter);
    return y + 8;
}

double Desenho::fatura(double y)
{
    f->titulo(y, QStringLiteral("FATURA / DUPLICATAS"));
    y += 3;
    const Lista<Dup>& dups = nfe.Cobr.Dup;
    if (dups.isEmpty()) {
        QStringList formas;
        for (const DetPag& p : nfe.pag)
            formas << QStringLiteral("%1: R$ %2").arg(formaPagamento(p), dinheiro(p.vPag));
        f->caixa(0, y, Largura, 7, QString(), formas.isEmpty() ? QStringLiteral("Sem pagamento") : formas.join(QStringLiteral("   ")));
        return y + alturaFatura(nfe) - 3;
    }
    // Up to eight duplicates side by side, two lines at most on the first page.
    const int porLinha = 8;
    const double w = Largura / porLinha;
    for (int i = 0; i < dups.Count() && i < 2 * porLinha; ++i) {
        const Dup& d = dups[i];
        const double x = (i % porLinha) * w;
        const double yy = y + (i / porLinha) * 7;
        f->caixa(x, yy, w, 7, QStringLiteral("Nº %1  Venc. %2").arg(d.nDup, d.dVenc.toString(QStringLiteral("dd/MM/yyyy"))),
                 QStringLiteral("R$ ") + dinheiro(d.vDup), Qt::AlignRight, 7);
    }
    return y + alturaFatura(nfe) - 3;
}

double Desenho::impostos(double y)
{
    const ICMSTot& t = nfe.Total.ICMSTot;
    f->titulo(y, QStringLiteral("CÁLCULO DO IMPOSTO"));
    y += 3;
    const double w = Largura / 9;
    const QStringList r1 = {QStringLiteral("BASE DE CÁLC. DO ICMS"), QStringLiteral("VALOR DO ICMS"),
                            QStringLiteral("BASE DE CÁLC. ICMS S.T."), QStringLiteral("VALOR DO ICMS SUBST."),
                            QStringLiteral("V. IMP. IMPORTAÇÃO"), QStringLiteral("V. ICMS UF REMET."),
                            QStringLiteral("V. FCP UF DEST."), QStringLiteral("VALOR DO PIS"),
                            QStringLiteral("V. TOTAL PRODUTOS")};
    const QList<Currency> v1 = {t.vBC, t.vICMS, t.vBCST, t.vST, t.vII, t.vICMSUFRemet, t.vFCPUFDest, t.vPIS, t.vProd};
    const QStringList r2 = {QStringLiteral("VALOR DO FRETE"), QStringLiteral("VALOR DO SEGURO"),
                            QStringLiteral("DESCONTO"), QStringLiteral("OUTRAS DESPESAS"), QStringLiteral("VALOR TOTAL IPI"),
                            QStringLiteral("V. ICMS UF DEST."), QStringLiteral("V. TOT. TRIB."),
                            QStringLiteral("VALOR DA COFINS"), QStringLiteral("V. TOTAL DA NOTA")};
    const QList<Currency> v2 = {t.vFrete, seguroTotal(nfe), t.vDesc, t.vOutro, t.vIPI, t.vICMSUFDest, t.vTotTrib, t.vCOFINS, t.vNF};
    for (int i = 0; i < 9; ++i) {
        f->caixa(i * w, y, w, 7, r1[i], dinheiro(v1[i].roundTo2Even()), Qt::AlignRight);
        f->caixa(i * w, y + 7, w, 7, r2[i], dinheiro(v2[i].roundTo2Even()), Qt::AlignRight, 7.5, i == 8);
    }
    return y + 15;
}

double Desenho::transporte(double y)
{
    const Transp& t = nfe.Transp;
    const Transporta& c = t.Transporta;
    f->titulo(y, QStringLiteral("TRANSPORTADOR / VOLUMES TRANSPORTADOS"));
    y += 3;
    f->caixa(0, y, 70, 7, QStringLiteral("NOME / RAZÃO SOCIAL"), c.xNome);
    f->caixa(70, y, 30, 7, QStringLiteral("FRETE POR CONTA"), modFrete(t.modFrete));
    f->caixa(100, y, 25, 7, QStringLiteral("CÓDIGO ANTT"), t.veicTransp.RNTC);
    f->caixa(125, y, 25, 7, QStringLiteral("PLACA DO VEÍCULO"), t.veicTransp.placa);
    f->caixa(150, y, 10, 7, QStringLiteral("UF"), t.veicTransp.UF, Qt::AlignCenter);
    f->caixa(160, y, 40, 7, QStringLiteral("CNPJ / CPF"), documento(c.CNPJCPF));
    y += 7;
    f->caixa(0, y, 100, 7, QStringLiteral("ENDEREÇO"), c.xEnder);
    f->caixa(100, y, 50, 7, QStringLiteral("MUNICÍPIO"), c.xMun);
    f->caixa(150, y, 10, 7, QStringLiteral("UF"), c.UF, Qt::AlignCenter);
    f->caixa(160, y, 40, 7, QStringLiteral("INSCRIÇÃO ESTADUAL"), c.IE);
    y += 7;
    Vol v;
    int volumes = 0;
    for (const Vol& x : t.Vol) {
        volumes += x.qVol;
        v.pesoB += x.pesoB;
        v.pesoL += x.pesoL;
        v.esp = x.esp;
        v.marca = x.marca;
        v.nVol = x.nVol;
    }
    f->caixa(0, y, 25, 7, QStringLiteral("QUANTIDADE"), volumes ? QString::number(volumes) : QString(), Qt::AlignRight);
    f->caixa(25, y, 40, 7, QStringLiteral("ESPÉCIE"), v.esp);
    f->caixa(65, y, 40, 7, QStringLiteral("MARCA"), v.marca);
    f->caixa(105, y, 35, 7, QStringLiteral("NUMERAÇÃO"), v.nVol);
    f->caixa(140, y, 30, 7, QStringLiteral("PESO BRUTO"), formatFloat(u",0.000", v.pesoB), Qt::AlignRight);
    f->caixa(170, y, 30, 7, QStringLiteral("PESO LÍQUIDO"), formatFloat(u",0.000", v.pesoL), Qt::AlignRight);
    return y + 8;
}

void Desenho::cabecalhoItens(double y)
{
    static const char* titulos[] = {"CÓDIGO", "DESCRIÇÃO DO PRODUTO / SERVIÇO", "NCM/SH", "O/CST", "CFOP", "UN",
                                    "QUANT.", "VALOR UNIT.", "VALOR TOTAL", "B.CÁLC. ICMS", "VALOR ICMS",
                                    "VALOR IPI", "ALÍQ. ICMS", "ALÍQ. IPI"};
    double x = 0;
    for (int i = 0; i < 14; ++i) {
        f->moldura(x, y, Colunas[i], CabecalhoItens);
        f->texto(x + 0.3, y, Colunas[i] - 0.6, CabecalhoItens, QString::fromUtf8(titulos[i]), 4.6, Qt::AlignCenter,
                 false, true);
        x += Colunas[i];
    }
}

void Desenho::item(double y, const Det& d, double altura)
{
    const Prod& p = d.Prod;
    const ICMS& i = d.Imposto.ICMS;
    const QString cst = QString::number(i.orig) + (i.CSOSN.isEmpty() ? i.CST : i.CSOSN);
    const QStringList valores = {p.cProd, descricao(d), p.NCM, cst, p.CFOP, p.uCom, quantidade(p.qCom),
                                 quantidade(p.vUnCom), dinheiro(p.vProd), dinheiro(i.vBC), dinheiro(i.vICMS),
                                 dinheiro(d.Imposto.IPI.vIPI), dinheiro(i.pICMS), dinheiro(d.Imposto.IPI.pIPI)};
    double x = 0;
    for (int c = 0; c < 14; ++c) {
        const int alinhamento = c <= 1 ? Qt::AlignLeft : (c <= 5 ? Qt::AlignHCenter : Qt::AlignRight);
        if (c == 1)
            f->texto(x + 0.5, y + 0.45, Colunas[c] - 1, altura - 0.5, valores[c], PontosItem,
                     Qt::AlignLeft | Qt::AlignTop, false, true);
        else
            f->texto(x + 0.5, y, Colunas[c] - 1, Linha, valores[c], PontosItem, alinhamento | Qt::AlignVCenter);
        x += Colunas[c];
    }
    f->painter().save();
    f->painter().setPen(QPen(Qt::lightGray, 0));
    const QRectF linha = f->mm(0, y + altura, Largura, 0);
    f->painter().drawLine(linha.topLeft(), linha.topRight());
    f->painter().restore();
}

void Desenho::adicionais()
{
    const double y = Altura - RodapePrimeira;
    f->titulo(y, QStringLiteral("DADOS ADICIONAIS"));
    f->moldura(0, y + 3, 140, RodapePrimeira - 3);
    f->texto(0.6, y + 3.3, 100, 2.4, QStringLiteral("INFORMAÇÕES COMPLEMENTARES"), 4.8, Qt::AlignLeft | Qt::AlignTop);
    QString info = nfe.InfAdic.infCpl;
    if (!nfe.InfAdic.infAdFisco.isEmpty())
        info = nfe.InfAdic.infAdFisco + u'\n' + info;
    f->texto(0.6, y + 5.8, 138.8, RodapePrimeira - 6.2, info, 6, Qt::AlignLeft | Qt::AlignTop, false, true);
    f->moldura(140, y + 3, 60, RodapePrimeira - 3);
    f->texto(140.6, y + 3.3, 58, 2.4, QStringLiteral("RESERVADO AO FISCO"), 4.8, Qt::AlignLeft | Qt::AlignTop);
}

void Desenho::marcas()
{
    QPainter& p = f->painter();
    auto diagonal = [&](const QString& texto, const QColor& cor, double pontos) {
        p.save();
        const QRectF pagina = f->mm(0, 0, Largura, Altura);
        p.translate(pagina.center());
        p.rotate(-55);
        QFont fonte(QStringLiteral("DejaVu Sans"));
        fonte.setPixelSize(int(pontos / 72.0 * device.logicalDpiY())); // outlines ignore the device's dpi
        fonte.setBold(true);
        // Drawn as outlines: a text layer would mix with the item rows when
        // the PDF's text is read or searched.
        QPainterPath contorno;
        contorno.addText(0, 0, fonte, texto);
        const QRectF caixa = contorno.boundingRect();
        p.translate(-caixa.center());
        p.fillPath(contorno, cor);
        p.restore();
    };
    if (opcoes.cancelada)
        diagonal(QStringLiteral("CANCELADA"), QColor(200, 0, 0, 140), 90);
    else if (nfe.Ide.tpAmb == 2)
        diagonal(QStringLiteral("SEM VALOR FISCAL"), QColor(120, 120, 120, 90), 50);
}

} // namespace

int paginasDanfe(const NFe& nfe)
{
    QBuffer nada; // measured against the PDF's resolution; nothing is written
    QPdfWriter medida(&nada);
    medida.setResolution(300);
    return int(quebrasDePagina(nfe, alturasDosItens(nfe, &medida)).size());
}

void desenharDanfe(QPagedPaintDevice& device, const NFe& nfe, const DanfeOpcoes& opcoes)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    Desenho(device, nfe, opcoes).executar();
}

void gerarDanfePdf(const NFe& nfe, const QString& arquivo, const DanfeOpcoes& opcoes)
{
    QPdfWriter pdf(arquivo);
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("DANFE ") + chaveNumerica(nfe));
    pdf.setCreator(QStringLiteral("KVO Gestão"));
    desenharDanfe(pdf, nfe, opcoes);
}

} // namespace kvo::nfe
