#pragma once

#include <QString>

// Checks of the documents and codes a register screen accepts (no widgets, no database).
namespace kvo::documentos {

// Check digits of a CPF (11 digits) or CNPJ (14 digits); punctuation is ignored.
// Numbers made of one repeated digit pass the arithmetic but are refused.
bool cpfValido(const QString& cpf);
bool cnpjValido(const QString& cnpj);
// "000.000.000-00" or "00.000.000/0000-00" from the digits; other texts unchanged.
QString formatarCpfCnpj(const QString& texto);
// One of the 27 federal units (upper case).
bool ufValida(const QString& uf);
// A state registration: "ISENTO" or 2 to 14 digits (punctuation ignored).
bool ieValida(const QString& ie);
// EAN-8, EAN-13 or GTIN-14 with a correct check digit.
bool codigoBarrasValido(const QString& codigo);

} // namespace kvo::documentos
