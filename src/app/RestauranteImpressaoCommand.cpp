#include "app/RestauranteImpressaoCommand.h"

#include "app/CommandLine.h"
#include "app/StreamUserInterface.h"
#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseError.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "registers/DECF.h"
#include "restaurant/impressao/ConferenciaMesa.h"
#include "restaurant/impressao/DResPedidoImpressao.h"

#include <QDir>

namespace kvo {

namespace {

const char* Uso = "uso: kvo restaurante conferencia MESA | ticket-teste COZINHA|BAR|PIZZARIA|CHURRASQUEIRA";

int conferencia(Database& db, TdmConfiguracao& cfg, int mesa, QTextStream& out, QTextStream& err) {
    TdmECF ecf(db, QDir(programFolder()).filePath(QStringLiteral("ecf")));
    if (!ecf.Ativo()) {
        err << "Impressora (ECF) não disponível!";
        if (!ecf.motivoInativo().isEmpty())
            err << ' ' << ecf.motivoInativo();
        err << Qt::endl;
        return 1;
    }
    try {
        const ConferenciaResultado r = ConferenciaMesa(db, cfg, mesa, ecf.ead(), ecf.ecf());
        out << "Pedido: " << r.codPedido << Qt::endl
            << "PED_COO: " << r.coo << Qt::endl
            << "PED_NUMECF: " << r.numEcf << Qt::endl
            << "PED_CER: " << r.cer << Qt::endl
            << "PED_MD5: " << r.md5 << Qt::endl;
        return 0;
    } catch (const ConferenciaNaoGravada& e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}

int ticketTeste(Database& db, TdmConfiguracao& cfg, Estacao estacao, QTextStream& out, QTextStream& err) {
    TdmResPedidoImpressao dm(db, cfg, usuarioDoTerminal());
    QStringList linhas;
    dm.imprimirDetalhe(estacao, linhas, false, false, 0, QStringLiteral("0"), 0, QStringLiteral("NORMAL"), 0,
                       QStringLiteral("0"), QStringLiteral("TESTE DE IMPRESSAO"), QStringLiteral("1"),
                       QStringLiteral("Impressora: ") + dm.impressora(estacao), 0, nullptr, {});
    const QString onde = dm.imprimirFinal(estacao, linhas, 0, QStringLiteral("TESTE DE IMPRESSAO"));
    if (onde.isEmpty()) {
        err << "O ticket de teste não foi impresso." << Qt::endl;
        return 1;
    }
    out << "Ticket de teste de " << estacaoInfo(estacao).nome << " enviado para: " << onde << Qt::endl;
    return 0;
}

} // namespace

bool ehComandoRestauranteImpressao(const QString& acao) {
    return acao == QLatin1String("conferencia") || acao == QLatin1String("ticket-teste");
}

int runRestauranteImpressaoCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const CommandLine cl = CommandLine::parse(args);
    const QString acao = cl.positional.value(0);
    if (!cl.error.isEmpty() || cl.positional.size() != 2 || !ehComandoRestauranteImpressao(acao)) {
        if (!cl.error.isEmpty())
            err << "erro: " << cl.error << Qt::endl;
        err << Uso << Qt::endl;
        return 2;
    }
    const QString valor = cl.positional[1];
    bool ok = false;
    const int mesa = valor.toInt(&ok);
    const auto estacao = estacaoPorNome(valor);
    if (acao == QLatin1String("conferencia") && (!ok || mesa <= 0)) {
        err << "Número de mesa inválido: " << valor << Qt::endl;
        return 2;
    }
    if (acao == QLatin1String("ticket-teste") && !estacao) {
        err << "Estação desconhecida: " << valor << " (COZINHA, BAR, PIZZARIA ou CHURRASQUEIRA)" << Qt::endl;
        return 2;
    }
    StreamUserInterface ui(err);
    try {
        Database db(ConnectionSettings::fromProgramFolder());
        db.open();
        TdmConfiguracao cfg(db);
        cfg.registrarChaves();
        return acao == QLatin1String("conferencia") ? conferencia(db, cfg, mesa, out, err)
                                                    : ticketTeste(db, cfg, *estacao, out, err);
    } catch (const Abort&) {
        return 1; // already told through the interface
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace kvo
