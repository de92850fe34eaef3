#pragma once

#include "core/Currency.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace kvo {

// A failure reported by the fiscal printer; what() is the Portuguese message
// for the user (UTF-8).
class FiscalPrinterError : public std::runtime_error {
public:
    explicit FiscalPrinterError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// A management-report kind programmed in the printer.
struct RelatorioGerencialInfo {
    int indice = 0;
    QString descricao;
    int contador = 0; // CER: reports of this kind issued so far
};

// The fiscal printer (ECF) as the restaurant table check, the pre-sale
// merge and the quick sale use it. Every operation that talks to the printer throws
// FiscalPrinterError when the printer refuses or cannot answer.
class FiscalPrinter {
public:
    virtual ~FiscalPrinter() = default;

    virtual bool Ativo() const = 0;
    virtual void Ativar() = 0;
    virtual void Desativar() = 0;
    // True while the printer is answering a command.
    virtual bool ocupada() const = 0;

    // Reads the management-report kinds, with their counters, from the printer.
    virtual void CarregaRelatoriosGerenciais() = 0;
    // The kind with that identifier ("01" and "1" are the same kind) in the
    // list last loaded, or none.
    virtual std::optional<RelatorioGerencialInfo> AchaRGIndice(const QString& id) const = 0;
    // Prints the lines as `copias` management reports of kind `indice`.
    virtual void RelatorioGerencial(const QStringList& linhas, int copias, int indice) = 0;

    // The operation counter (COO) of the last document, or of the open coupon.
    virtual QString NumCupom() = 0;
    virtual QString NumECF() = 0;

    // Throws when a fiscal coupon cannot be opened now.
    virtual void TestaPodeAbrirCupom() = 0;
    virtual void AbreCupom(const QString& cpfCnpj, const QString& nome, const QString& endereco) = 0;
    // tipoDescontoAcrescimo: "$" an amount, "%" a percentage of the item;
    // descontoAcrescimo: "D" discount, "A" surcharge. A department of -1 means none.
    virtual void VendeItem(const QString& codigo, const QString& descricao, const QString& aliquota,
                           Currency quantidade, Currency valorUnitario, Currency valorDescontoAcrescimo,
                           const QString& unidade, const QString& tipoDescontoAcrescimo,
                           const QString& descontoAcrescimo, int codDepartamento) = 0;
    // Ends the items of the open coupon: above zero a surcharge, below zero a
    // discount on the subtotal. Payments follow.
    virtual void SubTotalizaCupom(Currency acrescimoDesconto) = 0;
    // One payment of the subtotalled coupon in the named payment form.
    virtual void EfetuaPagamento(const QString& formaPagamento, Currency valor) = 0;
    // Prints the coupon with the promotional message lines; refused while the
    // payments do not cover the total (the change is paid less total).
    virtual void FechaCupom(const QStringList& mensagem) = 0;
    // Cancels the open coupon.
    virtual void CancelaCupom() = 0;
    // The fiscal coupon counter (CCF) of the last coupon, or of the open one.
    virtual QString NumCCF() = 0;
    // The X reading: the counters and totals printed, nothing reset.
    virtual void LeituraX() = 0;

    // General-purpose tag: callers park a document number here while printing.
    qint64 Tag() const { return m_tag; }
    void setTag(qint64 tag) { m_tag = tag; }

private:
    qint64 m_tag = 0;
};

} // namespace kvo
