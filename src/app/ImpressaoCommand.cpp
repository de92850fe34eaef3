#include "app/ImpressaoCommand.h"

#include "app/CommandLine.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "printservice/Pendentes.h"

#include <QFileInfo>

#include <optional>

namespace kvo {

namespace {

const char* Uso = "uso: kvo impressao pendentes | reimprimir ID";

QString idade(qint64 segundos) {
    return segundos < 3600 ? QStringLiteral("%1:%2").arg(segundos / 60).arg(segundos % 60, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1h%2").arg(segundos / 3600).arg(segundos % 3600 / 60, 2, 10, QLatin1Char('0'));
}

} // namespace

int runImpressaoCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const CommandLine cl = CommandLine::parse(args);
    const QString acao = cl.positional.value(0);
    const bool pendentes = acao == u"pendentes" && cl.positional.size() == 1;
    const bool reimprimir = acao == u"reimprimir" && cl.positional.size() == 2;
    if (!cl.error.isEmpty() || (!pendentes && !reimprimir)) {
        if (!cl.error.isEmpty())
            err << "erro: " << cl.error << Qt::endl;
        err << Uso << Qt::endl;
        return 2;
    }
    try {
        // The service's folders when it is configured on this machine; the
        // queue whenever there is a database.
        impressao::ConfigImpressao cfg;
        if (QFileInfo::exists(impressao::ConfigImpressao::arquivoPadrao()))
            cfg = impressao::ConfigImpressao::ler(impressao::ConfigImpressao::arquivoPadrao());
        std::optional<Database> db;
        if (ConnectionSettings::findConnectionFile(programFolder())) {
            db.emplace(ConnectionSettings::fromProgramFolder());
            db->open();
        }
        Database* banco = db ? &*db : nullptr;
        if (reimprimir) {
            out << impressao::reimprimir(cfg, banco, cl.positional[1]) << Qt::endl;
            return 0;
        }
        const auto lista = impressao::pendentesImpressao(cfg, banco);
        if (lista.isEmpty()) {
            out << "Nenhum ticket aguardando impressão." << Qt::endl;
            return 0;
        }
        out << "ID\tESTAÇÃO\tMESA\tTÍTULO\tIDADE\tTENTATIVAS\tÚLTIMO ERRO" << Qt::endl;
        for (const auto& p : lista)
            out << p.id << '\t' << p.estacao << '\t' << p.mesa << '\t' << p.titulo << '\t' << idade(p.idadeSegundos) << '\t'
                << p.tentativas << '\t' << p.ultimoErro << Qt::endl;
        return 0;
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}

} // namespace kvo
