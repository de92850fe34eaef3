#pragma once

#include "framework/ui/URepPadrao.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;

namespace kvo {

// Base of the search screens (TrepPadraoPesquisa): a search box, the column to
// search in, "list all", the grid, and view / change / add / delete / print /
// close. Searches run the base select with a bound condition.
class TrepPadraoPesquisa : public TrepPadraoGeral {
    Q_OBJECT
public:
    enum class Modo { Incluir, Alterar, Visualizar };

    // `selectBase` is "select ... from ..." without where or order: the
    // search adds its own condition.
    TrepPadraoPesquisa(Database& db, const QString& selectBase, QWidget* parent = nullptr);
    ~TrepPadraoPesquisa() override;

    // A column the user may search in ("Nome" -> "SEGU_NOME"); the first is the default.
    void adicionarTipoPesquisa(const QString& rotulo, const QString& campo);
    void setOrdem(const QString& orderBy) { m_ordem = orderBy; }
    // A condition every search keeps (written by the program; values bound
    // through `params`), ANDed with what is typed. Takes effect at the next search.
    void setFiltro(const QString& condicao, const SqlParams& params = {}) {
        m_filtro = condicao;
        m_filtroParams = params;
    }
    // Re-runs the search with what is typed (or everything when "list all").
    void CarregaDadosCadastro();
    // Ends the operation when no row is selected.
    void NenhumRegistro();

    RecordSet& registros() const { return *m_rs; }
    RecordSetModel& modelo() const { return *m_model; }
    QLineEdit* edtPesquisa() const { return m_pesquisa; }

protected:
    // Opens the record screen in the mode; returns true when something changed.
    virtual bool abrirCadastro(Modo modo) = 0;
    virtual void excluirRegistro() = 0;
    virtual void imprimir() {}
    void btnExcluirClick();

private:
    void sincronizarLinha();

    Database& m_db;
    QString m_select;
    QString m_ordem;
    QString m_filtro;
    SqlParams m_filtroParams;
    std::unique_ptr<RecordSet> m_rs;
    RecordSetModel* m_model = nullptr;
    QLineEdit* m_pesquisa;
    QComboBox* m_tipo;
    QCheckBox* m_todos;
    QTableView* m_grade;
    QStringList m_campos;
};

// A record screen with child rows (TrepPadraoCadastroDetalhe): the master's
// fields, a grid of children and add / change / view / delete for them.
class TrepPadraoCadastroDetalhe : public TrepPadraoCadastro {
    Q_OBJECT
public:
    TrepPadraoCadastroDetalhe(RecordSet& mestre, RecordSet& filhos, QWidget* parent = nullptr);

    // Ends the operation when no child row is selected.
    void NenhumRegistro_Filho();
    RecordSet& filhos() const { return m_filhos; }
    RecordSetModel& modeloFilhos() const { return *m_modeloFilhos; }

protected:
    // Opens the child screen in the mode (the child row is current, or in insert).
    virtual void ChamaFrmFilho(TrepPadraoPesquisa::Modo modo) = 0;
    // Master and children in one transaction.
    void gravar() override;

private:
    RecordSet& m_filhos;
    RecordSetModel* m_modeloFilhos;
    QTableView* m_grade;
};

} // namespace kvo
