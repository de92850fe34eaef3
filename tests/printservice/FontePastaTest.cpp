// Manager-folder tickets: claimed by one instance only, done into the dated
// "impressos" folder, and after a stop printed again with the mark exactly
// when the outcome is unknown.
#include "core/Clock.h"
#include "devices/FolderDropTarget.h"
#include "printservice/FontePasta.h"
#include "printservice/Pendentes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo;
using namespace kvo::impressao;

namespace {

QString soltar(const QString& pasta, const QString& texto) {
    FolderDropTarget alvo(pasta, QStringLiteral("PED_"), QStringLiteral(".ped"), FileText::Utf8);
    return QFileInfo(alvo.print(ReceiptDocument{QString(), {texto}, 0})).fileName();
}

} // namespace

TEST(FontePasta, EachFileIsClaimedByOneInstanceAndEndsInTheDatedFolder) {
    QTemporaryDir dir;
    QStringList soltos;
    for (int i = 0; i < 20; ++i)
        soltos << soltar(dir.path(), QStringLiteral("MESA %1 PÃO DE QUEIJO").arg(i));
    FontePasta a(dir.path(), QStringLiteral("A"), 120), b(dir.path(), QStringLiteral("B"), 120);
    QStringList vistos;
    for (bool vezDeA = true;; vezDeA = !vezDeA) {
        FontePasta& f = vezDeA ? a : b;
        const auto t = f.reivindicar();
        if (!t)
            break;
        EXPECT_FALSE(t->reimpressao);
        EXPECT_TRUE(t->texto.startsWith(u"MESA ")) << t->texto.toStdString();
        EXPECT_EQ(t->mesa, t->texto.section(u' ', 1, 1).toInt());
        vistos << t->id;
        f.enviando(*t);
        f.impresso(*t, QStringLiteral("tcp:x"));
    }
    std::sort(soltos.begin(), soltos.end());
    std::sort(vistos.begin(), vistos.end());
    EXPECT_EQ(vistos, soltos);
    const QDir feitos(dir.filePath(QStringLiteral("impressos/") + Clock::today().toString(Qt::ISODate)));
    EXPECT_EQ(feitos.entryList(QDir::Files).size(), 20);
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("imprimindo"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(pendentesPasta(QStringLiteral("COZINHA"), dir.path()).isEmpty());
}

TEST(FontePasta, AStopWhileSendingReprintsWithTheMarkAKnownFailureDoesNot) {
    QTemporaryDir dir;
    const QString enviando = soltar(dir.path(), QStringLiteral("UM"));
    const QString falhou = soltar(dir.path(), QStringLiteral("DOIS"));
    {
        FontePasta f(dir.path(), QStringLiteral("A"), 120);
        auto t1 = f.reivindicar();
        ASSERT_TRUE(t1);
        f.enviando(*t1); // killed here: the printer may have printed it
        // (a fresh object stands for the restarted process)
    }
    {
        FontePasta f(dir.path(), QStringLiteral("A"), 120);
        f.recuperar();
        auto t = f.reivindicar();
        ASSERT_TRUE(t);
        EXPECT_EQ(t->id, enviando);
        EXPECT_TRUE(t->reimpressao);
        f.enviando(*t);
        f.falhou(*t, QStringLiteral("recusada"), false); // still a reprint: the first try may have printed
        auto t2 = f.reivindicar();
        ASSERT_TRUE(t2);
        EXPECT_EQ(t2->id, enviando) << "the held ticket comes first";
        EXPECT_TRUE(t2->reimpressao);
        EXPECT_EQ(t2->tentativas, 1);
        f.impresso(*t2, QStringLiteral("x"));
        auto t3 = f.reivindicar();
        ASSERT_TRUE(t3);
        EXPECT_EQ(t3->id, falhou);
        f.enviando(*t3);
        f.falhou(*t3, QStringLiteral("Impressora tcp:x não respondeu"), false);
    }
    FontePasta f(dir.path(), QStringLiteral("A"), 120);
    f.recuperar();
    const auto pend = pendentesPasta(QStringLiteral("BAR"), dir.path());
    ASSERT_EQ(pend.size(), 1);
    EXPECT_EQ(pend[0].id, falhou);
    EXPECT_EQ(pend[0].estacao, QStringLiteral("BAR"));
    EXPECT_EQ(pend[0].ultimoErro, QStringLiteral("Impressora tcp:x não respondeu"));
    auto t = f.reivindicar();
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->reimpressao) << "a refused connection printed nothing";
    EXPECT_GE(t->falhandoHaSegundos, 0);
}

TEST(FontePasta, AnotherInstancesStaleClaimIsTakenOverAsAReprintAFreshOneIsNot) {
    QTemporaryDir dir;
    soltar(dir.path(), QStringLiteral("UM"));
    FontePasta morta(dir.path(), QStringLiteral("MORTA"), 1);
    auto t = morta.reivindicar();
    ASSERT_TRUE(t);
    morta.enviando(*t);
    FontePasta viva(dir.path(), QStringLiteral("VIVA"), 1);
    viva.recuperar();
    EXPECT_FALSE(viva.reivindicar()) << "a claim touched just now belongs to a live instance";
    const QString reivindicado = dir.filePath(QStringLiteral("imprimindo/") + t->id + QStringLiteral("@MORTA"));
    QFile f(reivindicado);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-30), QFileDevice::FileModificationTime);
    f.close();
    viva.recuperar();
    auto tomado = viva.reivindicar();
    ASSERT_TRUE(tomado);
    EXPECT_EQ(tomado->id, t->id);
    EXPECT_TRUE(tomado->reimpressao);
    EXPECT_FALSE(QFile::exists(reivindicado + QStringLiteral(".estado")));
}

TEST(FontePasta, ReprintingAPrintedFilePutsItBackMarked) {
    QTemporaryDir dir;
    const QString nome = soltar(dir.path(), QStringLiteral("\x1b@\r\nMESA 4"));
    FontePasta f(dir.path(), QStringLiteral("A"), 120);
    auto t = f.reivindicar();
    f.impresso(*t, QStringLiteral("x"));
    EXPECT_THROW(f.reimprimir(QStringLiteral("PED_NAO_EXISTE.ped")), std::runtime_error);
    const QString novo = f.reimprimir(nome);
    EXPECT_TRUE(QFile::exists(dir.filePath(novo)));
    auto r = f.reivindicar();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->id, novo);
    EXPECT_TRUE(r->texto.startsWith(QStringLiteral("\x1b@\r\n*** REIMPRESSÃO ***\r\nMESA 4"))) << r->texto.toStdString();
}
