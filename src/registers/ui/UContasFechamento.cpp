#include "registers/ui/UContasFechamento.h"

#include "core/Format.h"
#include "framework/ui/UserInterface.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

TfrmContasFechamento::TfrmContasFechamento(const DocumentoContas& doc, Currency total, QWidget* parent)
    : TrepPadraoGeral(parent), m_doc(doc), m_total(total) {
    setObjectName(QStringLiteral("frmContasFechamento"));
    setWindowTitle(QStringLiteral("Parcelas a receber"));
    m_parcelas = std::make_unique<RecordSet>();
    m_parcelas->addField(QStringLiteral("CON_PARCELA"), FieldType::Integer).setDisplayLabel(QStringLiteral("Parcela")).setReadOnly(true);
    m_parcelas->addField(QStringLiteral("CON_DTVENC"), FieldType::Date).setDisplayLabel(QStringLiteral("Vencimento")).setRequired(true);
    m_parcelas->addField(QStringLiteral("CON_VLRPARCELA"), FieldType::Currency).setDisplayLabel(QStringLiteral("Valor")).setRequired(true);
    m_parcelas->field(QStringLiteral("CON_VLRPARCELA")).onValidate = [](Field& f) {
        if (f.asCurrency() <= Currency())
            Error(QStringLiteral("O valor da parcela deve ser maior que zero."));
    };
    m_parcelas->open();
    const CondicaoPagamento condicao = TdmFormaDePagamento::gerarInstance().condicao(doc.codformapagamento);
    for (const Parcela& p : TdmFormaDePagamento::gerarParcelas(total, doc.emissao, condicao)) {
        m_parcelas->append();
        m_parcelas->field(QStringLiteral("CON_PARCELA")).setValueSilently(p.numero);
        m_parcelas->field(QStringLiteral("CON_DTVENC")).setValue(p.vencimento);
        m_parcelas->field(QStringLiteral("CON_VLRPARCELA")).setValue(QVariant::fromValue(p.valor));
        m_parcelas->post();
    }
    m_parcelas->first();

    auto* titulo = new QLabel(QStringLiteral("%1 — total %2 — %3")
                                  .arg(doc.numero, formatFloat(u"R$ ,0.00", total),
                                       TdmFormaDePagamento::gerarInstance().descricao(doc.codformapagamento)),
                              this);
    auto* model = new RecordSetModel(*m_parcelas, {}, this);
    auto* grade = new QTableView(this);
    grade->setObjectName(QStringLiteral("dbgParcelas"));
    grade->setModel(model);
    grade->verticalHeader()->hide();
    grade->horizontalHeader()->setStretchLastSection(true);
    m_diferenca = new QLabel(this);
    m_diferenca->setObjectName(QStringLiteral("lblDiferenca"));
    corpo()->addWidget(titulo);
    corpo()->addWidget(grade, 1);
    corpo()->addWidget(m_diferenca);
    connect(model, &RecordSetModel::editRefused, this,
            [](const QString& mensagem) { userInterface().showMessage(MessageKind::Error, mensagem); });
    connect(model, &QAbstractItemModel::dataChanged, this, &TfrmContasFechamento::atualizarDiferenca);
    connect(m_parcelas.get(), &RecordSet::rowChanged, this, &TfrmContasFechamento::atualizarDiferenca);
    adicionarBotao(QStringLiteral("btnGerar"), QStringLiteral("&Gerar"), [this] { btnGerarClick(); })
        ->setShortcut(QKeySequence(QStringLiteral("F2")));
    adicionarBotao(QStringLiteral("btnCancelar"), QStringLiteral("&Cancelar"), [this] { reject(); });
    atualizarDiferenca();
    resize(520, 360);
}

TfrmContasFechamento::~TfrmContasFechamento() = default;

void TfrmContasFechamento::atualizarDiferenca() {
    Currency soma;
    for (int r = 0; r < m_parcelas->recordCount(); ++r)
        soma += m_parcelas->valueAt(r, m_parcelas->field(QStringLiteral("CON_VLRPARCELA")).index()).value<Currency>();
    const Currency diferenca = m_total - soma;
    m_diferenca->setText(diferenca.isZero() ? QStringLiteral("Parcelas conferem com o total.")
                                            : QStringLiteral("Diferença: %1").arg(formatFloat(u"R$ ,0.00", diferenca)));
}

bool TfrmContasFechamento::btnGerarClick() {
    try {
        m_parcelas->checkBrowseMode();
        QVector<Parcela> lista;
        for (m_parcelas->first(); !m_parcelas->eof(); m_parcelas->next())
            lista << Parcela{int(m_parcelas->field(QStringLiteral("CON_PARCELA")).asInteger()),
                             m_parcelas->field(QStringLiteral("CON_DTVENC")).asDate(),
                             m_parcelas->field(QStringLiteral("CON_VLRPARCELA")).asCurrency()};
        if (m_somenteEscolher) {
            TdmContas::conferirParcelas(m_total, lista);
            m_escolhidas = lista;
        } else {
            TdmContas::gerarInstance().gravarParcelas(m_doc, m_total, lista);
        }
        m_gerou = true;
        accept();
        return true;
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    }
    return false;
}

bool TfrmContasFechamento::GerarContas(const DocumentoContas& doc, Currency total, QWidget* parent) {
    TfrmContasFechamento tela(doc, total, parent);
    tela.exec();
    return tela.gerou();
}

std::optional<QVector<Parcela>> TfrmContasFechamento::escolher(const DocumentoContas& doc, Currency total,
                                                               QWidget* parent) {
    TfrmContasFechamento tela(doc, total, parent);
    tela.m_somenteEscolher = true;
    tela.exec();
    if (!tela.gerou())
        return std::nullopt;
    return tela.m_escolhidas;
}

} // namespace kvo
