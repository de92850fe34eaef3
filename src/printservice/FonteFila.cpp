#include "printservice/FonteFila.h"

#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"

namespace kvo::impressao {

FonteFila::FonteFila(Database& db, QString centralizador, QString instancia, int expiraSegundos)
    : m_db(db), m_centralizador(std::move(centralizador)), m_instancia(std::move(instancia)), m_expira(expiraSegundos) {}

void FonteFila::recuperar() {
    Transaction tr(m_db);
    m_db.executeSQL(QStringLiteral("update RES_IMPRESSAO set IMP_STATUS = 'PENDENTE', IMP_REIMPRESSAO = 'S' "
                                   "where IMP_STATUS = 'IMPRIMINDO' and IMP_CENTRALIZADOR = :C and "
                                   "(IMP_INSTANCIA = :I or IMP_DATA_REIVINDICADO < dateadd(%1 second to current_timestamp))")
                        .arg(-m_expira),
                    {{QStringLiteral("C"), m_centralizador}, {QStringLiteral("I"), m_instancia}});
    tr.commit();
}

std::optional<Ticket> FonteFila::reivindicar() {
    auto rs = m_db.query(QStringLiteral(
                             "select first 1 CODRESIMPRESSAO, CODCONTROLE, IMP_TITULO, IMP_TEXTO, IMP_REIMPRESSAO, "
                             "IMP_TENTATIVAS, datediff(second from IMP_PRIMEIRA_FALHA to current_timestamp) as FALHANDO "
                             "from RES_IMPRESSAO where IMP_STATUS = 'PENDENTE' and IMP_CENTRALIZADOR = :C "
                             "order by CODRESIMPRESSAO"),
                         {{QStringLiteral("C"), m_centralizador}});
    rs->first();
    if (rs->eof())
        return std::nullopt;
    Ticket t;
    const qint64 id = rs->field(QStringLiteral("CODRESIMPRESSAO")).asInteger();
    t.id = QString::number(id);
    t.mesa = static_cast<int>(rs->field(QStringLiteral("CODCONTROLE")).asInteger());
    t.titulo = rs->field(QStringLiteral("IMP_TITULO")).asString();
    t.texto = rs->field(QStringLiteral("IMP_TEXTO")).asString();
    t.reimpressao = rs->field(QStringLiteral("IMP_REIMPRESSAO")).asString() == u"S";
    t.tentativas = static_cast<int>(rs->field(QStringLiteral("IMP_TENTATIVAS")).asInteger());
    const auto& falhando = rs->field(QStringLiteral("FALHANDO"));
    if (!falhando.isNull())
        t.falhandoHaSegundos = static_cast<int>(falhando.asInteger());
    rs.reset();
    try {
        Transaction tr(m_db);
        const int n = m_db.executeSQL(QStringLiteral("update RES_IMPRESSAO set IMP_STATUS = 'IMPRIMINDO', IMP_INSTANCIA = :I, "
                                                     "IMP_DATA_REIVINDICADO = current_timestamp "
                                                     "where CODRESIMPRESSAO = :ID and IMP_STATUS = 'PENDENTE'"),
                                      {{QStringLiteral("I"), m_instancia}, {QStringLiteral("ID"), id}});
        tr.commit();
        if (n != 1)
            return std::nullopt;
    } catch (const DatabaseError& e) {
        if (e.kind() == DatabaseError::Kind::LockConflict)
            return std::nullopt; // another instance claimed it at the same moment
        throw;
    }
    return t;
}

void FonteFila::impresso(const Ticket& t, const QString& impressora) {
    Transaction tr(m_db);
    m_db.executeSQL(QStringLiteral("update RES_IMPRESSAO set IMP_STATUS = 'IMPRESSO', IMP_DATA_IMPRESSO = current_timestamp, "
                                   "IMP_IMPRESSORA = :P, IMP_VIAS = coalesce(IMP_VIAS, 0) + 1, IMP_ULTIMO_ERRO = null "
                                   "where CODRESIMPRESSAO = :ID and IMP_STATUS = 'IMPRIMINDO' and IMP_INSTANCIA = :I"),
                    {{QStringLiteral("P"), impressora.left(100)},
                     {QStringLiteral("ID"), t.id.toLongLong()},
                     {QStringLiteral("I"), m_instancia}});
    tr.commit();
}

void FonteFila::falhou(const Ticket& t, const QString& erro, bool incerto) {
    Transaction tr(m_db);
    m_db.executeSQL(QStringLiteral("update RES_IMPRESSAO set IMP_STATUS = 'PENDENTE', IMP_TENTATIVAS = coalesce(IMP_TENTATIVAS, 0) + 1, "
                                   "IMP_ULTIMO_ERRO = :E, IMP_PRIMEIRA_FALHA = coalesce(IMP_PRIMEIRA_FALHA, current_timestamp)"
                                   "%1 where CODRESIMPRESSAO = :ID and IMP_STATUS = 'IMPRIMINDO' and IMP_INSTANCIA = :I")
                        .arg(incerto ? QStringLiteral(", IMP_REIMPRESSAO = 'S'") : QString()),
                    {{QStringLiteral("E"), erro.left(200)},
                     {QStringLiteral("ID"), t.id.toLongLong()},
                     {QStringLiteral("I"), m_instancia}});
    tr.commit();
}

} // namespace kvo::impressao
