// Billing: an open invoice becomes "Faturada", with its receivables, the
// referenced invoice's or purchase's settlement and its stock movement.
#include "invoice/DNFVenda.h"

#include "core/Format.h"
#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DContas.h"
#include "registers/EscolhaParcelas.h"

#include <vector>

namespace kvo {

using namespace nfvenda;

namespace {

const QString excluida = QStringLiteral("EXCLUÍDA");
// Receivables written off (by a reopening or an earlier return) are no longer
// the document's: they neither add up nor count as paid again.
const QString vivas = QStringLiteral(" AND CON_STATUS <> 'EXCLUÍDA'");

Currency dois(Currency v) {
    return v.roundTo2Even();
}

// The statements of one billing, gathered while the questions are asked and
// run afterwards in one transaction.
using Passos = std::vector<std::function<void(Database&)>>;

// The instalments of a document chosen by the user, then written inside the
// billing's transaction; nullopt when the user gave up.
std::optional<std::function<void(Database&)>> parcelasDe(const DocumentoContas& doc, Currency valor,
                                                         bool substituir) {
    auto parcelas = escolhaParcelas().escolherParcelas(doc, valor);
    if (!parcelas)
        return std::nullopt;
    return [doc, valor, substituir, lista = *parcelas](Database& db) {
        TdmContas(db).gravarParcelas(doc, valor, lista, substituir);
    };
}

// Step 2: the sales invoice this one replaces or returns.
void notaReferenciada(RecordSet& cab, Database& db, Currency total, Passos& passos) {
    const qint64 ref = inteiro(cab, "CODNFVENDA_DEV");
    if (str(cab, "NFV_FINALIDADE_EMISSAO") == u"2" || ref <= 0)
        return;
    const QString serieRef = str(cab, "CODSERIE_DEV");
    const auto somas = db.query(
        QStringLiteral("SELECT SUM(COALESCE(CONTAS.con_vlrparcela, 0)) AS PARCELA, "
                       "SUM(COALESCE(CONTAS.con_vlrpago, 0)) AS PAGO FROM CONTAS  WHERE CODNFVENDA = ") +
        QString::number(ref) + QStringLiteral(" AND CODSERIE = ") + quotedStr(serieRef) + vivas);
    const Currency parcela = dois(cur(*somas, "PARCELA")), pago = cur(*somas, "PAGO");
    if (parcela <= Currency())
        return;
    if (pago > Currency())
        Error(QStringLiteral(
            "A Nf. Ref. tem o financeiro com baixa!! Você precisa excluir essa baixa para depois de "
            "refazer o financeiro, você baixar!"));
    if (parcela < total)
        Error(QStringLiteral(
            "A NF-e tem o valor maior que NF. Ref. e por isso não é possivel fazer essa operação!"));
    if (parcela > total) {
        Alerta(QStringLiteral(
            "A Nf. Ref. tem um valor maior e por isso precisa ser refeito o financeiro com essa "
            "diferença!\nPor favor refaça o financeiro na proxima tela!"));
        DocumentoContas doc;
        doc.origem = QStringLiteral("NFVENDA");
        doc.codigo = int(ref);
        doc.numero = QString::number(ref);
        doc.serie = serieRef;
        doc.codpessoa = int(inteiro(cab, "CODPESSOA"));
        doc.emissao = f(cab, "NFV_DTEMISSAO").asDate();
        doc.codformapagamento =
            db.scalar(QStringLiteral("select CODFORMAPAGAMENTO from nfvenda where codnfvenda = ") +
                      QString::number(ref) + QStringLiteral(" and codserie = ") + quotedStr(serieRef))
                .toInt();
        // The difference is added beside the referenced invoice's receivables, which stay.
        auto gravar = parcelasDe(doc, parcela - total, false);
        if (!gravar)
            Error(QStringLiteral("A Nf. Ref. precisa ser refaturada!"));
        passos.push_back(*gravar);
        return;
    }
    passos.push_back([ref, serieRef](Database& d) {
        d.executeSQL(QStringLiteral(" UPDATE CONTAS SET CON_STATUS = ") + quotedStr(excluida) +
                     QStringLiteral(" WHERE CODNFVENDA = ") + QString::number(ref) +
                     QStringLiteral(" AND CODSERIE = ") + quotedStr(serieRef));
    });
}

// Step 3: the purchase whose goods this invoice returns.
void compraReferenciada(RecordSet& cab, Database& db, Currency total, Passos& passos) {
    const qint64 compra = inteiro(cab, "CODNFCOMPRA_DEV");
    if (compra <= 0)
        return;
    const QString deCompra =
        QStringLiteral("(SELECT CONTAS.CODCONTA FROM CONTAS WHERE CONTAS.CODNFCOMPRA = ") +
        QString::number(compra) + u')';
    const auto pagos =
        db.query(QStringLiteral(" SELECT SUM(COALESCE(CONTAS.con_vlrpago, 0)) AS PAGO FROM CONTAS  WHERE "
                                "CODNFCOMPRA = ") +
                 QString::number(compra) + QStringLiteral(" AND CODPESSOA = ") +
                 QString::number(inteiro(cab, "CODPESSOA")) + vivas);
    const Currency pago = cur(*pagos, "PAGO");
    const auto nfc =
        db.query(QStringLiteral("select CODPESSOA, NFC_NRNOTA, NFC_DATA_EMI, NFC_TOTAL_NOTA, CODCENTCUSTO, "
                                "CODFORMAPAGAMENTO from NFCOMPRA where CODNFCOMPRA = :C"),
                 {{QStringLiteral("C"), compra}});
    const Currency totalCompra = dois(cur(*nfc, "NFC_TOTAL_NOTA"));
    if (total > totalCompra)
        Error(QStringLiteral(
            "A NF-e tem o valor maior que nota de compra e por isso não é possivel fazer essa operação!"));
    if (pago > Currency()) {
        const QVariant banco =
            db.scalar(QStringLiteral(" SELECT distinct CONTAS_BAIXAS.CODBANCO FROM CONTAS_BAIXAS WHERE "
                                     "CONTAS_BAIXAS.CODCONTA  IN ") +
                      deCompra);
        const SqlParams credito{{QStringLiteral("P"), inteiro(cab, "CODPESSOA")},
                                {QStringLiteral("V"), QVariant::fromValue(pago)},
                                {QStringLiteral("B"), banco.isNull() ? QVariant(0) : banco},
                                {QStringLiteral("U"), TdmAcesso::gerarInstance().usuario().nome}};
        passos.push_back([credito, deCompra](Database& d) {
            d.executeSQL(QStringLiteral("execute procedure STP_NTCREDITO_ADD(:P, 'PAG', :V, :B, :U)"),
                         credito);
            d.executeSQL(QStringLiteral(" DELETE FROM CONTAS_BAIXAS WHERE CONTAS_BAIXAS.CODCONTA  IN ") +
                         deCompra);
        });
    }
    passos.push_back([compra](Database& d) {
        d.executeSQL(QStringLiteral(" UPDATE CONTAS     SET CON_STATUS = ") + quotedStr(excluida) +
                     QStringLiteral("  WHERE CODNFCOMPRA = ") + QString::number(compra));
    });
    const Currency resto = totalCompra - total;
    const QString adiantamento = QStringLiteral("\nVlr. Adiantamento = ") + formatFloat(u",0.00", pago);
    if (resto <= Currency()) {
        Alerta(QStringLiteral("O Financeiro da \"NF. Compra\" apos a devolução ficou zerado!") +
               adiantamento);
        return;
    }
    Alerta(QStringLiteral("O Financeiro da \"NF. Compra\" precisa ser refeito antes de faturar a \"NF-e\".") +
           adiantamento);
    DocumentoContas doc;
    doc.origem = QStringLiteral("NFCOMPRA");
    doc.tipo = u'P';
    doc.codigo = int(compra);
    doc.numero = str(*nfc, "NFC_NRNOTA");
    doc.codpessoa = int(inteiro(*nfc, "CODPESSOA"));
    doc.emissao = f(*nfc, "NFC_DATA_EMI").asDate();
    doc.codcentcusto = int(inteiro(*nfc, "CODCENTCUSTO"));
    doc.codformapagamento = int(inteiro(*nfc, "CODFORMAPAGAMENTO"));
    auto gravar = parcelasDe(doc, resto, true);
    if (!gravar)
        Error(QStringLiteral("A nota de compra precisa ser refaturada, antes de continuar!"));
    passos.push_back(*gravar);
}

bool pendente(RecordSet& rs) {
    return rs.active() && (emEdicao(rs) || rs.hasPendingUpdates());
}

} // namespace

bool TdmNFVenda::temProdutoSemEstoque(int numero, const QString& serie, const QString& tipo,
                                      bool recarregar) {
    if (tipo == u"E" || tipo == u"1")
        return false;
    if (recarregar)
        abrirNFVenda(numero, serie);
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    RecordSet& itens = cdsNFVendaItem();
    const int colProduto = f(itens, "CODPRODUTO").index(), colQtde = f(itens, "NFVI_QTDE").index(),
              colPedido = f(itens, "CODPEDVENDAITEM").index(),
              colCategoria = f(itens, "NFVI_CATEGORIA").index();
    for (int r = 0; r < itens.recordCount(); ++r) {
        const qint64 produto = itens.valueAt(r, colProduto).toLongLong();
        if (produto <= 0 || itens.valueAt(r, colCategoria).toString() == u"Serviço")
            continue;
        const Currency qtde = itens.valueAt(r, colQtde).value<Currency>();
        // The stock as it stands now, not as it was when the invoice was opened.
        const auto estoque = db.query(
            QStringLiteral("select PRO_ESTQ_ATUAL, PRO_ESTQ_RESERVADO from PRODUTO where CODPRODUTO = ") +
            QString::number(produto));
        const Currency atual = cur(*estoque, "PRO_ESTQ_ATUAL");
        if (atual >= qtde)
            continue;
        const qint64 pedidoItem = itens.valueAt(r, colPedido).toLongLong();
        if (pedidoItem > 0 && cur(*estoque, "PRO_ESTQ_RESERVADO") > Currency()) {
            const auto reserva = db.query(
                QStringLiteral(" SELECT    PRODUTO_RESERVA.PROR_QTDE  FROM    PRODUTO_RESERVA  where    "
                               "PRODUTO_RESERVA.CODPRODUTO = ") +
                QString::number(produto) + QStringLiteral("   AND PRODUTO_RESERVA.CODPEDVENDAITEM = ") +
                QString::number(pedidoItem));
            if (!reserva->isEmpty() && cur(*reserva, "PROR_QTDE") + atual >= qtde)
                continue;
        }
        return true;
    }
    return false;
}

bool TdmNFVenda::NFVENDA_Faturar_Pergunta(int numero, const QString& serie, const QString& tipo,
                                          bool recarregar) {
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("NF.FAT.S/EST")) == u"N" &&
        temProdutoSemEstoque(numero, serie, tipo, recarregar))
        Error(QStringLiteral("Há produtos sem Estoque. Esta função não está autorizada."));
    if (recarregar && !abrirNFVenda(numero, serie))
        Error(QStringLiteral("Nota Fiscal (Cód. %1 - Série %2) não encontrada.").arg(numero).arg(serie));
    const qint64 forma = inteiro(cdsNFVenda(), "CODFORMAPAGAMENTO");
    if (forma == 0 || forma == 99)
        Error(QStringLiteral("Sem forma de pagamento!!"));
    return NFVENDA_Faturar();
}

bool TdmNFVenda::NFVENDA_Faturar() {
    if (!Confirma(QStringLiteral("Confirma Faturar essa Nota Fiscal?")))
        return false;
    // The receivables carry the invoice's number, which a new invoice takes
    // when it is saved: changes not yet saved are saved first (still "Aberta").
    if (pendente(cdsNFVenda()) || pendente(cdsNFVendaItem()) || pendente(cdsNFVendaServico()))
        gravarNFVenda();
    RecordSet& cab = cdsNFVenda();
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    const int numero = int(inteiro(cab, "CODNFVENDA"));
    const QString serie = str(cab, "CODSERIE");
    const Currency total = dois(cur(cab, "NFV_TOTAL_NOTA"));

    Passos passos;
    notaReferenciada(cab, db, total, passos);
    compraReferenciada(cab, db, total, passos);
    const bool financeiro =
        db.scalar(QStringLiteral("select CFOP_GERAFINANCEIRO from CFOP where CODCFOP = :C"),
                  {{QStringLiteral("C"), str(cab, "CODCFOP")}})
            .toString() == u"S";
    if (financeiro) {
        DocumentoContas doc;
        doc.origem = QStringLiteral("NFVENDA");
        doc.codigo = numero;
        doc.numero = QString::number(numero);
        doc.serie = serie;
        doc.codpessoa = int(inteiro(cab, "CODPESSOA"));
        doc.emissao = f(cab, "NFV_DTEMISSAO").asDate();
        doc.codformapagamento = int(inteiro(cab, "CODFORMAPAGAMENTO"));
        auto gravar = parcelasDe(doc, total, true);
        if (!gravar)
            return false;
        passos.push_back(*gravar);
    }

    // Posting. The business date may ask to open the cash register: asked
    // here, before the transaction takes any lock.
    TdmCaixaAbertura& caixa = TdmCaixaAbertura::gerarInstance();
    const int abertura = caixa.verificarCaixaAberto(false);
    const QString textoCaixa =
        abertura > 0 ? QStringLiteral(", CODCAIXAABERTURA = ") + QString::number(abertura) : QString();
    const QString data = caixa.getDataAbertura(true).toString(QStringLiteral("dd.MM.yyyy"));
    const QString procedimento =
        QStringLiteral("execute procedure STP_NFVENDA_FATURA(") + QString::number(numero) +
        QStringLiteral(", ") + quotedStr(serie) + QStringLiteral(", ") +
        quotedStr(financeiro ? QStringLiteral("S") : QStringLiteral("N")) + QStringLiteral(", ") +
        quotedStr(str(cab, "NFV_BAIXA_ESTOQUE")) + QStringLiteral(", ") +
        quotedStr(TdmAcesso::gerarInstance().empresa().controlaEstoque ? QStringLiteral("S")
                                                                       : QStringLiteral("N")) +
        u')';
    const QString carimbo = QStringLiteral("UPDATE NFVENDA SET    NFV_DATA_FATURAMENTO = ") +
                            quotedStr(data) + QStringLiteral(" , NFV_USUARIO_FATURAMENTO = ") +
                            quotedStr(TdmAcesso::gerarInstance().usuario().nome) + textoCaixa +
                            QStringLiteral(" WHERE CODNFVENDA = ") + QString::number(numero) +
                            QStringLiteral("   AND CODSERIE = ") + quotedStr(serie);
    try {
        Transaction tx(db);
        for (const auto& passo : passos)
            passo(db);
        db.executeSQL(carimbo);
        db.executeSQL(procedimento);
        tx.commit();
    } catch (const DatabaseError& e) {
        userInterface().showMessage(MessageKind::Error,
                                    QStringLiteral("Erro ao faturar a NF. Erro: ") + e.message());
        return false;
    }
    abrirNFVenda(numero, serie); // the status and stamp as stored
    Informacao(QStringLiteral("Faturada com sucesso!"));
    return true;
}

} // namespace kvo
