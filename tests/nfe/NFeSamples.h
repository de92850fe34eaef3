#pragma once

#include "nfe/NFeModel.h"

// Sample documents for tests and benchmarks. Together they use every group the
// invoice assembly fills.
namespace kvo::nfe::samples {

// Regular regime, interstate sale to a final consumer: ICMS 00/10/20/60/70/40,
// FCP and FCP-ST, retained ST, destination-state partition, IPI, PIS/COFINS,
// referenced NF-e and fiscal coupon, carrier, vehicle, volume, invoice with
// duplicates, card payment.
NFe interestadualConsumidorFinal(int itens = 6);
// Simples Nacional company: every CSOSN group, payment "99" with its text.
NFe simplesNacional();
// Import: foreign supplier, DI with additions, import tax.
NFe importacao();
// Export: foreign customer and the export group.
NFe exportacao();
// Return of goods referencing the original NF-e, without payment.
NFe devolucao();

} // namespace kvo::nfe::samples
