#pragma once

#include "nfe/CertificadoA1.h"
#include "nfe/EventoNFe.h"
#include "nfe/NotaFiscal.h"
#include "nfe/WebServicesNFe.h"

#include <QString>

#include <memory>

namespace kvo::nfe {

class AssinadorXml;
class ValidadorXml;

struct ConfiguracoesNFe {
    QString arquivoPfx;
    QString senhaPfx;
    QString pastaSchemas; // empty: <program folder>/Schemas
    int tpAmb = 2;        // 1 production, 2 homologation
    int tpEmis = 1;
    ConfiguracoesWebServices WebServices;
    // Event files (request and answer) are written to PathEvento while Salvar is on.
    bool Salvar = false;
    QString PathEvento;   // empty: <program folder>/evento
    // Every signed document is written here ("<key>-nfe.xml") before it is
    // sent, and again with its protocol once authorised.
    QString PathEnviadas; // empty: <program folder>/nfe/enviadas
};

struct ConfiguracoesDanfe {
    QString pastaPDF;      // empty: <program folder>/pdf
    QString protocoloNFe;  // printed when the document carries no protocol
    QString impressora;    // empty: the system's default printer
    bool imprimirEmArquivo = false; // Imprimir writes a PDF in pastaPDF instead
    int tipoDanfe = 1;     // 1 portrait
};

// The NF-e component the invoice life cycle drives: a document list, the
// certificate, schema validation and the DANFE.
class NFeComponent {
public:
    NFeComponent();
    ~NFeComponent();

    ConfiguracoesNFe Configuracoes;
    ConfiguracoesDanfe DANFE;
    nfe::NotasFiscais NotasFiscais{this};

    EventosNFe EventoNFe;
    nfe::WebServices WebServices{this};

    // Sends EventoNFe as batch `lote`; false when the batch was refused
    // (WebServices.EventoRetorno says why).
    bool EnviarEvento(qint64 lote) { return WebServices.EnviarEvento(lote); }
    // The correction letters of the last events sent, on the DANFE's printer
    // (or as PDF when printing to file); ImprimirEventoPDF always writes the
    // PDF in the PDF folder ("<key>-cce-<seq>.pdf"); ArquivoPDF() is the last one.
    void ImprimirEvento();
    void ImprimirEventoPDF();

    void GerarNFe() { NotasFiscais.GerarNFe(); }
    void Assinar() { NotasFiscais.Assinar(); }
    void Validar() { NotasFiscais.Validar(); }

    // DANFE of every document: to the printer (or a PDF when printing to
    // file), to a PDF in the PDF folder ("<key>-nfe.pdf"), or marked cancelled
    // (to the printer, or always to the PDF for e-mailing). A printer that
    // cannot start throws std::runtime_error naming it. A document without a
    // protocol prints as a preview.
    void Imprimir();
    void ImprimirPDF();
    void ImprimirCancelado();
    void ImprimirCanceladoPDF();
    // envEvento of EventoNFe, and an inutNFe, signed and checked against their
    // schemas (sending them is the web-service client's). Throws
    // std::runtime_error with the schema's complaints.
    QByteArray GerarEventoAssinado();
    QByteArray GerarInutilizacaoAssinada(const InutilizacaoNFe& inutilizacao);

    // Path of the last PDF written.
    QString ArquivoPDF() const { return m_ultimoPdf; }

    // Loaded once from Configuracoes and kept; reset when they change.
    const CertificadoA1& certificado();
    const AssinadorXml& assinador();
    const ValidadorXml& validador();
    void recarregarCertificado();

private:
    void imprimir(bool pdf, bool cancelada);
    void imprimirEventos(bool pdf);
    QString pastaPdf() const;
    QByteArray assinarEValidar(const QByteArray& xml, const char* elemento, const QString& schema,
                               const QString& oQue);

    std::unique_ptr<CertificadoA1> m_certificado;
    std::unique_ptr<AssinadorXml> m_assinador;
    std::unique_ptr<ValidadorXml> m_validador;
    QString m_ultimoPdf;
};

} // namespace kvo::nfe
