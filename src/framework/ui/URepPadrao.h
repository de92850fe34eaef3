#pragma once

#include "framework/db/RecordSetModel.h"

#include <QDialog>

#include <functional>

class QFormLayout;
class QHBoxLayout;
class QVBoxLayout;
class QPushButton;

namespace kvo {

class FieldBinder;

// Base of every screen (TrepPadraoGeral): Esc closes, Enter moves to the next
// field as on the shop's keyboards (except where Enter has its own meaning:
// marked boxes, grids, multi-line text; on a button it presses the button),
// a bar for buttons at the bottom. No exception leaves its event handlers.
class TrepPadraoGeral : public QDialog {
    Q_OBJECT
public:
    explicit TrepPadraoGeral(QWidget* parent = nullptr);

    // Makes every input of the screen read-only (viewing a record).
    void DeixarReadOnLyWin(bool somenteLeitura = true);
    // Colours grid rows by rule.
    static void PintarCelulas(RecordSetModel& model, RecordSetModel::RowColour regra) {
        model.setRowBackground(std::move(regra));
    }
    bool somenteLeitura() const { return m_somenteLeitura; }
    // Enter in this box does its own thing (runs a search...) instead of
    // moving to the next field.
    static void enterProprio(QWidget* widget);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Hands over what is being typed in a grid cell, as leaving the cell
    // would; confirming by a key leaves nothing behind.
    void confirmarEdicao();
    QPushButton* adicionarBotao(const QString& nome, const QString& titulo, std::function<void()> acao);
    QVBoxLayout* corpo() const { return m_corpo; }
    QHBoxLayout* barraBotoes() const { return m_botoes; }
    void showEvent(QShowEvent* event) override;
    // Runs a handler the way screens do: a stopped operation is silent,
    // any other failure is shown.
    static void executar(const std::function<void()>& handler);

private:
    QVBoxLayout* m_corpo;
    QHBoxLayout* m_botoes;
    bool m_somenteLeitura = false;
};

// A screen with only a button bar (TrepPadraoBotoes).
class TrepPadraoBotoes : public TrepPadraoGeral {
    Q_OBJECT
public:
    using TrepPadraoGeral::TrepPadraoGeral;
    using TrepPadraoGeral::adicionarBotao;
};

// A record screen (TrepPadraoCadastro) over a record set the caller owns,
// positioned on the row to show (or in insert for a new one): bound fields,
// OK writes (ValidaDados, post, apply), Cancel discards.
class TrepPadraoCadastro : public TrepPadraoGeral {
    Q_OBJECT
public:
    TrepPadraoCadastro(RecordSet& rs, QWidget* parent = nullptr);

    // A new record takes its key from this generator.
    void SetGeneretor(const QString& generator);
    // Takes the value still being typed, then validates, posts and applies;
    // true when written (and the screen closes).
    bool AplicaDados();
    RecordSet& registro() const { return m_rs; }
    FieldBinder& binder() const { return *m_binder; }

    void btnOkClick() { executar([this] { AplicaDados(); }); }
    void btnCancelarClick();

protected:
    // Refuses with Error(...) what may not be written.
    virtual void ValidaDados() {}
    // Writes what the screen edits (the record; with children, those too).
    virtual void gravar();
    // An edit box bound to the field, with its label.
    QWidget* adicionarCampo(const QString& rotulo, const QString& campo);
    QFormLayout* campos() const { return m_campos; }
    void reject() override { btnCancelarClick(); }

private:
    RecordSet& m_rs;
    FieldBinder* m_binder;
    QFormLayout* m_campos;
    QString m_generator;
};

// A detail screen (TrepPadraoDetalhe): one child row of a master record.
class TrepPadraoDetalhe : public TrepPadraoCadastro {
    Q_OBJECT
public:
    using TrepPadraoCadastro::TrepPadraoCadastro;
};

} // namespace kvo
