#include "restaurant/impressao/ConferenciaMesa.h"

#include "core/Clock.h"
#include "core/Currency.h"
#include "core/Format.h"
#include "core/Text.h"
#include "devices/Digest.h"
#include "devices/FiscalPrinter.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "registers/Kvolibgeral.h"

namespace kvo {

namespace {

constexpr int Largura = 48;

const QString SqlMovimento = QStringLiteral(
    " SELECT    RES_PEDIDO.CODCONTROLE, RES_PEDIDO.PED_DESC_VLR, RES_PEDIDO.PED_ACRESCIMO,    "
    "RES_PEDIDO.PED_QTDE_COVERT,  RES_PEDIDO.PED_QTDE_PESSOA, RES_PEDIDO.PED_DATA,    RES_PEDIDO.CODPEDIDO, "
    "RES_PEDIDO.PED_STATUS, PRODUTO.PRO_DESCRICAO,    RES_PEDIDO_ITEM.CODCONTROLE_ORIGEM, RES_PEDIDO_ITEM.PEDI_STATUS, "
    "RES_PEDIDO_ITEM.PEDI_VLRUNIT,    SUM(COALESCE(RES_PEDIDO_ITEM.PEDI_QTDE, 0)) AS PEDI_QTDE,    "
    "SUM(COALESCE(RES_PEDIDO_ITEM.PEDI_TOTAL, 0)) AS PEDI_TOTAL,    RES_PEDIDO_ITEM.CODPRODUTO  FROM    RES_PEDIDO    "
    "INNER JOIN RES_PEDIDO_ITEM ON (RES_PEDIDO.CODPEDIDO = RES_PEDIDO_ITEM.CODPEDIDO)    INNER JOIN PRODUTO ON "
    "(RES_PEDIDO_ITEM.CODPRODUTO = PRODUTO.CODPRODUTO)  WHERE (RES_PEDIDO.CODCONTROLE = :MESA)    AND "
    "(RES_PEDIDO.PED_STATUS = 'ABERTO')    AND COALESCE(RES_PEDIDO_ITEM.PEDI_TOTAL, 0) > 0  GROUP BY "
    "RES_PEDIDO.CODCONTROLE, RES_PEDIDO.PED_DESC_VLR, RES_PEDIDO.PED_ACRESCIMO, RES_PEDIDO.PED_QTDE_COVERT, "
    "RES_PEDIDO.PED_QTDE_PESSOA, RES_PEDIDO.PED_DATA, RES_PEDIDO.CODPEDIDO, RES_PEDIDO.PED_STATUS, "
    "PRODUTO.PRO_DESCRICAO, RES_PEDIDO_ITEM.CODCONTROLE_ORIGEM, RES_PEDIDO_ITEM.PEDI_STATUS, "
    "RES_PEDIDO_ITEM.PEDI_VLRUNIT, RES_PEDIDO_ITEM.CODPRODUTO  ORDER BY    RES_PEDIDO.CODCONTROLE,   "
    "PRODUTO.PRO_DESCRICAO ");

const QString SqlGarcons = QStringLiteral(
    "SELECT DISTINCT\r\n  RES_GARCON.GAR_NOME\r\nFROM\r\n  RES_PEDIDO_ITEM\r\n  INNER JOIN RES_PEDIDO ON "
    "(RES_PEDIDO_ITEM.CODPEDIDO = RES_PEDIDO.CODPEDIDO)\r\n  INNER JOIN RES_GARCON ON (RES_GARCON.CODGARCON = "
    "RES_PEDIDO_ITEM.CODGARCON)\r\nWHERE\r\n  (RES_PEDIDO_ITEM.PEDI_STATUS = 'NORMAL') AND\r\n  "
    "(RES_PEDIDO.CODPEDIDO = :CODPEDIDO)");

QString valor(Currency v) { return PadL(formatFloat(u"###,##0.00", v), 10); }
QString resumo(const QString& rotulo, Currency v) { return PadR(rotulo, 20) + QString(5, u' ') + valor(v); }

// Time at the table, modulo a day as a clock shows it.

struct ParametrosConferencia {
    bool somenteDuracao = false;
    Currency vlrCouvert;
};

ParametrosConferencia parametros(Database& db) {
    ParametrosConferencia p;
    auto rs = db.query(QStringLiteral("SELECT PARR_SOMENTE_DURACAO, PARR_VLR_COVERT FROM PAR_RESTAURANTE"));
    if (!rs->isEmpty()) {
        p.somenteDuracao = rs->field(QStringLiteral("PARR_SOMENTE_DURACAO")).asString() == u"S";
        p.vlrCouvert = rs->field(QStringLiteral("PARR_VLR_COVERT")).asCurrency();
    }
    return p;
}

// Resets the printer's tag whatever happens while the report prints.
struct TagGuard {
    FiscalPrinter& ecf;
    TagGuard(FiscalPrinter& e, qint64 tag) : ecf(e) { ecf.setTag(tag); }
    ~TagGuard() { ecf.setTag(0); }
};

} // namespace

ConferenciaNaoGravada::ConferenciaNaoGravada(const QString& message, int coo)
    : std::runtime_error(message.toStdString()), m_coo(coo) {}

QStringList textoConferenciaMesa(Database& db, int mesa, const QDateTime& agora, qint64* codPedido) {
    const SqlParams pMesa{{QStringLiteral("MESA"), mesa}};
    auto controle = db.query(QStringLiteral("SELECT * FROM RES_CONTROLE WHERE RES_CONTROLE.CON_STATUS <> 'CANCELADO' "
                                            "and RES_CONTROLE.CODCONTROLE = :MESA"),
                             pMesa);
    if (controle->isEmpty())
        Error(QStringLiteral("Controle não encontrado! (Controle=") + QString::number(mesa) + QStringLiteral(")"));
    auto mov = db.query(SqlMovimento, pMesa);
    if (mov->isEmpty())
        Error(QStringLiteral("Nenhuma movimentação nesse intervalo!"));

    mov->first();
    const auto f = [&](const char* nome) -> Field& { return mov->field(QString::fromLatin1(nome)); };
    const qint64 pedido = f("CODPEDIDO").asInteger();
    if (codPedido)
        *codPedido = pedido;
    const QDateTime abertura = f("PED_DATA").asDateTime();
    const Currency acrescimo = f("PED_ACRESCIMO").asCurrency(), desconto = f("PED_DESC_VLR").asCurrency();
    const qint64 couverts = f("PED_QTDE_COVERT").asInteger(), pessoas = f("PED_QTDE_PESSOA").asInteger();
    const ParametrosConferencia par = parametros(db);
    const QString traco(Largura, u'-');

    QStringList l;
    l << QString() << PadC(QStringLiteral("CONFERENCIA DE MESA"), Largura)
      << PadC(QStringLiteral("AGUARDE A IMPRESSAO DO CUPOM FISCAL"), Largura) << QString();
    l << QStringLiteral("Mesa: ") + formatFloat(u"0000", qint64(mesa)) + QStringLiteral(" - Abertura: ") +
             formatDateTime(u"dd/mm/yyyy hh:nn:ss", abertura);
    l << QString();
    if (!par.somenteDuracao) {
        l << QStringLiteral("DATA INICIAL.....: ") + formatDateTime(u"dd/mm/yyyy hh:nn:ss", abertura);
        l << QStringLiteral("DATA FECHAMENTO..: ") + formatDateTime(u"dd/mm/yyyy hh:nn:ss", agora);
    }
    l << QStringLiteral("DURACAO NA MESA..: ") + duracaoNaMesa(abertura, agora);
    l << QString();

    auto garcons = db.query(SqlGarcons, {{QStringLiteral("CODPEDIDO"), pedido}});
    for (garcons->first(); !garcons->eof(); garcons->next())
        l << QStringLiteral("GARCON..: ") + garcons->field(QStringLiteral("GAR_NOME")).asString().trimmed();

    l << QStringLiteral("Mesa Produto            Qtde  Vlr.Unit     Total") << traco;
    Currency somaQtde, somaTotal;
    for (mov->first(); !mov->eof(); mov->next()) {
        const Currency qtde = f("PEDI_QTDE").asCurrency(), total = f("PEDI_TOTAL").asCurrency();
        l << PadL(formatFloat(u"0000", f("CODCONTROLE").asInteger()), 4) + u' ' +
                 PadR(f("PRO_DESCRICAO").asString(), 14) + u' ' + formatN(u"%8.3n", qtde) + u' ' +
                 formatN(u"%9.2n", f("PEDI_VLRUNIT").asCurrency()) + u' ' + formatN(u"%9.2n", total);
        const bool cancelado = f("PEDI_STATUS").asString() == u"CANCELADO";
        if (cancelado)
            l << QStringLiteral("Item acima CANCELADO");
        if (const qint64 origem = f("CODCONTROLE_ORIGEM").asInteger(); origem > 0)
            l << QStringLiteral("Item acima Transferido da Mesa: ") + formatFloat(u"000", origem);
        if (!cancelado) {
            somaQtde += qtde;
            somaTotal += total;
        }
    }
    l << traco;
    l << PadL(QStringLiteral("Sub-Total =>"), 19) + u' ' + formatN(u"%8.2n", somaQtde) + u' ' + QString(9, u' ') +
             u' ' + formatN(u"%9.2n", somaTotal);
    l << traco;

    Currency servico, couvert;
    if (acrescimo > Currency()) {
        servico = (somaTotal * acrescimo / Currency(100)).roundUp2();
        l << resumo(QStringLiteral("      (+) SERVICO"), servico);
    }
    if (couverts > 0 && par.vlrCouvert > Currency()) {
        couvert = Currency(static_cast<long long>(couverts)) * par.vlrCouvert;
        l << resumo(QStringLiteral("      (+) COUVERT "), couvert);
    }
    if (desconto > Currency())
        l << resumo(QStringLiteral("      (-) DESCONTO"), desconto);
    const Currency aPagar = somaTotal + servico + couvert - desconto;
    l << resumo(QStringLiteral("==> TOTAL A PAGAR"), aPagar);
    if (pessoas > 1)
        // Padded, never cut: the count of persons must stay readable.
        l << QString(QStringLiteral("==> TOTAL POR PESSOA (") + QString::number(pessoas) + u')').leftJustified(21) +
                 QString(4, u' ') +
                 valor(aPagar / Currency(static_cast<long long>(pessoas)));
    l << traco << QString() << PadC(QStringLiteral("KVO Gestao - Automacao Comercial"), Largura);
    return l;
}

ConferenciaResultado ConferenciaMesa(Database& db, TdmConfiguracao& cfg, int mesa, Digest& ead, FiscalPrinter& ecf) {
    const QDateTime agora = Clock::now();
    ConferenciaResultado r;
    r.linhas = textoConferenciaMesa(db, mesa, agora, &r.codPedido);

    QString id = cfg.getStr(QStringLiteral("ECF.ID.CONF")).trimmed();
    if (id.isEmpty())
        id = QStringLiteral("01");
    try {
        ecf.CarregaRelatoriosGerenciais();
        const auto tipo = ecf.AchaRGIndice(id);
        r.cer = tipo ? tipo->contador : 0;
    } catch (const FiscalPrinterError&) {
        r.cer = 0; // the counter is informative; the report itself decides
    }
    try {
        TagGuard tag(ecf, r.codPedido);
        ecf.RelatorioGerencial(r.linhas, 1, id.toInt());
    } catch (const FiscalPrinterError& e) {
        Error(e.message());
    }

    // From here the report is on paper: a failure must not be silent.
    const auto naoGravada = [&](const QString& motivo) {
        throw ConferenciaNaoGravada(QStringLiteral("A conferência da mesa %1 foi impressa (COO %2), mas não foi "
                                                   "possível gravá-la no pedido %3: %4")
                                        .arg(mesa)
                                        .arg(r.coo)
                                        .arg(r.codPedido)
                                        .arg(motivo),
                                    r.coo);
    };
    try {
        r.coo = ecf.NumCupom().trimmed().toInt();
        r.numEcf = ecf.NumECF().trimmed().toInt();
    } catch (const FiscalPrinterError& e) {
        naoGravada(e.message());
    }
    try {
        auto pedido = openEditable(db, QStringLiteral("select * from RES_PEDIDO where CODPEDIDO = :CODPEDIDO"),
                                   {{QStringLiteral("CODPEDIDO"), r.codPedido}}, QStringLiteral("RES_PEDIDO"),
                                   QStringLiteral("CODPEDIDO"));
        if (pedido->isEmpty())
            naoGravada(QStringLiteral("pedido não encontrado"));
        pedido->edit();
        pedido->field(QStringLiteral("PED_COO")).setValue(r.coo);
        pedido->field(QStringLiteral("PED_NUMECF")).setValue(r.numEcf);
        pedido->field(QStringLiteral("PED_CER")).setValue(r.cer);
        r.md5 = ead.MD5FromString(RegistroTextoDataSet(*pedido));
        pedido->field(QStringLiteral("PED_MD5")).setValue(r.md5);
        pedido->field(QStringLiteral("PED_IMPRESSO")).setValue(QStringLiteral("S"));
        pedido->field(QStringLiteral("PED_DATA_FINAL")).setValue(agora);
        pedido->post();
        pedido->applyUpdates(0); // one transaction
    } catch (const DatabaseError& e) {
        naoGravada(e.message());
    }
    return r;
}

QString duracaoNaMesa(const QDateTime& inicio, const QDateTime& agora) {
    qint64 s = inicio.secsTo(agora) % 86400; // a clock's reading of the time at the table
    if (s < 0)
        s += 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace kvo
