#pragma once

#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/impressao/DResPedidoImpressao.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kvo::test {

// A terminal with the ticket module on a fresh database, a program folder of
// its own and the clock fixed.
class ImpressaoFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(home.path());
        cfg = std::make_unique<TdmConfiguracao>(t.db());
        // The keys of the order module the tickets read, with their defaults.
        const char* chaves[][2] = {
            {"REST.DARUMA", "N"},   {"REST.DAR.MOD", "DARUMA"}, {"REST.DAR.MCOL", "48"}, {"REST.DAR.BALCAO", "N"},
            {"REST.DAR.CHUR", "N"}, {"REST.DAR.BAR", "N"},      {"REST.DAR.COZ", "N"},   {"REST.DAR.PIZZA", "N"},
            {"REST.IMP.OPC", "N"},  {"REST.DAR.BIP", "N"},      {"REST.DAR.CORT", "N"},  {"REST.IMP.OP1", "COZINHA"},
            {"REST.IMP.OP2", "BAR"}, {"REST.IMP.OP3", "PIZZARIA"}, {"REST.IMP.OP4", "CHURRASQUEIRA"},
            {"REST.DESC.BEMA", "N"}, {"REST.IMP.COMP", "N"},    {"REST.SALDO", "N"},
        };
        for (const auto& c : chaves)
            cfg->verificaConfiguracao(QStringLiteral("Restaurante - Impressão"), QString::fromLatin1(c[0]),
                                      QStringLiteral("TXT"), QString::fromLatin1(c[1]), {});
        t->executeSQL(QStringLiteral("insert into RES_GARCON (CODGARCON, GAR_NOME) values (3, 'Joana')"));
        dm = std::make_unique<TdmResPedidoImpressao>(t.db(), *cfg, QStringLiteral("caixa"));
    }
    void TearDown() override { setProgramFolder({}); }

    void set(const char* chave, const QString& valor) { cfg->setValor(QString::fromLatin1(chave), valor); }

    // The files a manager folder holds (not its temp sub-folder).
    QStringList arquivos(const QString& pasta = {}) const {
        const QString p = pasta.isEmpty() ? dm->pastaLocal(Estacao::Cozinha) : pasta;
        return QDir(p).entryList(QDir::Files, QDir::Name);
    }
    static QString conteudo(const QString& arquivo) {
        QFile f(arquivo);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    TestDatabase t;
    Module module;
    ScriptedUi ui;
    QTemporaryDir home;
    FixedClock relogio{QDateTime(QDate(2026, 12, 6), QTime(20, 15, 30))};
    std::unique_ptr<TdmConfiguracao> cfg;
    std::unique_ptr<TdmResPedidoImpressao> dm;
};

// Control bytes written so a reader sees them: <ESC>, <SO>, <DC4> ...
inline QString visivel(const QStringList& linhas) {
    QString s = linhas.join(u'\n') + u'\n';
    const std::pair<char16_t, const char*> nomes[] = {{0, "<NUL>"}, {7, "<BEL>"}, {14, "<SO>"},
                                                      {20, "<DC4>"}, {27, "<ESC>"}, {29, "<GS>"}};
    for (const auto& [c, nome] : nomes)
        s.replace(QChar(c), QLatin1String(nome));
    return s;
}

// Compares with a file in golden/; KVO_UPDATE_GOLDEN=1 writes it instead.
inline ::testing::AssertionResult igualAoGolden(const QStringList& linhas, const char* nome) {
    const QString caminho = QStringLiteral(KVO_IMPRESSAO_GOLDEN_DIR "/") + QLatin1String(nome);
    const QByteArray atual = visivel(linhas).toUtf8();
    if (qEnvironmentVariableIsSet("KVO_UPDATE_GOLDEN")) {
        QFile f(caminho);
        if (!f.open(QIODevice::WriteOnly) || f.write(atual) != atual.size())
            return ::testing::AssertionFailure() << "cannot write " << caminho.toStdString();
        return ::testing::AssertionSuccess();
    }
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "missing golden file " << caminho.toStdString();
    const QByteArray esperado = f.readAll();
    if (esperado == atual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << nome << " differs:\n--- expected\n"
                                         << esperado.toStdString() << "\n--- actual\n" << atual.toStdString();
}

} // namespace kvo::test
