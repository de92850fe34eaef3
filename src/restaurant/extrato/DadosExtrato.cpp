// What a bill prints besides its lines: the company, the restaurant
// parameters, the configuration and files, the customer.
#include "restaurant/extrato/RExtrato.h"

#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "restaurant/impressao/DResPedidoImpressao.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace kvo {

namespace {

QString s(const RecordSet& rs, const char* coluna) {
    return const_cast<RecordSet&>(rs).field(QString::fromLatin1(coluna)).asString().trimmed();
}

bool existe(const char* arquivo) { return QFile::exists(QDir(programFolder()).filePath(QString::fromLatin1(arquivo))); }

} // namespace

// Every line of "finalextrato.txt" in the program folder; none without it.
QStringList linhasFinalExtrato() {
    QStringList l;
    QFile f(QDir(programFolder()).filePath(QStringLiteral("finalextrato.txt")));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return l;
    QTextStream in(&f);
    while (!in.atEnd())
        l << in.readLine();
    return l;
}

void TrelExtrato::lerEmpresa(DadosExtrato& d) {
    const Empresa& e = TdmAcesso::gerarInstance().empresa();
    d.fantasia = e.fantasia;
    d.telefone = e.telefone;
    d.cnpj = e.cnpj;
    d.ie = e.ie;
    d.im = e.im;
    d.endereco = e.endereco;
    d.bairro = e.bairro;
    d.cidade = e.cidade;
    d.uf = e.uf;
    auto par = m_db.query(QStringLiteral("select first 1 PARR_IMPRIMIR_IEIM, PARR_SOMENTE_DURACAO, PARR_CODPESQ_VENDA, "
                                         "PARR_VLR_COVERT from PAR_RESTAURANTE order by CODPARRESTAURANTE"));
    if (!par->isEmpty()) {
        d.mostrarInscricao = s(*par, "PARR_IMPRIMIR_IEIM") == QLatin1String("S");
        d.somenteDuracao = s(*par, "PARR_SOMENTE_DURACAO") == QLatin1String("S");
        d.codigoPesquisa = s(*par, "PARR_CODPESQ_VENDA") == QLatin1String("S");
        d.valorCouvert = par->field(QStringLiteral("PARR_VLR_COVERT")).asCurrency();
    }
    d.saldo = ligado("REST.SALDO");
    d.codPedido = ligado("RST.EXT.CODPED");
    d.comprovanteTaxa = ligado("REST.COMP.TX");
    d.corte = ligado("REST.DAR.CORT");
    d.linhasFinais = m_cfg.getInt(QStringLiteral("REST.QTD.LIN"), 0);
    d.produtoEntrega = m_cfg.getStr(QStringLiteral("RES.ENTR.PROD"));
    d.larguraDaruma = m_impressao.largura();
    if (existe("fonte_pequena.ini"))
        d.fonte = QString(QChar(15));
    else if (existe("fonte_pequena2.ini"))
        d.fonte = QString(QChar(18)) + QChar(15);
    d.extensao = existe("descricao_menor.ini") ? 0 : 5;
    d.finalExtrato = linhasFinalExtrato();
}

void TrelExtrato::lerCliente(DadosExtrato& d, const RecordSet& linhas) {
    ClienteExtrato& c = d.cliente;
    const auto pessoa = [&](qint64 codpessoa) {
        auto p = m_db.query(QStringLiteral("select PES_NOME, PES_CELULAR_DDD, PES_CELULAR, PES_PONTO_REFERENCIA from "
                                           "PESSOA where CODPESSOA = :CODPESSOA"),
                            {{QStringLiteral("CODPESSOA"), codpessoa}});
        if (p->isEmpty())
            return;
        c.nome = s(*p, "PES_NOME");
        c.celularDdd = s(*p, "PES_CELULAR_DDD");
        c.celular = s(*p, "PES_CELULAR");
        c.referencia = s(*p, "PES_PONTO_REFERENCIA");
    };
    if (d.entrega || d.balcao) {
        if (linhas.isEmpty())
            return;
        RecordSet& l = const_cast<RecordSet&>(linhas);
        l.first();
        c.contato = s(l, "PEDV_CONTATO");
        if (d.entrega) {
            pessoa(l.field(QStringLiteral("CODPESSOA")).asInteger());
            c.nome = s(l, "PES_NOME");
            c.telefone = s(l, "PES_TELEFONE");
            c.endereco = s(l, "PES_ENDERECO");
            c.numero = s(l, "PES_ENDERECO_NUMERO");
            c.complemento = s(l, "PES_ENDERECO_COMPLEMENTO");
            c.bairro = s(l, "PES_BAIRRO");
            c.cidade = s(l, "PES_CIDADE");
            c.uf = s(l, "PES_UF");
            auto formas = m_db.query(
                QStringLiteral(" SELECT    MOEDA.MOE_DESCRICAO,    SUM(COALESCE(PEDVENDA_FECHAMENTO.PEDF_VLR, 0) +    "
                               "COALESCE(PEDVENDA_FECHAMENTO.PEDF_TROCO, 0)) AS TOTAL,    "
                               "SUM(COALESCE(PEDVENDA_FECHAMENTO.PEDF_TROCO, 0)) AS TROCO  FROM    PEDVENDA_FECHAMENTO    "
                               "INNER JOIN MOEDA ON (PEDVENDA_FECHAMENTO.CODMOEDA = MOEDA.CODMOEDA)  WHERE    "
                               "PEDVENDA_FECHAMENTO.CODPEDVENDA =  ") +
                QString::number(d.pedido) + QStringLiteral(" GROUP BY ") + QStringLiteral("   MOEDA.MOE_DESCRICAO "));
            for (formas->first(); !formas->eof(); formas->next())
                d.formasPagamento << FormaPagamentoExtrato{s(*formas, "MOE_DESCRICAO"),
                                                           formas->field(QStringLiteral("TOTAL")).asCurrency(),
                                                           formas->field(QStringLiteral("TROCO")).asCurrency()};
        }
        return;
    }
    if (d.saldo) {
        auto cartao = m_db.query(QStringLiteral("SELECT CODCONTROLE, CON_SALDO, CON_EAN, CODPESSOA FROM RES_CONTROLE "
                                                "WHERE CODCONTROLE = :CODCONTROLE"),
                                 {{QStringLiteral("CODCONTROLE"), d.mesa}});
        if (cartao->isEmpty())
            return;
        d.cartaoConsumo = true;
        d.cartaoEan = s(*cartao, "CON_EAN");
        d.cartaoSaldo = cartao->field(QStringLiteral("CON_SALDO")).asCurrency();
        pessoa(cartao->field(QStringLiteral("CODPESSOA")).asInteger());
    } else if (d.mesa >= 1000) {
        d.clienteMesa = true;
        pessoa(m_db.scalar(QStringLiteral("select codpessoa from res_pedido where res_pedido.codpedido = ") +
                           QString::number(d.pedido))
                   .toLongLong());
    }
}

} // namespace kvo
