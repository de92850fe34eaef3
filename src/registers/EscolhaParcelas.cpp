#include "registers/EscolhaParcelas.h"

namespace kvo {

namespace {
EscolhaParcelas*& instalada() {
    static EscolhaParcelas* e = nullptr;
    return e;
}
} // namespace

std::optional<QVector<Parcela>> EscolhaParcelasPadrao::escolherParcelas(const DocumentoContas& doc,
                                                                        Currency total) {
    const CondicaoPagamento condicao =
        m_condicao ? *m_condicao : TdmFormaDePagamento::gerarInstance().condicao(doc.codformapagamento);
    return TdmFormaDePagamento::gerarParcelas(total, doc.emissao, condicao);
}

void setEscolhaParcelas(EscolhaParcelas* escolha) {
    instalada() = escolha;
}

EscolhaParcelas& escolhaParcelas() {
    static EscolhaParcelasPadrao padrao;
    return instalada() ? *instalada() : padrao;
}

} // namespace kvo
