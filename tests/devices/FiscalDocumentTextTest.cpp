#include "devices/FiscalDocumentText.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace kvo;

namespace {

QString golden(const char* name) {
    QFile f(QStringLiteral(KVO_DEVICES_GOLDEN_DIR "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<sem arquivo>");
}

QString text(const QStringList& lines) {
    return lines.join(u'\n') + u'\n';
}

void expectFitsThePaper(const QStringList& lines) {
    for (const QString& line : lines)
        EXPECT_LE(line.size(), fiscaltext::Largura) << qPrintable(line);
}

const QDateTime Moment(QDate(2026, 12, 6), QTime(20, 30, 5));

} // namespace

TEST(FiscalDocumentText, ManagementReportMatchesItsGoldenFile) {
    FiscalPrinterState state;
    state.numeroEcf = 3;
    state.coo = 1234;
    state.gnf = 56;
    const RelatorioGerencialInfo tipo{1, QStringLiteral("CONFERENCIA DE MESA"), 7};
    const QStringList lines{QString(), QStringLiteral("Mesa: 0012 - Abertura: 06/12/2026 19:00:00"),
                            QStringLiteral("PIZZA CALABRESA linha que passa da largura do papel e quebra")};
    const QStringList doc = fiscaltext::relatorioGerencial(state, tipo, lines, Moment);
    EXPECT_EQ(text(doc).toStdString(), golden("relatorio-gerencial.txt").toStdString());
    expectFitsThePaper(doc);
}

TEST(FiscalDocumentText, CancelledCouponMatchesItsGoldenFile) {
    CupomFiscal cupom;
    cupom.coo = 1235;
    cupom.cpfCnpj = QStringLiteral("12345678909");
    cupom.itens.append({1, QStringLiteral("00012"), QStringLiteral("PIZZA CALABRESA"), QStringLiteral("T18"),
                        QStringLiteral("UN"), 2, Currency::fromString(u"35.50"),
                        Currency::fromString(u"-1.00")});
    cupom.itens.append({2, QStringLiteral("00031"), QStringLiteral("QUEIJO PRATO FATIADO ESPECIAL DA CASA"),
                        QStringLiteral("F"), QStringLiteral("KG"), Currency::fromString(u"1.234"),
                        Currency::fromString(u"1234.56"), Currency()});
    const QStringList doc = fiscaltext::cupomCancelado(3, cupom, Moment);
    EXPECT_EQ(text(doc).toStdString(), golden("cupom-cancelado.txt").toStdString());
    expectFitsThePaper(doc);
}

TEST(FiscalDocumentText, LongLinesWrapAtThePaperWidth) {
    const QString line(100, u'x');
    EXPECT_EQ(fiscaltext::quebrarLinhas({line, QStringLiteral("curta")}),
              (QStringList{line.left(48), line.mid(48, 48), line.mid(96), QStringLiteral("curta")}));
}

TEST(FiscalDocumentText, ClosedCouponShowsSubtotalAdjustmentPaymentsAndChange) {
    CupomFiscal cupom;
    cupom.coo = 1236;
    cupom.ccf = 88;
    cupom.itens.append({1, QStringLiteral("1001"), QStringLiteral("X-BURGUER"), QStringLiteral("T18"),
                        QStringLiteral("UN"), 2, Currency::fromString(u"24.90"), Currency()});
    cupom.subtotalizado = true;
    cupom.acrescimoDesconto = Currency::fromString(u"4.98");
    cupom.pagamentos = {{QStringLiteral("Dinheiro"), Currency::fromString(u"50.00")},
                        {QStringLiteral("Cartão de crédito"), Currency::fromString(u"10.00")}};
    const QStringList doc = fiscaltext::cupomFiscal(3, cupom, Moment, {QStringLiteral("Mesa 0007")});
    EXPECT_EQ(text(doc).toStdString(), golden("cupom-fiscal.txt").toStdString());
    expectFitsThePaper(doc);

    // A discount is named as such; without payments beyond the total the change is zero.
    cupom.acrescimoDesconto = Currency::fromString(u"-9.80");
    cupom.pagamentos = {{QStringLiteral("PIX"), Currency::fromString(u"40.00")}};
    const QString sem = text(fiscaltext::cupomFiscal(3, cupom, Moment, {}));
    EXPECT_TRUE(sem.contains(u"DESCONTO R$                                -9,80")) << qPrintable(sem);
    EXPECT_TRUE(sem.contains(u"TOTAL R$                                   40,00"));
    EXPECT_TRUE(sem.contains(u"TROCO R$                                    0,00"));
}

TEST(FiscalDocumentText, XReadingListsTheCountersAndThePaymentTotals) {
    FiscalPrinterState state;
    state.numeroEcf = 3;
    state.coo = 40;
    state.gnf = 12;
    state.ccf = 25;
    state.cancelamentos = 2;
    state.grandeTotal = Currency::fromString(u"1234.50");
    state.totalCancelado = Currency::fromString(u"30.00");
    state.totalTroco = Currency::fromString(u"5.50");
    state.totaisPagamento = {{QStringLiteral("Dinheiro"), Currency::fromString(u"640.00")},
                             {QStringLiteral("PIX"), Currency::fromString(u"600.00")}};
    const QStringList doc = fiscaltext::leituraX(state, Moment);
    expectFitsThePaper(doc);
    const QString t = text(doc);
    for (const char* linha : {"COO: 000040", "GNF: 000012", "LEITURA X", "Contador de cupom fiscal (CCF)            000025",
                              "Cupons cancelados                         000002",
                              "GRANDE TOTAL R$                         1.234,50",
                              "Dinheiro                                  640,00", "PIX                                       600,00",
                              "Troco R$                                    5,50"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(linha))) << linha << "\n" << qPrintable(t);
}
