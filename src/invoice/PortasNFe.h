#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the NF-e life cycle asks of its surroundings besides dialogs: the
// Simples text form before assembly, and starting other programs (the mailer,
// the desktop's mail client). The program installs its own; tests and the
// command line install theirs.
namespace kvo {

// The additional observation of a Simples Nacional issuer (1 to 7, 0 none)
// with the texts of its value and rate boxes.
struct ObservacaoSimples {
    int opcao = 0;
    QString valor;
    QString aliquota;
};

class EscolhaObservacaoSimples {
public:
    virtual ~EscolhaObservacaoSimples() = default;
    // `preSelecionada` is the configured option ("1", "2" or "3"); nullopt
    // when the user closes the form without choosing.
    virtual std::optional<ObservacaoSimples> escolher(int preSelecionada) = 0;
};

// Installs the chooser (not owned); nullptr goes back to the default, which
// takes the preselected option with empty value and rate, as OK at once would.
void setEscolhaObservacaoSimples(EscolhaObservacaoSimples* escolha);
EscolhaObservacaoSimples& escolhaObservacaoSimples();

class IniciadorProcessos {
public:
    virtual ~IniciadorProcessos() = default;
    // Starts the program without waiting for it; throws std::runtime_error
    // (with the program's path) when it cannot be started.
    virtual void iniciar(const QString& programa, const QStringList& argumentos) = 0;
};

// Installs the starter (not owned); nullptr goes back to a detached process.
void setIniciadorProcessos(IniciadorProcessos* iniciador);
IniciadorProcessos& iniciadorProcessos();

} // namespace kvo
