#include "restaurant/LancamentoTouch.h"

#include "framework/db/Database.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "restaurant/DResPedido.h"
#include "restaurant/OperacoesMesa.h"

namespace kvo {

namespace {
bool ligada(const char* nome) {
    return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(nome)) == QLatin1String("S");
}
} // namespace

LancamentoTouch::LancamentoTouch(TdmResPedido& dm) : m_dm(dm) {}

bool LancamentoTouch::usaGarcon() const { return ligada("REST.GARCON"); }

bool LancamentoTouch::escolheGarcon() const {
    if (m_dm.parametros().selecionarGarcon)
        return true;
    if (usaGarcon() || m_estado == Estado::Mesa || m_estado == Estado::Garcon)
        return false;
    return m_dm.cdsResPedido().field(QStringLiteral("CODGARCON")).asInteger() <= 0;
}

QList<QPair<int, QString>> LancamentoTouch::garcons() {
    QList<QPair<int, QString>> lista;
    const auto rs = m_dm.conexao().query(QStringLiteral(
        "select CODGARCON, GAR_NOME from RES_GARCON where coalesce(GAN_ENTREGADOR, 'N') <> 'S' order by GAR_NOME"));
    for (rs->first(); !rs->eof(); rs->next())
        lista << qMakePair(int(rs->field(QStringLiteral("CODGARCON")).asInteger()),
                           rs->field(QStringLiteral("GAR_NOME")).asString());
    return lista;
}

void LancamentoTouch::recusar(Campo campo, const QString& mensagem, bool erro) {
    m_campo = campo;
    if (erro)
        Error(mensagem);
    Alerta(mensagem, true);
    throw Abort(); // not reached: Alerta stops
}

void LancamentoTouch::lancarMesa(const QString& texto) {
    m_campo = Campo::Nenhum;
    const QString t = texto.trimmed();
    if (t.isEmpty())
        recusar(Campo::Mesa, QStringLiteral("Selecione uma mesa!"), true);
    bool ok = false;
    const int mesa = t.toInt(&ok);
    if (!ok || !m_dm.controleValido(mesa))
        recusar(Campo::Mesa, QStringLiteral("Mesa (") + t + QStringLiteral(") não está correta, tente novamente"));
    m_campo = Campo::Mesa;
    mesas::conferirEntradaLancada(m_dm, mesa);
    m_campo = Campo::Nenhum;
    m_mesa = mesa;
    m_garcon = 0;
    if (usaGarcon()) {
        m_estado = Estado::Garcon;
        return;
    }
    abrirLancamento();
}

void LancamentoTouch::lancarGarcon(const QString& codigo, const QString& senha) {
    m_campo = codigo.trimmed().isEmpty() ? Campo::Garcon : senha.isEmpty() ? Campo::Senha : Campo::Garcon;
    const int garcon = mesas::conferirGarcon(codigo, senha);
    m_campo = Campo::Nenhum;
    m_garcon = garcon;
    m_dm.setGarconPredefinido(garcon);
    abrirLancamento();
}

void LancamentoTouch::abrirLancamento() {
    if (ligada("RST.LAN.TOUCH") && vendaTouch) {
        vendaTouch(m_mesa, m_garcon);
        if (const int codpedido = m_dm.pedidoAberto(m_mesa); codpedido > 0)
            m_dm.verificarPedido(codpedido, m_mesa);
        m_garcon = 0;
        m_dm.setGarconPredefinido(0);
        m_estado = Estado::Mesa;
        return;
    }
    m_dm.abrirMesa(m_mesa); // the current table, its evaluation, the open order or a new one
    m_operacoes.emplace(m_dm);
    m_alterado = false;
    m_estado = Estado::Lancando;
}

std::optional<LancamentoTouch::Produto> LancamentoTouch::localizarProduto(const QString& codigo) {
    const QString c = codigo.trimmed();
    if (c.isEmpty())
        return std::nullopt;
    TwbtPesquisa& pesquisa = TdmProduto::gerarInstance().pesquisa();
    if (!pesquisa.Localizar(c, false) || !pesquisa.encontrado())
        return std::nullopt;
    const RecordSet& rs = *pesquisa.encontrado();
    Produto p;
    p.codigo = rs.field(QStringLiteral("PRO_CODPESQ_1")).asString();
    p.codproduto = int(rs.field(QStringLiteral("CODPRODUTO")).asInteger());
    p.descricao = rs.field(QStringLiteral("PRO_DESCRICAO")).asString();
    p.vlrUnitario = rs.field(QStringLiteral("PRO_PRECO01")).asCurrency();
    return p;
}

std::optional<Currency> LancamentoTouch::totalItem(const std::optional<Currency>& qtde, Currency vlrUnitario) {
    if (!qtde)
        return std::nullopt;
    return *qtde * vlrUnitario; // as the order module computes PEDI_TOTAL
}

void LancamentoTouch::adicionarItem(const Item& item) {
    m_campo = Campo::Nenhum;
    if (m_estado != Estado::Lancando)
        return;
    if (!m_operacoes->liberarLancamento())
        throw Abort(); // "Não é possível realizar o Lançamento." was shown
    if (item.codigo.trimmed().isEmpty() || item.codigo.trimmed() == QLatin1String("0") || item.codproduto <= 0)
        recusar(Campo::Produto, QStringLiteral("Por favor verifique o \"Código do Produto\""));
    if (!item.qtde || *item.qtde <= Currency())
        recusar(Campo::Quantidade, QStringLiteral("Por favor verifique a \"Quantidade\""));
    const auto total = totalItem(item.qtde, item.vlrUnitario);
    if (!total || *total <= Currency())
        recusar(Campo::Total, QStringLiteral("Por favor verique o \"Total do Produto\""));
    m_campo = Campo::Produto;
    recusarProdutoComOpcoes(m_dm, item.codproduto, item.descricao);
    m_campo = Campo::Nenhum;
    if (!TdmProduto::gerarInstance().validaEstoque(item.codproduto, *item.qtde))
        throw Abort(); // the stock check told the user
    RecordSet& i = m_dm.cdsResPedidoItem();
    i.append();
    try {
        i.field(QStringLiteral("CODPESQUISA")).setValue(item.codigo.trimmed());
        i.field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(*item.qtde));
        i.field(QStringLiteral("PEDI_VLRUNIT")).setValue(QVariant::fromValue(item.vlrUnitario));
        if (item.garcon > 0 && escolheGarcon())
            i.field(QStringLiteral("CODGARCON")).setValue(item.garcon);
        i.post();
    } catch (...) {
        i.cancel(); // a failed check leaves the order as it was
        throw;
    }
    m_dm.ResPedido_CalculaTotal();
    m_alterado = true;
}

void LancamentoTouch::iniciarCancelamento() {
    if (m_estado != Estado::Lancando)
        return;
    m_estado = Estado::Cancelando;
    m_cancelou = false;
}

void LancamentoTouch::cancelarItem() {
    if (m_estado != Estado::Cancelando)
        return;
    m_operacoes->cancelarItem();
    m_dm.ResPedido_CalculaTotal();
    m_alterado = true;
    m_cancelou = true;
}

void LancamentoTouch::salvar() {
    if (m_estado != Estado::Lancando && m_estado != Estado::Cancelando)
        return;
    if (m_dm.cdsResPedidoItem().recordCount() == 0)
        Error(QStringLiteral("Você precisa ter algum pelo menos 1 lançamento!"));
    if (m_alterado)
        m_operacoes->gravar(); // tickets, stock statements and the order in one go
    m_alterado = false;
    encerrar();
}

void LancamentoTouch::recarregar() {
    if (m_estado != Estado::Lancando || m_alterado)
        return;
    m_dm.abrirMesa(m_mesa);
    m_operacoes.emplace(m_dm);
}

void LancamentoTouch::encerrar() {
    if (m_estado != Estado::Lancando && m_estado != Estado::Cancelando)
        return;
    m_dm.verificarPedido(m_dm.pedidoAberto(m_mesa), m_mesa);
    m_dm.FecharResVenda();
    m_operacoes.reset();
    m_alterado = false;
    m_garcon = 0;
    m_dm.setGarconPredefinido(0);
    m_estado = Estado::Mesa;
}

bool LancamentoTouch::sair() {
    switch (m_estado) {
    case Estado::Mesa:
        return Confirma(QStringLiteral("Confirma sair da tela?"));
    case Estado::Garcon:
        m_garcon = 0;
        m_estado = Estado::Mesa;
        return false;
    case Estado::Lancando:
        if (m_alterado && !Confirma(QStringLiteral("Confirma desistir dessa venda?"), false))
            return false;
        encerrar();
        return false;
    case Estado::Cancelando:
        // Only cancellations made here are given up (with whatever else was not saved).
        if (m_alterado && m_cancelou) {
            if (!Confirma(QStringLiteral("Confirma desistir dos cancelamentos?"), false))
                return false;
            m_dm.abrirMesa(m_mesa); // the order as saved
            m_operacoes.emplace(m_dm);
            m_alterado = false;
        }
        m_estado = Estado::Lancando;
        return false;
    }
    return false;
}

int LancamentoTouch::mesaDoExtrato(const QString& texto) {
    m_campo = Campo::Nenhum;
    if (m_estado == Estado::Lancando || m_estado == Estado::Cancelando)
        return m_mesa;
    const QString t = texto.trimmed();
    bool ok = false;
    const int mesa = t.toInt(&ok);
    if (!ok || mesa <= 0)
        recusar(Campo::Mesa, QStringLiteral("Selecione uma mesa!"), true);
    if (m_dm.pedidoAberto(mesa) <= 0)
        recusar(Campo::Mesa, QStringLiteral("Nenhuma movimentação nessa mesa!"), true);
    return mesa;
}

} // namespace kvo
