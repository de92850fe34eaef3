#pragma once

// The NF-e assembly of an invoice (TdmNFVenda::NFE_GerarDados); not part of
// the data module's API.
#include "core/Currency.h"
#include "framework/services/DAcesso.h"
#include "nfe/NFeModel.h"
#include "registers/DFormaDePagamento.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>

namespace kvo {
class RecordSet;
class TdmNFVenda;
}

namespace kvo::nfvenda {

// Parts of `total` in proportion to `pesos`, each rounded to the cent; they
// add up to `total` exactly and none is negative: the last line with a
// positive weight closes the difference, and an excess it cannot take is
// taken from the lines before it.
QVector<Currency> ratear(Currency total, const QVector<Currency>& pesos);

// The standard payment-means code: the current table is kept, others give "01".
QString codigoMeioPagamento(const QString& codigo);

// A GTIN (8, 12, 13 or 14 digits with a right check digit), else "SEM GTIN".
QString gtinOuSemGtin(const QString& codigo);

// "ISENTO" (any case) gives 2, an empty IE 9, any other 1.
int indicadorIE(const QString& ie);

// The text of the Simples Nacional option with its credit sentence.
QString textoSimples(int opcao, const QString& valorCredito, const QString& aliqCredito);

class MontagemNFe {
public:
    MontagemNFe(TdmNFVenda& dm, nfe::NFe& doc, int opcaoSimples, const QString& valorCredito,
                const QString& aliqCredito);
    void montar();

    // One line of the document before apportioning (an item or a component).
    struct Linha {
        int indiceDet = 0;
        Currency peso;      // share basis of the header amounts
        Currency descItem;  // the item's own discount, rounded
    };

private:
    void ide();
    void referencias();
    void emitente();
    void destinatario();
    void responsavelTecnico();
    void cobranca();
    void pagamento();
    void itens();
    void item(RecordSet& i);
    void composicao(RecordSet& i, qint64 codproduto);
    void impostos(RecordSet& i, nfe::Det& d, const QString& descricao);
    void icmsCst(nfe::ICMS& icms, const QString& cst, const QString& descricao);
    void partilhaEFcp(RecordSet& i, nfe::Det& d, bool componente);
    void ratearCabecalho();
    void totais();
    void transporte();
    void informacoesAdicionais();
    void carregarProdutos();
    int origemProduto(qint64 codproduto);
    int componentes(qint64 codproduto);
    Currency aliquotaNcm(qint64 codproduto);
    const CondicaoPagamento& condicaoPagamento();
    bool pagamentoAVista();
    QString cfg(const char* chave);
    bool flag(const char* chave) { return cfg(chave) == QLatin1String("S"); }

    TdmNFVenda& m_dm;
    RecordSet& m_cab;
    nfe::NFe& m_doc;
    const Empresa& m_empresa;
    int m_opcaoArgumento;
    QString m_valorCredito, m_aliqCredito;
    bool m_simples = false;
    bool m_interestadual = false;
    bool m_estrangeiro = false;
    QString m_ufCliente;
    QVector<Linha> m_linhas;
    // Read once per document: the keys and, per product, origin, composition and tax rate.
    QHash<QString, QString> m_cfg;
    QHash<qint64, int> m_origens, m_componentes;
    QHash<qint64, Currency> m_aliqNcm;
    std::optional<CondicaoPagamento> m_condicao; // the payment method's terms, read once
    Currency m_somaDescontosItens, m_somaTributos;
};

} // namespace kvo::nfvenda
