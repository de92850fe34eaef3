#include "RegrasNFe.h"

#include "nfe/ChaveAcesso.h"

namespace kvo::autoridade {

namespace {
// The document shows amounts with two decimals; the rules compare those.
Currency v(Currency c) { return c.roundTo2Even(); }
} // namespace

std::optional<std::pair<int, QString>> violacaoDeRegra(const nfe::NFe& n) {
    using R = std::optional<std::pair<int, QString>>;
    const auto rejeicao = [](int codigo, const char* motivo) {
        return R{{codigo, QStringLiteral("Rejeição: ") + QString::fromUtf8(motivo)}};
    };
    const nfe::Ide& ide = n.Ide;
    if (ide.cNF == ide.nNF)
        return rejeicao(897, "Código numérico em formato inválido");
    for (const nfe::NFref& r : ide.NFref)
        if (!r.refNFe.isEmpty() && !nfe::ChaveValida(r.refNFe))
            return rejeicao(547, "Dígito Verificador da Chave de Acesso da NF-e Referenciada inválido");
    if (ide.finNFe == 4 && ide.NFref.isEmpty())
        return rejeicao(321, "NF-e de devolução de mercadoria não possui documento fiscal referenciado");
    if (n.Dest.indIEDest == 9 && ide.indFinal != 1)
        return rejeicao(696, "Operação com não contribuinte deve indicar operação com consumidor final");
    const QString ufEmit = n.Emit.EnderEmit.UF, ufDest = n.Dest.EnderDest.UF;
    if (!ufDest.isEmpty() && ide.idDest == 1 && ufDest != ufEmit)
        return rejeicao(773, "Operação Interna e UF de destino difere da UF do emitente");
    if (!ufDest.isEmpty() && ide.idDest == 2 && ufDest == ufEmit)
        return rejeicao(772, "Operação Interestadual e UF de destino igual à UF do emitente");

    nfe::ICMSTot s;
    for (const nfe::Det& d : n.Det) {
        const nfe::Prod& p = d.Prod;
        const nfe::Imposto& i = d.Imposto;
        s.vProd += v(p.vProd);
        s.vFrete += v(p.vFrete);
        s.vSeg += v(p.vSeg);
        s.vDesc += v(p.vDesc);
        s.vOutro += v(p.vOutro);
        s.vBC += v(i.ICMS.vBC);
        s.vICMS += v(i.ICMS.vICMS);
        s.vBCST += v(i.ICMS.vBCST);
        s.vST += v(i.ICMS.vICMSST);
        s.vII += v(i.II.vII);
        s.vIPI += v(i.IPI.vIPI);
        s.vPIS += v(i.PIS.v);
        s.vCOFINS += v(i.COFINS.v);
    }
    const nfe::ICMSTot& t = n.Total.ICMSTot;
    const std::pair<std::pair<Currency, Currency>, std::pair<int, const char*>> totais[] = {
        {{s.vBC, t.vBC}, {531, "Total da BC ICMS difere do somatório dos itens"}},
        {{s.vICMS, t.vICMS}, {532, "Total do ICMS difere do somatório dos itens"}},
        {{s.vBCST, t.vBCST}, {533, "Total da BC ICMS-ST difere do somatório dos itens"}},
        {{s.vST, t.vST}, {534, "Total do ICMS-ST difere do somatório dos itens"}},
        {{s.vFrete, t.vFrete}, {535, "Total do Frete difere do somatório dos itens"}},
        {{s.vSeg, t.vSeg}, {536, "Total do Seguro difere do somatório dos itens"}},
        {{s.vDesc, t.vDesc}, {537, "Total do Desconto difere do somatório dos itens"}},
        {{s.vIPI, t.vIPI}, {538, "Total do IPI difere do somatório dos itens"}},
        {{s.vProd, t.vProd}, {564, "Total do Produto / Serviço difere do somatório dos itens"}},
        {{s.vII, t.vII}, {601, "Total do II difere do somatório dos itens"}},
        {{s.vPIS, t.vPIS}, {602, "Total do PIS difere do somatório dos itens sujeitos ao ICMS"}},
        {{s.vCOFINS, t.vCOFINS}, {603, "Total do COFINS difere do somatório dos itens sujeitos ao ICMS"}},
        {{s.vOutro, t.vOutro}, {604, "Total do vOutro difere do somatório dos itens"}},
    };
    for (const auto& [valores, motivo] : totais)
        if (valores.first != v(valores.second))
            return rejeicao(motivo.first, motivo.second);
    const Currency vNF = v(t.vProd) - v(t.vDesc) - v(t.vICMSDeson) + v(t.vST) + v(t.vFCPST) + v(t.vFrete) + v(t.vSeg)
        + v(t.vOutro) + v(t.vII) + v(t.vIPI) + v(t.vIPIDevol);
    if (vNF != v(t.vNF))
        return rejeicao(610, "Total da NF difere do somatório dos Valores compõe o valor Total da NF.");

    bool semPagamento = n.pag.isEmpty();
    Currency pago;
    for (const nfe::DetPag& p : n.pag) {
        semPagamento = semPagamento || p.tPag == u"90";
        pago += v(p.vPag);
    }
    if ((ide.finNFe == 3 || ide.finNFe == 4) && !semPagamento)
        return rejeicao(871, "O campo Meio de Pagamento deve ser preenchido com a opção Sem Pagamento");
    if (!semPagamento && pago < v(t.vNF))
        return rejeicao(865, "Total dos pagamentos menor que o total da nota");
    return std::nullopt;
}

} // namespace kvo::autoridade
