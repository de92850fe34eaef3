#pragma once

#include "framework/services/DAcesso.h"

#include <QSet>
#include <QString>

#include <optional>

namespace kvo {

class Database;

// Users, user groups and menu rights (SEG_USUARIO, SEG_USU_GRUPO, SEG_MENU,
// SEG_ACES_GRP). The user "Administrador" may use everything.
class TdmSeguranca {
public:
    static TdmSeguranca& gerarInstance();
    TdmSeguranca();
    explicit TdmSeguranca(Database& db);

    // The user when name and password match an active user.
    std::optional<UsuarioLogado> autenticar(const QString& nome, const QString& senha);
    // True when the name and password are those of a supervisor (or of the
    // administrator).
    bool autorizarSupervisor(const QString& nome, const QString& senha);

    int criarGrupo(const QString& nome);
    int grupo(const QString& nome); // 0 when unknown
    int criarUsuario(const QString& nome, const QString& senha, const QString& grupo, bool supervisor = false);
    void alterarSenha(const QString& nome, const QString& novaSenha);
    QStringList usuarios();

    // Menu entries known to the rights screen; registering again changes nothing.
    void registrarMenu(const QString& nome, const QString& descricao);
    void concederAcesso(const QString& grupo, const QString& menu, bool acessar = true);
    // True for the administrator; otherwise when the group's row for the
    // entry says "S".
    bool getAcesso(int grupo, const QString& usuario, const QString& menu);
    // Every entry the group may use (what MenuExecute applies).
    QSet<QString> menusPermitidos(int grupo);

private:
    Database& m_db;
};

} // namespace kvo
