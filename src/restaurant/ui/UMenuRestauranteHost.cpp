#include "restaurant/ui/UMenuRestauranteHost.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/ScreenRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

namespace kvo {

namespace {
const QString kMenuPDV = QStringLiteral("frmMenuCorePDV");

// The button of the host's entry panel "pnl..." (or the panel itself when it
// is the button).
QAbstractButton* botaoDoHost(const QString& painel) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != kMenuPDV)
            continue;
        QWidget* p = w->findChild<QWidget*>(painel);
        if (auto* b = qobject_cast<QAbstractButton*>(p))
            return b;
        if (p)
            return p->findChild<QAbstractButton*>();
    }
    return nullptr;
}

void acionar(const QString& painel) {
    QAbstractButton* b = botaoDoHost(painel);
    exigirTela(b != nullptr, kMenuPDV);
    b->click();
}
} // namespace

void chamaTelaVendaRapida(int primeiro, int segundo, int terceiro) {
    exigirTela(botaoDoHost(QStringLiteral("pnlmni_mov_VendaRapida")) != nullptr, kMenuPDV);
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    acesso.setParametrosVendaRapida({primeiro, segundo, terceiro});
    struct Limpar {
        TdmAcesso& acesso;
        ~Limpar() { acesso.setParametrosVendaRapida({}); }
    } limpar{acesso}; // cleared whatever the quick sale did
    acionar(QStringLiteral("pnlmni_mov_VendaRapida"));
}

void chamaMenuFiscal() { acionar(QStringLiteral("pnlmni_sis_menufiscal")); }

} // namespace kvo
