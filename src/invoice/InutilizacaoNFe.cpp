// Voiding skipped NF-e numbers: one range from the dialogs, or the ranges of
// a CSV file, each logged.
#include "invoice/DNFVenda.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "invoice/CicloNFeInterno.h"
#include "nfe/NFeComponent.h"
#include "registers/DNFe.h"

#include <QFile>

namespace kvo {

using namespace ciclo;

namespace {
const QString justificativaPadrao = QStringLiteral("PULOU O SEQUENCIAL PELO SISTEMA");
}

QString TdmNFVenda::NFE_Inutilizar(int ano, int modelo, int serie, int inicial, int final,
                                   const QString& justificativa) {
    configurar();
    nfe::WebServices& ws = componente().WebServices;
    TdmAcesso& acesso = TdmAcesso::gerarInstance();
    try {
        ws.Inutiliza(OnlyNumber(acesso.empresa().cnpj), justificativa, ano, modelo, serie, inicial, final);
    } catch (const std::exception& e) {
        Error(QStringLiteral("Erro ao inutilizar a faixa %1 a %2 da série %3 (modelo %4):\n%5")
                  .arg(inicial)
                  .arg(final)
                  .arg(serie)
                  .arg(modelo)
                  .arg(erroDe(e)));
    }
    const QString resposta = QStringLiteral("%1 - %2 - Protocolo %3").arg(ws.Inutilizacao.cStat).arg(ws.Inutilizacao.xMotivo, ws.Inutilizacao.Protocolo);
    Transaction tx(conexao());
    acesso.gerarLog(QStringLiteral("INUTILIZAR"), QStringLiteral("NFVENDA"), QStringLiteral("CODNFVENDA"),
                    QStringLiteral("0"),
                    QStringLiteral("ANO=%1,MODELO=%2,SERIE=%3,INI=%4,FINAL=%5")
                        .arg(ano)
                        .arg(modelo)
                        .arg(serie)
                        .arg(inicial)
                        .arg(final),
                    QString(), resposta.left(40), acesso.usuario().nome);
    tx.commit();
    return resposta;
}

bool TdmNFVenda::NFE_InutilizarFaixa() {
    const QString titulo = QStringLiteral("WebServices Inutilização ");
    QStringList valores;
    const QList<std::pair<QString, QString>> perguntas{
        {QStringLiteral("Ano"), QString::number(Clock::today().year())},
        {QStringLiteral("Modelo"), QStringLiteral("55")},
        {QStringLiteral("Serie"), QStringLiteral("1")},
        {QStringLiteral("Número Inicial"), QString()},
        {QStringLiteral("Número Final"), QString()},
        {QStringLiteral("Justificativa"), justificativaPadrao}};
    for (const auto& [rotulo, inicial] : perguntas) {
        const auto v = InputBox(titulo, rotulo, inicial);
        if (!v)
            return false;
        valores << v->trimmed();
    }
    int numeros[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        numeros[i] = valores[i].toInt(&ok);
        if (!ok)
            Error(QStringLiteral("%1 inválido: \"%2\"").arg(perguntas[i].first, valores[i]));
    }
    const QString resposta = NFE_Inutilizar(numeros[0], numeros[1], numeros[2], numeros[3], numeros[4], valores[5]);
    Informacao(QStringLiteral("Inutilizado com sucesso!\nRetorno: ") + resposta);
    return true;
}

int TdmNFVenda::NFE_InutilizarCSV(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        Error(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(arquivo, f.errorString()));
    const QStringList linhas = QString::fromUtf8(f.readAll()).split(u'\n');
    int faixas = 0;
    for (qsizetype n = 1; n < linhas.size(); ++n) { // the first line is the header
        const QStringList campos = linhas[n].trimmed().split(u';');
        if (campos.size() < 4)
            continue;
        int numeros[3];
        for (int i = 0; i < 3; ++i) {
            bool ok = false;
            numeros[i] = campos[i].trimmed().toInt(&ok);
            if (!ok)
                Error(QStringLiteral("Linha %1 de %2: \"%3\" não é um número.").arg(n + 1).arg(arquivo, campos[i]));
        }
        const int modelo = campos[3].trimmed() == u"65" ? 65 : 55;
        NFE_Inutilizar(Clock::today().year(), modelo, numeros[2], numeros[0], numeros[1], justificativaPadrao);
        ++faixas;
    }
    return faixas;
}

} // namespace kvo
