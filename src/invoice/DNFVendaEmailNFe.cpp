// The authorised NF-e mailed to the customer (and the carrier): its XML and
// DANFE PDF handed to the mail client or to the shop's mailer program.
#include "invoice/DNFVenda.h"

#include "core/Paths.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "invoice/CicloNFeInterno.h"
#include "invoice/DNFVendaInterno.h"
#include "invoice/PortasNFe.h"
#include "nfe/NFeComponent.h"

#include <QDir>
#include <QFile>

namespace kvo {

using namespace nfvenda;
using namespace ciclo;

namespace {

// The file of that name in its folder, its letter case ignored; empty when none.
QString semCaixa(const QString& caminho) {
    if (QFile::exists(caminho))
        return caminho;
    const QFileInfo info(caminho);
    for (const QString& nome : QDir(info.absolutePath()).entryList(QDir::Files))
        if (nome.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return QDir(info.absolutePath()).filePath(nome);
    return QString();
}

} // namespace

void TdmNFVenda::enviarEmailNFe(nfe::NotaFiscal& nota, bool cancelada) {
    RecordSet& c = *m_cab;
    nfe::NFeComponent& comp = componente();
    const auto pessoa = conexao().query(
        QStringLiteral("select PES_EMAIL, PES_EMAIL_NFE from PESSOA where CODPESSOA = :P"),
        {{QStringLiteral("P"), inteiro(c, "CODPESSOA")}});
    QString destino;
    if (!pessoa->isEmpty()) {
        destino = pessoa->field(QStringLiteral("PES_EMAIL_NFE")).asString().trimmed();
        if (destino.isEmpty())
            destino = pessoa->field(QStringLiteral("PES_EMAIL")).asString().trimmed();
    }
    if (destino.isEmpty())
        Error(QStringLiteral("A Pessoa informada na NF não tem e-mail cadastrado!"));

    const QString pastaPdf = comp.DANFE.pastaPDF.isEmpty() ? QDir(programFolder()).filePath(QStringLiteral("pdf"))
                                                          : comp.DANFE.pastaPDF;
    QDir().mkpath(pastaPdf);
    const QString base = QDir(pastaPdf).filePath(QString(nota.NFe.Id).remove(QStringLiteral("NFe")));
    comp.DANFE.protocoloNFe = str(c, "NFV_NFE_NPROT").trimmed();
    if (!nota.NFe.procNFe.dhRecbto.isValid())
        nota.NFe.procNFe.dhRecbto = f(c, "NFV_NFE_EMISSAO").isNull()
            ? f(c, "NFV_DTEMISSAO").asDateTime()
            : f(c, "NFV_NFE_EMISSAO").asDateTime();

    nota.GravarXML(base + QStringLiteral("-nfe.xml"));
    // The e-mail's PDF is a file whatever the printing settings say.
    const bool emArquivo = std::exchange(comp.DANFE.imprimirEmArquivo, true);
    struct Restaurar {
        bool& alvo;
        bool valor;
        ~Restaurar() { alvo = valor; }
    } restaurar{comp.DANFE.imprimirEmArquivo, emArquivo};
    if (cancelada)
        comp.ImprimirCancelado();
    else
        comp.ImprimirPDF();
    const QString pdfGerado = semCaixa(base + QStringLiteral("-nfe.pdf"));
    if (!pdfGerado.isEmpty()) {
        QFile::remove(base + QStringLiteral(".pdf"));
        if (!QFile::rename(pdfGerado, base + QStringLiteral(".pdf")))
            throw std::runtime_error(
                QStringLiteral("Não foi possível renomear %1 para %2.pdf").arg(pdfGerado, base).toStdString());
    }

    if (inteiro(c, "CODTRANSPORTADORA") > 0) {
        // The carrier's e-mail, its key values bound.
        const QString transportadora =
            conexao()
                .scalar(QStringLiteral(" SELECT    PESSOA.PES_EMAIL  FROM    NFVENDA    INNER JOIN PESSOA ON "
                                       "(NFVENDA.CODTRANSPORTADORA = PESSOA.CODPESSOA)  WHERE CODNFVENDA = :N   AND "
                                       "CODSERIE   = :S"),
                        {{QStringLiteral("N"), inteiro(c, "CODNFVENDA")}, {QStringLiteral("S"), str(c, "CODSERIE")}})
                .toString()
                .trimmed();
        if (!transportadora.isEmpty())
            destino += QStringLiteral(", ") + transportadora;
    }

    const QString xml = semCaixa(base + QStringLiteral("-NFe.xml"));
    if (xml.isEmpty())
        Error(QStringLiteral("Não foi encontrado o arquivo: %1-NFe.xml\rXML em: %2").arg(base, nota.NomeArq));
    const QString pdf = semCaixa(base + QStringLiteral(".pdf"));
    if (pdf.isEmpty())
        Error(QStringLiteral("Não foi encontrado o arquivo: %1.pdf").arg(base));

    const QString assunto = QStringLiteral("Nf-e ") + str(c, "CODNFVENDA");
    const QString corpo = QStringLiteral("Seguem em anexo os arquivos da NF-e.");
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("EMAIL.MAPI")) == u"S") {
        // The desktop's mail client, the freedesktop way.
        QStringList args{QStringLiteral("--subject"), assunto, QStringLiteral("--body"), corpo,
                         QStringLiteral("--attach"), xml, QStringLiteral("--attach"), pdf};
        for (const QString& d : destino.split(u',', Qt::SkipEmptyParts))
            args << d.trimmed();
        iniciadorProcessos().iniciar(QStringLiteral("xdg-email"), args);
        return;
    }
    iniciadorProcessos().iniciar(QDir(programFolder()).filePath(QStringLiteral("KVOSendMail")),
                                 {destino + u'|' + assunto + u'|' + xml + u',' + pdf + QStringLiteral("|text|") + corpo});
}

} // namespace kvo
