// `kvo nfvenda formulario NUMERO SERIE --pdf ARQ`, run in-process on the test database.
#include "FormularioFixture.h"

#include "app/NFVendaCommand.h"
#include "framework/db/ConnectionSettings.h"

#include "../../app/CommandRun.h"

namespace kvo::test {
namespace {

class FormularioCommand : public FormularioFixture {
protected:
    FormularioCommand() { t.db().settings().writeFile(pasta.filePath(QStringLiteral("KVOGestao.ini"))); }
    CommandRun kvo(const QStringList& args) { return runCommand(runNFVendaCommand, args); }
};

TEST_F(FormularioCommand, GravaOPdfOuRecusa) {
    layoutDaLoja();
    nota(41, 6, "5102", "1234.5");
    const QString pdf = pasta.filePath(QStringLiteral("formulario.pdf"));
    const CommandRun feito = kvo({QStringLiteral("formulario"), QStringLiteral("41"), QStringLiteral("F"),
                                  QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(feito.code, 0) << feito.err.toStdString();
    EXPECT_EQ(feito.out.trimmed(), pdf);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));

    const CommandRun desconhecida = kvo({QStringLiteral("formulario"), QStringLiteral("99"), QStringLiteral("F"),
                                         QStringLiteral("--pdf"), pasta.filePath(QStringLiteral("x.pdf"))});
    EXPECT_EQ(desconhecida.code, 1);
    EXPECT_TRUE(desconhecida.err.contains(QStringLiteral("Nota fiscal 99 série F não encontrada."))) << desconhecida.err.toStdString();
    EXPECT_FALSE(QFile::exists(pasta.filePath(QStringLiteral("x.pdf"))));

    const CommandRun semPdf = kvo({QStringLiteral("formulario"), QStringLiteral("41"), QStringLiteral("F")});
    EXPECT_EQ(semPdf.code, 2);
    EXPECT_TRUE(semPdf.err.contains(QStringLiteral("uso: kvo nfvenda formulario NUMERO SERIE --pdf ARQ")));
}

} // namespace
} // namespace kvo::test
