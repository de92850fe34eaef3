// The print service: "kvo-impressao [--home PASTA] [--config ARQ] [--instancia
// NOME]" prints the
// tickets of the manager folders and of the central queue named in
// impressao.ini until SIGTERM or SIGINT. "kvo-impressao --impressora-emulada
// PORTA --saida ARQ [--modelo M]" is a network receipt printer on a loopback
// port that writes what it receives (demo and tests).
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "printservice/ConfigImpressao.h"
#include "printservice/ImpressoraEmulada.h"
#include "printservice/ServicoImpressao.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <pthread.h>

using namespace kvo;
using namespace kvo::impressao;

namespace {

// Blocks SIGINT and SIGTERM in every thread started after this, so only
// esperarSinal receives them.
sigset_t bloquearSinais() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGINT);
    sigaddset(&s, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &s, nullptr);
    return s;
}

int esperarSinal(const sigset_t& s) {
    int sinal = 0;
    sigwait(&s, &sinal);
    return sinal;
}

int impressoraEmulada(const QStringList& args, QTextStream& out, QTextStream& err) {
    bool ok = false;
    const int porta = args.value(args.indexOf(QStringLiteral("--impressora-emulada")) + 1).toInt(&ok);
    const qsizetype iSaida = args.indexOf(QStringLiteral("--saida")), iModelo = args.indexOf(QStringLiteral("--modelo"));
    CodePage pagina = CodePage::Cp850;
    if (!ok || porta < 0 || porta > 65535 || iSaida < 0 ||
        (iModelo >= 0 && !codePageForModel(args.value(iModelo + 1), pagina))) {
        err << "uso: kvo-impressao --impressora-emulada PORTA --saida ARQUIVO [--modelo DARUMA|EPSON|ELGIN|BEMATECH]"
            << Qt::endl;
        return 2;
    }
    const sigset_t sinais = bloquearSinais();
    ImpressoraEmulada impressora(static_cast<quint16>(porta), pagina, args.value(iSaida + 1));
    out << "impressora emulada na porta " << impressora.porta() << " (" << codePageName(pagina) << "), gravando em "
        << args.value(iSaida + 1) << Qt::endl;
    esperarSinal(sinais);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout), err(stderr);
    if (args.contains(QStringLiteral("--impressora-emulada")))
        return impressoraEmulada(args, out, err);
    QString arquivo, instancia;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--home" && i + 1 < args.size())
            setProgramFolder(args[++i]);
        else if (args[i] == u"--config" && i + 1 < args.size())
            arquivo = args[++i];
        else if (args[i] == u"--instancia" && i + 1 < args.size())
            instancia = args[++i].trimmed().left(40);
        else {
            err << "uso: kvo-impressao [--home PASTA] [--config ARQUIVO] [--instancia NOME]" << Qt::endl;
            return 2;
        }
    }
    ConfigImpressao cfg;
    try {
        cfg = ConfigImpressao::ler(arquivo.isEmpty() ? ConfigImpressao::arquivoPadrao() : arquivo);
        if (!instancia.isEmpty())
            cfg.instancia = instancia;
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    const sigset_t sinais = bloquearSinais();
    const auto log = logEm(out);
    log(QStringLiteral("kvo-impressao iniciado (instância %1, pasta do programa %2)").arg(cfg.instancia, programFolder()));
    ServicoImpressao servico(
        cfg,
        [] {
            auto db = std::make_unique<Database>(ConnectionSettings::fromProgramFolder());
            db->open();
            return db;
        },
        log);
    servico.iniciar();
    const int sinal = esperarSinal(sinais);
    log(QStringLiteral("sinal %1: terminando o ticket em envio e parando").arg(sinal));
    servico.parar();
    log(QStringLiteral("kvo-impressao parado"));
    return 0;
}
