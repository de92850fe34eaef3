#include "app/ImportCommand.h"

#include "core/Currency.h"
#include "core/Format.h"
#include "core/Text.h"
#include "framework/db/Database.h"
#include "framework/db/SqlText.h"
#include "registers/ValidaDocumentos.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace kvo {

namespace {

// Documents and codes are checked as the register screens check them, so an
// imported row can later be edited and saved.
enum class Tipo { Texto, Inteiro, Valor, Flag, CpfCnpj, CodigoBarras, Uf };

struct Coluna {
    const char* nome;
    Tipo tipo;
    int tamanho;
    bool obrigatoria;
};

struct Cadastro {
    const char* tabela;
    const char* chave;
    const char* gerador;
    QList<Coluna> colunas;
};

const Cadastro& cadastro(const QString& tipo) {
    static const Cadastro produtos{"PRODUTO", "CODPRODUTO", "GEN_PRODUTO",
                                   {{"PRO_CODPESQ_1", Tipo::Texto, 20, true},
                                    {"PRO_DESCRICAO", Tipo::Texto, 150, true},
                                    {"PRO_DESCRICAO_MENOR", Tipo::Texto, 20, false},
                                    {"PRO_EAN13", Tipo::CodigoBarras, 14, false},
                                    {"PRO_NCM", Tipo::Texto, 15, false},
                                    {"PRO_CEST", Tipo::Texto, 10, false},
                                    {"PRO_CST", Tipo::Texto, 3, false},
                                    {"PRO_CSOSN", Tipo::Texto, 3, false},
                                    {"PRO_ICMS_ORIGEM", Tipo::Texto, 1, false},
                                    {"PRO_ALIQ_ICMS", Tipo::Valor, 0, false},
                                    {"PRO_PRECO01", Tipo::Valor, 0, false},
                                    {"PRO_PRECO02", Tipo::Valor, 0, false},
                                    {"PRO_PRECO_CUSTO", Tipo::Valor, 0, false},
                                    {"PRO_ESTQ_ATUAL", Tipo::Valor, 0, false},
                                    {"PRO_BALANCA", Tipo::Flag, 1, false},
                                    {"PRO_IMP_COZINHA", Tipo::Flag, 1, false},
                                    {"PRO_IMP_BAR", Tipo::Flag, 1, false},
                                    {"PRO_IMP_PIZZA", Tipo::Flag, 1, false},
                                    {"PRO_IMP_CHURRASQUEIRA", Tipo::Flag, 1, false}}};
    static const Cadastro pessoas{"PESSOA", "CODPESSOA", "GEN_PESSOA",
                                  {{"PES_NOME", Tipo::Texto, 100, true},
                                   {"PES_TIPO", Tipo::Texto, 1, false},
                                   {"PES_RAZAO_SOCIAL", Tipo::Texto, 100, false},
                                   {"PES_CPFCNPJ", Tipo::CpfCnpj, 18, false},
                                   {"PES_IE", Tipo::Texto, 20, false},
                                   {"PES_CONTRIBUINTE", Tipo::Texto, 1, false},
                                   {"PES_ENDERECO", Tipo::Texto, 100, false},
                                   {"PES_ENDERECO_NUMERO", Tipo::Texto, 10, false},
                                   {"PES_BAIRRO", Tipo::Texto, 60, false},
                                   {"PES_CIDADE", Tipo::Texto, 60, false},
                                   {"PES_UF", Tipo::Uf, 2, false},
                                   {"PES_CEP", Tipo::Texto, 9, false},
                                   {"PES_PAIS", Tipo::Texto, 60, false},
                                   {"PES_TELEFONE", Tipo::Texto, 15, false},
                                   {"PES_CELULAR_DDD", Tipo::Texto, 3, false},
                                   {"PES_CELULAR", Tipo::Texto, 15, false},
                                   {"PES_EMAIL", Tipo::Texto, 100, false},
                                   {"PES_EMAIL_NFE", Tipo::Texto, 100, false}}};
    if (tipo == QLatin1String("products"))
        return produtos;
    if (tipo == QLatin1String("persons"))
        return pessoas;
    throw DatabaseError(QStringLiteral("Tipo de importação desconhecido: %1 (use products ou persons)").arg(tipo));
}

// The value of one cell, or a Portuguese reason why it is not acceptable.
QVariant converter(const Coluna& c, const QString& texto, QString& erro) {
    const QString t = texto.trimmed();
    if (t.isEmpty()) {
        if (c.obrigatoria)
            erro = QStringLiteral("%1 deve ser informado").arg(QLatin1String(c.nome));
        return {};
    }
    switch (c.tipo) {
    case Tipo::Texto:
        if (c.tamanho > 0 && t.size() > c.tamanho)
            erro = QStringLiteral("%1 tem mais de %2 caracteres").arg(QLatin1String(c.nome)).arg(c.tamanho);
        return t;
    case Tipo::CpfCnpj: {
        const QString numeros = OnlyNumber(t);
        const bool ok = numeros.size() == 11 ? documentos::cpfValido(numeros)
                                             : numeros.size() == 14 && documentos::cnpjValido(numeros);
        if (!ok)
            erro = QStringLiteral("%1 não é um CPF ou CNPJ válido: \"%2\"").arg(QLatin1String(c.nome), t);
        return documentos::formatarCpfCnpj(numeros);
    }
    case Tipo::CodigoBarras:
        if (!documentos::codigoBarrasValido(t))
            erro = QStringLiteral("%1 não é um código de barras válido: \"%2\"").arg(QLatin1String(c.nome), t);
        return t;
    case Tipo::Uf:
        if (!documentos::ufValida(t.toUpper()))
            erro = QStringLiteral("%1 não é uma UF: \"%2\"").arg(QLatin1String(c.nome), t);
        return t.toUpper();
    case Tipo::Flag:
        if (t != QLatin1String("S") && t != QLatin1String("N"))
            erro = QStringLiteral("%1 deve ser S ou N").arg(QLatin1String(c.nome));
        return t;
    case Tipo::Inteiro: {
        bool ok = false;
        const qlonglong n = t.toLongLong(&ok);
        if (!ok)
            erro = QStringLiteral("%1 não é um número inteiro: \"%2\"").arg(QLatin1String(c.nome), t);
        return n;
    }
    case Tipo::Valor: {
        // "1.234,50" (pt-BR) or "1234.50"
        auto v = t.contains(u',') ? std::optional<Currency>(RemChrStrToCurr(t)) : Currency::parse(t);
        bool digitos = false;
        for (QChar ch : t)
            digitos |= ch.isDigit();
        if (!v || !digitos) {
            erro = QStringLiteral("%1 não é um valor: \"%2\"").arg(QLatin1String(c.nome), t);
            return {};
        }
        return QVariant::fromValue(*v);
    }
    }
    return {};
}

} // namespace

ResultadoImportacao importarCsv(Database& db, const QString& tipo, const QString& arquivo) {
    const Cadastro& cad = cadastro(tipo);
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DatabaseError(QStringLiteral("Não foi possível ler o arquivo %1").arg(arquivo));
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    ResultadoImportacao r;
    const QStringList cabecalho = in.readLine().split(u';');
    QHash<int, const Coluna*> mapa; // file column -> register column
    for (int i = 0; i < cabecalho.size(); ++i) {
        const QString nome = cabecalho[i].trimmed().toUpper();
        const Coluna* achada = nullptr;
        for (const Coluna& c : cad.colunas)
            if (nome == QLatin1String(c.nome))
                achada = &c;
        if (!achada)
            r.erros << QStringLiteral("linha 1: coluna desconhecida \"%1\"").arg(cabecalho[i].trimmed());
        else
            mapa.insert(i, achada);
    }
    for (const Coluna& c : cad.colunas)
        if (c.obrigatoria && std::none_of(mapa.cbegin(), mapa.cend(), [&](const Coluna* m) { return m == &c; }))
            r.erros << QStringLiteral("linha 1: falta a coluna %1").arg(QLatin1String(c.nome));
    if (!r.erros.isEmpty())
        return r;

    Transaction tx(db);
    int linha = 1;
    while (!in.atEnd()) {
        const QString texto = in.readLine();
        ++linha;
        if (texto.trimmed().isEmpty())
            continue;
        const QStringList celulas = texto.split(u';');
        QStringList nomes{QLatin1String(cad.chave)}, marcas{QStringLiteral(":K")};
        SqlParams params;
        QStringList errosLinha;
        for (auto it = mapa.cbegin(); it != mapa.cend(); ++it) {
            QString erro;
            const QVariant v = converter(*it.value(), celulas.value(it.key()), erro);
            if (!erro.isEmpty())
                errosLinha << erro;
            else if (!v.isNull()) {
                nomes << QLatin1String(it.value()->nome);
                marcas << QStringLiteral(":C%1").arg(it.key());
                params.insert(QStringLiteral("C%1").arg(it.key()), v);
            }
        }
        if (!errosLinha.isEmpty()) {
            r.erros << QStringLiteral("linha %1: %2").arg(linha).arg(errosLinha.join(QStringLiteral("; ")));
            continue;
        }
        params.insert(QStringLiteral("K"), db.getGeneretor(QLatin1String(cad.gerador)));
        try {
            db.executeSQL(QStringLiteral("insert into %1 (%2) values (%3)")
                              .arg(QLatin1String(cad.tabela), nomes.join(u','), marcas.join(u',')),
                          params);
            ++r.importados;
        } catch (const DatabaseError& e) {
            r.erros << QStringLiteral("linha %1: %2").arg(linha).arg(e.message());
        }
    }
    if (!r.erros.isEmpty()) {
        tx.rollback(); // all or nothing
        r.importados = 0;
        return r;
    }
    tx.commit();
    return r;
}

int runImportCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 2) {
        err << "uso: kvo import products|persons ARQUIVO.csv" << Qt::endl;
        return 2;
    }
    try {
        Database db(ConnectionSettings::fromProgramFolder());
        db.open();
        const ResultadoImportacao r = importarCsv(db, args[0], args[1]);
        if (!r.erros.isEmpty()) {
            for (const QString& e : r.erros)
                err << e << Qt::endl;
            err << "nada foi importado: corrija as linhas acima e importe de novo" << Qt::endl;
            return 1;
        }
        out << r.importados << " registro(s) importado(s)" << Qt::endl;
        return 0;
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    }
}

} // namespace kvo
