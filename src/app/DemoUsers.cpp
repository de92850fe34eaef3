#include "app/DemoUsers.h"

#include "framework/db/Database.h"
#include "framework/services/DSeguranca.h"

namespace kvo {

void carregarUsuariosDemo(Database& db) {
    TdmSeguranca seg(db);
    struct Menu {
        const char* nome;
        const char* descricao;
        bool caixa, garcom;
    };
    static const Menu menus[] = {
        {"mni_mov_dav", "DAV", true, false},
        {"mni_mov_prevenda", "Pré-Venda", true, false},
        {"NotaFiscaldeSada1", "Nota Fiscal (NF-e)", true, false},
        {"MenuRestaurante1", "Menu Restaurante", true, true},
        {"mni_cad_Pessoa", "Pessoas", true, false},
        {"mni_cad_prod_Produto", "Produtos", true, false},
        {"mni_sis_seg_GruposUsuario", "Grupos de Usuário", false, false},
        {"mni_sis_seg_Usuarios", "Usuários", false, false},
        {"mni_sis_par_parConfiguracao", "Configurações", false, false},
        {"mni_sis_par_parRestaurante", "Parâmetros de Restaurante", false, false},
        {"mni_sis_par_parFormularioNF", "Formulário da Nota Fiscal", false, false},
        {"mni_mov_lancozinha", "Lançar na cozinha", true, true},
        {"mni_mov_transferencia", "Transferência", true, true},
        {"mni_mov_extrato", "Conferência de mesa", true, true},
        {"mni_mov_fechamento", "Fechamento", true, false},
        {"ransfernciadeItemLanamento1", "Transferência de item", true, true},
        {"mniMovDelivery", "Delivery", true, false},
        {"mniMovBalcao", "Venda balcão", true, false},
    };
    Transaction tx(db);
    seg.criarGrupo(QStringLiteral("Administração"));
    seg.criarGrupo(QStringLiteral("Caixa"));
    seg.criarGrupo(QStringLiteral("Garçons"));
    for (const Menu& m : menus) {
        seg.registrarMenu(QString::fromLatin1(m.nome), QString::fromUtf8(m.descricao));
        seg.concederAcesso(QStringLiteral("Caixa"), QString::fromLatin1(m.nome), m.caixa);
        seg.concederAcesso(QStringLiteral("Garçons"), QString::fromLatin1(m.nome), m.garcom);
    }
    const QStringList existing = seg.usuarios();
    if (!existing.contains(QStringLiteral("Administrador")))
        seg.criarUsuario(QStringLiteral("Administrador"), QStringLiteral("admin"), QStringLiteral("Administração"), true);
    if (!existing.contains(QStringLiteral("caixa")))
        seg.criarUsuario(QStringLiteral("caixa"), QStringLiteral("1234"), QStringLiteral("Caixa"), true);
    if (!existing.contains(QStringLiteral("garcom")))
        seg.criarUsuario(QStringLiteral("garcom"), QStringLiteral("1234"), QStringLiteral("Garçons"));
    tx.commit();
}

} // namespace kvo
