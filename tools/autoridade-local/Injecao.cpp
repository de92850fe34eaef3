#include "Injecao.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace kvo::autoridade {

Injecao proximaInjecao(const QString& pasta, const QString& servico)
{
    const QString caminho = QDir(pasta).filePath(QStringLiteral("injecao.json"));
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QJsonArray regras = QJsonDocument::fromJson(f.readAll()).array();
    f.close();
    for (qsizetype i = 0; i < regras.size(); ++i) {
        QJsonObject r = regras[i].toObject();
        const QString alvo = r.value(QStringLiteral("servico")).toString(QStringLiteral("*"));
        if (alvo != u"*" && alvo != servico)
            continue;
        Injecao inj;
        const QString acao = r.value(QStringLiteral("acao")).toString();
        if (acao == u"derrubar")
            inj.acao = Injecao::Acao::Derrubar;
        else if (acao == u"derrubarAntes")
            inj.acao = Injecao::Acao::DerrubarAntes;
        else if (acao == u"responder")
            inj.acao = Injecao::Acao::Responder;
        inj.atrasoMs = r.value(QStringLiteral("atrasoMs")).toInt();
        inj.cStat = r.value(QStringLiteral("cStat")).toInt();
        inj.xMotivo = r.value(QStringLiteral("xMotivo")).toString();
        inj.cStatEvento = r.value(QStringLiteral("cStatEvento")).toInt();
        inj.xMotivoEvento = r.value(QStringLiteral("xMotivoEvento")).toString();
        inj.digVal = r.value(QStringLiteral("digVal")).toString();
        inj.fechar = r.value(QStringLiteral("fechar")).toBool();
        const int vezes = r.value(QStringLiteral("vezes")).toInt(1);
        if (vezes > 1) {
            r.insert(QStringLiteral("vezes"), vezes - 1);
            regras[i] = r;
        } else if (vezes >= 0) {
            regras.removeAt(i);
        }
        QSaveFile out(caminho);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(QJsonDocument(regras).toJson());
            out.commit();
        }
        return inj;
    }
    return {};
}

} // namespace kvo::autoridade
