#pragma once

#include "registers/DDocumentoVenda.h"

namespace kvo {

// Pre-sales (dmPreVenda): PREVENDA and PREVENDA_ITEM.
class TdmPreVenda : public TdmDocumentoVenda {
public:
    static TdmPreVenda& gerarInstance();
    TdmPreVenda();
    explicit TdmPreVenda(Database& db);
    void CarregarPreVenda(int codigo) { carregar(codigo); }
    void cancelaPreVenda(int codigo) { cancelar(codigo); }
};

// Sale-support documents (dmDav): DAV and DAV_ITEM. Cancelling one finishes it.
class TdmDav : public TdmDocumentoVenda {
public:
    static TdmDav& gerarInstance();
    TdmDav();
    explicit TdmDav(Database& db);
    void CarregarDav(int codigo) { carregar(codigo); }
    void cancelaDav(int codigo) { cancelar(codigo); }
};

} // namespace kvo
