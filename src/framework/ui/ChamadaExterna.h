#pragma once

namespace kvo {

class Database;
class Digest;
class FiscalPrinter;
class RecordSet;

// What another program handed the module's last entry: its connections, the
// record sets of its sale, its fiscal printer, payment-terminal and signing
// components. The screens that work with the caller's components (the
// restaurant menus, the pre-sale merge) take them from here; null where the
// caller gave none.
struct ChamadaExterna {
    Database* conexao = nullptr;
    Database* conexaoChamador = nullptr;
    RecordSet* cabecalho = nullptr;
    RecordSet* itens = nullptr;
    RecordSet* outro = nullptr;
    FiscalPrinter* ecf = nullptr;
    void* tef = nullptr;
    Digest* assinador = nullptr;
};

inline ChamadaExterna& chamadaExterna() {
    static ChamadaExterna atual;
    return atual;
}

} // namespace kvo
