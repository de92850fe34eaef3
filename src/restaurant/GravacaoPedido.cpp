// Saving an order when other terminals post on the same table, and
// cancelling part of an item.
#include "restaurant/DResPedido.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"

#include <QRandomGenerator>
#include <QThread>

namespace kvo {

namespace {
// Each retry follows a commit of the other terminal (the lock waits for it),
// so a few are plenty; the pause spreads terminals that keep colliding.
constexpr int kTentativas = 30;

struct LinhaGuardada {
    QVector<QVariant> valores;
};

// The values of the rows inserted since the last save.
QList<LinhaGuardada> linhasNovas(RecordSet& rs) {
    QList<LinhaGuardada> out;
    for (int r = 0; r < rs.recordCount(); ++r) {
        if (rs.updateStatusAt(r) != RecordSet::UpdateStatus::Inserted)
            continue;
        LinhaGuardada l;
        for (int f = 0; f < rs.fieldCount(); ++f)
            l.valores << (rs.field(f).kind() == FieldKind::Calculated ? QVariant() : rs.valueAt(r, f));
        out << l;
    }
    return out;
}

void reporLinhas(RecordSet& rs, const QList<LinhaGuardada>& linhas, int codpedido) {
    for (const LinhaGuardada& l : linhas) {
        rs.append();
        for (int f = 0; f < rs.fieldCount(); ++f)
            if (rs.field(f).kind() != FieldKind::Calculated)
                rs.field(f).setValueSilently(l.valores.value(f));
        if (Field* ped = rs.findField(QStringLiteral("CODPEDIDO")))
            ped->setValueSilently(codpedido);
        rs.post();
    }
}
} // namespace

void TdmResPedido::gravarPedido(const std::function<QStringList()>& comandos) {
    for (RecordSet* rs : {m_pedido.get(), m_item.get(), m_perso.get(), m_conta.get()})
        if (rs->active())
            rs->checkBrowseMode();
    m_tentativas = 0;
    for (;;) {
        ++m_tentativas;
        try {
            Transaction tx(m_db);
            for (RecordSet* rs : {m_pedido.get(), m_item.get(), m_perso.get(), m_conta.get()})
                if (rs->active())
                    rs->applyUpdates(0);
            if (comandos)
                for (const QString& sql : comandos())
                    if (!sql.trimmed().isEmpty())
                        m_db.executeSQL(sql);
            tx.commit();
            return;
        } catch (const DatabaseError& e) {
            // The rolled-back rows are pending again (Database::onRollback).
            const bool novo = m_pedido->active() && !m_pedido->isEmpty() &&
                              m_pedido->updateStatus() == RecordSet::UpdateStatus::Inserted;
            const int mesa = novo ? int(m_pedido->field(QStringLiteral("CODCONTROLE")).asInteger()) : 0;
            if (m_tentativas >= kTentativas)
                throw;
            if (e.kind() == DatabaseError::Kind::UniqueKey && novo) {
                const int outro = pedidoAberto(mesa);
                if (outro <= 0 || outro == m_pedido->field(QStringLiteral("CODPEDIDO")).asInteger())
                    throw;
                juntarAoPedido(outro); // another terminal opened the table first
                continue;
            }
            if (e.kind() == DatabaseError::Kind::ForeignKey && m_pedido->active() && !m_pedido->isEmpty() && !novo) {
                const qint64 codpedido = m_pedido->field(QStringLiteral("CODPEDIDO")).asInteger();
                if (m_db.scalar(QStringLiteral("select count(*) from RES_PEDIDO where CODPEDIDO = :P"),
                                {{QStringLiteral("P"), codpedido}})
                        .toInt() == 0)
                    throw DatabaseError(QStringLiteral("O pedido %1 foi encerrado em outro terminal e os lançamentos não "
                                                       "foram gravados. Abra a mesa novamente e refaça os lançamentos.")
                                            .arg(codpedido),
                                        e.sql(), e.kind());
            }
            if (e.kind() != DatabaseError::Kind::LockConflict)
                throw;
            QThread::msleep(5 + QRandomGenerator::global()->bounded(20u));
        }
    }
}

// The new order lost the table to another terminal's: its rows go to that one.
void TdmResPedido::juntarAoPedido(int codpedido) {
    const auto itens = linhasNovas(*m_item);
    const auto opcoes = linhasNovas(*m_perso);
    const auto contas = linhasNovas(*m_conta);
    CarregarResVenda(codpedido);
    if (m_pedido->isEmpty())
        throw DatabaseError(QStringLiteral("O pedido %1 da mesa não foi encontrado.").arg(codpedido));
    m_pedido->edit();
    // The item keys stay: the options point at them.
    reporLinhas(*m_item, itens, codpedido);
    reporLinhas(*m_perso, opcoes, codpedido);
    reporLinhas(*m_conta, contas, codpedido);
    ResPedido_CalculaTotal();
}

QString TdmResPedido::cancelarItem(int codpedidoitem, Currency quantidade, const QString& motivo) {
    RecordSet& i = *m_item;
    if (!m_pedido->active() || !i.locate(QStringLiteral("CODPEDIDOITEM"), codpedidoitem))
        Error(QStringLiteral("Item não localizado para CANCELAR!"));
    if (i.field(QStringLiteral("PEDI_STATUS")).asString() == QLatin1String("CANCELADO"))
        Error(QStringLiteral("Item já CANCELADO!"));
    if (i.field(QStringLiteral("CODPEDIDOITEM_PERSON")).asInteger() >= 1)
        Error(QStringLiteral("Você só pode mexer no produto e não na personalização!"));
    const Currency qtde = i.field(QStringLiteral("PEDI_QTDE")).asCurrency();
    if (quantidade <= Currency() || quantidade > qtde)
        Error(QStringLiteral("Quantidade invalida!"));
    const std::optional<QDateTime> data = dataMovimento();
    const QString usuario = TdmAcesso::gerarInstance().usuario().nome.left(30);
    auto marcarCancelado = [&] {
        i.field(QStringLiteral("PEDI_STATUS")).setValue(QStringLiteral("CANCELADO"));
        i.field(QStringLiteral("PEDI_CAN_DATA")).setValue(data ? QVariant(*data) : QVariant());
        i.field(QStringLiteral("PEDI_CAN_USUARIO")).setValue(usuario);
        i.field(QStringLiteral("PEDI_CAN_MOTIVO")).setValue(motivo.left(100));
    };
    const int produto = int(i.field(QStringLiteral("CODPRODUTO")).asInteger());
    i.edit();
    if (quantidade == qtde) {
        marcarCancelado();
        i.post();
    } else {
        const QString codigo = i.field(QStringLiteral("CODPESQUISA")).asString();
        const QVariant garcon = i.field(QStringLiteral("CODGARCON")).value();
        const Currency preco = i.field(QStringLiteral("PRO_PRECO01")).asCurrency();
        i.field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(qtde - quantidade));
        i.post();
        i.append();
        if (!codigo.isEmpty())
            i.field(QStringLiteral("CODPESQUISA")).setValue(codigo);
        i.field(QStringLiteral("CODPRODUTO")).setValue(produto);
        i.field(QStringLiteral("CODGARCON")).setValue(garcon);
        i.field(QStringLiteral("PEDI_QTDE")).setValue(QVariant::fromValue(quantidade));
        i.field(QStringLiteral("PEDI_VLRUNIT")).setValue(QVariant::fromValue(preco));
        marcarCancelado();
        i.post();
    }
    ResPedido_CalculaTotal();
    return produtos().sqlMovimentarEstoqueNormal(produto, quantidade, 1, QStringLiteral("ResPedido"),
                                                 int(m_pedido->field(QStringLiteral("CODPEDIDO")).asInteger()));
}

} // namespace kvo
