#pragma once

#include <QVector>

namespace kvo {

// One configuration key as it is registered: group, key, type, default and
// description, in the order verificaConfiguracao takes them.
struct ChaveConfiguracao {
    const char* grupo;
    const char* chave;
    const char* tipo;
    const char* padrao;
    const char* descricao;
};

// Every key the program registers at start-up and before a `kvo config`
// command, so that a database no screen ever opened knows them all. The
// host's own keys are those the screens read but no data module registers,
// with the default that the reading screen takes for an unset key. A module
// that registers keys of its own adds its table here as well.
const QVector<ChaveConfiguracao>& chavesRegistradas();
// The sales-invoice keys (groups "NF VENDA" and "NF VENDA - VALOR PADRÃO"),
// part of chavesRegistradas(); the invoice data module registers them too.
const QVector<ChaveConfiguracao>& chavesNFVenda();

// The restaurant keys of the order module (TdmResPedido), in their groups
// "Restaurante" and "Restaurante - Impressão".
const QVector<ChaveConfiguracao>& chavesRestaurante();

// The production-ticket module's own keys (group "Restaurante - Impressão").
const QVector<ChaveConfiguracao>& chavesImpressaoRestaurante();

} // namespace kvo
