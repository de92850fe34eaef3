#include "sendmail/PedidoEmail.h"

#include <QRegularExpression>

#include <stdexcept>

namespace kvo::sendmail {

namespace {

[[noreturn]] void recusar(const QString& motivo) { throw std::invalid_argument(motivo.toStdString()); }

bool enderecoValido(const QString& e)
{
    static const QRegularExpression re(QStringLiteral("^[^@\\s<>\"(),;:]+@[^@\\s<>\"(),;:]+$"));
    return re.match(e).hasMatch();
}

} // namespace

PedidoEmail lerLinhaDeComando(const QStringList& argumentos)
{
    const QString linha = argumentos.join(u' ').trimmed();
    const QStringList campos = linha.split(u'|');
    if (campos.size() < 5)
        recusar(QStringLiteral("Uso: KVOSendMail destinatarios|assunto|anexo1,anexo2|text|mensagem"));
    PedidoEmail p;
    for (const QString& d : campos[0].split(QRegularExpression(QStringLiteral("[,;]")), Qt::SkipEmptyParts)) {
        const QString e = d.trimmed();
        if (e.isEmpty())
            continue;
        if (!enderecoValido(e))
            recusar(QStringLiteral("Endereço de e-mail inválido: \"%1\"").arg(e));
        p.destinatarios << e;
    }
    if (p.destinatarios.isEmpty())
        recusar(QStringLiteral("Nenhum destinatário informado."));
    p.assunto = campos[1].trimmed();
    // A line break in the subject would let the text write headers of its own.
    if (p.assunto.contains(u'\r') || p.assunto.contains(u'\n'))
        recusar(QStringLiteral("O assunto não pode ter quebras de linha."));
    for (const QString& a : campos[2].split(u',', Qt::SkipEmptyParts))
        if (!a.trimmed().isEmpty())
            p.anexos << a.trimmed();
    p.html = campos[3].trimmed().compare(QLatin1String("html"), Qt::CaseInsensitive) == 0;
    // The body is the rest: it may itself contain "|".
    p.corpo = campos.mid(4).join(u'|');
    return p;
}

} // namespace kvo::sendmail
