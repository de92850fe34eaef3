#include "framework/services/TextoImpressao.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/Paths.h"
#include "core/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace kvo {

void TextoImpressao::iniciar(const QString& titulo, const QString& destino) {
    m_titulo = titulo;
    m_destino = destino;
    m_linhas.clear();
}

QString TextoImpressao::imprimir() const {
    const QString alvo = localPath(m_destino);
    if (alvo.isEmpty())
        throw std::runtime_error("Impressora não configurada para este documento.");
    QByteArray dados;
    for (const QString& l : m_linhas)
        dados += RemoverAcentos(l).toLatin1() + "\r\n";
    auto falha = [&](const QString& arquivo) {
        return std::runtime_error(QStringLiteral("Não foi possível imprimir em %1").arg(arquivo).toStdString());
    };
    if (QFileInfo(alvo).isDir() || alvo.endsWith(u'/')) {
        QDir().mkpath(alvo);
        static int sequencia = 0;
        const QString nome = formatDateTime(u"yyyymmdd_hhnnss", Clock::now()) + QStringLiteral("_%1.txt").arg(++sequencia);
        const QString temporario = QDir(alvo).filePath(QStringLiteral(".") + nome + QStringLiteral(".tmp"));
        const QString final = QDir(alvo).filePath(nome);
        QFile f(temporario);
        if (!f.open(QIODevice::WriteOnly) || f.write(dados) != dados.size())
            throw falha(temporario);
        f.close();
        if (!QFile::rename(temporario, final))
            throw falha(final);
        return final;
    }
    QFile f(alvo);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append) || f.write(dados) != dados.size())
        throw falha(alvo);
    return alvo;
}

} // namespace kvo
