// The invoice search's steps on one invoice: cancel, reopen, delete.
#include "invoice/DNFVenda.h"

#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

namespace {

Database& conexao() {
    return TdmAcesso::gerarInstance().sqlCon();
}

SqlParams chave(int numero, const QString& serie) {
    return {{QStringLiteral("N"), numero}, {QStringLiteral("S"), serie}};
}

QString protocolo(int numero, const QString& serie) {
    return conexao()
        .scalar(QStringLiteral("select NFV_NFE_NPROT from NFVENDA where CODNFVENDA = :N and CODSERIE = :S"),
                chave(numero, serie))
        .toString()
        .trimmed();
}

// The text a procedure's exception carries, without the driver's wrapping.
QString mensagemDoBanco(const DatabaseError& e) {
    const QString m = e.message();
    const qsizetype i = m.indexOf(QLatin1String("E_NFVENDA_SITUACAO"));
    if (i < 0)
        return m;
    // Firebird puts each part after "- ", the text first, then where it was raised ("At procedure ...").
    QString resto = m.mid(i + qsizetype(qstrlen("E_NFVENDA_SITUACAO"))).trimmed();
    while (resto.startsWith(u'-'))
        resto = resto.mid(1).trimmed();
    for (const QString& fim : {QStringLiteral("\n"), QStringLiteral(" - At ")})
        if (const qsizetype p = resto.indexOf(fim); p >= 0)
            resto.truncate(p);
    return resto.trimmed();
}

// STP_NFVENDA_CANCELA or STP_NFVENDA_REABRIR; LOTE tells whether the company
// controls stock. A refusal of the procedure is shown and ends the step.
void executarProcedimento(const QString& nome, int numero, const QString& serie) {
    SqlParams p = chave(numero, serie);
    p.insert(QStringLiteral("L"), TdmAcesso::gerarInstance().empresa().controlaEstoque ? QStringLiteral("S")
                                                                                       : QStringLiteral("N"));
    try {
        Transaction tx(conexao());
        conexao().executeSQL(QStringLiteral("execute procedure ") + nome + QStringLiteral("(:N, :S, :L)"), p);
        tx.commit();
    } catch (const DatabaseError& e) {
        Error(mensagemDoBanco(e));
    }
}

// The invoice shown by the data module follows what was stored.
void recarregarSeAberta(TdmNFVenda& dm, int numero, const QString& serie) {
    RecordSet& cab = dm.cdsNFVenda();
    if (cab.active() && !cab.isEmpty() && cab.field(QStringLiteral("CODNFVENDA")).asInteger() == numero &&
        cab.field(QStringLiteral("CODSERIE")).asString() == serie)
        dm.abrirNFVenda(numero, serie);
}

} // namespace

bool TdmNFVenda::NFVENDA_Cancelar(int numero, const QString& serie) {
    if (!Confirma(QStringLiteral("Confirma Cancelar essa Nota Fiscal?")))
        return false;
    if (TdmAcesso::gerarInstance().empresa().emiteNFe) {
        if (protocolo(numero, serie).isEmpty())
            Alerta(QStringLiteral(
                       "Não é possivel cancelar essa NF-e, ela não tem o número do protocolo de envio!!"),
                   true);
        if (!eventoCancelamentoNFe)
            Error(QStringLiteral("O cancelamento da NF-e não está disponível nesta versão."));
        eventoCancelamentoNFe(numero, serie);
    }
    executarProcedimento(QStringLiteral("STP_NFVENDA_CANCELA"), numero, serie);
    recarregarSeAberta(*this, numero, serie);
    Informacao(QStringLiteral("Cancelado com sucesso!"));
    return true;
}

bool TdmNFVenda::NFVENDA_Reabrir(int numero, const QString& serie) {
    if (TdmAcesso::gerarInstance().empresa().emiteNFe && !protocolo(numero, serie).isEmpty())
        Alerta(QStringLiteral("Não é possivel reabrir uma nota que já tem protocolo de entrega NF-e!"), true);
    // Sent and its answer lost: the authority may have authorised these very
    // bytes, so the invoice must not change before the key is queried.
    if (TdmAcesso::gerarInstance().empresa().emiteNFe &&
        !conexao()
             .scalar(QStringLiteral("select count(*) from NFVENDA where CODNFVENDA = :N and CODSERIE = :S and "
                                    "coalesce(NFV_NFE_NPROT, '') = '' and NFV_XML_ENVIADO is not null"),
                     chave(numero, serie))
             .toInt() == 0)
        Alerta(QStringLiteral("A NF-e desta nota foi transmitida e a resposta da SEFAZ não chegou: consulte-a antes "
                              "de reabrir a nota."),
               true);
    if (!Confirma(QStringLiteral("Confirma \"Reabrir\" essa Nota Fiscal?")))
        return false;
    executarProcedimento(QStringLiteral("STP_NFVENDA_REABRIR"), numero, serie);
    recarregarSeAberta(*this, numero, serie);
    Informacao(QStringLiteral("Reaberta com sucesso!"));
    return true;
}

bool TdmNFVenda::NFVENDA_Excluir(int numero, const QString& serie) {
    const QString naoPode = QStringLiteral("Esta Nota Fiscal não pode ser excluída.");
    const QVariant status = conexao().scalar(
        QStringLiteral("select NFV_STATUS from NFVENDA where CODNFVENDA = :N and CODSERIE = :S"),
        chave(numero, serie));
    if (status.toString() != u"Aberta")
        Error(naoPode);
    if (!Confirma(QStringLiteral("Confirma Excluir esta Nota Fiscal?")))
        return false;
    const QString senha = SenhaBox(QStringLiteral("Senha de exclusão:")).value_or(QString());
    if (senha.isEmpty())
        Error(QStringLiteral("Por favor digite uma senha!!"));
    if (senha != TdmAcesso::gerarInstance().senhaExclusao())
        Error(QStringLiteral("Senha inválida !"));
    bool excluiu = false;
    {
        // Status and the released order items together; only while still
        // "Aberta", so an invoice billed meanwhile elsewhere is not deleted.
        Transaction tx(conexao());
        excluiu = conexao().executeSQL(
                      QStringLiteral("update NFVENDA set NFV_STATUS = 'Excluída' where CODNFVENDA = :N "
                                     "and CODSERIE = :S and NFV_STATUS = 'Aberta'"),
                      chave(numero, serie)) > 0;
        if (excluiu) {
            conexao().executeSQL(
                QStringLiteral(" UPDATE NFVENDA_ITEM     SET CODPEDVENDAITEM = NULL   WHERE CODNFVENDA = ") +
                QString::number(numero) + QStringLiteral("    AND CODSERIE = ") + quotedStr(serie));
            tx.commit();
        }
    }
    if (!excluiu)
        Error(naoPode);
    recarregarSeAberta(*this, numero, serie);
    Informacao(
        QStringLiteral("Nota Fiscal (Cód. %1 - Série %2) excluída com sucesso!").arg(numero).arg(serie));
    return true;
}

} // namespace kvo
