#pragma once

#include "core/Text.h"

#include <QDate>
#include <QString>

// Access key of an NF-e: cUF(2) AAMM(4) CNPJ(14) mod(2) serie(3) nNF(9)
// tpEmis(1) cNF(8) cDV(1).
namespace kvo::nfe {

using kvo::OnlyNumber;

// Check digit: modulo 11 over the digits, weights 2..9 from the right;
// a remainder of 0 or 1 gives 0, else 11 minus the remainder.
int Modulo11(const QString& digits);

// "NFe" + 44 digits. `option` is accepted for the callers and ignored.
// Throws std::invalid_argument when a part does not fit its width.
QString GerarChaveAcesso(int cUF, const QDate& emissao, const QString& cnpj, int serie,
                         int numero, int tpEmis, int cNF, int modelo = 55, int option = -1);

// True for 44 digits (optionally prefixed "NFe") whose check digit is right.
bool ChaveValida(const QString& chave);

// "SP" -> 35; 0 for an unknown state.
int UFparaCodigo(const QString& uf);
// 35 -> "SP"; empty for an unknown code.
QString CodigoParaUF(int codigo);

// Emission form code as its one-digit text (1 normal ... 9 offline NFC-e).
QString TpEmisToStr(int tpEmis);

} // namespace kvo::nfe
