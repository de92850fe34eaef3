#include "devices/FiscalDocumentText.h"

#include "core/Format.h"
#include "core/Text.h"

namespace kvo::fiscaltext {

namespace {

QString traco() {
    return QString(Largura, u'-');
}

QString numero(int value, int digits) {
    return PadL(QString::number(value), digits, u'0');
}

QString dinheiro(Currency value) {
    return formatFloat(u",0.00", value);
}

// Printer name, ECF number and moment, then the counters line.
QStringList cabecalho(int numeroEcf, const QDateTime& momento, const QString& contadores) {
    const QString ecf = QStringLiteral("ECF: ") + numero(numeroEcf, 3);
    return {PadC(QStringLiteral("EMULADOR DE IMPRESSORA FISCAL"), Largura),
            ecf + PadL(formatDateTime(u"dd/mm/yyyy hh:nn:ss", momento), Largura - int(ecf.size())),
            contadores, traco()};
}

// A label on the left and an amount on the right of the same line.
QString valorEmLinha(const QString& rotulo, Currency value) {
    const QString amount = dinheiro(value);
    return PadR(rotulo, Largura - int(amount.size())) + amount;
}

} // namespace

QStringList quebrarLinhas(const QStringList& linhas) {
    QStringList out;
    for (const QString& linha : linhas) {
        if (linha.size() <= Largura) {
            out << linha;
            continue;
        }
        for (qsizetype from = 0; from < linha.size(); from += Largura)
            out << linha.mid(from, Largura);
    }
    return out;
}

QStringList relatorioGerencial(const FiscalPrinterState& state, const RelatorioGerencialInfo& tipo,
                               const QStringList& linhas, const QDateTime& momento) {
    const QString coo = QStringLiteral("COO: ") + numero(state.coo, 6);
    const QString gnf = QStringLiteral("GNF: ") + numero(state.gnf, 6);
    QStringList out = cabecalho(state.numeroEcf, momento, coo + PadL(gnf, Largura - int(coo.size())));
    out << PadC(QStringLiteral("RELATORIO GERENCIAL"), Largura) << PadC(tipo.descricao, Largura)
        << QStringLiteral("CER: ") + numero(tipo.contador, 4) << traco();
    out << quebrarLinhas(linhas);
    out << traco();
    return out;
}

namespace {

// Header, customer and the item lines of a coupon.
QStringList corpoCupom(int numeroEcf, const CupomFiscal& cupom, const QDateTime& momento) {
    const QString coo = QStringLiteral("COO: ") + numero(cupom.coo, 6);
    const QString contadores = cupom.ccf > 0 ? coo + PadL(QStringLiteral("CCF: ") + numero(cupom.ccf, 6),
                                                           Largura - int(coo.size()))
                                             : coo;
    QStringList out = cabecalho(numeroEcf, momento, contadores);
    if (!cupom.cpfCnpj.isEmpty())
        out << QStringLiteral("CPF/CNPJ consumidor: ") + cupom.cpfCnpj;
    if (!cupom.nome.isEmpty())
        out << quebrarLinhas({QStringLiteral("Nome: ") + cupom.nome});
    if (!cupom.endereco.isEmpty())
        out << quebrarLinhas({QStringLiteral("Endereço: ") + cupom.endereco});
    out << PadC(QStringLiteral("CUPOM FISCAL"), Largura) << QStringLiteral("ITEM CODIGO DESCRICAO")
        << QStringLiteral("QTD UN x VL.UNIT(R$)         ST      VL.ITEM(R$)") << traco();
    for (const CupomFiscalItem& item : cupom.itens) {
        out << PadR(numero(item.numero, 3) + u' ' + item.codigo + u' ' + item.descricao, Largura).trimmed();
        const QString conta = formatFloat(u"###,##0.000", item.quantidade) + u' ' + item.unidade +
                              QStringLiteral(" x ") + dinheiro(item.valorUnitario);
        const QString bruto = dinheiro(item.bruto());
        out << PadR(QStringLiteral("    ") + conta, 29) +
                   PadR(item.aliquota, Largura - 29 - int(bruto.size())) + bruto;
        if (!item.ajuste.isZero())
            out << valorEmLinha(item.ajuste < Currency() ? QStringLiteral("    desconto")
                                                         : QStringLiteral("    acréscimo"),
                                item.ajuste);
    }
    out << traco();
    return out;
}

} // namespace

QStringList cupomFiscal(int numeroEcf, const CupomFiscal& cupom, const QDateTime& momento,
                        const QStringList& mensagem) {
    QStringList out = corpoCupom(numeroEcf, cupom, momento);
    if (!cupom.acrescimoDesconto.isZero()) {
        out << valorEmLinha(QStringLiteral("SUBTOTAL R$"), cupom.subtotal());
        out << valorEmLinha(cupom.acrescimoDesconto < Currency() ? QStringLiteral("DESCONTO R$")
                                                                  : QStringLiteral("ACRESCIMO R$"),
                            cupom.acrescimoDesconto);
    }
    out << valorEmLinha(QStringLiteral("TOTAL R$"), cupom.total());
    for (const PagamentoCupom& p : cupom.pagamentos)
        out << valorEmLinha(p.forma, p.valor);
    out << valorEmLinha(QStringLiteral("TROCO R$"), cupom.troco()) << traco();
    out << quebrarLinhas(mensagem);
    return out;
}

QStringList leituraX(const FiscalPrinterState& state, const QDateTime& momento) {
    const QString coo = QStringLiteral("COO: ") + numero(state.coo, 6);
    const QString gnf = QStringLiteral("GNF: ") + numero(state.gnf, 6);
    QStringList out = cabecalho(state.numeroEcf, momento, coo + PadL(gnf, Largura - int(coo.size())));
    out << PadC(QStringLiteral("LEITURA X"), Largura) << traco()
        << PadR(QStringLiteral("Contador de cupom fiscal (CCF)"), Largura - 6) + numero(state.ccf, 6)
        << PadR(QStringLiteral("Cupons cancelados"), Largura - 6) + numero(state.cancelamentos, 6)
        << valorEmLinha(QStringLiteral("GRANDE TOTAL R$"), state.grandeTotal)
        << valorEmLinha(QStringLiteral("Cancelamentos R$"), state.totalCancelado) << traco()
        << QStringLiteral("MEIOS DE PAGAMENTO");
    for (const PagamentoCupom& p : state.totaisPagamento)
        out << valorEmLinha(p.forma, p.valor);
    out << valorEmLinha(QStringLiteral("Troco R$"), state.totalTroco) << traco();
    return out;
}

QStringList cupomCancelado(int numeroEcf, const CupomFiscal& cupom, const QDateTime& momento) {
    QStringList out = corpoCupom(numeroEcf, cupom, momento);
    if (!cupom.acrescimoDesconto.isZero())
        out << valorEmLinha(cupom.acrescimoDesconto < Currency() ? QStringLiteral("DESCONTO R$")
                                                                  : QStringLiteral("ACRESCIMO R$"),
                            cupom.acrescimoDesconto);
    out << valorEmLinha(QStringLiteral("TOTAL R$"), cupom.total()) << traco()
        << PadC(QStringLiteral("CUPOM FISCAL CANCELADO"), Largura)
        << valorEmLinha(QStringLiteral("Valor cancelado R$"), cupom.total()) << traco();
    return out;
}

} // namespace kvo::fiscaltext
