// The NF-e assembled from a saved invoice: each group's sources, the rules
// the authority applies to them, and schema validation of whole documents.
#include "NFVendaFixture.h"

#include "RegrasNFe.h"

#include "core/Clock.h"
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "invoice/MontagemNFe.h"
#include "nfe/AssinadorXml.h"
#include "nfe/CertificadoA1.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/ValidadorXml.h"
#include "registers/DNFe.h"

#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <random>

using namespace kvo;
using namespace kvo::test;
using kvo::nfvenda::ratear;

namespace {

QString fixtures() { return QStringLiteral(KVO_INVOICE_FIXTURE_DIR); }

bool instalar(const char* script, const QString& destino) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(KVO_SOURCE_DIR "/scripts/") + QLatin1String(script), {destino});
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class NFVendaNFe : public NFVendaFixture {
protected:
    static void SetUpTestSuite() {
        // The official schemas and a test certificate from the data cache;
        // without them the documents are still checked field by field.
        const QString schemas = fixtures() + QStringLiteral("/Schemas");
        const QString cert = fixtures() + QStringLiteral("/cert");
        if (!instalar("install-nfe-schemas", schemas) || !instalar("make-demo-certificate", cert))
            return;
        try {
            certificado = std::make_unique<nfe::CertificadoA1>(
                nfe::CertificadoA1::carregar(cert + QStringLiteral("/kvo-demo-a1.pfx"), QStringLiteral("1234")));
            assinador = std::make_unique<nfe::AssinadorXml>(*certificado);
            validador = std::make_unique<nfe::ValidadorXml>(schemas);
        } catch (const std::exception&) {
            assinador.reset();
        }
    }
    static void TearDownTestSuite() {
        validador.reset();
        assinador.reset();
        certificado.reset();
    }

    NFVendaNFe() {
        setProgramFolder(home.path());
        QDir(home.path()).mkpath(QStringLiteral("MunIBGE"));
        municipios(35, "3550308;SAO PAULO\n3509502;CAMPINAS\n");
        municipios(31, "3106200;BELO HORIZONTE\n");
        municipios(33, "3304557;RIO DE JANEIRO\n");
        sql(QStringLiteral("update PAR_GERAL set PARG_FANTASIA = 'LOJA TESTE', PARG_ENDERECO = 'RUA DAS FLORES', "
                           "PARG_NUMERO = '100', PARG_BAIRRO = 'CENTRO', PARG_CIDADE = 'SAO PAULO', "
                           "PARG_COD_MUNICIPIO = 3550308, PARG_CEP = '01001-000', PARG_TELEFONE = '(11) 3333-4444', "
                           "PARG_REGIME_TRIBUTARIO = 'Regime Normal' where CODEMPRESA = 1"));
        sql(QStringLiteral("update PESSOA set PES_TIPO = 'J', PES_CPFCNPJ = '11.444.777/0001-61', "
                           "PES_RAZAO_SOCIAL = 'CLIENTE SP LTDA', PES_ENDERECO = 'AV PAULISTA', "
                           "PES_ENDERECO_NUMERO = '1000A', PES_BAIRRO = 'BELA VISTA', PES_CIDADE = 'Sao Paulo', "
                           "PES_CEP = '01310-100', PES_TELEFONE_DDD = '11', PES_TELEFONE = '98765-4321', "
                           "PES_CONSUMIDOR_FINAL = 'N' where CODPESSOA = 1"));
        sql(QStringLiteral("update PESSOA set PES_CPFCNPJ = '529.982.247-25', PES_ENDERECO = 'RUA BAHIA', "
                           "PES_BAIRRO = 'CENTRO', PES_CIDADE = 'BELO HORIZONTE', PES_CEP = '30160-010', "
                           "PES_CONSUMIDOR_FINAL = 'S' where CODPESSOA = 2"));
        sql(QStringLiteral("update PRODUTO set PRO_CST = '000', PRO_NCM = '7318.15.00', PRO_EAN13 = '7891234567895' "
                           "where CODPRODUTO = 10"));
        sql(QStringLiteral("update PRODUTO set PRO_CST = '000', PRO_NCM = '09012100', PRO_EAN13 = '1234' "
                           "where CODPRODUTO = 20"));
        TdmAcesso::gerarInstance().recarregarEmpresa();
        config("NF.LEI.IMP", "N");
    }
    ~NFVendaNFe() override {
        setProgramFolder(QString());
        Clock::reset();
    }

    void municipios(int uf, const char* linhas) {
        QFile f(home.filePath(QStringLiteral("MunIBGE/MunIBGE-UF%1.txt").arg(uf)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(linhas);
    }
    // A line of product 2002 priced by hand.
    void itemPrecado(const char* qtde, const char* preco, const char* aliqIcms) {
        dm().novoItem();
        noItem("CODPESQUISA", QStringLiteral("2002"));
        noItem("NFVI_QTDE", QString::fromLatin1(qtde));
        noItem("NFVI_VLR_UNITARIO", QString::fromLatin1(preco));
        noItem("NFVI_ALIQ_ICMS", QString::fromLatin1(aliqIcms));
    }
    void produto(const char* codigo, const char* qtde) {
        dm().novoItem();
        noItem("CODPESQUISA", QString::fromLatin1(codigo));
        noItem("NFVI_QTDE", QString::fromLatin1(qtde));
        dm().gravarItem();
    }
    int gravar() {
        const auto g = dm().gravarNFVenda();
        EXPECT_TRUE(dm().abrirNFVenda(g.numero, g.serie));
        return g.numero;
    }
    // A saved sale in SP: 3 PARAFUSO at 2.00 and 2 CAFE at 10.00.
    int vendaSP() {
        novaNotaSP();
        produto("1001", "3");
        produto("2002", "2");
        return gravar();
    }
    nfe::NFe& montar(int opcao = -1, const QString& valor = {}, const QString& aliq = {}) {
        nfe::NotasFiscais& lista = TdmNFe::gerarInstance().componente().NotasFiscais;
        lista.Clear();
        return dm().NFE_GerarDados(opcao, valor, aliq).NFe;
    }
    QString xml(const nfe::NFe& n) {
        nfe::NotaFiscal& nota = TdmNFe::gerarInstance().componente().NotasFiscais.Items(0);
        EXPECT_EQ(&nota.NFe, &n);
        nota.GerarXML();
        return QString::fromUtf8(nota.XML);
    }
    // Signs the document and checks it against the official 4.00 schema.
    void validarEsquema(const nfe::NFe& n) {
        if (!assinador)
            GTEST_SKIP() << "NF-e schemas or test certificate not available in the data cache";
        const QByteArray assinado = assinador->assinar(xml(n).toUtf8(), "infNFe");
        const QStringList erros = validador->validar(assinado, QStringLiteral("nfe_v4.00.xsd"));
        EXPECT_TRUE(erros.isEmpty()) << erros.join(u'\n').toStdString();
    }
    QString erroDe(const std::function<void()>& acao) {
        ui.clear();
        EXPECT_THROW(acao(), Abort);
        return ui.lastMessage();
    }
    void receber(int numero, int conta, const char* valor, const char* venc, int moeda) {
        sql(QStringLiteral("insert into CONTAS (CODCONTA, CON_TIPO, CODPESSOA, CON_NUMDOC, CON_DTVENC, CON_VLRPARCELA, "
                           "CON_VLRTOTAL, CON_SALDO, CODNFVENDA, CODSERIE, CODMOEDA) values (%1, 'R', 1, '%2', '%3', %4, %4, %4, %2, '1', %5)")
                .arg(conta)
                .arg(numero)
                .arg(QLatin1String(venc), QLatin1String(valor))
                .arg(moeda));
    }

    QTemporaryDir home;
    static inline std::unique_ptr<nfe::CertificadoA1> certificado;
    static inline std::unique_ptr<nfe::AssinadorXml> assinador;
    static inline std::unique_ptr<nfe::ValidadorXml> validador;
};

Currency somaDet(const nfe::NFe& n, Currency nfe::Prod::*campo) {
    Currency s;
    for (const nfe::Det& d : n.Det)
        s += d.Prod.*campo;
    return s;
}

} // namespace

// --- ide and the access key

TEST_F(NFVendaNFe, IdeOfADomesticSale) {
    Clock::setFixed(QDateTime(QDate::currentDate(), QTime(14, 30, 15)));
    const int numero = vendaSP();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Ide.cUF, 35);
    EXPECT_EQ(n.Ide.natOp, QStringLiteral("Venda"));
    EXPECT_EQ(n.Ide.serie, 1);
    EXPECT_EQ(n.Ide.nNF, numero);
    EXPECT_EQ(n.Ide.tpNF, 1);
    EXPECT_EQ(n.Ide.idDest, 1);
    EXPECT_EQ(n.Ide.cMunFG, 3550308);
    EXPECT_EQ(n.Ide.finNFe, 1);
    EXPECT_EQ(n.Ide.indFinal, 0); // PES_CONSUMIDOR_FINAL "N", a taxpayer
    EXPECT_EQ(n.Ide.verProc, QStringLiteral("1.0.0.0"));
    const QString x = xml(n);
    // Layout 4.00: no indPag in ide; issue moment with time and UTC offset.
    EXPECT_FALSE(x.section(QStringLiteral("</ide>"), 0, 0).contains(QStringLiteral("<indPag>")));
    EXPECT_TRUE(x.contains(QRegularExpression(QStringLiteral("<dhEmi>\\d{4}-\\d\\d-\\d\\dT14:30:15[-+]\\d\\d:\\d\\d</dhEmi>"))))
        << x.toStdString();
    EXPECT_FALSE(x.contains(QStringLiteral("<dhCont>")));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, CodigoNumericoFitsEightDigitsAndDiffersFromTheNumber) {
    EXPECT_EQ(TdmNFVenda::NFE_CodigoNumerico(12345, 7, QStringLiteral("1")), 12345);
    for (qint64 cnf : {qint64(0), qint64(7), qint64(123456789), qint64(-3)}) {
        const int c = TdmNFVenda::NFE_CodigoNumerico(cnf, 7, QStringLiteral("1"));
        EXPECT_NE(c, 7) << cnf;
        EXPECT_GT(c, 0) << cnf;
        EXPECT_LE(c, 99999999) << cnf;
        // Stable: the key can be computed again for the same invoice.
        EXPECT_EQ(c, TdmNFVenda::NFE_CodigoNumerico(0, 7, QStringLiteral("1")));
    }
    EXPECT_NE(TdmNFVenda::NFE_CodigoNumerico(0, 7, QStringLiteral("1")),
              TdmNFVenda::NFE_CodigoNumerico(0, 8, QStringLiteral("1")));
}

TEST_F(NFVendaNFe, KeyOfTheDocumentIsGetChaveAcesso) {
    vendaSP();
    cab().edit();
    cab().field(QStringLiteral("NFV_CNF")).setValue(0);
    cab().post();
    const nfe::NFe& n = montar();
    EXPECT_NE(n.Ide.cNF, n.Ide.nNF);
    EXPECT_EQ(QStringLiteral("NFe") + dm().GetChaveAcesso(), nfe::chaveDoDocumento(n));
    EXPECT_TRUE(nfe::ChaveValida(dm().GetChaveAcesso()));
}

TEST_F(NFVendaNFe, ContingencyCarriesItsMomentAndReason) {
    vendaSP();
    TdmNFe::gerarInstance().componente().Configuracoes.tpEmis = 6;
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Ide.tpEmis, 6);
    EXPECT_EQ(n.Ide.dhCont, n.Ide.dEmi);
    EXPECT_EQ(n.Ide.xJust, QStringLiteral("Serviço está fora"));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, MultiEmpresaTakesTheSeriesNumberOfTheSeries) {
    sql(QStringLiteral("update SERIE set SER_SERIE_NFE = ' 7 ' where CODSERIE = '1'"));
    vendaSP();
    EXPECT_EQ(montar().Ide.serie, 1);
    config("MULTI.EMPRESA", "S");
    EXPECT_EQ(montar().Ide.serie, 7);
    EXPECT_EQ(dm().GetChaveAcesso().mid(22, 3), QStringLiteral("007"));
}

// --- referenced documents

TEST_F(NFVendaNFe, ReturnReferencesTheComputedKeyThenTheTypedOne) {
    const int original = vendaSP();
    sql(QStringLiteral("update NFVENDA set NFV_CNF = 0 where CODNFVENDA = %1").arg(original));
    novaNotaSP();
    produto("1001", "1");
    cabecalho("NFV_FINALIDADE_EMISSAO", QStringLiteral("4"));
    cabecalho("CODNFVENDA_DEV", QString::number(original));
    cabecalho("CODSERIE_DEV", QStringLiteral("1"));
    const QString digitada = nfe::GerarChaveAcesso(35, QDate(2026, 1, 5), QStringLiteral("11222333000181"), 1, 55, 1, 1234);
    cab().field(QStringLiteral("NFV_REFNFE")).setValue(digitada.mid(3));
    gravar();
    config("NFE4.PAG.TOTAL", "S");
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Ide.NFref.Count(), 2);
    const QDate emissao = t.db()
                              .scalar(QStringLiteral("select NFV_DTEMISSAO from NFVENDA where CODNFVENDA = :N"),
                                      {{QStringLiteral("N"), original}})
                              .toDate();
    // The original's NFV_CNF is 0: the key carries the derived code.
    const QString esperada = nfe::GerarChaveAcesso(35, emissao, QStringLiteral("11222333000181"), 1, original, 1,
                                                   TdmNFVenda::NFE_CodigoNumerico(0, original, QStringLiteral("1")));
    EXPECT_EQ(n.Ide.NFref[0].refNFe, esperada.mid(3));
    EXPECT_EQ(n.Ide.NFref[1].refNFe, digitada.mid(3));
    EXPECT_EQ(n.Ide.finNFe, 4);
    // A return carries no payment, even when the whole invoice is paid by default.
    ASSERT_EQ(n.pag.Count(), 1);
    EXPECT_EQ(n.pag[0].tPag, QStringLiteral("90"));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, TypedKeyWithAWrongCheckDigitIsRefused) {
    novaNotaSP();
    produto("1001", "1");
    QString chave = nfe::GerarChaveAcesso(35, QDate(2026, 1, 5), QStringLiteral("11222333000181"), 1, 55, 1, 1234).mid(3);
    chave[43] = QChar(u'0' + (chave[43].digitValue() + 1) % 10);
    cab().field(QStringLiteral("NFV_REFNFE")).setValue(chave);
    gravar();
    EXPECT_TRUE(erroDe([&] { montar(); }).startsWith(QStringLiteral("Chave de acesso referenciada inválida")));
}

TEST_F(NFVendaNFe, ReturnWithoutAnyReferenceIsRefused) {
    novaNotaSP();
    produto("1001", "1");
    cabecalho("NFV_FINALIDADE_EMISSAO", QStringLiteral("4"));
    gravar();
    EXPECT_TRUE(erroDe([&] { montar(); }).startsWith(QStringLiteral("Nota fiscal de devolução sem documento referenciado")));
}

TEST_F(NFVendaNFe, FiscalCouponReference) {
    sql(QStringLiteral("insert into PEDECF (CODPEDECF, PECF_NUMECF, PECF_COO) values (9, 2, 4567)"));
    novaNotaSP();
    produto("1001", "1");
    cab().field(QStringLiteral("CODPEDECF")).setValue(9);
    gravar();
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Ide.NFref.Count(), 1);
    EXPECT_EQ(n.Ide.NFref[0].refECF.mod, QStringLiteral("2D"));
    EXPECT_EQ(n.Ide.NFref[0].refECF.nCOO, QStringLiteral("004567"));
    validarEsquema(n);
}

// --- issuer and recipient

TEST_F(NFVendaNFe, IssuerAndDomesticRecipient) {
    vendaSP();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Emit.CNPJCPF, QStringLiteral("11222333000181"));
    EXPECT_EQ(n.Emit.EnderEmit.nro, QStringLiteral("100"));
    EXPECT_EQ(n.Emit.EnderEmit.CEP, 1001000);
    EXPECT_EQ(n.Emit.EnderEmit.fone, QStringLiteral("1133334444"));
    EXPECT_EQ(n.Emit.CRT, 3);
    EXPECT_TRUE(n.Emit.CNAE.isEmpty());
    EXPECT_EQ(n.Dest.CNPJCPF, QStringLiteral("11444777000161"));
    EXPECT_EQ(n.Dest.EnderDest.nro, QStringLiteral("1000A")); // as stored
    EXPECT_EQ(n.Dest.EnderDest.cMun, 3550308);
    EXPECT_EQ(n.Dest.EnderDest.fone, QStringLiteral("11987654321")); // 11 digits kept whole
    EXPECT_EQ(n.Dest.indIEDest, 1);
    EXPECT_EQ(n.Dest.IE, QStringLiteral("110042490114"));
    // Homologation requires its fixed recipient name.
    EXPECT_EQ(n.Dest.xNome, QStringLiteral("NF-E EMITIDA EM AMBIENTE DE HOMOLOGACAO - SEM VALOR FISCAL"));
    TdmNFe::gerarInstance().componente().Configuracoes.tpAmb = 1;
    EXPECT_EQ(montar().Dest.xNome, QStringLiteral("CLIENTE SP LTDA"));
    config("NFE.NOM.FANT", "S");
    EXPECT_EQ(montar().Dest.xNome, QStringLiteral("Cliente SP"));
}

TEST_F(NFVendaNFe, CnaeGoesOnlyWithTheMunicipalRegistration) {
    config("NFE.CNAE", "4712100");
    vendaSP();
    EXPECT_TRUE(montar().Emit.CNAE.isEmpty());
    sql(QStringLiteral("update PAR_GERAL set PARG_IM = '12345' where CODEMPRESA = 1"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Emit.IM, QStringLiteral("12345"));
    EXPECT_EQ(n.Emit.CNAE, QStringLiteral("4712100"));
    validarEsquema(n);
    config("NFE.CNAE", "0");
    EXPECT_TRUE(montar().Emit.CNAE.isEmpty());
}

TEST_F(NFVendaNFe, ExemptInAnyCaseAndNonTaxpayerBuysAsFinalConsumer) {
    sql(QStringLiteral("update PESSOA set PES_IE = 'isento' where CODPESSOA = 1"));
    vendaSP();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Dest.indIEDest, 2);
    EXPECT_TRUE(n.Dest.IE.isEmpty());
    EXPECT_EQ(n.Ide.indFinal, 0);
    sql(QStringLiteral("update PESSOA set PES_IE = null where CODPESSOA = 1"));
    const nfe::NFe& m = montar();
    EXPECT_EQ(m.Dest.indIEDest, 9);
    EXPECT_EQ(m.Ide.indFinal, 1); // PES_CONSUMIDOR_FINAL "N", but not a taxpayer
    validarEsquema(m);
}

TEST_F(NFVendaNFe, ForeignCustomerIsAlwaysSentAbroad) {
    sql(QStringLiteral("update PESSOA set PES_PAIS = 'ARGENTINA', PES_CPFCNPJ = 'AR-20304050', PES_CIDADE = 'BUENOS AIRES', "
                       "PES_UF = 'SP' where CODPESSOA = 1"));
    config("NF.EXT.ATV", "N");
    novaNotaSP();
    produto("1001", "2");
    cabecalho("NFV_UF_EMB", QStringLiteral("SP"));
    cab().field(QStringLiteral("NFV_LOCAL_EMB")).setValue(QStringLiteral("PORTO DE SANTOS"));
    gravar();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Ide.idDest, 3);
    EXPECT_EQ(n.Dest.EnderDest.UF, QStringLiteral("EX"));
    EXPECT_EQ(n.Dest.EnderDest.cMun, 9999999);
    EXPECT_EQ(n.Dest.EnderDest.xMun, QStringLiteral("EXTERIOR"));
    EXPECT_EQ(n.Dest.EnderDest.cPais, 639);
    EXPECT_EQ(n.Dest.indIEDest, 9);
    EXPECT_TRUE(n.Dest.CNPJCPF.isEmpty());
    EXPECT_EQ(n.Dest.idEstrangeiro, QStringLiteral("AR-20304050"));
    EXPECT_EQ(n.exporta.UFSaidaPais, QStringLiteral("SP"));
    EXPECT_EQ(n.exporta.xLocExporta, QStringLiteral("PORTO DE SANTOS"));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, UnknownMunicipalityNamesTheFile) {
    sql(QStringLiteral("update PESSOA set PES_CIDADE = 'CIDADE INEXISTENTE' where CODPESSOA = 1"));
    vendaSP();
    EXPECT_EQ(erroDe([&] { montar(); }),
              QStringLiteral("Erro no Municipio - UF: SP -- Cidade: CIDADE INEXISTENTE\rVerifique Arquivo: "
                             "MunIBGE\\MunIBGE-UF35.txt"));
}

// --- items

TEST_F(NFVendaNFe, ProductLines) {
    vendaSP();
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Det.Count(), 2);
    const nfe::Prod& p = n.Det[0].Prod;
    EXPECT_EQ(p.cProd, QStringLiteral("1001"));
    EXPECT_EQ(p.cEAN, QStringLiteral("7891234567895"));
    EXPECT_EQ(p.NCM, QStringLiteral("73181500"));
    EXPECT_EQ(p.CFOP, QStringLiteral("5102"));
    EXPECT_EQ(p.qCom, Currency(3));
    EXPECT_EQ(p.vUnCom, Currency(2));
    EXPECT_EQ(p.vProd, Currency(6));
    EXPECT_EQ(n.Det[1].Prod.CFOP, QStringLiteral("5405")); // the item's own CFOP
    EXPECT_EQ(n.Det[1].Prod.cEAN, QStringLiteral("SEM GTIN")); // "1234" is no GTIN
    EXPECT_EQ(n.Det[1].Prod.cEANTrib, QStringLiteral("SEM GTIN"));
    EXPECT_EQ(n.Det[0].Imposto.IPI.cEnq, QStringLiteral("999"));
    const nfe::ICMS& icms = n.Det[0].Imposto.ICMS;
    EXPECT_EQ(icms.CST, QStringLiteral("00"));
    EXPECT_EQ(icms.pICMS, Currency(18));
    EXPECT_EQ(icms.vBC, Currency(6));
    EXPECT_EQ(icms.vICMS, c("1.08"));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, NcmIsAlwaysSent) {
    sql(QStringLiteral("update PRODUTO set PRO_NCM = null where CODPRODUTO = 20"));
    vendaSP();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Det[1].Prod.NCM, QStringLiteral("00000000"));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, HeaderAmountsApportionedAddUpAndNeverGoNegative) {
    EXPECT_EQ(ratear(Currency(10), {Currency(1), Currency(1), Currency(1)}),
              (QVector<Currency>{c("3.33"), c("3.33"), c("3.34")}));
    // The last line with a share closes, not a line without one.
    EXPECT_EQ(ratear(Currency(10), {Currency(1), Currency(1), Currency()}),
              (QVector<Currency>{Currency(5), Currency(5), Currency()}));
    // Rounded parts above the total: the excess comes off the earlier lines.
    const QVector<Currency> partes = ratear(c("0.01"), {Currency(1), Currency(1), Currency(1)});
    Currency soma;
    for (Currency x : partes) {
        EXPECT_GE(x, Currency());
        soma += x;
    }
    EXPECT_EQ(soma, c("0.01"));
    EXPECT_EQ(ratear(Currency(10), {Currency(-5), Currency(1)}), (QVector<Currency>{Currency(), Currency(10)}));
}

TEST_F(NFVendaNFe, FreightDiscountAndExpensesOverTheItems) {
    novaNotaSP();
    for (int k = 0; k < 3; ++k)
        itemPrecado("1", "10", "18"), dm().gravarItem();
    cabecalho("NFV_TP_FRETE", QStringLiteral("FOB"));
    cabecalho("NFV_FRETE", QStringLiteral("10"));
    cabecalho("NFV_DESCVLR", QStringLiteral("1"));
    cabecalho("NFV_ACRESCIMO", QStringLiteral("2"));
    gravar();
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Det.Count(), 3);
    EXPECT_EQ(n.Det[0].Prod.vFrete, c("3.33"));
    EXPECT_EQ(n.Det[2].Prod.vFrete, c("3.34"));
    EXPECT_EQ(somaDet(n, &nfe::Prod::vFrete), Currency(10));
    EXPECT_EQ(somaDet(n, &nfe::Prod::vDesc), Currency(1));
    EXPECT_EQ(somaDet(n, &nfe::Prod::vOutro), Currency(2));
    EXPECT_EQ(n.Transp.modFrete, 1);
    const nfe::ICMSTot& tot = n.Total.ICMSTot;
    EXPECT_EQ(tot.vFrete, Currency(10));
    EXPECT_EQ(tot.vNF, Currency(30) - Currency(1) + Currency(10) + Currency(2));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, DiscountAboveTheItemValueStopsNamingTheItem) {
    // The item's own discount above its gross value.
    novaNotaSP();
    itemPrecado("1", "10", "18");
    dm().gravarItem();
    itemPrecado("1", "10", "18");
    noItem("NFVI_VLRDESC", QStringLiteral("15"));
    dm().gravarItem();
    gravar();
    EXPECT_EQ(erroDe([&] { montar(); }),
              QStringLiteral("O desconto do item 2 (CAFE) é maior que o valor do produto: desconto R$ 15,00, valor R$ 10,00."
                             "\rCorrija o desconto da nota fiscal."));
}

TEST_F(NFVendaNFe, HeaderDiscountAboveTheProductsStops) {
    novaNotaSP();
    itemPrecado("1", "10", "18");
    dm().gravarItem();
    cabecalho("NFV_DESCVLR", QStringLiteral("25"));
    gravar();
    EXPECT_TRUE(erroDe([&] { montar(); }).startsWith(QStringLiteral("O desconto do item 1 (CAFE) é maior")));
    // A discount of the whole value is still a valid document, of value zero.
    novaNotaSP();
    itemPrecado("1", "10", "18");
    dm().gravarItem();
    cabecalho("NFV_DESCVLR", QStringLiteral("10"));
    gravar();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Total.ICMSTot.vNF, Currency());
    EXPECT_EQ(n.Det[0].Prod.vDesc, Currency(10));
}

// --- taxes

TEST_F(NFVendaNFe, MissingProductCstStops) {
    const int numero = vendaSP();
    sql(QStringLiteral("update PRODUTO set PRO_CST = null where CODPRODUTO = 20"));
    ASSERT_TRUE(dm().abrirNFVenda(numero, QStringLiteral("1")));
    EXPECT_EQ(erroDe([&] { montar(); }), QStringLiteral("Não foi informado o CST no Cadastro do seguinte Produto:\r\rCAFE"));
}

TEST_F(NFVendaNFe, CstWithoutALayoutGroupStopsNamingTheItem) {
    novaNotaSP();
    produto("1001", "1");
    gravar();
    item().first();
    item().edit();
    item().field(QStringLiteral("NFVI_CST")).setValue(QStringLiteral("045"));
    item().post();
    const QString erro = erroDe([&] { montar(); });
    EXPECT_TRUE(erro.contains(QStringLiteral("CST 45"))) << erro.toStdString();
    EXPECT_TRUE(erro.contains(QStringLiteral("item 1 (PARAFUSO)"))) << erro.toStdString();
}

TEST_F(NFVendaNFe, QuantityBasedPisStopsNamingTheItem) {
    novaNotaSP();
    produto("1001", "1");
    gravar();
    item().first();
    item().edit();
    item().field(QStringLiteral("NFVI_PIS_CST")).setValue(QStringLiteral("03"));
    item().post();
    const QString erro = erroDe([&] { montar(); });
    EXPECT_TRUE(erro.contains(QStringLiteral("CST 03 do PIS"))) << erro.toStdString();
    EXPECT_TRUE(erro.contains(QStringLiteral("item 1 (PARAFUSO)"))) << erro.toStdString();
}

TEST_F(NFVendaNFe, SimplesNacionalOptionOne) {
    sql(QStringLiteral("update PAR_GERAL set PARG_REGIME_TRIBUTARIO = 'Simples Nacional' where CODEMPRESA = 1"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    config("NFE.OPT.ALIQ", "1,25");
    config("NFE.OPT.SMP", "1");
    vendaSP();
    item().first();
    item().edit();
    item().field(QStringLiteral("NFVI_CSOSN")).setValue(QStringLiteral("101"));
    item().post();
    item().next();
    item().edit();
    item().field(QStringLiteral("NFVI_CSOSN")).setValue(QStringLiteral("102"));
    item().post();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Emit.CRT, 1);
    const nfe::ICMS& a = n.Det[0].Imposto.ICMS;
    EXPECT_EQ(a.CSOSN, QStringLiteral("101"));
    EXPECT_EQ(a.pCredSN, c("1.25"));
    EXPECT_EQ(a.vCredICMSSN, c("0.08")); // 6.00 x 1.25%
    EXPECT_TRUE(n.Det[1].Imposto.ICMS.pCredSN.isZero()); // 102 carries no credit
    EXPECT_TRUE(n.Total.ICMSTot.vICMS.isZero());
    EXPECT_TRUE(n.Total.ICMSTot.vBC.isZero());
    EXPECT_EQ(n.Det[0].Imposto.PIS.CST, QStringLiteral("99"));
    EXPECT_TRUE(n.InfAdic.infCpl.startsWith(QStringLiteral(
        "DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;NÃO GERA DIREITO A CRÉDITO FISCAL DE ISS E DE "
        "IPI;PERMITE O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ 0,33;CORRESPONDENTE À ALÍQUOTA DE 1,25%")))
        << n.InfAdic.infCpl.toStdString();
    validarEsquema(n);
}

TEST_F(NFVendaNFe, InvalidCsosnStops) {
    sql(QStringLiteral("update PAR_GERAL set PARG_REGIME_TRIBUTARIO = 'Simples Nacional' where CODEMPRESA = 1"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    vendaSP();
    item().first();
    item().edit();
    item().field(QStringLiteral("NFVI_CSOSN")).setValue(QStringLiteral("999"));
    item().post();
    EXPECT_EQ(erroDe([&] { montar(); }), QStringLiteral("CSOSN Informado não valido:999"));
}

TEST_F(NFVendaNFe, OptionSixKeepsTheArgumentTexts) {
    EXPECT_EQ(nfvenda::textoSimples(6, QStringLiteral("1.234,5"), QStringLiteral("2")),
              QStringLiteral("PERMITE O APROVEITAMENTO DO CRÉDITO DE ICMS NO VALOR DE R$ 1.234,5;CORRESPONDENTE À "
                             "ALÍQUOTA DE 2%, NOS TERMOS DO ART. 23 DA LC 123/2006"));
    EXPECT_TRUE(nfvenda::textoSimples(0, {}, {}).isEmpty());
    EXPECT_TRUE(nfvenda::textoSimples(8, {}, {}).isEmpty());
}

TEST_F(NFVendaNFe, InterstateFinalConsumerWithPartitionAndPovertyFund) {
    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODPESSOA", QStringLiteral("2"));
    cabecalho("CODCFOP", QStringLiteral("6102"));
    itemPrecado("2", "50", "12");
    noItem("NFVI_ALIQ_ICMS_FORA", QStringLiteral("18"));
    noItem("NFVI_FCP_ALIQ", QStringLiteral("2"));
    dm().gravarItem();
    gravar();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Ide.idDest, 2);
    EXPECT_EQ(n.Ide.indFinal, 1);
    const nfe::ICMSUFDest& u = n.Det[0].Imposto.ICMSUFDest;
    EXPECT_EQ(u.vBCUFDest, Currency(100));
    EXPECT_EQ(u.pICMSUFDest, Currency(18));
    EXPECT_EQ(u.pICMSInter, Currency(12));
    EXPECT_EQ(u.pICMSInterPart, Currency(100));
    EXPECT_EQ(u.vICMSUFDest, Currency(6));
    EXPECT_EQ(u.pFCPUFDest, Currency(2));
    EXPECT_EQ(u.vFCPUFDest, Currency(2));
    EXPECT_EQ(n.Det[0].Imposto.ICMS.vFCP, Currency(2));
    const nfe::ICMSTot& tot = n.Total.ICMSTot;
    EXPECT_EQ(tot.vICMSUFDest, Currency(6));
    EXPECT_EQ(tot.vFCPUFDest, Currency(2));
    EXPECT_EQ(tot.vFCP, Currency(2));
    validarEsquema(n);
}

TEST_F(NFVendaNFe, PartitionIsNeverNegative) {
    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODPESSOA", QStringLiteral("2"));
    cabecalho("CODCFOP", QStringLiteral("6102"));
    itemPrecado("1", "100", "12");
    noItem("NFVI_ALIQ_ICMS_FORA", QStringLiteral("7"));
    dm().gravarItem();
    gravar();
    const nfe::NFe& n = montar();
    EXPECT_TRUE(n.Det[0].Imposto.ICMSUFDest.vICMSUFDest.isZero());
    EXPECT_TRUE(n.Det[0].Imposto.ICMSUFDest.vICMSUFRemet.isZero());
    validarEsquema(n);
}

TEST_F(NFVendaNFe, TotalsAreTheSumsOfTheItems) {
    novaNotaSP();
    itemPrecado("3", "3.333", "18");
    noItem("NFVI_ALIQ_IPI", QStringLiteral("10"));
    dm().gravarItem();
    itemPrecado("7", "1.111", "12");
    noItem("NFVI_PERDESC", QStringLiteral("3"));
    dm().gravarItem();
    cabecalho("NFV_DESCVLR", QStringLiteral("0,05"));
    gravar();
    const nfe::NFe& n = montar();
    const nfe::ICMSTot& tot = n.Total.ICMSTot;
    Currency vBC, vICMS, vIPI;
    for (const nfe::Det& d : n.Det) {
        vBC += d.Imposto.ICMS.vBC;
        vICMS += d.Imposto.ICMS.vICMS;
        vIPI += d.Imposto.IPI.vIPI;
    }
    EXPECT_EQ(tot.vProd, somaDet(n, &nfe::Prod::vProd));
    EXPECT_EQ(tot.vDesc, somaDet(n, &nfe::Prod::vDesc));
    EXPECT_EQ(tot.vBC, vBC);
    EXPECT_EQ(tot.vICMS, vICMS);
    EXPECT_EQ(tot.vIPI, vIPI);
    EXPECT_EQ(tot.vNF, tot.vProd - tot.vDesc + tot.vST + tot.vFrete + tot.vOutro + tot.vIPI + tot.vII);
    validarEsquema(n);
}

// --- billing and payment

TEST_F(NFVendaNFe, DuplicatesAndPaymentsFromTheReceivables) {
    sql(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG, MOE_NFE_BAND) values (1, 'CARTAO', '03', '07')"));
    sql(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (2, 'PIX', '17')"));
    sql(QStringLiteral("insert into MOEDA (CODMOEDA, MOE_DESCRICAO, MOE_NFE_PAG) values (3, 'DUPLICATA', '14')"));
    sql(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA) "
                       "values (2, '30/60', 2, 30)"));
    novaNotaSP();
    produto("2002", "4"); // 40.00
    cab().field(QStringLiteral("CODFORMAPAGAMENTO")).setValue(2);
    const int numero = gravar();
    receber(numero, 1, "0", "2027-01-01", 1);
    receber(numero, 2, "15", "2027-01-05", 1);
    receber(numero, 3, "15", "2027-02-05", 2);
    receber(numero, 4, "10", "2027-03-05", 3);
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Cobr.Dup.Count(), 3);
    EXPECT_EQ(n.Cobr.Dup[0].nDup, QStringLiteral("001"));
    EXPECT_EQ(n.Cobr.Dup[2].nDup, QStringLiteral("003"));
    EXPECT_EQ(n.Cobr.Dup[0].dVenc, QDate(2027, 1, 5));
    EXPECT_EQ(n.Cobr.Fat.vLiq, Currency(40));
    ASSERT_EQ(n.pag.Count(), 3);
    Currency pago;
    QStringList tipos;
    for (const nfe::DetPag& p : n.pag) {
        pago += p.vPag;
        tipos << p.tPag;
        EXPECT_EQ(p.indPag, 1);
        if (p.tPag == u"03") {
            EXPECT_EQ(p.tBand, QStringLiteral("07"));
            EXPECT_EQ(p.tpIntegra, 2);
        }
    }
    tipos.sort();
    EXPECT_EQ(tipos, (QStringList{"01", "03", "17"})); // PIX kept, "14" is no longer a code
    EXPECT_GE(pago, n.Total.ICMSTot.vNF);
    validarEsquema(n);
}

TEST_F(NFVendaNFe, SingleDuplicateDueFromTheIssueDate) {
    sql(QStringLiteral("insert into FORMAPAGAMENTO (CODFORMAPAGAMENTO, FPG_DESCRICAO, FPG_PARCELAS, FPG_DIAS_PRIMEIRA) "
                       "values (2, '30', 1, 30)"));
    config("NFE4.COB.TOTAL", "S");
    novaNotaSP();
    produto("2002", "1");
    cab().field(QStringLiteral("CODFORMAPAGAMENTO")).setValue(2);
    cab().field(QStringLiteral("NFV_DTEMISSAO")).setValue(QDate::currentDate().addDays(-3));
    gravar();
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Cobr.Dup.Count(), 1);
    EXPECT_EQ(n.Cobr.Dup[0].nDup, QStringLiteral("001"));
    EXPECT_EQ(n.Cobr.Dup[0].dVenc, QDate::currentDate().addDays(27));
    EXPECT_EQ(n.Cobr.Dup[0].vDup, Currency(10));
}

TEST_F(NFVendaNFe, PaymentOfTheWholeInvoiceAndShortReceivables) {
    vendaSP();
    const nfe::NFe& n = montar();
    // Cash without receivables: no payment recorded.
    ASSERT_EQ(n.pag.Count(), 1);
    EXPECT_EQ(n.pag[0].tPag, QStringLiteral("90"));
    config("NFE4.PAG.TOTAL", "S");
    const nfe::NFe& m = montar();
    ASSERT_EQ(m.pag.Count(), 1);
    EXPECT_EQ(m.pag[0].tPag, QStringLiteral("15"));
    EXPECT_EQ(m.pag[0].vPag, m.Total.ICMSTot.vNF);
    validarEsquema(m);
}

TEST_F(NFVendaNFe, TransportGroup) {
    novaNotaSP();
    produto("1001", "1");
    cabecalho("NFV_TP_FRETE", QStringLiteral("SFT"));
    cab().field(QStringLiteral("NFV_PLACA")).setValue(QStringLiteral("ABC-1234"));
    cab().field(QStringLiteral("NFV_PLACA_UF")).setValue(QStringLiteral("SP"));
    cab().field(QStringLiteral("NFV_QTD_VOL")).setValue(2);
    cab().field(QStringLiteral("NFV_ESP")).setValue(QStringLiteral("CAIXA"));
    gravar();
    const nfe::NFe& n = montar();
    EXPECT_EQ(n.Transp.modFrete, 9);
    EXPECT_EQ(n.Transp.veicTransp.placa, QStringLiteral("ABC1234"));
    ASSERT_EQ(n.Transp.Vol.Count(), 1);
    EXPECT_EQ(n.Transp.Vol[0].qVol, 2);
    validarEsquema(n);
}

TEST_F(NFVendaNFe, AdditionalInformation) {
    sql(QStringLiteral("update PAR_GERAL set PARG_MD5 = 'abc123' where CODEMPRESA = 1"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    novaNotaSP();
    produto("1001", "1");
    cab().field(QStringLiteral("NFV_OBS")).setValue(QStringLiteral("  entregar pela manhã "));
    gravar();
    EXPECT_EQ(montar(2).InfAdic.infCpl,
              QStringLiteral("entregar pela manhã;DOCUMENTO EMITIDO POR ME OU EPP OPTANTE PELO SIMPLES NACIONAL;NÃO GERA "
                             "DIREITO A CRÉDITO FISCAL DE IPI.;MD-5:abc123"));
    // An explicit option 1 to 6 without the product's CST sends CST 41.
    config("NFE.CST.PROD", "N");
    EXPECT_EQ(montar(2).Det[0].Imposto.ICMS.CST, QStringLiteral("41"));
    EXPECT_EQ(montar(-1).Det[0].Imposto.ICMS.CST, QStringLiteral("00"));
}

// --- composition

TEST_F(NFVendaNFe, CompositionIsSentAsItsComponents) {
    sql(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_CST, PRO_NCM) "
                       "values (40, '4004', 'KIT', 10, '000', '73181500')"));
    sql(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_CST, PRO_ALIQ_ICMS) "
                       "values (41, '4101', 'PECA A', 1, '000', 18)"));
    sql(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO, PROC_QTDE) "
                       "values (1, 40, 41, 2)"));
    sql(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO, PROC_QTDE) "
                       "values (2, 40, 10, 1)"));
    sql(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO, PROC_QTDE) "
                       "values (3, 40, 20, 1)"));
    config("NF.DET.COMP", "S");
    novaNotaSP();
    produto("4004", "2");
    produto("1001", "1");
    cabecalho("NFV_TP_FRETE", QStringLiteral("FOB"));
    cabecalho("NFV_FRETE", QStringLiteral("5"));
    gravar();
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Det.Count(), 4);
    EXPECT_EQ(n.Det[0].Prod.xProd, QStringLiteral("PECA A"));
    EXPECT_EQ(n.Det[0].Prod.qCom, Currency(4));      // 2 kits x 2
    EXPECT_EQ(n.Det[0].Prod.vUnCom, c("1.665"));     // 3.33 / 2
    EXPECT_EQ(n.Det[2].Prod.vUnCom, c("3.34"));      // the last part closes 10.00
    EXPECT_EQ(n.Det[3].nItem, 4);
    EXPECT_EQ(n.Det[0].Imposto.ICMS.vICMS, c("1.20")); // 6.66 x 18%
    EXPECT_EQ(somaDet(n, &nfe::Prod::vProd), Currency(22));
    EXPECT_EQ(somaDet(n, &nfe::Prod::vFrete), Currency(5));
    EXPECT_EQ(n.Total.ICMSTot.vProd, Currency(22));
    validarEsquema(n);
}

// --- a generated set of invoices

namespace {
// The authority's cross-field rules on a document, by rejection code.
QStringList rejeicoes(const nfe::NFe& n) {
    QStringList r;
    const nfe::ICMSTot& tot = n.Total.ICMSTot;
    nfe::ICMSTot s;
    for (const nfe::Det& d : n.Det) {
        s.vProd += d.Prod.vProd;
        s.vDesc += d.Prod.vDesc;
        s.vFrete += d.Prod.vFrete;
        s.vOutro += d.Prod.vOutro;
        s.vBC += d.Imposto.ICMS.vBC;
        s.vICMS += d.Imposto.ICMS.vICMS;
        s.vST += d.Imposto.ICMS.vICMSST;
        s.vBCST += d.Imposto.ICMS.vBCST;
        s.vFCP += d.Imposto.ICMS.vFCP.roundTo2Even();
        s.vFCPST += d.Imposto.ICMS.vFCPST.roundTo2Even();
        s.vIPI += d.Imposto.IPI.vIPI;
        s.vICMSUFDest += d.Imposto.ICMSUFDest.vICMSUFDest.roundTo2Even();
        s.vFCPUFDest += d.Imposto.ICMSUFDest.vFCPUFDest.roundTo2Even();
        if (d.Prod.vFrete < Currency() || d.Prod.vDesc < Currency() || d.Prod.vOutro < Currency())
            r << QStringLiteral("negative share");
        if (d.Imposto.ICMSUFDest.vICMSUFDest < Currency() || d.Imposto.ICMSUFDest.vICMSUFRemet < Currency())
            r << QStringLiteral("negative partition");
    }
    if (const auto v = autoridade::violacaoDeRegra(n))
        r << QString::number(v->first);
    if (s.vBC != tot.vBC) r << QStringLiteral("531");
    if (s.vICMS != tot.vICMS) r << QStringLiteral("532");
    if (s.vBCST != tot.vBCST) r << QStringLiteral("533");
    if (s.vST != tot.vST) r << QStringLiteral("534");
    if (s.vFrete != tot.vFrete) r << QStringLiteral("535");
    if (s.vProd != tot.vProd) r << QStringLiteral("564");
    if (s.vDesc != tot.vDesc || s.vOutro != tot.vOutro || s.vIPI != tot.vIPI) r << QStringLiteral("536-601");
    if (s.vFCP != tot.vFCP.roundTo2Even() || s.vFCPST != tot.vFCPST.roundTo2Even()) r << QStringLiteral("859-861");
    if (s.vICMSUFDest != tot.vICMSUFDest.roundTo2Even() || s.vFCPUFDest != tot.vFCPUFDest.roundTo2Even())
        r << QStringLiteral("695");
    const Currency vNF = tot.vProd - tot.vDesc - tot.vICMSDeson + tot.vST + tot.vFCPST + tot.vFrete + tot.vSeg + tot.vOutro + tot.vII
        + tot.vIPI + tot.vIPIDevol;
    if (vNF != tot.vNF) r << QStringLiteral("610");
    Currency pago;
    bool semPagamento = false;
    for (const nfe::DetPag& p : n.pag) {
        pago += p.vPag;
        semPagamento = semPagamento || p.tPag == u"90";
    }
    if ((n.Ide.finNFe == 3 || n.Ide.finNFe == 4) && !semPagamento) r << QStringLiteral("871");
    if (!semPagamento && pago < tot.vNF) r << QStringLiteral("865");
    for (int k = 0; k < n.Cobr.Dup.Count(); ++k)
        if (n.Cobr.Dup[k].nDup != QString::number(k + 1).rightJustified(3, u'0')) r << QStringLiteral("857");
    if (n.Ide.cNF == n.Ide.nNF) r << QStringLiteral("897");
    if (n.Dest.indIEDest == 9 && n.Ide.indFinal != 1) r << QStringLiteral("696");
    if (n.Ide.idDest == 3 && n.Dest.EnderDest.UF != u"EX") r << QStringLiteral("773");
    if (n.Ide.finNFe == 4 && n.Ide.NFref.isEmpty()) r << QStringLiteral("254");
    for (const nfe::NFref& ref : n.Ide.NFref)
        if (!ref.refNFe.isEmpty() && !nfe::ChaveValida(ref.refNFe)) r << QStringLiteral("547");
    return r;
}
} // namespace

TEST_F(NFVendaNFe, EveryInvoiceOfAGeneratedSetPassesSchemaAndRules) {
    sql(QStringLiteral("update PESSOA set PES_CIDADE = 'RIO DE JANEIRO', PES_CPFCNPJ = '11444777000161' where CODPESSOA = 5"));
    sql(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_PAIS, PES_CIDADE, PES_ENDERECO) "
                       "values (6, 'Cliente AR', 'SP', 'ARGENTINA', 'ROSARIO', 'CALLE 1')"));
    sql(QStringLiteral("update PRODUTO set PRO_CSOSN = '102' where CODPRODUTO = 20"));
    std::mt19937 gerador(20261206);
    auto sorteio = [&](int n) { return int(gerador() % unsigned(n)); };
    auto um = [&](std::initializer_list<const char*> l) { return QString::fromLatin1(*(l.begin() + sorteio(int(l.size())))); };
    const int quantas = 500;
    int validadas = 0;
    QHash<QString, QString> atual; // only changes are written, to keep the set quick
    auto mudar = [&](const char* chave, const char* valor) {
        if (atual.value(QLatin1String(chave)) != QLatin1String(valor))
            config(chave, valor);
        atual.insert(QLatin1String(chave), QLatin1String(valor));
    };
    for (int k = 0; k < quantas; ++k) {
        const bool simples = sorteio(3) == 0;
        if (atual.value(QStringLiteral("simples")) != (simples ? u"S" : u"N")) {
            sql(QStringLiteral("update PAR_GERAL set PARG_REGIME_TRIBUTARIO = '%1' where CODEMPRESA = 1")
                    .arg(simples ? QStringLiteral("Simples Nacional") : QStringLiteral("Regime Normal")));
            TdmAcesso::gerarInstance().recarregarEmpresa();
            atual.insert(QStringLiteral("simples"), simples ? QStringLiteral("S") : QStringLiteral("N"));
        }
        for (const char* chave : {"NF.ORD.DESCRI", "PRO.UND.NFE", "NFE4.PAG.TOTAL", "NFE4.ICMS.UFD", "NFE4.COB.ENV",
                                  "NFE.NOM.FANT", "NF.EXT.ATV"})
            mudar(chave, sorteio(2) ? "S" : "N");
        mudar("NFE.OPT.ALIQ", sorteio(2) ? "2,5" : "0");
        dm().novaNFVenda();
        cabecalho("CODSERIE", QStringLiteral("1"));
        const QString cliente = um({"1", "2", "5", "6"});
        cabecalho("CODPESSOA", cliente);
        cabecalho("CODCFOP", (cliente == u"1" || cliente == u"6") ? QStringLiteral("5102") : QStringLiteral("6102"));
        const int itens = 1 + sorteio(4);
        for (int i = 0; i < itens; ++i) {
            dm().novoItem();
            noItem("CODPESQUISA", um({"1001", "2002"}));
            noItem("NFVI_QTDE", QString::number(1 + sorteio(20)));
            noItem("NFVI_VLR_UNITARIO", QStringLiteral("%1,%2").arg(1 + sorteio(300)).arg(sorteio(1000), 3, 10, QChar(u'0')));
            noItem("NFVI_CST", QStringLiteral("0") + um({"00", "10", "20", "30", "40", "41", "50", "51", "60", "70", "90"}));
            noItem("NFVI_CSOSN", um({"101", "102", "103", "201", "202", "203", "300", "400", "500", "900"}));
            noItem("NFVI_ALIQ_ICMS", um({"0", "7", "12", "18"}));
            if (sorteio(3) == 0)
                noItem("NFVI_PERDESC", QString::number(sorteio(60)));
            if (sorteio(3) == 0)
                noItem("NFVI_ALIQ_IPI", um({"5", "10"}));
            if (sorteio(3) == 0) {
                noItem("NFVI_PIS_PER", QStringLiteral("1,65"));
                noItem("NFVI_COFINS_PER", QStringLiteral("7,6"));
            }
            noItem("NFVI_ALIQ_ICMS_FORA", um({"0", "7", "17", "18", "20"}));
            noItem("NFVI_FCP_ALIQ", um({"0", "2"}));
            dm().gravarItem();
        }
        cabecalho("NFV_TP_FRETE", um({"CIF", "FOB", "SFT"}));
        if (sorteio(2))
            cabecalho("NFV_FRETE", QStringLiteral("%1,%2").arg(sorteio(30)).arg(sorteio(100), 2, 10, QChar(u'0')));
        if (sorteio(3) == 0)
            cabecalho("NFV_DESCVLR", QStringLiteral("0,%1").arg(sorteio(100), 2, 10, QChar(u'0')));
        if (sorteio(3) == 0)
            cabecalho("NFV_ACRESCIMO", QString::number(sorteio(10)));
        if (cliente == u"6") {
            cabecalho("NFV_UF_EMB", QStringLiteral("SP"));
            cab().field(QStringLiteral("NFV_LOCAL_EMB")).setValue(QStringLiteral("SANTOS"));
        }
        const nfe::NFe& n = montar(sorteio(4) == 0 ? 1 + sorteio(7) : -1);
        const QStringList r = rejeicoes(n);
        EXPECT_TRUE(r.isEmpty()) << "invoice " << k << ": " << r.join(u',').toStdString();
        if (assinador) {
            const QStringList erros =
                validador->validar(assinador->assinar(xml(n).toUtf8(), "infNFe"), QStringLiteral("nfe_v4.00.xsd"));
            EXPECT_TRUE(erros.isEmpty()) << "invoice " << k << ": " << erros.join(u'\n').toStdString();
            validadas += erros.isEmpty() ? 1 : 0;
        }
        dm().cancelarNFVenda();
        if (HasFailure())
            break;
    }
    if (!assinador)
        GTEST_SKIP() << "NF-e schemas or test certificate not available in the data cache";
    EXPECT_EQ(validadas, quantas);
}

// --- the local authority's rules, each on a document that breaks it

TEST_F(NFVendaNFe, EachCrossFieldRuleGivesItsRejectionCode) {
    sql(QStringLiteral("update PESSOA set PES_IE = null where CODPESSOA = 1"));
    vendaSP();
    const nfe::NFe bom = montar();
    ASSERT_FALSE(autoridade::violacaoDeRegra(bom).has_value());
    const auto codigo = [&](const std::function<void(nfe::NFe&)>& estragar) {
        nfe::NFe n = bom;
        estragar(n);
        const auto v = autoridade::violacaoDeRegra(n);
        return v ? v->first : 0;
    };
    const Currency centavo = c("0.01");
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vBC += centavo; }), 531);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vICMS += centavo; }), 532);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vBCST += centavo; }), 533);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vST += centavo; }), 534);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Det[0].Prod.vFrete += centavo; }), 535);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vDesc += centavo; }), 537);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Det[1].Imposto.IPI.vIPI += centavo; }), 538);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vProd += centavo; }), 564);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Det[0].Imposto.PIS.v += centavo; }), 602);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vOutro += centavo; }), 604);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Total.ICMSTot.vNF += centavo; }), 610);
    EXPECT_EQ(codigo([&](nfe::NFe& n) {
                  n.pag.Clear();
                  nfe::DetPag& p = n.pag.Add();
                  p.tPag = QStringLiteral("01");
                  p.vPag = n.Total.ICMSTot.vNF - centavo;
              }),
              865);
    EXPECT_EQ(codigo([&](nfe::NFe& n) {
                  n.Ide.finNFe = 4;
                  n.Ide.NFref.Add().refNFe = dm().GetChaveAcesso();
                  n.pag.Clear();
                  n.pag.Add().tPag = QStringLiteral("01");
              }),
              871);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Ide.finNFe = 4; }), 321);
    EXPECT_EQ(codigo([&](nfe::NFe& n) {
                  QString chave = dm().GetChaveAcesso();
                  chave[43] = QChar(u'0' + (chave[43].digitValue() + 1) % 10);
                  n.Ide.NFref.Add().refNFe = chave;
              }),
              547);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Ide.indFinal = 0; }), 696);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Ide.cNF = n.Ide.nNF; }), 897);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Dest.EnderDest.UF = QStringLiteral("RJ"); }), 773);
    EXPECT_EQ(codigo([&](nfe::NFe& n) { n.Ide.idDest = 2; }), 772);
}

TEST_F(NFVendaNFe, FinalConsumerByPersonTypeWhenTheFlagIsBlank) {
    sql(QStringLiteral("update PESSOA set PES_CONSUMIDOR_FINAL = null where CODPESSOA = 1"));
    vendaSP();
    EXPECT_EQ(montar().Ide.indFinal, 0); // legal person, a taxpayer
    sql(QStringLiteral("update PESSOA set PES_TIPO = 'F' where CODPESSOA = 1"));
    dm().abrirNFVenda(int(cab().field(QStringLiteral("CODNFVENDA")).asInteger()), QStringLiteral("1"));
    EXPECT_EQ(montar().Ide.indFinal, 1);
}

// --- whole documents against golden files (KVO_ATUALIZAR_GOLDEN=1 writes them)

namespace {
QString semFusoHorario(QString xml) {
    static const QRegularExpression fuso(QStringLiteral("(<dh[A-Za-z]+>[^<]*T\\d\\d:\\d\\d:\\d\\d)[-+]\\d\\d:\\d\\d"));
    return xml.replace(fuso, QStringLiteral("\\1"));
}
} // namespace

class NFVendaNFeGolden : public NFVendaNFe {
protected:
    NFVendaNFeGolden() { Clock::setFixed(QDateTime(QDate(2026, 6, 15), QTime(10, 20, 30))); }
    void comparar(const nfe::NFe& n, const char* nome) {
        const QString arquivo = QStringLiteral(KVO_SOURCE_DIR "/tests/invoice/golden/") + QLatin1String(nome);
        const QString atual = semFusoHorario(xml(n));
        if (qEnvironmentVariableIsSet("KVO_ATUALIZAR_GOLDEN")) {
            QFile f(arquivo);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(atual.toUtf8());
        }
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << arquivo.toStdString();
        EXPECT_EQ(atual, QString::fromUtf8(f.readAll()));
        validarEsquema(n);
    }
};

TEST_F(NFVendaNFeGolden, InternalSale) {
    vendaSP();
    comparar(montar(), "venda-interna.xml");
}

TEST_F(NFVendaNFeGolden, InterstateFinalConsumerWithPartitionAndFcp) {
    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODPESSOA", QStringLiteral("2"));
    cabecalho("CODCFOP", QStringLiteral("6102"));
    itemPrecado("2", "50", "12");
    noItem("NFVI_ALIQ_ICMS_FORA", QStringLiteral("18"));
    noItem("NFVI_FCP_ALIQ", QStringLiteral("2"));
    dm().gravarItem();
    gravar();
    comparar(montar(), "interestadual-consumidor-final.xml");
}

TEST_F(NFVendaNFeGolden, SimplesNacionalOptionOne) {
    sql(QStringLiteral("update PAR_GERAL set PARG_REGIME_TRIBUTARIO = 'Simples Nacional' where CODEMPRESA = 1"));
    TdmAcesso::gerarInstance().recarregarEmpresa();
    config("NFE.OPT.ALIQ", "1,25");
    config("NFE.OPT.SMP", "1");
    sql(QStringLiteral("update PRODUTO set PRO_CSOSN = '102' where CODPRODUTO = 20"));
    vendaSP();
    comparar(montar(), "simples-opcao-1.xml");
}

// Checked by hand: idDest 3 with UF "EX", cMun 9999999, "EXTERIOR", cPais 639;
// idEstrangeiro without CNPJ/IE and indIEDest 9, hence indFinal 1; CFOP 7102 on
// the item; exporta with UFSaidaPais and xLocExporta only; ICMS40 without values.
TEST_F(NFVendaNFeGolden, ForeignCustomerWithExport) {
    sql(QStringLiteral("update PESSOA set PES_PAIS = 'ARGENTINA', PES_CPFCNPJ = 'AR-20304050', PES_CIDADE = 'BUENOS AIRES', "
                       "PES_IE = null where CODPESSOA = 1"));
    // Exported goods are not taxed: situation 41.
    sql(QStringLiteral("update PRODUTO set PRO_CST = '041' where CODPRODUTO = 20"));
    sql(QStringLiteral("insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('7102', 'Venda exportacao', 'S')"));
    config("NF.EXT.ATV", "S");
    dm().novaNFVenda();
    cabecalho("CODSERIE", QStringLiteral("1"));
    cabecalho("CODPESSOA", QStringLiteral("1"));
    cabecalho("CODCFOP", QStringLiteral("7102"));
    cabecalho("NFV_UF_EMB", QStringLiteral("SP"));
    cab().field(QStringLiteral("NFV_LOCAL_EMB")).setValue(QStringLiteral("PORTO DE SANTOS"));
    itemPrecado("4", "25", "0");
    noItem("CODCFOP", QStringLiteral("7102"));
    dm().gravarItem();
    gravar();
    comparar(montar(), "exportacao.xml");
}

// Checked by hand: finNFe 4 with one NFref, the original's own key (nNF 1, its
// cNF, check digit); return CFOP 5202 on the item; pag a single tPag 90 of 0.00.
TEST_F(NFVendaNFeGolden, ReturnReferencingASavedInvoice) {
    sql(QStringLiteral("insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO, CFOP_CLASSIFICACAO) "
                       "values ('5202', 'Devolucao de compra', 'S', 'Devolução')"));
    const int original = vendaSP();
    const QString chaveOriginal = dm().GetChaveAcesso();
    novaNotaSP();
    cabecalho("CODCFOP", QStringLiteral("5202"));
    produto("1001", "1");
    cabecalho("NFV_FINALIDADE_EMISSAO", QStringLiteral("4"));
    cabecalho("CODNFVENDA_DEV", QString::number(original));
    cabecalho("CODSERIE_DEV", QStringLiteral("1"));
    gravar();
    const nfe::NFe& n = montar();
    ASSERT_EQ(n.Ide.NFref.Count(), 1);
    EXPECT_EQ(n.Ide.NFref[0].refNFe, chaveOriginal); // the key the original was sent with
    comparar(n, "devolucao-referenciada.xml");
}

// Checked by hand: the kit (2 x 10.00) becomes PECA A 4 x 2.50 and CAFE 2 x 5.00,
// its price split 5.00 + 5.00, with the parent's CFOP and "SEM GTIN"; vICMS
// 18% of each vProd; the 1.00 header discount is 0.45 + 0.45 + 0.10 (the last
// line closes); vProd 22.00, vDesc 1.00, vNF 21.00.
TEST_F(NFVendaNFeGolden, CompositionSentAsItsComponents) {
    sql(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_CST, PRO_NCM) "
                       "values (40, '4004', 'KIT', 10, '000', '73181500')"));
    sql(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, PRO_CST, PRO_NCM, "
                       "PRO_ALIQ_ICMS) values (41, '4101', 'PECA A', 1, '000', '73181500', 18)"));
    sql(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO, PROC_QTDE) "
                       "values (1, 40, 41, 2)"));
    sql(QStringLiteral("insert into PRODUTO_COMPOSICAO (CODPRODUTOCOMPOSICAO, CODPRODUTO, CODPRODUTOFILHO, PROC_QTDE) "
                       "values (2, 40, 20, 1)"));
    config("NF.DET.COMP", "S");
    novaNotaSP();
    produto("4004", "2");
    produto("1001", "1");
    cabecalho("NFV_DESCVLR", QStringLiteral("1"));
    gravar();
    comparar(montar(), "composicao.xml");
}
