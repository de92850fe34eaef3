#include "invoice/FerramentasXMLNFe.h"

#include "core/Paths.h"
#include "framework/ui/UserInterface.h"
#include "invoice/CicloNFeInterno.h"
#include "invoice/DNFVenda.h"
#include "nfe/NFeComponent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kvo::ferramentasXML {

using namespace ciclo;

namespace {

QString campo(TdmNFVenda& dm, const char* nome) {
    return dm.cdsNFVenda().field(QLatin1String(nome)).asString();
}

// The stored document when there is one, else the invoice assembled again.
nfe::NotaFiscal& documento(TdmNFVenda& dm) {
    const QByteArray guardado = campo(dm, "NFV_XML_ENVIADO").toUtf8();
    if (guardado.trimmed().isEmpty())
        return dm.NFE_GerarDados(-1, QString(), QString());
    try {
        return componente().NotasFiscais.LoadFromString(guardado);
    } catch (const std::exception& e) {
        Error(QStringLiteral("O XML guardado da NF-e %1 não pôde ser lido: %2").arg(campo(dm, "CODNFVENDA"), erroDe(e)));
    }
}

} // namespace

QString arquivoPadrao(int numero) {
    return QDir(programFolder()).filePath(QStringLiteral("XML/NFE%1.XML").arg(numero, 5, 10, QLatin1Char('0')));
}

QString exportarXML(TdmNFVenda& dm, int numero, const QString& serie, const QString& arquivo) {
    dm.NFE_Cofigure(numero, serie, 0);
    const QString nprot = campo(dm, "NFV_NFE_NPROT").trimmed();
    if (nprot.isEmpty())
        Informacao(QStringLiteral("Esse XML não vai ser gerado direito, pois não tem o protocolo de entrega!"));
    nfe::NotaFiscal& nota = documento(dm);
    nfe::ProcNFe& p = nota.NFe.procNFe;
    p.nProt = nprot;
    p.cStat = 100;
    p.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
    if (p.tpAmb == 0)
        p.tpAmb = componente().Configuracoes.tpAmb;
    if (nota.NFe.Id.size() < 10)
        nota.NFe.Id = QStringLiteral("NFe") + dm.GetChaveAcesso();
    if (p.chNFe.isEmpty())
        p.chNFe = nota.NFe.Id.mid(3);
    const QString destino = arquivo.isEmpty() ? arquivoPadrao(numero) : arquivo;
    QDir().mkpath(QFileInfo(destino).absolutePath());
    if (!nota.GravarXML(destino))
        Error(QStringLiteral("Não foi possível gravar o XML em %1").arg(destino));
    QFile f(destino);
    if (!f.open(QIODevice::ReadOnly))
        Error(QStringLiteral("Não foi possível ler o XML gravado em %1").arg(destino));
    QByteArray xml = f.readAll();
    f.close();
    xml.replace("protNFeversao", "protNFe versao");
    gravarArquivo(destino, xml);
    Informacao(QStringLiteral("XML Salvo em: ") + destino);
    return destino;
}

bool imprimirDANFE(TdmNFVenda& dm, int numero, const QString& serie) {
    dm.NFE_Cofigure(numero, serie, 0);
    QString nprot = campo(dm, "NFV_NFE_NPROT").trimmed();
    nfe::NotaFiscal& nota = dm.NFE_GerarDados(-1, QString(), QString());
    const QString arquivo = QDir(programFolder()).filePath(QStringLiteral("nfe.xml"));
    if (!nota.GravarXML(arquivo))
        Error(QStringLiteral("Não foi possível gravar o XML em %1").arg(arquivo));
    if (nprot.isEmpty()) {
        const auto digitado = InputBox(QStringLiteral("Protocolo"), QStringLiteral("Numero"));
        if (!digitado)
            return false;
        nprot = digitado->trimmed();
    }
    componente().DANFE.protocoloNFe = nprot;
    imprimirDanfe(false);
    return true;
}

} // namespace kvo::ferramentasXML
