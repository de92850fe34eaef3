#pragma once

#include "framework/ui/Pesquisa.h"

#include <QDateTime>

#include <memory>

namespace kvo {

// The person register (dmPessoa): customer and carrier searches, the record
// of one person, and whether a person is an ICMS taxpayer.
class TdmPessoa {
public:
    static TdmPessoa& gerarInstance();
    TdmPessoa();
    explicit TdmPessoa(Database& db);

    // Keyed on CODPESSOA; columns in the order invoices copy them:
    // PES_NOME, PES_CPFCNPJ, PES_CONTATOS, PES_RAZAO_SOCIAL, PES_ENDERECO,
    // PES_BAIRRO, PES_CIDADE, PES_UF, PES_CEP, PES_TELEFONE, PES_IE,
    // PES_NOME_2, PES_EMAIL, PES_EMAIL_NFE.
    TwbtPesquisa& pesquisa() { return m_pesquisa; }
    // Carriers: TRA_RAZAO_SOCIAL, TRA_NOME, TRA_CPFCNPJ, TRA_ENDERECO,
    // TRA_BAIRRO, TRA_CIDADE, TRA_UF, TRA_IE.
    TwbtPesquisa& pesquisaTransportadora() { return m_transportadora; }

    // Reopens the person record on the code (an empty set when unknown).
    RecordSet& abrir(int codpessoa);
    RecordSet& registro() { return *m_registro; }
    // True for an ICMS taxpayer (registered with an IE, not exempt).
    bool PessoaContribuinte(int codpessoa);
    // Cancels a customer's sale order (e.g. origin "Delivery"); with
    // `estornarEstoque` "S" its items go back to stock. An order already
    // taken into a fiscal coupon, or already cancelled, is refused.
    void cancelarPedido(int codpedvenda, const QString& origem, const QDateTime& lancamento,
                        const QString& estornarEstoque);

private:
    Database& m_db;
    TwbtPesquisa m_pesquisa;
    TwbtPesquisa m_transportadora;
    std::unique_ptr<RecordSet> m_registro;
};

} // namespace kvo
