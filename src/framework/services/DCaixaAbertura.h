#pragma once

#include "core/Currency.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace kvo {

class Database;

struct CaixaAberto {
    int codigo = 0;
    QDate data;
    Currency valorInicial;
    QString usuario;
};

// Cash-register openings (dmCaixaAbertura). The business date that stamps
// documents and movements is the date of the open cash register; a shop that
// does not work with openings uses the calendar date.
class TdmCaixaAbertura {
public:
    static TdmCaixaAbertura& gerarInstance();
    TdmCaixaAbertura();
    explicit TdmCaixaAbertura(Database& db, bool trabalhaAbertura = true);

    // Shown by the screen layer: lets the user open the cash register now;
    // returns true when it was opened.
    std::function<bool()> abrirInterativo;

    // Business date. With none open: asks to open one when `perguntar`, else
    // (or when the user declines) stops the operation with an error.
    QDate getDataAbertura(bool perguntar);
    // Code of the open cash-register opening (> 0), or 0 when none is open
    // and the user did not open one.
    int verificarCaixaAberto(bool perguntar);

    std::optional<CaixaAberto> caixaAberto();
    // Opens one (refused while another is open); returns its code.
    int abrir(const QDate& data, Currency valorInicial, const QString& usuario);
    // Closes the open one with the counted amount.
    void fechar(Currency valorFechamento);

private:
    bool offerToOpen(bool perguntar);

    Database& m_db;
    bool m_trabalhaAbertura;
};

} // namespace kvo
