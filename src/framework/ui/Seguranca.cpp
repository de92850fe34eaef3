#include "framework/ui/Seguranca.h"

#include "framework/services/DAcesso.h"
#include "framework/services/DSeguranca.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kvo {

namespace {
void collect(QMenu* menu, QList<QAction*>& out) {
    for (QAction* a : menu->actions()) {
        if (a->menu())
            collect(a->menu(), out);
        else if (!a->isSeparator() && !a->objectName().isEmpty())
            out << a;
    }
}
} // namespace

void TwbtSeguranca::MenuExecute() {
    if (!m_menu)
        return;
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    TdmSeguranca& seg = TdmSeguranca::gerarInstance();
    const UsuarioLogado& u = acesso.usuario();
    QList<QAction*> entries;
    for (QAction* top : m_menu->actions())
        if (top->menu())
            collect(top->menu(), entries);
    const QSet<QString> permitidos = u.isAdministrador() ? QSet<QString>() : seg.menusPermitidos(u.grupo);
    for (QAction* a : entries) {
        seg.registrarMenu(a->objectName(), a->text().remove(u'&'));
        const bool visivel = u.isAdministrador() || permitidos.contains(a->objectName());
        a->setVisible(visivel);
        if (m_botoes)
            if (auto* painel = m_botoes->findChild<QWidget*>(QStringLiteral("pnl") + a->objectName()))
                painel->setVisible(visivel);
    }
}

} // namespace kvo
