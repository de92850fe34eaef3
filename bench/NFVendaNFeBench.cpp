// The NF-e of an invoice as the issuing step runs it: assembly from the data
// module, signature and schema validation through the component, for
// invoices of 1, 50 and 990 items (prints the median of each).
#include "core/Paths.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "invoice/DNFVenda.h"
#include "nfe/NFeComponent.h"
#include "nfe/ValidadorXml.h"
#include "registers/DNFe.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kvo;

namespace {

const QString Fixtures = QStringLiteral(KVO_BENCH_FIXTURE_DIR);

struct Loja {
    QTemporaryDir home;
    test::TestDatabase t;
    Module module;
    test::ScriptedUi ui;
    bool pronta = false;
    int itensNaNota = -1;

    Loja() {
        const QString scripts = QStringLiteral(KVO_SOURCE_DIR "/scripts/");
        if (QProcess::execute(scripts + QStringLiteral("install-nfe-schemas"), {Fixtures + QStringLiteral("/Schemas")}) != 0
            || QProcess::execute(scripts + QStringLiteral("make-demo-certificate"), {Fixtures + QStringLiteral("/cert")}) != 0)
            return;
        setProgramFolder(home.path());
        QDir(home.path()).mkpath(QStringLiteral("MunIBGE"));
        QFile mun(home.filePath(QStringLiteral("MunIBGE/MunIBGE-UF35.txt")));
        if (!mun.open(QIODevice::WriteOnly))
            return;
        mun.write("3550308;SAO PAULO\n");
        mun.close();
        TdmAcesso::gerarInstance().usarConexao(t.db());
        const char* registros[] = {
            "insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_CPFCGC, PARG_IE, PARG_UF, PARG_TRABALHA_ABERTURA, "
            "PARG_ENDERECO, PARG_NUMERO, PARG_BAIRRO, PARG_CIDADE, PARG_COD_MUNICIPIO, PARG_CEP) values (1, 'LOJA', "
            "'11222333000181', '110042490114', 'SP', 'N', 'RUA A', '1', 'CENTRO', 'SAO PAULO', 3550308, '01001000')",
            "insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_IE, PES_CONTRIBUINTE, PES_CPFCNPJ, PES_ENDERECO, "
            "PES_BAIRRO, PES_CIDADE) values (1, 'Cliente', 'SP', '110042490114', 'S', '11444777000161', 'AV B', 'SE', "
            "'SAO PAULO')",
            "insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('5102', 'Venda', 'S')",
            "insert into SERIE (CODSERIE, SER_DESCRICAO, SER_TIPO) values ('1', 'NF-e', 'NF-e')",
        };
        for (const char* r : registros)
            t->executeSQL(QString::fromUtf8(r));
        Transaction tx(t.db());
        for (int p = 1; p <= 50; ++p)
            t->executeSQL(QStringLiteral("insert into PRODUTO (CODPRODUTO, PRO_CODPESQ_1, PRO_DESCRICAO, PRO_PRECO01, "
                                         "PRO_ALIQ_ICMS, PRO_CST, PRO_NCM) values (%1, '%2', 'PRODUTO %1', %1.35, 18, "
                                         "'000', '73181500')")
                              .arg(p)
                              .arg(1000 + p));
        tx.commit();
        TdmNFVenda::gerarInstance();
        TdmConfiguracao::gerarInstance().setValor(QStringLiteral("NF.LEI.IMP"), QStringLiteral("N"));
        nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
        c.Configuracoes.arquivoPfx = Fixtures + QStringLiteral("/cert/kvo-demo-a1.pfx");
        c.Configuracoes.senhaPfx = QStringLiteral("1234");
        c.Configuracoes.pastaSchemas = Fixtures + QStringLiteral("/Schemas");
        c.assinador();
        c.validador().validar(QByteArray("<x/>"), QStringLiteral("nfe_v4.00.xsd")); // schema parsed once
        pronta = true;
    }

    // The open invoice gets `itens` items (typed through the data module, not timed).
    void nota(int itens) {
        if (itensNaNota == itens)
            return;
        auto& dm = TdmNFVenda::gerarInstance();
        if (itensNaNota >= 0)
            dm.cancelarNFVenda();
        dm.novaNFVenda();
        dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODSERIE"), QStringLiteral("1"));
        dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODPESSOA"), QStringLiteral("1"));
        dm.setValorCampo(dm.cdsNFVenda(), QStringLiteral("CODCFOP"), QStringLiteral("5102"));
        for (int i = 0; i < itens; ++i) {
            dm.novoItem();
            dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("CODPESQUISA"), QString::number(1001 + i % 50));
            dm.setValorCampo(dm.cdsNFVendaItem(), QStringLiteral("NFVI_QTDE_UND"), QString::number(i % 7 + 1));
            dm.gravarItem();
        }
        itensNaNota = itens;
    }
};

Loja& loja() {
    static Loja l;
    return l;
}

void BM_MontarAssinarValidar(benchmark::State& state) {
    Loja& l = loja();
    if (!l.pronta) {
        state.SkipWithError("NF-e schemas or the test certificate are not available");
        return;
    }
    l.nota(int(state.range(0)));
    auto& dm = TdmNFVenda::gerarInstance();
    nfe::NFeComponent& c = TdmNFe::gerarInstance().componente();
    for (auto _ : state) {
        c.NotasFiscais.Clear();
        dm.NFE_GerarDados(-1, QString(), QString());
        c.Assinar();
        c.Validar();
        benchmark::DoNotOptimize(c.NotasFiscais.Items(0).XML.size());
    }
    state.counters["itens"] = double(state.range(0));
}
BENCHMARK(BM_MontarAssinarValidar)->Arg(1)->Arg(50)->Arg(990)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
