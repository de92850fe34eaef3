#include "AutoridadeLocal.h"
#include "NFeFixtures.h"
#include "NFeSamples.h"

#include "nfe/NFeCommand.h"
#include "nfe/NFeComponent.h"
#include "nfe/SoapNFe.h"
#include "nfe/TransporteHttps.h"
#include "nfe/VerificadorAssinatura.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QJsonObject>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUrl>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace kvo::nfe;
namespace t = kvo::nfe::test;

namespace {

QJsonObject regra(const char* servico, const char* acao)
{
    return {{QStringLiteral("servico"), QLatin1String(servico)}, {QStringLiteral("acao"), QLatin1String(acao)}};
}

class WebServicesLocal : public ::testing::Test {
protected:
    WebServicesLocal()
    {
        WebServices::limparControleDeConsumo();
        autoridade.configurar(componente);
    }
    // Document `numero` of series 1, signed and valid, alone in the list.
    NotaFiscal& nota(int numero)
    {
        componente.NotasFiscais.Clear();
        NotaFiscal& n = componente.NotasFiscais.Add();
        n.NFe = samples::interestadualConsumidorFinal(2);
        n.NFe.Ide.nNF = numero;
        n.NFe.Ide.cNF = 20000000 + numero;
        componente.GerarNFe();
        componente.Assinar();
        componente.Validar();
        return n;
    }
    static QString chave(const NotaFiscal& n) { return n.NFe.Id.mid(3); }
    InfEvento& evento(const NotaFiscal& n, int tipo, int seq = 1)
    {
        InfEvento& e = componente.EventoNFe.Evento.Add();
        e.chNFe = chave(n);
        e.CNPJ = QStringLiteral("11222333000181");
        e.tpEvento = tipo;
        e.nSeqEvento = seq;
        return e;
    }
    // The raised error's text, or empty when nothing was raised.
    template <typename F>
    static QString erroDe(F f)
    {
        try {
            f();
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }
    int contar(const QString& prefixo) const
    {
        int n = 0;
        for (const QString& l : autoridade.requisicoes())
            n += l.startsWith(prefixo) ? 1 : 0;
        return n;
    }

    t::AutoridadeLocal autoridade;
    NFeComponent componente;
};

TEST_F(WebServicesLocal, FullLifeCycle)
{
    NotaFiscal& n = nota(501);
    const QByteArray enviados = n.XML;
    ASSERT_TRUE(componente.WebServices.Envia(0, true, false));
    auto& env = componente.WebServices.Enviar;
    ASSERT_EQ(env.protocolos.Count(), 1);
    EXPECT_EQ(env.protocolos[0].cStat, 100);
    EXPECT_EQ(env.Protocolo().size(), 15);
    EXPECT_TRUE(env.dhRecbto().isValid());
    EXPECT_EQ(env.protocolos[0].digVal, digestValue(enviados));
    EXPECT_EQ(n.XML, enviados) << "the bytes sent are the bytes kept";
    EXPECT_EQ(n.NFe.procNFe.nProt, env.Protocolo());
    EXPECT_TRUE(env.RetWS.contains("<cStat>104</cStat>"));
    const QString protocolo = env.Protocolo();
    // The copy kept on disk: the signed bytes with their protocol.
    QFile guardada(n.NomeArq);
    ASSERT_TRUE(guardada.open(QIODevice::ReadOnly)) << n.NomeArq.toStdString();
    const QByteArray noDisco = guardada.readAll();
    EXPECT_TRUE(noDisco.contains(enviados));
    EXPECT_TRUE(noDisco.contains(QByteArray("<nProt>" + protocolo.toLatin1() + "</nProt>")));

    // The same number again, as a fresh assembly would send it.
    nota(501);
    const QString duplicada = erroDe([&] { componente.WebServices.Envia(0, true, false); });
    EXPECT_TRUE(duplicada.contains(QStringLiteral("204"))) << duplicada.toStdString();
    EXPECT_TRUE(duplicada.toLower().contains(QStringLiteral("duplicidade"))) << duplicada.toStdString();
    EXPECT_TRUE(duplicada.contains(protocolo)) << duplicada.toStdString();

    componente.WebServices.NFeConsulta.NFeChave = chave(n);
    ASSERT_TRUE(componente.WebServices.Consultar());
    EXPECT_EQ(componente.WebServices.NFeConsulta.cStat, 100);
    EXPECT_EQ(componente.WebServices.NFeConsulta.Protocolo, protocolo);
    EXPECT_TRUE(componente.WebServices.NFeConsulta.DhRecbto.isValid());

    // Two correction letters, each with its sequence; files saved while switched on.
    QTemporaryDir pastas;
    componente.Configuracoes.Salvar = true;
    componente.Configuracoes.PathEvento = pastas.filePath(QStringLiteral("cce"));
    componente.DANFE.pastaPDF = pastas.filePath(QStringLiteral("pdf"));
    QStringList protocolosCce;
    for (int seq = 1; seq <= 2; ++seq) {
        componente.EventoNFe.Evento.Clear();
        evento(n, EventoCartaCorrecao, seq).xCorrecao = QStringLiteral("Correção número %1 do endereço de entrega").arg(seq);
        ASSERT_TRUE(componente.EnviarEvento(2612060000 + seq));
        const RetornoLoteEvento& r = componente.WebServices.EventoRetorno;
        EXPECT_EQ(r.cStat, 128);
        EXPECT_EQ(r.tpAmb, 2);
        EXPECT_EQ(r.cOrgao, 35);
        ASSERT_EQ(r.retEvento.Count(), 1);
        EXPECT_EQ(r.retEvento[0].cStat, 135) << r.retEvento[0].xMotivo.toStdString();
        EXPECT_EQ(r.retEvento[0].nSeqEvento, seq);
        protocolosCce << r.retEvento[0].nProt;
        EXPECT_TRUE(componente.WebServices.ProcEvento(0).contains("<xCorrecao>Correção número"));
        componente.ImprimirEventoPDF();
        QFile pdf(componente.ArquivoPDF());
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << componente.ArquivoPDF().toStdString();
        EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
        EXPECT_TRUE(QFile::exists(QStringLiteral("%1/110110%2%3-procEventoNFe.xml")
                                      .arg(componente.Configuracoes.PathEvento, chave(n))
                                      .arg(seq, 2, 10, QChar(u'0'))));
    }
    EXPECT_NE(protocolosCce[0], protocolosCce[1]);
    EXPECT_FALSE(protocolosCce[1].isEmpty());
    componente.Configuracoes.Salvar = false;

    componente.EventoNFe.Evento.Clear();
    InfEvento& canc = evento(n, EventoCancelamento);
    canc.nProt = protocolo;
    canc.xJust = QStringLiteral("Cliente desistiu da compra");
    ASSERT_TRUE(componente.EnviarEvento(1));
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 135);
    const QString protCanc = componente.WebServices.EventoRetorno.retEvento[0].nProt;
    EXPECT_FALSE(protCanc.isEmpty());

    ASSERT_TRUE(componente.EnviarEvento(1)); // the batch is processed, the event refused
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 218);
    EXPECT_TRUE(componente.WebServices.EventoRetorno.retEvento[0].nProt.isEmpty());

    componente.WebServices.Consultar();
    EXPECT_EQ(componente.WebServices.NFeConsulta.cStat, 101);
    EXPECT_EQ(componente.WebServices.NFeConsulta.eventos.Count(), 3);

    ASSERT_TRUE(componente.WebServices.Inutiliza(QStringLiteral("11222333000181"),
                                                 QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"), 2026, 55, 1, 502, 504));
    EXPECT_EQ(componente.WebServices.Inutilizacao.cStat, 102);
    EXPECT_EQ(componente.WebServices.Inutilizacao.Protocolo.size(), 15);
    // A range that includes an authorised number is refused with its code.
    const QString usado = erroDe([&] {
        componente.WebServices.Inutiliza(QStringLiteral("11222333000181"), QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"),
                                         2026, 55, 1, 500, 501);
    });
    EXPECT_TRUE(usado.contains(QStringLiteral("241"))) << usado.toStdString();
    // A voided number is not authorised afterwards.
    nota(503);
    EXPECT_TRUE(erroDe([&] { componente.WebServices.Envia(0); }).contains(QStringLiteral("206")));

    ASSERT_TRUE(componente.WebServices.ConsultarStatus());
    EXPECT_EQ(componente.WebServices.StatusServico.cStat, 107);
    EXPECT_FALSE(componente.WebServices.StatusServico.daMemoria);
}

TEST_F(WebServicesLocal, BrokenSignatureAndSchemaAreRefused)
{
    const QByteArray assinado = nota(610).XML;
    ASSERT_TRUE(assinado.contains("<xNome>NF-E EMITIDA EM AMBIENTE DE HOMOLOGACAO - SEM VALOR FISCAL</xNome>"));

    QByteArray alterado = assinado;
    alterado.replace("<xNome>NF-E EMITIDA EM AMBIENTE DE HOMOLOGACAO - SEM VALOR FISCAL</xNome>",
                     "<xNome>NF-E EMITIDA EM AMBIENTE DE HOMOLOGACAO - SEM VALOR FISCAI</xNome>");
    componente.NotasFiscais.Clear();
    componente.NotasFiscais.LoadFromString(alterado);
    const QString assinatura = erroDe([&] { componente.WebServices.Envia(0); });
    EXPECT_TRUE(assinatura.startsWith(QStringLiteral("Código: 297"))) << assinatura.toStdString();

    QByteArray foraDoSchema = assinado;
    foraDoSchema.replace("<natOp>VENDA DE MERCADORIA</natOp>", "<natOp></natOp>");
    componente.NotasFiscais.Clear();
    componente.NotasFiscais.LoadFromString(foraDoSchema);
    const QString schema = erroDe([&] { componente.WebServices.Envia(0); });
    EXPECT_TRUE(schema.startsWith(QStringLiteral("Código: 225"))) << schema.toStdString();

    // Another company's document, signed with this company's certificate.
    NotaFiscal& outraEmpresa = nota(611);
    outraEmpresa.NFe.Emit.CNPJCPF = QStringLiteral("99888777000166");
    componente.GerarNFe();
    componente.Assinar();
    const QString transmissor = erroDe([&] { componente.WebServices.Envia(0); });
    EXPECT_TRUE(transmissor.startsWith(QStringLiteral("Código: 213"))) << transmissor.toStdString();

    // None was authorised: the untouched document still is.
    componente.NotasFiscais.Clear();
    componente.NotasFiscais.LoadFromString(assinado);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    EXPECT_EQ(componente.WebServices.Enviar.protocolos[0].cStat, 100);
}

TEST_F(WebServicesLocal, SynchronousSendReportsAReceiptToStore)
{
    nota(760);
    ASSERT_TRUE(componente.WebServices.Envia(0, true, false));
    const auto& env = componente.WebServices.Enviar;
    EXPECT_FALSE(env.Recibo.isEmpty()) << "the invoice's receipt column would stay empty";
    EXPECT_EQ(env.Recibo, env.Protocolo());
    // The same when the answer was lost and the key query found the protocol.
    autoridade.injetar({regra("NFeAutorizacao4", "derrubar")});
    nota(761);
    ASSERT_TRUE(componente.WebServices.Envia(0, true, false));
    ASSERT_TRUE(env.recuperadoPorConsulta);
    EXPECT_FALSE(env.Protocolo().isEmpty());
    EXPECT_EQ(env.Recibo, env.Protocolo());
}

TEST_F(WebServicesLocal, NFCeVoidingGoesToTheNFCeAddress)
{
    // The NF-e address leads nowhere; only the NFC-e one reaches the authority.
    componente.Configuracoes.WebServices.urlBaseNFCe = autoridade.url();
    componente.Configuracoes.WebServices.urlBase = QStringLiteral("https://127.0.0.1:1/ws");
    ASSERT_TRUE(componente.WebServices.Inutiliza(QStringLiteral("11222333000181"),
                                                 QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"), 2026, 65, 1, 31, 32));
    EXPECT_EQ(componente.WebServices.Inutilizacao.cStat, 102);
    EXPECT_TRUE(componente.WebServices.Inutilizacao.XmlEnviado.contains("<mod>65</mod>"));
    EXPECT_THROW(componente.WebServices.Inutiliza(QStringLiteral("11222333000181"),
                                                  QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"), 2026, 55, 1, 31, 32),
                 ErroComunicacao);
}

TEST_F(WebServicesLocal, LostAnswerEndsAuthorised)
{
    autoridade.injetar({regra("NFeAutorizacao4", "derrubar")});
    NotaFiscal& n = nota(700);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    EXPECT_TRUE(componente.WebServices.Enviar.recuperadoPorConsulta);
    ASSERT_EQ(componente.WebServices.Enviar.protocolos.Count(), 1);
    EXPECT_EQ(componente.WebServices.Enviar.protocolos[0].cStat, 100);
    EXPECT_EQ(n.NFe.procNFe.nProt, componente.WebServices.Enviar.Protocolo());
    EXPECT_EQ(n.NFe.procNFe.digVal, digestValue(n.XML));
    EXPECT_EQ(autoridade.requisicoes().join(u'|').toStdString(),
              "NFeAutorizacao4 derrubada 104,100|NFeConsultaProtocolo4 100,100");

    // An answer later than the time-out is the same unknown outcome.
    QJsonObject atraso = regra("NFeAutorizacao4", "processar");
    atraso.insert(QStringLiteral("atrasoMs"), 3000);
    autoridade.injetar({atraso});
    componente.Configuracoes.WebServices.timeoutMs = 800;
    nota(701);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    EXPECT_TRUE(componente.WebServices.Enviar.recuperadoPorConsulta);
    EXPECT_EQ(componente.WebServices.Enviar.protocolos[0].cStat, 100);
}

TEST_F(WebServicesLocal, CompressedBatchIsAuthorised)
{
    nota(740);
    ASSERT_TRUE(componente.WebServices.Envia(0, true, true));
    EXPECT_EQ(componente.WebServices.Enviar.protocolos[0].cStat, 100);
}

TEST_F(WebServicesLocal, ProtocolForAnotherDigestIsNotAccepted)
{
    QJsonObject outro = regra("NFeAutorizacao4", "processar");
    outro.insert(QStringLiteral("digVal"), QStringLiteral("AAAAAAAAAAAAAAAAAAAAAAAAAAA="));
    autoridade.injetar({outro});
    NotaFiscal& n = nota(730);
    const QString erro = erroDe([&] { componente.WebServices.Envia(0); });
    EXPECT_TRUE(erro.contains(QStringLiteral("digVal"))) << erro.toStdString();
    EXPECT_TRUE(componente.WebServices.Enviar.protocolos.isEmpty());
    EXPECT_TRUE(n.NFe.procNFe.nProt.isEmpty());
    EXPECT_TRUE(n.Transmitida) << "whatever the authority holds, these bytes were sent";
}

TEST_F(WebServicesLocal, RequestLostBeforeTheAuthorityIsNotAuthorisedAndCanBeResent)
{
    autoridade.injetar({regra("NFeAutorizacao4", "derrubarAntes")});
    NotaFiscal& n = nota(710);
    const QByteArray assinado = n.XML;
    EXPECT_FALSE(componente.WebServices.Envia(0));
    EXPECT_TRUE(componente.WebServices.Enviar.xMotivo.contains(QStringLiteral("não recebeu")))
        << componente.WebServices.Enviar.xMotivo.toStdString();
    EXPECT_FALSE(n.Transmitida);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    EXPECT_EQ(componente.WebServices.Enviar.protocolos[0].cStat, 100);
    EXPECT_EQ(n.XML, assinado);
}

TEST_F(WebServicesLocal, UnanswerableQueryLeavesTheOutcomeUnknown)
{
    autoridade.injetar({regra("NFeAutorizacao4", "derrubar"), regra("NFeConsultaProtocolo4", "derrubarAntes")});
    NotaFiscal& n = nota(720);
    const QString erro = erroDe([&] { componente.WebServices.Envia(0); });
    EXPECT_TRUE(erro.contains(QStringLiteral("desconhecida"))) << erro.toStdString();
    EXPECT_TRUE(n.Transmitida) << "the signed bytes stay the document";
    // Once the authority answers again the query settles it.
    componente.WebServices.NFeConsulta.NFeChave = chave(n);
    componente.WebServices.Consultar();
    EXPECT_EQ(componente.WebServices.NFeConsulta.cStat, 100);
}

TEST_F(WebServicesLocal, AsynchronousBatchPollsTheReceiptABoundedNumberOfTimes)
{
    QJsonObject emProcessamento = regra("NFeRetAutorizacao4", "responder");
    emProcessamento.insert(QStringLiteral("cStat"), 105);
    emProcessamento.insert(QStringLiteral("xMotivo"), QStringLiteral("Lote em processamento"));
    emProcessamento.insert(QStringLiteral("vezes"), 2);
    autoridade.injetar({emProcessamento});
    componente.NotasFiscais.Clear();
    for (int numero : {800, 801}) {
        NotaFiscal& n = componente.NotasFiscais.Add();
        n.NFe = samples::interestadualConsumidorFinal(1);
        n.NFe.Ide.nNF = numero;
    }
    EXPECT_THROW(componente.WebServices.Envia(0, true, false), std::runtime_error) << "two documents are never synchronous";
    ASSERT_TRUE(componente.WebServices.Envia(0, false, false));
    EXPECT_EQ(componente.WebServices.Enviar.Recibo.size(), 15);
    EXPECT_EQ(componente.WebServices.Enviar.protocolos.Count(), 2);
    EXPECT_FALSE(componente.WebServices.Enviar.recuperadoPorConsulta);
    EXPECT_EQ(contar(QStringLiteral("NFeRetAutorizacao4")), 3);

    // A receipt that never finishes: polling stops and the keys settle it.
    emProcessamento.insert(QStringLiteral("vezes"), -1);
    autoridade.injetar({emProcessamento});
    componente.NotasFiscais.Clear();
    componente.NotasFiscais.Add().NFe = samples::interestadualConsumidorFinal(1);
    componente.NotasFiscais[0].NFe.Ide.nNF = 802;
    ASSERT_TRUE(componente.WebServices.Envia(0, false, false));
    EXPECT_TRUE(componente.WebServices.Enviar.recuperadoPorConsulta);
    EXPECT_EQ(contar(QStringLiteral("NFeRetAutorizacao4")), 3 + componente.Configuracoes.WebServices.tentativasRecibo);
}

TEST_F(WebServicesLocal, StatusIsThrottledAndRejection656BlocksFurtherCalls)
{
    componente.Configuracoes.WebServices.intervaloMinimoStatusS = 60;
    ASSERT_TRUE(componente.WebServices.ConsultarStatus());
    NFeComponent outro; // another screen asking soon after
    autoridade.configurar(outro);
    outro.Configuracoes.WebServices.intervaloMinimoStatusS = 60;
    ASSERT_TRUE(outro.WebServices.ConsultarStatus());
    EXPECT_TRUE(outro.WebServices.StatusServico.daMemoria);
    EXPECT_EQ(outro.WebServices.StatusServico.cStat, 107);
    EXPECT_EQ(contar(QStringLiteral("NFeStatusServico4")), 1);

    WebServices::limparControleDeConsumo();
    QJsonObject consumo = regra("NFeStatusServico4", "responder");
    consumo.insert(QStringLiteral("cStat"), 656);
    consumo.insert(QStringLiteral("xMotivo"), QStringLiteral("Rejeição: Consumo Indevido"));
    autoridade.injetar({consumo});
    ASSERT_TRUE(componente.WebServices.ConsultarStatus());
    EXPECT_EQ(componente.WebServices.StatusServico.cStat, 656);
    const QString bloqueio = erroDe([&] { componente.WebServices.ConsultarStatus(); });
    EXPECT_TRUE(bloqueio.contains(QStringLiteral("656"))) << bloqueio.toStdString();
    EXPECT_EQ(contar(QStringLiteral("NFeStatusServico4")), 2) << "the blocked call never left";
}

TEST_F(WebServicesLocal, EventRejectionsAndOutcomes)
{
    NotaFiscal& n = nota(900);
    componente.EventoNFe.Evento.Clear();
    InfEvento& semNota = evento(n, EventoCancelamento);
    semNota.nProt = QStringLiteral("135260000000099");
    semNota.xJust = QStringLiteral("Cancelamento de nota que não foi autorizada");
    ASSERT_TRUE(componente.EnviarEvento(1));
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 217);

    ASSERT_TRUE(componente.WebServices.Envia(0));
    const QString protocolo = componente.WebServices.Enviar.Protocolo();
    ASSERT_TRUE(componente.EnviarEvento(2)); // protocol of another document
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 222);

    // 136 when the authority registers it without linking it.
    QJsonObject naoVinculado = regra("NFeRecepcaoEvento4", "processar");
    naoVinculado.insert(QStringLiteral("cStatEvento"), 136);
    autoridade.injetar({naoVinculado});
    componente.EventoNFe.Evento.Clear();
    evento(n, EventoCartaCorrecao).xCorrecao = QStringLiteral("Peso bruto correto: 14,000 kg");
    ASSERT_TRUE(componente.EnviarEvento(3));
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 136);
    ASSERT_TRUE(componente.EnviarEvento(4)); // the same sequence again
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 573);

    // A cancellation whose answer is lost is known from the query.
    autoridade.injetar({regra("NFeRecepcaoEvento4", "derrubar")});
    componente.EventoNFe.Evento.Clear();
    InfEvento& canc = evento(n, EventoCancelamento);
    canc.nProt = protocolo;
    canc.xJust = QStringLiteral("Cliente desistiu da compra");
    ASSERT_TRUE(componente.EnviarEvento(5));
    const RetornoLoteEvento& r = componente.WebServices.EventoRetorno;
    EXPECT_EQ(r.cStat, 128);
    ASSERT_EQ(r.retEvento.Count(), 1);
    EXPECT_EQ(r.retEvento[0].cStat, 135);
    EXPECT_FALSE(r.retEvento[0].nProt.isEmpty());
    EXPECT_TRUE(r.retEvento[0].XML.contains("<cStat>135</cStat>"));

    // A batch that fails as a whole: EnviarEvento says so.
    QJsonObject falha = regra("NFeRecepcaoEvento4", "responder");
    falha.insert(QStringLiteral("cStat"), 999);
    falha.insert(QStringLiteral("xMotivo"), QStringLiteral("Rejeição: Erro não catalogado"));
    autoridade.injetar({falha});
    EXPECT_FALSE(componente.EnviarEvento(6));
    EXPECT_EQ(componente.WebServices.EventoRetorno.cStat, 999);
}

TEST_F(WebServicesLocal, EventWhoseOutcomeWasUnknownIsSettledWhenSentAgain)
{
    NotaFiscal& n = nota(910);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    componente.EventoNFe.Evento.Clear();
    InfEvento& canc = evento(n, EventoCancelamento);
    canc.nProt = componente.WebServices.Enviar.Protocolo();
    canc.xJust = QStringLiteral("Cliente desistiu da compra");
    autoridade.injetar({regra("NFeRecepcaoEvento4", "derrubar"), regra("NFeConsultaProtocolo4", "derrubarAntes")});
    EXPECT_THROW(componente.EnviarEvento(1), ErroComunicacao);

    // Sent again: refused as already cancelled, which is this request's own doing.
    ASSERT_TRUE(componente.EnviarEvento(1));
    const RetornoEvento& r = componente.WebServices.EventoRetorno.retEvento[0];
    EXPECT_EQ(r.cStat, 135);
    EXPECT_EQ(r.nSeqEvento, 1);
    EXPECT_EQ(r.nProt.size(), 15);
    // Once settled, a further cancellation is the plain refusal.
    ASSERT_TRUE(componente.EnviarEvento(1));
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 218);

    // A correction letter whose sequence was taken by another text stays refused.
    componente.EventoNFe.Evento.Clear();
    NotaFiscal& outra = nota(911);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    evento(outra, EventoCartaCorrecao).xCorrecao = QStringLiteral("Primeiro texto da carta de correção");
    ASSERT_TRUE(componente.EnviarEvento(2));
    componente.EventoNFe.Evento[0].xCorrecao = QStringLiteral("Segundo texto da carta de correção");
    autoridade.injetar({regra("NFeRecepcaoEvento4", "derrubarAntes"), regra("NFeConsultaProtocolo4", "derrubarAntes")});
    EXPECT_THROW(componente.EnviarEvento(3), ErroComunicacao);
    ASSERT_TRUE(componente.EnviarEvento(3));
    EXPECT_EQ(componente.WebServices.EventoRetorno.retEvento[0].cStat, 573);
}

TEST_F(WebServicesLocal, StateSurvivesARestart)
{
    NotaFiscal& n = nota(950);
    ASSERT_TRUE(componente.WebServices.Envia(0));
    const QString protocolo = componente.WebServices.Enviar.Protocolo();
    ASSERT_TRUE(componente.WebServices.Inutiliza(QStringLiteral("11222333000181"),
                                                 QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"), 2026, 55, 1, 960, 961));
    autoridade.parar();
    autoridade.iniciar();
    autoridade.configurar(componente);
    componente.WebServices.NFeConsulta.NFeChave = chave(n);
    componente.WebServices.Consultar();
    EXPECT_EQ(componente.WebServices.NFeConsulta.cStat, 100);
    EXPECT_EQ(componente.WebServices.NFeConsulta.Protocolo, protocolo);
    const QString again = erroDe([&] {
        componente.WebServices.Inutiliza(QStringLiteral("11222333000181"), QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA"),
                                         2026, 55, 1, 961, 961);
    });
    EXPECT_TRUE(again.contains(QStringLiteral("256"))) << again.toStdString();
    nota(950);
    EXPECT_TRUE(erroDe([&] { componente.WebServices.Envia(0); }).contains(protocolo));
}

TEST_F(WebServicesLocal, SignedBytesAreOnDiskBeforeTheyAreSent)
{
    autoridade.injetar({regra("NFeAutorizacao4", "derrubar"), regra("NFeConsultaProtocolo4", "derrubarAntes")});
    NotaFiscal& n = nota(980);
    EXPECT_THROW(componente.WebServices.Envia(0), ErroComunicacao);
    QFile guardada(n.NomeArq);
    ASSERT_TRUE(guardada.open(QIODevice::ReadOnly)) << n.NomeArq.toStdString();
    EXPECT_EQ(guardada.readAll(), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + n.XML));
    // Signing again leaves the sent document alone.
    const QByteArray enviados = n.XML;
    n.NFe.Dest.xNome = QStringLiteral("OUTRO DESTINATARIO");
    componente.GerarNFe();
    componente.Assinar();
    EXPECT_EQ(n.XML, enviados);
}

TEST_F(WebServicesLocal, TlsNeedsBothSidesCertificates)
{
    // A client without a certificate gets no service.
    QSslSocket socket;
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setCaCertificates(QSslCertificate::fromPath(autoridade.arquivoCA()));
    socket.setSslConfiguration(conf);
    const QUrl url(autoridade.url());
    socket.connectToHostEncrypted(url.host(), quint16(url.port()));
    socket.waitForEncrypted(5000);
    socket.write("POST /ws HTTP/1.1\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    socket.waitForBytesWritten(2000);
    QByteArray resposta;
    while (socket.waitForReadyRead(2000))
        resposta += socket.readAll();
    EXPECT_FALSE(resposta.startsWith("HTTP/")) << resposta.constData();
    EXPECT_TRUE(autoridade.requisicoes().isEmpty());

    // A server outside the configured CA bundle is not trusted.
    componente.Configuracoes.WebServices.arquivoCA = t::pastaCertificado() + QStringLiteral("/kvo-demo-ca.pem");
    try {
        componente.WebServices.ConsultarStatus();
        FAIL() << "a server outside the CA bundle was accepted";
    } catch (const ErroComunicacao& e) {
        EXPECT_FALSE(e.podeTerChegado());
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Falha ao conectar"))) << e.what();
    }
    EXPECT_TRUE(autoridade.requisicoes().isEmpty());
}

// The connection to the authority is kept between requests; one the server
// closed while idle is replaced before anything is written, and no request
// ever reaches the authority twice.
TEST_F(WebServicesLocal, KeptConnectionIsReusedOrReopenedAndNothingIsSentTwice)
{
    const CertificadoA1 certificado = CertificadoA1::carregar(t::arquivoPfx(), t::senhaPfx());
    TransporteHttps transporte(certificado, autoridade.arquivoCA());
    transporte.timeoutRespostaMs = 5000;
    const QString url = autoridade.url() + QStringLiteral("/NFeStatusServico4");
    const QByteArray status = soap::envelope(
        soap::Servico::StatusServico, "<consStatServ xmlns=\"http://www.portalfiscal.inf.br/nfe\" versao=\"4.00\">"
                                      "<tpAmb>2</tpAmb><cUF>35</cUF><xServ>STATUS</xServ></consStatServ>");
    const auto pedir = [&] {
        return transporte.post(url, soap::contentType(soap::Servico::StatusServico), status);
    };

    const RespostaHttp primeira = pedir();
    EXPECT_EQ(primeira.status, 200);
    EXPECT_FALSE(primeira.conexaoReutilizada);
    const RespostaHttp segunda = pedir();
    EXPECT_EQ(segunda.status, 200);
    EXPECT_TRUE(segunda.conexaoReutilizada);
    EXPECT_TRUE(soap::conteudo(segunda.corpo).contains("<cStat>107</cStat>")) << segunda.corpo.constData();

    // The server answers, then drops the idle connection.
    QJsonObject fechar = regra("NFeStatusServico4", "processar");
    fechar.insert(QStringLiteral("fechar"), true);
    autoridade.injetar({fechar});
    EXPECT_TRUE(pedir().conexaoReutilizada);
    QThread::msleep(200);
    const RespostaHttp depois = pedir();
    EXPECT_EQ(depois.status, 200);
    EXPECT_FALSE(depois.conexaoReutilizada);
    EXPECT_TRUE(soap::conteudo(depois.corpo).contains("<cStat>107</cStat>"));
    EXPECT_EQ(contar(QStringLiteral("NFeStatusServico4")), 4);

    // Through the web-service client: an authorisation whose answer is lost
    // on a kept connection is settled by a query, never sent again.
    componente.WebServices.ConsultarStatus();
    autoridade.injetar({regra("NFeAutorizacao4", "derrubar")});
    NotaFiscal& n = nota(720);
    ASSERT_TRUE(componente.WebServices.Envia(0, true));
    EXPECT_TRUE(componente.WebServices.Enviar.recuperadoPorConsulta);
    EXPECT_EQ(n.NFe.procNFe.cStat, 100);
    EXPECT_EQ(contar(QStringLiteral("NFeAutorizacao4")), 1);
    // ...and the next document goes over a connection opened afresh.
    nota(721);
    ASSERT_TRUE(componente.WebServices.Envia(0, true));
    EXPECT_FALSE(componente.WebServices.Enviar.recuperadoPorConsulta);
    EXPECT_EQ(contar(QStringLiteral("NFeAutorizacao4")), 2);
}

TEST_F(WebServicesLocal, ClosedPortIsAClearErrorAndNothingWasSent)
{
    autoridade.parar();
    componente.Configuracoes.WebServices.timeoutConexaoMs = 1000;
    NotaFiscal& n = nota(990);
    EXPECT_FALSE(componente.WebServices.Envia(0));
    EXPECT_EQ(componente.WebServices.Enviar.xMotivo.toStdString(),
              "Falha ao conectar com o webservice 127.0.0.1: conexão recusada");
    EXPECT_FALSE(n.Transmitida);
}

} // namespace

namespace {

TEST_F(WebServicesLocal, CommandLine)
{
    // Relative paths in the settings file are relative to the file's folder.
    const QString pasta = QFileInfo(autoridade.pasta()).path();
    const QString ini = pasta + QStringLiteral("/nfe.ini");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("[certificado]\narquivo=%1\nsenha=1234\n[nfe]\nambiente=2\nuf=SP\nschemas=%2\n"
                           "[webservices]\nca=estado/ca.pem\nurl=%3\ntimeout=5\n")
                .arg(t::arquivoPfx(), t::pastaSchemas(), autoridade.url())
                .toUtf8());
    f.close();
    const auto executar = [&](QStringList args, QString* saida) {
        QString erros;
        QTextStream out(saida), err(&erros);
        args << QStringLiteral("--config") << ini;
        const int rc = runNfeCommand(args, out, err);
        out.flush();
        err.flush();
        *saida += erros;
        return rc;
    };
    QString saida;
    EXPECT_EQ(executar({QStringLiteral("nfe"), QStringLiteral("status")}, &saida), 0) << saida.toStdString();
    EXPECT_TRUE(saida.contains(QStringLiteral("107 - Serviço em Operação"))) << saida.toStdString();

    saida.clear();
    EXPECT_EQ(executar({QStringLiteral("consultar"), QStringLiteral("35261211222333000181550010000012311123469019")}, &saida), 1);
    EXPECT_TRUE(saida.contains(QStringLiteral("217"))) << saida.toStdString();

    saida.clear();
    EXPECT_EQ(executar({QStringLiteral("inutilizar"), QStringLiteral("--serie"), QStringLiteral("2"), QStringLiteral("--inicio"),
                        QStringLiteral("30"), QStringLiteral("--fim"), QStringLiteral("31"), QStringLiteral("--modelo"),
                        QStringLiteral("65")},
                       &saida),
              0)
        << saida.toStdString();
    EXPECT_TRUE(saida.contains(QStringLiteral("Inutilizado com sucesso!")));
    EXPECT_TRUE(saida.contains(QStringLiteral("102")));

    saida.clear();
    EXPECT_EQ(executar({QStringLiteral("inutilizar"), QStringLiteral("--serie"), QStringLiteral("2"), QStringLiteral("--inicio"),
                        QStringLiteral("31"), QStringLiteral("--modelo"), QStringLiteral("65")},
                       &saida),
              1);
    EXPECT_TRUE(saida.contains(QStringLiteral("256"))) << saida.toStdString();
    EXPECT_EQ(executar({QStringLiteral("inutilizar"), QStringLiteral("--inicio"), QStringLiteral("1"), QStringLiteral("--modelo"),
                        QStringLiteral("57")},
                       &saida),
              2);
}

} // namespace
