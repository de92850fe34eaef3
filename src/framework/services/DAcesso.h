#pragma once

#include "core/Currency.h"
#include "framework/db/Database.h"
#include "framework/db/RecordSet.h"

#include <QString>
#include <QVariantList>

#include <memory>

namespace kvo {

class TdmSeguranca;

// The issuing company as the documents and prints need it (PAR_GERAL).
struct Empresa {
    int codigo = 0;
    QString razaoSocial, fantasia, cnpj, ie, im, telefone;
    QString endereco, numero, complemento, bairro, cidade, uf, cep;
    int codMunicipio = 0;
    QString regimeTributario; // compared with "Simples Nacional"
    bool emiteNFe = false, controlaEstoque = false, mostraInscricao = false, trabalhaAbertura = true;
    Currency valorCouvert;
    QString nomeMesa = QStringLiteral("Mesa"); // the shop's word for a table
    QString md5;                               // the digest text printed on documents
    bool simplesNacional() const { return regimeTributario.trimmed() == QLatin1String("Simples Nacional"); }
};

// The three integers the quick-sale screen reads while it opens: the mode
// first (0 closes a table, -1 is a counter sale, a person code for a
// delivery), then two values (for a delivery, 0 and the delivery order).
struct ParametrosVendaRapida {
    int primeiro = 0, segundo = 0, terceiro = 0;
    bool operator==(const ParametrosVendaRapida&) const = default;
};

struct UsuarioLogado {
    int codigo = 0;
    QString nome;
    int grupo = 0;
    bool supervisor = false;
    bool isAdministrador() const { return nome == QLatin1String("Administrador"); }
};

// Data access (dmAcesso): the connection every query and record set of the
// module uses, generators, direct statements, procedures, the audit log, the
// company and the logged-in user.
class TdmAcesso {
public:
    static TdmAcesso& gerarInstance();

    // Reads the connection file, connects and brings the schema up to date.
    void conectarBaseDeDados(const QString& iniPath);
    // Uses a connection opened elsewhere (tests, the command line).
    void usarConexao(Database& db);
    bool conectado() const { return m_db != nullptr; }
    Database& sqlCon() const;

    int executeSQL(const QString& sql);
    int executeSQL_2(const QString& sql); // same, kept for callers that use the second component
    qint64 getGeneretor(const QString& name);
    // The general query: a read-only record set of the select.
    std::unique_ptr<RecordSet> consulta(const QString& sql, const SqlParams& params = {});
    // Executes a stored procedure with positional inputs; returns its outputs.
    QVariantMap executarProcedimento(const QString& name, const QVariantList& inputs = {});

    bool getTrabalhaAbertura();
    // A typed table number, or the table of a 14-character card code (0 when
    // nothing matches).
    int getValidaMesaRestarante(const QString& text);
    void gerarLog(const QString& operacao, const QString& tabela, const QString& campoChave,
                  const QString& valorChave, const QString& detalhes, const QString& texto,
                  const QString& resposta, const QString& usuario);

    // The issuing company (current one), re-read after setEmpresaAtual.
    const Empresa& empresa();
    int empresaAtual() const { return m_empresaAtual; }
    void setEmpresaAtual(int codigo);
    void recarregarEmpresa() { m_empresaLida = false; }

    const UsuarioLogado& usuario() const { return m_usuario; }
    void setUsuario(const UsuarioLogado& u) { m_usuario = u; }
    QString senhaExclusao();

    TdmSeguranca& seguranca();

    // Stored by the caller of the quick sale, read by the screen when shown,
    // cleared by the caller afterwards.
    void setParametrosVendaRapida(const ParametrosVendaRapida& p) { m_vendaRapida = p; }
    const ParametrosVendaRapida& parametrosVendaRapida() const { return m_vendaRapida; }

    // The shared parameter rows (opened on first use, kept; refresh() them
    // after a parameter screen saves). Their tables belong to the sale and
    // restaurant parameter screens' migrations.
    RecordSet& parVenda() { return parametros(m_parVenda, QStringLiteral("PAR_VENDA"), QStringLiteral("CODPARVENDA")); }
    RecordSet& parRestaurante() {
        return parametros(m_parRestaurante, QStringLiteral("PAR_RESTAURANTE"), QStringLiteral("CODPARRESTAURANTE"));
    }

private:
    RecordSet& parametros(std::unique_ptr<RecordSet>& rs, const QString& tabela, const QString& chave);

    std::unique_ptr<Database> m_owned;
    Database* m_db = nullptr;
    std::unique_ptr<RecordSet> m_parVenda, m_parRestaurante; // declared after the connection: freed before it
    Empresa m_empresa;
    bool m_empresaLida = false;
    int m_empresaAtual = 1;
    UsuarioLogado m_usuario;
    ParametrosVendaRapida m_vendaRapida;
};

} // namespace kvo
