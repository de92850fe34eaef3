#include "registers/DContas.h"

#include "core/Format.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

namespace kvo {

TdmContas& TdmContas::gerarInstance() { return Module::current().instance<TdmContas>(); }

TdmContas::TdmContas() : TdmContas(TdmAcesso::gerarInstance().sqlCon()) {}

TdmContas::TdmContas(Database& db) : m_db(db) {}

int TdmContas::quantidadeParcelas(const QString& origem, int codigo) {
    return m_db.scalar(QStringLiteral("select count(*) from CONTAS where CON_ORIGEM = :O and CON_CODORIGEM = :C"),
                       {{QStringLiteral("O"), origem}, {QStringLiteral("C"), codigo}})
        .toInt();
}

void TdmContas::gravarParcelas(const DocumentoContas& doc, Currency total, const QVector<Parcela>& parcelas) {
    Currency soma;
    for (const Parcela& p : parcelas) {
        if (p.valor <= Currency())
            throw DatabaseError(QStringLiteral("A parcela %1 deve ter valor maior que zero.").arg(p.numero));
        if (!p.vencimento.isValid())
            throw DatabaseError(QStringLiteral("Informe o vencimento da parcela %1.").arg(p.numero));
        soma += p.valor;
    }
    if (soma != total)
        throw DatabaseError(QStringLiteral("A soma das parcelas (%1) difere do total do documento (%2).")
                                .arg(formatFloat(u",0.00", soma), formatFloat(u",0.00", total)));
    const SqlParams chave{{QStringLiteral("O"), doc.origem}, {QStringLiteral("C"), doc.codigo}};
    Transaction tx(m_db);
    const QVariant pagas = m_db.scalar(QStringLiteral("select first 1 1 from CONTAS where CON_ORIGEM = :O and "
                                                      "CON_CODORIGEM = :C and CON_SALDO <> CON_VLRPARCELA"),
                                       chave);
    if (!pagas.isNull())
        throw DatabaseError(QStringLiteral("Este documento tem parcelas já recebidas; estorne-as antes de gerar novamente."));
    m_db.executeSQL(QStringLiteral("delete from CONTAS where CON_ORIGEM = :O and CON_CODORIGEM = :C"), chave);
    for (const Parcela& p : parcelas)
        m_db.executeSQL(QStringLiteral("insert into CONTAS (CODCONTAS, CON_TIPO, CODPESSOA, CON_ORIGEM, CON_CODORIGEM, "
                                       "CON_NUMDOC, CON_PARCELA, CON_QTDE_PARCELAS, CON_DTEMISSAO, CON_DTVENC, CON_VLRPARCELA, "
                                       "CON_VLRTOTAL, CON_SALDO, CON_STATUS, CODFORMAPAGAMENTO) values "
                                       "(gen_id(GEN_CONTAS, 1), 'R', :P, :O, :C, :N, :PAR, :QTD, :EMI, :VENC, :V, :T, :S, "
                                       "'ABERTA', :F)"),
                        {{QStringLiteral("P"), doc.codpessoa > 0 ? QVariant(doc.codpessoa) : QVariant()},
                         {QStringLiteral("O"), doc.origem},
                         {QStringLiteral("C"), doc.codigo},
                         {QStringLiteral("N"), doc.numero.left(20)},
                         {QStringLiteral("PAR"), p.numero},
                         {QStringLiteral("QTD"), int(parcelas.size())},
                         {QStringLiteral("EMI"), doc.emissao},
                         {QStringLiteral("VENC"), p.vencimento},
                         {QStringLiteral("V"), QVariant::fromValue(p.valor)},
                         {QStringLiteral("T"), QVariant::fromValue(total)},
                         {QStringLiteral("S"), QVariant::fromValue(p.valor)},
                         {QStringLiteral("F"), doc.codformapagamento > 0 ? QVariant(doc.codformapagamento) : QVariant()}});
    tx.commit();
}

} // namespace kvo
