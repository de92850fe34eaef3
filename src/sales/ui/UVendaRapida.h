#pragma once

#include "framework/services/DAcesso.h"
#include "framework/ui/URepPadrao.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace kvo {

class FiscalPrinter;
class TdmVendaRapida;

// The quick sale ("Venda Rápida"): closing a restaurant table (mode 0,
// "Fechamento de Mesa") or a counter sale (mode -1) on the fiscal coupon.
// Keys: Enter in "Mesa" loads the table, F4 prints its bill; in the product code (F3 searches)
// and quantity, Enter adds the item; F5..F8 choose the first four currency
// types (or the list / touch buttons), Enter in the value adds the payment;
// Del removes the selected payment; F10 finishes; Esc gives up (asking when
// payments were typed).
class TfrmVendaRapida : public TrepPadraoGeral {
    Q_OBJECT
public:
    // The integers as the data access held them when the screen was asked for.
    explicit TfrmVendaRapida(const ParametrosVendaRapida& parametros, QWidget* parent = nullptr);
    ~TfrmVendaRapida() override;

    // Shows the screen with the integers stored in the data access now.
    static TfrmVendaRapida* abrir();
    // The fiscal printer the screen closes on (tests; null: the caller's or
    // the terminal's).
    static void usarECF(FiscalPrinter* ecf);

    TdmVendaRapida& dados() { return *m_dm; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void montar();
    void carregarMesa();
    void imprimirConta();
    void pesquisarProduto();
    void adicionarItem();
    void escolherMoeda(int indice);
    void adicionarPagamento();
    void removerPagamento();
    void finalizar();
    void atualizar();
    FiscalPrinter* impressora() const;

    ParametrosVendaRapida m_parametros;
    std::unique_ptr<TdmVendaRapida> m_dm;
    QLineEdit *m_mesa = nullptr, *m_produto = nullptr, *m_quantidade = nullptr, *m_valor = nullptr;
    QComboBox* m_moeda = nullptr;
    QTableWidget *m_itens = nullptr, *m_pagamentos = nullptr;
    QLabel *m_titulo = nullptr, *m_consumo = nullptr, *m_servico = nullptr, *m_couvert = nullptr,
           *m_desconto = nullptr, *m_jaPago = nullptr, *m_total = nullptr, *m_falta = nullptr, *m_troco = nullptr;
};

} // namespace kvo
