#pragma once

#include "registers/DContas.h"

#include <optional>

namespace kvo {

// How the instalments of a document are chosen before they are written: the
// closing screen in the program, a scripted double in tests, the command's
// options. Choosing writes nothing, so a caller can ask first and then write
// them inside its own transaction, with no dialog open while it holds locks.
class EscolhaParcelas {
public:
    virtual ~EscolhaParcelas() = default;
    // The instalments of `total` for the document, or nullopt when the user
    // gives up.
    virtual std::optional<QVector<Parcela>> escolherParcelas(const DocumentoContas& doc, Currency total) = 0;
};

// Takes the payment method's terms (or those given) without asking.
class EscolhaParcelasPadrao : public EscolhaParcelas {
public:
    EscolhaParcelasPadrao() = default;
    explicit EscolhaParcelasPadrao(std::optional<CondicaoPagamento> condicao) : m_condicao(condicao) {}
    std::optional<QVector<Parcela>> escolherParcelas(const DocumentoContas& doc, Currency total) override;

private:
    std::optional<CondicaoPagamento> m_condicao;
};

// Installs the chooser (not owned); nullptr goes back to the payment method's terms.
void setEscolhaParcelas(EscolhaParcelas* escolha);
EscolhaParcelas& escolhaParcelas();

} // namespace kvo
