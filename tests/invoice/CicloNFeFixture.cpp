#include "CicloNFeFixture.h"

#include "../nfe/NFeFixtures.h"

#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "nfe/NFeComponent.h"
#include "registers/DNFe.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace kvo::test {

void prepararLojaNFe(Database& db) {
    for (const char* s : {
             "update PAR_GERAL set PARG_EMITE_NFE = 'S', PARG_FANTASIA = 'LOJA TESTE', PARG_ENDERECO = 'RUA DAS FLORES', "
             "PARG_NUMERO = '100', PARG_BAIRRO = 'CENTRO', PARG_CIDADE = 'SAO PAULO', PARG_COD_MUNICIPIO = 3550308, "
             "PARG_CEP = '01001-000', PARG_TELEFONE = '(11) 3333-4444', PARG_REGIME_TRIBUTARIO = 'Regime Normal' "
             "where CODEMPRESA = 1",
             "update PESSOA set PES_TIPO = 'J', PES_CPFCNPJ = '11.444.777/0001-61', PES_RAZAO_SOCIAL = 'CLIENTE SP LTDA', "
             "PES_ENDERECO = 'AV PAULISTA', PES_ENDERECO_NUMERO = '1000A', PES_BAIRRO = 'BELA VISTA', "
             "PES_CIDADE = 'Sao Paulo', PES_CEP = '01310-100', PES_TELEFONE_DDD = '11', PES_TELEFONE = '98765-4321', "
             "PES_CONSUMIDOR_FINAL = 'N', PES_EMAIL = 'compras@cliente.com.br' where CODPESSOA = 1",
             "update PRODUTO set PRO_CST = '000', PRO_NCM = '7318.15.00', PRO_EAN13 = '7891234567895' where CODPRODUTO = 10",
             "update PRODUTO set PRO_CST = '000', PRO_NCM = '09012100', PRO_EAN13 = '1234' where CODPRODUTO = 20"})
        db.executeSQL(QString::fromLatin1(s));
}

void prepararPastaNFe(const QString& home, const nfe::test::AutoridadeLocal& autoridade) {
    QDir(home).mkpath(QStringLiteral("MunIBGE"));
    QFile mun(home + QStringLiteral("/MunIBGE/MunIBGE-UF35.txt"));
    if (!mun.open(QIODevice::WriteOnly) || mun.write("3550308;SAO PAULO\n3509502;CAMPINAS\n") < 0)
        throw std::runtime_error("MunIBGE");
    QFile ini(home + QStringLiteral("/nfe.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        throw std::runtime_error("nfe.ini");
    ini.write(QStringLiteral("[certificado]\narquivo=%1\nsenha=%2\n[nfe]\nambiente=2\nuf=SP\nschemas=%3\n"
                             "[webservices]\nca=%4\nurl=%5\ntimeout=5\ntimeoutConexao=5\n"
                             // no printer on a test machine: a printed DANFE is its PDF
                             "[danfe]\narquivo=S\npasta=%6\n")
                  .arg(nfe::test::arquivoPfx(), nfe::test::senhaPfx(), nfe::test::pastaSchemas(),
                       autoridade.arquivoCA(), autoridade.url(), home + QStringLiteral("/pdf"))
                  .toUtf8());
}

void NFVendaCiclo::SetUpTestSuite() {
    try {
        nfe::test::prepararFixtures();
        fixturesProntas = true;
    } catch (const std::exception&) {
        fixturesProntas = false;
    }
}

NFVendaCiclo::NFVendaCiclo() {
    setProgramFolder(home.path());
    if (!fixturesProntas)
        return;
    config("NF.LEI.IMP", "N");
    prepararLojaNFe(t.db());
    TdmAcesso::gerarInstance().recarregarEmpresa();
    autoridade = std::make_unique<nfe::test::AutoridadeLocal>();
    prepararPastaNFe(home.path(), *autoridade);
    nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
    c.DANFE.imprimirEmArquivo = true;
    c.DANFE.pastaPDF = home.filePath(QStringLiteral("pdf"));
}

NFVendaCiclo::~NFVendaCiclo() { setProgramFolder(QString()); }

int NFVendaCiclo::notaFaturada() {
    const int n = notaSalva("5");
    ui.answerYes();
    EXPECT_TRUE(faturar(n));
    ui.clear();
    return n;
}

int NFVendaCiclo::notaAutorizada() {
    const int n = notaFaturada();
    ui.answerYes();
    EXPECT_EQ(dm().NFE_Imprimir(n, QStringLiteral("1"), 1, false), TdmNFVenda::ResultadoNFe::Autorizada)
        << ui.lastMessage().toStdString();
    ui.clear();
    return n;
}

QVariant NFVendaCiclo::coluna(int numero, const char* nome, const char* serie) {
    return t->scalar(QStringLiteral("select %1 from NFVENDA where CODNFVENDA = %2 and CODSERIE = '%3'")
                         .arg(QLatin1String(nome))
                         .arg(numero)
                         .arg(QLatin1String(serie)));
}

int NFVendaCiclo::pedidos(const QString& servico) const {
    int n = 0;
    for (const QString& l : autoridade->requisicoes())
        if (l.startsWith(servico) && !l.contains(QStringLiteral("derrubada-antes")))
            ++n;
    return n;
}

void NFVendaCiclo::injetar(const char* json) {
    autoridade->injetar(QJsonDocument::fromJson(json).array());
}

} // namespace kvo::test
