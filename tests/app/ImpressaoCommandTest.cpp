// "kvo impressao pendentes" and "reimprimir": what the cashier sees waiting,
// from the service's folders and the central queue.
#include "CommandRun.h"
#include "app/ImpressaoCommand.h"
#include "core/Paths.h"
#include "devices/FolderDropTarget.h"
#include "framework/db/Database.h"
#include "printservice/FontePasta.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo;

TEST(ImpressaoCommand, ListsFolderAndQueueTicketsWaitingAndReprintsAPrintedOne) {
    QTemporaryDir home;
    setProgramFolder(home.path());
    {
        QFile ini(home.filePath(QStringLiteral("impressao.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[servico]\nestacoes=BAR\n[BAR]\npasta=pedidos/bar\nimpressora=tcp:127.0.0.1:9100\n");
    }
    const QString pasta = home.filePath(QStringLiteral("pedidos/bar"));
    auto soltar = [&](const QString& texto) {
        return QFileInfo(FolderDropTarget(pasta, QStringLiteral("PED_"), QStringLiteral(".ped"), FileText::Utf8)
                             .print(ReceiptDocument{QString(), {texto}, 0}))
            .fileName();
    };
    const QString falhou = soltar(QStringLiteral("MESA 8 CAIPIRINHA"));
    impressao::FontePasta servico(pasta, QStringLiteral("caixa"), 120);
    auto t = servico.reivindicar();
    servico.falhou(*t, QStringLiteral("Impressora sem papel"), false);

    const QString banco = test::copyOfTemplate();
    ConnectionSettings s;
    s.path = banco;
    s.writeFile(home.filePath(QStringLiteral("KVOGestao.ini")));
    {
        Database db(s);
        db.open();
        db.executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_REST_IMPRESSAO('caixa', 'COZINHA', 'PÃO', 12, 'LANÇAMENTOS DE 1 PRODUTOS')"));
    }
    auto r = test::runCommand(runImpressaoCommand, {QStringLiteral("pendentes")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList linhas = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(linhas[1].startsWith(falhou + QStringLiteral("\tBAR\t8\t"))) << linhas[1].toStdString();
    EXPECT_TRUE(linhas[1].endsWith(QStringLiteral("\t1\tImpressora sem papel"))) << linhas[1].toStdString();
    EXPECT_TRUE(linhas[2].contains(QStringLiteral("\tCOZINHA\t12\tLANÇAMENTOS DE 1 PRODUTOS\t0:0"))) << linhas[2].toStdString();

    r = test::runCommand(runImpressaoCommand, {QStringLiteral("reimprimir"), falhou});
    EXPECT_EQ(r.code, 1) << "not printed yet";
    servico.impresso(*servico.reivindicar(), QStringLiteral("x"));
    r = test::runCommand(runImpressaoCommand, {QStringLiteral("reimprimir"), falhou});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    auto de_novo = servico.reivindicar();
    ASSERT_TRUE(de_novo);
    EXPECT_TRUE(de_novo->texto.startsWith(QStringLiteral("*** REIMPRESSÃO ***\r\nMESA 8"))) << de_novo->texto.toStdString();

    EXPECT_EQ(test::runCommand(runImpressaoCommand, {QStringLiteral("reimprimir")}).code, 2);
    EXPECT_EQ(test::runCommand(runImpressaoCommand, {QStringLiteral("listar")}).code, 2);
    QFile::remove(banco);
}
