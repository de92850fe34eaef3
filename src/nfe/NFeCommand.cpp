#include "nfe/NFeCommand.h"

#include "core/Paths.h"
#include "nfe/AssinadorXml.h"
#include "nfe/CertificadoA1.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/ConfiguracoesArquivo.h"
#include "nfe/NFeComponent.h"
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

QString configuracao(const Args& a)
{
    return a.options.value(QStringLiteral("config"), arquivoConfiguracaoPadrao());
}

int status(const Args& a, QTextStream& out)
{
    NFeComponent c;
    carregarConfiguracoes(c, configuracao(a));
    c.WebServices.ConsultarStatus();
    const auto& s = c.WebServices.StatusServico;
    out << "Status: " << s.cStat << " - " << s.xMotivo << Qt::endl
        << "Ambiente: " << (c.Configuracoes.tpAmb == 1 ? "produção" : "homologação") << Qt::endl
        << "Tempo médio: " << s.tMed << " s" << Qt::endl;
    return s.cStat == 107 ? 0 : 1;
}

int consultar(const Args& a, QTextStream& out)
{
    if (a.positional.size() < 2)
        throw Usage("Informe a chave de acesso");
    NFeComponent c;
    carregarConfiguracoes(c, configuracao(a));
    c.WebServices.NFeConsulta.NFeChave = a.positional[1];
    c.WebServices.Consultar();
    const auto& r = c.WebServices.NFeConsulta;
    out << "Situação: " << r.cStat << " - " << r.xMotivo << Qt::endl;
    if (!r.Protocolo.isEmpty())
        out << "Protocolo: " << r.Protocolo << " de " << r.DhRecbto.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
            << Qt::endl;
    for (const auto& e : r.eventos)
        out << "Evento " << e.tpEvento << " seq. " << e.nSeqEvento << ": " << e.cStat << " - " << e.xMotivo
            << " (protocolo " << e.nProt << ")" << Qt::endl;
    return r.cStat == 100 || r.cStat == 101 || r.cStat == 150 || r.cStat == 151 ? 0 : 1;
}

int inutilizar(const Args& a, QTextStream& out)
{
    NFeComponent c;
    const QString arquivo = configuracao(a);
    carregarConfiguracoes(c, arquivo);
    const QString cnpj = a.options.value(QStringLiteral("cnpj"), cnpjConfigurado(c, arquivo));
    const int modelo = a.number(QStringLiteral("modelo"), 55);
    if (modelo != 55 && modelo != 65)
        throw Usage("Modelo deve ser 55 ou 65");
    const int inicio = a.number(QStringLiteral("inicio"), -1);
    const int fim = a.number(QStringLiteral("fim"), inicio);
    if (inicio <= 0 || fim < inicio)
        throw Usage("Informe --inicio e --fim (inicial até final)");
    c.WebServices.Inutiliza(cnpj, a.options.value(QStringLiteral("justificativa"), QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA")),
                            a.number(QStringLiteral("ano"), QDate::currentDate().year()), modelo,
                            a.number(QStringLiteral("serie"), 1), inicio, fim);
    const auto& r = c.WebServices.Inutilizacao;
    out << "Inutilizado com sucesso!" << Qt::endl
        << "Retorno: " << r.cStat << " - " << r.xMotivo << " (protocolo " << r.Protocolo << ")" << Qt::endl;
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
        if (command == u"status")
            return status(Args(args, {}), out);
        if (command == u"consultar")
            return consultar(Args(args, {}), out);
        if (command == u"inutilizar")
            return inutilizar(Args(args, {}), out);
        throw Usage(command.isEmpty() ? "Informe o comando" : "Comando desconhecido: " + command.toStdString());
    } catch (const Usage& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl
            << "Uso: kvo nfe validate ARQ | sign ARQ --pfx PFX --senha S [--out ARQ] | "
               "danfe ARQ --pdf PDF [--cancelada] | chave --uf UF --data AAAA-MM-DD --cnpj CNPJ "
               "--serie N --numero N [--cnf N] [--tpemis N] | cert PFX --senha S | "
               "status | consultar CHAVE | inutilizar --serie N --inicio N --fim N [--ano AAAA] [--modelo 55|65] "
               "[--justificativa TEXTO] [--cnpj CNPJ]\n"
               "status, consultar e inutilizar leem a configuração de nfe.ini na pasta do programa "
               "(ou --config ARQ): [certificado] arquivo, senha; [nfe] ambiente, uf, cnpj, schemas; "
               "[webservices] ca, url, timeout"
            << Qt::endl;
        return 2;
    } catch (const std::exception& e) {
        err << "Erro: " << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
}

} // namespace kvo::nfe
