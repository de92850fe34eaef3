// The invoice screen's actions: referenced documents, the child lines and
// their totals, the checks and the order of the save.
#include "invoice/ui/UNFVenda.h"

#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Pesquisa.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/ui/UNFVendaItem.h"
#include "invoice/ui/UNFVendaServico.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>

namespace kvo {

namespace {
qint64 inteiro(const RecordSet& rs, const char* campo) { return rs.field(QLatin1String(campo)).asInteger(); }
QString texto(const RecordSet& rs, const char* campo) { return rs.field(QLatin1String(campo)).asString().trimmed(); }

// A one-field scratch record the searches write their chosen key into.
std::unique_ptr<RecordSet> escolha(const QString& campo) {
    auto rs = std::make_unique<RecordSet>();
    rs->addField(campo, FieldType::Integer);
    rs->open();
    rs->append();
    return rs;
}

// Grid columns (field, title).
const std::pair<const char*, const char*> colunasItens[] = {
    {"CODPESQUISA", "Código"}, {"PRO_DESCRICAO", "Descrição"}, {"NFVI_QTDE_UND", "Qtde."},
    {"NFVI_VLR_UND", "Vlr. Unit."}, {"NFVI_VLRDESC", "Desconto"}, {"NFVI_TOTAL", "Total"},
    {"NFVI_ALIQ_ICMS", "% ICMS"}, {"NFVI_ICMS", "ICMS"}, {"NFVI_ALIQ_IPI", "% IPI"}, {"NFVI_IPI", "IPI"},
    {"CODCFOP", "CFOP"}};
const std::pair<const char*, const char*> colunasServicos[] = {
    {"NFVS_DESCRICAO", "Descrição"}, {"NFVS_UNIDADE", "Unidade"}, {"NFVS_QTDE", "Qtde."},
    {"NFVS_VLR_UNITARIO", "Vlr. Unit."}, {"NFVS_TOTAL", "Total"}};
} // namespace

void TfrmNFVenda::novaNota() {
    m_dm.novaNFVenda();
    binder().refresh();
}

bool TfrmNFVenda::abrirNota(int numero, const QString& serie, bool editar) {
    if (!m_dm.abrirNFVenda(numero, serie))
        return false;
    if (editar)
        m_dm.editarNFVenda();
    else
        DeixarReadOnLyWin(true);
    binder().refresh();
    return true;
}

bool TfrmNFVenda::ChamaForm(int codigo) {
    TfrmNFVenda tela;
    tela.m_codigoChamada = codigo;
    tela.novaNota();
    tela.exec();
    return tela.m_faturou;
}

bool TfrmNFVenda::ChamaFormItens(const QString& texto) {
    TfrmNFVenda tela;
    tela.m_textoChamada = texto;
    tela.novaNota();
    tela.exec();
    return tela.m_faturou;
}

bool TfrmNFVenda::inserindo() const {
    const RecordSet& c = registro();
    return c.state() == RecordSet::State::Insert ||
           (c.active() && !c.isEmpty() && c.updateStatus() == RecordSet::UpdateStatus::Inserted);
}

RecordSet& TfrmNFVenda::filhos() const { return m_servicos ? m_dm.cdsNFVendaServico() : m_dm.cdsNFVendaItem(); }

void TfrmNFVenda::ligarGradeFilhos() {
    m_servicos = texto(registro(), "SER_TIPO") == QStringLiteral("Talão");
    RecordSetModel* modelo = m_servicos ? m_modeloServicos : m_modeloItens;
    if (m_grade->model() == modelo)
        return;
    RecordSet& rs = filhos();
    QStringList colunas;
    auto colunar = [&](const auto& lista) {
        for (const auto& [campo, titulo] : lista)
            if (Field* f = rs.findField(QString::fromLatin1(campo))) {
                if (!f->required()) // required fields keep the label their messages use
                    f->setDisplayLabel(QString::fromUtf8(titulo));
                colunas << f->name();
            }
    };
    if (m_servicos)
        colunar(colunasServicos);
    else
        colunar(colunasItens);
    modelo->setColumns(colunas);
    m_grade->setModel(modelo);
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& i) {
        RecordSet& atual = filhos();
        if (i.isValid() && i.row() < atual.recordCount() && atual.state() == RecordSet::State::Browse)
            atual.setRecNo(i.row() + 1);
    });
}

void TfrmNFVenda::ChamaFrmFilho(TrepPadraoPesquisa::Modo modo) {
    using Modo = TrepPadraoPesquisa::Modo;
    RecordSet& rs = filhos();
    if (modo != Modo::Incluir && (!rs.active() || rs.isEmpty()))
        Error(QStringLiteral("Nenhum item selecionado!"));
    {
        // Whatever the child screen did, the header's totals follow (step 5).
        auto recalcular = qScopeGuard([this] {
            m_dm.NFVENDA_CalcularTotal();
            binder().refresh();
        });
        if (m_servicos) {
            if (modo == Modo::Incluir)
                m_dm.novoServico();
            else if (modo == Modo::Alterar)
                rs.edit();
            TfrmNFVendaServico tela;
            if (modo == Modo::Visualizar)
                tela.DeixarReadOnLyWin(true);
            tela.exec();
        } else {
            if (modo == Modo::Incluir)
                m_dm.novoItem();
            else if (modo == Modo::Alterar)
                m_dm.editarItem();
            TfrmNFVendaItem tela;
            if (modo == Modo::Visualizar)
                tela.DeixarReadOnLyWin(true);
            tela.exec();
        }
    }
    if (rs.recNo() > 0)
        m_grade->selectRow(rs.recNo() - 1);
    m_grade->setFocus();
}

void TfrmNFVenda::excluirFilho() {
    RecordSet& rs = filhos();
    if (!rs.active() || rs.isEmpty())
        Error(QStringLiteral("Nenhum item selecionado!"));
    if (!ConfirmaNao(QStringLiteral("Confirma a exclusão do item selecionado?")))
        return;
    if (m_servicos)
        m_dm.excluirServico();
    else
        m_dm.excluirItem();
    binder().refresh();
}

void TfrmNFVenda::btnRefNFeClick() {
    RecordSet& c = registro();
    if (inteiro(c, "CODNFCOMPRA_DEV") > 0)
        Error(QStringLiteral("Já foi colocado uma nota de compra de referência!"));
    const qint64 pessoa = inteiro(c, "CODPESSOA");
    if (pessoa <= 0)
        Error(QStringLiteral("Você precisa escolher uma pessoa primeiro!"));
    TwbtPesquisa& pesquisa = m_dm.pesquisaNFVenda();
    pesquisa.SetSQL4Where(QStringLiteral(" NFVENDA.CODPESSOA = ") + QString::number(pessoa));
    auto semFiltro = qScopeGuard([&pesquisa] { pesquisa.SetSQL4Where({}); });
    auto chave = escolha(QStringLiteral("CODNFVENDA"));
    if (!pesquisa.AbrePesquisa(chave->field(0)))
        return;
    const int numero = int(chave->field(0).asInteger());
    // The search is keyed on the number alone: one number may exist in
    // several series of the customer, and the user says which.
    QStringList series;
    if (RecordSet* achados = pesquisa.encontrado())
        for (int r = 0; r < achados->recordCount(); ++r)
            series << achados->valueAt(r, achados->field(QStringLiteral("CODSERIE")).index()).toString().trimmed();
    if (series.isEmpty())
        return;
    QString serie = series.first();
    if (series.size() > 1) {
        const auto resposta = userInterface().input(
            QStringLiteral("Nota de referência"),
            QStringLiteral("A nota %1 existe nas séries %2. Informe a série:").arg(numero).arg(series.join(QStringLiteral(", "))),
            serie, false);
        if (!resposta)
            return;
        serie = resposta->trimmed();
        if (!series.contains(serie))
            Error(QStringLiteral("A nota %1 não existe na série %2.").arg(numero).arg(serie));
    }
    if (numero == inteiro(c, "CODNFVENDA") && serie == texto(c, "CODSERIE"))
        Error(QStringLiteral("Você não pode escolher a mesma nota!"));
    c.edit();
    c.field(QStringLiteral("CODNFVENDA_DEV")).setValue(numero);
    c.field(QStringLiteral("CODSERIE_DEV")).setValue(serie);
    binder().refresh();
}

void TfrmNFVenda::btnNFCompraClick() {
    RecordSet& c = registro();
    if (inteiro(c, "CODNFVENDA_DEV") > 0)
        Error(QStringLiteral("Já foi colocado uma NF-e de referência!"));
    const qint64 pessoa = inteiro(c, "CODPESSOA");
    if (pessoa <= 0)
        Error(QStringLiteral("Você precisa escolher uma pessoa primeiro!"));
    TwbtPesquisa pesquisa(*c.database());
    pesquisa.configurar(QStringLiteral("select CODNFCOMPRA, NFC_NRNOTA, NFC_DATA_EMI, NFC_TOTAL_NOTA from NFCOMPRA"),
                        QStringLiteral("CODNFCOMPRA"), QStringLiteral("Pesquisa de Nota Fiscal de Compra"),
                        QStringLiteral("Registro não foi encontrado"));
    pesquisa.SetSQL4Where(QStringLiteral("CODPESSOA = ") + QString::number(pessoa));
    auto chave = escolha(QStringLiteral("CODNFCOMPRA"));
    if (!pesquisa.AbrePesquisa(chave->field(0)))
        return;
    c.edit();
    c.field(QStringLiteral("CODNFCOMPRA_DEV")).setValue(chave->field(0).value());
    binder().refresh();
}

void TfrmNFVenda::btnRefECFClick() {
    RecordSet& c = registro();
    if (inteiro(c, "CODPEDECF") > 0)
        Error(QStringLiteral("Já foi colocado um \"Pedido de ECF\" de referência!"));
    Libgeral::AbrirPesquisa(c, QStringLiteral("CODPEDECF"), m_dm.pesquisaPedidoECF());
    binder().refresh();
}

void TfrmNFVenda::btnCopiarItensClick() {
    RecordSet& c = registro();
    if (c.state() != RecordSet::State::Insert)
        return;
    binder().confirmar(focusWidget());
    if (c.field(QStringLiteral("CODNFVENDA")).isNull() || texto(c, "CODSERIE").isEmpty())
        Error(QStringLiteral("Você precisa informa uma Série para essa nota fiscal"));
    c.post(); // the required fields are checked here
    c.edit();
    m_serie->setEnabled(false); // the number is settled
}

// The number box is read-only: the number a new invoice takes is the series'
// counter at the moment of saving (another terminal may have taken the one
// shown meanwhile; the save then takes the next and says so). The check
// refuses when that number is already used in the series.
void TfrmNFVenda::ValidaDados() {
    if (!inserindo())
        return;
    const RecordSet& c = registro();
    const QString sql = QStringLiteral("select 1 from NFVENDA n join SERIE s on s.CODSERIE = n.CODSERIE and "
                                       "s.SER_SEQ = n.CODNFVENDA where n.CODSERIE = ") +
                        quotedStr(texto(c, "CODSERIE"));
    if (!c.database()->scalar(sql).isNull()) {
        m_serie->setFocus();
        Error(QStringLiteral("Numero da Nota fiscal já cadastrada"));
    }
}

// The series counter and the fiscal seal advance inside the data module's
// saving transaction (the number is taken there under the series row's lock),
// once per new invoice; nothing here advances them again.
void TfrmNFVenda::gravar() {
    const bool chamadoParaFaturar = m_codigoChamada > 0 || !m_textoChamada.isEmpty();
    if (inserindo() && chamadoParaFaturar) {
        const RecordSet& c = registro();
        if (!m_dm.NFVENDA_Faturar_Pergunta(int(inteiro(c, "CODNFVENDA")), texto(c, "CODSERIE"), texto(c, "NFV_TIPO"),
                                           false))
            Error(QStringLiteral("Você precisa Faturar essa nota Fiscal"));
        m_faturou = true;
    }
    m_dm.gravarNFVenda();
}

void TfrmNFVenda::cancelar() {
    m_dm.cancelarNFVenda();
    QDialog::reject();
}

void TfrmNFVenda::reject() { executar([this] { cancelar(); }); }

} // namespace kvo
