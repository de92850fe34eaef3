#include "app/DbCommand.h"

#include "app/DemoUsers.h"

#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseSetup.h"
#include "framework/db/Migrator.h"
#include "framework/db/SafeMigration.h"

namespace kvo {

namespace {

void migrate(const ConnectionSettings& s, QTextStream& out) {
    const SchemaUpdateReport report =
        SafeMigration(s).run([&](const Migration& m) { out << "aplicando " << m.name << Qt::endl; });
    for (const QString& aviso : report.avisos)
        out << "aviso: " << aviso << Qt::endl;
    out << "esquema na versão " << report.version << " (" << report.applied << " migração(ões) aplicada(s))"
        << Qt::endl;
}

} // namespace

int runDbCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString action = args.value(0);
    const QString folder = programFolder();
    try {
        if (action == QLatin1String("create")) {
            const ConnectionSettings s = setup::ensureConnectionFile(folder);
            if (setup::databaseExists(s) && s.isEmbedded())
                throw DatabaseError(QStringLiteral("O banco de dados já existe: %1 (use \"kvo db migrate\")").arg(s.path));
            setup::createDatabase(s);
            out << "banco de dados criado: " << s.target() << Qt::endl;
            migrate(s, out);
            return 0;
        }
        if (action == QLatin1String("migrate") || action == QLatin1String("version") || action == QLatin1String("demo")) {
            const ConnectionSettings s = ConnectionSettings::fromProgramFolder();
            // The demo goes into an up-to-date schema (and never into one whose
            // update was interrupted).
            if (action != QLatin1String("version"))
                migrate(s, out);
            if (action == QLatin1String("migrate"))
                return 0;
            Database db(s);
            db.open();
            if (action == QLatin1String("demo")) {
                setup::loadDemoData(db);
                carregarUsuariosDemo(db);
                out << "dados de demonstração carregados" << Qt::endl;
            } else {
                Migrator migrator(db);
                out << "banco de dados: " << s.target() << Qt::endl
                    << "versão do esquema: " << migrator.currentVersion() << Qt::endl
                    << "versão conhecida pelo programa: " << migrator.latestVersion() << Qt::endl;
            }
            return 0;
        }
        err << "uso: kvo db create|migrate|version|demo" << Qt::endl;
        return 2;
    } catch (const DatabaseError& e) {
        err << "erro: " << e.details() << Qt::endl;
        return 1;
    }
}

} // namespace kvo
