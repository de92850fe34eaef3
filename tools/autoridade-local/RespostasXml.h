#pragma once

// Writing the authority's answers: fields in order, the layout's namespace.
#include "nfe/NFeFormat.h"
#include "nfe/VerificadorAssinatura.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <utility>

namespace kvo::autoridade {

inline const char* const VerAplic = "KVO-AL-1.0";

using Campos = QList<std::pair<const char*, QString>>;

inline QByteArray campos(const Campos& lista)
{
    QByteArray out;
    for (const auto& [nome, valor] : lista)
        if (!valor.isEmpty())
            out += QByteArray("<") + nome + '>' + valor.toHtmlEscaped().toUtf8() + "</" + nome + '>';
    return out;
}

inline QByteArray raiz(const char* nome, const char* versao, const QByteArray& dentro)
{
    return QByteArray("<") + nome + " xmlns=\"http://www.portalfiscal.inf.br/nfe\" versao=\"" + versao + "\">"
        + dentro + "</" + nome + '>';
}

inline QByteArray grupo(const char* nome, const QByteArray& dentro)
{
    return QByteArray("<") + nome + '>' + dentro + "</" + nome + '>';
}

inline QString agora() { return nfe::fmt::dateTime(QDateTime::currentDateTime()); }
inline QString n(int v) { return QString::number(v); }

// Rejection codes for a signature the verifier refused.
inline std::pair<int, QString> rejeicaoAssinatura(nfe::VerificadorAssinatura::Resultado r)
{
    using R = nfe::VerificadorAssinatura::Resultado;
    switch (r) {
    case R::Ausente: return {298, QStringLiteral("Rejeição: Assinatura difere do padrão do Sistema")};
    case R::CertificadoNaoConfiavel: return {290, QStringLiteral("Rejeição: Certificado Assinatura inválido")};
    case R::Divergente:
    case R::Valida: break;
    }
    return {297, QStringLiteral("Rejeição: Assinatura difere do calculado")};
}

} // namespace kvo::autoridade
