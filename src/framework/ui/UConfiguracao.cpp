#include "framework/ui/UConfiguracao.h"

#include "framework/db/RecordSetModel.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/UserInterface.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

TfrmConfiguracao::TfrmConfiguracao(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConfiguracao"));
    setWindowTitle(QStringLiteral("Configurações"));
    m_rs = std::make_unique<RecordSet>(TdmAcesso::gerarInstance().sqlCon());
    m_rs->setCommandText(QStringLiteral("select CFG_GRUPO, CFG_CHAVE, CFG_DESCRICAO, CFG_TIPO, CFG_VALOR from CONFIGURACAO "
                                        "order by CFG_GRUPO, CFG_CHAVE"));
    m_rs->setUpdateTable(QStringLiteral("CONFIGURACAO"));
    m_rs->setKeyFields({QStringLiteral("CFG_CHAVE")});
    m_rs->open();
    const char* labels[][2] = {{"CFG_GRUPO", "Grupo"}, {"CFG_CHAVE", "Chave"}, {"CFG_DESCRICAO", "Descrição"},
                               {"CFG_TIPO", "Tipo"}, {"CFG_VALOR", "Valor"}};
    for (auto& l : labels) {
        Field& f = m_rs->field(QString::fromLatin1(l[0]));
        f.setDisplayLabel(QString::fromUtf8(l[1]));
        f.setReadOnly(f.name() != QLatin1String("CFG_VALOR"));
    }
    m_rs->field(QStringLiteral("CFG_VALOR")).onValidate = [](Field& f) {
        const QString tipo = f.recordSet().field(QStringLiteral("CFG_TIPO")).asString().trimmed();
        bool ok = true;
        if (tipo == QLatin1String("INT") && !f.asString().trimmed().isEmpty())
            f.asString().trimmed().toInt(&ok);
        if (!ok)
            Error(QStringLiteral("O parâmetro %1 aceita somente números inteiros.")
                      .arg(f.recordSet().field(QStringLiteral("CFG_CHAVE")).asString()));
    };
    m_model = new RecordSetModel(*m_rs, {}, this);

    m_grupo = new QComboBox(this);
    m_grupo->setObjectName(QStringLiteral("cbxGrupo"));
    m_grupo->addItem(QStringLiteral("(todos)"));
    QStringList grupos;
    for (m_rs->first(); !m_rs->eof(); m_rs->next())
        if (!grupos.contains(m_rs->field(QStringLiteral("CFG_GRUPO")).asString()))
            grupos << m_rs->field(QStringLiteral("CFG_GRUPO")).asString();
    m_grupo->addItems(grupos);
    connect(m_grupo, &QComboBox::currentIndexChanged, this, &TfrmConfiguracao::cbxGrupoChange);

    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgParametros"));
    m_grade->setModel(m_model);
    m_grade->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_grade->verticalHeader()->hide();
    m_grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] {
        if (!m_model->lastError().isEmpty())
            userInterface().showMessage(MessageKind::Error, m_model->lastError());
    });

    auto* botoes = new QDialogButtonBox(this);
    QPushButton* salvar = botoes->addButton(QStringLiteral("&Salvar"), QDialogButtonBox::AcceptRole);
    salvar->setObjectName(QStringLiteral("btnSalvar"));
    QPushButton* fechar = botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    fechar->setObjectName(QStringLiteral("btnFechar"));
    connect(salvar, &QPushButton::clicked, this, [this] { btnSalvarClick(); });
    connect(fechar, &QPushButton::clicked, this, &QDialog::reject);

    auto* topo = new QHBoxLayout;
    topo->addWidget(new QLabel(QStringLiteral("Grupo:"), this));
    topo->addWidget(m_grupo, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(m_grade, 1);
    layout->addWidget(botoes);
    resize(860, 520);
}

TfrmConfiguracao::~TfrmConfiguracao() = default;

void TfrmConfiguracao::cbxGrupoChange() {
    const QString grupo = m_grupo->currentIndex() <= 0 ? QString() : m_grupo->currentText();
    if (grupo.isEmpty())
        m_rs->clearFilter();
    else
        m_rs->setFilter([grupo](const RowView& row) { return row.value(QStringLiteral("CFG_GRUPO")).toString() == grupo; });
}

bool TfrmConfiguracao::btnSalvarClick() {
    try {
        m_rs->applyUpdates(0);
        TdmConfiguracao::gerarInstance().recarregar();
        Informacao(QStringLiteral("Configurações gravadas."));
        return true;
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    }
    return false;
}

void TfrmConfiguracao::reject() {
    if (m_rs->hasPendingUpdates() && Confirma(QStringLiteral("Há alterações não gravadas. Deseja gravá-las?")) &&
        !btnSalvarClick())
        return;
    QDialog::reject();
}

void TfrmConfiguracao::chamarTela() {
    TfrmConfiguracao tela;
    tela.exec();
}

} // namespace kvo
