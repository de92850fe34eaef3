#pragma once

#include <QString>

#include <array>
#include <optional>

namespace kvo {

// The production stations a ticket goes to. Their families of operations
// differ only in the names, keys and files below.
enum class Estacao { Cozinha, Bar, Pizzaria, Churrasqueira };

constexpr std::array<Estacao, 4> todasEstacoes{Estacao::Cozinha, Estacao::Bar, Estacao::Pizzaria,
                                               Estacao::Churrasqueira};

struct EstacaoInfo {
    const char* nome;             // centraliser name: "COZINHA", "BAR", "PIZZARIA", "CHURRASQUEIRA"
    const char* flagProduto;      // routing flag of the item row: "PRO_IMP_COZINHA" ...
    const char* chaveLayoutNovo;  // "REST.DAR.COZ" ...
    const char* chaveNome;        // "REST.IMP.OP1" ...
    const char* chavePasta;       // manager folder: "REST.PST.COZ" ...
    const char* arquivoFinal;     // end-of-ticket footer: "finalcozinha.txt" ...
    const char* arquivoFinalItem; // per-item footer: "finalitemcozinha.txt" ...
};

const EstacaoInfo& estacaoInfo(Estacao estacao);
// By centraliser name, any case ("cozinha", "BAR"); none for another text.
std::optional<Estacao> estacaoPorNome(const QString& nome);

} // namespace kvo
