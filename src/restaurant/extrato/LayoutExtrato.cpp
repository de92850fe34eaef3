#include "restaurant/extrato/LayoutExtrato.h"

#include "core/Format.h"
#include "core/Text.h"
#include "restaurant/impressao/ConferenciaMesa.h"

namespace kvo {

namespace {

QString L(const QString& t, int n) { return PadR(t, n); }
QString R(const QString& t, int n) { return PadL(t, n); }
QString valor(Currency v) { return formatFloat(u"###,##0.00", v); }
QString dataHora(const QDateTime& d) { return formatDateTime(u"dd/mm/yyyy hh:nn:ss", d); }
const QString Brancos5(5, u' ');

} // namespace

TotaisExtrato calcularTotais(const DadosExtrato& d) {
    TotaisExtrato t;
    for (const LinhaExtrato& l : d.linhas) {
        t.consumo += l.total;
        if (!d.produtoEntrega.trimmed().isEmpty() && QString::number(l.codProduto) == d.produtoEntrega.trimmed())
            t.taxaEntregaProdutos += l.total;
    }
    const AjustesExtrato& a = d.ajustes;
    if (d.entrega)
        t.servico = a.servico; // the delivery fee itself
    else
        t.servico = ((t.consumo - t.taxaEntregaProdutos) * a.servico / Currency(100)).roundUp2();
    if (a.couverts > 0 && d.valorCouvert > Currency())
        t.couvert = d.valorCouvert * Currency(a.couverts);
    if (d.entrega || !d.comprovanteTaxa)
        t.total = t.consumo + t.servico - a.desconto - a.pago + t.couvert;
    else
        t.total = t.consumo - a.desconto - a.pago + t.couvert;
    if (a.pessoas > 0)
        t.porPessoa = t.total / Currency(a.pessoas);
    return t;
}

QString quantidadeExtrato(Currency qtde) {
    QString q = formatFloat(u"###,##0.000", qtde);
    if (q.endsWith(QLatin1String(",000")))
        q.chop(4);
    return q;
}

QString getQtdeVlrTotal(Currency qtde, Currency vlrUnit, Currency total) {
    const QString qxp = quantidadeExtrato(qtde) + QStringLiteral(" x ") + valor(vlrUnit);
    const QString tot = valor(total);
    if (qxp.size() <= 11 && tot.size() <= 9)
        return R(qxp, 11) + R(tot, 9);
    // Cutting would print a wrong quantity or price: a longer "0,500 x 3,50"
    // takes room from the total while both fit in the 20 columns, else the
    // price goes.
    if (qxp.size() + tot.size() < 20)
        return qxp + R(tot, 20 - int(qxp.size()));
    const int largura = qMax(10, int(tot.size()));
    return R(quantidadeExtrato(qtde), 20 - largura) + R(tot, largura);
}

QStringList quebrar(const QString& texto, int primeira, int largura) {
    QStringList l{texto.left(primeira)};
    for (qsizetype i = primeira; i < texto.size(); i += largura)
        l << texto.mid(i, largura);
    return l;
}

void clienteDaMesa(QStringList& l, const DadosExtrato& d, const QString& igual) {
    const ClienteExtrato& c = d.cliente;
    const QString celular = QStringLiteral("(") + c.celularDdd + QStringLiteral(") ") + c.celular;
    if (!d.entrega && !d.balcao && d.clienteMesa) {
        l << igual << QStringLiteral("Celular: ") + L(celular, 30) << QStringLiteral("Nome: ") + L(c.nome, 34);
    } else if (!d.entrega && !d.balcao && d.cartaoConsumo) {
        l << igual << QStringLiteral("Cartão de Consumo: ") + L(d.cartaoEan, 34)
          << QStringLiteral("SALDO ATUAL: ") + valor(d.cartaoSaldo) << QStringLiteral("Nome: ") + L(c.nome, 34)
          << QStringLiteral("Celular: ") + L(celular, 30);
    }
}

QStringList montarExtratoGenerico(const DadosExtrato& d) {
    const int E = d.extensao;
    const QString traco = QString(40 + E, u'-'), igual = QString(40 + E, u'=');
    const AjustesExtrato& a = d.ajustes;
    const TotaisExtrato t = calcularTotais(d);
    QStringList l;

    // header
    l << d.fonte;
    if (d.impresso)
        l << QStringLiteral("*** REIMPRESSAO ***");
    if (d.cancelado)
        l << QStringLiteral("*** MESA ESTÁ CANCELADA ***");
    l << L(d.fantasia, 40) << L(QStringLiteral("TEL: ") + d.telefone + QStringLiteral(" CNPJ: ") + d.cnpj, 40);
    if (d.mostrarInscricao)
        l << L(QStringLiteral("INS.EST: ") + d.ie, 40) << L(QStringLiteral("INS.MUN: ") + d.im, 40);
    if (!d.endereco.isEmpty())
        l << L(d.endereco, 40) << L(d.bairro + QStringLiteral(" - ") + d.cidade + u'/' + d.uf, 40);

    // customer
    const ClienteExtrato& c = d.cliente;
    clienteDaMesa(l, d, igual);
    if (d.entrega) {
        l << igual << QStringLiteral("Entrega Nr.: ") + QString::number(d.pedido)
          << QStringLiteral("Data/Hora: ") + dataHora(d.agora) << igual;
        l << QStringLiteral("Telefone: ") + L(c.telefone, 30) << QStringLiteral("Nome: ") + L(c.nome, 34);
        // A long street or reference point goes on whole, never cut.
        const QStringList rua = quebrar(c.endereco, 34, 40);
        l << QStringLiteral("End.: ") + L(rua[0], 34);
        for (qsizetype i = 1; i < rua.size(); ++i)
            l << L(rua[i], 40);
        l << QStringLiteral("Número: ") + L(c.numero, 32);
        if (!c.complemento.isEmpty())
            l << QStringLiteral("Complem.: ") + L(c.complemento, 30);
        l << L(c.bairro + QStringLiteral(" - ") + c.cidade + u'/' + c.uf, 40);
        if (!c.referencia.trimmed().isEmpty()) {
            const QStringList ref = quebrar(c.referencia, 30, 40);
            l << QStringLiteral("Referên.: ") + L(ref[0], 30);
            for (qsizetype i = 1; i < ref.size(); ++i)
                l << L(ref[i], 40);
        }
        l << traco;
    } else if (d.balcao) {
        l << traco << QStringLiteral("DATA/HORA........: ") + dataHora(d.agora)
          << QStringLiteral("NOME.............: ") + c.contato
          << QStringLiteral("BALCAO...........: ") + formatFloat(u"000", qint64(d.numeroBalcao));
    } else {
        // the table
        if (!d.saldo) {
            l << traco << QStringLiteral("MESA NR..........: ") + QString::number(d.mesa);
            if (d.codPedido)
                l << QStringLiteral("COD.REST.PED.....: ") + QString::number(d.pedido);
        }
        const QString duracao = QStringLiteral("DURACAO NA MESA..: ") + duracaoNaMesa(d.abertura, d.agora);
        if (d.somenteDuracao)
            l << duracao;
        else
            l << traco << QStringLiteral("DATA INICIAL.....: ") + dataHora(d.abertura)
              << QStringLiteral("DATA FECHAMENTO..: ") + dataHora(d.agora) << duracao;
        l << igual;
        for (const QString& g : d.garcons)
            l << QStringLiteral("GARCON..: ") + g;
    }

    // items
    l << traco << QStringLiteral("COD.  DESCRICAO   QTD X PRÇ.UNT    TOTAL") << traco;
    for (const LinhaExtrato& i : d.linhas) {
        const QString cod = d.codigoPesquisa ? L(i.codPesquisa, 5) : R(QString::number(i.codProduto), 5).replace(u' ', u'0');
        l << cod + u' ' + L(i.descricao, 14 + E) + getQtdeVlrTotal(i.qtde, i.vlrUnit, i.total);
        if (!i.obs.isEmpty()) {
            // The whole note, 48 characters a line; always a second line.
            QStringList obs = quebrar(RemoverAcentos(i.obs), 48, 48);
            if (obs.size() == 1)
                obs << QString();
            l << QStringLiteral("Obs......: ") + obs[0];
            for (qsizetype n = 1; n < obs.size(); ++n)
                l << obs[n];
        }
    }

    // totals
    const auto resumo = [&](const QString& rotulo, Currency v) -> QString {
        return L(rotulo, 20 + E) + Brancos5 + Brancos5 + R(valor(v), 10);
    };
    l << traco;
    l << L(d.entrega ? QStringLiteral("PRODUTOS") : QStringLiteral("TOTAL CONSUMO"), 15 + E) + Brancos5 +
             R(valor(t.consumo), 20);
    if (d.entrega)
        l << L(QStringLiteral("(+) TAXA ENTREGA"), 31 + E) + R(valor(t.servico), 9);
    else if (!d.comprovanteTaxa)
        l << L(QStringLiteral("(+) SERVICO (OPCIONAL)"), 31 + E) + R(valor(t.servico), 9);
    if (t.couvert > Currency())
        l << resumo(QStringLiteral("(+) COUVERT "), t.couvert) << QString();
    if (a.desconto > Currency())
        l << resumo(QStringLiteral("(-) DESCONTO"), a.desconto);
    if (a.pago > Currency())
        l << resumo(QStringLiteral("(-) VALOR PAGO"), a.pago);
    l << resumo(QStringLiteral("TOTAL A PAGAR"), t.total);

    if (!d.entrega) {
        l << igual;
    } else if (d.formasPagamento.isEmpty()) {
        l << QString(20 + E + 10, u' ') + QString(10, u'-') << QString();
    } else {
        for (const FormaPagamentoExtrato& f : d.formasPagamento) {
            l << resumo(f.descricao, f.total);
            if (f.troco > Currency())
                l << resumo(QStringLiteral("** TROCO"), f.troco);
        }
    }
    if (!d.entrega && a.pessoas > 0) {
        l << L(QStringLiteral("TOTAL POR PESSOA (") + QString::number(a.pessoas) + u')', 21 + E) + Brancos5 +
                 QString(4, u' ') + R(valor(t.porPessoa), 10);
        if (a.couverts > 0 && d.valorCouvert > Currency())
            l << QStringLiteral("* COBRADO ") + QString::number(a.couverts) + QStringLiteral(" COUVERT NO VALOR: ") +
                     valor(d.valorCouvert) + QStringLiteral(" CADA");
    }

    l << QString() << d.finalExtrato;
    if (d.comprovanteTaxa && !d.entrega && !d.balcao) {
        l << QString() << QString(40, u'-') << QStringLiteral("Mesa NR............: ") + R(QString::number(d.mesa), 19)
          << QStringLiteral("Data/Hora Impressao: ") + R(dataHora(d.agora), 19) << QString();
        for (const QString& g : d.garcons)
            l << QStringLiteral("GARCON..: ") + g;
        l << QString() << QString() << QStringLiteral("VALOR DO SERVICO...: ") + R(valor(t.servico), 19)
          << QString(40, u'-');
    }
    for (int i = 0; i < d.linhasFinais + 1; ++i)
        l << QString();
    return l;
}

} // namespace kvo
