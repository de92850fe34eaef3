#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QTableView;

namespace kvo {

class RecordSet;
class RecordSetModel;

// The configuration screen: every registered key by group, with its
// description, type and value; values are edited in the grid and saved
// together.
class TfrmConfiguracao : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConfiguracao(QWidget* parent = nullptr);
    ~TfrmConfiguracao() override;
    static void chamarTela();

    void cbxGrupoChange();
    bool btnSalvarClick();
    RecordSet& parametros() { return *m_rs; }

protected:
    void reject() override;

private:
    std::unique_ptr<RecordSet> m_rs;
    RecordSetModel* m_model;
    QComboBox* m_grupo;
    QTableView* m_grade;
};

} // namespace kvo
