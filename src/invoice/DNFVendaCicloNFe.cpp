// The NF-e life cycle of an invoice: first transmission, reprint, e-mail and
// the recovery of a protocol whose answer was lost.
#include "invoice/DNFVenda.h"
#include "invoice/ValidacaoObservacaoSimples.h"

#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/USenha.h"
#include "framework/ui/UserInterface.h"
#include "invoice/CicloNFeInterno.h"
#include "invoice/DNFVendaInterno.h"
#include "invoice/PortasNFe.h"
#include "nfe/ConfiguracoesArquivo.h"
#include "nfe/NFeComponent.h"
#include "nfe/VerificadorAssinatura.h"
#include "registers/DNFe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kvo {

using namespace nfvenda;

namespace ciclo {

nfe::NFeComponent& componente() { return TdmNFe::gerarInstance().componente(); }

Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }

QString erroDe(const std::exception& e) {
    if (const auto* a = dynamic_cast<const Abort*>(&e))
        return a->message();
    return QString::fromUtf8(e.what());
}

void gravarColunas(int numero, const QString& serie, const QVariantMap& colunas) {
    QStringList sets;
    SqlParams p{{QStringLiteral("N"), numero}, {QStringLiteral("S"), serie}};
    for (auto it = colunas.begin(); it != colunas.end(); ++it) {
        sets << it.key() + QStringLiteral(" = :") + it.key();
        p.insert(it.key(), it.value());
    }
    Transaction tx(conexao());
    conexao().executeSQL(QStringLiteral("update NFVENDA set %1 where CODNFVENDA = :N and CODSERIE = :S")
                             .arg(sets.join(QStringLiteral(", "))),
                         p);
    tx.commit();
}

void gravarArquivo(const QString& caminho, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(caminho).absolutePath());
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error(
            QStringLiteral("Não foi possível gravar %1: %2").arg(caminho, f.errorString()).toStdString());
}

void imprimirDanfe(bool cancelada) {
    nfe::NFeComponent& c = componente();
    // The XML must exist before the substitution, or printing would write it with it.
    std::vector<nfe::Det*> trocados;
    for (int i = 0; i < c.NotasFiscais.Count(); ++i) {
        nfe::NotaFiscal& nota = c.NotasFiscais[i];
        if (nota.NFe.Id.isEmpty())
            nota.GerarXML();
        for (nfe::Det& d : nota.NFe.Det)
            if (d.Imposto.ICMS.vICMSST > Currency()) {
                d.Prod.vSeg = d.Imposto.ICMS.vICMSST;
                trocados.push_back(&d);
            }
    }
    struct Desfazer {
        std::vector<nfe::Det*>& itens;
        ~Desfazer() {
            for (nfe::Det* d : itens)
                d->Prod.vSeg = Currency();
        }
    } desfazer{trocados};
    if (cancelada)
        c.ImprimirCancelado();
    else
        c.Imprimir();
}

void configurar() {
    // Reading the settings again reloads the certificate; only a changed file needs it.
    static const void* configurado = nullptr;
    static QString versao;
    const QFileInfo ini(nfe::arquivoConfiguracaoPadrao());
    const QString agora = ini.absoluteFilePath() + u'|' + ini.lastModified().toString(Qt::ISODateWithMs) + u'|' +
                          QString::number(ini.size());
    // A component created since (even at the same address) has no settings yet.
    const nfe::ConfiguracoesNFe& atual = componente().Configuracoes;
    if (configurado == &componente() && versao == agora && ini.exists() && !atual.arquivoPfx.isEmpty() &&
        !atual.WebServices.uf.isEmpty())
        return;
    TdmNFe::gerarInstance().configurarNFE();
    configurado = &componente();
    versao = agora;
}

} // namespace ciclo

using namespace ciclo;

void TdmNFVenda::NFE_Cofigure(int numero, const QString& serie, int pessoa) {
    configurar();
    if (!abrirNFVenda(numero, serie))
        Error(QStringLiteral("Nota fiscal %1 da série %2 não encontrada.").arg(numero).arg(serie));
    // The assembly reads the customer and the payment method of the open invoice itself.
    Q_UNUSED(pessoa);
    componente().NotasFiscais.Clear();
}

TdmNFVenda::ResultadoNFe TdmNFVenda::NFE_Imprimir(int numero, const QString& serie, int pessoa, bool email,
                                                  bool automatico) {
    NFE_Cofigure(numero, serie, pessoa);
    RecordSet& c = *m_cab;
    const QString status = str(c, "NFV_STATUS");
    if (status != u"Faturada" && status != u"Cancelada")
        Error(QStringLiteral("Você precisa Faturar a NF antes de Transmitir!"));
    if (!str(c, "NFV_NFE_NPROT").trimmed().isEmpty())
        return reimprimirNFe(email, true);
    if (email)
        Error(QStringLiteral("Nota não foi enviada!!"));
    // A transmission whose answer never arrived is settled before anything is sent again.
    if (NFE_ResolverPendente()) {
        NFE_Cofigure(numero, serie, pessoa);
        reimprimirNFe(false, false); // the DANFE of the recovered document
        Informacao(QStringLiteral("NF-e já existe e foi recuperado o protocolo com sucesso!"));
        return ResultadoNFe::Recuperada;
    }
    return transmitirNFe(automatico);
}

TdmNFVenda::ResultadoNFe TdmNFVenda::reimprimirNFe(bool email, bool pedirSenha) {
    RecordSet& c = *m_cab;
    if (pedirSenha && !TfrmSenha::autorizarSenhaParametro(QStringLiteral("NFE.2VIA.SENHA"), QStringLiteral("Senha da 2via de NF-e")))
        throw Abort();
    nfe::NFeComponent& comp = componente();
    const QString nprot = str(c, "NFV_NFE_NPROT").trimmed();
    const QByteArray guardado = str(c, "NFV_XML_ENVIADO").toUtf8();
    nfe::NotaFiscal* nota = nullptr;
    if (!guardado.trimmed().isEmpty()) {
        const QString temp = QDir(programFolder()).filePath(QStringLiteral("temp-nfe.xml"));
        gravarArquivo(temp, guardado);
        comp.NotasFiscais.Clear();
        try {
            nota = &comp.NotasFiscais.LoadFromFile(temp);
        } catch (const std::exception& e) {
            Error(QStringLiteral("O XML guardado da NF-e não pôde ser lido (%1): %2").arg(temp, erroDe(e)));
        }
    } else {
        nota = &NFE_GerarDados(-1, QString(), QString());
        comp.DANFE.protocoloNFe = nprot;
    }
    const bool cancelada = str(c, "NFV_STATUS") == u"Cancelada";
    const QDateTime emissao = f(c, "NFV_NFE_EMISSAO").isNull() ? QDateTime() : f(c, "NFV_NFE_EMISSAO").asDateTime();
    auto protocolo = [&](const QDateTime& reserva) {
        nfe::ProcNFe& p = nota->NFe.procNFe;
        p.nProt = nprot;
        p.cStat = 100;
        p.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
        if (!p.dhRecbto.isValid() && reserva.isValid())
            p.dhRecbto = reserva;
        if (p.tpAmb == 0)
            p.tpAmb = comp.Configuracoes.tpAmb;
    };
    protocolo(emissao);
    if (nota->NFe.Id.size() < 10)
        nota->NFe.Id = QStringLiteral("NFe") + GetChaveAcesso();
    if (nota->NFe.procNFe.chNFe.isEmpty())
        nota->NFe.procNFe.chNFe = nota->NFe.Id.mid(3);
    if (!email) {
        imprimirDanfe(cancelada);
        return ResultadoNFe::Impressa;
    }
    enviarEmailNFe(*nota, cancelada);
    return ResultadoNFe::EmailEnviado;
}

TdmNFVenda::ResultadoNFe TdmNFVenda::transmitirNFe(bool automatico) {
    RecordSet& c = *m_cab;
    const int numero = int(inteiro(c, "CODNFVENDA"));
    const QString serie = str(c, "CODSERIE");
    nfe::NFeComponent& comp = componente();
    ObservacaoSimples obs{-1, {}, {}};
    const QString opcao = TdmConfiguracao::gerarInstance().getStr(QStringLiteral("NFE.OPT.SMP")).trimmed();
    if (opcao == u"1" || opcao == u"2" || opcao == u"3") {
        const auto escolhida = escolhaObservacaoSimples().escolher(opcao.toInt());
        obs = escolhida.value_or(ObservacaoSimples{});
        validarObservacaoSimples(obs); // the form checks it too; the command line's options here
    }
    nfe::NotaFiscal& nota = NFE_GerarDados(obs.opcao, obs.valor, obs.aliquota);
    const QString arquivoNota = QDir(programFolder()).filePath(
        QStringLiteral("nfe/nfe_serie_%1_nr_%2_dt_%3_nota.xml")
            .arg(serie)
            .arg(numero)
            .arg(Clock::now().toString(QStringLiteral("yyyyMMdd_hhmmss"))));
    QDir().mkpath(QFileInfo(arquivoNota).absolutePath());
    if (!nota.GravarXML(arquivoNota))
        Error(QStringLiteral("Não foi possível gravar o arquivo %1").arg(arquivoNota));
    if (!automatico) {
        imprimirDanfe(false);
        if (!Confirma(QStringLiteral("Confirma transmitir essa nota?")))
            return ResultadoNFe::Nada;
    }
    try {
        comp.GerarNFe();
        comp.Assinar();
        comp.Validar();
    } catch (const std::exception& e) {
        Error(QStringLiteral("1 - Erro ao Gerar/Assinar/Validar!\nErro: ") + erroDe(e));
    }
    // The signed bytes are kept before they leave: if the answer is lost (or
    // the program ends) the next call asks the authority about this document
    // instead of sending another one.
    gravarColunas(numero, serie, {{QStringLiteral("NFV_XML_ENVIADO"), QString::fromUtf8(nota.XML)}});
    const int quantas = comp.NotasFiscais.Count();
    bool respondeu = false;
    try {
        respondeu = comp.WebServices.Envia(0, quantas == 1, false);
    } catch (const std::exception& e) {
        const QString texto = erroDe(e);
        if (!nota.Transmitida)
            descartarPendente(numero, serie);
        if (texto.toLower().contains(QStringLiteral("duplicidade")) || texto.toLower().contains(QStringLiteral("duplicada")))
            return recuperarDuplicada(nota);
        Error(QStringLiteral("2 - Erro ao Enviar a NF-e via WEBSERVICE!\nErro: ") + texto);
    }
    if (!respondeu) {
        if (!nota.Transmitida)
            descartarPendente(numero, serie);
        Error(QStringLiteral("Não foi possivel enviar a NF-e!\n") + comp.WebServices.Enviar.xMotivo);
    }
    try {
        const QByteArray retorno = comp.WebServices.Enviar.RetWS;
        const QString arquivoRetorno = QString(arquivoNota).replace(QStringLiteral("_nota.xml"), QStringLiteral("_retorno.xml"));
        gravarArquivo(arquivoRetorno, retorno);
        const QString nprot = comp.WebServices.Enviar.Protocolo();
        if (nprot.isEmpty())
            Error(QStringLiteral("Não foi encontrado nenhum protocolo de retorno!"));
        gravarColunas(numero, serie,
                      {{QStringLiteral("NFV_XML_ENVIADO"), QString::fromUtf8(nota.XMLOriginal())},
                       {QStringLiteral("NFV_XML_RETORNO"), QString::fromUtf8(retorno)},
                       {QStringLiteral("NFV_NFE_NPROT"), nprot},
                       {QStringLiteral("NFV_NFE_EMISSAO"), comp.WebServices.Enviar.dhRecbto()},
                       {QStringLiteral("NFV_NFE_NREC"), comp.WebServices.Enviar.Recibo}});
        abrirNFVenda(numero, serie);
        imprimirDanfe(false);
    } catch (const Abort&) {
        throw;
    } catch (const std::exception& e) {
        Error(QStringLiteral("3 - Erro ao tratar o RETORNO do WEBSERVICE!\nErro: ") + erroDe(e));
    }
    Informacao(QStringLiteral("NF-e enviada com sucesso!"));
    return ResultadoNFe::Autorizada;
}

TdmNFVenda::ResultadoNFe TdmNFVenda::recuperarDuplicada(nfe::NotaFiscal& nota) {
    RecordSet& c = *m_cab;
    const int numero = int(inteiro(c, "CODNFVENDA"));
    const QString serie = str(c, "CODSERIE");
    nfe::WebServices& ws = componente().WebServices;
    try {
        ws.NFeConsulta.NFeChave = GetChaveAcesso();
        ws.Consultar();
    } catch (const std::exception& e) {
        Error(QStringLiteral("Erro ao consultar NF-e duplicada!\nErro: ") + erroDe(e));
    }
    if (ws.NFeConsulta.cStat != 100)
        Error(QStringLiteral("Erro na consulta: ") + ws.NFeConsulta.xMotivo);
    guardarProtocoloConsultado(numero, serie, nota);
    imprimirDanfe(false);
    Informacao(QStringLiteral("NF-e já existe e foi recuperado o protocolo com sucesso!"));
    return ResultadoNFe::Recuperada;
}

void TdmNFVenda::guardarProtocoloConsultado(int numero, const QString& serie, nfe::NotaFiscal& nota) {
    const nfe::WebServices::Consulta& q = componente().WebServices.NFeConsulta;
    nfe::ProcNFe& p = nota.NFe.procNFe;
    p.tpAmb = componente().Configuracoes.tpAmb;
    p.chNFe = q.NFeChave;
    p.nProt = q.Protocolo;
    p.dhRecbto = q.DhRecbto;
    p.digVal = q.digVal;
    p.cStat = 100;
    p.xMotivo = QStringLiteral("Autorizado o uso da NF-e");
    // Only the document the authority holds goes with its protocol; another
    // one is rebuilt from the invoice when printed.
    const bool mesmo = !nota.XML.isEmpty() && nfe::digestValue(nota.XML) == q.digVal;
    gravarColunas(numero, serie,
                  {{QStringLiteral("NFV_XML_ENVIADO"), mesmo ? QVariant(QString::fromUtf8(nota.XMLOriginal()))
                                                             : QVariant(QMetaType(QMetaType::QString))},
                   {QStringLiteral("NFV_NFE_NPROT"), q.Protocolo},
                   {QStringLiteral("NFV_NFE_EMISSAO"), q.DhRecbto}});
    abrirNFVenda(numero, serie);
}

void TdmNFVenda::descartarPendente(int numero, const QString& serie) {
    Transaction tx(conexao());
    conexao().executeSQL(QStringLiteral("update NFVENDA set NFV_XML_ENVIADO = null where CODNFVENDA = :N and "
                                        "CODSERIE = :S and coalesce(NFV_NFE_NPROT, '') = ''"),
                         {{QStringLiteral("N"), numero}, {QStringLiteral("S"), serie}});
    tx.commit();
}

bool TdmNFVenda::NFE_ResolverPendente() {
    RecordSet& c = *m_cab;
    const QByteArray guardado = str(c, "NFV_XML_ENVIADO").toUtf8();
    if (!str(c, "NFV_NFE_NPROT").trimmed().isEmpty() || guardado.trimmed().isEmpty())
        return false;
    const int numero = int(inteiro(c, "CODNFVENDA"));
    const QString serie = str(c, "CODSERIE");
    nfe::NFeComponent& comp = componente();
    comp.NotasFiscais.Clear();
    nfe::NotaFiscal* nota = nullptr;
    try {
        nota = &comp.NotasFiscais.LoadFromString(guardado);
    } catch (const std::exception& e) {
        Error(QStringLiteral("O XML transmitido da NF-e %1 não pôde ser lido: %2").arg(numero).arg(erroDe(e)));
    }
    const QString chave = nota->NFe.Id.mid(3);
    nfe::WebServices& ws = comp.WebServices;
    try {
        ws.NFeConsulta.NFeChave = chave;
        ws.Consultar();
    } catch (const std::exception& e) {
        Error(QStringLiteral("A NF-e %1 foi transmitida e a resposta não chegou; a consulta pela chave %2 também "
                             "falhou, nada foi enviado de novo.\nErro: %3")
                  .arg(numero)
                  .arg(chave, erroDe(e)));
    }
    const int cStat = ws.NFeConsulta.cStat;
    if (cStat == 100 || cStat == 150) {
        guardarProtocoloConsultado(numero, serie, *nota);
        comp.NotasFiscais.Clear();
        return true;
    }
    if (cStat == 217) {
        // The authority never received it: the number is free to be sent.
        descartarPendente(numero, serie);
        comp.NotasFiscais.Clear();
        abrirNFVenda(numero, serie);
        return false;
    }
    Error(QStringLiteral("A NF-e %1 foi transmitida e a resposta não chegou; a consulta pela chave %2 respondeu "
                         "%3 - %4.")
              .arg(numero)
              .arg(chave)
              .arg(cStat)
              .arg(ws.NFeConsulta.xMotivo));
}

TdmNFVenda::ResultadoNFe TdmNFVenda::NFE_Consultar(int numero, const QString& serie) {
    NFE_Cofigure(numero, serie, int(0));
    if (!str(*m_cab, "NFV_NFE_NPROT").trimmed().isEmpty())
        return ResultadoNFe::Nada;
    if (str(*m_cab, "NFV_XML_ENVIADO").trimmed().isEmpty())
        Error(QStringLiteral("Nota não foi enviada!!"));
    if (!NFE_ResolverPendente())
        return ResultadoNFe::Nada;
    Informacao(QStringLiteral("NF-e já existe e foi recuperado o protocolo com sucesso!"));
    return ResultadoNFe::Recuperada;
}

} // namespace kvo
