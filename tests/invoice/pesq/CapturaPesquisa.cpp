// Renders the invoice search on a program folder's database into a PNG
// (scripts/screenshots-nfvenda-pesq), or opens that database's cash register
// so the demo's invoices can be posted from the command line first.
#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/Module.h"
#include "invoice/pesq/UConsultaNFVendaDevolucao.h"
#include "invoice/pesq/UNFVenda_Pesq.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLocale>
#include <QTableView>

#include <cstdio>

using namespace kvo;

namespace {

int usar() {
    std::fprintf(stderr, "uso: kvo_captura_nfvenda_pesq --home PASTA (--abrir-caixa | --saida PASTA)\n");
    return 2;
}

void capturar(TrepPadraoPesquisa& tela, const QString& arquivo) {
    tela.resize(1366, 768);
    tela.show();
    tela.findChild<QCheckBox*>(QStringLiteral("chkListarTodos"))->setChecked(true);
    auto* grade = tela.findChild<QTableView*>(QStringLiteral("dbgPesquisa"));
    grade->setFocus();
    QApplication::processEvents();
    if (!tela.grab().save(arquivo))
        throw std::runtime_error("não foi possível gravar " + arquivo.toStdString());
    std::printf("%s\n", qPrintable(arquivo));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype iHome = args.indexOf(QStringLiteral("--home"));
    if (iHome < 0 || iHome + 1 >= args.size())
        return usar();
    const QString home = QDir(args[iHome + 1]).absolutePath();
    try {
        setProgramFolder(home);
        Module module;
        TdmAcesso& acesso = TdmAcesso::gerarInstance();
        acesso.conectarBaseDeDados(QDir(home).filePath(QStringLiteral("KVOGestao.ini")));
        acesso.setUsuario(UsuarioLogado{1, QStringLiteral("Administrador")});
        if (args.contains(QStringLiteral("--abrir-caixa"))) {
            TdmCaixaAbertura& caixa = TdmCaixaAbertura::gerarInstance();
            if (!caixa.caixaAberto())
                caixa.abrir(Clock::today(), Currency(), QStringLiteral("caixa"));
            return 0;
        }
        const qsizetype iSaida = args.indexOf(QStringLiteral("--saida"));
        if (iSaida < 0 || iSaida + 1 >= args.size())
            return usar();
        const QDir saida(args[iSaida + 1]);
        QDir().mkpath(saida.path());
        TfrmNFVenda_Pesq pesquisa;
        capturar(pesquisa, saida.filePath(QStringLiteral("nfvenda-pesq.png")));
        pesquisa.hide();
        TfrmConsultaNFVendaDevolucao devolucao;
        capturar(devolucao, saida.filePath(QStringLiteral("nfvenda-devolucao.png")));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
