#include "registers/ui/UCadastroSimples.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"

#include <QColor>
#include <QColorDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace kvo {

using namespace cadastro;

namespace {

QString semAtalho(QString rotulo) {
    rotulo.remove(u'&');
    if (rotulo.endsWith(u':'))
        rotulo.chop(1);
    return rotulo;
}

void mostrarCor(QToolButton* amostra, const QString& nome) {
    const QColor cor(nome.trimmed());
    amostra->setStyleSheet(cor.isValid() ? QStringLiteral("background-color: %1").arg(cor.name()) : QString());
}

// A colour as "#RRGGBB", typed or picked; the button shows it.
void campoCor(TrepPadraoCadastro& tela, QFormLayout* form, const CampoSimples& c) {
    auto* linha = new QWidget(&tela);
    auto* layout = new QHBoxLayout(linha);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QLineEdit(linha);
    edit->setObjectName(QStringLiteral("edt") + c.nome);
    edit->setPlaceholderText(QStringLiteral("#RRGGBB"));
    auto* amostra = new QToolButton(linha);
    amostra->setObjectName(QStringLiteral("btnCor") + c.nome);
    amostra->setText(QStringLiteral("…"));
    amostra->setToolTip(QStringLiteral("Escolher a cor"));
    layout->addWidget(edit, 1);
    layout->addWidget(amostra);
    form->addRow(c.rotulo, linha);
    tela.binder().bind(edit, c.nome);
    mostrarCor(amostra, edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, amostra, [amostra](const QString& t) { mostrarCor(amostra, t); });
    QObject::connect(amostra, &QToolButton::clicked, &tela, [&tela, edit] {
        const QColor escolhida = QColorDialog::getColor(QColor(edit->text().trimmed()), &tela, QStringLiteral("Cor"));
        if (!escolhida.isValid())
            return;
        edit->setText(escolhida.name().toUpper());
        Q_EMIT edit->editingFinished();
    });
}

} // namespace

TfrmCadastroSimples::TfrmCadastroSimples(const CadastroSimples& cadastro, RecordSet& registro, QWidget* parent)
    : TrepPadraoCadastro(registro, parent), m_cadastro(cadastro) {
    setObjectName(cadastro.tela);
    setWindowTitle(cadastro.titulo);
    campo(*this, campos(), QStringLiteral("Código:"), cadastro.chave)->setReadOnly(true);
    for (const CampoSimples& c : cadastro.campos) {
        switch (c.tipo) {
        case CampoSimples::Tipo::Texto:
        case CampoSimples::Tipo::Inteiro:
            campo(*this, campos(), c.rotulo, c.nome);
            break;
        case CampoSimples::Tipo::Cor:
            campoCor(*this, campos(), c);
            registro.field(c.nome).onValidate = [](Field& f) {
                const QString nome = f.asString().trimmed();
                if (!nome.isEmpty() && !(nome.startsWith(u'#') && QColor::isValidColorName(nome)))
                    Error(QStringLiteral("Cor inválida: use o formato #RRGGBB."));
            };
            registro.field(c.nome).onChange = [](Field& f) {
                const QString limpo = f.asString().trimmed().toUpper();
                if (limpo != f.asString())
                    f.setValueSilently(limpo);
            };
            break;
        case CampoSimples::Tipo::Marcador:
            marcador(*this, campos(), c.rotulo, c.nome);
            break;
        case CampoSimples::Tipo::Lista:
            lista(*this, campos(), c.rotulo, c.nome, c.opcoes);
            break;
        case CampoSimples::Tipo::Tabela:
            listaTabela(*this, campos(), c.rotulo, c.nome, c.tabela, c.chave, c.mostrar);
            break;
        }
        if (c.tipo == CampoSimples::Tipo::Inteiro)
            registro.field(c.nome).onValidate = [rotulo = semAtalho(c.rotulo)](Field& f) {
                if (f.asInteger() < 0)
                    Error(QStringLiteral("%1 não pode ser negativo.").arg(rotulo));
            };
        if (c.validar)
            registro.field(c.nome).onValidate = c.validar;
    }
    SetGeneretor(cadastro.gerador);
    resize(440, 120 + 34 * int(cadastro.campos.size()));
}

void TfrmCadastroSimples::ValidaDados() {
    RecordSet& rs = registro();
    for (const CampoSimples& c : m_cadastro.campos)
        if (!c.obrigatorio.isEmpty() && texto(rs, c.nome).isEmpty())
            Error(QStringLiteral("Informe %1.").arg(c.obrigatorio));
    if (!m_cadastro.unico.isEmpty()) {
        const QString valor = texto(rs, m_cadastro.unico);
        Libgeral::ValidaCampo(*rs.database(), m_cadastro.tabela, m_cadastro.unico, valor, m_cadastro.chave,
                              rs.field(m_cadastro.chave).value(), m_cadastro.mensagemUnico.arg(valor));
    }
}

TfrmCadastroSimples_Pesq::TfrmCadastroSimples_Pesq(const CadastroSimples& cadastro, QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(), cadastro.selectPesquisa, parent), m_cadastro(cadastro) {
    setObjectName(cadastro.tela + QStringLiteral("_Pesq"));
    setWindowTitle(cadastro.tituloPesquisa);
    for (const auto& [titulo, coluna] : cadastro.tiposPesquisa)
        adicionarTipoPesquisa(titulo, coluna);
    setOrdem(cadastro.ordem);
    rotularColunas(*this, cadastro.colunas);
}

bool TfrmCadastroSimples_Pesq::abrirCadastro(Modo modo) {
    const bool novo = modo == Modo::Incluir;
    auto rs = abrirRegistro(TdmAcesso::gerarInstance().sqlCon(), m_cadastro.tabela, m_cadastro.chave,
                            novo ? QVariant() : registros().field(m_cadastro.chave).value(), novo);
    if (novo)
        for (const CampoSimples& c : m_cadastro.campos)
            if (c.padrao.isValid())
                rs->field(c.nome).setValue(c.padrao);
    TfrmCadastroSimples tela(m_cadastro, *rs, this);
    return mostrarCadastro(tela, modo);
}

void TfrmCadastroSimples_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), m_cadastro.tabela, m_cadastro.chave,
                       registros().field(m_cadastro.chave).value(), QString());
}

} // namespace kvo
