#include "LeitorMime.h"

#include <QRegularExpression>
#include <QUrl>

#include <stdexcept>

namespace kvo::sendmail::test {

namespace {

[[noreturn]] void quebrada(const char* motivo) { throw std::runtime_error(std::string("MIME: ") + motivo); }

// Headers up to the blank line; returns where the body starts.
qsizetype lerCabecalhos(const QByteArray& texto, QMap<QByteArray, QByteArray>& saida)
{
    const qsizetype fim = texto.indexOf("\r\n\r\n");
    if (fim < 0)
        quebrada("sem linha em branco depois dos cabeçalhos");
    QByteArray nome;
    for (const QByteArray& l : texto.left(fim).split('\n')) {
        const QByteArray linha = l.endsWith('\r') ? l.chopped(1) : l;
        if (!linha.isEmpty() && (linha[0] == ' ' || linha[0] == '\t')) {
            saida[nome] += linha; // a folded line keeps its leading blank
            continue;
        }
        const qsizetype dois = linha.indexOf(':');
        if (dois <= 0)
            quebrada("cabeçalho sem nome");
        nome = linha.left(dois).trimmed().toLower();
        saida[nome] = linha.mid(dois + 1).trimmed();
    }
    return fim + 4;
}

QByteArray parametro(const QByteArray& valor, const QByteArray& nome)
{
    const QRegularExpression re(QStringLiteral("(?:^|;)\\s*%1=(\"((?:[^\"\\\\]|\\\\.)*)\"|[^;\\s]+)")
                                    .arg(QRegularExpression::escape(QString::fromLatin1(nome))),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(valor));
    if (!m.hasMatch())
        return {};
    if (!m.captured(2).isNull() && m.captured(1).startsWith(u'"'))
        return m.captured(2).replace(QStringLiteral("\\\""), QStringLiteral("\"")).toLatin1();
    return m.captured(1).toLatin1();
}

} // namespace

QString decodificarPalavras(const QByteArray& valor)
{
    static const QRegularExpression palavra(QStringLiteral("=\\?UTF-8\\?B\\?([A-Za-z0-9+/=]*)\\?="),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString texto = QString::fromLatin1(valor);
    QByteArray bytes;
    qsizetype pos = 0;
    bool ultimaFoiPalavra = false;
    for (auto it = palavra.globalMatch(texto); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString entre = texto.mid(pos, m.capturedStart() - pos);
        // Blanks between two encoded words are not part of the text (RFC 2047 6.2).
        if (!(ultimaFoiPalavra && entre.trimmed().isEmpty()))
            bytes += entre.toUtf8();
        // Each word must hold whole characters by itself.
        const QByteArray decodificada = QByteArray::fromBase64(m.captured(1).toLatin1());
        if (QString::fromUtf8(decodificada).toUtf8() != decodificada)
            quebrada("palavra codificada com um caractere partido");
        if (m.capturedLength() > 75)
            quebrada("palavra codificada com mais de 75 caracteres");
        bytes += decodificada;
        pos = m.capturedEnd();
        ultimaFoiPalavra = true;
    }
    bytes += texto.mid(pos).toUtf8();
    return QString::fromUtf8(bytes);
}

MensagemLida lerMensagem(const QByteArray& eml)
{
    MensagemLida m;
    const qsizetype inicio = lerCabecalhos(eml, m.cabecalhos);
    m.assunto = decodificarPalavras(m.cabecalhos.value("subject"));
    const QByteArray fronteira = parametro(m.cabecalhos.value("content-type"), "boundary");
    if (fronteira.isEmpty())
        quebrada("sem boundary");
    const QByteArray corpo = eml.mid(inicio);
    const QByteArray separador = "--" + fronteira;
    const qsizetype fim = corpo.indexOf(QByteArray(separador + "--"));
    if (fim < 0)
        quebrada("sem a fronteira final");
    QList<QByteArray> blocos = corpo.left(fim).split('\n');
    // Rebuild the parts between separator lines.
    QList<QByteArray> partes;
    QByteArray atual;
    bool dentro = false;
    for (const QByteArray& l : blocos) {
        const QByteArray linha = l.endsWith('\r') ? l.chopped(1) : l;
        if (linha == separador) {
            if (dentro)
                partes << atual;
            atual.clear();
            dentro = true;
            continue;
        }
        if (dentro)
            atual += linha + "\r\n";
    }
    if (dentro)
        partes << atual;
    for (const QByteArray& p : partes) {
        ParteMime parte;
        const qsizetype ini = lerCabecalhos(p, parte.cabecalhos);
        const QByteArray dados = p.mid(ini);
        if (parte.cabecalhos.value("content-transfer-encoding").toLower() == "base64") {
            for (const QByteArray& l : dados.split('\n'))
                if (l.trimmed().size() > 76)
                    quebrada("linha base64 com mais de 76 caracteres");
            parte.corpo = QByteArray::fromBase64(QByteArray(dados).replace("\r\n", ""));
        } else {
            parte.corpo = dados;
        }
        const QByteArray disp = parte.cabecalhos.value("content-disposition");
        const QByteArray estendido = parametro(disp, "filename*");
        if (!estendido.isEmpty()) {
            if (!estendido.startsWith("UTF-8''"))
                quebrada("filename* sem UTF-8");
            parte.nomeArquivo = QUrl::fromPercentEncoding(estendido.mid(7));
        } else {
            parte.nomeArquivo = QString::fromLatin1(parametro(disp, "filename"));
        }
        m.partes << parte;
    }
    return m;
}

} // namespace kvo::sendmail::test
