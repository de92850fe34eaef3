#pragma once

#include "framework/db/Database.h"

#include <QString>

namespace kvo {

// Inside the caller's transaction: the number a new invoice of the series
// takes (SER_SEQ), advancing SER_SEQ by one under the series row's lock, so
// two terminals never take the same number. Refuses an unknown series and a
// number already used in it ("Numero da Nota fiscal já cadastrada").
int reservarNumeroNFVenda(Database& db, const QString& codserie);

// A failure because another terminal held or changed a row meanwhile: worth
// retrying the whole transaction.
bool conflitoDeTravamento(const DatabaseError& e);

} // namespace kvo
