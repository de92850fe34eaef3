#include "LeitorMime.h"

#include "sendmail/ClienteSmtp.h"
#include "sendmail/MensagemMime.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace kvo::sendmail;
namespace t = kvo::sendmail::test;

TEST(MensagemMime, LongAccentedSubjectIsEncodedInWholeCharacters)
{
    const QString assunto = QStringLiteral("Nf-e 123456 – Distribuição de cópias ção ção ção 😀 emissão "
                                           "à Açougue São João é ótimo, ações e promoções");
    const QByteArray codificado = codificarCabecalho(assunto);
    EXPECT_TRUE(codificado.startsWith("=?UTF-8?B?"));
    for (const QByteArray& linha : codificado.split('\n'))
        EXPECT_LE(linha.trimmed().size(), 75) << linha.constData();
    EXPECT_EQ(t::decodificarPalavras(codificado), assunto);
    EXPECT_EQ(codificarCabecalho(QStringLiteral("Nf-e 123")), QByteArray("Nf-e 123"));
}

TEST(MensagemMime, AttachmentsAndTextSurviveAReader)
{
    Mensagem m;
    m.remetente = QStringLiteral("nfe@loja.com.br");
    m.nomeRemetente = QStringLiteral("Loja \"Central\" São Paulo");
    m.para = {QStringLiteral("a@b.com"), QStringLiteral("c@d.com")};
    m.assunto = QStringLiteral("Nf-e 77");
    m.corpo = QStringLiteral("Seguem em anexo os arquivos da NF-e.\n.linha com ponto");
    m.data = QDateTime(QDate(2026, 12, 6), QTime(10, 5, 0), QTimeZone(-3 * 3600));
    QByteArray binario;
    for (int i = 0; i < 5000; ++i)
        binario += char(i * 7 % 256);
    m.anexos = {{QStringLiteral("3526-nfe.xml"), QByteArray("<?xml version=\"1.0\"?><NFe>ção</NFe>")},
                {QStringLiteral("relatório ação.pdf"), binario}};
    const QByteArray eml = montarMensagem(m, "=_fronteira");
    EXPECT_TRUE(eml.contains("Date: Sun, 06 Dec 2026 10:05:00 -0300\r\n"));
    EXPECT_FALSE(eml.contains("\n.linha")) << "the text is base64, never a bare dot line";
    const t::MensagemLida lida = t::lerMensagem(eml);
    EXPECT_EQ(lida.assunto, QStringLiteral("Nf-e 77"));
    EXPECT_EQ(t::decodificarPalavras(lida.cabecalhos.value("from")),
              QStringLiteral("Loja \"Central\" São Paulo <nfe@loja.com.br>"));
    EXPECT_EQ(lida.cabecalhos.value("to"), QByteArray("a@b.com, c@d.com"));
    ASSERT_EQ(lida.partes.size(), 3);
    EXPECT_TRUE(lida.partes[0].cabecalhos.value("content-type").startsWith("text/plain; charset=UTF-8"));
    EXPECT_EQ(QString::fromUtf8(lida.partes[0].corpo), m.corpo);
    EXPECT_EQ(lida.partes[1].nomeArquivo, QStringLiteral("3526-nfe.xml"));
    EXPECT_TRUE(lida.partes[1].cabecalhos.value("content-type").startsWith("application/xml"));
    EXPECT_EQ(lida.partes[1].corpo, m.anexos[0].conteudo);
    EXPECT_EQ(lida.partes[2].nomeArquivo, QStringLiteral("relatório ação.pdf"));
    EXPECT_TRUE(lida.partes[2].cabecalhos.value("content-type").startsWith("application/pdf"));
    EXPECT_EQ(lida.partes[2].corpo, binario);
}

TEST(MensagemMime, DotStuffingForData)
{
    EXPECT_EQ(pontilhar("a\r\n.b\r\n..c\r\n."), QByteArray("a\r\n..b\r\n...c\r\n..\r\n"));
    EXPECT_EQ(pontilhar(".primeira"), QByteArray("..primeira\r\n"));
    EXPECT_EQ(pontilhar("sem ponto\r\n"), QByteArray("sem ponto\r\n"));
}
