#include "sendmail/MensagemMime.h"

#include <QLocale>
#include <QUrl>

namespace kvo::sendmail {

namespace {

bool ascii(const QString& t)
{
    for (QChar c : t)
        if (c.unicode() > 126 || c.unicode() < 32)
            return false;
    return true;
}

QByteArray endereco(const QString& nome, const QString& email)
{
    if (nome.isEmpty())
        return email.toLatin1();
    QByteArray exibido;
    if (ascii(nome)) {
        QString n = nome;
        n.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
        exibido = '"' + n.toLatin1() + '"';
    } else {
        exibido = codificarCabecalho(nome);
    }
    return exibido + " <" + email.toLatin1() + '>';
}

// filename="..." for ASCII names, else the RFC 2231 form beside an encoded word.
QByteArray parametroNome(const char* parametro, const QString& nome)
{
    if (ascii(nome)) {
        QString n = nome;
        n.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
        return QByteArray(parametro) + "=\"" + n.toLatin1() + '"';
    }
    return QByteArray(parametro) + "*=UTF-8''" + QUrl::toPercentEncoding(nome);
}

QByteArray dataRfc5322(const QDateTime& d)
{
    const int seg = d.offsetFromUtc();
    const int abs = seg < 0 ? -seg : seg;
    return QLocale::c().toString(d, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() + (seg < 0 ? '-' : '+')
        + QByteArray::number(abs / 3600).rightJustified(2, '0') + QByteArray::number(abs % 3600 / 60).rightJustified(2, '0');
}

} // namespace

QByteArray codificarCabecalho(const QString& texto)
{
    if (ascii(texto))
        return texto.toLatin1();
    // "=?UTF-8?B?" + base64 + "?=" within 75: 45 bytes of text give 60 of base64.
    constexpr int MaxBytes = 45;
    QList<QByteArray> palavras;
    QByteArray atual;
    for (qsizetype i = 0; i < texto.size();) {
        const qsizetype n = texto.at(i).isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QByteArray c = texto.mid(i, n).toUtf8();
        if (atual.size() + c.size() > MaxBytes) {
            palavras << atual;
            atual.clear();
        }
        atual += c;
        i += n;
    }
    if (!atual.isEmpty())
        palavras << atual;
    QByteArray saida;
    for (const QByteArray& p : palavras) {
        if (!saida.isEmpty())
            saida += "\r\n ";
        saida += "=?UTF-8?B?" + p.toBase64() + "?=";
    }
    return saida;
}

QByteArray base64EmLinhas(const QByteArray& dados)
{
    const QByteArray b = dados.toBase64();
    QByteArray saida;
    saida.reserve(b.size() + b.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < b.size(); i += 76)
        saida += b.mid(i, 76) + "\r\n";
    return saida;
}

QByteArray tipoDoAnexo(const QString& nome)
{
    const QString n = nome.toLower();
    if (n.endsWith(QLatin1String(".xml")))
        return "application/xml";
    if (n.endsWith(QLatin1String(".pdf")))
        return "application/pdf";
    if (n.endsWith(QLatin1String(".txt")))
        return "text/plain";
    return "application/octet-stream";
}

QByteArray montarMensagem(const Mensagem& m, const QByteArray& fronteira)
{
    const QDateTime data = m.data.isValid() ? m.data : QDateTime::currentDateTime();
    QByteArray s;
    s += "Date: " + dataRfc5322(data) + "\r\n";
    s += "From: " + endereco(m.nomeRemetente, m.remetente) + "\r\n";
    QList<QByteArray> para;
    for (const QString& d : m.para)
        para << d.toLatin1();
    s += "To: " + para.join(",\r\n ") + "\r\n";
    s += "Subject: " + codificarCabecalho(m.assunto) + "\r\n";
    if (!m.messageId.isEmpty())
        s += "Message-ID: " + m.messageId.toLatin1() + "\r\n";
    s += "MIME-Version: 1.0\r\n";
    s += "Content-Type: multipart/mixed; boundary=\"" + fronteira + "\"\r\n\r\n";
    s += "--" + fronteira + "\r\n";
    s += QByteArray("Content-Type: ") + (m.html ? "text/html" : "text/plain") + "; charset=UTF-8\r\n";
    s += "Content-Transfer-Encoding: base64\r\n\r\n";
    s += base64EmLinhas(m.corpo.toUtf8());
    for (const Anexo& a : m.anexos) {
        s += "--" + fronteira + "\r\n";
        s += "Content-Type: " + tipoDoAnexo(a.nome) + "; " + parametroNome("name", a.nome) + "\r\n";
        s += "Content-Disposition: attachment; " + parametroNome("filename", a.nome) + "\r\n";
        s += "Content-Transfer-Encoding: base64\r\n\r\n";
        s += base64EmLinhas(a.conteudo);
    }
    s += "--" + fronteira + "--\r\n";
    return s;
}

} // namespace kvo::sendmail
