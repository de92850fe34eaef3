#pragma once

#include "NFVendaFaturamentoFixture.h"

#include "../nfe/AutoridadeLocal.h"

#include <QTemporaryDir>

#include <memory>

namespace kvo::test {

// The registers an NF-e needs beyond the invoice's: the company's address and
// regime, the customer's address and e-mail, the products' tax codes.
void prepararLojaNFe(Database& db);
// nfe.ini, the municipality list and the folders of a program folder whose
// NF-e goes to that authority.
void prepararPastaNFe(const QString& home, const nfe::test::AutoridadeLocal& autoridade);

// A shop issuing NF-e whose program folder talks to its own local authority
// (real TLS and SOAP); DANFEs are written as PDF files into <home>/pdf.
class NFVendaCiclo : public NFVendaFaturamento {
protected:
    static void SetUpTestSuite();
    NFVendaCiclo();
    ~NFVendaCiclo() override;

    // A billed invoice of series 1 for customer 1.
    int notaFaturada();
    // The same, transmitted and authorised.
    int notaAutorizada();
    QVariant coluna(int numero, const char* nome, const char* serie = "1");
    QString texto(int numero, const char* nome) { return coluna(numero, nome).toString(); }
    // Requests the authority received for a service ("NFeAutorizacao4"),
    // answered or not, never those dropped before processing.
    int pedidos(const QString& servico) const;
    void injetar(const char* json);

    QTemporaryDir home;
    std::unique_ptr<nfe::test::AutoridadeLocal> autoridade;
    static inline bool fixturesProntas = false;
};

} // namespace kvo::test
