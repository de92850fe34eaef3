#include "framework/ui/Libgeral.h"

#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/db/SqlText.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"

#include <QComboBox>
#include <QHash>
#include <QPointer>
#include <QProcess>
#include <QUrl>
#include <QWidget>

namespace kvo::Libgeral {

QList<QPair<QVariant, QString>> listarTabela(Database& db, const QString& tabela, const QString& chave,
                                             const QString& mostrar, const QString& condicao) {
    QString sql = QStringLiteral("select %1, %2 from %3").arg(sqlIdentifier(chave), sqlIdentifier(mostrar), sqlIdentifier(tabela));
    if (!condicao.isEmpty())
        sql += QStringLiteral(" where ") + condicao; // written by the caller, never typed by a user
    sql += QStringLiteral(" order by ") + sqlIdentifier(mostrar);
    auto rs = db.query(sql);
    QList<QPair<QVariant, QString>> linhas;
    for (rs->first(); !rs->eof(); rs->next())
        linhas.append({rs->field(0).value(), rs->field(1).asString()});
    return linhas;
}

void carregarComboBox(QComboBox* lista, Database& db, const QString& tabela, const QString& chave,
                      const QString& mostrar, const QString& condicao) {
    lista->clear();
    for (const auto& [valor, texto] : listarTabela(db, tabela, chave, mostrar, condicao))
        lista->addItem(texto, valor);
}

void ValidaCampo(Database& db, const QString& tabela, const QString& campo, const QVariant& valor,
                 const QString& chave, const QVariant& chaveAtual, const QString& mensagem) {
    QString sql = QStringLiteral("select first 1 1 from %1 where %2 = :V").arg(sqlIdentifier(tabela), sqlIdentifier(campo));
    SqlParams params{{QStringLiteral("V"), valor}};
    if (!chaveAtual.isNull()) {
        sql += QStringLiteral(" and %1 <> :K").arg(sqlIdentifier(chave));
        params.insert(QStringLiteral("K"), chaveAtual);
    }
    if (!db.scalar(sql, params).isNull())
        Error(mensagem);
}

namespace {
struct Telas {
    QHash<QString, QPointer<QWidget>> porNome;
    ~Telas() {
        for (auto& w : porNome)
            delete w.data();
    }
};
} // namespace

QWidget& ChamaForm(const QString& nome, const std::function<QWidget*()>& criar) {
    Telas& telas = Module::current().instance<Telas>();
    QPointer<QWidget>& tela = telas.porNome[nome];
    if (!tela)
        tela = criar();
    tela->show();
    tela->raise();
    tela->activateWindow();
    return *tela;
}

bool CreateProcessSimple(const QString& linhaDeComando, bool esperar) {
    QStringList partes = QProcess::splitCommand(linhaDeComando);
    if (partes.isEmpty())
        return false;
    const QString programa = partes.takeFirst();
    if (!esperar)
        return QProcess::startDetached(programa, partes);
    QProcess p;
    p.start(programa, partes);
    if (!p.waitForStarted())
        return false;
    p.waitForFinished(-1);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool EnviarEmailMapi(const QString& para, const QString& assunto, const QString& corpo, const QStringList& anexos) {
    QStringList args{QStringLiteral("--utf8"), QStringLiteral("--subject"), assunto, QStringLiteral("--body"), corpo};
    for (const QString& a : anexos)
        args << QStringLiteral("--attach") << a;
    args << para;
    if (QProcess::startDetached(QStringLiteral("xdg-email"), args))
        return true;
    Alerta(QStringLiteral("Não foi possível abrir o programa de e-mail."));
    return false;
}

} // namespace kvo::Libgeral
