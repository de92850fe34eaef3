#include "sendmail/PedidoEmail.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kvo::sendmail;

TEST(PedidoEmail, TheInvoiceModulesLineAsOneArgumentOrSplitAtBlanks)
{
    const QString linha = QStringLiteral("cliente@exemplo.com.br, transportes@exemplo.com.br|Nf-e 123|"
                                         "/pdf/3526-nfe.xml,/pdf/3526.pdf|text|Seguem em anexo os arquivos da NF-e.");
    const PedidoEmail inteira = lerLinhaDeComando({linha});
    const PedidoEmail partida = lerLinhaDeComando(linha.split(u' '));
    for (const PedidoEmail& p : {inteira, partida}) {
        EXPECT_EQ(p.destinatarios, QStringList({QStringLiteral("cliente@exemplo.com.br"), QStringLiteral("transportes@exemplo.com.br")}));
        EXPECT_EQ(p.assunto, QStringLiteral("Nf-e 123"));
        EXPECT_EQ(p.anexos, QStringList({QStringLiteral("/pdf/3526-nfe.xml"), QStringLiteral("/pdf/3526.pdf")}));
        EXPECT_FALSE(p.html);
        EXPECT_EQ(p.corpo, QStringLiteral("Seguem em anexo os arquivos da NF-e."));
    }
}

TEST(PedidoEmail, BodyKeepsItsBarsAndHtmlIsRecognised)
{
    const PedidoEmail p = lerLinhaDeComando({QStringLiteral("a@b.com;c@d.com|Assunto||HTML|<p>a|b</p>")});
    EXPECT_EQ(p.destinatarios.size(), 2);
    EXPECT_TRUE(p.anexos.isEmpty());
    EXPECT_TRUE(p.html);
    EXPECT_EQ(p.corpo, QStringLiteral("<p>a|b</p>"));
}

TEST(PedidoEmail, RefusesWhatCouldNotBeSentOrWouldForgeHeaders)
{
    const auto erro = [](const QString& linha) -> QString {
        try {
            lerLinhaDeComando({linha});
        } catch (const std::invalid_argument& e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    };
    EXPECT_TRUE(erro(QStringLiteral("a@b.com|Assunto")).startsWith(QStringLiteral("Uso:")));
    EXPECT_EQ(erro(QStringLiteral(" , |Assunto||text|x")), QStringLiteral("Nenhum destinatário informado."));
    EXPECT_TRUE(erro(QStringLiteral("a@b.com\r\nBcc: x@y.com|A||text|x")).contains(QStringLiteral("inválido")));
    EXPECT_TRUE(erro(QStringLiteral("a@b.com|Nf-e 1\r\nBcc: x@y.com||text|x")).contains(QStringLiteral("quebras de linha")));
    EXPECT_TRUE(erro(QStringLiteral("sem-arroba|A||text|x")).contains(QStringLiteral("sem-arroba")));
}
