#include "app/ExtratoCommand.h"

#include "app/CommandLine.h"
#include "app/StreamUserInterface.h"
#include "devices/ReceiptPrinterTarget.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseError.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/extrato/RExtrato.h"
#include "restaurant/impressao/DResPedidoImpressao.h"

#include <QFile>

#include <functional>

namespace kvo {

namespace {

const char* UsoRestaurante = "uso: kvo restaurante extrato MESA [--saida ARQ] [--marcar]";
const char* UsoPedido = "uso: kvo pedido extrato PEDIDO [--entrega|--balcao N] [--saida ARQ]";

// Instead of the preview: the printer's bytes to a file or the output.
class PreviewSaida : public PreviewExtrato {
public:
    PreviewSaida(QIODevice& saida, bool imprimiu) : m_saida(saida), m_imprimiu(imprimiu) { setPreviewExtrato(this); }
    ~PreviewSaida() override { setPreviewExtrato(nullptr); }
    ResultadoPreview mostrar(const QString&, const QStringList& linhas, bool,
                             const std::function<void(const QStringList&)>&) override {
        const QByteArray bytes = receiptBytes(linhas);
        if (m_saida.write(bytes) != bytes.size())
            throw DatabaseError(QStringLiteral("Não foi possível escrever o extrato: %1").arg(m_saida.errorString()));
        return {m_imprimiu, false};
    }

private:
    QIODevice& m_saida;
    bool m_imprimiu;
};

int executar(const CommandLine& cl, QIODevice& out, QTextStream& err, bool marcar,
             const std::function<void(TrelExtrato&)>& corpo) {
    StreamUserInterface ui(err);
    try {
        QFile arquivo(cl.values.value(QStringLiteral("saida")));
        QIODevice* saida = &out;
        if (cl.values.contains(QStringLiteral("saida"))) {
            if (!arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw DatabaseError(
                    QStringLiteral("Não foi possível criar o arquivo %1: %2").arg(arquivo.fileName(), arquivo.errorString()));
            saida = &arquivo;
        }
        Database db{ConnectionSettings::fromProgramFolder()};
        db.open();
        Module module;
        TdmAcesso::gerarInstance().usarConexao(db);
        TdmAcesso::gerarInstance().setUsuario({0, usuarioDoTerminal(), 0, false});
        TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
        cfg.registrarChaves();
        TdmResPedidoImpressao impressao(db, cfg, usuarioDoTerminal());
        TrelExtrato rel(db, cfg, impressao);
        rel.setGravarPedido(marcar);
        PreviewSaida preview(*saida, marcar);
        corpo(rel);
        return 0;
    } catch (const Abort&) {
        return 1; // already told through the interface
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    }
}

int numero(const QString& texto, bool* ok) { return texto.trimmed().toInt(ok); }

} // namespace

int runExtratoRestauranteCommand(const QStringList& args, QIODevice& out, QTextStream& err) {
    const CommandLine cl = CommandLine::parse(args, {QStringLiteral("saida")}, {QStringLiteral("marcar")});
    bool ok = false;
    const int mesa = numero(cl.positional.value(1), &ok);
    if (!cl.error.isEmpty() || cl.positional.size() != 2 || cl.positional[0] != QLatin1String("extrato") || !ok ||
        mesa <= 0) {
        if (!cl.error.isEmpty())
            err << "erro: " << cl.error << Qt::endl;
        err << UsoRestaurante << Qt::endl;
        return 2;
    }
    return executar(cl, out, err, cl.switches.contains(QStringLiteral("marcar")),
                    [mesa](TrelExtrato& rel) { rel.extrato(mesa, false); });
}

int runExtratoPedidoCommand(const QStringList& args, QIODevice& out, QTextStream& err) {
    const CommandLine cl =
        CommandLine::parse(args, {QStringLiteral("saida"), QStringLiteral("balcao")}, {QStringLiteral("entrega")});
    bool ok = false, okBalcao = true;
    const int pedido = numero(cl.positional.value(1), &ok);
    const bool entrega = cl.switches.contains(QStringLiteral("entrega"));
    const bool balcao = cl.values.contains(QStringLiteral("balcao"));
    const int numeroBalcao = balcao ? numero(cl.values.value(QStringLiteral("balcao")), &okBalcao) : 0;
    if (!cl.error.isEmpty() || cl.positional.size() != 2 || cl.positional[0] != QLatin1String("extrato") || !ok ||
        pedido <= 0 || !okBalcao || (entrega && balcao)) {
        if (!cl.error.isEmpty())
            err << "erro: " << cl.error << Qt::endl;
        err << UsoPedido << Qt::endl;
        return 2;
    }
    return executar(cl, out, err, false, [&](TrelExtrato& rel) {
        rel.extratoPedido(pedido, entrega, balcao, numeroBalcao);
    });
}

} // namespace kvo
