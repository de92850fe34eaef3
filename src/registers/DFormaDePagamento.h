#pragma once

#include "core/Currency.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace kvo {

class Database;

struct CondicaoPagamento {
    int parcelas = 1;     // cash: one instalment...
    int diasPrimeira = 0; // ...at 0 days
    int intervalo = 30;   // days between instalments
};

struct Parcela {
    int numero = 0;
    QDate vencimento;
    Currency valor;
};

// Payment methods (dmFormaDePagamento) and the instalments they make.
class TdmFormaDePagamento {
public:
    static TdmFormaDePagamento& gerarInstance();
    TdmFormaDePagamento();
    explicit TdmFormaDePagamento(Database& db);

    // The method's terms; an unknown or empty code is cash.
    CondicaoPagamento condicao(int codformapagamento);
    QString descricao(int codformapagamento);

    // The instalments of `total` from `data`: every instalment in whole cents
    // and the last one takes the remainder, so they add up to the total exactly.
    static QVector<Parcela> gerarParcelas(Currency total, const QDate& data, const CondicaoPagamento& condicao);

private:
    Database& m_db;
};

} // namespace kvo
