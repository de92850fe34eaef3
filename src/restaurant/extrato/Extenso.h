#pragma once

#include "core/Currency.h"

#include <QString>

namespace kvo {

// An amount of money in Portuguese words, as receipts write it:
// 1234.5 -> "mil duzentos e trinta e quatro reais e cinquenta centavos".
// Whole cents only (the amount is rounded to two decimals, halves to even);
// a negative amount is spelled with "menos" before it.
QString valorPorExtenso(Currency valor);

} // namespace kvo
