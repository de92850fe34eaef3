#pragma once

#include "registers/ui/CadastroComum.h"

#include <functional>

namespace kvo {

namespace cadastro {

// One input of a small register.
struct CampoSimples {
    enum class Tipo { Texto, Inteiro, Cor, Marcador, Lista, Tabela };
    QString nome;
    QString rotulo;
    Tipo tipo = Tipo::Texto;
    // Refused blank with "Informe <mensagem>." when set.
    QString obrigatorio = {};
    Opcoes opcoes = {};                  // Lista
    QString tabela = {}, chave = {}, mostrar = {}; // Tabela
    QVariant padrao = {};                // value of a new row
    std::function<void(Field&)> validar = {}; // refuses a typed value with Error(...)
};

// A register of a few columns (groups, brands, currency types...): what its
// record and search screens show and check.
struct CadastroSimples {
    QString tela;           // object name of the record screen; the search adds "_Pesq"
    QString titulo;         // caption of the record screen
    QString tituloPesquisa; // caption of the search screen
    QString tabela, chave, gerador;
    QList<CampoSimples> campos;
    // A column no two rows may repeat, and the message when one does ("%1" = value).
    QString unico = {}, mensagemUnico = {};
    // "select ... from ..." of the search, its columns (name, title) and search choices.
    QString selectPesquisa = {};
    Opcoes colunas = {};
    Opcoes tiposPesquisa = {}; // title, column
    QString ordem = {};
};

} // namespace cadastro

class TfrmCadastroSimples : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TfrmCadastroSimples(const cadastro::CadastroSimples& cadastro, RecordSet& registro, QWidget* parent = nullptr);

protected:
    void ValidaDados() override;

private:
    const cadastro::CadastroSimples& m_cadastro;
};

class TfrmCadastroSimples_Pesq : public TrepPadraoPesquisa {
    Q_OBJECT
public:
    // `cadastro` must outlive the screen (the registers are static tables).
    explicit TfrmCadastroSimples_Pesq(const cadastro::CadastroSimples& cadastro, QWidget* parent = nullptr);

protected:
    bool abrirCadastro(Modo modo) override;
    void excluirRegistro() override;

private:
    const cadastro::CadastroSimples& m_cadastro;
};

} // namespace kvo
