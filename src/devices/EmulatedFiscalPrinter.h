#pragma once

#include "devices/FiscalPrinter.h"
#include "devices/FiscalPrinterState.h"
#include "devices/ReceiptPrinterTarget.h"

#include <memory>

namespace kvo {

// A fiscal printer emulated in software: it keeps its counters (COO, GNF, CER
// per report kind, CCF, the grand total GT, the totals per payment form, the
// cancellations), the coupon in progress and the last cancellation in
// "ecf_estado.json" inside its folder, so they survive a restart, and prints
// its documents as 48-column text on a receipt-printer target. Tests inject
// the failures of a real printer (off, out of paper, an error on the next
// command).
class EmulatedFiscalPrinter : public FiscalPrinter {
public:
    // The number and the default report kind 01 apply only when the folder
    // holds no state yet. Throws FiscalPrinterError when the state cannot be
    // read or created.
    EmulatedFiscalPrinter(const QString& stateFolder, std::shared_ptr<ReceiptPrinterTarget> target,
                          int numeroEcf = 1);

    bool Ativo() const override { return m_ativo; }
    void Ativar() override;
    void Desativar() override { m_ativo = false; }
    bool ocupada() const override { return m_ocupada; }

    void CarregaRelatoriosGerenciais() override;
    std::optional<RelatorioGerencialInfo> AchaRGIndice(const QString& id) const override;
    void RelatorioGerencial(const QStringList& linhas, int copias, int indice) override;

    QString NumCupom() override;
    QString NumECF() override;

    void TestaPodeAbrirCupom() override;
    void AbreCupom(const QString& cpfCnpj, const QString& nome, const QString& endereco) override;
    void VendeItem(const QString& codigo, const QString& descricao, const QString& aliquota,
                   Currency quantidade, Currency valorUnitario, Currency valorDescontoAcrescimo,
                   const QString& unidade, const QString& tipoDescontoAcrescimo,
                   const QString& descontoAcrescimo, int codDepartamento) override;
    void SubTotalizaCupom(Currency acrescimoDesconto) override;
    void EfetuaPagamento(const QString& formaPagamento, Currency valor) override;
    void FechaCupom(const QStringList& mensagem) override;
    void CancelaCupom() override;
    QString NumCCF() override;
    void LeituraX() override;

    // Programming the device, as a technician would.
    void programarRelatorioGerencial(int indice, const QString& descricao);

    // The device's memory, read without a command.
    const FiscalPrinterState& estado() const { return m_state; }
    QString arquivoEstado() const { return m_stateFile; }

    // Failures of a real printer, for tests.
    void setDesligada(bool desligada) { m_desligada = desligada; }
    void setSemPapel(bool semPapel) { m_semPapel = semPapel; }
    void falharProximoComando(const QString& mensagem) { m_proximaFalha = mensagem; }
    // The first later call of the named command ("AbreCupom", "VendeItem",
    // "SubTotalizaCupom", "EfetuaPagamento", "FechaCupom") fails.
    void falharNoComando(const QString& comando, const QString& mensagem) { m_falhaNoComando = {comando, mensagem}; }

private:
    class Comando;

    void exigirPapel() const;
    // The open coupon, refused when there is none or its phase is not this one.
    const CupomFiscal& cupomAberto(bool subtotalizado) const;
    void imprimir(const QString& titulo, const QStringList& linhas);
    void gravar(const FiscalPrinterState& novo);

    QString m_stateFile;
    std::shared_ptr<ReceiptPrinterTarget> m_target;
    FiscalPrinterState m_state;
    QList<RelatorioGerencialInfo> m_relatoriosCarregados;
    bool m_ativo = false, m_ocupada = false, m_desligada = false, m_semPapel = false;
    std::optional<QString> m_proximaFalha;
    std::optional<std::pair<QString, QString>> m_falhaNoComando;
};

} // namespace kvo
