// Pictures of the invoice screen and the item screen at 1366x768 on the
// database of the program folder ($KVO_HOME, the demo's): a new invoice of the
// demo customer with two drinks, typed through the data module and dropped
// at the end. `kvo_nfvenda_telas_imagens PASTA_SAIDA`.
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/UNFVenda.h"
#include "invoice/ui/UNFVendaItem.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTest>

#include <cstdio>

using namespace kvo;

namespace {
bool salvar(QWidget& tela, const QString& arquivo) {
    tela.resize(1366, 768);
    tela.show();
    QTest::qWait(100);
    return tela.grab().save(arquivo);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: kvo_nfvenda_telas_imagens PASTA_SAIDA\n");
        return 2;
    }
    const QString saida = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(saida);
    test::ScriptedUi ui;
    Module module;
    try {
        TdmAcesso& acesso = TdmAcesso::gerarInstance();
        acesso.conectarBaseDeDados(QDir(qEnvironmentVariable("KVO_HOME")).filePath(QStringLiteral("KVOGestao.ini")));
        Database& db = acesso.sqlCon();
        // The demo works with openings: a day open for the picture.
        if (db.scalar(QStringLiteral("select first 1 1 from CAIXA_ABERTURA where CXA_STATUS = 'ABERTO'")).isNull())
            db.executeSQL(QStringLiteral("insert into CAIXA_ABERTURA (CODCAIXAABERTURA, CXA_DATA, CXA_STATUS) values "
                                         "(gen_id(GEN_CAIXA_ABERTURA, 1), current_date, 'ABERTO')"));
        TdmNFVenda& dm = TdmNFVenda::gerarInstance();
        dm.novaNFVenda();
        const std::pair<const char*, const char*> cabecalho[] = {
            {"CODSERIE", "1"}, {"CODPESSOA", "2"}, {"CODCFOP", "5102"}, {"CODFORMAPAGAMENTO", "1"}, {"NFV_TP_FRETE", "CIF"}};
        for (const auto& [campo, valor] : cabecalho)
            dm.setValorCampo(dm.cdsNFVenda(), QString::fromLatin1(campo), QString::fromLatin1(valor));
        for (const auto& [codigo, qtde] : {std::pair{"2001", "12"}, std::pair{"2003", "24"}}) {
            dm.novoItem();
            dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("CODPESQUISA"), QString::fromLatin1(codigo));
            dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("NFVI_QTDE_UND"), QString::fromLatin1(qtde));
            dm.gravarItem();
        }
        bool ok = true;
        {
            TfrmNFVenda tela;
            ok = salvar(tela, QDir(saida).filePath(QStringLiteral("nfvenda.png"))) && ok;
            dm.cdsNFVendaItem().first();
            dm.editarItem();
            TfrmNFVendaItem item;
            ok = salvar(item, QDir(saida).filePath(QStringLiteral("nfvenda-item.png"))) && ok;
            dm.cdsNFVendaItem().cancel();
        }
        dm.cancelarNFVenda();
        for (const auto& m : ui.messages())
            std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
