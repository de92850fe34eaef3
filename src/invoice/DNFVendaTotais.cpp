// Invoice arithmetic: item total, discount and taxes, service lines, header
// totals. Every product or quotient is brought to four decimals once
// (halves to even); what a formula keeps inside is exact.
#include "invoice/DNFVenda.h"

#include "invoice/DNFVendaInterno.h"

namespace kvo {

using namespace nfvenda;

namespace {
constexpr Int128 S = Currency::Scale;

// round4(a × b / 100) with the product exact.
Currency percentual(Currency a, Currency b) { return Currency::round4(Int128(a.raw()) * b.raw(), S * 100); }
} // namespace

Currency TdmNFVenda::NFVENDAITEM_TotalItem() const {
    RecordSet& i = *m_item;
    return cur(i, "NFVI_QTDE") * cur(i, "NFVI_VLR_UNITARIO");
}

void TdmNFVenda::NFVENDA_CALC_DESC_PERC(bool somenteComPercentual) {
    RecordSet& i = *m_item;
    const Currency perc = cur(i, "NFVI_PERDESC");
    if (somenteComPercentual && perc <= Currency())
        return;
    const Int128 produto = Int128(cur(i, "NFVI_QTDE").raw()) * cur(i, "NFVI_VLR_UNITARIO").raw() * perc.raw();
    setMoney(i, "NFVI_TOTAL_DESCONTO", Currency::round4(produto, S * S * 100));
}

void TdmNFVenda::NFVENDAITEM_CalcularTotal() {
    RecordSet& i = *m_item;
    NFVENDA_CALC_DESC_PERC(true);
    setMoney(i, "NFVI_TOTAL", NFVENDAITEM_TotalItem() - cur(i, "NFVI_TOTAL_DESCONTO"));
    NFVENDAITEM_CalcularTotal_IPIICMS();
}

void TdmNFVenda::NFVENDAITEM_CalcularTotal_IPIICMS() {
    RecordSet& i = *m_item;
    // A value discount larger than the base leaves no ICMS, never a negative one.
    const Currency icms = percentual(cur(i, "NFVI_ICMS_BASE") - cur(i, "NFVI_VLRDESC"), cur(i, "NFVI_ALIQ_ICMS"));
    setMoney(i, "NFVI_ICMS", icms < Currency() ? Currency() : icms);
    setMoney(i, "NFVI_PIS_VLR", percentual(cur(i, "NFVI_PIS_BC"), cur(i, "NFVI_PIS_PER")));
    setMoney(i, "NFVI_COFINS_VLR", percentual(cur(i, "NFVI_COFINS_BC"), cur(i, "NFVI_COFINS_PER")));
    if (str(i, "NFVI_ALTERAR_IPI") != u"S")
        setMoney(i, "NFVI_IPI", percentual(NFVENDAITEM_TotalItem(), cur(i, "NFVI_ALIQ_IPI")));
}

void TdmNFVenda::CalcularTotalNFVENDASERVICO() {
    RecordSet& s = *m_serv;
    setMoney(s, "NFVS_TOTAL", cur(s, "NFVS_VLR_UNITARIO") * cur(s, "NFVS_QTDE"));
}

void TdmNFVenda::recalcularNFVenda() {
    if (!emEdicao(*m_cab))
        m_cab->edit();
    {
        DisableControls parado(*m_item);
        for (m_item->first(); !m_item->eof(); m_item->next()) {
            m_item->edit();
            NFVENDAITEM_CalcularTotal();
            m_item->post();
        }
    }
    {
        DisableControls parado(*m_serv);
        for (m_serv->first(); !m_serv->eof(); m_serv->next()) {
            m_serv->edit();
            CalcularTotalNFVENDASERVICO();
            m_serv->post();
        }
    }
    NFVENDA_CalcularTotal();
}

void TdmNFVenda::NFVENDA_CalcularTotal() {
    RecordSet& c = *m_cab;
    RecordSet& itens = *m_item;
    RecordSet& servicos = *m_serv;
    if (emEdicao(itens) || emEdicao(servicos) || !emEdicao(c) || m_recalculando > 0)
        return;
    struct Guarda {
        int& n;
        ~Guarda() { --n; }
    } guarda{++m_recalculando};
    const bool baseDoUsuario = str(c, "NFV_ALTERAR_BASE_ICMS") == u"S";
    for (const char* nome : {"NFV_ISS_BASE", "NFV_ISS", "NFV_ICMS_SUBST_BASE", "NFV_ICMS_SUBST"})
        setMoney(c, nome, Currency());
    if (!baseDoUsuario) {
        setMoney(c, "NFV_ICMS_BASE", Currency());
        setMoney(c, "NFV_ICMS", Currency());
    }
    const Currency aliqIss = cur(c, "NFV_ISS_ALIQ");
    Currency t;
    // Rows are read in place: the current line of each grid does not move.
    if (servicos.active() && !servicos.isEmpty()) {
        const int total = servicos.field(QStringLiteral("NFVS_TOTAL")).index();
        for (int r = 0; r < servicos.recordCount(); ++r)
            t += servicos.valueAt(r, total).value<Currency>();
        setMoney(c, "NFV_ISS_BASE", t);
        setMoney(c, "NFV_ISS", percentual(t, aliqIss));
    }
    Currency somaIcms, somaBase, somaStBase, somaSt, somaIpi, aliq;
    if (itens.active() && !itens.isEmpty()) {
        t = Currency();
        const int iTotal = f(itens, "NFVI_TOTAL").index(), iIcms = f(itens, "NFVI_ICMS").index(),
                  iBase = f(itens, "NFVI_ICMS_BASE").index(), iAliq = f(itens, "NFVI_ALIQ_ICMS").index(),
                  iSt = f(itens, "NFVI_SUBST_VLR").index(), iStBase = f(itens, "NFVI_SUBST_BC").index(),
                  iIpi = f(itens, "NFVI_IPI").index();
        auto v = [&](int r, int col) { return itens.valueAt(r, col).value<Currency>(); };
        for (int r = 0; r < itens.recordCount(); ++r) {
            t += v(r, iTotal);
            if (v(r, iIcms) > Currency()) {
                somaIcms += v(r, iIcms);
                somaBase += v(r, iBase);
                aliq = v(r, iAliq);
            }
            somaSt += v(r, iSt);
            somaStBase += v(r, iStBase);
            if (v(r, iIpi) > Currency())
                somaIpi += v(r, iIpi);
        }
    }
    // With no items left the item sums are zero, so no earlier IPI or ICMS stays in the total.
    if (!baseDoUsuario) {
        setMoney(c, "NFV_ICMS_BASE", somaBase);
        setMoney(c, "NFV_ICMS", somaIcms);
    } else {
        setMoney(c, "NFV_ICMS", percentual(cur(c, "NFV_ICMS_BASE"), aliq));
    }
    setMoney(c, "NFV_IPI", somaIpi);
    setMoney(c, "NFV_ICMS_SUBST_BASE", somaStBase.roundUp2());
    setMoney(c, "NFV_ICMS_SUBST", somaSt.roundUp2());
    setMoney(c, "NFV_ISS", percentual(t, aliqIss));
    setMoney(c, "NFV_IR_VLR", percentual(t, cur(c, "NFV_IR_PERC")));
    setMoney(c, "NFV_TOTAL_PRODUTOS", t);
    Currency totalNota = t + cur(c, "NFV_IPI") + cur(c, "NFV_ACRESCIMO") + cur(c, "NFV_ICMS_SUBST") -
                         cur(c, "NFV_IR_VLR") - cur(c, "NFV_DESCVLR");
    if (str(c, "NFV_TP_FRETE") == u"FOB")
        totalNota += cur(c, "NFV_FRETE");
    setMoney(c, "NFV_TOTAL_NOTA", totalNota);
}

} // namespace kvo
