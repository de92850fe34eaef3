#include "framework/services/DCaixaAbertura.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

TdmCaixaAbertura& TdmCaixaAbertura::gerarInstance() { return Module::current().instance<TdmCaixaAbertura>(); }

TdmCaixaAbertura::TdmCaixaAbertura()
    : m_db(TdmAcesso::gerarInstance().sqlCon()), m_trabalhaAbertura(TdmAcesso::gerarInstance().getTrabalhaAbertura()) {}

TdmCaixaAbertura::TdmCaixaAbertura(Database& db, bool trabalhaAbertura) : m_db(db), m_trabalhaAbertura(trabalhaAbertura) {}

std::optional<CaixaAberto> TdmCaixaAbertura::caixaAberto() {
    auto rs = m_db.query(QStringLiteral("select first 1 CODCAIXAABERTURA, CXA_DATA, CXA_VALOR_INICIAL, CXA_USUARIO "
                                        "from CAIXA_ABERTURA where CXA_STATUS = 'ABERTO' order by CODCAIXAABERTURA desc"));
    if (rs->isEmpty())
        return std::nullopt;
    return CaixaAberto{int(rs->field(0).asInteger()), rs->field(1).asDate(), rs->field(2).asCurrency(),
                       rs->field(3).asString()};
}

bool TdmCaixaAbertura::offerToOpen(bool perguntar) {
    if (!perguntar || !abrirInterativo)
        return false;
    if (!Confirma(QStringLiteral("Não há caixa aberto. Deseja abrir o caixa agora?")))
        return false;
    return abrirInterativo() && caixaAberto().has_value();
}

QDate TdmCaixaAbertura::getDataAbertura(bool perguntar) {
    if (!m_trabalhaAbertura)
        return Clock::today();
    if (auto aberto = caixaAberto())
        return aberto->data;
    if (offerToOpen(perguntar))
        return caixaAberto()->data;
    Error(QStringLiteral("Não há caixa aberto. Abra o caixa antes de continuar."));
}

int TdmCaixaAbertura::verificarCaixaAberto(bool perguntar) {
    if (auto aberto = caixaAberto())
        return aberto->codigo;
    if (offerToOpen(perguntar))
        return caixaAberto()->codigo;
    return 0;
}

int TdmCaixaAbertura::abrir(const QDate& data, Currency valorInicial, const QString& usuario) {
    if (!data.isValid())
        throw DatabaseError(QStringLiteral("Informe a data de abertura do caixa."));
    if (valorInicial < Currency())
        throw DatabaseError(QStringLiteral("O valor inicial do caixa não pode ser negativo."));
    auto jaAberto = [](const CaixaAberto& aberto) {
        return DatabaseError(QStringLiteral("Já existe um caixa aberto (%1, aberto por %2).")
                                 .arg(formatDateTime(u"dd/mm/yyyy", aberto.data), aberto.usuario));
    };
    Transaction tx(m_db);
    if (auto aberto = caixaAberto())
        throw jaAberto(*aberto);
    const int codigo = int(m_db.getGeneretor(QStringLiteral("GEN_CAIXA_ABERTURA")));
    try {
        // The unique index on the open opening decides between terminals opening at the same moment.
        m_db.executeSQL(QStringLiteral("insert into CAIXA_ABERTURA (CODCAIXAABERTURA, CXA_DATA, CXA_VALOR_INICIAL, "
                                       "CXA_STATUS, CXA_USUARIO, CXA_DT_ABERTURA) values (:C, :D, :V, 'ABERTO', :U, :T)"),
                        {{QStringLiteral("C"), codigo},
                         {QStringLiteral("D"), data},
                         {QStringLiteral("V"), QVariant::fromValue(valorInicial)},
                         {QStringLiteral("U"), usuario.left(60)},
                         {QStringLiteral("T"), Clock::now()}});
        tx.commit();
    } catch (const DatabaseError& e) {
        if (e.kind() != DatabaseError::Kind::UniqueKey)
            throw;
        tx.rollback();
        // Seen from a fresh transaction unless a caller's one is still open.
        if (auto aberto = m_db.inTransaction() ? std::nullopt : caixaAberto())
            throw jaAberto(*aberto);
        throw DatabaseError(QStringLiteral("Já existe um caixa aberto: outro terminal acabou de abri-lo."));
    }
    return codigo;
}

void TdmCaixaAbertura::fechar(Currency valorFechamento) {
    const auto aberto = caixaAberto();
    if (!aberto)
        throw DatabaseError(QStringLiteral("Não há caixa aberto para fechar."));
    // Only the opening we saw: another terminal may have closed it meanwhile.
    const int rows = m_db.executeSQL(QStringLiteral("update CAIXA_ABERTURA set CXA_STATUS = 'FECHADO', CXA_DT_FECHAMENTO = :T, "
                                                    "CXA_VALOR_FECHAMENTO = :V where CODCAIXAABERTURA = :C and CXA_STATUS = 'ABERTO'"),
                                     {{QStringLiteral("T"), Clock::now()},
                                      {QStringLiteral("V"), QVariant::fromValue(valorFechamento)},
                                      {QStringLiteral("C"), aberto->codigo}});
    if (rows == 0)
        throw ConcurrentChangeError(QStringLiteral("O caixa já foi fechado por outro terminal."));
}

} // namespace kvo
