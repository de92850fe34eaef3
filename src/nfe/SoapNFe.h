#pragma once

#include <QByteArray>
#include <QString>

// The SOAP 1.2 side of the authority's web services (layout 4.00): service
// names, actions, envelopes and the published addresses.
namespace kvo::nfe::soap {

enum class Servico { Autorizacao, RetAutorizacao, ConsultaProtocolo, StatusServico, RecepcaoEvento, Inutilizacao };

// "NFeAutorizacao4" and so on: the WSDL name, also the key for URL overrides.
QString nome(Servico s);
// The WSDL operation ("nfeAutorizacaoLote").
QString operacao(Servico s);
// "http://www.portalfiscal.inf.br/nfe/wsdl/NFeAutorizacao4"
QString namespaceWsdl(Servico s);
// The service whose WSDL namespace is `ns`; false when none.
bool servicoDoNamespace(const QString& ns, Servico* s);

// Envelope with the message inside nfeDadosMsg (no XML declaration in the message).
QByteArray envelope(Servico s, const QByteArray& mensagem);
// Envelope with the message gzip-compressed and base64-encoded in
// nfeDadosMsgZip (authorisation only, operation nfeAutorizacaoLoteZip).
QByteArray envelopeZip(Servico s, const QByteArray& mensagem);
// Envelope of an answer: the message inside nfeResultMsg.
QByteArray envelopeResposta(Servico s, const QByteArray& mensagem);
// Content-Type header with the action parameter of SOAP 1.2.
QByteArray contentType(Servico s, bool zip = false);
// The first element inside nfeDadosMsg/nfeResultMsg, bytes as received (or
// unpacked from nfeDadosMsgZip), and the namespace of that wrapper. Throws
// std::runtime_error when absent.
QByteArray conteudo(const QByteArray& envelope, QString* namespaceWrapper = nullptr);

QByteArray gzip(const QByteArray& dados);
QByteArray gunzip(const QByteArray& dados); // throws std::runtime_error when corrupt

// The published address of the service for a state (UF letters) and
// environment (1 production, 2 homologation); empty when unknown.
// Model 65 (NFC-e) has addresses of its own; empty where this build knows none.
QString enderecoPublicado(const QString& uf, int tpAmb, Servico s, int modelo = 55);

} // namespace kvo::nfe::soap
