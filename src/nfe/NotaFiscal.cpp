#include "nfe/NotaFiscal.h"

#include "nfe/AssinadorXml.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeXmlReader.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/ValidadorXml.h"
#include "nfe/VerificadorAssinatura.h"
#include "nfe/XmlLib.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace kvo::nfe {

void NotaFiscal::GerarXML()
{
    NFe.Id = chaveDoDocumento(NFe);
    NFe.Ide.cDV = NFe.Id.right(1).toInt();
    XML = writeNFeXml(NFe);
    m_modeloGerado = NFe;
    m_xmlDoModelo = true;
    Assinada = false;
    m_docAssinado.reset();
}

QByteArray NotaFiscal::XMLOriginal() const
{
    if (NFe.procNFe.nProt.isEmpty())
        return XML;
    // A protocol set by hand for a reprint names only number, status and
    // date; the stored nfeProc needs the rest of the group to be valid.
    ProcNFe p = NFe.procNFe;
    if (p.tpAmb == 0)
        p.tpAmb = NFe.Ide.tpAmb;
    if (p.chNFe.isEmpty())
        p.chNFe = chaveNumerica(NFe);
    if (p.digVal.isEmpty() && Assinada)
        p.digVal = digestValue(XML);
    return writeNfeProcXml(XML, p);
}

bool NotaFiscal::GravarXML(const QString& name, const QString& folder)
{
    if (XML.isEmpty())
        GerarXML();
    const QString path = folder.isEmpty() ? name : QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    file.write(XMLOriginal());
    if (!file.commit())
        return false;
    NomeArq = path;
    return true;
}

NotaFiscal& NotasFiscais::LoadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Arquivo não encontrado: " + path.toStdString());
    NotaFiscal& nota = LoadFromString(file.readAll());
    nota.NomeArq = path;
    return nota;
}

NotaFiscal& NotasFiscais::LoadFromString(const QByteArray& xml)
{
    nfe::NFe model = readNFeXml(xml);
    NotaFiscal& nota = Add();
    nota.NFe = std::move(model);
    nota.XML = extractNFeElement(xml);
    nota.Assinada = nota.XML.contains("<Signature");
    nota.m_xmlDoModelo = false;
    nota.m_docAssinado.reset();
    return nota;
}

void NotasFiscais::GerarNFe()
{
    for (NotaFiscal& n : m_items)
        if (!n.Transmitida)
            n.GerarXML();
}

void NotasFiscais::Assinar()
{
    const AssinadorXml& assinador = m_owner->assinador();
    for (NotaFiscal& n : m_items) {
        if (n.Transmitida)
            continue;
        // The model is what gets signed, edits made after generating or loading included.
        if (!n.m_xmlDoModelo || n.Assinada || !(n.NFe == n.m_modeloGerado))
            n.GerarXML();
        xml::DocPtr doc = xml::parse(n.XML);
        assinador.assinar(doc.get(), "infNFe");
        n.XML = xml::dumpRoot(doc.get());
        n.Assinada = true;
        n.m_docAssinado.reset(doc.release(), xml::DocDeleter());
    }
}

void NotasFiscais::Validar()
{
    const ValidadorXml& validador = m_owner->validador();
    QStringList erros;
    for (int i = 0; i < Count(); ++i) {
        NotaFiscal& n = Items(i);
        if (n.XML.isEmpty())
            n.GerarXML();
        const QString schema = QStringLiteral("nfe_v4.00.xsd");
        const QStringList problemas = n.m_docAssinado ? validador.validar(n.m_docAssinado.get(), schema)
                                                      : validador.validar(n.XML, schema);
        if (!problemas.isEmpty())
            erros << QStringLiteral("Falha na validação dos dados da nota %1 (%2):\n%3")
                         .arg(i + 1)
                         .arg(n.NFe.Id, problemas.join(u'\n'));
    }
    if (!erros.isEmpty())
        throw std::runtime_error(erros.join(u'\n').toStdString());
}

void NotasFiscais::GravarXML(const QString& folder)
{
    for (NotaFiscal& n : m_items) {
        if (n.XML.isEmpty())
            n.GerarXML();
        if (!n.GravarXML(chaveNumerica(n.NFe) + QStringLiteral("-nfe.xml"), folder))
            throw std::runtime_error("Não foi possível gravar o XML em " + folder.toStdString());
    }
}

} // namespace kvo::nfe
