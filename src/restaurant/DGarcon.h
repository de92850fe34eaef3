#pragma once

#include "framework/db/RecordSet.h"
#include "framework/ui/Pesquisa.h"

#include <memory>

namespace kvo {

// The waiter register (dmGarcon): RES_GARCON, its search (waiters only, not
// delivery people) and the waiters of an order.
class TdmGarcon {
public:
    static TdmGarcon& gerarInstance();
    TdmGarcon();
    explicit TdmGarcon(Database& db);

    // Opens the register rows (all of them); a new row takes its key from
    // "GEN_RES_GARCON" and "N" as delivery person.
    RecordSet& cdsGarcon();
    // Keyed on CODGARCON: CODGARCON, GAR_NOME of the rows that are not
    // delivery people; caption "Pesquisa de Garçon".
    TwbtPesquisa& pesquisa() { return m_pesquisa; }

    // The waiter's name, empty for a code that is not registered.
    QString nomeGarcon(int codgarcon);
    // True when the code and password name one waiter (both bound, never
    // appended to the statement).
    bool senhaConfere(int codgarcon, const QString& senha);

    // The waiters of an order: one row (GAR_NOME) per distinct waiter of its
    // "NORMAL" items.
    static const QString sqlGarconsDoPedido;
    std::unique_ptr<RecordSet> garconsDoPedido(int codpedido);

private:
    Database& m_db;
    std::unique_ptr<RecordSet> m_garcon;
    TwbtPesquisa m_pesquisa;
};

} // namespace kvo
