#include "invoice/PortasNFe.h"

#include <QProcess>

#include <stdexcept>

namespace kvo {

namespace {

class EscolhaPadrao : public EscolhaObservacaoSimples {
public:
    std::optional<ObservacaoSimples> escolher(int preSelecionada) override {
        return ObservacaoSimples{preSelecionada, {}, {}};
    }
};

class IniciadorDestacado : public IniciadorProcessos {
public:
    void iniciar(const QString& programa, const QStringList& argumentos) override {
        if (!QProcess::startDetached(programa, argumentos))
            throw std::runtime_error(QStringLiteral("Não foi possível iniciar %1").arg(programa).toStdString());
    }
};

EscolhaObservacaoSimples* escolhaAtual = nullptr;
IniciadorProcessos* iniciadorAtual = nullptr;

} // namespace

void setEscolhaObservacaoSimples(EscolhaObservacaoSimples* escolha) { escolhaAtual = escolha; }

EscolhaObservacaoSimples& escolhaObservacaoSimples() {
    static EscolhaPadrao padrao;
    return escolhaAtual ? *escolhaAtual : padrao;
}

void setIniciadorProcessos(IniciadorProcessos* iniciador) { iniciadorAtual = iniciador; }

IniciadorProcessos& iniciadorProcessos() {
    static IniciadorDestacado padrao;
    return iniciadorAtual ? *iniciadorAtual : padrao;
}

} // namespace kvo
