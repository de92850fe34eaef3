#pragma once

#include "framework/db/RecordSet.h"

#include <QList>
#include <QObject>

#include <memory>

class QTabWidget;
class QWidget;

namespace kvo {

// The "Unidades", "Composição" and "Personalização" tabs of the product
// register: the units the product is sold in, with their conversions, the
// products it is made of, and the option groups it is sold with. Edited in
// memory; written with the product.
class TProdutoEstrutura : public QObject {
    Q_OBJECT
public:
    TProdutoEstrutura(int codproduto, QTabWidget* abas);
    ~TProdutoEstrutura() override;

    RecordSet& unidades() const { return *m_unidades; }
    RecordSet& composicao() const { return *m_composicao; }
    RecordSet& personalizacao() const { return *m_personalizacao; }

    // Viewing: the rows can be seen, not changed.
    void setSomenteLeitura(bool somenteLeitura);

    void validar();
    // Inside the caller's transaction.
    void gravar();

    // Asks for a component by its search code and its quantity.
    void incluirComponente();

private:
    int m_codproduto;
    std::unique_ptr<RecordSet> m_unidades, m_composicao, m_personalizacao;
    QList<QWidget*> m_botoes;
};

} // namespace kvo
