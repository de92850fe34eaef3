#include "NFeSamples.h"

#include "nfe/AssinadorXml.h"
#include "nfe/CertificadoA1.h"
#include "nfe/Danfe.h"
#include "nfe/NFeComponent.h"
#include "nfe/NFeXmlWriter.h"
#include "nfe/ValidadorXml.h"
#include "nfe/XmlLib.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace kvo::nfe;

namespace {

const QString Fixtures = QStringLiteral(KVO_NFE_FIXTURE_DIR);

bool prepararFixtures()
{
    const QString scripts = QStringLiteral(KVO_SOURCE_DIR "/scripts/");
    return QProcess::execute(scripts + QStringLiteral("install-nfe-schemas"), {Fixtures + QStringLiteral("/Schemas")}) == 0
        && QProcess::execute(scripts + QStringLiteral("make-demo-certificate"), {Fixtures + QStringLiteral("/cert")}) == 0;
}

// Schema and key are loaded once, as a running till does.
struct Ambiente {
    CertificadoA1 cert = CertificadoA1::carregar(Fixtures + QStringLiteral("/cert/kvo-demo-a1.pfx"), QStringLiteral("1234"));
    AssinadorXml assinador{cert};
    ValidadorXml validador{Fixtures + QStringLiteral("/Schemas")};
};

Ambiente& ambiente()
{
    static Ambiente a;
    return a;
}

// Model to XML, signature and schema validation on the one parsed document.
void BM_GerarAssinarValidar(benchmark::State& state)
{
    Ambiente& a = ambiente();
    a.validador.validar(QByteArray("<x/>"), QStringLiteral("nfe_v4.00.xsd")); // schema parsed outside the timing
    for (auto _ : state) {
        const NFe nfe = samples::interestadualConsumidorFinal(int(state.range(0)));
        xml::DocPtr doc = xml::parse(writeNFeXml(nfe));
        a.assinador.assinar(doc.get(), "infNFe");
        const QStringList erros = a.validador.validar(doc.get(), QStringLiteral("nfe_v4.00.xsd"));
        const QByteArray assinado = xml::dumpRoot(doc.get());
        if (!erros.isEmpty()) {
            state.SkipWithError(erros.first().toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(assinado.size());
    }
    state.counters["itens"] = double(state.range(0));
}
BENCHMARK(BM_GerarAssinarValidar)->Arg(1)->Arg(50)->Arg(990)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

// The same through the component's document list, as the invoice life cycle calls it.
void BM_ComponenteGerarAssinarValidar(benchmark::State& state)
{
    NFeComponent componente;
    componente.Configuracoes.arquivoPfx = Fixtures + QStringLiteral("/cert/kvo-demo-a1.pfx");
    componente.Configuracoes.senhaPfx = QStringLiteral("1234");
    componente.Configuracoes.pastaSchemas = Fixtures + QStringLiteral("/Schemas");
    componente.assinador();
    componente.validador().validar(QByteArray("<x/>"), QStringLiteral("nfe_v4.00.xsd"));
    for (auto _ : state) {
        componente.NotasFiscais.Clear();
        componente.NotasFiscais.Add().NFe = samples::interestadualConsumidorFinal(int(state.range(0)));
        componente.GerarNFe();
        componente.Assinar();
        componente.Validar();
    }
}
BENCHMARK(BM_ComponenteGerarAssinarValidar)->Arg(1)->Arg(50)->Arg(990)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DanfePdf(benchmark::State& state)
{
    NFe nfe = samples::interestadualConsumidorFinal(int(state.range(0)));
    nfe.Id = chaveDoDocumento(nfe);
    QTemporaryDir dir;
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("danfe.pdf"));
    for (auto _ : state)
        gerarDanfePdf(nfe, pdf, {});
    state.counters["paginas"] = paginasDanfe(nfe);
}
BENCHMARK(BM_DanfePdf)->Arg(990)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!prepararFixtures()) {
        std::fprintf(stderr, "schemas or demo certificate could not be prepared\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
