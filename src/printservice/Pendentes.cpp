#include "printservice/Pendentes.h"

#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "printservice/FontePasta.h"

#include <QDateTime>

#include <stdexcept>

namespace kvo::impressao {

QList<Pendente> pendentesFila(Database& db) {
    QList<Pendente> lista;
    auto rs = db.query(QStringLiteral(
        "select CODRESIMPRESSAO, IMP_CENTRALIZADOR, CODCONTROLE, IMP_TITULO, IMP_ULTIMO_ERRO, IMP_TENTATIVAS, "
        "datediff(second from IMP_DATA to current_timestamp) as IDADE from RES_IMPRESSAO "
        "where IMP_STATUS in ('PENDENTE', 'IMPRIMINDO') order by CODRESIMPRESSAO"));
    for (rs->first(); !rs->eof(); rs->next())
        lista << Pendente{rs->field(QStringLiteral("CODRESIMPRESSAO")).asString(),
                          rs->field(QStringLiteral("IMP_CENTRALIZADOR")).asString(),
                          static_cast<int>(rs->field(QStringLiteral("CODCONTROLE")).asInteger()),
                          rs->field(QStringLiteral("IMP_TITULO")).asString(),
                          rs->field(QStringLiteral("IDADE")).asInteger(),
                          rs->field(QStringLiteral("IMP_ULTIMO_ERRO")).asString(),
                          static_cast<int>(rs->field(QStringLiteral("IMP_TENTATIVAS")).asInteger())};
    return lista;
}

QList<Pendente> pendentesPasta(const QString& estacao, const QString& pasta) {
    QList<Pendente> lista;
    const QDateTime agora = QDateTime::currentDateTime();
    for (const FontePasta::Aguardando& a : FontePasta(pasta, QString(), 0).aguardando())
        lista << Pendente{a.nome, estacao, mesaDoTexto(a.texto), a.nome, std::max<qint64>(0, a.criado.secsTo(agora)),
                          a.ultimoErro, a.tentativas};
    return lista;
}

QList<Pendente> pendentesImpressao(const ConfigImpressao& cfg, Database* db) {
    QList<Pendente> lista;
    for (const EstacaoServico& e : cfg.estacoes)
        if (!e.pasta.isEmpty())
            lista += pendentesPasta(e.nome, e.pasta);
    if (db)
        lista += pendentesFila(*db);
    return lista;
}

QStringList estacoesComAtraso(const QList<Pendente>& pendentes, int segundos) {
    QStringList estacoes;
    for (const Pendente& p : pendentes)
        if (p.idadeSegundos > segundos && !estacoes.contains(p.estacao))
            estacoes << p.estacao;
    return estacoes;
}

QStringList estacoesComAtraso(Database& db, int segundos) {
    QStringList estacoes;
    auto rs = db.query(QStringLiteral("select distinct IMP_CENTRALIZADOR from RES_IMPRESSAO "
                                      "where IMP_STATUS in ('PENDENTE', 'IMPRIMINDO') "
                                      "and IMP_DATA < dateadd(%1 second to current_timestamp) order by 1")
                           .arg(-std::abs(segundos)));
    for (rs->first(); !rs->eof(); rs->next())
        estacoes << rs->field(0).asString();
    return estacoes;
}

QString reimprimir(const ConfigImpressao& cfg, Database* db, const QString& id) {
    bool numero = false;
    const qint64 codigo = id.toLongLong(&numero);
    if (numero) {
        if (!db)
            throw std::runtime_error("Banco de dados não disponível para reimprimir um ticket da fila.");
        Transaction tr(*db);
        const int n = db->executeSQL(QStringLiteral("update RES_IMPRESSAO set IMP_STATUS = 'PENDENTE', IMP_REIMPRESSAO = 'S', "
                                                    "IMP_TENTATIVAS = 0, IMP_PRIMEIRA_FALHA = null, IMP_ULTIMO_ERRO = null "
                                                    "where CODRESIMPRESSAO = :ID and IMP_STATUS = 'IMPRESSO'"),
                                     {{QStringLiteral("ID"), codigo}});
        tr.commit();
        if (n == 1)
            return QStringLiteral("Ticket %1 voltou para a fila como REIMPRESSÃO.").arg(codigo);
        const QVariant status = db->scalar(QStringLiteral("select IMP_STATUS from RES_IMPRESSAO where CODRESIMPRESSAO = :ID"),
                                           {{QStringLiteral("ID"), codigo}});
        if (status.isNull())
            throw std::runtime_error(QStringLiteral("Ticket %1 não encontrado.").arg(codigo).toStdString());
        throw std::runtime_error(QStringLiteral("O ticket %1 ainda não foi impresso.").arg(codigo).toStdString());
    }
    for (const EstacaoServico& e : cfg.estacoes) {
        if (e.pasta.isEmpty())
            continue;
        try {
            const QString novo = FontePasta(e.pasta, QString(), 0).reimprimir(id);
            return QStringLiteral("Ticket %1 enviado de novo para %2 como REIMPRESSÃO (%3).").arg(id, e.nome, novo);
        } catch (const std::runtime_error&) {
        }
    }
    throw std::runtime_error(QStringLiteral("Ticket %1 não encontrado.").arg(id).toStdString());
}

} // namespace kvo::impressao
