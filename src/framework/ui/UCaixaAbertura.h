#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QLabel;
class QPushButton;

namespace kvo {

// Opening and closing the cash register: with none open, a business date
// and an initial amount open one; with one open, the counted amount closes it.
class TfrmCaixaAbertura : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCaixaAbertura(QWidget* parent = nullptr);
    // True when a cash register was opened here.
    static bool chamarTela();

    void btnAbrirClick();
    void btnFecharClick();
    bool abriu() const { return m_abriu; }

private:
    void atualizar();

    QLabel* m_situacao;
    QDateEdit* m_data;
    QLineEdit* m_valor;
    QPushButton* m_abrir;
    QPushButton* m_fechar;
    bool m_abriu = false;
};

} // namespace kvo
