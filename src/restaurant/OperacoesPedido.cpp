#include "restaurant/OperacoesPedido.h"

#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/USenha.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "restaurant/DGarcon.h"
#include "restaurant/DResPedido.h"
#include "restaurant/OperacoesMesa.h"
#include "restaurant/impressao/DResPedidoImpressao.h"
#include "restaurant/impressao/LancamentoTickets.h"

namespace kvo {

namespace {
bool ligada(const char* nome) {
    return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(nome)) == QLatin1String("S");
}
QString campo(const RecordSet& rs, const char* nome) { return rs.field(QString::fromLatin1(nome)).asString(); }
bool cancelado(const RecordSet& i) { return campo(i, "PEDI_STATUS") == QLatin1String("CANCELADO"); }
bool personalizacao(const RecordSet& i) { return i.field(QStringLiteral("CODPEDIDOITEM_PERSON")).asInteger() >= 1; }

// Main items (not option lines) that are not cancelled.
int itensVivos(RecordSet& i) {
    int n = 0;
    const int status = i.field(QStringLiteral("PEDI_STATUS")).index();
    const int dono = i.field(QStringLiteral("CODPEDIDOITEM_PERSON")).index();
    for (int r = 0; r < i.recordCount(); ++r)
        if (i.valueAt(r, status).toString() != QLatin1String("CANCELADO") && i.valueAt(r, dono).toLongLong() < 1)
            ++n;
    return n;
}

std::optional<Currency> quantidadeDigitada(const QString& texto) {
    QString t = texto.trimmed();
    if (t.contains(u','))
        t = t.remove(u'.').replace(u',', u'.');
    return Currency::parse(t);
}
} // namespace

void recusarProdutoComOpcoes(TdmResPedido& dm, qint64 codproduto, const QString& descricao) {
    const QString personalizado =
        dm.conexao()
            .scalar(QStringLiteral("SELECT PRO_PERSONALIZADO FROM PRODUTO WHERE CODPRODUTO = :P"),
                    {{QStringLiteral("P"), codproduto}})
            .toString();
    if (personalizado == QLatin1String("S"))
        Error(QStringLiteral("O produto \"%1\" é vendido com opções (personalizado) e as opções ainda não podem ser "
                             "escolhidas nesta tela. Lance-o pela venda touch ou escolha outro produto.")
                  .arg(descricao));
}

bool OperacoesPedido::liberarLancamento() {
    RecordSet& p = m_dm.cdsResPedido();
    if (campo(p, "PED_IMPRESSO") != QLatin1String("S"))
        return true;
    Alerta(QStringLiteral("Aviso: Extrato já impresso!"));
    if (!ligada("REST.SEN.REA"))
        return true;
    if (!TfrmSenha::autorizarDesconto()) {
        userInterface().showMessage(MessageKind::Error, QStringLiteral("Não é possível realizar o Lançamento."));
        return false;
    }
    if (p.state() == RecordSet::State::Browse)
        p.edit();
    p.field(QStringLiteral("PED_IMPRESSO")).setValue(QStringLiteral("N"));
    return true;
}

void OperacoesPedido::cancelarItem() {
    RecordSet& i = m_dm.cdsResPedidoItem();
    if (i.isEmpty())
        Error(QStringLiteral("Nenhum item!"));
    if (cancelado(i))
        Error(QStringLiteral("Item já CANCELADO!"));
    if (personalizacao(i))
        Error(QStringLiteral("Você só pode mexer no produto e não na personalização!"));
    if (!Confirma(QStringLiteral("Confirma \"Cancelar\" esse registro?")))
        throw Abort();
    if (ligada("REST.SNH.CAN") && !TfrmSenha::autorizarDesconto())
        throw Abort();
    QString motivo;
    if (ligada("REST.MOT.CAN")) {
        const auto digitado = InputBox(QStringLiteral("CANCELAMENTO"), QStringLiteral("Motivo de Cancelamento:"));
        if (!digitado)
            throw Abort();
        motivo = digitado->trimmed();
        if (motivo.isEmpty())
            Error(QStringLiteral("Você precisa informar o motivo do cancelamento!"));
    }
    m_estoque << m_dm.cancelarItem(int(i.field(QStringLiteral("CODPEDIDOITEM")).asInteger()),
                                   i.field(QStringLiteral("PEDI_QTDE")).asCurrency(), motivo);
}

void OperacoesPedido::alterarGarcon() {
    RecordSet& i = m_dm.cdsResPedidoItem();
    if (!i.isEmpty() && cancelado(i))
        Error(QStringLiteral("Item já CANCELADO!"));
    if (i.isEmpty())
        Error(QStringLiteral("Nenhum Lançamento realizado!"));
    const QString senha = TfrmSenha::chamaSenha(QStringLiteral("Senha:"));
    if (senha.isEmpty())
        Error(QStringLiteral("Por favor digite uma senha!"));
    if (senha != TdmAcesso::gerarInstance().senhaExclusao())
        Error(QStringLiteral("Senha inválida!"));
    const auto digitado = InputBox(QStringLiteral("Alterar Garçon"), QStringLiteral("Informe o Código do Garçon:"));
    if (!digitado)
        throw Abort();
    bool ok = false;
    const int garcon = digitado->trimmed().toInt(&ok);
    if (!ok)
        Error(QStringLiteral("Código Inválido!"));
    if (TdmGarcon::gerarInstance().nomeGarcon(garcon).isEmpty())
        Error(QStringLiteral("Não existe Garçon com este código!"));
    auto trocar = [&] {
        i.edit();
        i.field(QStringLiteral("CODGARCON")).setValue(garcon);
        i.post();
    };
    if (ligada("REST.ALT.TGA")) {
        if (!Confirma(QStringLiteral("Confirma alterar o Garçon em todos os Itens?\r Alerta: Após confirmar, não há "
                                     "como voltar atrás.")))
            throw Abort();
        const int atual = i.recNo();
        for (int r = 1; r <= i.recordCount(); ++r) {
            i.setRecNo(r);
            if (!cancelado(i))
                trocar();
        }
        i.setRecNo(atual);
    } else {
        trocar();
    }
    Informacao(QStringLiteral("Alterado com sucesso!"));
}

void OperacoesPedido::transferirItem(int destinoPadrao) {
    RecordSet& i = m_dm.cdsResPedidoItem();
    if (i.isEmpty())
        Error(QStringLiteral("Nenhum item!"));
    if (cancelado(i))
        Error(QStringLiteral("Item CANCELADO!"));
    const Currency qtdeItem = i.field(QStringLiteral("PEDI_QTDE")).asCurrency();
    const bool unico = itensVivos(i) == 1;
    if (unico && qtdeItem == Currency(1))
        Error(QStringLiteral("Existe somente 1 item, por favor faça a transferência de mesa!"));
    if (personalizacao(i))
        Error(QStringLiteral("Você só pode mexer no produto e não na personalização!"));
    // The database moves what it holds: a posting not yet saved would be left behind.
    for (RecordSet* rs : {&m_dm.cdsResPedido(), &i, &m_dm.cdsResPedidoItemPerso()})
        if (rs->hasPendingUpdates() || rs->state() == RecordSet::State::Insert)
            Error(QStringLiteral("Grave os lançamentos desta mesa antes de transferir um item."));
    mesas::exigirSenhaDaChave(QStringLiteral("RST.SNH.TRAIT"), QStringLiteral("Senha de transferência de item:"));
    QString motivo;
    if (ligada("REST.MOT.TRA")) {
        const auto digitado = InputBox(QStringLiteral("TRANSFERÊNCIA"), QStringLiteral("Motivo de Transferência:"));
        if (!digitado)
            throw Abort();
        motivo = digitado->trimmed();
        if (motivo.isEmpty())
            Error(QStringLiteral("Você precisa informar o motivo do transferência!"));
    }
    const auto destinoTexto =
        destinoPadrao > 0 ? InputBox(QStringLiteral("Comanda/Mesa de Destino"), QStringLiteral("Confirme o Nr.:"),
                                     QString::number(destinoPadrao))
                          : InputBox(QStringLiteral("Comanda/Mesa de Destino"), QStringLiteral("Informe o Nr.:"));
    if (!destinoTexto)
        throw Abort();
    bool ok = false;
    const int destino = destinoTexto->trimmed().toInt(&ok);
    if (!ok || !m_dm.controleValido(destino))
        Error(QStringLiteral("Mesa não está correta, tente novamente"));
    if (destino == m_dm.cdsResPedido().field(QStringLiteral("CODCONTROLE")).asInteger())
        Error(QStringLiteral("Mesa destino não pode ser a mesa origem, tente novamente"));
    const auto qtdeTexto = InputBox(QStringLiteral("Digite a quantidade"), QStringLiteral("Quantidade do item"));
    if (!qtdeTexto)
        throw Abort();
    const auto qtde = quantidadeDigitada(*qtdeTexto);
    if (!qtde || *qtde <= Currency() || *qtde > qtdeItem)
        Error(QStringLiteral("Quantidade invalida!"));
    if (unico && *qtde == qtdeItem)
        Error(QStringLiteral("Existe somente 1 item e quantidade retirada vai retirar esse item do pedido, por favor "
                             "faça a transferência de mesa!"));
    const int codpedido = int(m_dm.cdsResPedido().field(QStringLiteral("CODPEDIDO")).asInteger());
    mesas::executarProcedimento(m_dm.conexao(),
                                mesas::sqlTransferenciaItem(i.field(QStringLiteral("CODPEDIDOITEM")).asInteger(),
                                                            destino, mesas::momentoMovimento(m_dm),
                                                            mesas::usuarioAtual(), *qtde, motivo));
    m_dm.CarregarResVenda(codpedido);
    m_dm.cdsResPedido().edit();
    Informacao(QStringLiteral("Transferência com sucesso!"));
}

void OperacoesPedido::gravar() {
    RecordSet& cab = m_dm.cdsResPedido();
    RecordSet& itens = m_dm.cdsResPedidoItem();
    itens.checkBrowseMode();
    m_dm.ResPedido_CalculaTotal();
    const int mesa = int(cab.field(QStringLiteral("CODCONTROLE")).asInteger());
    const bool novo = cab.updateStatus() == RecordSet::UpdateStatus::Inserted;
    const int codpedido = int(cab.field(QStringLiteral("CODPEDIDO")).asInteger());
    QList<QPair<int, Currency>> saidas;
    for (int r = 0; r < itens.recordCount(); ++r)
        if (itens.updateStatusAt(r) == RecordSet::UpdateStatus::Inserted)
            saidas << qMakePair(itens.valueAt(r, itens.field(QStringLiteral("CODPRODUTO")).index()).toInt(),
                                itens.valueAt(r, itens.field(QStringLiteral("PEDI_QTDE")).index()).value<Currency>());
    TdmResPedidoImpressao& impressao = TdmResPedidoImpressao::gerarInstance();
    TicketsLancamento tickets =
        montarTicketsLancamento(impressao, itens, &cab, &m_dm.cdsResPedidoItemPerso(), mesa);
    const QStringList cancelamentos = m_estoque;
    m_dm.gravarPedido([&] {
        Database& db = m_dm.conexao();
        // Runs after the rows were written, so the order row is ours until
        // the commit: a table transfer of another terminal waits for it.
        if (!novo) {
            const QString situacao =
                db.scalar(QStringLiteral("select PED_STATUS from RES_PEDIDO where CODPEDIDO = :P"),
                          {{QStringLiteral("P"), codpedido}})
                    .toString();
            if (situacao != QLatin1String("ABERTO"))
                Error(QStringLiteral("A mesa %1 foi transferida ou encerrada em outro terminal enquanto este "
                                     "lançamento estava aberto. Nada foi gravado: anote os itens, feche a tela, "
                                     "abra a mesa de novo e lance-os.")
                          .arg(mesa));
        }
        QStringList sql = cancelamentos;
        const int pedido = int(cab.field(QStringLiteral("CODPEDIDO")).asInteger());
        for (const auto& [produto, qtde] : saidas)
            sql << TdmProduto::gerarInstance().sqlMovimentarEstoqueNormal(produto, qtde, 2, QStringLiteral("ResPedido"),
                                                                          pedido);
        return sql;
    });
    m_estoque.clear();
    enviarTicketsLancamento(impressao, tickets);
    m_dm.avaliaControle(mesa);
}

} // namespace kvo
