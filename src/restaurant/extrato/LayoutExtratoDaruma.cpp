#include "restaurant/extrato/LayoutExtrato.h"

#include "core/Format.h"
#include "core/Text.h"
#include "restaurant/impressao/ConferenciaMesa.h"
#include "restaurant/impressao/DResPedidoImpressao.h"

namespace kvo {

namespace {

QString L(const QString& t, int n) { return PadR(t, n); }
QString R(const QString& t, int n) { return PadL(t, n); }
QString valor(Currency v) { return formatFloat(u"###,##0.00", v); }
QString dataHora(const QDateTime& d) { return formatDateTime(u"dd/mm/yyyy hh:nn:ss", d); }

} // namespace

QString creditoExtrato() { return QStringLiteral("KVO Gestao - Automacao Comercial"); }

QStringList montarExtratoDaruma(const DadosExtrato& d, const TdmResPedidoImpressao& p) {
    const int W = d.larguraDaruma;
    const QString traco(W, u'-'), igual(W, u'=');
    const AjustesExtrato& a = d.ajustes;
    const TotaisExtrato t = calcularTotais(d);
    const auto destaque = [&](const QString& texto) -> QString {
        return p.getAlinhamentoCentro() + p.getLigaAlturaDupla() + p.getLigaNegrito() + texto + p.getDesligaNegrito() +
               p.getDesligaAlturaDupla() + p.getAlinhamentoEsquerda();
    };
    const auto negrito = [&](const QString& texto) -> QString { return p.getLigaNegrito() + texto + p.getDesligaNegrito(); };
    QStringList l;

    l << TdmResPedidoImpressao::getReset();
    if (d.impresso)
        l << destaque(QStringLiteral("*** REIMPRESSAO ***"));
    if (d.cancelado)
        l << destaque(QStringLiteral("*** MESA ESTÁ CANCELADA ***"));
    l << L(d.fantasia, W) << L(QStringLiteral("TEL: ") + d.telefone + QStringLiteral(" CNPJ: ") + d.cnpj, W);
    if (d.mostrarInscricao)
        l << L(QStringLiteral("INS.EST: ") + d.ie, W) << L(QStringLiteral("INS.MUN: ") + d.im, W);
    if (!d.endereco.isEmpty())
        l << L(d.endereco, W) << L(d.bairro + QStringLiteral(" - ") + d.cidade + u'/' + d.uf, W);
    l << traco
      << p.getAlinhamentoCentro() + negrito(QStringLiteral("*** NAO E DOCUMENTO FISCAL ***")) +
             p.getAlinhamentoEsquerda()
      << traco;

    const ClienteExtrato& c = d.cliente;
    clienteDaMesa(l, d, igual);
    if (d.entrega) {
        l << QStringLiteral("DATA/HORA........: ") + dataHora(d.agora)
          << QStringLiteral("ENTREGA NR.......: ") + QString::number(d.pedido) << QStringLiteral("NOME: ") + c.nome
          << QStringLiteral("TELEFONE: ") + c.telefone;
        const QString rotulo = QStringLiteral("ENDERECO: ");
        const QStringList rua = quebrar(c.endereco, W - int(rotulo.size()), W); // a long street goes on, whole
        l << rotulo + rua[0] << rua.mid(1);
        l << QStringLiteral("NUMERO: ") + c.numero;
        if (!c.complemento.isEmpty())
            l << c.complemento;
        l << c.bairro + QStringLiteral(" - ") + c.cidade + u'/' + c.uf << traco;
    } else if (d.balcao) {
        l << QStringLiteral("DATA/HORA........: ") + dataHora(d.agora)
          << QStringLiteral("NOME.............: ") + c.contato
          << QStringLiteral("BALCAO...........: ") + formatFloat(u"000", qint64(d.numeroBalcao)) << traco;
    } else {
        if (!d.saldo) {
            l << traco << p.getLigaExpandido() + QStringLiteral("MESA : ") + QString::number(d.mesa) + p.getDesligaExpandido()
              << traco;
            if (d.codPedido)
                l << QStringLiteral("COD.REST.PED.....: ") + QString::number(d.pedido);
        }
        const QString duracao = p.getLigaAlturaDupla() + p.getLigaNegrito() + QStringLiteral("TEMPO NA MESA....: ") +
                                duracaoNaMesa(d.abertura, d.agora) + p.getDesligaNegrito() + p.getDesligaAlturaDupla();
        if (!d.somenteDuracao)
            l << QStringLiteral("DATA INICIAL.....: ") + dataHora(d.abertura)
              << QStringLiteral("DATA FECHAMENTO..: ") + dataHora(d.agora);
        l << duracao << traco;
        for (qsizetype i = 0; i < d.garcons.size(); ++i)
            l << (i == 0 ? QStringLiteral("GARCON..: ") : QString(10, u' ')) + d.garcons[i];
    }

    l << traco << negrito(QStringLiteral("COD.  ") + QStringLiteral("      ") +
                          QStringLiteral("DESCRICAO          QTD X PRÇ.UNT     TOTAL"))
      << traco;
    for (const LinhaExtrato& i : d.linhas) {
        const QString cod = d.codigoPesquisa ? L(i.codPesquisa, 5) : R(QString::number(i.codProduto), 5).replace(u' ', u'0');
        l << cod + u' ' + L(i.descricao, 22) + u' ' + R(quantidadeExtrato(i.qtde), 9) + u' ' + R(valor(i.total), 9);
        if (!i.obs.isEmpty()) {
            QStringList obs = quebrar(RemoverAcentos(i.obs), 48, 48);
            if (obs.size() == 1)
                obs << QString();
            l << QStringLiteral("Obs......: ") + obs[0] << obs.mid(1);
        }
    }

    const auto resumo = [&](const QString& rotulo, Currency v) -> QString { return L(rotulo, 32) + R(valor(v), 10); };
    l << traco << resumo(QStringLiteral("SUBTOTAL"), t.consumo);
    if (d.entrega)
        l << resumo(QStringLiteral("(+) TAXA ENTREGA"), t.servico);
    else if (!d.comprovanteTaxa)
        l << resumo(QStringLiteral("(+) SERVICO (OPCIONAL)"), t.servico);
    if (t.couvert > Currency())
        l << resumo(QStringLiteral("(+) COUVERT"), t.couvert);
    if (a.desconto > Currency())
        l << resumo(QStringLiteral("(-) DESCONTO"), a.desconto);
    if (a.pago > Currency())
        l << resumo(QStringLiteral("(-) VALOR PAGO"), a.pago);
    l << traco
      << p.getLigaExpandido() + negrito(resumo(QStringLiteral("TOTAL"), t.total)) + p.getDesligaExpandido();
    if (!d.entrega && a.pessoas > 0)
        l << negrito(resumo(QStringLiteral("TOTAL POR PESSOA (") + QString::number(a.pessoas) + u')', t.porPessoa));
    l << igual;

    if (!d.entrega && a.couverts > 0 && d.valorCouvert > Currency())
        l << QStringLiteral("* COBRADO ") + QString::number(a.couverts) + QStringLiteral(" COUVERT NO VALOR: ") +
                 valor(d.valorCouvert) + QStringLiteral(" CADA");
    l << QString() << PadC(creditoExtrato(), W) << QString() << QString() << d.finalExtrato;
    if (d.corte)
        l << p.getCorteTotal();
    if (d.comprovanteTaxa && !d.entrega && !d.balcao) {
        l << QString() << traco << QStringLiteral("Mesa NR............: ") + R(QString::number(d.mesa), 19)
          << QStringLiteral("Data/Hora Impressao: ") + R(dataHora(d.agora), 19) << QString();
        for (qsizetype i = 0; i < d.garcons.size(); ++i)
            l << (i == 0 ? QStringLiteral("GARCON..: ") : QString(10, u' ')) + d.garcons[i];
        l << QString() << QString() << QStringLiteral("VALOR DO SERVICO...: ") + R(valor(t.servico), 19) << traco;
    }
    for (int i = 0; i < d.linhasFinais + 1; ++i)
        l << QString();
    return l;
}

} // namespace kvo
