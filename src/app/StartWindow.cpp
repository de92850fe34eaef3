#include "app/StartWindow.h"

#include "framework/db/Database.h"
#include "framework/db/Migrator.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kvo {

StartWindow::StartWindow(Database& db, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmInicio"));
    setWindowTitle(QStringLiteral("KVO Gestão"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* title = new QLabel(QStringLiteral("KVO Gestão"), central);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);

    const ConnectionSettings& s = db.settings();
    Migrator migrator(db);
    const QVariant company = db.scalar(QStringLiteral("select first 1 coalesce(PARG_FANTASIA, PARG_EMPRESA) "
                                                      "from PAR_GERAL order by CODEMPRESA"));
    auto* form = new QFormLayout;
    auto add = [&](const QString& label, const QString& value, const char* name) {
        auto* l = new QLabel(value, central);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, l);
    };
    add(QStringLiteral("Banco de dados:"), s.target(), "lblBanco");
    add(QStringLiteral("Conexão:"), s.isEmbedded() ? QStringLiteral("embutida (sem servidor)") : QStringLiteral("servidor ") + s.host,
        "lblConexao");
    add(QStringLiteral("Versão do esquema:"), QString::number(migrator.currentVersion()), "lblVersao");
    add(QStringLiteral("Empresa:"), company.isNull() ? QStringLiteral("(nenhuma cadastrada)") : company.toString(),
        "lblEmpresa");
    layout->addLayout(form);
    layout->addStretch();
    setCentralWidget(central);
    resize(560, 240);
}

} // namespace kvo
