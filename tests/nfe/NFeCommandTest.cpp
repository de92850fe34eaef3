#include "NFeFixtures.h"
#include "NFeSamples.h"

#include "nfe/NFeCommand.h"
#include "nfe/NFeXmlWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

namespace {

struct Saida {
    QString out, err;
    int rc = -1;
};

Saida rodar(const QStringList& args)
{
    Saida s;
    QTextStream out(&s.out), err(&s.err);
    s.rc = runNfeCommand(args, out, err);
    return s;
}

} // namespace

TEST(NFeCommand, ComputesAKey)
{
    const Saida s = rodar({"nfe", "chave", "--uf", "SP", "--data", "2026-12-06", "--cnpj", "11.222.333/0001-81",
                           "--serie", "1", "--numero", "1231", "--cnf", "12346901"});
    EXPECT_EQ(s.rc, 0) << s.err.toStdString();
    EXPECT_EQ(s.out, QStringLiteral("35261211222333000181550010000012311123469019\n"));
    EXPECT_EQ(rodar({"chave", "--uf", "XX", "--data", "2026-12-06", "--cnpj", "1"}).rc, 2);
}

TEST(NFeCommand, SignsValidatesAndPrints)
{
    QTemporaryDir dir;
    const QString xml = dir.filePath(QStringLiteral("nota.xml"));
    QFile f(xml);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(writeNFeXml(samples::importacao()));
    f.close();

    const QStringList validar = {"validate", xml, "--schemas", t::pastaSchemas()};
    Saida s = rodar(validar);
    EXPECT_EQ(s.rc, 1) << "unsigned";
    EXPECT_TRUE(s.err.contains(QStringLiteral("Signature"))) << s.err.toStdString();

    s = rodar({"sign", xml, "--pfx", t::arquivoPfx(), "--senha", "1234"});
    EXPECT_EQ(s.rc, 0) << s.err.toStdString();
    s = rodar(validar);
    EXPECT_EQ(s.rc, 0) << s.err.toStdString();
    EXPECT_EQ(s.out, QStringLiteral("XML válido: ") + xml + u'\n');

    s = rodar({"sign", xml, "--pfx", t::arquivoPfx(), "--senha", "errada"});
    EXPECT_EQ(s.rc, 1);
    EXPECT_TRUE(s.err.startsWith(QStringLiteral("Erro: Senha do certificado inválida"))) << s.err.toStdString();

    const QString pdf = dir.filePath(QStringLiteral("nota.pdf"));
    s = rodar({"danfe", xml, "--pdf", pdf});
    EXPECT_EQ(s.rc, 0) << s.err.toStdString();
    EXPECT_TRUE(QFile(pdf).size() > 1000);
    EXPECT_EQ(rodar({"danfe", xml}).rc, 2) << "--pdf is required";
}

TEST(NFeCommand, CertificateAndUsage)
{
    Saida s = rodar({"cert", t::arquivoPfx(), "--senha", "1234"});
    EXPECT_EQ(s.rc, 0) << s.err.toStdString();
    EXPECT_TRUE(s.out.contains(QStringLiteral("Titular: KVO DEMONSTRACAO COMERCIO LTDA\n")));
    EXPECT_TRUE(s.out.contains(QStringLiteral("CNPJ: 11222333000181\n")));
    EXPECT_TRUE(s.out.contains(QStringLiteral("Válido até: ")));
    s = rodar({"nfe", "transmitir"});
    EXPECT_EQ(s.rc, 2);
    EXPECT_TRUE(s.err.startsWith(QStringLiteral("Comando desconhecido: transmitir")));
    EXPECT_EQ(rodar({"validate", "/nao/existe.xml"}).rc, 1);
}
