#include "nfe/NFeComponent.h"

#include "core/Paths.h"
#include "core/Text.h"
#include "nfe/AssinadorXml.h"
#include "nfe/Danfe.h"
#include "nfe/EventoPdf.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/ValidadorXml.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>

#include <stdexcept>

namespace kvo::nfe {

NFeComponent::NFeComponent() = default;
NFeComponent::~NFeComponent() = default;

const CertificadoA1& NFeComponent::certificado()
{
    if (!m_certificado) {
        if (Configuracoes.arquivoPfx.isEmpty())
            throw std::runtime_error("Certificado digital não configurado.");
        m_certificado = std::make_unique<CertificadoA1>(
            CertificadoA1::carregar(Configuracoes.arquivoPfx, Configuracoes.senhaPfx));
    }
    return *m_certificado;
}

const AssinadorXml& NFeComponent::assinador()
{
    if (!m_assinador)
        m_assinador = std::make_unique<AssinadorXml>(certificado());
    return *m_assinador;
}

const ValidadorXml& NFeComponent::validador()
{
    const QString pasta = Configuracoes.pastaSchemas.isEmpty()
        ? QDir(programFolder()).filePath(QStringLiteral("Schemas"))
        : Configuracoes.pastaSchemas;
    if (!m_validador || m_validador->pastaSchemas() != pasta)
        m_validador = std::make_unique<ValidadorXml>(pasta);
    return *m_validador;
}

void NFeComponent::recarregarCertificado()
{
    m_assinador.reset();
    m_certificado.reset();
}

QByteArray NFeComponent::GerarEventoAssinado()
{
    if (EventoNFe.Evento.isEmpty())
        throw std::runtime_error("Nenhum evento informado.");
    return assinarEValidar(writeEnvEventoXml(EventoNFe), "infEvento", schemaDoEvento(EventoNFe.Evento[0].tpEvento),
                           QStringLiteral("do evento"));
}

QByteArray NFeComponent::GerarInutilizacaoAssinada(const InutilizacaoNFe& inutilizacao)
{
    return assinarEValidar(writeInutNFeXml(inutilizacao), "infInut", QStringLiteral("inutNFe_v4.00.xsd"),
                           QStringLiteral("da inutilização"));
}

QByteArray NFeComponent::assinarEValidar(const QByteArray& xml, const char* elemento, const QString& schema,
                                         const QString& oQue)
{
    const QByteArray assinado = assinador().assinar(xml, elemento);
    const QStringList erros = validador().validar(assinado, schema);
    if (!erros.isEmpty())
        throw std::runtime_error(QStringLiteral("Falha na validação %1:\n%2").arg(oQue, erros.join(u'\n')).toStdString());
    return assinado;
}

QString NFeComponent::pastaPdf() const
{
    return DANFE.pastaPDF.isEmpty() ? QDir(programFolder()).filePath(QStringLiteral("pdf")) : DANFE.pastaPDF;
}

namespace {

// The system's printer the DANFE goes to; throws when it cannot take a job,
// so a print that went nowhere is never taken for done.
void prepararImpressora(QPrinter& printer, const QString& nome, const QString& documento)
{
    if (!nome.isEmpty())
        printer.setPrinterName(nome);
    printer.setDocName(documento);
    if (!printer.isValid() || (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()))
        throw std::runtime_error(QStringLiteral("Impressora não disponível: %1")
                                     .arg(nome.isEmpty() ? QStringLiteral("(padrão do sistema)") : nome)
                                     .toStdString());
}

} // namespace

void NFeComponent::ImprimirEvento() { imprimirEventos(DANFE.imprimirEmArquivo); }
void NFeComponent::ImprimirEventoPDF() { imprimirEventos(true); }

void NFeComponent::imprimirEventos(bool pdf)
{
    const QString pasta = pastaPdf();
    const RetornoLoteEvento& retorno = WebServices.EventoRetorno;
    bool impresso = false;
    for (int i = 0; i < EventoNFe.Evento.Count(); ++i) {
        const InfEvento& e = EventoNFe.Evento[i];
        if (e.tpEvento != EventoCartaCorrecao)
            continue;
        RetornoEvento r;
        for (const RetornoEvento& candidato : retorno.retEvento)
            if (candidato.tpEvento == e.tpEvento && candidato.nSeqEvento == e.nSeqEvento)
                r = candidato;
        const QString nome =
            QStringLiteral("%1-cce-%2").arg(OnlyNumber(e.chNFe)).arg(e.nSeqEvento, 2, 10, QChar(u'0'));
        if (pdf) {
            QDir().mkpath(pasta);
            m_ultimoPdf = QDir(pasta).filePath(nome + QStringLiteral(".pdf"));
            gerarCartaCorrecaoPdf(e, r, m_ultimoPdf);
        } else {
            QPrinter printer(QPrinter::HighResolution);
            prepararImpressora(printer, DANFE.impressora, QStringLiteral("CC-e ") + nome);
            prepararPaginaCartaCorrecao(printer);
            QPainter painter;
            if (!painter.begin(&printer))
                throw std::runtime_error("Não foi possível iniciar a impressão da carta de correção.");
            desenharCartaCorrecao(painter, printer, e, r);
            painter.end();
        }
        impresso = true;
    }
    if (!impresso)
        throw std::runtime_error("Nenhuma carta de correção para imprimir.");
}

void NFeComponent::Imprimir() { imprimir(DANFE.imprimirEmArquivo, false); }
void NFeComponent::ImprimirPDF() { imprimir(true, false); }
void NFeComponent::ImprimirCancelado() { imprimir(DANFE.imprimirEmArquivo, true); }
void NFeComponent::ImprimirCanceladoPDF() { imprimir(true, true); }

void NFeComponent::imprimir(bool pdf, bool cancelada)
{
    const QString pasta = pastaPdf();
    for (int i = 0; i < NotasFiscais.Count(); ++i) {
        // Printing reads the model only: values set just for the print (the
        // insurance substitution) must never reach the document's XML.
        const NotaFiscal& nota = NotasFiscais[i];
        DanfeOpcoes opcoes;
        opcoes.cancelada = cancelada;
        opcoes.protocolo = DANFE.protocoloNFe;
        if (pdf) {
            QDir().mkpath(pasta);
            m_ultimoPdf = QDir(pasta).filePath(chaveNumerica(nota.NFe) + QStringLiteral("-nfe.pdf"));
            gerarDanfePdf(nota.NFe, m_ultimoPdf, opcoes);
        } else {
            QPrinter printer(QPrinter::HighResolution);
            prepararImpressora(printer, DANFE.impressora, QStringLiteral("DANFE ") + chaveNumerica(nota.NFe));
            desenharDanfe(printer, nota.NFe, opcoes);
        }
    }
}

} // namespace kvo::nfe
