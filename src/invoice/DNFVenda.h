#pragma once

#include "core/Currency.h"
#include "framework/db/RecordSet.h"
#include "framework/ui/Pesquisa.h"

#include <QString>

#include <functional>
#include <memory>

namespace kvo {

namespace nfe {
class NotaFiscal;
}

// The sales invoice data module (dmNFVenda): the header, its items, service
// lines and correction letters as record sets, every field reaction, the
// defaults of new rows, the tax and total arithmetic and the saving of an
// invoice with its number taken from the series.
//
// It lives in the current kvo::Module and works on the data-access service's
// connection (TdmAcesso::usarConexao or conectarBaseDeDados first); a new
// invoice takes the business date of the cash-register service, so a shop
// that works with openings needs one open (or is asked to open one).
//
// Typical use (screens, the command line, benchmarks):
//   auto& dm = TdmNFVenda::gerarInstance();
//   dm.novaNFVenda();                                    // header in insert, defaults run
//   dm.setValorCampo(dm.cdsNFVenda(), "CODPESSOA", "3"); // as typed: the field's reaction runs
//   dm.novoItem();
//   dm.setValorCampo(dm.cdsNFVendaItem(), "CODPESQUISA", "1001");
//   dm.setValorCampo(dm.cdsNFVendaItem(), "NFVI_QTDE_UND", "3");
//   dm.gravarItem();                                     // posts, then recomputes the header
//   auto gravada = dm.gravarNFVenda();                   // one transaction, number from the series
//   dm.abrirNFVenda(gravada.numero, gravada.serie);
//
// Reactions refuse a value by raising (kvo::Abort after an error dialog, or
// DatabaseError for a text that is not a value of the field's type); the
// refused value never stays in the field. A lookup that finds nothing only
// informs (e.g. "Produto não encontrado!"): a caller that must refuse checks
// afterwards (CODPRODUTO is empty after an unknown CODPESQUISA; the PES_
// columns keep what they held after an unknown CODPESSOA).
class TdmNFVenda {
public:
    static TdmNFVenda& gerarInstance();
    // Creation steps: UltimoTipoPreco "01", the helpers bound to the shared
    // connection, the invoice parameters registered, the unit list bound.
    TdmNFVenda();
    ~TdmNFVenda();
    TdmNFVenda(const TdmNFVenda&) = delete;
    TdmNFVenda& operator=(const TdmNFVenda&) = delete;

    // --- record sets (header, items ordered by key, service lines, letters)
    RecordSet& cdsNFVenda() { return *m_cab; }
    RecordSet& cdsNFVendaItem() { return *m_item; }
    RecordSet& cdsNFVendaServico() { return *m_serv; }
    RecordSet& cdsNFVendaCCE() { return *m_cce; }

    // --- opening and closing
    // Opens the header of number and series, then items, correction letters
    // and service lines of it, in that order. False when there is no such
    // invoice. Opening the header directly (its parameters CODNFVENDA and
    // CODSERIE set) opens the children the same way.
    bool abrirNFVenda(int codnfvenda, const QString& codserie);
    // Closes service lines, items, correction letters and the header.
    void fecharNFVenda();
    // Opens an empty invoice and appends the header: the new-invoice defaults run.
    void novaNFVenda();
    // Puts the open header in edit (an "Aberta" invoice being changed).
    void editarNFVenda();

    // --- typing a value
    // Applies `texto` to the column as a screen would: converted to the
    // field's type ("1.234,50" and "1234.50" alike; empty clears) and
    // written through the field's reaction. Puts the record in edit first.
    void setValorCampo(RecordSet& rs, const QString& coluna, const QString& texto);

    // --- child lines
    void novoItem();      // appends an item: the item defaults run
    void editarItem();    // edits the current item
    void gravarItem();    // posts the item (key from GEN_NFVENDA_ITEM), then the header totals
    void excluirItem();   // deletes the current item, then the header totals
    void novoServico();
    void gravarServico(); // posts the line (key from GEN_NFVENDA_SERVICO), then the header totals
    void excluirServico();
    void novaCCE();       // appends a correction letter with its sequence
    void gravarCCE();     // posts it (key from GEN_NFVENDA_CCE)

    // --- saving
    struct NFVendaGravada {
        int numero = 0;
        QString serie;
        bool numeroAlterado = false; // another number than the one shown was taken
    };
    // Posts what is pending and writes the header, items, service lines and
    // letters in one transaction. A new invoice takes its number from its
    // series under a row lock (SER_SEQ advances); the fiscal seal advances
    // when the invoice has the current one. The user is told when the number
    // differs from the one shown.
    NFVendaGravada gravarNFVenda();
    // Drops every change not yet saved.
    void cancelarNFVenda();
    // Recomputes every item and service line and then the header totals of
    // the open invoice (header put in edit); gravarNFVenda stores them.
    void recalcularNFVenda();

    // --- operations named by the invoice rules
    void ValidaCfop();
    int ProximoSequencialCCE();
    const QString& UltimoTipoPreco() const { return m_ultimoTipoPreco; }
    Currency NFVENDAITEM_TotalItem() const;
    void NFVENDA_CALC_DESC_PERC(bool somenteComPercentual);
    void NFVENDAITEM_CalcularTotal();
    void NFVENDAITEM_CalcularTotal_IPIICMS();
    void CalcularTotalNFVENDASERVICO();
    void NFVENDA_CalcularTotal();

    // --- billing and the search's steps (DNFVendaFaturamento.cpp,
    // DNFVendaPesquisaAcoes.cpp). Each returns true when it changed the
    // invoice; a refusal shows its message (Error ends with kvo::Abort).
    //
    // Billing: stock and payment checks, then NFVENDA_Faturar. Every question
    // and the instalments (escolhaParcelas()) come first; then the referenced
    // documents, the receivables, the stamp and STP_NFVENDA_FATURA are written
    // in one transaction: billed completely or nothing changes.
    bool NFVENDA_Faturar_Pergunta(int numero, const QString& serie, const QString& tipo, bool recarregar);
    bool temProdutoSemEstoque(int numero, const QString& serie, const QString& tipo, bool recarregar);
    bool NFVENDA_Faturar(); // the open invoice
    // The search's steps on an invoice by number and series.
    bool NFVENDA_Cancelar(int numero, const QString& serie);
    bool NFVENDA_Reabrir(int numero, const QString& serie);
    bool NFVENDA_Excluir(int numero, const QString& serie);
    // The NF-e cancellation event that precedes the local cancellation for a
    // company that issues NF-e (raises when it fails); set by the NF-e layer.
    std::function<void(int numero, const QString& serie)> eventoCancelamentoNFe;

    // --- NF-e (DNFVendaNFe.cpp)
    // Appends to the NF-e component's list one document assembled from the
    // open invoice, its items, the company, the customer, the payment method
    // and the receivables, and returns it. `opcaoSimples` -1 takes the
    // Simples Nacional text from configuration; the credit texts serve option
    // 6. Stops (kvo::Abort after the error dialog) on what the authority would
    // refuse; the partly filled document stays in the list for the caller.
    nfe::NotaFiscal& NFE_GerarDados(int opcaoSimples, const QString& valorCredito, const QString& aliqCredito);
    // Access key of the open invoice, 44 digits without "NFe".
    QString GetChaveAcesso();
    // The key's numeric code: NFV_CNF when it fits eight digits and differs
    // from the number, else a stable code derived from number and series.
    static int NFE_CodigoNumerico(qint64 cnf, qint64 numero, const QString& serie);
    // The series number sent in the document ("MULTI.EMPRESA" rule).
    static int NFE_Serie(const QString& codserie);

    // --- NF-e life cycle (DNFVendaCicloNFe.cpp, DNFVendaEmailNFe.cpp)
    // Settings of the NF-e component, the invoice opened, the document list cleared.
    void NFE_Cofigure(int numero, const QString& serie, int pessoa);
    enum class ResultadoNFe { Nada, Autorizada, Recuperada, Impressa, EmailEnviado };
    // Transmits a billed invoice (preview and question unless `automatico`),
    // reprints or mails an authorised one. The signed document is stored
    // before it is sent; an invoice sent whose answer was lost is settled by
    // querying its key before anything is sent again.
    ResultadoNFe NFE_Imprimir(int numero, const QString& serie, int pessoa, bool email, bool automatico = false);
    // Settles an invoice sent whose answer was lost: Recuperada when the
    // authority's protocol was stored; Nada when it was already authorised or
    // the authority never received it (it can be transmitted again).
    ResultadoNFe NFE_Consultar(int numero, const QString& serie);
    // The open invoice sent without an answer: its key queried; true when the
    // protocol was stored. A key unknown to the authority frees the invoice.
    bool NFE_ResolverPendente();

    // --- events (DNFVendaEventos.cpp)
    // The cancellation event of the invoice (asks its justification); stops
    // unless the authority registered it in time, its answer then stored.
    // Installed as eventoCancelamentoNFe.
    void NFE_EventoCancelamento(int numero, const QString& serie);
    // The search's correction letter: a new letter with `texto`, sent, stored
    // and printed. False when a question was answered no.
    bool NFE_CartaCorrecao(int numero, const QString& serie, const QString& texto);
    // The letter being edited: its checks, the question, the event, the stored answer.
    bool NFE_EnviarCartaCorrecao();

    // --- number voiding (InutilizacaoNFe.cpp), each range logged
    // Returns the authority's answer ("102 - motivo - Protocolo n").
    QString NFE_Inutilizar(int ano, int modelo, int serie, int inicial, int final, const QString& justificativa);
    // The range asked in dialogs; false when one is closed.
    bool NFE_InutilizarFaixa();
    // The ranges of a CSV file ("inicial;final;serie;modelo", a header line
    // first); stops at a refused range, the earlier ones kept. Returns how many.
    int NFE_InutilizarCSV(const QString& arquivo);

    // --- read-only helpers
    // Live instalments (not written off by a reopening) of the open invoice (CON_NUMDOC, CON_PARCELA, CON_VLRPARCELA,
    // CON_VLRTOTAL, CON_DTVENC).
    std::unique_ptr<RecordSet> parcelas();
    // Live receivables of the open invoice summed by payment mean (MOE_NFE_PAG,
    // MOE_NFE_BAND, MOE_NFE_INTEGRADO) and instalment value: VALOR.
    std::unique_ptr<RecordSet> meiosDePagamento();
    // The unit list of the item screen: the units of the current item's
    // product (CODPRODUTOUNIDADE, PROU_SIGLA, QTDE) or the unit of its service.
    RecordSet& unidades() { return *m_unidades; }
    // Finished fiscal-printer orders ("Pesquisa de Pedido ECF"), newest first.
    TwbtPesquisa& pesquisaPedidoECF() { return *m_pesqPedidoECF; }
    // Invoices ("Pesquisa de Nota Fiscal"), keyed on CODNFVENDA.
    TwbtPesquisa& pesquisaNFVenda() { return *m_pesqNFVenda; }

private:
    ResultadoNFe reimprimirNFe(bool email, bool pedirSenha);
    ResultadoNFe transmitirNFe(bool automatico);
    ResultadoNFe recuperarDuplicada(nfe::NotaFiscal& nota);
    void guardarProtocoloConsultado(int numero, const QString& serie, nfe::NotaFiscal& nota);
    void descartarPendente(int numero, const QString& serie);
    void enviarEmailNFe(nfe::NotaFiscal& nota, bool cancelada);
    void criarCabecalho();
    void criarItens();
    void criarServicos();
    void criarCCE();
    void abrirFilhos(const QVariant& numero, const QString& serie);
    void ligarFilhosAoCabecalho();
    void cdsNFVendaNewRecord();
    void cdsNFVendaItemNewRecord();
    void cdsNFVendaServicoNewRecord();
    void cdsNFVendaCCENewRecord();
    void cdsNFVendaCalcFields(RecordSet& rs);
    void ligarCabecalho();
    void ligarItem();
    void trocarSerie(Field& f);
    void localizarProduto(Field& f);
    void reabrirUnidadesProduto(qint64 codproduto);
    void apontarUnidades();
    bool quantidadeConversao(Currency& q);
    void calcularQtdeBase();
    void calcularPrecoBase();
    void NFVendaItem_CalculaUnidade();
    void precoDoTipo();
    void calcularBaseICMS();
    void renumerarFilhos(int numero, const QString& serie);
    bool cabecalhoEditando() const;

    std::unique_ptr<RecordSet> m_cab, m_item, m_serv, m_cce;
    std::unique_ptr<RecordSet> m_unidadesProduto, m_unidadeServico;
    RecordSet* m_unidades = nullptr;
    std::unique_ptr<TwbtPesquisa> m_pesqPedidoECF, m_pesqNFVenda;
    QString m_ultimoTipoPreco;
    int m_recalculando = 0;
    bool m_cabecalhoAberto = false;
};

} // namespace kvo
