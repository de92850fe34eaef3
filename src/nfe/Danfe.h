#pragma once

#include "nfe/NFeModel.h"

#include <QString>

class QPagedPaintDevice;

namespace kvo::nfe {

struct DanfeOpcoes {
    bool cancelada = false; // "CANCELADA" across every page
    QString protocolo;      // used when the document has no protocol group
};

// Pages of the portrait DANFE: the first with the receipt stub, the blocks of
// recipient, invoice, taxes, transport and additional information; items run on
// as many continuation pages as needed.
int paginasDanfe(const NFe& nfe);
void desenharDanfe(QPagedPaintDevice& device, const NFe& nfe, const DanfeOpcoes& opcoes);
// Writes the DANFE as a PDF file; throws std::runtime_error when it cannot.
void gerarDanfePdf(const NFe& nfe, const QString& arquivo, const DanfeOpcoes& opcoes);

} // namespace kvo::nfe
