#include "app/AdminCommand.h"

#include "app/CommandLine.h"
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
    const bool add = action == QLatin1String("add");
    const CommandLine cl = add ? CommandLine::parse(args.mid(1), {QStringLiteral("grupo")}, {QStringLiteral("supervisor")})
                               : CommandLine::parse(args.mid(1));
    // The password comes from KVO_SENHA when not given, so it need not appear in the shell history.
    const QString password = cl.positional.size() >= 2 ? cl.positional[1] : qEnvironmentVariable("KVO_SENHA");
    const bool known = (add || action == QLatin1String("passwd")) && cl.error.isEmpty() &&
                       (cl.positional.size() == 1 || cl.positional.size() == 2) && !password.isEmpty();
    if (!known) {
        if (!cl.error.isEmpty())
            err << "erro: " << cl.error << Qt::endl;
        err << "uso: kvo user add NOME SENHA [--grupo GRUPO] [--supervisor] | passwd NOME SENHA" << Qt::endl
            << "     (a senha pode vir da variável KVO_SENHA)" << Qt::endl;
        return 2;
    }
    const QString nome = cl.positional[0];
    return withDatabase(err, [&](Database& db) {
        TdmSeguranca seg(db);
        if (add) {
            const QString grupo = cl.values.value(QStringLiteral("grupo"));
            if (!grupo.isEmpty())
                seg.criarGrupo(grupo);
            seg.criarUsuario(nome, password, grupo, cl.switches.contains(QStringLiteral("supervisor")));
            out << "usuário criado: " << nome << Qt::endl;
        } else {
            seg.alterarSenha(nome, password);
            out << "senha alterada: " << nome << Qt::endl;
        }
        return 0;
    });
}

} // namespace kvo
