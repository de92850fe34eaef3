#include "registers/DNFe.h"

#include "core/Paths.h"
#include "core/Text.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/ConfiguracoesArquivo.h"
#include "nfe/NFeComponent.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace kvo {

namespace {
// "São João d'Oeste" and "SAO JOAO DOESTE" are the same city.
QString chaveNome(const QString& nome) {
    QString out;
    for (QChar c : RemoverAcentos(nome).toUpper())
        if (c.isLetterOrNumber())
            out += c;
    return out;
}
} // namespace

TdmNFe& TdmNFe::gerarInstance() { return Module::current().instance<TdmNFe>(); }

TdmNFe::TdmNFe() : TdmNFe(TdmAcesso::gerarInstance().sqlCon()) {}

TdmNFe::TdmNFe(Database& db) : m_db(db), m_componente(std::make_unique<nfe::NFeComponent>()) {}

TdmNFe::~TdmNFe() = default;

void TdmNFe::configurarNFE() {
    try {
        nfe::carregarConfiguracoes(*m_componente, nfe::arquivoConfiguracaoPadrao());
        if (m_sempreEmArquivo)
            m_componente->DANFE.imprimirEmArquivo = true;
    } catch (const std::exception& e) {
        Error(QStringLiteral("Configuração da NF-e inválida: %1").arg(QString::fromUtf8(e.what())));
    }
}

void TdmNFe::imprimirSempreEmArquivo(bool sempre) {
    m_sempreEmArquivo = sempre;
    if (sempre)
        m_componente->DANFE.imprimirEmArquivo = true;
}

const QHash<QString, QString>& TdmNFe::municipios(int codigoUf) {
    auto it = m_municipios.find(codigoUf);
    if (it != m_municipios.end())
        return *it;
    QHash<QString, QString> tabela;
    const QString arquivo = QDir(programFolder()).filePath(QStringLiteral("MunIBGE/MunIBGE-UF%1.txt").arg(codigoUf));
    QFile f(arquivo);
    // Not kept when missing: the file may be installed while the program runs.
    if (!f.exists())
        Error(QStringLiteral("Arquivo de municípios não encontrado: %1").arg(QDir::toNativeSeparators(arquivo)));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        Error(QStringLiteral("Não foi possível ler o arquivo de municípios %1: %2")
                  .arg(QDir::toNativeSeparators(arquivo), f.errorString()));
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString linha = in.readLine();
        const qsizetype sep = linha.indexOf(u';');
        if (sep > 0)
            tabela.insert(chaveNome(linha.mid(sep + 1)), linha.left(sep).trimmed());
    }
    return *m_municipios.insert(codigoUf, tabela);
}

QString TdmNFe::codigoMunicipio(const QString& cidade, const QString& uf) {
    const int codigoUf = nfe::UFparaCodigo(uf.trimmed().toUpper());
    return codigoUf > 0 ? municipios(codigoUf).value(chaveNome(cidade)) : QString();
}

QString TdmNFe::obterCodigoMunicipio(const QString& cidade, const QString& uf) {
    const QString codigo = codigoMunicipio(cidade, uf);
    if (codigo.isEmpty())
        Error(QStringLiteral("Código do município não encontrado para %1/%2.").arg(cidade.trimmed(), uf.trimmed().toUpper()));
    return codigo;
}

int TdmNFe::obterBacen(const QString& pais) {
    const QString chave = chaveNome(pais);
    const auto rs = m_db.query(QStringLiteral("select CODPAIS, PAI_NOME from PAIS"));
    for (rs->first(); !rs->eof(); rs->next())
        if (chaveNome(rs->field(1).asString()) == chave)
            return int(rs->field(0).asInteger());
    Error(QStringLiteral("País não cadastrado: %1").arg(pais.trimmed()));
}

} // namespace kvo
