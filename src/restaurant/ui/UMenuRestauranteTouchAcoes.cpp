// What the touch map's keys, touches and buttons do; the rules are
// LancamentoTouch's, the other screens are reached as the classic map does.
#include "restaurant/ui/UMenuRestauranteTouch.h"

#include "core/Format.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/ChamadaExterna.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "registers/DProduto.h"
#include "restaurant/DResPedido.h"
#include "restaurant/MapaMesas.h"
#include "restaurant/ui/PainelMapaMesas.h"
#include "restaurant/ui/AcoesMapa.h"
#include "restaurant/ui/TelasRestaurante.h"
#include "restaurant/ui/UMenuRestauranteHost.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>

namespace kvo {

namespace {
const QString kNome = QStringLiteral("TfrmMenuRestauranteTouch");
QPointer<TfrmMenuRestauranteTouch> g_aberto;
bool enter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }
QString dinheiro(Currency v) { return formatFloat(u",0.00", v); }
} // namespace

TfrmMenuRestauranteTouch* menuRestauranteTouchAberto() { return g_aberto; }

void TfrmMenuRestauranteTouch::usarECF(FiscalPrinter* ecf, Digest* assinador) {
    m_ecf = ecf;
    m_assinador = assinador;
}

void TfrmMenuRestauranteTouch::VerificarControles(bool resize, int passo) { m_mapa->verificarControles(resize, passo); }

// Every touch and key action: only when its button is there for the user,
// one at a time, the refresh timer stopped; then the screen shows the new
// state with the focus where the waiter goes on.
void TfrmMenuRestauranteTouch::rodar(void (TfrmMenuRestauranteTouch::*metodo)(), QPushButton* origem) {
    if (m_emAcao || (origem && (origem->isHidden() || !origem->isEnabled())))
        return;
    using E = LancamentoTouch::Estado;
    const E antes = m_regras.estado();
    m_mapa->timer()->stop();
    m_emAcao = true;
    const bool ok = tratarEvento([this, metodo] { (this->*metodo)(); });
    m_emAcao = false;
    if (!isVisible())
        return;
    const E depois = m_regras.estado();
    if (depois == E::Mesa && antes != E::Mesa && antes != E::Garcon)
        m_edtMesa->clear(); // the next table
    if (depois == E::Lancando && antes != E::Lancando && antes != E::Cancelando)
        limparProduto();
    mostrarEstado();
    tratarEvento([this] { VerificarControles(false, MapaMesas::kRecontar); });
    // Another screen may have had the keyboard; one the action left open
    // (the host's quick sale) keeps it.
    if (QWidget* aberta = QApplication::activeModalWidget(); !aberta || aberta == this)
        activateWindow();
    if (!ok && m_regras.campoRecusado() != LancamentoTouch::Campo::Nenhum) {
        focarCampoRecusado();
        return;
    }
    switch (depois) {
    case E::Mesa:
        m_edtMesa->setFocus();
        m_edtMesa->selectAll();
        break;
    case E::Garcon: (m_edtGarcon->text().isEmpty() ? m_edtGarcon : m_edtSenha)->setFocus(); break;
    case E::Lancando:
        primeiroCampoDoProduto()->setFocus();
        primeiroCampoDoProduto()->selectAll();
        break;
    case E::Cancelando:
        m_itens->setFocus();
        if (!m_itens->currentIndex().isValid() && m_itens->model()->rowCount() > 0)
            m_itens->selectRow(0);
        break;
    }
}

void TfrmMenuRestauranteTouch::focarCampoRecusado() {
    using C = LancamentoTouch::Campo;
    QLineEdit* e = nullptr;
    switch (m_regras.campoRecusado()) {
    case C::Mesa: e = m_edtMesa; break;
    case C::Garcon: e = m_edtGarcon; break;
    case C::Senha: e = m_edtSenha; break;
    case C::Produto: e = m_edtProduto; break;
    case C::Quantidade: e = m_edtQtde; break;
    case C::Total: e = m_edtQtde; break; // the total follows the quantity
    case C::Nenhum: return;
    }
    e->setFocus();
    e->selectAll();
}

QLineEdit* TfrmMenuRestauranteTouch::primeiroCampoDoProduto() const { return m_qtdePrimeiro ? m_edtQtde : m_edtProduto; }

void TfrmMenuRestauranteTouch::limparProduto() {
    m_codproduto = 0;
    m_edtProduto->clear();
    m_edtDescricao->clear();
    m_edtVlrUnitario->clear();
    m_edtQtde->setText(QStringLiteral("1"));
    recalcularTotal();
    const int escolhido = m_cbxGarcon->currentData().toInt();
    m_cbxGarcon->clear();
    m_cbxGarcon->addItem(QString(), 0);
    tratarEvento([this] {
        for (const auto& [codigo, nome] : m_regras.garcons())
            m_cbxGarcon->addItem(nome, codigo);
    });
    m_cbxGarcon->setCurrentIndex(std::max(0, m_cbxGarcon->findData(escolhido)));
}

// Leaving the product code: found fills the panel, not found clears it.
void TfrmMenuRestauranteTouch::produtoDigitado() {
    if (m_regras.estado() != LancamentoTouch::Estado::Lancando)
        return;
    std::optional<LancamentoTouch::Produto> p;
    tratarEvento([&] { p = m_regras.localizarProduto(m_edtProduto->text()); });
    m_codproduto = p ? p->codproduto : 0;
    if (p && m_edtProduto->text().trimmed() != p->codigo)
        m_edtProduto->setText(p->codigo);
    m_edtDescricao->setText(p ? p->descricao : QString());
    m_edtVlrUnitario->setText(p ? dinheiro(p->vlrUnitario) : QString());
    m_edtVlrUnitario->setProperty("valor", p ? QVariant::fromValue(p->vlrUnitario) : QVariant());
    recalcularTotal();
}

void TfrmMenuRestauranteTouch::recalcularTotal() {
    const auto qtde = lerQuantidadeDigitada(m_edtQtde->text());
    const auto total = LancamentoTouch::totalItem(qtde, m_edtVlrUnitario->property("valor").value<Currency>());
    m_edtTotalItem->setText(total && m_codproduto ? dinheiro(*total) : QString());
}

void TfrmMenuRestauranteTouch::pesquisarProduto() {
    TwbtPesquisa& pesquisa = TdmProduto::gerarInstance().pesquisa();
    if (!TwbtPesquisa::dialogo)
        return;
    // The price column only where the shop shows it to the waiters; the
    // search is shared, so it is put back afterwards.
    const bool preco = TdmConfiguracao::gerarInstance().getStr(QStringLiteral("PRO.VLR.SERV")) == QLatin1String("S");
    pesquisa.setColunasOcultas(preco ? QStringList{} : QStringList{QStringLiteral("PRO_PRECO01")});
    struct Repor {
        TwbtPesquisa& p;
        ~Repor() { p.setColunasOcultas({}); }
    } repor{pesquisa};
    const QVariant chave = TwbtPesquisa::dialogo(pesquisa, QStringLiteral("Pesquisa de Produtos"));
    activateWindow();
    if (chave.isNull())
        return;
    m_edtProduto->setText(chave.toString());
    produtoDigitado();
    m_edtQtde->setFocus();
    m_edtQtde->selectAll();
}

// A keypad key: its caption goes into the field being typed.
void TfrmMenuRestauranteTouch::digitar(const QString& tecla) {
    auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!e || !e->isEnabled() || e->isReadOnly() || e->window() != this)
        return;
    e->insert(tecla);
}

// Esc and "Limpar" clear the field first: false when there was nothing to clear.
bool TfrmMenuRestauranteTouch::limparCampoFocado() {
    auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!e || !e->isEnabled() || e->isReadOnly() || e->window() != this)
        return false;
    const QString inicial = e == m_edtQtde ? QStringLiteral("1") : QString();
    if (e->text() == inicial)
        return false;
    e->setText(inicial);
    if (e == m_edtProduto)
        produtoDigitado();
    e->selectAll();
    return true;
}

void TfrmMenuRestauranteTouch::reject() {
    if (m_emAcao)
        return;
    if (limparCampoFocado())
        return;
    rodar(&TfrmMenuRestauranteTouch::btnSairClick, nullptr);
}

bool TfrmMenuRestauranteTouch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && enter(static_cast<QKeyEvent*>(event))) {
        using E = LancamentoTouch::Estado;
        const E e = m_regras.estado();
        if (watched == m_edtMesa || watched == m_edtSenha ||
            (watched == m_edtGarcon && !m_edtSenha->text().isEmpty())) {
            rodar(&TfrmMenuRestauranteTouch::btnLancarClick, m_lancar);
            return true;
        }
        if (watched == m_edtGarcon) {
            m_edtSenha->setFocus();
            return true;
        }
        if (e == E::Lancando && (watched == m_edtProduto || watched == m_edtQtde)) {
            if (watched == m_edtProduto)
                produtoDigitado();
            QLineEdit* ultimo = m_qtdePrimeiro ? m_edtProduto : m_edtQtde;
            if (watched != ultimo && !(watched == m_edtProduto && m_codproduto == 0 && m_edtProduto->text().isEmpty())) {
                ultimo->setFocus(); // the next field of the typing order
                ultimo->selectAll();
                return true;
            }
            rodar(&TfrmMenuRestauranteTouch::btnAdItemClick, m_adItem);
            return true;
        }
        if (watched == m_itens && e == E::Cancelando) {
            rodar(&TfrmMenuRestauranteTouch::btnLancarClick, m_lancar);
            return true;
        }
    }
    return TrepPadraoGeral::eventFilter(watched, event);
}

void TfrmMenuRestauranteTouch::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        acoesMapa::posicionar(*this);
    TrepPadraoGeral::showEvent(event);
    if (event->spontaneous())
        return;
    aplicarDireitos();
    mostrarEstado();
    executar([this] { VerificarControles(true, MapaMesas::kRecontar); });
    m_edtMesa->setFocus();
}

bool TfrmMenuRestauranteTouch::caixaLiberado() { return acoesMapa::caixaLiberado(); }

FiscalPrinter* TfrmMenuRestauranteTouch::ecf() { return acoesMapa::ecfAtiva(m_ecf); }

bool TfrmMenuRestauranteTouch::avisarECF(bool obrigatoria) { return acoesMapa::avisarECF(ecf(), obrigatoria); }

// The table the other screens open on: the one typed, else the map's.
int TfrmMenuRestauranteTouch::mesaEscolhida() const {
    bool ok = false;
    const int digitada = m_edtMesa->text().trimmed().toInt(&ok);
    return ok && digitada > 0 ? digitada : m_mapa->mesaSelecionada();
}

void TfrmMenuRestauranteTouch::btnLancarClick() {
    using E = LancamentoTouch::Estado;
    switch (m_regras.estado()) {
    case E::Mesa:
        if (!caixaLiberado())
            return;
        m_regras.vendaTouch = telasRestaurante().vendaTouch;
        m_regras.lancarMesa(m_edtMesa->text());
        break;
    case E::Garcon:
        m_regras.vendaTouch = telasRestaurante().vendaTouch;
        m_regras.lancarGarcon(m_edtGarcon->text(), m_edtSenha->text());
        break;
    case E::Lancando: btnAdItemClick(); return;
    case E::Cancelando: m_regras.cancelarItem(); return;
    }
    if (m_regras.estado() == E::Mesa)
        m_edtMesa->clear(); // back from the touch sale
}

void TfrmMenuRestauranteTouch::btnAdItemClick() {
    produtoDigitado(); // the code still being typed counts
    LancamentoTouch::Item item;
    item.codigo = m_edtProduto->text();
    item.codproduto = m_codproduto;
    item.descricao = m_edtDescricao->text();
    item.qtde = lerQuantidadeDigitada(m_edtQtde->text());
    item.vlrUnitario = m_edtVlrUnitario->property("valor").value<Currency>();
    item.garcon = m_cbxGarcon->isVisible() ? m_cbxGarcon->currentData().toInt() : 0;
    m_regras.adicionarItem(item);
    limparProduto();
    m_itens->scrollToBottom();
}

void TfrmMenuRestauranteTouch::btnExtratoClick() {
    avisarECF(true);
    const int mesa = m_regras.mesaDoExtrato(m_edtMesa->text());
    acoesMapa::imprimirConferencia(m_db, mesa, ecf(), m_assinador);
    m_regras.recarregar(); // the posting sees the bill printed
}

void TfrmMenuRestauranteTouch::btnSalvarClick() { m_regras.salvar(); }

void TfrmMenuRestauranteTouch::btnTransferenciaClick() {
    m_regras.encerrar(); // the other screens work on what is saved
    if (!caixaLiberado())
        return;
    exigirTela(bool(telasRestaurante().transferenciaMesa), QStringLiteral("TfrmResTransferencia"));
    telasRestaurante().transferenciaMesa();
}

void TfrmMenuRestauranteTouch::btnFechamentoClick() {
    m_regras.encerrar();
    avisarECF(false);
    chamaTelaVendaRapida(0, 0, 0);
    m_edtMesa->clear(); // the closing screen took the table; the next one is typed afresh
}

void TfrmMenuRestauranteTouch::btnDeliveryClick() {
    m_regras.encerrar();
    if (!caixaLiberado())
        return;
    acoesMapa::abrirDelivery();
}

void TfrmMenuRestauranteTouch::btnBalcaoClick() {
    m_regras.encerrar();
    avisarECF(false);
    chamaTelaVendaRapida(-1, 0, 0);
}

void TfrmMenuRestauranteTouch::btnCancelamentoClick() { m_regras.iniciarCancelamento(); }

void TfrmMenuRestauranteTouch::btnFechamentoParcialClick() {
    const int mesa = mesaEscolhida();
    m_regras.encerrar();
    avisarECF(false);
    exigirTela(bool(telasRestaurante().escolhaPedido), QStringLiteral("TfrmResPedido_Escolha"));
    telasRestaurante().escolhaPedido(QStringLiteral("FechaParcial"), mesa);
}

void TfrmMenuRestauranteTouch::btnTransItemClick() {
    const int mesa = mesaEscolhida();
    m_regras.encerrar();
    if (!caixaLiberado())
        return;
    exigirTela(bool(telasRestaurante().escolhaPedido), QStringLiteral("TfrmResPedido_Escolha"));
    telasRestaurante().escolhaPedido(QStringLiteral("TransItem"), mesa);
}

void TfrmMenuRestauranteTouch::btnSairClick() {
    if (m_regras.sair())
        done(QDialog::Rejected);
}

void registrarTelasMenuRestauranteTouch() {
    auto abrir = [](bool comECF) {
        QWidget& w = Libgeral::ChamaForm(kNome, [] { return g_aberto = new TfrmMenuRestauranteTouch; });
        if (comECF)
            static_cast<TfrmMenuRestauranteTouch&>(w).usarECF(chamadaExterna().ecf, chamadaExterna().assinador);
    };
    if (!ScreenRegistry::existe(kNome))
        ScreenRegistry::registrar(kNome, [abrir] { abrir(false); });
    if (!ScreenRegistry::existe(kNome + QStringLiteral(".ChamaTelaECF")))
        ScreenRegistry::registrar(kNome + QStringLiteral(".ChamaTelaECF"), [abrir] { abrir(true); });
    // The classic map's refresh stays; the touch map joins it.
    auto anterior = telasRestaurante().atualizarMapa;
    telasRestaurante().atualizarMapa = [anterior] {
        if (anterior)
            anterior();
        if (TfrmMenuRestauranteTouch* m = menuRestauranteTouchAberto(); m && m->isVisible())
            m->VerificarControles(false, MapaMesas::kRecontar);
    };
    auto outra = telasRestaurante().mesaSelecionada;
    telasRestaurante().mesaSelecionada = [outra] {
        if (TfrmMenuRestauranteTouch* m = menuRestauranteTouchAberto(); m && m->isVisible())
            return m->mesaEscolhida();
        return outra ? outra() : 0;
    };
}

} // namespace kvo
