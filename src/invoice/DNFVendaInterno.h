#pragma once

// Shared by the source files of the invoice data module; not part of its API.
#include "framework/db/RecordSet.h"

#include <QString>

namespace kvo::nfvenda {

inline Field& f(RecordSet& rs, const char* nome) { return rs.field(QLatin1String(nome)); }
inline Currency cur(RecordSet& rs, const char* nome) { return f(rs, nome).asCurrency(); }
inline QString str(RecordSet& rs, const char* nome) { return f(rs, nome).asString(); }
inline qint64 inteiro(RecordSet& rs, const char* nome) { return f(rs, nome).asInteger(); }
inline void set(RecordSet& rs, const char* nome, const QVariant& v) { f(rs, nome).setValue(v); }
inline void setMoney(RecordSet& rs, const char* nome, Currency v) { f(rs, nome).setValue(QVariant::fromValue(v)); }
inline bool emEdicao(const RecordSet& rs) {
    return rs.state() == RecordSet::State::Edit || rs.state() == RecordSet::State::Insert;
}

// Items of the category "Serviço" are services; any other is a product.
inline bool ehProduto(RecordSet& i) { return str(i, "NFVI_CATEGORIA") != QStringLiteral("Serviço"); }

// The header's customer, carrier and CFOP columns, in the order their searches copy them.
const QStringList& colunasPessoa();
const QStringList& colunasTransportadora();
const QStringList& colunasCfop();

// A record set over `select` (parameters CODNFVENDA and CODSERIE) whose fields
// are those of the select, defined once so their hooks survive reopening;
// `juntadas` are display columns of other tables, never written back.
std::unique_ptr<RecordSet> conjuntoDaNota(Database& db, const QString& select, const QString& tabela,
                                          const QStringList& chaves, const QStringList& juntadas);

} // namespace kvo::nfvenda
