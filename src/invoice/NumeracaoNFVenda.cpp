// Saving an invoice: one transaction for the header and its children; a new
// invoice takes its number from its series under the series row's lock.
#include "invoice/NumeracaoNFVenda.h"

#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DCadastros.h"

#include <QRandomGenerator>
#include <QThread>

namespace kvo {

using namespace nfvenda;

int reservarNumeroNFVenda(Database& db, const QString& codserie) {
    // The update takes the series row's lock until the saving transaction
    // ends: another terminal saving in this series waits here, then retries.
    const int linhas = db.executeSQL(QStringLiteral("UPDATE SERIE SET SER_SEQ = (SER_SEQ + 1) WHERE CODSERIE = ") +
                                     quotedStr(codserie));
    if (linhas == 0)
        Error(QStringLiteral("Série %1 não cadastrada!").arg(codserie));
    const int numero = db.scalar(QStringLiteral("select SER_SEQ - 1 from SERIE where CODSERIE = :S"),
                                 {{QStringLiteral("S"), codserie}})
                           .toInt();
    const bool existe = !db.scalar(QStringLiteral("select 1 from NFVENDA where CODNFVENDA = :N and CODSERIE = :S"),
                                   {{QStringLiteral("N"), numero}, {QStringLiteral("S"), codserie}})
                             .isNull();
    if (existe)
        Error(QStringLiteral("Numero da Nota fiscal já cadastrada"));
    return numero;
}

bool conflitoDeTravamento(const DatabaseError& e) { return e.kind() == DatabaseError::Kind::LockConflict; }

TdmNFVenda::NFVendaGravada TdmNFVenda::gravarNFVenda() {
    RecordSet& c = *m_cab;
    for (RecordSet* rs : {m_item.get(), m_serv.get(), m_cce.get()})
        if (rs->active())
            rs->checkBrowseMode();
    const bool nova = c.state() == RecordSet::State::Insert || c.updateStatus() == RecordSet::UpdateStatus::Inserted;
    const QString serie = str(c, "CODSERIE").trimmed();
    if (nova && serie.isEmpty())
        Error(QStringLiteral("Você precisa informa uma Série para essa nota fiscal"));
    c.checkBrowseMode();
    const int numeroMostrado = int(inteiro(c, "CODNFVENDA"));
    Database& db = *c.database();
    // Inside a caller's transaction a conflict cannot be retried here.
    const int tentativas = db.inTransaction() ? 1 : 50;
    int numero = numeroMostrado;
    for (int tentativa = 1;; ++tentativa) {
        try {
            Transaction tx(db);
            if (nova) {
                numero = reservarNumeroNFVenda(db, serie);
                if (numero != inteiro(c, "CODNFVENDA")) {
                    c.edit();
                    f(c, "CODNFVENDA").setValueSilently(numero);
                    c.post();
                    renumerarFilhos(numero, str(c, "CODSERIE"));
                }
            }
            TdmParametro& parametro = TdmParametro::gerarInstance();
            const QString selo = str(c, "NFV_SELO_FISCAL").trimmed();
            if (selo == parametro.seloFiscalAtual())
                parametro.avancarSeloFiscal(selo);
            for (RecordSet* rs : {m_cab.get(), m_item.get(), m_serv.get(), m_cce.get()})
                if (rs->active())
                    rs->applyUpdates(0);
            tx.commit();
            break;
        } catch (const DatabaseError& e) {
            // A new invoice only inserts rows: a conflict its apply reports comes
            // from a row another terminal holds, not from stale values.
            const bool repetir = conflitoDeTravamento(e) || (nova && dynamic_cast<const ConcurrentChangeError*>(&e));
            if (!repetir || tentativa >= tentativas)
                throw;
            QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
        }
    }
    for (RecordSet* rs : {m_cab.get(), m_item.get(), m_serv.get(), m_cce.get()}) {
        rs->setParam(QStringLiteral("CODNFVENDA"), numero);
        rs->setParam(QStringLiteral("CODSERIE"), str(c, "CODSERIE"));
    }
    NFVendaGravada gravada{numero, str(c, "CODSERIE"), nova && numero != numeroMostrado};
    if (gravada.numeroAlterado)
        Alerta(QStringLiteral("A nota fiscal foi gravada com o número %1: o número %2 já foi usado por outro terminal.")
                   .arg(numero)
                   .arg(numeroMostrado));
    return gravada;
}

} // namespace kvo
