#pragma once

#include <QString>

namespace kvo::nfe {

class NFeComponent;

// The shop's NF-e settings file (INI, UTF-8), by default "nfe.ini" in the
// program folder. Relative paths are relative to the file's folder.
//
//   [certificado]  arquivo=PFX  senha=TEXT
//   [nfe]          ambiente=1|2  uf=SP  cnpj=DIGITS  schemas=FOLDER
//   [webservices]  ca=PEM  url=BASE  timeout=SECONDS  timeoutConexao=SECONDS
//                  NFeAutorizacao4=URL ... (one address per service, optional)
QString arquivoConfiguracaoPadrao();

// Applies the file to the component; throws std::runtime_error when it does not exist.
void carregarConfiguracoes(NFeComponent& componente, const QString& arquivo);

// The issuer's CNPJ the file names ([nfe] cnpj), else the certificate's.
QString cnpjConfigurado(NFeComponent& componente, const QString& arquivo);

} // namespace kvo::nfe
