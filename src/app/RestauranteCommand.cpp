#include "app/RestauranteCommand.h"

#include "app/CommandLine.h"
#include "app/StreamUserInterface.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "registers/DProduto.h"
#include "restaurant/DGarcon.h"
#include "restaurant/DResPedido.h"
#include "restaurant/impressao/DResPedidoImpressao.h"
#include "restaurant/impressao/LancamentoTickets.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace kvo {

namespace {

const char* Uso = "uso: kvo restaurante lancar MESA ARQ.json [--garcom N] | cancelar-item PEDIDO ITEM QTDE [--motivo T]";

QString texto(const QJsonValue& v) { return v.isDouble() ? QString::number(v.toDouble(), 'g', 15) : v.toString(); }

// One terminal of the command: the module's services on the program folder's database.
struct Terminal {
    Database db{ConnectionSettings::fromProgramFolder()};
    Module module;
    Terminal() {
        db.open();
        TdmAcesso::gerarInstance().usarConexao(db);
        TdmAcesso::gerarInstance().setUsuario({0, usuarioDoTerminal(), 0, false});
        TdmConfiguracao::gerarInstance().registrarChaves();
    }
};

int lancar(const CommandLine& cl, QTextStream& out) {
    bool ok = false;
    const int mesa = cl.positional[1].toInt(&ok);
    if (!ok || mesa <= 0)
        Error(QStringLiteral("Informe um número de mesa válida!"));
    int garcon = 0;
    if (cl.values.contains(QStringLiteral("garcom"))) {
        garcon = cl.values.value(QStringLiteral("garcom")).toInt(&ok);
        if (!ok || garcon <= 0)
            Error(QStringLiteral("Código Inválido!"));
    }
    const QList<ItemLancamento> itens = lerArquivoLancamento(cl.positional[2]);

    Terminal terminal;
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    if (garcon > 0 && TdmGarcon::gerarInstance().nomeGarcon(garcon).isEmpty())
        Error(QStringLiteral("Não existe Garçon com este código!"));
    TdmResPedido& pedido = TdmResPedido::gerarInstance();
    pedido.setGarconPredefinido(garcon);
    // The table, its order and the look-ups of every item read in one snapshot,
    // with one commit instead of one per statement.
    Transaction leitura(terminal.db);
    pedido.abrirMesa(mesa);
    RecordSet& cab = pedido.cdsResPedido();
    if (cab.field(QStringLiteral("PED_IMPRESSO")).asString() == QLatin1String("S")) {
        Alerta(QStringLiteral("Aviso: Extrato já impresso!"));
        // Reopening a printed table needs a supervisor, whom a command cannot ask.
        if (cfg.getStr(QStringLiteral("REST.SEN.REA")) == QLatin1String("S"))
            Error(QStringLiteral("Não é possível realizar o Lançamento."));
    }
    const bool escolherGarcon =
        terminal.db.scalar(QStringLiteral("select first 1 PARR_SELECIONAR_GARCON from PAR_RESTAURANTE order by "
                                          "CODPARRESTAURANTE"))
            .toString() == QLatin1String("S");
    RecordSet& rs = pedido.cdsResPedidoItem();
    QList<QPair<int, Currency>> saidas; // stock leaving with each item
    for (const ItemLancamento& item : itens) {
        rs.append();
        rs.field(QStringLiteral("CODPESQUISA")).setValue(item.codPesquisa);
        rs.field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(item.quantidade));
        rs.field(QStringLiteral("PEDI_OBS")).setValue(item.observacao);
        if (garcon > 0)
            rs.field(QStringLiteral("CODGARCON")).setValue(garcon);
        if (escolherGarcon && rs.field(QStringLiteral("CODGARCON")).asInteger() <= 0)
            Error(QStringLiteral("Selecione o garçon"));
        if (rs.field(QStringLiteral("PEDI_TOTAL")).asCurrency() <= Currency())
            Error(QStringLiteral("O Item precisa ter um total maior que \"Zero\""));
        const int produto = int(rs.field(QStringLiteral("CODPRODUTO")).asInteger());
        if (!TdmProduto::gerarInstance().validaEstoque(produto, item.quantidade))
            throw Abort(); // the stock check told why
        rs.post();
        saidas << qMakePair(produto, item.quantidade);
    }
    pedido.ResPedido_CalculaTotal();
    leitura.commit();

    // The tickets describe what this posting saves; they go out once it is stored.
    TdmResPedidoImpressao impressao(terminal.db, cfg, usuarioDoTerminal());
    TicketsLancamento tickets =
        montarTicketsLancamento(impressao, rs, &cab, &pedido.cdsResPedidoItemPerso(), mesa);
    pedido.gravarPedido([&] {
        QStringList estoque;
        const int codpedido = int(cab.field(QStringLiteral("CODPEDIDO")).asInteger());
        for (const auto& [produto, qtde] : saidas)
            estoque << TdmProduto::gerarInstance().sqlMovimentarEstoqueNormal(produto, qtde, 2,
                                                                              QStringLiteral("ResPedido"), codpedido);
        return estoque;
    });
    enviarTicketsLancamento(impressao, tickets);
    pedido.avaliaControle(mesa);
    out << "Pedido: " << cab.field(QStringLiteral("CODPEDIDO")).asInteger() << Qt::endl;
    return 0;
}

int cancelarItem(const CommandLine& cl, QTextStream& out) {
    bool okPedido = false, okItem = false;
    const int codpedido = cl.positional[1].toInt(&okPedido);
    const int coditem = cl.positional[2].toInt(&okItem);
    const auto qtde = lerQuantidade(cl.positional[3]);
    if (!okPedido || !okItem)
        Error(QStringLiteral("Item não localizado para CANCELAR!"));
    if (!qtde || *qtde <= Currency())
        Error(QStringLiteral("Quantidade invalida!"));
    const QString motivo = cl.values.value(QStringLiteral("motivo")).trimmed();

    Terminal terminal;
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    if (cfg.getStr(QStringLiteral("REST.MOT.CAN")) == QLatin1String("S") && motivo.isEmpty())
        Error(QStringLiteral("Você precisa informar o motivo do cancelamento!"));
    TdmResPedido& pedido = TdmResPedido::gerarInstance();
    pedido.CarregarResVenda(codpedido);
    RecordSet& cab = pedido.cdsResPedido();
    if (cab.isEmpty() || cab.field(QStringLiteral("PED_STATUS")).asString() != QLatin1String("ABERTO"))
        Error(QStringLiteral("Mesa não está aberta!"));
    const int mesa = int(cab.field(QStringLiteral("CODCONTROLE")).asInteger());
    const QString estoque = pedido.cancelarItem(coditem, *qtde, motivo);
    TdmResPedidoImpressao impressao(terminal.db, cfg, usuarioDoTerminal());
    TicketsLancamento tickets = montarTicketsLancamento(impressao, pedido.cdsResPedidoItem(), &cab,
                                                        &pedido.cdsResPedidoItemPerso(), mesa);
    pedido.gravarPedido(QStringList{estoque});
    enviarTicketsLancamento(impressao, tickets);
    pedido.avaliaControle(mesa);
    out << "Pedido: " << codpedido << Qt::endl << "Item cancelado: " << coditem << Qt::endl;
    return 0;
}

} // namespace

std::optional<Currency> lerQuantidade(const QString& texto) {
    QString t = texto.trimmed();
    if (t.contains(u',')) { // pt-BR: "1.234,5"
        static const QRegularExpression ptBR(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})*(,\\d+)?$|^-?\\d+(,\\d+)?$"));
        if (!ptBR.match(t).hasMatch())
            return std::nullopt;
        t.remove(u'.').replace(u',', u'.');
    }
    static const QRegularExpression numero(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    if (!numero.match(t).hasMatch())
        return std::nullopt;
    return Currency::parse(t);
}

QList<ItemLancamento> lerArquivoLancamento(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível abrir o arquivo %1: %2").arg(arquivo, f.errorString()));
    QJsonParseError erro;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &erro);
    if (doc.isNull())
        throw DatabaseError(QStringLiteral("Arquivo %1 inválido: %2").arg(arquivo, erro.errorString()));
    const QJsonArray lista = doc.object().value(QStringLiteral("itens")).toArray();
    if (lista.isEmpty())
        throw DatabaseError(QStringLiteral("O arquivo %1 não tem itens (\"itens\": [...]).").arg(arquivo));
    QList<ItemLancamento> itens;
    for (qsizetype n = 0; n < lista.size(); ++n) {
        const QJsonObject o = lista[n].toObject();
        const QString onde = QStringLiteral("%1, item %2: ").arg(arquivo).arg(n + 1);
        ItemLancamento item;
        item.codPesquisa = texto(o.value(QStringLiteral("CODPESQUISA"))).trimmed();
        if (item.codPesquisa.isEmpty() || item.codPesquisa.size() > 20)
            throw DatabaseError(onde + QStringLiteral("informe o CODPESQUISA (até 20 caracteres)."));
        const QJsonValue q = o.value(QStringLiteral("PEDI_QTDE"));
        const auto qtde = q.isUndefined() ? std::optional<Currency>(Currency(1)) : lerQuantidade(texto(q));
        if (!qtde || *qtde <= Currency())
            throw DatabaseError(onde + QStringLiteral("Quantidade invalida!"));
        item.quantidade = *qtde;
        item.observacao = texto(o.value(QStringLiteral("PEDI_OBS")));
        if (item.observacao.size() > 100)
            throw DatabaseError(onde + QStringLiteral("a observação passa de 100 caracteres."));
        itens << item;
    }
    return itens;
}

bool ehComandoRestaurantePedido(const QString& acao) {
    return acao == QLatin1String("lancar") || acao == QLatin1String("cancelar-item");
}

int runRestaurantePedidoCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const CommandLine cl = CommandLine::parse(args, {QStringLiteral("garcom"), QStringLiteral("motivo")});
    const QString acao = cl.positional.value(0);
    const bool lanca = acao == QLatin1String("lancar");
    const bool opcaoAlheia = cl.values.contains(lanca ? QStringLiteral("motivo") : QStringLiteral("garcom"));
    if (!cl.error.isEmpty() || !ehComandoRestaurantePedido(acao) || opcaoAlheia ||
        cl.positional.size() != (lanca ? 3 : 4)) {
        if (!cl.error.isEmpty())
            err << "erro: " << cl.error << Qt::endl;
        err << Uso << Qt::endl;
        return 2;
    }
    StreamUserInterface ui(err);
    try {
        return lanca ? lancar(cl, out) : cancelarItem(cl, out);
    } catch (const Abort&) {
        return 1; // already told through the interface
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace kvo
