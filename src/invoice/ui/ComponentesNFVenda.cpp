#include "invoice/ui/ComponentesNFVenda.h"

#include "framework/ui/FieldBinder.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kvo::nfvenda::ui {

namespace {

Opcoes comDescricao(std::initializer_list<std::pair<const char*, const char*>> tabela) {
    Opcoes opcoes;
    for (const auto& [codigo, descricao] : tabela)
        opcoes.append({QString::fromLatin1(codigo),
                       QString::fromLatin1(codigo) + QStringLiteral(" - ") + QString::fromUtf8(descricao)});
    return opcoes;
}

// F3 and F8 in a code box open its search.
class TeclasPesquisa : public QObject {
public:
    TeclasPesquisa(QObject* pai, std::function<void()> abrir) : QObject(pai), m_abrir(std::move(abrir)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int tecla = static_cast<QKeyEvent*>(event)->key();
            if (tecla == Qt::Key_F3 || tecla == Qt::Key_F8) {
                m_abrir();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_abrir;
};

} // namespace

const Opcoes& opcoesCstIcms() {
    static const Opcoes o = comDescricao({
        {"000", "Tributada integralmente"},
        {"010", "Tributada e com cobrança do ICMS por substituição tributária"},
        {"020", "Com redução de base de cálculo"},
        {"030", "Isenta ou não tributada e com cobrança do ICMS por substituição tributária"},
        {"040", "Isenta"},
        {"041", "Não tributada"},
        {"050", "Suspensão"},
        {"051", "Diferimento"},
        {"060", "ICMS cobrado anteriormente por substituição tributária"},
        {"070", "Com redução de base de cálculo e cobrança do ICMS por substituição tributária"},
        {"090", "Outras"},
    });
    return o;
}

const Opcoes& opcoesCsosn() {
    static const Opcoes o = comDescricao({
        {"101", "Tributada pelo Simples Nacional com permissão de crédito"},
        {"102", "Tributada pelo Simples Nacional sem permissão de crédito"},
        {"103", "Isenção do ICMS no Simples Nacional para faixa de receita bruta"},
        {"201", "Tributada pelo Simples Nacional com permissão de crédito e com cobrança do ICMS por substituição tributária"},
        {"202", "Tributada pelo Simples Nacional sem permissão de crédito e com cobrança do ICMS por substituição tributária"},
        {"203", "Isenção do ICMS no Simples Nacional para faixa de receita bruta e com cobrança do ICMS por substituição tributária"},
        {"300", "Imune"},
        {"400", "Não tributada pelo Simples Nacional"},
        {"500", "ICMS cobrado anteriormente por substituição tributária (substituído) ou por antecipação"},
        {"900", "Outros"},
    });
    return o;
}

const Opcoes& opcoesModBC() {
    static const Opcoes o = comDescricao({
        {"0", "Margem Valor Agregado (%)"},
        {"1", "Pauta (Valor)"},
        {"2", "Preço Tabelado Máx. (valor)"},
        {"3", "Valor da operação"},
    });
    return o;
}

const Opcoes& opcoesCstIpi() {
    static const Opcoes o = comDescricao({
        {"00", "Entrada com recuperação de crédito"},
        {"01", "Entrada tributada com alíquota zero"},
        {"02", "Entrada isenta"},
        {"03", "Entrada não-tributada"},
        {"04", "Entrada imune"},
        {"05", "Entrada com suspensão"},
        {"49", "Outras entradas"},
        {"50", "Saída tributada"},
        {"51", "Saída tributada com alíquota zero"},
        {"52", "Saída isenta"},
        {"53", "Saída não-tributada"},
        {"54", "Saída imune"},
        {"55", "Saída com suspensão"},
        {"99", "Outras saídas"},
    });
    return o;
}

const Opcoes& opcoesCstPisCofins() {
    static const Opcoes o = comDescricao({
        {"01", "Operação Tributável com Alíquota Básica"},
        {"02", "Operação Tributável com Alíquota Diferenciada"},
        {"03", "Operação Tributável com Alíquota por Unidade de Medida de Produto"},
        {"04", "Operação Tributável Monofásica - Revenda a Alíquota Zero"},
        {"05", "Operação Tributável por Substituição Tributária"},
        {"06", "Operação Tributável a Alíquota Zero"},
        {"07", "Operação Isenta da Contribuição"},
        {"08", "Operação sem Incidência da Contribuição"},
        {"09", "Operação com Suspensão da Contribuição"},
        {"49", "Outras Operações de Saída"},
        {"50", "Operação com Direito a Crédito - Vinculada Exclusivamente a Receita Tributada no Mercado Interno"},
        {"51", "Operação com Direito a Crédito - Vinculada Exclusivamente a Receita Não Tributada no Mercado Interno"},
        {"52", "Operação com Direito a Crédito - Vinculada Exclusivamente a Receita de Exportação"},
        {"53", "Operação com Direito a Crédito - Vinculada a Receitas Tributadas e Não-Tributadas no Mercado Interno"},
        {"54", "Operação com Direito a Crédito - Vinculada a Receitas Tributadas no Mercado Interno e de Exportação"},
        {"55", "Operação com Direito a Crédito - Vinculada a Receitas Não-Tributadas no Mercado Interno e de Exportação"},
        {"56", "Operação com Direito a Crédito - Vinculada a Receitas Tributadas e Não-Tributadas no Mercado Interno, e de Exportação"},
        {"60", "Crédito Presumido - Operação de Aquisição Vinculada Exclusivamente a Receita Tributada no Mercado Interno"},
        {"61", "Crédito Presumido - Operação de Aquisição Vinculada Exclusivamente a Receita Não-Tributada no Mercado Interno"},
        {"62", "Crédito Presumido - Operação de Aquisição Vinculada Exclusivamente a Receita de Exportação"},
        {"63", "Crédito Presumido - Operação de Aquisição Vinculada a Receitas Tributadas e Não-Tributadas no Mercado Interno"},
        {"64", "Crédito Presumido - Operação de Aquisição Vinculada a Receitas Tributadas no Mercado Interno e de Exportação"},
        {"65", "Crédito Presumido - Operação de Aquisição Vinculada a Receitas Não-Tributadas no Mercado Interno e de Exportação"},
        {"66", "Crédito Presumido - Operação de Aquisição Vinculada a Receitas Tributadas e Não-Tributadas no Mercado Interno, e de Exportação"},
        {"67", "Crédito Presumido - Outras Operações"},
        {"70", "Operação de Aquisição sem Direito a Crédito"},
        {"71", "Operação de Aquisição com Isenção"},
        {"72", "Operação de Aquisição com Suspensão"},
        {"73", "Operação de Aquisição a Alíquota Zero"},
        {"74", "Operação de Aquisição sem Incidência da Contribuição"},
        {"75", "Operação de Aquisição por Substituição Tributária"},
        {"98", "Outras Operações de Entrada"},
        {"99", "Outras Operações"},
    });
    return o;
}

CampoPesquisa campoPesquisa(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo,
                            std::function<TwbtPesquisa&()> pesquisa, std::function<void()> depois) {
    QLineEdit* edit = editarCampo(tela, pai, campo);
    auto* botao = new QToolButton(pai);
    botao->setObjectName(QStringLiteral("btnPesq") + campo);
    botao->setText(QStringLiteral("..."));
    botao->setToolTip(QStringLiteral("Pesquisar (F3 ou F8)"));
    botao->setFocusPolicy(Qt::NoFocus); // the keys do it from the box
    RecordSet* rs = &tela.registro();
    auto abrir = [&tela, rs, edit, campo, pesquisa, depois] {
        if (edit->isReadOnly() || tela.somenteLeitura())
            return;
        tratarEvento([&] {
            if (Libgeral::AbrirPesquisa(*rs, campo, pesquisa()))
                edit->setFocus();
            tela.binder().refresh();
            if (depois)
                depois();
        });
    };
    edit->installEventFilter(new TeclasPesquisa(edit, abrir));
    QObject::connect(botao, &QToolButton::clicked, edit, abrir);
    return {edit, botao};
}

QLineEdit* mostrarCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo) {
    auto* edit = new QLineEdit(pai);
    edit->setObjectName(QStringLiteral("edt") + campo);
    tela.binder().bind(edit, campo);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QLineEdit* editarCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo) {
    auto* edit = new QLineEdit(pai);
    edit->setObjectName(QStringLiteral("edt") + campo);
    tela.binder().bind(edit, campo);
    return edit;
}

QComboBox* listaCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& campo, const Opcoes& opcoes) {
    auto* box = new QComboBox(pai);
    box->setObjectName(QStringLiteral("cbx") + campo);
    for (const auto& [valor, titulo] : opcoes)
        box->addItem(titulo, valor);
    // The layout's long descriptions must not widen the screen.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    tela.binder().bind(box, campo);
    return box;
}

QCheckBox* marcarCampo(TrepPadraoCadastro& tela, QWidget* pai, const QString& titulo, const QString& campo) {
    auto* box = new QCheckBox(titulo, pai);
    box->setObjectName(QStringLiteral("chk") + campo);
    tela.binder().bind(box, campo);
    return box;
}

QWidget* Grade::add(const QString& rotulo, QWidget* controle, int largura) {
    return add(rotulo, QList<QWidget*>{controle}, largura);
}

QWidget* Grade::add(const QString& rotulo, const QList<QWidget*>& controles, int largura) {
    if (m_coluna + largura > m_colunas)
        quebrar();
    auto* celula = new QHBoxLayout;
    celula->setSpacing(2);
    for (QWidget* c : controles)
        celula->addWidget(c, c->inherits("QToolButton") ? 0 : 1);
    QLabel* label = nullptr;
    if (!rotulo.isEmpty()) {
        label = new QLabel(rotulo);
        label->setBuddy(controles.first());
        m_layout->addWidget(label, m_linha, m_coluna * 2, Qt::AlignRight);
    }
    m_layout->addLayout(celula, m_linha, m_coluna * 2 + 1, 1, largura * 2 - 1);
    m_coluna += largura;
    return label;
}

void Grade::quebrar() {
    if (m_coluna == 0)
        return;
    ++m_linha;
    m_coluna = 0;
}

} // namespace kvo::nfvenda::ui
