// Events of an authorised NF-e: the cancellation and the correction letter.
#include "invoice/DNFVenda.h"

#include "core/Clock.h"
#include "core/Paths.h"
#include "core/Text.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "invoice/CicloNFeInterno.h"
#include "invoice/DNFVendaInterno.h"
#include "nfe/NFeComponent.h"
#include "registers/DNFe.h"

#include <QDir>

namespace kvo {

using namespace nfvenda;
using namespace ciclo;

namespace {

// Event files are saved only while an event is being sent.
struct SalvarEventos {
    nfe::NFeComponent& comp;
    explicit SalvarEventos(nfe::NFeComponent& c, const QString& pasta) : comp(c) {
        QDir().mkpath(pasta);
        comp.Configuracoes.Salvar = true;
        comp.Configuracoes.PathEvento = pasta;
    }
    ~SalvarEventos() { comp.Configuracoes.Salvar = false; }
};

QString linhasDoLote(const nfe::RetornoLoteEvento& r) {
    return QStringLiteral("Lote: %1\nAmbiente: %2\nOrgao: %3\n\nStatus: %4\nMotivo: %5")
        .arg(r.idLote)
        .arg(r.tpAmb)
        .arg(r.cOrgao)
        .arg(r.cStat)
        .arg(r.xMotivo);
}

nfe::InfEvento& novoEvento(nfe::NFeComponent& comp, const QString& chave, int tipo) {
    nfe::InfEvento& e = comp.EventoNFe.Evento.Add();
    e.cOrgao = chave.left(2).toInt();
    e.tpAmb = comp.Configuracoes.tpAmb;
    e.CNPJ = OnlyNumber(TdmAcesso::gerarInstance().empresa().cnpj);
    e.chNFe = chave;
    e.dhEvento = Clock::now();
    e.tpEvento = tipo;
    return e;
}

// Sends the batch; a failure to reach the authority stops like a refused batch.
bool enviar(nfe::NFeComponent& comp, qint64 lote, const QString& titulo) {
    try {
        return comp.EnviarEvento(lote);
    } catch (const std::exception& e) {
        Error(titulo + QStringLiteral("\n") + erroDe(e));
    }
}

} // namespace

void TdmNFVenda::NFE_EventoCancelamento(int numero, const QString& serie) {
    NFE_Cofigure(numero, serie, 0);
    const auto justificativa = InputBox(QStringLiteral("Cancelamento"), QStringLiteral("Justificativa"));
    if (!justificativa)
        throw Abort();
    const QString chave = GetChaveAcesso();
    if (chave.isEmpty())
        Alerta(QStringLiteral("A chave de acesso não foi gerada!"), true);
    nfe::NFeComponent& comp = componente();
    comp.NotasFiscais.Clear();
    comp.EventoNFe.Evento.Clear();
    nfe::InfEvento& e = novoEvento(comp, chave, nfe::EventoCancelamento);
    e.nSeqEvento = 1;
    e.xJust = *justificativa;
    e.nProt = str(*m_cab, "NFV_NFE_NPROT").trimmed();
    comp.EventoNFe.idLote = 1;

    SalvarEventos salvar(comp, QDir(programFolder()).filePath(QStringLiteral("evento")));
    const QString titulo = QStringLiteral("Ocorreram erros ao tentar efetuar o cancelamento:");
    if (!enviar(comp, 1, titulo))
        Error(titulo + QStringLiteral("\n") + linhasDoLote(comp.WebServices.EventoRetorno));
    const nfe::RetornoLoteEvento& lote = comp.WebServices.EventoRetorno;
    nfe::RetornoEvento r = lote.retEvento.isEmpty() ? nfe::RetornoEvento{} : lote.retEvento[0];
    const QByteArray retorno = r.XML.isEmpty() ? comp.WebServices.EventoRetWS : r.XML;
    const QString arquivo = QDir(programFolder()).filePath(QStringLiteral("xmlEvento.xml"));
    gravarArquivo(arquivo, retorno);
    if (r.cStat != 135)
        Error(QStringLiteral("Ocorreu o seguinte erro ao cancelar a nota fiscal eletrônica:\nCódigo:%1\nMotivo: %2\nXml "
                             "Retorno=%3")
                  .arg(r.cStat)
                  .arg(r.xMotivo, arquivo));
    if (r.nProt.isEmpty() || r.xMotivo.contains(QStringLiteral("Prazo de cancelamento superior ao previsto")))
        Alerta(QStringLiteral("CStat=%1 - Motivo=%2 - Xml Retorno=%3").arg(r.cStat).arg(r.xMotivo, arquivo), true);
    gravarColunas(numero, serie,
                  {{QStringLiteral("NFV_XML_CANC_RETORNO"), QString::fromUtf8(retorno)},
                   {QStringLiteral("NFV_NFE_CANC_NPROT"), r.nProt}});
}

bool TdmNFVenda::NFE_CartaCorrecao(int numero, const QString& serie, const QString& texto) {
    NFE_Cofigure(numero, serie, 0);
    if (str(*m_cab, "NFV_NFE_NPROT").trimmed().isEmpty())
        Error(QStringLiteral("Esta Nota Fiscal não foi transmitida!"));
    if (!m_cce->isEmpty() &&
        !Confirma(QStringLiteral("Está Nota Fiscal já teve uma correção, deseja fazer outra?")))
        return false;
    novaCCE();
    set(*m_cce, "NFVC_CORRECAO", texto);
    try {
        return NFE_EnviarCartaCorrecao();
    } catch (...) {
        if (emEdicao(*m_cce))
            m_cce->cancel();
        throw;
    }
}

bool TdmNFVenda::NFE_EnviarCartaCorrecao() {
    RecordSet& l = *m_cce;
    const QString correcao = str(l, "NFVC_CORRECAO");
    if (correcao.trimmed().size() <= 15)
        Error(QStringLiteral("Você precisa colocar um texto maior que 15 caracteres!"));
    if (inteiro(l, "NFVC_SEQUENCIAL") < 1)
        Error(QStringLiteral("Você precisa ter um sequencial maior que 1!"));
    if (!Confirma(QStringLiteral("Confirma enviar Carta Correção?")))
        return false;
    configurar();
    nfe::NFeComponent& comp = componente();
    // Year, month, day and minutes, as the layout's batch number has always been built here.
    const qint64 lote = Clock::now().toString(QStringLiteral("yyMMdd")).toLongLong() * 100 + Clock::now().time().minute();
    comp.EventoNFe.Evento.Clear();
    comp.EventoNFe.idLote = lote;
    nfe::InfEvento& e = novoEvento(comp, GetChaveAcesso(), nfe::EventoCartaCorrecao);
    e.nSeqEvento = int(inteiro(l, "NFVC_SEQUENCIAL"));
    e.xCorrecao = correcao;

    SalvarEventos salvar(comp, QDir(programFolder()).filePath(QStringLiteral("cce")));
    if (comp.Configuracoes.pastaSchemas.isEmpty())
        comp.Configuracoes.pastaSchemas = QDir(programFolder()).filePath(QStringLiteral("Schemas"));
    const QString titulo = QStringLiteral("Ocorreram erros ao enviar a Carta de Correção:");
    if (!enviar(comp, lote, titulo))
        Error(titulo + QStringLiteral("\n") + linhasDoLote(comp.WebServices.EventoRetorno));
    const nfe::RetornoLoteEvento& retorno = comp.WebServices.EventoRetorno;
    const nfe::RetornoEvento r = retorno.retEvento.isEmpty() ? nfe::RetornoEvento{} : retorno.retEvento[0];
    if (r.cStat != 135 && r.cStat != 136)
        Error(QStringLiteral("Ocorreu o seguinte erro ao enviar a carta de correção:\nCódigo:%1\nMotivo: %2")
                  .arg(r.cStat)
                  .arg(r.xMotivo));
    if (!emEdicao(l))
        l.edit();
    set(l, "NFVC_STATUS", QString::number(r.cStat));
    set(l, "NFVC_MOTIVO", r.xMotivo.left(60)); // the column holds 60 characters
    set(l, "NFVC_XML_ENVIO", QString::fromUtf8(comp.WebServices.EventoEnviado));
    set(l, "NFVC_NPROT", r.nProt);
    set(l, "NFVC_XML_RECEBIDO", QString::fromUtf8(r.XML.isEmpty() ? comp.WebServices.EventoRetWS : r.XML));
    gravarCCE();
    l.applyUpdates(0); // registered by the authority: stored before anything else can fail
    Informacao(QStringLiteral("Carta de Correção eletrônica enviada com sucesso!"));
    comp.ImprimirEvento();
    return true;
}

} // namespace kvo
