#pragma once

#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace kvo::test {

inline Currency c(const char* text) { return Currency::fromString(QString::fromLatin1(text)); }

// Registers of a shop in SP: customers in and out of the state, CFOPs, series
// "1" (starting at 1) and "F" (at 40), products (one sold in boxes of 12).
void carregarCadastros(Database& db);

// A shop in SP with customers in and out of the state, CFOPs, two series and
// a few products (one sold in boxes of 12), and the invoice data module on it.
class NFVendaFixture : public ::testing::Test {
protected:
    NFVendaFixture();
    TdmNFVenda& dm() { return TdmNFVenda::gerarInstance(); }
    RecordSet& cab() { return dm().cdsNFVenda(); }
    RecordSet& item() { return dm().cdsNFVendaItem(); }
    RecordSet& serv() { return dm().cdsNFVendaServico(); }
    void cabecalho(const char* coluna, const QString& texto) { dm().setValorCampo(cab(), QLatin1String(coluna), texto); }
    void noItem(const char* coluna, const QString& texto) { dm().setValorCampo(item(), QLatin1String(coluna), texto); }
    Currency valor(RecordSet& rs, const char* coluna) { return rs.field(QLatin1String(coluna)).asCurrency(); }
    QString texto(RecordSet& rs, const char* coluna) { return rs.field(QLatin1String(coluna)).asString(); }
    void sql(const QString& comando) { t->executeSQL(comando); }
    void config(const char* chave, const char* valor);
    // A new invoice of series 1 for customer 1 (SP) with CFOP 5102.
    void novaNotaSP();
    // An item priced by hand: quantity, unit price, ICMS rate.
    void itemManual(const char* qtde, const char* preco, const char* aliqIcms);

    TestDatabase t;
    Module module;
    ScriptedUi ui;
};

} // namespace kvo::test
