#include "registers/ui/UPessoa.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "registers/ui/CadastroComum.h"
#include "registers/ValidaDocumentos.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QTabWidget>

namespace kvo {

using namespace cadastro;

namespace {

QFormLayout* novaAba(QTabWidget* abas, const QString& nome, const QString& titulo) {
    auto* pagina = new QWidget(abas);
    pagina->setObjectName(nome);
    auto* form = new QFormLayout(pagina);
    abas->addTab(pagina, titulo);
    return form;
}

} // namespace

TfrmPessoa::TfrmPessoa(RecordSet& pessoa, QWidget* parent) : TrepPadraoCadastro(pessoa, parent) {
    setObjectName(QStringLiteral("frmPessoa"));
    setWindowTitle(QStringLiteral("Cadastro de Pessoa"));
    QFormLayout* topo = campos();
    campo(*this, topo, QStringLiteral("Código:"), QStringLiteral("CODPESSOA"))->setReadOnly(true);
    lista(*this, topo, QStringLiteral("&Tipo:"), QStringLiteral("PES_TIPO"),
          {{QStringLiteral("F"), QStringLiteral("Pessoa física")}, {QStringLiteral("J"), QStringLiteral("Pessoa jurídica")}});
    campo(*this, topo, QStringLiteral("&Nome:"), QStringLiteral("PES_NOME"));

    m_abas = new QTabWidget(this);
    m_abas->setObjectName(QStringLiteral("pgcPessoa"));
    corpo()->addWidget(m_abas, 1);

    QFormLayout* geral = novaAba(m_abas, QStringLiteral("tabGeral"), QStringLiteral("Dados gerais"));
    campo(*this, geral, QStringLiteral("&Razão social:"), QStringLiteral("PES_RAZAO_SOCIAL"));
    campo(*this, geral, QStringLiteral("CPF/CN&PJ:"), QStringLiteral("PES_CPFCNPJ"));
    campo(*this, geral, QStringLiteral("R&G:"), QStringLiteral("PES_RG"));
    campo(*this, geral, QStringLiteral("&Inscrição estadual:"), QStringLiteral("PES_IE"))
        ->setPlaceholderText(QStringLiteral("somente números, ou ISENTO"));
    lista(*this, geral, QStringLiteral("Contri&buinte do ICMS:"), QStringLiteral("PES_CONTRIBUINTE"),
          {{QStringLiteral("N"), QStringLiteral("Não contribuinte")},
           {QStringLiteral("S"), QStringLiteral("Contribuinte")},
           {QStringLiteral("I"), QStringLiteral("Contribuinte isento")}});
    marcador(*this, geral, QStringLiteral("Consumidor &final"), QStringLiteral("PES_CONSUMIDOR_FINAL"));
    marcador(*this, geral, QStringLiteral("C&liente"), QStringLiteral("PES_CLASS_CLI"));
    listaTabela(*this, geral, QStringLiteral("Gr&upo:"), QStringLiteral("CODPESSOAGRUPO"), QStringLiteral("PESSOA_GRUPO"),
                QStringLiteral("CODPESSOAGRUPO"), QStringLiteral("PESG_DESCRICAO"));
    campo(*this, geral, QStringLiteral("Data de nas&cimento:"), QStringLiteral("PES_DT_NASCIMENTO"))
        ->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
    lista(*this, geral, QStringLiteral("&Sexo:"), QStringLiteral("PES_SEXO"),
          {{QString(), QString()}, {QStringLiteral("F"), QStringLiteral("Feminino")}, {QStringLiteral("M"), QStringLiteral("Masculino")}});
    campo(*this, geral, QStringLiteral("Cadastrado em:"), QStringLiteral("PES_DATA"))->setReadOnly(true);
    marcador(*this, geral, QStringLiteral("&Ativo"), QStringLiteral("PES_ATIVO"));

    QFormLayout* endereco = novaAba(m_abas, QStringLiteral("tabEndereco"), QStringLiteral("Endereço"));
    campo(*this, endereco, QStringLiteral("CE&P:"), QStringLiteral("PES_CEP"));
    campo(*this, endereco, QStringLiteral("&Endereço:"), QStringLiteral("PES_ENDERECO"));
    campo(*this, endereco, QStringLiteral("Número:"), QStringLiteral("PES_ENDERECO_NUMERO"));
    campo(*this, endereco, QStringLiteral("Complemento:"), QStringLiteral("PES_ENDERECO_COMPLEMENTO"));
    campo(*this, endereco, QStringLiteral("&Bairro:"), QStringLiteral("PES_BAIRRO"));
    campo(*this, endereco, QStringLiteral("&Cidade:"), QStringLiteral("PES_CIDADE"));
    campo(*this, endereco, QStringLiteral("&UF:"), QStringLiteral("PES_UF"));
    campo(*this, endereco, QStringLiteral("País:"), QStringLiteral("PES_PAIS"));
    campo(*this, endereco, QStringLiteral("Ponto de re&ferência:"), QStringLiteral("PES_PONTO_REFERENCIA"));

    QFormLayout* contato = novaAba(m_abas, QStringLiteral("tabContato"), QStringLiteral("Contato"));
    campo(*this, contato, QStringLiteral("DDD do telefone:"), QStringLiteral("PES_TELEFONE_DDD"));
    campo(*this, contato, QStringLiteral("&Telefone:"), QStringLiteral("PES_TELEFONE"));
    campo(*this, contato, QStringLiteral("DDD do celular:"), QStringLiteral("PES_CELULAR_DDD"));
    campo(*this, contato, QStringLiteral("Ce&lular:"), QStringLiteral("PES_CELULAR"));
    campo(*this, contato, QStringLiteral("E-&mail:"), QStringLiteral("PES_EMAIL"));
    campo(*this, contato, QStringLiteral("E-mail para a N&F-e:"), QStringLiteral("PES_EMAIL_NFE"));
    campo(*this, contato, QStringLiteral("C&ontatos:"), QStringLiteral("PES_CONTATOS"));

    // Typed in any case, kept as the documents print them.
    for (const char* nome : {"PES_UF", "PES_IE", "PES_PAIS"}) {
        Field& f = pessoa.field(QString::fromLatin1(nome));
        f.onChange = [](Field& c) {
            const QString upper = c.asString().trimmed().toUpper();
            if (upper != c.asString())
                c.setValueSilently(upper);
        };
    }
    pessoa.field(QStringLiteral("PES_CPFCNPJ")).onChange = [](Field& c) {
        c.setValueSilently(documentos::formatarCpfCnpj(c.asString().trimmed()));
    };
    SetGeneretor(QStringLiteral("GEN_PESSOA"));
    resize(560, 520);
}

void TfrmPessoa::formaSimplificada() {
    setWindowTitle(QStringLiteral("Cadastro de Pessoa"));
    if (QWidget* geral = m_abas->findChild<QWidget*>(QStringLiteral("tabGeral")))
        m_abas->removeTab(m_abas->indexOf(geral));
}

void TfrmPessoa::ValidaDados() {
    RecordSet& rs = registro();
    if (texto(rs, QStringLiteral("PES_NOME")).isEmpty())
        Error(QStringLiteral("Informe o nome da pessoa."));
    const bool juridica = texto(rs, QStringLiteral("PES_TIPO")) == QLatin1String("J");
    const QString documento = texto(rs, QStringLiteral("PES_CPFCNPJ"));
    if (!documento.isEmpty()) {
        if (!juridica && !documentos::cpfValido(documento))
            Error(QStringLiteral("CPF inválido: confira os números digitados."));
        if (juridica && !documentos::cnpjValido(documento))
            Error(QStringLiteral("CNPJ inválido: confira os números digitados."));
        // Imported rows may hold the bare digits.
        const QVariant outro = rs.database()->scalar(
            QStringLiteral("select first 1 PES_NOME from PESSOA where PES_CPFCNPJ in (:F, :D) and CODPESSOA <> :C"),
            {{QStringLiteral("F"), documentos::formatarCpfCnpj(documento)},
             {QStringLiteral("D"), OnlyNumber(documento)},
             {QStringLiteral("C"), rs.field(QStringLiteral("CODPESSOA")).asInteger()}});
        if (!outro.isNull())
            Error(QStringLiteral("Este %1 já está cadastrado para %2.")
                      .arg(juridica ? QStringLiteral("CNPJ") : QStringLiteral("CPF"), outro.toString().trimmed()));
    }
    const QString ie = texto(rs, QStringLiteral("PES_IE"));
    if (!ie.isEmpty() && !documentos::ieValida(ie))
        Error(QStringLiteral("Inscrição estadual inválida: informe somente os números, ou ISENTO."));
    const QString contribuinte = texto(rs, QStringLiteral("PES_CONTRIBUINTE"));
    if (contribuinte == QLatin1String("S") && (ie.isEmpty() || ie == QLatin1String("ISENTO")))
        Error(QStringLiteral("Informe a inscrição estadual do contribuinte do ICMS."));
    if (contribuinte == QLatin1String("I") && ie.isEmpty())
        rs.field(QStringLiteral("PES_IE")).setValueSilently(QStringLiteral("ISENTO"));

    const QString uf = texto(rs, QStringLiteral("PES_UF"));
    const QString pais = texto(rs, QStringLiteral("PES_PAIS")).toUpper();
    const bool exterior = !pais.isEmpty() && pais != QLatin1String("BRASIL");
    if (!uf.isEmpty() && !documentos::ufValida(uf) && !(exterior && uf == QLatin1String("EX")))
        Error(QStringLiteral("UF inválida: %1. Informe a sigla de um dos 27 estados (EX para o exterior).").arg(uf));
    for (const char* nome : {"PES_EMAIL", "PES_EMAIL_NFE"}) {
        const QString email = texto(rs, QString::fromLatin1(nome));
        const qsizetype arroba = email.indexOf(u'@');
        if (!email.isEmpty() && (arroba < 1 || !email.mid(arroba).contains(u'.') || email.contains(u' ')))
            Error(QStringLiteral("E-mail inválido: %1.").arg(email));
    }
    const QDate nascimento = rs.field(QStringLiteral("PES_DT_NASCIMENTO")).asDate();
    if (nascimento.isValid() && nascimento > Clock::today())
        Error(QStringLiteral("A data de nascimento não pode ser futura."));
}

std::unique_ptr<RecordSet> TfrmPessoa::registroPessoa(Database& db, int codpessoa) {
    auto rs = abrirRegistro(db, QStringLiteral("PESSOA"), QStringLiteral("CODPESSOA"), codpessoa, codpessoa == 0);
    if (codpessoa == 0) {
        rs->field(QStringLiteral("PES_TIPO")).setValue(QStringLiteral("F"));
        rs->field(QStringLiteral("PES_CONTRIBUINTE")).setValue(QStringLiteral("N"));
        rs->field(QStringLiteral("PES_CONSUMIDOR_FINAL")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("PES_CLASS_CLI")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("PES_ATIVO")).setValue(QStringLiteral("S"));
        rs->field(QStringLiteral("PES_PAIS")).setValue(QStringLiteral("BRASIL"));
        rs->field(QStringLiteral("PES_DATA")).setValue(Clock::today());
    }
    return rs;
}

int TfrmPessoa::NovoRegistro(QWidget* parent) {
    auto rs = registroPessoa(TdmAcesso::gerarInstance().sqlCon(), 0);
    TfrmPessoa tela(*rs, parent);
    if (!mostrarCadastro(tela, TrepPadraoPesquisa::Modo::Incluir))
        return 0;
    return int(rs->field(QStringLiteral("CODPESSOA")).asInteger());
}

bool TfrmPessoa::AlterarRegistro(int codpessoa, QWidget* parent) {
    auto rs = registroPessoa(TdmAcesso::gerarInstance().sqlCon(), codpessoa);
    TfrmPessoa tela(*rs, parent);
    return mostrarCadastro(tela, TrepPadraoPesquisa::Modo::Alterar);
}

TfrmPessoa_Pesq::TfrmPessoa_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(),
                         QStringLiteral("select CODPESSOA, PES_NOME, PES_CPFCNPJ, PES_CIDADE, PES_UF, PES_TELEFONE, "
                                        "PES_CELULAR, PES_ATIVO from PESSOA"),
                         parent) {
    setObjectName(QStringLiteral("frmPessoa_Pesq"));
    setWindowTitle(QStringLiteral("Pessoas"));
    adicionarTipoPesquisa(QStringLiteral("Nome"), QStringLiteral("PES_NOME"));
    adicionarTipoPesquisa(QStringLiteral("CPF/CNPJ"), QStringLiteral("PES_CPFCNPJ"));
    adicionarTipoPesquisa(QStringLiteral("Telefone"), QStringLiteral("PES_TELEFONE"));
    adicionarTipoPesquisa(QStringLiteral("Celular"), QStringLiteral("PES_CELULAR"));
    adicionarTipoPesquisa(QStringLiteral("Cidade"), QStringLiteral("PES_CIDADE"));
    adicionarTipoPesquisa(QStringLiteral("Código"), QStringLiteral("CODPESSOA"));
    setOrdem(QStringLiteral("PES_NOME"));
    rotularColunas(*this, {{QStringLiteral("CODPESSOA"), QStringLiteral("Código")},
                           {QStringLiteral("PES_NOME"), QStringLiteral("Nome")},
                           {QStringLiteral("PES_CPFCNPJ"), QStringLiteral("CPF/CNPJ")},
                           {QStringLiteral("PES_CIDADE"), QStringLiteral("Cidade")},
                           {QStringLiteral("PES_UF"), QStringLiteral("UF")},
                           {QStringLiteral("PES_TELEFONE"), QStringLiteral("Telefone")},
                           {QStringLiteral("PES_CELULAR"), QStringLiteral("Celular")},
                           {QStringLiteral("PES_ATIVO"), QStringLiteral("Ativo")}});
}

bool TfrmPessoa_Pesq::abrirCadastro(Modo modo) {
    const int codigo = modo == Modo::Incluir ? 0 : int(registros().field(QStringLiteral("CODPESSOA")).asInteger());
    auto rs = TfrmPessoa::registroPessoa(TdmAcesso::gerarInstance().sqlCon(), codigo);
    TfrmPessoa tela(*rs, this);
    return mostrarCadastro(tela, modo);
}

void TfrmPessoa_Pesq::excluirRegistro() {
    excluirOuDesativar(TdmAcesso::gerarInstance().sqlCon(), QStringLiteral("PESSOA"), QStringLiteral("CODPESSOA"),
                       registros().field(QStringLiteral("CODPESSOA")).value(), QStringLiteral("PES_ATIVO"));
}

} // namespace kvo
