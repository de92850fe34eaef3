#include "registers/DContas.h"

#include "core/Format.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

namespace kvo {

namespace {
// The rows of one document that still count: invoices of another series with
// the same number, and instalments already written off, are not its own.
const QString doDocumento = QStringLiteral(
    "CON_ORIGEM = :O and CON_CODORIGEM = :C and coalesce(CODSERIE, '') = :SER and CON_STATUS <> 'EXCLUÍDA'");

SqlParams chaveDe(const QString& origem, int codigo, const QString& serie) {
    return {{QStringLiteral("O"), origem}, {QStringLiteral("C"), codigo}, {QStringLiteral("SER"), serie.trimmed()}};
}
QVariant ouNulo(int codigo) { return codigo > 0 ? QVariant(codigo) : QVariant(); }
} // namespace

TdmContas& TdmContas::gerarInstance() { return Module::current().instance<TdmContas>(); }

TdmContas::TdmContas() : TdmContas(TdmAcesso::gerarInstance().sqlCon()) {}

TdmContas::TdmContas(Database& db) : m_db(db) {}

int TdmContas::quantidadeParcelas(const QString& origem, int codigo, const QString& serie) {
    return m_db.scalar(QStringLiteral("select count(*) from CONTAS where ") + doDocumento, chaveDe(origem, codigo, serie))
        .toInt();
}

void TdmContas::conferirParcelas(Currency total, const QVector<Parcela>& parcelas) {
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
}

void TdmContas::gravarParcelas(const DocumentoContas& doc, Currency total, const QVector<Parcela>& parcelas,
                               bool substituir) {
    conferirParcelas(total, parcelas);
    const QString serie = doc.serie.trimmed();
    SqlParams chave = chaveDe(doc.origem, doc.codigo, serie);
    chave.insert(QStringLiteral("TIPO"), QString(doc.tipo));
    const QString deste = doDocumento + QStringLiteral(" and CON_TIPO = :TIPO");
    Transaction tx(m_db);
    if (substituir) {
        const QVariant pagas = m_db.scalar(QStringLiteral("select first 1 1 from CONTAS where ") + deste +
                                               QStringLiteral(" and (CON_VLRPAGO <> 0 or CON_SALDO <> CON_VLRPARCELA)"),
                                           chave);
        if (!pagas.isNull())
            throw DatabaseError(
                QStringLiteral("Este documento tem parcelas já recebidas; estorne-as antes de gerar novamente."));
        m_db.executeSQL(QStringLiteral("delete from CONTAS where ") + deste, chave);
    }
    const bool nfVenda = doc.origem == QLatin1String("NFVENDA"), nfCompra = doc.origem == QLatin1String("NFCOMPRA");
    for (const Parcela& p : parcelas)
        m_db.executeSQL(
            QStringLiteral("insert into CONTAS (CODCONTA, CON_TIPO, CODPESSOA, CON_ORIGEM, CON_CODORIGEM, CODNFVENDA, CODSERIE, "
                           "CODNFCOMPRA, CON_NUMDOC, CON_PARCELA, CON_QTDE_PARCELAS, CON_DTEMISSAO, CON_DTVENC, CON_VLRPARCELA, "
                           "CON_VLRTOTAL, CON_SALDO, CON_VLRPAGO, CON_STATUS, CODFORMAPAGAMENTO, CODMOEDA, CODCENTCUSTO) values "
                           "(gen_id(GEN_CONTAS, 1), :TIPO, :P, :O, :C, :NFV, :SER, :NFC, :N, :PAR, :QTD, :EMI, :VENC, :V, :T, "
                           ":S, 0, 'ABERTA', :F, (select CODMOEDA from FORMAPAGAMENTO where CODFORMAPAGAMENTO = :F), :CC)"),
            {{QStringLiteral("TIPO"), QString(doc.tipo)},
             {QStringLiteral("P"), ouNulo(doc.codpessoa)},
             {QStringLiteral("O"), doc.origem},
             {QStringLiteral("C"), doc.codigo},
             {QStringLiteral("NFV"), nfVenda ? QVariant(doc.codigo) : QVariant()},
             {QStringLiteral("SER"), serie.isEmpty() ? QVariant() : QVariant(serie)},
             {QStringLiteral("NFC"), nfCompra ? QVariant(doc.codigo) : QVariant()},
             {QStringLiteral("N"), doc.numero.left(20)},
             {QStringLiteral("PAR"), QString::number(p.numero)},
             {QStringLiteral("QTD"), int(parcelas.size())},
             {QStringLiteral("EMI"), doc.emissao},
             {QStringLiteral("VENC"), p.vencimento},
             {QStringLiteral("V"), QVariant::fromValue(p.valor)},
             {QStringLiteral("T"), QVariant::fromValue(total)},
             {QStringLiteral("S"), QVariant::fromValue(p.valor)},
             {QStringLiteral("F"), ouNulo(doc.codformapagamento)},
             {QStringLiteral("CC"), ouNulo(doc.codcentcusto)}});
    tx.commit();
}

} // namespace kvo
