#include "registers/DFormaDePagamento.h"

#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

namespace kvo {

TdmFormaDePagamento& TdmFormaDePagamento::gerarInstance() { return Module::current().instance<TdmFormaDePagamento>(); }

TdmFormaDePagamento::TdmFormaDePagamento() : TdmFormaDePagamento(TdmAcesso::gerarInstance().sqlCon()) {}

TdmFormaDePagamento::TdmFormaDePagamento(Database& db) : m_db(db) {}

CondicaoPagamento TdmFormaDePagamento::condicao(int codformapagamento) {
    CondicaoPagamento c;
    const auto rs = m_db.query(QStringLiteral("select FPG_PARCELAS, FPG_DIAS_PRIMEIRA, FPG_INTERVALO from FORMAPAGAMENTO "
                                              "where CODFORMAPAGAMENTO = :C"),
                               {{QStringLiteral("C"), codformapagamento}});
    if (!rs->isEmpty()) {
        c.parcelas = std::max(1, int(rs->field(0).asInteger()));
        c.diasPrimeira = std::max(0, int(rs->field(1).asInteger()));
        c.intervalo = std::max(0, int(rs->field(2).asInteger()));
    }
    return c;
}

QString TdmFormaDePagamento::descricao(int codformapagamento) {
    return m_db.scalar(QStringLiteral("select FPG_DESCRICAO from FORMAPAGAMENTO where CODFORMAPAGAMENTO = :C"),
                       {{QStringLiteral("C"), codformapagamento}})
        .toString();
}

QVector<Parcela> TdmFormaDePagamento::gerarParcelas(Currency total, const QDate& data, const CondicaoPagamento& condicao) {
    const int n = std::max(1, condicao.parcelas);
    // Whole cents per instalment, towards zero; the last one gets what is left.
    const Currency cada = Currency::fromRaw((total.raw() / n) / 100 * 100);
    QVector<Parcela> parcelas;
    Currency soma;
    for (int i = 0; i < n; ++i) {
        Parcela p;
        p.numero = i + 1;
        p.vencimento = data.addDays(condicao.diasPrimeira + qint64(i) * condicao.intervalo);
        p.valor = i + 1 < n ? cada : total - soma;
        soma += p.valor;
        parcelas << p;
    }
    return parcelas;
}

} // namespace kvo
