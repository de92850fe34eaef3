#include "nfe/NFeCommand.h"

#include "core/Paths.h"
#include "nfe/AssinadorXml.h"
#include "nfe/CertificadoA1.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/Danfe.h"
#include "nfe/NFeXmlReader.h"
#include "nfe/ValidadorXml.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace kvo::nfe {

namespace {

struct Usage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Positional arguments and "--name value" options (flags listed in `flags`).
struct Args {
    QStringList positional;
    QHash<QString, QString> options;

    Args(const QStringList& args, const QStringList& flags)
    {
        for (int i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (!a.startsWith(QStringLiteral("--"))) {
                positional << a;
            } else if (flags.contains(a.mid(2))) {
                options.insert(a.mid(2), QStringLiteral("S"));
            } else {
                if (i + 1 >= args.size())
                    throw Usage("Falta o valor de " + a.toStdString());
                options.insert(a.mid(2), args[++i]);
            }
        }
    }
    QString required(const QString& name) const
    {
        if (!options.contains(name))
            throw Usage("Informe --" + name.toStdString());
        return options.value(name);
    }
    int number(const QString& name, int fallback) const
    {
        if (!options.contains(name))
            return fallback;
        bool ok = false;
        const int v = options.value(name).toInt(&ok);
        if (!ok)
            throw Usage("Valor inválido para --" + name.toStdString());
        return v;
    }
    QString file() const
    {
        if (positional.size() < 2)
            throw Usage("Informe o arquivo");
        return positional[1];
    }
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("Arquivo não encontrado: " + path.toStdString());
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw std::runtime_error("Não foi possível gravar: " + path.toStdString());
}

int validate(const Args& a, QTextStream& out, QTextStream& err)
{
    const QByteArray xml = readFile(a.file());
    const QString pasta = a.options.value(QStringLiteral("schemas"), QDir(programFolder()).filePath(QStringLiteral("Schemas")));
    const QStringList erros = ValidadorXml(pasta).validar(xml, ValidadorXml::schemaPara(xml));
    if (erros.isEmpty()) {
        out << "XML válido: " << a.file() << Qt::endl;
        return 0;
    }
    err << "XML inválido: " << a.file() << Qt::endl;
    for (const QString& e : erros)
        err << "  " << e << Qt::endl;
    return 1;
}

const char* signedElement(const QByteArray& xml)
{
    if (xml.contains("<infEvento"))
        return "infEvento";
    if (xml.contains("<infInut"))
        return "infInut";
    return "infNFe";
}

int sign(const Args& a, QTextStream& out)
{
    const QByteArray xml = readFile(a.file());
    const CertificadoA1 cert = CertificadoA1::carregar(a.required(QStringLiteral("pfx")), a.required(QStringLiteral("senha")));
    const QByteArray assinado = AssinadorXml(cert).assinar(xml, signedElement(xml));
    const QString destino = a.options.value(QStringLiteral("out"), a.file());
    writeFile(destino, QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + assinado);
    out << "XML assinado: " << destino << Qt::endl;
    return 0;
}

int danfe(const Args& a, QTextStream& out)
{
    const NFe nfe = readNFeXml(readFile(a.file()));
    DanfeOpcoes opcoes;
    opcoes.cancelada = a.options.contains(QStringLiteral("cancelada"));
    opcoes.protocolo = a.options.value(QStringLiteral("protocolo"));
    const QString pdf = a.required(QStringLiteral("pdf"));
    gerarDanfePdf(nfe, pdf, opcoes);
    out << "DANFE gerado: " << pdf << " (" << paginasDanfe(nfe) << " página(s))" << Qt::endl;
    return 0;
}

int chave(const Args& a, QTextStream& out)
{
    const int uf = UFparaCodigo(a.required(QStringLiteral("uf")));
    if (uf == 0)
        throw Usage("UF desconhecida: " + a.required(QStringLiteral("uf")).toStdString());
    const QDate data = QDate::fromString(a.required(QStringLiteral("data")), Qt::ISODate);
    if (!data.isValid())
        throw Usage("Data inválida (use AAAA-MM-DD)");
    const int numero = a.number(QStringLiteral("numero"), 0);
    const QString key = GerarChaveAcesso(uf, data, a.required(QStringLiteral("cnpj")), a.number(QStringLiteral("serie"), 1),
                                         numero, a.number(QStringLiteral("tpemis"), 1), a.number(QStringLiteral("cnf"), numero),
                                         a.number(QStringLiteral("modelo"), 55));
    out << key.mid(3) << Qt::endl;
    return 0;
}

int cert(const Args& a, QTextStream& out)
{
    const CertificadoA1 c = CertificadoA1::carregar(a.file(), a.required(QStringLiteral("senha")));
    const QString formato = QStringLiteral("dd/MM/yyyy HH:mm:ss");
    out << "Titular: " << c.nomeTitular() << Qt::endl
        << "Subject: " << c.subject() << Qt::endl
        << "CNPJ: " << c.cnpj() << Qt::endl
        << "Válido de: " << c.validoDe().toString(formato) << " UTC" << Qt::endl
        << "Válido até: " << c.validoAte().toString(formato) << " UTC" << Qt::endl;
    if (c.vencido(QDateTime::currentDateTimeUtc()))
        out << "ATENÇÃO: certificado fora da validade" << Qt::endl;
    return 0;
}

} // namespace

int runNfeCommand(const QStringList& input, QTextStream& out, QTextStream& err)
{
    QStringList args = input;
    if (!args.isEmpty() && args.first() == u"nfe")
        args.removeFirst();
    const QString command = args.value(0);
    try {
        if (command == u"validate")
            return validate(Args(args, {}), out, err);
        if (command == u"sign")
            return sign(Args(args, {}), out);
        if (command == u"danfe")
            return danfe(Args(args, {QStringLiteral("cancelada")}), out);
        if (command == u"chave")
            return chave(Args(args, {}), out);
        if (command == u"cert")
            return cert(Args(args, {}), out);
        throw Usage(command.isEmpty() ? "Informe o comando" : "Comando desconhecido: " + command.toStdString());
    } catch (const Usage& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl
            << "Uso: kvo nfe validate ARQ | sign ARQ --pfx PFX --senha S [--out ARQ] | "
               "danfe ARQ --pdf PDF [--cancelada] | chave --uf UF --data AAAA-MM-DD --cnpj CNPJ "
               "--serie N --numero N [--cnf N] [--tpemis N] | cert PFX --senha S"
            << Qt::endl;
        return 2;
    } catch (const std::exception& e) {
        err << "Erro: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}

} // namespace kvo::nfe
