#include "framework/services/DSeguranca.h"

#include "core/Password.h"
#include "framework/db/RecordSet.h"
#include "framework/db/SqlText.h"
#include "framework/services/Module.h"

namespace kvo {

TdmSeguranca& TdmSeguranca::gerarInstance() { return Module::current().instance<TdmSeguranca>(); }

TdmSeguranca::TdmSeguranca() : m_db(TdmAcesso::gerarInstance().sqlCon()) {}

TdmSeguranca::TdmSeguranca(Database& db) : m_db(db) {}

std::optional<UsuarioLogado> TdmSeguranca::autenticar(const QString& nome, const QString& senha) {
    auto rs = m_db.query(QStringLiteral("select CODSEGUSUARIO, SEGU_NOME, SEGU_SENHA, SEGU_SALT, SEGU_ATIVO, "
                                        "SEGU_SUPERVISOR, coalesce(CODSEGUSUGRUPO, 0) GRUPO "
                                        "from SEG_USUARIO where upper(SEGU_NOME) = upper(:N)"),
                         {{QStringLiteral("N"), nome.trimmed()}});
    if (rs->isEmpty() || rs->field(QStringLiteral("SEGU_ATIVO")).asString() != QLatin1String("S"))
        return std::nullopt;
    if (!PasswordHash::matches(senha, rs->field(QStringLiteral("SEGU_SALT")).asString(),
                               rs->field(QStringLiteral("SEGU_SENHA")).asString()))
        return std::nullopt;
    UsuarioLogado u;
    u.codigo = int(rs->field(QStringLiteral("CODSEGUSUARIO")).asInteger());
    u.nome = rs->field(QStringLiteral("SEGU_NOME")).asString();
    u.grupo = int(rs->field(QStringLiteral("GRUPO")).asInteger());
    u.supervisor = rs->field(QStringLiteral("SEGU_SUPERVISOR")).asString() == QLatin1String("S");
    return u;
}

bool TdmSeguranca::autorizarSupervisor(const QString& nome, const QString& senha) {
    const auto u = autenticar(nome, senha);
    return u && (u->supervisor || u->isAdministrador());
}

int TdmSeguranca::grupo(const QString& nome) {
    return m_db.scalar(QStringLiteral("select CODSEGUSUGRUPO from SEG_USU_GRUPO where SEGG_NOME = :N"),
                       {{QStringLiteral("N"), nome}})
        .toInt();
}

int TdmSeguranca::criarGrupo(const QString& nome) {
    if (const int existing = grupo(nome))
        return existing;
    const int codigo = int(m_db.getGeneretor(QStringLiteral("GEN_SEG_USU_GRUPO")));
    m_db.executeSQL(QStringLiteral("insert into SEG_USU_GRUPO (CODSEGUSUGRUPO, SEGG_NOME) values (:C, :N)"),
                    {{QStringLiteral("C"), codigo}, {QStringLiteral("N"), nome}});
    return codigo;
}

int TdmSeguranca::criarUsuario(const QString& nome, const QString& senha, const QString& grupoNome, bool supervisor) {
    if (nome.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("Informe o nome do usuário."));
    const QVariant existing = m_db.scalar(QStringLiteral("select 1 from SEG_USUARIO where upper(SEGU_NOME) = upper(:N)"),
                                          {{QStringLiteral("N"), nome.trimmed()}});
    if (!existing.isNull())
        throw DatabaseError(QStringLiteral("Já existe um usuário chamado %1.").arg(nome.trimmed()));
    const int g = grupoNome.isEmpty() ? 0 : grupo(grupoNome);
    if (!grupoNome.isEmpty() && g == 0)
        throw DatabaseError(QStringLiteral("Grupo de usuários não encontrado: %1").arg(grupoNome));
    const PasswordHash hash = PasswordHash::make(senha);
    const int codigo = int(m_db.getGeneretor(QStringLiteral("GEN_SEG_USUARIO")));
    m_db.executeSQL(QStringLiteral("insert into SEG_USUARIO (CODSEGUSUARIO, SEGU_NOME, SEGU_SENHA, SEGU_SALT, SEGU_ATIVO, "
                                   "SEGU_SUPERVISOR, CODSEGUSUGRUPO) values (:C, :N, :H, :S, 'S', :SUP, :G)"),
                    {{QStringLiteral("C"), codigo},
                     {QStringLiteral("N"), nome.trimmed()},
                     {QStringLiteral("H"), hash.hash},
                     {QStringLiteral("S"), hash.salt},
                     {QStringLiteral("SUP"), supervisor ? QStringLiteral("S") : QStringLiteral("N")},
                     {QStringLiteral("G"), g ? QVariant(g) : QVariant()}});
    return codigo;
}

void TdmSeguranca::alterarSenha(const QString& nome, const QString& novaSenha) {
    const PasswordHash hash = PasswordHash::make(novaSenha);
    const int rows = m_db.executeSQL(QStringLiteral("update SEG_USUARIO set SEGU_SENHA = :H, SEGU_SALT = :S "
                                                    "where upper(SEGU_NOME) = upper(:N)"),
                                     {{QStringLiteral("H"), hash.hash}, {QStringLiteral("S"), hash.salt},
                                      {QStringLiteral("N"), nome.trimmed()}});
    if (rows == 0)
        throw DatabaseError(QStringLiteral("Usuário não encontrado: %1").arg(nome));
}

QStringList TdmSeguranca::usuarios() {
    QStringList out;
    auto rs = m_db.query(QStringLiteral("select SEGU_NOME from SEG_USUARIO where SEGU_ATIVO = 'S' order by SEGU_NOME"));
    for (rs->first(); !rs->eof(); rs->next())
        out << rs->field(0).asString();
    return out;
}

void TdmSeguranca::registrarMenu(const QString& nome, const QString& descricao) {
    const QVariant existing = m_db.scalar(QStringLiteral("select 1 from SEG_MENU where SEGM_NOME = :N"),
                                          {{QStringLiteral("N"), nome}});
    if (!existing.isNull())
        return;
    m_db.executeSQL(QStringLiteral("insert into SEG_MENU (CODSEGMENU, SEGM_NOME, SEGM_DESCRICAO) values (:C, :N, :D)"),
                    {{QStringLiteral("C"), m_db.getGeneretor(QStringLiteral("GEN_SEG_MENU"))},
                     {QStringLiteral("N"), nome},
                     {QStringLiteral("D"), descricao.left(100)}});
}

void TdmSeguranca::concederAcesso(const QString& grupoNome, const QString& menu, bool acessar) {
    const int g = grupo(grupoNome);
    const QVariant m = m_db.scalar(QStringLiteral("select CODSEGMENU from SEG_MENU where SEGM_NOME = :N"),
                                   {{QStringLiteral("N"), menu}});
    if (g == 0 || m.isNull())
        throw DatabaseError(QStringLiteral("Grupo ou menu não cadastrado: %1 / %2").arg(grupoNome, menu));
    const QString flag = acessar ? QStringLiteral("S") : QStringLiteral("N");
    const int rows = m_db.executeSQL(QStringLiteral("update SEG_ACES_GRP set SEGA_ACESSAR = :A where CODSEGMENU = :M and CODSEGUSUGRUPO = :G"),
                                     {{QStringLiteral("A"), flag}, {QStringLiteral("M"), m}, {QStringLiteral("G"), g}});
    if (rows == 0)
        m_db.executeSQL(QStringLiteral("insert into SEG_ACES_GRP (CODSEGACESGRP, CODSEGMENU, CODSEGUSUGRUPO, SEGA_ACESSAR) "
                                       "values (:C, :M, :G, :A)"),
                        {{QStringLiteral("C"), m_db.getGeneretor(QStringLiteral("GEN_SEG_ACES_GRP"))},
                         {QStringLiteral("M"), m},
                         {QStringLiteral("G"), g},
                         {QStringLiteral("A"), flag}});
}

bool TdmSeguranca::getAcesso(int grupoCodigo, const QString& usuario, const QString& menu) {
    if (usuario == QLatin1String("Administrador"))
        return true;
    const QString sql = QStringLiteral(" SELECT    SEG_ACES_GRP.SEGA_ACESSAR,    SEG_USU_GRUPO.CODSEGUSUGRUPO  FROM    SEG_MENU"
                                       "    INNER JOIN SEG_ACES_GRP  ON (SEG_MENU.CODSEGMENU = SEG_ACES_GRP.CODSEGMENU)"
                                       "    INNER JOIN SEG_USU_GRUPO ON (SEG_ACES_GRP.CODSEGUSUGRUPO = SEG_USU_GRUPO.CODSEGUSUGRUPO) "
                                       " WHERE    SEG_MENU.SEGM_NOME = ") +
                        quotedStr(menu) + QStringLiteral(" AND ") + QStringLiteral("   SEG_USU_GRUPO.CODSEGUSUGRUPO = ") +
                        QString::number(grupoCodigo);
    auto rs = m_db.query(sql);
    for (rs->first(); !rs->eof(); rs->next())
        if (rs->field(0).asString() == QLatin1String("S"))
            return true;
    return false;
}

QSet<QString> TdmSeguranca::menusPermitidos(int grupoCodigo) {
    QSet<QString> out;
    auto rs = m_db.query(QStringLiteral("select m.SEGM_NOME from SEG_MENU m join SEG_ACES_GRP a on a.CODSEGMENU = m.CODSEGMENU "
                                        "where a.CODSEGUSUGRUPO = :G and a.SEGA_ACESSAR = 'S'"),
                         {{QStringLiteral("G"), grupoCodigo}});
    for (rs->first(); !rs->eof(); rs->next())
        out.insert(rs->field(0).asString());
    return out;
}

} // namespace kvo
