// The administration command: prepares and inspects a shop's database
// without the screens. "kvo [--home DIR] db create|migrate|version|demo".
#include "app/AdminCommand.h"
#include "app/DbCommand.h"
#include "app/ExtratoCommand.h"
#include "app/ImpressaoCommand.h"
#include "app/ImportCommand.h"
#include "app/NFVendaCommand.h"
#include "app/RestauranteCommand.h"
#include "app/RestauranteImpressaoCommand.h"
#include "core/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#ifdef KVO_WITH_NFE
#include "nfe/NFeCommand.h"
#endif

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout), err(stderr);
    if (args.size() >= 2 && args[0] == QLatin1String("--home")) {
        kvo::setProgramFolder(args[1]);
        args = args.mid(2);
    }
    const QString command = args.value(0);
    if (command == QLatin1String("db")) {
        QCoreApplication app(argc, argv);
        return kvo::runDbCommand(args.mid(1), out, err);
    }
    if (command == QLatin1String("import")) {
        QCoreApplication app(argc, argv);
        return kvo::runImportCommand(args.mid(1), out, err);
    }
    if (command == QLatin1String("config") || command == QLatin1String("user")) {
        QCoreApplication app(argc, argv);
        return command == QLatin1String("config") ? kvo::runConfigCommand(args.mid(1), out, err)
                                                  : kvo::runUserCommand(args.mid(1), out, err);
    }
    if (command == QLatin1String("nfvenda")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen"); // DANFEs are drawn without a screen
        QGuiApplication app(argc, argv);
        return kvo::runNFVendaCommand(args.mid(1), out, err);
    }
    if (command == QLatin1String("restaurante") && kvo::ehComandoRestaurantePedido(args.value(1))) {
        QCoreApplication app(argc, argv);
        return kvo::runRestaurantePedidoCommand(args.mid(1), out, err);
    }
    if (command == QLatin1String("restaurante") && kvo::ehComandoRestauranteImpressao(args.value(1))) {
        QCoreApplication app(argc, argv);
        return kvo::runRestauranteImpressaoCommand(args.mid(1), out, err);
    }
    if ((command == QLatin1String("restaurante") || command == QLatin1String("pedido")) &&
        args.value(1) == QLatin1String("extrato")) {
        QCoreApplication app(argc, argv);
        QFile saida;
        saida.open(stdout, QIODevice::WriteOnly);
        return command == QLatin1String("pedido") ? kvo::runExtratoPedidoCommand(args.mid(1), saida, err)
                                                  : kvo::runExtratoRestauranteCommand(args.mid(1), saida, err);
    }
    if (command == QLatin1String("impressao")) {
        QCoreApplication app(argc, argv);
        return kvo::runImpressaoCommand(args.mid(1), out, err);
    }
#ifdef KVO_WITH_NFE
    if (command == QLatin1String("nfe")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen"); // the DANFE is drawn without a screen
        QGuiApplication app(argc, argv);
        return kvo::nfe::runNfeCommand(args.mid(1), out, err);
    }
#endif
    err << "uso: kvo [--home PASTA] db create|migrate|version|demo" << Qt::endl
        << "     kvo config list [GRUPO] | get CHAVE | set CHAVE VALOR" << Qt::endl
        << "     kvo user add NOME SENHA [--grupo GRUPO] [--supervisor] | passwd NOME SENHA" << Qt::endl
        << "     kvo import products|persons ARQUIVO.csv" << Qt::endl
        << "     kvo nfvenda importar ARQ.json [...] [--nao-alterar-cfop] | mostrar NUMERO SERIE [--json] | recalcular NUMERO SERIE | xml NUMERO SERIE [--out ARQ] [--assinar] | transmitir|consultar|danfe|email|cancelar|cce NUMERO SERIE ... | inutilizar --csv ARQ" << Qt::endl
        << "     kvo restaurante lancar MESA ARQ.json [--garcom N] | cancelar-item PEDIDO ITEM QTDE [--motivo T]"
        << Qt::endl
        << "     kvo restaurante conferencia MESA | ticket-teste ESTACAO" << Qt::endl
        << "     kvo restaurante extrato MESA [--saida ARQ] [--marcar]" << Qt::endl
        << "     kvo pedido extrato PEDIDO [--entrega|--balcao N] [--saida ARQ]" << Qt::endl
        << "     kvo impressao pendentes | reimprimir ID" << Qt::endl
#ifdef KVO_WITH_NFE
        << "     kvo nfe validate|sign|danfe|chave|cert|status|consultar|inutilizar ..." << Qt::endl
#endif
        ;
    return 2;
}
