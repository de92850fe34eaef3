#include "invoice/ValidacaoObservacaoSimples.h"

#include "framework/ui/UserInterface.h"

#include <QRegularExpression>

namespace kvo {

namespace {
// "1.234,56", "12,5", "3.25": digits with the separators people type.
bool numero(const QString& texto) {
    static const QRegularExpression re(QStringLiteral("^\\d[\\d.]*(,\\d+)?$"));
    return re.match(texto.trimmed()).hasMatch();
}
} // namespace

void validarObservacaoSimples(const ObservacaoSimples& obs) {
    if (obs.opcao != 6)
        return;
    if (!numero(obs.valor) || !numero(obs.aliquota))
        Error(QStringLiteral("Informe o valor e a alíquota do crédito de ICMS!"));
}

} // namespace kvo
