// The receipt of a paid instalment.
#include "restaurant/extrato/Extenso.h"
#include "restaurant/extrato/RExtrato.h"

#include "core/Format.h"
#include "core/Text.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"

namespace kvo {

namespace {

QString L(const QString& t) { return PadR(t, 40); }
const QString Traco(40, u'-');

// "=> " and the text 40 characters a line, all of it.
QStringList seta(const QString& texto) {
    QStringList l = quebrar(texto, 40, 40);
    l[0] = QStringLiteral("=> ") + l[0];
    return l;
}

} // namespace

QStringList TrelExtrato::textoRecibo(int codContaBaixa) {
    auto rs = m_db.query(
        QStringLiteral(" SELECT    CONTAS_BAIXAS.COBX_DTPAG,    CONTAS_BAIXAS.COBX_VLRPAGO,    PESSOA.PES_NOME,    "
                       "PESSOA.PES_CPFCNPJ,    CONTAS.CON_NUMDOC,    CONTAS.CON_PARCELA,    CONTAS.CON_NUMDOC_BOLETO  "
                       "FROM    CONTAS_BAIXAS    INNER JOIN CONTAS ON (CONTAS_BAIXAS.CODCONTA = CONTAS.CODCONTA)    "
                       "INNER JOIN PESSOA ON (CONTAS.CODPESSOA = PESSOA.CODPESSOA)  WHERE    "
                       "CONTAS_BAIXAS.CODCONTABAIXA = ") +
        QString::number(codContaBaixa));
    // A key without a row gives a receipt of empty texts and zero.
    const bool tem = !rs->isEmpty();
    const auto s = [&](const char* c) { return tem ? rs->field(QString::fromLatin1(c)).asString().trimmed() : QString(); };
    const Currency pago = tem ? rs->field(QStringLiteral("COBX_VLRPAGO")).asCurrency() : Currency();
    const QDate data = tem ? rs->field(QStringLiteral("COBX_DTPAG")).asDate() : QDate();

    const Empresa& e = TdmAcesso::gerarInstance().empresa();
    const bool inscricao = m_db.scalar(QStringLiteral("select first 1 PARR_IMPRIMIR_IEIM from PAR_RESTAURANTE order "
                                                      "by CODPARRESTAURANTE"))
                               .toString()
                               .trimmed() == QLatin1String("S");
    QStringList l;
    l << QString() << L(e.fantasia) << L(QStringLiteral("TEL: ") + e.telefone + QStringLiteral(" CNPJ: ") + e.cnpj);
    if (inscricao)
        l << L(QStringLiteral("INS.EST: ") + e.ie) << L(QStringLiteral("INS.MUN: ") + e.im);
    if (!e.endereco.isEmpty())
        l << Traco << L(e.endereco) << L(e.bairro + QStringLiteral(" - ") + e.cidade + u'/' + e.uf);
    l << Traco << QStringLiteral("* * * * * * * *  RECIBO  * * * * * * * *") << Traco << QString();
    l << QStringLiteral("RECEBI DO SR.(A):") << seta(s("PES_NOME")) << QStringLiteral("CPF: ") + s("PES_CPFCNPJ")
      << QString();
    l << QStringLiteral("A IMPORTANCIA DE:")
      // The mask ", 0.00": grouped, two decimals, a blank before the number.
      << seta(QStringLiteral("R$  ") + formatFloat(u",0.00", pago) + QStringLiteral(" (") + valorPorExtenso(pago) +
              u')');
    l << QStringLiteral("DATA DO PAGAMENTO: ") + (data.isValid() ? formatDateTime(u"dd/mm/yyyy", data) : QString())
      << QString();
    l << QStringLiteral("REFERENTE A:")
      << QStringLiteral("NUM.DOC: ") + s("CON_NUMDOC") + QStringLiteral(" - PARCELA: ") + s("CON_PARCELA")
      << QStringLiteral("NUM.DOC CARNE: ") + s("CON_NUMDOC_BOLETO") << QString() << Traco << QString()
      << creditoExtrato() << linhasFinalExtrato();
    return l;
}

void TrelExtrato::reciboContaBaixa(int codContaBaixa) {
    m_linhas = textoRecibo(codContaBaixa);
    mostrar(m_linhas, false);
}

} // namespace kvo
