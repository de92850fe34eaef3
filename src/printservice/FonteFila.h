#pragma once

#include "printservice/Ticket.h"

#include <QString>

namespace kvo {
class Database;
}

namespace kvo::impressao {

// Rows of the central print queue (RES_IMPRESSAO) of one centraliser name.
// A row is claimed by an update that only succeeds while it is still
// 'PENDENTE', committed before anything is sent, so of two instances exactly
// one gets it; 'IMPRIMINDO' rows of a stopped instance go back to the queue
// marked as reprints.
class FonteFila : public FonteTickets {
public:
    FonteFila(Database& db, QString centralizador, QString instancia, int expiraSegundos);

    void recuperar() override;
    std::optional<Ticket> reivindicar() override;
    void impresso(const Ticket& ticket, const QString& impressora) override;
    void falhou(const Ticket& ticket, const QString& erro, bool incerto) override;

private:
    Database& m_db;
    QString m_centralizador, m_instancia;
    int m_expira;
};

} // namespace kvo::impressao
