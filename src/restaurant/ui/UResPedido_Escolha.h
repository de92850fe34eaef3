#pragma once

#include "framework/ui/URepPadrao.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QWidget;

namespace kvo {

class TdmResPedido;

// "Escolha": the table (and, with REST.GARCON, the waiter and his password)
// for one of the order actions named by the mode: "" posting, "Extrato",
// "TransItem", "FechaParcial", "CancelamentoTotal", "CobrarEntrada".
class TfrmResPedido_Escolha : public TrepPadraoGeral {
    Q_OBJECT
public:
    TfrmResPedido_Escolha(TdmResPedido& dm, const QString& modo, QWidget* parent = nullptr);

    // Creates the screen with the mode and the table pre-filled (0: none),
    // shows it and frees it; the table confirmed, 0 when the user gave up.
    static int chamaTela(const QString& modo, int mesa);

    void setMesa(int mesa);
    int mesaConfirmada() const { return m_confirmada; }
    const QString& modo() const { return m_modo; }

    void btnOkClick();
    void btnPesquisarClick();
    void alterarAcrescimo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* montarPessoa();
    // The checks made when a field is left; false keeps the user there.
    bool sairDoCampo(QObject* campo);
    int mesaDigitada();
    int garconDigitado();
    void abrirPedido(int mesa, int garcon);
    void cobrarEntrada(int mesa);
    void limparPessoa();

    TdmResPedido& m_dm;
    QString m_modo;
    bool m_usaGarcon = false;
    int m_confirmada = 0;
    QWidget* m_pnlGarcon;
    QLineEdit* m_garcon;
    QLineEdit* m_senha;
    QLineEdit* m_mesa;
    QWidget* m_pnlPessoa = nullptr;
    QLineEdit* m_ddd = nullptr;
    QLineEdit* m_celular = nullptr;
    QLineEdit* m_nome = nullptr;
    QLineEdit* m_rg = nullptr;
    QComboBox* m_sexo = nullptr;
    QDateEdit* m_nascimento = nullptr;
    QLineEdit* m_codPessoa = nullptr;
};

} // namespace kvo
