#pragma once

#include <QString>

namespace kvo {

// Password authorisations (frmSenha), asked through the user-interface port.
class TfrmSenha {
public:
    // The typed password; empty when cancelled.
    static QString chamaSenha(const QString& prompt);
    // A supervisor's user and password.
    static bool autorizarDesconto();
    // The password stored under a configuration key; an empty stored
    // password needs no check.
    static bool autorizarSenhaParametro(const QString& chave, const QString& prompt);
};

} // namespace kvo
