#include "sales/ui/UMenuCorePDV.h"

#include "devices/FiscalPrinter.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "registers/DECF.h"
#include "sales/ui/UVendaRapida.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvo {

namespace {

QPushButton* botaoNoPainel(QWidget* pai, const QString& painel, const QString& botao, const QString& titulo) {
    auto* p = new QWidget(pai);
    p->setObjectName(painel);
    auto* l = new QVBoxLayout(p);
    auto* b = new QPushButton(titulo, p);
    b->setObjectName(botao);
    b->setMinimumSize(200, 56);
    l->addWidget(b);
    pai->layout()->addWidget(p);
    return b;
}

QPointer<TfrmMenuCorePDV> g_menu;

} // namespace

TfrmMenuCorePDV::TfrmMenuCorePDV(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMenuCorePDV"));
    setWindowTitle(QStringLiteral("Menu PDV"));
    new QVBoxLayout(this);
    QPushButton* venda = botaoNoPainel(this, QStringLiteral("pnlmni_mov_VendaRapida"),
                                       QStringLiteral("btnVendaRapida"), QStringLiteral("Venda Rápida"));
    connect(venda, &QPushButton::clicked, this, [] { tratarEvento([] { TfrmVendaRapida::abrir(); }); });
    QPushButton* fiscal = botaoNoPainel(this, QStringLiteral("pnlmni_sis_menufiscal"), QStringLiteral("btnMenuFiscal"),
                                        QStringLiteral("Menu Fiscal"));
    connect(fiscal, &QPushButton::clicked, this, [] { tratarEvento(chamarMenuFiscal); });
}

void chamarMenuFiscal() {
    FiscalPrinter* ecf = chamadaExterna().ecf;
    if (!ecf || !ecf->Ativo())
        ecf = TdmECF::gerarInstance().Ativo() ? &TdmECF::gerarInstance().ecf() : nullptr;
    if (!ecf)
        Error(QStringLiteral("Impressora (ECF) não disponível!"));
    QDialog menu;
    menu.setObjectName(QStringLiteral("frmMenuFiscal"));
    menu.setWindowTitle(QStringLiteral("Menu Fiscal"));
    auto* l = new QVBoxLayout(&menu);
    auto* leitura = new QPushButton(QStringLiteral("Leitura X"), &menu);
    leitura->setObjectName(QStringLiteral("btnLeituraX"));
    leitura->setMinimumSize(200, 56);
    auto* fechar = new QPushButton(QStringLiteral("Fechar"), &menu);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    fechar->setMinimumSize(200, 56);
    l->addWidget(leitura);
    l->addWidget(fechar);
    QObject::connect(leitura, &QPushButton::clicked, &menu, [ecf] {
        tratarEvento([ecf] {
            try {
                ecf->LeituraX();
            } catch (const FiscalPrinterError& e) {
                Error(e.message());
            }
            Informacao(QStringLiteral("Leitura X emitida."));
        });
    });
    QObject::connect(fechar, &QPushButton::clicked, &menu, &QDialog::accept);
    menu.exec();
}

void registrarTelasVendaRapida() {
    if (!g_menu) {
        g_menu = new TfrmMenuCorePDV;
        g_menu->hide();
    }
    ScreenRegistry::registrar(QStringLiteral("TfrmVendaRapida"), [] {
        TdmAcesso& acesso = TdmAcesso::gerarInstance();
        acesso.setParametrosVendaRapida({-1, 0, 0});
        TfrmVendaRapida::abrir();
        acesso.setParametrosVendaRapida({});
    });
    ScreenRegistry::registrar(QStringLiteral("TfrmMenuCorePDV"), [] {
        g_menu->show();
        g_menu->raise();
    });
}

} // namespace kvo
