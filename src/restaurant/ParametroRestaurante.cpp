#include "restaurant/ParametroRestaurante.h"

#include "framework/db/Database.h"

namespace kvo {

std::unique_ptr<RecordSet> abrirParRestaurante(Database& db) {
    auto rs = std::make_unique<RecordSet>(db);
    rs->setCommandText(QStringLiteral("select first 1 * from PAR_RESTAURANTE order by "
                                      "case when CODPARRESTAURANTE = 1 then 0 else 1 end, CODPARRESTAURANTE"));
    rs->setUpdateTable(QStringLiteral("PAR_RESTAURANTE"));
    rs->setKeyFields({QStringLiteral("CODPARRESTAURANTE")});
    rs->onNewRecord = [&db](RecordSet& r) {
        r.field(QStringLiteral("CODPARRESTAURANTE")).setValue(db.getGeneretor(QStringLiteral("GEN_PAR_RESTAURANTE")));
        r.field(QStringLiteral("PARR_TRABALHAR_REST")).setValue(QStringLiteral("S"));
        r.field(QStringLiteral("PARR_CONTROLE_NOME")).setValue(QStringLiteral("Mesas"));
        r.field(QStringLiteral("PARR_VLR_SERVICO")).setValue(0);
        r.field(QStringLiteral("PARR_VLR_COVERT")).setValue(0);
        for (const char* impressora :
             {"PARR_IMP_COZINHA", "PARR_IMP_BAR", "PARR_IMP_PIZZA", "PARR_IMP_CHURRASQUEIRA", "PARR_IMP_EXTRATO"})
            r.field(QString::fromLatin1(impressora)).setValue(QStringLiteral("GERENCIADOR"));
        for (const char* flag : {"PARR_IMPRIMIR_IEIM", "PARR_SELECIONAR_GARCON", "PARR_CODPESQ_VENDA", "PARR_SOMENTE_DURACAO"})
            r.field(QString::fromLatin1(flag)).setValue(QStringLiteral("N"));
    };
    rs->open();
    if (rs->isEmpty())
        rs->append();
    else
        rs->edit();
    return rs;
}

} // namespace kvo
