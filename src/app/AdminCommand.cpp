#include "app/AdminCommand.h"

#include "framework/db/Database.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/DSeguranca.h"

namespace kvo {

namespace {

// Opens the configured database for one command; errors become exit code 1.
template <class Body>
int withDatabase(QTextStream& err, Body&& body) {
    try {
        Database db(ConnectionSettings::fromProgramFolder());
        db.open();
        return body(db);
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace

int runConfigCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString action = args.value(0);
    const bool known = (action == QLatin1String("list") && args.size() <= 2) ||
                       (action == QLatin1String("get") && args.size() == 2) ||
                       (action == QLatin1String("set") && args.size() == 3);
    if (!known) {
        err << "uso: kvo config list [GRUPO] | get CHAVE | set CHAVE VALOR" << Qt::endl;
        return 2;
    }
    return withDatabase(err, [&](Database& db) {
        TdmConfiguracao cfg(db);
        cfg.registrarChaves(); // as the screens do at start-up
        if (action == QLatin1String("list")) {
            for (const auto& p : cfg.listar(args.value(1)))
                out << p.grupo << '\t' << p.chave << '\t' << p.tipo << '\t' << p.valor << '\t' << p.descricao << Qt::endl;
        } else if (action == QLatin1String("get")) {
            out << cfg.getStr(args[1]) << Qt::endl;
        } else {
            cfg.setValor(args[1], args[2]);
            out << args[1].toUpper() << " = " << args[2] << Qt::endl;
        }
        return 0;
    });
}

int runUserCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString action = args.value(0);
    // The password comes from KVO_SENHA when not given, so it need not appear in the shell history.
    const QString password = args.size() >= 3 ? args[2] : qEnvironmentVariable("KVO_SENHA");
    if ((action != QLatin1String("add") && action != QLatin1String("passwd")) || args.size() < 2 || password.isEmpty()) {
        err << "uso: kvo user add NOME SENHA [--grupo GRUPO] [--supervisor] | passwd NOME SENHA" << Qt::endl
            << "     (a senha pode vir da variável KVO_SENHA)" << Qt::endl;
        return 2;
    }
    return withDatabase(err, [&](Database& db) {
        TdmSeguranca seg(db);
        if (action == QLatin1String("add")) {
            const qsizetype g = args.indexOf(QStringLiteral("--grupo"));
            const QString grupo = g > 0 ? args.value(g + 1) : QString();
            if (!grupo.isEmpty())
                seg.criarGrupo(grupo);
            seg.criarUsuario(args[1], password, grupo, args.contains(QStringLiteral("--supervisor")));
            out << "usuário criado: " << args[1] << Qt::endl;
        } else {
            seg.alterarSenha(args[1], password);
            out << "senha alterada: " << args[1] << Qt::endl;
        }
        return 0;
    });
}

} // namespace kvo
