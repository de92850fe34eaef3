#include "restaurant/extrato/PortasExtrato.h"

namespace kvo {

namespace {

class PreviewDireto : public PreviewExtrato {
public:
    ResultadoPreview mostrar(const QString&, const QStringList& linhas, bool,
                             const std::function<void(const QStringList&)>& imprimir) override {
        imprimir(linhas);
        return {true, false};
    }
};

class EscolhaMantida : public EscolhaExtrato {
public:
    bool escolher(ValoresEscolha&, bool) override { return true; }
};

PreviewExtrato* g_preview = nullptr;
EscolhaExtrato* g_escolha = nullptr;

} // namespace

void setPreviewExtrato(PreviewExtrato* preview) { g_preview = preview; }
PreviewExtrato& previewExtrato() {
    static PreviewDireto padrao;
    return g_preview ? *g_preview : padrao;
}
void setEscolhaExtrato(EscolhaExtrato* escolha) { g_escolha = escolha; }
EscolhaExtrato& escolhaExtrato() {
    static EscolhaMantida padrao;
    return g_escolha ? *g_escolha : padrao;
}

} // namespace kvo
