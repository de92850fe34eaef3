#pragma once

#include "../restaurant/PedidoFixture.h"

#include "devices/EmulatedFiscalPrinter.h"
#include "devices/RecordingTarget.h"
#include "framework/db/RecordSet.h"

#include <QTemporaryDir>

#include <ostream>

#include <memory>

namespace kvo {
// Amounts read in failure messages.
inline void PrintTo(const Currency& c, std::ostream* os) { *os << c.toString().toStdString(); }
} // namespace kvo

namespace kvo::test {

// The restaurant terminal of PedidoFixture with its currency types and an
// emulated fiscal printer whose paper is kept.
class VendaRapidaFixture : public PedidoFixture {
public:
    static std::unique_ptr<EmulatedFiscalPrinter> novaImpressora(const QString& pasta,
                                                                 std::shared_ptr<RecordingTarget> papel) {
        auto e = std::make_unique<EmulatedFiscalPrinter>(pasta, std::move(papel));
        e->Ativar();
        return e;
    }

protected:
    void SetUp() override {
        PedidoFixture::SetUp();
        for (const char* sql : {
                 "insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (1, 'Dinheiro', '01')",
                 "insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (2, 'Cartão de crédito', '03')",
                 "insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (3, 'PIX', '17')",
             })
            t->executeSQL(QString::fromUtf8(sql));
        ecf = novaImpressora(pastaEcf.path(), papel);
        // The service is charged with the bill (not on a receipt of its own).
        cfg().setValor(QStringLiteral("REST.COMP.TX"), QStringLiteral("N"));
    }

    Currency estoque(int produto) {
        return dinheiro(QStringLiteral("select PRO_ESTQ_ATUAL from PRODUTO where CODPRODUTO = %1").arg(produto));
    }
    int contar(const QString& sql) { return t->scalar(sql).toInt(); }
    static Currency cur(const char* v) { return Currency::fromString(QString::fromLatin1(v)); }

    QTemporaryDir pastaEcf;
    std::shared_ptr<RecordingTarget> papel = std::make_shared<RecordingTarget>();
    std::unique_ptr<EmulatedFiscalPrinter> ecf;
};

} // namespace kvo::test
