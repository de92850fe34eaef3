#pragma once

#include "framework/ui/Pesquisa.h"

#include <memory>

namespace kvo {

// CFOP register (dmCfop). Keyed on CODCFOP: CFOP_DESCRICAO,
// CFOP_GERAFINANCEIRO, CFOP_CLASSIFICACAO, CFOP_TIPO and, again, the type
// (an invoice takes its own type from it).
class TdmCfop {
public:
    static TdmCfop& gerarInstance();
    TdmCfop();
    explicit TdmCfop(Database& db);
    TwbtPesquisa& pesquisa() { return m_pesquisa; }

private:
    TwbtPesquisa m_pesquisa;
};

// Series (dmSerie): the row of a series with its NF-e series number.
class TdmSerie {
public:
    static TdmSerie& gerarInstance();
    TdmSerie();
    explicit TdmSerie(Database& db);
    RecordSet& abrir(const QString& codserie);
    RecordSet& registro() { return *m_registro; }
    // The series number sent in the NF-e (may be blank).
    QString serieNFe(const QString& codserie);
    bool ehNFe(const QString& codserie);

private:
    Database& m_db;
    std::unique_ptr<RecordSet> m_registro;
};

// Sellers (dmVendedor). Keyed on CODVENDEDOR: VEN_NOME.
class TdmVendedor {
public:
    static TdmVendedor& gerarInstance();
    TdmVendedor();
    explicit TdmVendedor(Database& db);
    TwbtPesquisa& pesquisa() { return m_pesquisa; }

private:
    TwbtPesquisa m_pesquisa;
};

// Banks and cash accounts (dmBanco). Keyed on CODBANCO: BAN_DESCRICAO.
class TdmBanco {
public:
    static TdmBanco& gerarInstance();
    TdmBanco();
    explicit TdmBanco(Database& db);
    TwbtPesquisa& pesquisa() { return m_pesquisa; }

private:
    TwbtPesquisa m_pesquisa;
};

// General invoice parameters (dmParametro): the current fiscal seal, the
// default series and CFOP, and the print layout of the invoice form.
class TdmParametro {
public:
    static TdmParametro& gerarInstance();
    TdmParametro();
    explicit TdmParametro(Database& db);

    QString seloFiscalAtual();
    // Moves the seal on by one (empty becomes "1") when it still is `atual`:
    // two terminals printing at once do not skip or repeat a seal.
    bool avancarSeloFiscal(const QString& atual);
    QString seriePadrao();
    QString cfopPadrao();
    // The layout rows; locate with {"PARNI_TABELA", "PARNI_CAMPO"}.
    RecordSet& layoutImpressao();

private:
    Database& m_db;
    std::unique_ptr<RecordSet> m_layout;
};

} // namespace kvo
