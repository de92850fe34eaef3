#pragma once

#include "restaurant/extrato/LayoutExtrato.h"
#include "restaurant/extrato/PortasExtrato.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace kvo {

class Database;
class RecordSet;
class TdmConfiguracao;
class TdmResPedidoImpressao;

// The bill ("extrato") of a restaurant table or a sale order, and the receipt
// of a paid instalment (relExtrato): 40-column text (or the Daruma layout)
// shown in the print preview and printed on the bill target of the
// restaurant parameters. A restaurant bill saves the chosen discount,
// persons, covers and service on the order, with its closing time, and the
// first printed bill marks the order printed.
class TrelExtrato {
public:
    // On the module's connection, configuration and ticket module.
    TrelExtrato();
    TrelExtrato(Database& db, TdmConfiguracao& cfg, TdmResPedidoImpressao& impressao);

    // --- what the caller of the bill decides (the restaurant screens)
    // Show the choices dialog when the user asks to change the choices
    // (otherwise the service is toggled).
    void setMostrarEscolha(bool mostrar) { m_mostrarEscolha = mostrar; }
    // The service is to be removed (a supervisor authorises it).
    void setRemoverServico(bool remover) { m_removerServico = remover; }
    // The shop's standard service (PARR_VLR_SERVICO unless set).
    void setServicoPadrao(Currency servico) { m_servicoPadrao = servico; }
    // Step 14 writes the settings and the printed mark on the order (off:
    // the bill changes nothing, as the support command builds it).
    void setGravarPedido(bool gravar) { m_gravarPedido = gravar; }

    // The bill of a restaurant table (0: ask for it).
    void extrato(int mesa, bool cancelado);
    // The bill of a sale order, as a delivery or a counter order.
    void extratoPedido(int pedido, bool entrega, bool balcao, int numeroBalcao);
    // Build and show one bill; false when the user asked to change the choices.
    bool extrato2(bool escolha, RecordSet& cabecalho, RecordSet* pagamentos, RecordSet& linhas, bool entrega,
                  bool balcao, int numeroBalcao, bool cancelado, bool reservado = false);
    bool extratoDarumaDR700(bool escolha, RecordSet& cabecalho, RecordSet* pagamentos, RecordSet& linhas,
                            bool entrega, bool balcao, int numeroBalcao, bool cancelado, bool reservado = false);

    // The choices dialog over the settings, or the service toggle.
    void chamaEscolha();
    // The OK of the choices dialog: a discount needs the discount password.
    static void validarEscolha(Currency desconto);
    // The last password typed in the choices dialog.
    static QString senha();

    // The receipt of a paid instalment (CONTAS_BAIXAS.CODCONTABAIXA).
    void reciboContaBaixa(int codContaBaixa);
    QStringList textoRecibo(int codContaBaixa);

    AjustesExtrato& ajustes() { return m_ajustes; }
    // The text of the last bill or receipt shown.
    const QStringList& ultimasLinhas() const { return m_linhas; }

private:
    bool montar(bool daruma, bool escolha, RecordSet& cabecalho, RecordSet* pagamentos, RecordSet& linhas,
                bool entrega, bool balcao, int numeroBalcao, bool cancelado);
    bool layoutDaruma();
    std::unique_ptr<RecordSet> linhasMesa(qint64 pedido);
    std::unique_ptr<RecordSet> cabecalhoMesa(qint64 pedido);
    std::unique_ptr<RecordSet> pagamentosMesa(qint64 pedido);
    void lerEmpresa(DadosExtrato& d);
    void lerCliente(DadosExtrato& d, const RecordSet& linhas);
    ResultadoPreview mostrar(const QStringList& linhas, bool permiteAlterar);
    bool ligado(const char* chave);

    Database& m_db;
    TdmConfiguracao& m_cfg;
    TdmResPedidoImpressao& m_impressao;
    AjustesExtrato m_ajustes;
    bool m_mostrarEscolha = true, m_removerServico = false, m_gravarPedido = true;
    Currency m_servicoPadrao;
    QStringList m_linhas;
};

} // namespace kvo
