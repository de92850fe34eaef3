#include "registers/DPreVenda.h"

#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

namespace kvo {

namespace {
LayoutDocumentoVenda preVenda() {
    return {QStringLiteral("PREVENDA"),      QStringLiteral("CODPREVENDA"),     QStringLiteral("GEN_PREVENDA"),
            QStringLiteral("PREVENDA_ITEM"), QStringLiteral("CODPREVENDAITEM"), QStringLiteral("GEN_PREVENDA_ITEM"),
            QStringLiteral("PREV_"),         QStringLiteral("PREVI_"),          QStringLiteral("CANCELADO")};
}
LayoutDocumentoVenda dav() {
    return {QStringLiteral("DAV"),      QStringLiteral("CODDAV"),     QStringLiteral("GEN_DAV"),
            QStringLiteral("DAV_ITEM"), QStringLiteral("CODDAVITEM"), QStringLiteral("GEN_DAV_ITEM"),
            QStringLiteral("DAV_"),     QStringLiteral("DAVI_"),      QStringLiteral("FINALIZADO")};
}
} // namespace

TdmPreVenda& TdmPreVenda::gerarInstance() { return Module::current().instance<TdmPreVenda>(); }
TdmPreVenda::TdmPreVenda() : TdmPreVenda(TdmAcesso::gerarInstance().sqlCon()) {}
TdmPreVenda::TdmPreVenda(Database& db) : TdmDocumentoVenda(db, preVenda()) {}

TdmDav& TdmDav::gerarInstance() { return Module::current().instance<TdmDav>(); }
TdmDav::TdmDav() : TdmDav(TdmAcesso::gerarInstance().sqlCon()) {}
TdmDav::TdmDav(Database& db) : TdmDocumentoVenda(db, dav()) {}

} // namespace kvo
