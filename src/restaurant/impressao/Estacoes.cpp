#include "restaurant/impressao/Estacoes.h"

namespace kvo {

namespace {
const EstacaoInfo estacoes[] = {
    {"COZINHA", "PRO_IMP_COZINHA", "REST.DAR.COZ", "REST.IMP.OP1", "REST.PST.COZ", "finalcozinha.txt",
     "finalitemcozinha.txt"},
    {"BAR", "PRO_IMP_BAR", "REST.DAR.BAR", "REST.IMP.OP2", "REST.PST.BAR", "finalbar.txt", "finalitembar.txt"},
    {"PIZZARIA", "PRO_IMP_PIZZA", "REST.DAR.PIZZA", "REST.IMP.OP3", "REST.PST.PIZ", "finalpizza.txt",
     "finalitempizza.txt"},
    {"CHURRASQUEIRA", "PRO_IMP_CHURRASQUEIRA", "REST.DAR.CHUR", "REST.IMP.OP4", "REST.PST.CHU",
     "finalchurrasqueira.txt", "finalitemchurrasqueira.txt"},
};
} // namespace

const EstacaoInfo& estacaoInfo(Estacao estacao) { return estacoes[size_t(estacao)]; }

std::optional<Estacao> estacaoPorNome(const QString& nome) {
    for (Estacao e : todasEstacoes)
        if (nome.trimmed().compare(QLatin1String(estacaoInfo(e).nome), Qt::CaseInsensitive) == 0)
            return e;
    return std::nullopt;
}

} // namespace kvo
