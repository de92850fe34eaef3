#include "DoisTerminais.h"

#include "NFVendaFixture.h"

#include <QDir>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

namespace kvo::test {

namespace {
int seqSerie1(Database& db) {
    return db.scalar(QStringLiteral("select coalesce(SER_SEQ, 0) from SERIE where CODSERIE = '1'")).toInt();
}
} // namespace

DoisTerminais DoisTerminais::preparar(const QString& nomePasta, const std::function<void(Database&)>& preparar) {
    DoisTerminais d{serverSettings(copyOfTemplate()), scratchFolder() + u'/' + nomePasta,
                    QProcessEnvironment::systemEnvironment(), 0};
    {
        Database db(d.ajustes);
        db.open();
        carregarCadastros(db);
        if (preparar)
            preparar(db);
        d.seqAntes = seqSerie1(db);
    }
    QDir().mkpath(d.home + QStringLiteral("/firebird-lock"));
    d.ajustes.writeFile(d.home + QStringLiteral("/KVOGestao.ini"));
    d.env.insert(QStringLiteral("FIREBIRD_LOCK"), d.home + QStringLiteral("/firebird-lock"));
    d.env.insert(QStringLiteral("KVO_HOME"), d.home);
    return d;
}

QStringList DoisTerminais::rodar(const QString& programa, const QStringList& argumentos, int msEspera) const {
    QProcess a, b;
    for (QProcess* p : {&a, &b}) {
        p->setProcessEnvironment(env);
        p->start(programa, argumentos);
    }
    QStringList linhas;
    for (QProcess* p : {&a, &b}) {
        if (!p->waitForFinished(msEspera)) {
            ADD_FAILURE() << programa.toStdString() << " did not finish";
            continue;
        }
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        for (const QString& l : QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
            linhas << l.trimmed();
    }
    return linhas;
}

void DoisTerminais::conferirDuzentas(const QStringList& linhas) const {
    EXPECT_EQ(linhas.size(), 200);
    EXPECT_EQ(QSet<QString>(linhas.cbegin(), linhas.cend()).size(), 200);
    Database db(ajustes);
    db.open();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(distinct CODNFVENDA) from NFVENDA where CODSERIE = '1'")).toInt(), 200);
    EXPECT_EQ(seqSerie1(db), seqAntes + 200);
}

} // namespace kvo::test
