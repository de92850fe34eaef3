#include "registers/ui/TelasCadastros.h"

#include "framework/ui/Libgeral.h"
#include "framework/ui/ScreenRegistry.h"
#include "registers/ui/CadastrosSimples.h"
#include "registers/ui/UCfop.h"
#include "registers/ui/UFormaPagamento.h"
#include "registers/ui/UGrupoPersonalizacao.h"
#include "registers/ui/UPessoa.h"
#include "registers/ui/UProduto.h"
#include "registers/ui/USerie.h"
#include "registers/ui/UVendedor.h"

namespace kvo {

namespace {
template <class Tela>
void registrar(const QString& nome) {
    ScreenRegistry::registrar(nome, [nome] { Libgeral::ChamaForm(nome, [] { return new Tela; }); });
}
} // namespace

void registrarTelasCadastros() {
    registrar<TfrmPessoa_Pesq>(QStringLiteral("TfrmPessoa"));
    registrar<TfrmProduto_Pesq>(QStringLiteral("TfrmProduto"));
    registrar<TfrmCfop_Pesq>(QStringLiteral("TfrmCfop_Pesq"));
    registrar<TfrmSerie_Pesq>(QStringLiteral("TfrmSerie_Pesq"));
    registrar<TfrmFormaPagamento_Pesq>(QStringLiteral("TfrmFormaPagamento_Pesq"));
    registrar<TfrmVendedor_Pesq>(QStringLiteral("TfrmVendedor_Pesq"));
    registrar<TfrmGrupoPersonalizacao_Pesq>(QStringLiteral("TfrmGrupoPersonalizacao_Pesq"));
    for (const auto& [nome, cadastro] : cadastro::cadastrosSimples())
        ScreenRegistry::registrar(nome, [nome, cadastro] {
            Libgeral::ChamaForm(nome, [cadastro] { return new TfrmCadastroSimples_Pesq(*cadastro); });
        });
}

} // namespace kvo
