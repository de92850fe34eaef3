#include "devices/DevicePathTarget.h"
#include "devices/FolderDropTarget.h"
#include "devices/ReceiptPrinterTargets.h"

#include "RecordingTarget.h"
#include "core/Clock.h"
#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QSet>
#include <thread>

using namespace kvo;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<sem arquivo>");
}

ReceiptDocument documento(const QStringList& lines) {
    return {QStringLiteral("teste"), lines, 0};
}

const QDateTime Moment(QDate(2026, 12, 6), QTime(14, 5, 9));

} // namespace

TEST(FolderDropTarget, DropsWholeFilesAndNeverOverwritesOneOfTheSameSecond) {
    QTemporaryDir dir;
    FixedClock clock(Moment);
    FolderDropTarget target(dir.filePath(QStringLiteral("cozinha")), QStringLiteral("PED_"),
                            QStringLiteral(".ped"));

    const QString first = target.print(documento({QStringLiteral("Ação 1"), QStringLiteral("x")}));
    const QString second = target.print(documento({QStringLiteral("Pão 2")}));

    EXPECT_EQ(first, dir.filePath(QStringLiteral("cozinha/PED_20261206_140509.ped")));
    EXPECT_EQ(second, dir.filePath(QStringLiteral("cozinha/PED_20261206_140509_2.ped")));
    EXPECT_EQ(readAll(first), "Acao 1\r\nx\r\n");
    EXPECT_EQ(readAll(second), "Pao 2\r\n");
    // Nothing is left half-written in the temporary folder.
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("cozinha/temp"))).isEmpty());
}

// Terminals dropping into one folder in the same second: every ticket ends
// in a file of its own, none replaced by another's.
TEST(FolderDropTarget, TerminalsDroppingAtTheSameMomentNeverReplaceAFile) {
    QTemporaryDir dir;
    FixedClock clock(Moment);
    constexpr int kTerminais = 4, kTickets = 60;
    std::vector<std::thread> terminais;
    for (int t = 0; t < kTerminais; ++t)
        terminais.emplace_back([&, t] {
            FolderDropTarget target(dir.path(), QStringLiteral("PED_"), QStringLiteral(".ped"), FileText::Utf8);
            for (int i = 0; i < kTickets; ++i)
                target.print(documento({QStringLiteral("T%1-%2").arg(t).arg(i)}));
        });
    for (auto& t : terminais)
        t.join();
    QSet<QString> conteudos;
    for (const QString& n : QDir(dir.path()).entryList({QStringLiteral("*.ped")}, QDir::Files))
        conteudos << QString::fromUtf8(readAll(dir.filePath(n))).trimmed();
    EXPECT_EQ(conteudos.size(), kTerminais * kTickets);
}

TEST(FolderDropTarget, MoveNoReplaceLeavesAnExistingFileAlone) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a")), b = dir.filePath(QStringLiteral("b"));
    for (const auto& [nome, texto] : {std::pair{a, "A"}, std::pair{b, "B"}}) {
        QFile f(nome);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    }
    EXPECT_FALSE(moveNoReplace(a, b));
    EXPECT_EQ(readAll(b), QByteArray("B"));
    EXPECT_TRUE(moveNoReplace(a, dir.filePath(QStringLiteral("c"))));
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("c"))), QByteArray("A"));
}

TEST(FolderDropTarget, Utf8FilesKeepAccentsAndControlBytesForThePrintManager) {
    QTemporaryDir dir;
    FixedClock clock(Moment);
    ReceiptTargetSettings settings;
    settings.managerFolder = dir.filePath(QStringLiteral("bar"));
    settings.folderText = FileText::Utf8;
    const QString file = makeReceiptPrinterTarget(QStringLiteral("GERENCIADOR"), settings)
                             ->print(documento({QStringLiteral("\x1b" "E" "Caipirinha de limão")}));
    EXPECT_EQ(readAll(file), QByteArray("\x1b" "ECaipirinha de lim\xc3\xa3o\r\n"));
}

TEST(FolderDropTarget, FolderThatCannotBeUsedIsAPrintError) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("temp"))); // a file where the temp folder should go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FolderDropTarget target(dir.path(), QStringLiteral("EXT_"), QStringLiteral(".ext"));
    try {
        target.print(documento({QStringLiteral("x")}));
        FAIL() << "no error";
    } catch (const PrintError& e) {
        EXPECT_TRUE(e.message().startsWith(u"Não foi possível criar a pasta")) << e.what();
    }
}

TEST(DevicePathTarget, AppendsEveryDocumentAndReportsAnUnwritablePath) {
    QTemporaryDir dir;
    DevicePathTarget target(dir.filePath(QStringLiteral("lp0")));
    target.print(documento({QStringLiteral("um")}));
    target.print(documento({QStringLiteral("dois")}));
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("lp0"))), "um\r\ndois\r\n");

    DevicePathTarget missing(dir.filePath(QStringLiteral("nao/existe/lp0")));
    EXPECT_THROW(missing.print(documento({QStringLiteral("x")})), PrintError);
}

class ReceiptPrinterTargetsTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramFolder(home.path()); }
    void TearDown() override { setProgramFolder(QString()); }

    static QString errorOf(const QString& setting, const ReceiptTargetSettings& settings) {
        try {
            makeReceiptPrinterTarget(setting, settings);
        } catch (const PrintError& e) {
            return e.message();
        }
        return QStringLiteral("<sem erro>");
    }

    QTemporaryDir home;
    FixedClock clock{Moment};
};

TEST_F(ReceiptPrinterTargetsTest, ManagerFolderIsTheStoredWindowsFolderUnderTheProgramFolder) {
    ReceiptTargetSettings settings;
    settings.managerFolder = QStringLiteral("c:\\KVO\\extrato\\");
    settings.prefix = QStringLiteral("EXT_");
    settings.extension = QStringLiteral(".ext");
    const QString file = makeReceiptPrinterTarget(QStringLiteral(" gerenciador "), settings)
                             ->print(documento({QStringLiteral("conta")}));
    EXPECT_EQ(QDir::cleanPath(file),
              home.filePath(QStringLiteral("drive_c/KVO/extrato/EXT_20261206_140509.ext")));

    settings.managerFolder.clear();
    EXPECT_EQ(errorOf(QStringLiteral("GERENCIADOR"), settings),
              u"Pasta do gerenciador de impressão não configurada.");
}

TEST_F(ReceiptPrinterTargetsTest, CentralQueueComesFromTheLayerThatOwnsTheDatabase) {
    ReceiptTargetSettings settings;
    EXPECT_EQ(errorOf(QStringLiteral("CENTRALIZADOR"), settings),
              u"Centralizador de impressão não disponível.");

    auto queue = std::make_shared<RecordingTarget>();
    struct Forward : ReceiptPrinterTarget {
        std::shared_ptr<RecordingTarget> to;
        QString print(const ReceiptDocument& d) override { return to->print(d); }
    };
    settings.centralQueue = [queue] {
        auto f = std::make_unique<Forward>();
        f->to = queue;
        return f;
    };
    makeReceiptPrinterTarget(QStringLiteral("CENTRALIZADOR"), settings)
        ->print({QStringLiteral("COZINHA"), {QStringLiteral("1 x PIZZA")}, 12});
    ASSERT_EQ(queue->documents.size(), 1);
    EXPECT_EQ(queue->documents[0].reference, 12);
    EXPECT_EQ(queue->documents[0].title, u"COZINHA");
}

TEST_F(ReceiptPrinterTargetsTest, OtherSettingsAreAFolderOrAPrinterFile) {
    const ReceiptTargetSettings settings;
    const QString dropped = makeReceiptPrinterTarget(QStringLiteral("pedidos\\bar\\"), settings)
                                ->print(documento({QStringLiteral("a")}));
    EXPECT_EQ(QDir::cleanPath(dropped), home.filePath(QStringLiteral("pedidos/bar/PED_20261206_140509.ped")));

    const QString device = home.filePath(QStringLiteral("impressora.prn"));
    makeReceiptPrinterTarget(device, settings)->print(documento({QStringLiteral("a")}));
    makeReceiptPrinterTarget(device, settings)->print(documento({QStringLiteral("b")}));
    EXPECT_EQ(readAll(device), "a\r\nb\r\n");

    EXPECT_EQ(errorOf(QStringLiteral("  "), settings), u"Impressora não configurada para este documento.");
}
