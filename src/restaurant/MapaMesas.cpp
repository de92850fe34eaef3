#include "restaurant/MapaMesas.h"

#include "core/Format.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"

#include <QRegularExpression>

namespace kvo {

namespace {
const QString kEmUso = QStringLiteral("EM USO");
const QString kFonte = QStringLiteral(" FROM STP_RES_MENU_RESTAURANTE_TELA");

// The legend conditions, one per state, in kEstadosMesa order. The idle and
// the serving ones both take the boundary, as the screen always counted.
const char* const kCondicaoLegenda[] = {
    "NOT(CON_STATUS = 'EM USO')",
    "(CON_STATUS = 'EM USO') AND (COALESCE(PED_IMPRESSO, 'N') = 'S')",
    "(CON_STATUS = 'EM USO') AND (COALESCE(PED_IMPRESSO, 'N') = 'N') AND (DATAATUAL - DT_ULT_MOV) >= 0.0204",
    "(CON_STATUS = 'EM USO') AND (COALESCE(PED_IMPRESSO, 'N') = 'N') AND (DATAATUAL - DT_ULT_MOV) <= 0.0204",
};
} // namespace

QString nomeEstadoMesa(EstadoMesa estado) {
    switch (estado) {
    case EstadoMesa::Livre: return QStringLiteral("Livre");
    case EstadoMesa::Extrato: return QStringLiteral("Extrato");
    case EstadoMesa::Parada: return QStringLiteral("Parada");
    case EstadoMesa::Atendimento: return QStringLiteral("Atendimento");
    }
    return {};
}

EstadoMesa estadoMesa(const QString& conStatus, const QString& impresso, const QDateTime& ultimoMovimento,
                      const QDateTime& agora) {
    if (conStatus != kEmUso)
        return EstadoMesa::Livre;
    if (impresso == QLatin1String("S"))
        return EstadoMesa::Extrato;
    // Without a last movement the table counts as being served, as the
    // database's comparison with null counts it in neither legend.
    if (ultimoMovimento.isValid() && agora.isValid() && ultimoMovimento.msecsTo(agora) >= kParadaMs)
        return EstadoMesa::Parada;
    return EstadoMesa::Atendimento;
}

int MapaMesas::quantasCabem(int espaco, int celula) {
    if (celula <= 0)
        return 1;
    return std::max(1, espaco / celula);
}

void MapaMesas::setGrade(int colunas, int linhas) {
    m_colunas = std::max(1, colunas);
    m_linhas = std::max(1, linhas);
}

void MapaMesas::verificar(int passo) {
    Transaction leitura(m_db); // the page, its count and the legends from one snapshot
    // The count and the four legend conditions in one pass over the tables
    // (the procedure runs twice per refresh instead of six times).
    QString contagens = QStringLiteral("SELECT COUNT(*) AS QTDE");
    for (const char* condicao : kCondicaoLegenda)
        contagens += QStringLiteral(", SUM(IIF(") + QString::fromLatin1(condicao) + QStringLiteral(", 1, 0))");
    const auto totais = m_db.query(contagens + kFonte);
    for (size_t i = 0; i < kEstadosMesa.size(); ++i)
        m_contagem[i] = int(totais->field(int(i) + 1).asInteger());
    if (passo == kRecontar) {
        m_tamanho = m_colunas * m_linhas;
        m_pagina = 0;
        const int total = int(totais->field(0).asInteger());
        m_paginas = (total + m_tamanho - 1) / m_tamanho;
    } else {
        m_pagina = std::clamp(m_pagina + passo, 0, std::max(0, m_paginas - 1));
    }
    const auto rs = m_db.query(QStringLiteral("Select first ") + QString::number(m_tamanho) + QStringLiteral(" SKIP ") +
                               QString::number(m_pagina * m_tamanho) +
                               QStringLiteral(" CODCONTROLE, CON_STATUS, PED_IMPRESSO, "
                                              " DT_ULT_MOV, DATAATUAL, CODPEDIDO, "
                                              " (DATAATUAL - DT_ULT_MOV) AS TEMPO ") +
                               kFonte);
    m_celulas.clear();
    const Field& controle = rs->field(QStringLiteral("CODCONTROLE"));
    const Field& status = rs->field(QStringLiteral("CON_STATUS"));
    const Field& impresso = rs->field(QStringLiteral("PED_IMPRESSO"));
    const Field& ultimo = rs->field(QStringLiteral("DT_ULT_MOV"));
    const Field& agora = rs->field(QStringLiteral("DATAATUAL"));
    const Field& pedido = rs->field(QStringLiteral("CODPEDIDO"));
    for (rs->first(); !rs->eof(); rs->next()) {
        CelulaMesa c;
        c.codcontrole = int(controle.asInteger());
        c.status = status.asString().trimmed();
        c.estado = estadoMesa(c.status, impresso.asString().trimmed(), ultimo.asDateTime(), agora.asDateTime());
        c.codpedido = int(pedido.asInteger());
        m_celulas << c;
    }
    leitura.commit();
}

QString MapaMesas::rotuloPagina() const {
    return u'(' + formatFloat(u"00", qint64(m_pagina + 1)) + u'/' + formatFloat(u"00", qint64(m_paginas)) + u')';
}

QString MapaMesas::legenda(EstadoMesa estado) const {
    const int n = contagem(estado);
    return n == 0 ? nomeEstadoMesa(estado) : nomeEstadoMesa(estado) + QStringLiteral(" (") + QString::number(n) + u')';
}

int MapaMesas::posicaoRestaurada(int anterior) const {
    if (m_celulas.isEmpty())
        return -1;
    if (anterior < 0)
        return 0;
    return std::min(anterior, int(m_celulas.size()) - 1);
}

QString sqlItensMesa(int codpedido, bool ocultarCancelados) {
    QString sql = QStringLiteral(
        "SELECT RES_PEDIDO_ITEM.CODPESQUISA, PRODUTO.PRO_DESCRICAO, PRODUTO.PRO_PRECO01, "
        "RES_PEDIDO_ITEM.CODPEDIDOITEM, RES_PEDIDO_ITEM.CODPEDIDO, RES_PEDIDO_ITEM.CODPRODUTO, "
        "RES_PEDIDO_ITEM.PEDI_QTDE, RES_PEDIDO_ITEM.PEDI_VLRUNIT, RES_PEDIDO_ITEM.PEDI_TOTAL, "
        "RES_PEDIDO_ITEM.PEDI_STATUS, RES_PEDIDO_ITEM.PEDI_LAN_DATA, RES_PEDIDO_ITEM.PEDI_CAN_DATA, "
        "RES_PEDIDO_ITEM.PEDI_CAN_USUARIO, RES_PEDIDO_ITEM.PEDI_CAN_MOTIVO, RES_PEDIDO.PED_TOTAL, "
        "RES_PEDIDO.PED_TOTPROD, RES_PEDIDO.PED_ACRESCIMO, RES_GARCON.GAR_NOME "
        "FROM RES_PEDIDO_ITEM "
        "INNER JOIN PRODUTO ON (PRODUTO.CODPRODUTO = RES_PEDIDO_ITEM.CODPRODUTO) "
        "INNER JOIN RES_PEDIDO ON (RES_PEDIDO.CODPEDIDO = RES_PEDIDO_ITEM.CODPEDIDO) "
        "LEFT OUTER JOIN RES_GARCON ON (RES_GARCON.CODGARCON = RES_PEDIDO_ITEM.CODGARCON) "
        "WHERE (RES_PEDIDO_ITEM.CODPEDIDO = ") + QString::number(codpedido) + u')';
    if (ocultarCancelados)
        sql += QStringLiteral("  and (RES_PEDIDO_ITEM.PEDI_STATUS = ") + QStringLiteral("'NORMAL'") + u')';
    // Items of one business date share PEDI_LAN_DATA: the newest posted first.
    return sql + QStringLiteral(" ORDER BY RES_PEDIDO_ITEM.PEDI_LAN_DATA DESC, RES_PEDIDO_ITEM.CODPEDIDOITEM DESC");
}

TotaisMesa totaisMesa(const std::optional<Currency>& pedTotal, const std::optional<Currency>& acrescimo) {
    const QString zero = QStringLiteral("0,00");
    TotaisMesa t{zero, zero};
    if (!pedTotal || *pedTotal < Currency())
        return t;
    t.produtos = formatFloat(u",0.00", *pedTotal);
    const Currency servico = acrescimo.value_or(Currency());
    if (servico >= Currency())
        t.pedido = formatFloat(u",0.00", *pedTotal + (*pedTotal * servico / Currency(100)).roundUp2());
    return t;
}

QString rotuloMesa(int codcontrole) { return formatFloat(u"000", qint64(codcontrole)); }

std::optional<Currency> lerQuantidadeDigitada(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("^\\d+([.,]\\d+)?$"));
    const QString t = texto.trimmed();
    if (!numero.match(t).hasMatch())
        return std::nullopt;
    return Currency::parse(QString(t).replace(u',', u'.'));
}

} // namespace kvo
