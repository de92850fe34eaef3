#include "registers/ui/CadastroComum.h"

#include "framework/db/SqlText.h"
#include "framework/ui/FieldBinder.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>

namespace kvo::cadastro {

namespace {
class DelegateLista : public QStyledItemDelegate {
public:
    DelegateLista(const Opcoes& opcoes, QObject* pai) : QStyledItemDelegate(pai), m_opcoes(opcoes) {}
    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* box = new QComboBox(pai);
        for (const auto& [valor, titulo] : m_opcoes)
            box->addItem(titulo, valor);
        return box;
    }
    // The cell shows the option's text, not the stored code.
    QString displayText(const QVariant& valor, const QLocale& local) const override {
        const QString v = valor.toString().trimmed();
        for (const auto& [codigo, titulo] : m_opcoes)
            if (codigo == v)
                return titulo;
        return QStyledItemDelegate::displayText(valor, local);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        box->setCurrentIndex(std::max(0, box->findData(index.data(Qt::EditRole).toString().trimmed())));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentData(), Qt::EditRole);
    }

private:
    Opcoes m_opcoes;
};
} // namespace

QLineEdit* campo(TrepPadraoCadastro& tela, QFormLayout* form, const QString& rotulo, const QString& nomeCampo) {
    auto* edit = new QLineEdit(&tela);
    edit->setObjectName(QStringLiteral("edt") + nomeCampo);
    form->addRow(rotulo, edit);
    tela.binder().bind(edit, nomeCampo);
    return edit;
}

QCheckBox* marcador(TrepPadraoCadastro& tela, QFormLayout* form, const QString& titulo, const QString& nomeCampo) {
    auto* box = new QCheckBox(titulo, &tela);
    box->setObjectName(QStringLiteral("chk") + nomeCampo);
    form->addRow(QString(), box);
    tela.binder().bind(box, nomeCampo);
    return box;
}

QComboBox* lista(TrepPadraoCadastro& tela, QFormLayout* form, const QString& rotulo, const QString& nomeCampo,
                 const Opcoes& opcoes) {
    auto* box = new QComboBox(&tela);
    box->setObjectName(QStringLiteral("cbx") + nomeCampo);
    for (const auto& [valor, titulo] : opcoes)
        box->addItem(titulo, valor);
    form->addRow(rotulo, box);
    tela.binder().bind(box, nomeCampo);
    return box;
}

QComboBox* listaTabela(TrepPadraoCadastro& tela, QFormLayout* form, const QString& rotulo, const QString& nomeCampo,
                       const QString& tabela, const QString& chave, const QString& mostrar) {
    auto* box = new QComboBox(&tela);
    box->setObjectName(QStringLiteral("cbx") + nomeCampo);
    Libgeral::carregarComboBox(box, *tela.registro().database(), tabela, chave, mostrar);
    box->insertItem(0, QString()); // no data: writes a blank, stored as null
    form->addRow(rotulo, box);
    tela.binder().bind(box, nomeCampo);
    return box;
}

std::unique_ptr<RecordSet> abrirRegistro(Database& db, const QString& tabela, const QString& chave,
                                         const QVariant& codigo, bool novo) {
    // A new row opens the empty result of an impossible key, to get the columns.
    auto rs = MontarDataSet(db, tabela, chave, novo ? QVariant(-1) : codigo);
    rs->setKeyFields({chave});
    if (novo) {
        rs->append();
    } else {
        if (rs->isEmpty())
            Error(QStringLiteral("Registro não encontrado: ele pode ter sido excluído em outro terminal."));
        rs->edit();
    }
    return rs;
}

bool mostrarCadastro(TrepPadraoCadastro& tela, TrepPadraoPesquisa::Modo modo) {
    if (modo == TrepPadraoPesquisa::Modo::Visualizar)
        tela.DeixarReadOnLyWin();
    return tela.exec() == QDialog::Accepted && modo != TrepPadraoPesquisa::Modo::Visualizar;
}

namespace {
// A lock conflict or a lost connection says nothing about the row being in use.
[[noreturn]] void naoExcluido(const DatabaseError& e) {
    if (e.kind() == DatabaseError::Kind::LockConflict)
        Error(QStringLiteral("Este registro está sendo alterado em outro terminal e não foi excluído. Tente novamente."));
    if (e.kind() == DatabaseError::Kind::ConnectionLost)
        Error(QStringLiteral("A conexão com o banco de dados foi perdida e o registro não foi excluído.\n%1").arg(e.message()));
    throw e;
}
} // namespace

void excluirOuDesativar(Database& db, const QString& tabela, const QString& chave, const QVariant& codigo,
                        const QString& campoAtivo, const QStringList& tabelasFilhas) {
    const SqlParams p{{QStringLiteral("C"), codigo}};
    try {
        Transaction tx(db);
        for (const QString& filha : tabelasFilhas)
            db.executeSQL(QStringLiteral("delete from %1 where %2 = :C").arg(sqlIdentifier(filha), sqlIdentifier(chave)), p);
        db.executeSQL(QStringLiteral("delete from %1 where %2 = :C").arg(sqlIdentifier(tabela), sqlIdentifier(chave)), p);
        tx.commit();
        return;
    } catch (const DatabaseError& e) {
        if (e.kind() != DatabaseError::Kind::ForeignKey)
            naoExcluido(e);
        // Refused by a reference from another table: the row is in use.
    }
    if (campoAtivo.isEmpty())
        Error(QStringLiteral("Este registro está em uso e não pode ser excluído."));
    try {
        db.executeSQL(QStringLiteral("update %1 set %2 = 'N' where %3 = :C")
                          .arg(sqlIdentifier(tabela), sqlIdentifier(campoAtivo), sqlIdentifier(chave)),
                      p);
    } catch (const DatabaseError& e) {
        naoExcluido(e);
    }
    Informacao(QStringLiteral("Este registro está em uso e não pode ser excluído: ele foi desativado."));
}

void rotularColunas(TrepPadraoPesquisa& tela, const Opcoes& rotulos, const QStringList& camposMoeda) {
    RecordSet* rs = &tela.registros();
    auto aplicar = [rs, rotulos, camposMoeda] {
        for (const auto& [nome, titulo] : rotulos)
            if (Field* f = rs->findField(nome))
                f->setDisplayLabel(titulo);
        for (const QString& nome : camposMoeda)
            if (Field* f = rs->findField(nome))
                f->setDisplayFormat(QStringLiteral(",0.00"));
    };
    aplicar();
    // Each search redefines the fields from the select.
    QObject::connect(rs, &RecordSet::reset, &tela, aplicar);
}

QTableView* gradeEditavel(QWidget* pai, const QString& nome, RecordSet& rs, const Opcoes& colunas) {
    QStringList campos;
    for (const auto& [campo, titulo] : colunas) {
        campos << campo;
        rs.field(campo).setDisplayLabel(titulo);
    }
    auto* model = new RecordSetModel(rs, campos, pai);
    QObject::connect(model, &RecordSetModel::editRefused, pai,
                     [](const QString& mensagem) { userInterface().showMessage(MessageKind::Error, mensagem); });
    auto* grade = new QTableView(pai);
    grade->setObjectName(nome);
    grade->setModel(model);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->verticalHeader()->hide();
    // A handful of rows: columns fit what they hold.
    grade->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grade->horizontalHeader()->setStretchLastSection(true);
    // Buttons under the grid act on the row the user picked.
    QObject::connect(grade->selectionModel(), &QItemSelectionModel::currentRowChanged, grade, [&rs](const QModelIndex& i) {
        if (i.isValid() && i.row() < rs.recordCount() && i.row() + 1 != rs.recNo())
            rs.setRecNo(i.row() + 1);
    });
    return grade;
}

void colunaLista(QTableView* grade, int coluna, const Opcoes& opcoes) {
    grade->setItemDelegateForColumn(coluna, new DelegateLista(opcoes, grade));
}

Opcoes opcoesTabela(Database& db, const QString& tabela, const QString& chave, const QString& mostrar) {
    Opcoes opcoes;
    for (const auto& [valor, texto] : Libgeral::listarTabela(db, tabela, chave, mostrar))
        opcoes.append({valor.toString(), texto});
    return opcoes;
}

QString texto(const RecordSet& rs, const QString& nomeCampo) { return rs.field(nomeCampo).asString().trimmed(); }

} // namespace kvo::cadastro
