#pragma once

#include "framework/ui/URepPadrao.h"
#include "registers/ui/CadastroComum.h"

#include <QList>
#include <QPair>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <QString>

#include <functional>

class QGridLayout;

namespace kvo {

class TwbtPesquisa;

namespace nfvenda::ui {

using cadastro::Opcoes;

// The NF-e layout's code tables offered by the item screen, each entry
// "code - description" with the stored code as its data.
const Opcoes& opcoesCstIcms();
const Opcoes& opcoesCsosn();
const Opcoes& opcoesModBC();
const Opcoes& opcoesCstIpi();
const Opcoes& opcoesCstPisCofins();

// A code box bound to `campo` with its search: F3 or F8 in the box, or the
// button beside it, opens the search and the chosen key goes through the
// field's reaction; then `depois` runs. Named "edt" + field and "btnPesq" + field.
struct CampoPesquisa {
    QLineEdit* codigo;
    QToolButton* botao;
};

// Controls of different kinds side by side in one grid cell.
template <class... W>
QList<QWidget*> lado(W*... controles) {
    return {static_cast<QWidget*>(controles)...};
}
CampoPesquisa campoPesquisa(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo,
                            std::function<TwbtPesquisa&()> pesquisa, std::function<void()> depois = {});

// A box that only shows a field: read-only and out of the keyboard walk.
QLineEdit* mostrarCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo);
// An edit box bound to the field ("edt" + field).
QLineEdit* editarCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo);
// A list bound to the field ("cbx" + field), from fixed options.
QComboBox* listaCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo, const Opcoes& opcoes);
// A flag box bound to the field ("chk" + field).
QCheckBox* marcarCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& titulo, const QString& campo);

// Places label-and-control pairs in a grid, `colunas` pairs a row.
class Grade {
public:
    Grade(QGridLayout* layout, int colunas) : m_layout(layout), m_colunas(colunas) {}
    // `largura` pairs wide; returns the label (null without one).
    QWidget* add(const QString& rotulo, QWidget* controle, int largura = 1);
    QWidget* add(const QString& rotulo, const QList<QWidget*>& controles, int largura = 1);
    void quebrar();

private:
    QGridLayout* m_layout;
    int m_colunas;
    int m_linha = 0, m_coluna = 0;
};

} // namespace nfvenda::ui
} // namespace kvo
