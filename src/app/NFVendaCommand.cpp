#include "app/NFVendaCommand.h"

#include "app/CommandLine.h"
#include "app/StreamUserInterface.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/PortasNFe.h"
#include "nfe/ConfiguracoesArquivo.h"
#include "nfe/NFeComponent.h"
#include "registers/DNFe.h"
#include "invoice/relatorio/RNFVenda.h"
#include "registers/EscolhaParcelas.h"

#include <QFile>
#include <QProcess>
#include <QJsonArray>

#include <utility>

namespace kvo {

namespace {

const QString perguntaCfop = QStringLiteral("Deseja alterar o CFOP dos itens?");

// The dialogs of a command: messages go to the error stream, the CFOP
// question is answered by the command's option, any other with its default.
class UiDaLinhaDeComando : public StreamUserInterface {
public:
    UiDaLinhaDeComando(QTextStream& err, bool alterarCfop) : StreamUserInterface(err), m_alterarCfop(alterarCfop) {}
    void showMessage(MessageKind kind, const QString& message) override {
        if (kind != MessageKind::Information)
            m_ultimoAviso = message;
        StreamUserInterface::showMessage(kind, message);
    }
    bool ask(const QString& message, bool defaultYes) override {
        return message.contains(perguntaCfop) ? m_alterarCfop : defaultYes;
    }
    // A password prompt takes KVO_SENHA, so the password need not appear in the shell history.
    std::optional<QString> input(const QString& caption, const QString&, const QString&, bool password) override {
        if (password && qEnvironmentVariableIsSet("KVO_SENHA"))
            return qEnvironmentVariable("KVO_SENHA");
        if (m_respostas.contains(caption))
            return m_respostas.value(caption);
        return std::nullopt;
    }
    // The text a dialog of that caption is answered with (an option of the command).
    void responder(const QString& caption, const QString& texto) { m_respostas.insert(caption, texto); }

    // The warning or error shown since the last call, taken.
    QString tomarAviso() { return std::exchange(m_ultimoAviso, QString()); }

    static UiDaLinhaDeComando* atual() { return dynamic_cast<UiDaLinhaDeComando*>(&userInterface()); }

private:
    bool m_alterarCfop;
    QString m_ultimoAviso;
    QHash<QString, QString> m_respostas;
};

QString textoDoValor(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', 17);
    if (v.isNull())
        return QString();
    throw NFVendaRecusada{QString(), QStringLiteral("valor que não é texto nem número")};
}

// Service lines are free text; a file may name a service of the register
// instead, whose description, unit and price are then typed into the line.
void servicoDoCadastro(TdmNFVenda& dm, const QString& codigo, const QString& aqui) {
    bool ok = false;
    const int cod = codigo.trimmed().toInt(&ok);
    RecordSet& linha = dm.cdsNFVendaServico();
    const auto servico = linha.database()->query(
        QStringLiteral("select s.SER_DESCRICAO, s.SER_VALOR, u.PROU_SIGLA from SERVICOS s "
                       "left join PRODUTO_UNIDADE u on u.CODPRODUTOUNIDADE = s.CODUNIDADE where s.CODSERVICO = :C"),
        {{QStringLiteral("C"), ok ? cod : -1}});
    if (servico->isEmpty())
        throw NFVendaRecusada{aqui, QStringLiteral("Serviço não encontrado: %1").arg(codigo)};
    try {
        dm.setValorCampo(linha, QStringLiteral("NFVS_DESCRICAO"), servico->field(QStringLiteral("SER_DESCRICAO")).asString());
        if (!servico->field(QStringLiteral("PROU_SIGLA")).isNull())
            dm.setValorCampo(linha, QStringLiteral("NFVS_UNIDADE"), servico->field(QStringLiteral("PROU_SIGLA")).asString());
        dm.setValorCampo(linha, QStringLiteral("NFVS_VLR_UNITARIO"),
                         servico->field(QStringLiteral("SER_VALOR")).asCurrency().toString(4));
    } catch (const DatabaseError& e) {
        throw NFVendaRecusada{aqui, e.message()};
    }
}

// Applies a list of ["COLUNA", "valor"] pairs through the fields' reactions.
void aplicarPares(TdmNFVenda& dm, RecordSet& rs, const QJsonValue& pares, const QString& onde) {
    if (!pares.isArray())
        throw NFVendaRecusada{onde, QStringLiteral("esperava uma lista de pares [\"COLUNA\", \"valor\"]")};
    for (const QJsonValue& p : pares.toArray()) {
        const QJsonArray par = p.toArray();
        if (!p.isArray() || par.size() != 2 || !par[0].isString())
            throw NFVendaRecusada{onde, QStringLiteral("esperava um par [\"COLUNA\", \"valor\"]")};
        const QString coluna = par[0].toString().trimmed().toUpper();
        QString texto;
        try {
            texto = textoDoValor(par[1]);
        } catch (NFVendaRecusada& r) {
            r.onde = onde + QStringLiteral(", ") + coluna;
            throw;
        }
        const QString aqui = QStringLiteral("%1, %2 = \"%3\"").arg(onde, coluna, texto);
        if (&rs == &dm.cdsNFVendaServico() && coluna == u"CODSERVICO") {
            servicoDoCadastro(dm, texto, aqui);
            continue;
        }
        Field* campo = rs.findField(coluna);
        if (!campo)
            throw NFVendaRecusada{aqui, QStringLiteral("coluna desconhecida")};
        UiDaLinhaDeComando* ui = UiDaLinhaDeComando::atual();
        if (ui)
            ui->tomarAviso();
        try {
            dm.setValorCampo(rs, coluna, texto);
        } catch (const DatabaseError& e) {
            throw NFVendaRecusada{aqui, e.message()};
        } catch (const Abort&) {
            throw NFVendaRecusada{aqui, QString()};
        }
        // A user at the screen reads a warning (an unknown customer, carrier or
        // seller) and corrects the value; a file cannot, so it is refused.
        if (ui && !ui->tomarAviso().isEmpty())
            throw NFVendaRecusada{aqui, QString()};
        // An unknown search code leaves the item without a product; typing
        // would stop here too.
        if (coluna == u"CODPESQUISA" && !texto.trimmed().isEmpty() && rs.field(QStringLiteral("CODPRODUTO")).asInteger() <= 0)
            throw NFVendaRecusada{aqui, QStringLiteral("Produto não encontrado para o código de pesquisa \"%1\"").arg(texto)};
    }
}

// Posts a child line, turning a refusal into one that says which line.
template <class Gravar>
void gravarLinha(const QString& onde, Gravar&& gravar) {
    try {
        gravar();
    } catch (const DatabaseError& e) {
        throw NFVendaRecusada{onde, e.message()};
    } catch (const Abort&) {
        throw NFVendaRecusada{onde, QString()};
    }
}

QJsonValue valorJson(const Field& f) {
    if (f.isNull())
        return QJsonValue::Null;
    switch (f.type()) {
    case FieldType::Currency:
        return f.asCurrency().toString(4);
    case FieldType::Integer:
        return QString::number(f.asInteger());
    case FieldType::Date:
        return f.asDate().toString(Qt::ISODate);
    case FieldType::DateTime:
        return f.asDateTime().toString(Qt::ISODate);
    case FieldType::Time:
        return f.value().toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return f.asString();
    }
}

QJsonObject linhaJson(const RecordSet& rs) {
    QJsonObject o;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const Field& f = rs.field(i);
        if (f.kind() == FieldKind::Data)
            o.insert(f.name(), valorJson(f));
    }
    return o;
}

QJsonArray linhasJson(RecordSet& rs) {
    QJsonArray linhas;
    const int atual = rs.recNo();
    for (rs.first(); !rs.eof(); rs.next())
        linhas.append(linhaJson(rs));
    if (atual > 0)
        rs.setRecNo(atual);
    return linhas;
}

// Opens the program folder's database and the invoice data module on it for
// one command; every failure becomes a message and exit code 1.
template <class Body>
int comNFVenda(QTextStream& err, bool alterarCfop, bool grava, Body&& body,
               const QHash<QString, QString>& respostas = {}) {
    UiDaLinhaDeComando ui(err, alterarCfop);
    for (auto it = respostas.begin(); it != respostas.end(); ++it)
        ui.responder(it.key(), it.value());
    try {
        Database db(ConnectionSettings::fromProgramFolder());
        db.open();
        Module module;
        TdmAcesso::gerarInstance().usarConexao(db);
        TdmConfiguracao::gerarInstance().registrarChaves(); // as the screens do at start-up
        return body(TdmNFVenda::gerarInstance());
    } catch (const DatabaseError& e) {
        err << "erro: " << e.details() << Qt::endl;
    } catch (const Abort&) {
        // the dialog already said why
    } catch (const std::exception& e) {
        err << "erro: " << QString::fromUtf8(e.what()) << Qt::endl;
    }
    if (grava)
        err << "nada foi gravado" << Qt::endl;
    return 1;
}

bool numeroESerie(const CommandLine& cl, int& numero, QString& serie) {
    bool ok = false;
    numero = cl.positional.value(0).toInt(&ok);
    serie = cl.positional.value(1).trimmed();
    return ok && numero > 0 && !serie.isEmpty() && cl.positional.size() == 2;
}

void abrirOuRecusar(TdmNFVenda& dm, int numero, const QString& serie) {
    if (!dm.abrirNFVenda(numero, serie))
        throw DatabaseError(QStringLiteral("Nota fiscal %1 da série %2 não encontrada").arg(numero).arg(serie));
}

const char* const colunasCabecalho[] = {"NFV_TOTAL_PRODUTOS", "NFV_DESCVLR", "NFV_ACRESCIMO", "NFV_FRETE",
                                        "NFV_ICMS_BASE", "NFV_ICMS", "NFV_ICMS_SUBST_BASE", "NFV_ICMS_SUBST",
                                        "NFV_IPI", "NFV_ISS_BASE", "NFV_ISS", "NFV_IR_VLR", "NFV_TOTAL_NOTA"};
const char* const colunasItem[] = {"CODPESQUISA", "PRO_DESCRICAO", "NFVI_QTDE", "NFVI_VLR_UNITARIO",
                                   "NFVI_TOTAL_DESCONTO", "NFVI_TOTAL", "NFVI_ICMS_BASE", "NFVI_ALIQ_ICMS",
                                   "NFVI_ICMS", "NFVI_IPI", "NFVI_PIS_VLR", "NFVI_COFINS_VLR"};
const char* const colunasServico[] = {"CODSERVICO", "NFVS_QTDE", "NFVS_VLR_UNITARIO", "NFVS_TOTAL"};

template <size_t N>
void tabela(QTextStream& out, RecordSet& rs, const char* const (&colunas)[N]) {
    QStringList titulo;
    for (const char* c : colunas)
        if (rs.findField(QLatin1String(c)))
            titulo << QLatin1String(c);
    out << "  " << titulo.join(u'\t') << Qt::endl;
    for (rs.first(); !rs.eof(); rs.next()) {
        QStringList linha;
        for (const QString& c : titulo)
            linha << rs.field(c).displayText();
        out << "  " << linha.join(u'\t') << Qt::endl;
    }
}

void mostrarTexto(TdmNFVenda& dm, QTextStream& out) {
    RecordSet& c = dm.cdsNFVenda();
    out << "Nota " << c.field(QStringLiteral("CODNFVENDA")).asString() << " série "
        << c.field(QStringLiteral("CODSERIE")).asString() << " (" << c.field(QStringLiteral("NFV_STATUS")).asString()
        << "), cliente " << c.field(QStringLiteral("CODPESSOA")).asString() << ", CFOP "
        << c.field(QStringLiteral("CODCFOP")).asString() << Qt::endl;
    for (const char* col : colunasCabecalho)
        out << col << '\t' << c.field(QLatin1String(col)).asCurrency().toString(4) << Qt::endl;
    out << "Itens:" << Qt::endl;
    tabela(out, dm.cdsNFVendaItem(), colunasItem);
    out << "Serviços:" << Qt::endl;
    tabela(out, dm.cdsNFVendaServico(), colunasServico);
}

QJsonDocument lerJson(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(arquivo, f.errorString()));
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &erro);
    if (erro.error != QJsonParseError::NoError)
        throw DatabaseError(QStringLiteral("O arquivo %1 não é um JSON válido (posição %2): %3")
                                .arg(arquivo)
                                .arg(erro.offset)
                                .arg(erro.errorString()));
    if (!doc.isObject())
        throw DatabaseError(QStringLiteral("O arquivo %1 deve conter um objeto com \"cabecalho\", \"itens\" e \"servicos\"").arg(arquivo));
    return doc;
}

int importar(const CommandLine& cl, QTextStream& out, QTextStream& err) {
    QList<QJsonDocument> documentos;
    try {
        for (const QString& arquivo : cl.positional)
            documentos << lerJson(arquivo);
    } catch (const DatabaseError& e) {
        err << "erro: " << e.message() << Qt::endl;
        return 1;
    }
    const bool alterarCfop = !cl.switches.contains(QStringLiteral("nao-alterar-cfop"));
    return comNFVenda(err, alterarCfop, true, [&](TdmNFVenda& dm) {
        // Each file is its own invoice and its own transaction: a refused file
        // stops the command, the ones before it stay saved and were printed.
        for (qsizetype n = 0; n < documentos.size(); ++n) {
            try {
                digitarNFVenda(dm, documentos[n]);
                const TdmNFVenda::NFVendaGravada g = dm.gravarNFVenda();
                out << g.numero << ' ' << g.serie << Qt::endl;
                dm.fecharNFVenda();
            } catch (const NFVendaRecusada& r) {
                dm.cancelarNFVenda();
                if (!r.mensagem.isEmpty())
                    err << "erro: " << r.mensagem << Qt::endl;
                err << cl.positional[n] << ": recusado em " << r.onde << "; nada foi gravado deste arquivo" << Qt::endl;
                return 1;
            } catch (...) {
                dm.cancelarNFVenda();
                err << cl.positional[n] << ": nada foi gravado deste arquivo" << Qt::endl;
                throw;
            }
        }
        return 0;
    });
}

} // namespace

void digitarNFVenda(TdmNFVenda& dm, const QJsonDocument& documento) {
    const QJsonObject raiz = documento.object();
    for (auto it = raiz.begin(); it != raiz.end(); ++it)
        if (it.key() != u"cabecalho" && it.key() != u"itens" && it.key() != u"servicos")
            throw NFVendaRecusada{it.key(), QStringLiteral("parte desconhecida (use \"cabecalho\", \"itens\" e \"servicos\")")};
    dm.novaNFVenda();
    aplicarPares(dm, dm.cdsNFVenda(), raiz.value(QStringLiteral("cabecalho")).toArray(), QStringLiteral("cabecalho"));
    const QJsonArray itens = raiz.value(QStringLiteral("itens")).toArray();
    for (qsizetype i = 0; i < itens.size(); ++i) {
        const QString onde = QStringLiteral("item %1").arg(i + 1);
        dm.novoItem();
        aplicarPares(dm, dm.cdsNFVendaItem(), itens[i], onde);
        gravarLinha(onde, [&] { dm.gravarItem(); });
    }
    const QJsonArray servicos = raiz.value(QStringLiteral("servicos")).toArray();
    for (qsizetype i = 0; i < servicos.size(); ++i) {
        const QString onde = QStringLiteral("serviço %1").arg(i + 1);
        dm.novoServico();
        aplicarPares(dm, dm.cdsNFVendaServico(), servicos[i], onde);
        gravarLinha(onde, [&] { dm.gravarServico(); });
    }
}

QJsonObject nfvendaComoJson(TdmNFVenda& dm) {
    QJsonObject o;
    o.insert(QStringLiteral("cabecalho"), linhaJson(dm.cdsNFVenda()));
    o.insert(QStringLiteral("itens"), linhasJson(dm.cdsNFVendaItem()));
    o.insert(QStringLiteral("servicos"), linhasJson(dm.cdsNFVendaServico()));
    return o;
}

// The stored state after a step: "NUMERO SERIE STATUS" and the instalments.
void mostrarSituacao(TdmNFVenda& dm, int numero, const QString& serie, QTextStream& out) {
    abrirOuRecusar(dm, numero, serie);
    out << numero << ' ' << serie << ' ' << dm.cdsNFVenda().field(QStringLiteral("NFV_STATUS")).asString() << Qt::endl;
    const auto parcelas = dm.parcelas();
    for (parcelas->first(); !parcelas->eof(); parcelas->next())
        out << "  parcela " << parcelas->field(QStringLiteral("CON_PARCELA")).asString() << '\t'
            << parcelas->field(QStringLiteral("CON_DTVENC")).asDate().toString(QStringLiteral("dd/MM/yyyy")) << '\t'
            << parcelas->field(QStringLiteral("CON_VLRPARCELA")).asCurrency().toString(2) << Qt::endl;
}

// faturar (instalments from --parcelas/--dias or the payment method's terms), reabrir, excluir.
int acaoNaNota(const QString& acao, const CommandLine& cl, int numero, const QString& serie, QTextStream& out,
               QTextStream& err) {
    std::optional<CondicaoPagamento> condicao;
    if (cl.values.contains(QStringLiteral("parcelas")) || cl.values.contains(QStringLiteral("dias"))) {
        bool okP = true, okD = true;
        CondicaoPagamento c;
        if (cl.values.contains(QStringLiteral("parcelas")))
            c.parcelas = cl.values.value(QStringLiteral("parcelas")).toInt(&okP);
        if (cl.values.contains(QStringLiteral("dias")))
            c.diasPrimeira = c.intervalo = cl.values.value(QStringLiteral("dias")).toInt(&okD);
        if (!okP || !okD || c.parcelas < 1 || c.diasPrimeira < 0) {
            err << "erro: --parcelas deve ser 1 ou mais e --dias 0 ou mais" << Qt::endl;
            return 2;
        }
        condicao = c;
    }
    EscolhaParcelasPadrao escolha(condicao);
    return comNFVenda(err, true, true, [&](TdmNFVenda& dm) {
        setEscolhaParcelas(&escolha);
        struct Restaurar {
            ~Restaurar() { setEscolhaParcelas(nullptr); }
        } restaurar;
        abrirOuRecusar(dm, numero, serie);
        bool feito = false;
        if (acao == u"faturar")
            feito = dm.NFVENDA_Faturar_Pergunta(numero, serie,
                                                dm.cdsNFVenda().field(QStringLiteral("NFV_TIPO")).asString(), false);
        else if (acao == u"reabrir")
            feito = dm.NFVENDA_Reabrir(numero, serie);
        else
            feito = dm.NFVENDA_Excluir(numero, serie);
        if (!feito)
            return 1;
        mostrarSituacao(dm, numero, serie, out);
        return 0;
    });
}

namespace {

bool ehComandoNFe(const QString& acao) {
    static const QSet<QString> acoes{QStringLiteral("transmitir"), QStringLiteral("consultar"), QStringLiteral("danfe"),
                                     QStringLiteral("email"),      QStringLiteral("cancelar"),  QStringLiteral("cce"),
                                     QStringLiteral("inutilizar")};
    return acoes.contains(acao);
}

// The Simples text form answered by the command's options.
class ObservacaoDaLinhaDeComando : public EscolhaObservacaoSimples {
public:
    explicit ObservacaoDaLinhaDeComando(std::optional<ObservacaoSimples> o) : m_o(std::move(o)) {
        setEscolhaObservacaoSimples(this);
    }
    ~ObservacaoDaLinhaDeComando() override { setEscolhaObservacaoSimples(nullptr); }
    std::optional<ObservacaoSimples> escolher(int preSelecionada) override {
        return m_o.value_or(ObservacaoSimples{preSelecionada, {}, {}});
    }

private:
    std::optional<ObservacaoSimples> m_o;
};

// Starts the program as the shop's would, and says what it started.
class IniciadorQueMostra : public IniciadorProcessos {
public:
    explicit IniciadorQueMostra(QTextStream& out) : m_out(out) { setIniciadorProcessos(this); }
    ~IniciadorQueMostra() override { setIniciadorProcessos(nullptr); }
    void iniciar(const QString& programa, const QStringList& argumentos) override {
        m_out << "iniciado: " << programa << ' ' << argumentos.join(u' ') << Qt::endl;
        if (!QProcess::startDetached(programa, argumentos))
            throw std::runtime_error(QStringLiteral("Não foi possível iniciar %1").arg(programa).toStdString());
    }

private:
    QTextStream& m_out;
};

// What the NF-e life cycle stored on the invoice.
void mostrarNFe(TdmNFVenda& dm, int numero, const QString& serie, QTextStream& out) {
    abrirOuRecusar(dm, numero, serie);
    RecordSet& c = dm.cdsNFVenda();
    auto col = [&](const char* nome) { return c.field(QLatin1String(nome)); };
    out << numero << ' ' << serie << ' ' << col("NFV_STATUS").asString() << Qt::endl;
    out << "chave\t" << dm.GetChaveAcesso() << Qt::endl;
    const QString nprot = col("NFV_NFE_NPROT").asString().trimmed();
    if (!nprot.isEmpty()) {
        out << "protocolo\t" << nprot << Qt::endl
            << "autorizada em\t" << col("NFV_NFE_EMISSAO").asDateTime().toString(Qt::ISODate) << Qt::endl;
        if (!col("NFV_NFE_NREC").asString().isEmpty())
            out << "recibo\t" << col("NFV_NFE_NREC").asString() << Qt::endl;
    } else if (!col("NFV_XML_ENVIADO").asString().trimmed().isEmpty()) {
        out << "enviada, resposta desconhecida: consulte com kvo nfvenda consultar" << Qt::endl;
    } else {
        out << "não transmitida" << Qt::endl;
    }
    if (!col("NFV_NFE_CANC_NPROT").asString().trimmed().isEmpty())
        out << "protocolo do cancelamento\t" << col("NFV_NFE_CANC_NPROT").asString() << Qt::endl;
    RecordSet& cce = dm.cdsNFVendaCCE();
    for (cce.first(); !cce.eof(); cce.next())
        out << "carta de correção " << cce.field(QStringLiteral("NFVC_SEQUENCIAL")).asString() << '\t'
            << cce.field(QStringLiteral("NFVC_STATUS")).asString() << '\t'
            << cce.field(QStringLiteral("NFVC_NPROT")).asString() << Qt::endl;
}

void recusarSemProtocolo(TdmNFVenda& dm) {
    if (dm.cdsNFVenda().field(QStringLiteral("NFV_NFE_NPROT")).asString().trimmed().isEmpty())
        Error(QStringLiteral("Nota não foi enviada!!"));
}

int inutilizarCsv(const CommandLine& cl, QTextStream& out, QTextStream& err) {
    const QString arquivo = cl.values.value(QStringLiteral("csv"));
    if (arquivo.isEmpty() || !cl.positional.isEmpty()) {
        err << "uso: kvo nfvenda inutilizar --csv ARQ" << Qt::endl;
        return 2;
    }
    return comNFVenda(err, true, false, [&](TdmNFVenda& dm) {
        const int faixas = dm.NFE_InutilizarCSV(arquivo);
        out << faixas << " faixa(s) inutilizada(s)" << Qt::endl;
        return 0;
    });
}

int comandoNFe(const QString& acao, const QStringList& args, QTextStream& out, QTextStream& err) {
    const CommandLine cl = CommandLine::parse(
        args, {QStringLiteral("simples"), QStringLiteral("credito"), QStringLiteral("aliquota"), QStringLiteral("pdf"),
               QStringLiteral("justificativa"), QStringLiteral("texto"), QStringLiteral("csv")});
    if (!cl.error.isEmpty() || !cl.switches.isEmpty()) {
        err << (cl.error.isEmpty() ? QStringLiteral("opção desconhecida") : cl.error) << Qt::endl;
        return 2;
    }
    if (acao == u"inutilizar")
        return inutilizarCsv(cl, out, err);
    int numero = 0;
    QString serie;
    const QMap<QString, QString> permitidas{{QStringLiteral("transmitir"), QStringLiteral("simples,credito,aliquota")},
                                            {QStringLiteral("danfe"), QStringLiteral("pdf")},
                                            {QStringLiteral("cancelar"), QStringLiteral("justificativa")},
                                            {QStringLiteral("cce"), QStringLiteral("texto")}};
    const QStringList aceitas = permitidas.value(acao).split(u',', Qt::SkipEmptyParts);
    bool opcoesOk = true;
    for (auto it = cl.values.begin(); it != cl.values.end(); ++it)
        opcoesOk = opcoesOk && aceitas.contains(it.key());
    std::optional<ObservacaoSimples> simples;
    if (cl.values.contains(QStringLiteral("simples"))) {
        bool ok = false;
        simples = ObservacaoSimples{cl.values.value(QStringLiteral("simples")).toInt(&ok),
                                    cl.values.value(QStringLiteral("credito")), cl.values.value(QStringLiteral("aliquota"))};
        opcoesOk = opcoesOk && ok && simples->opcao >= 0 && simples->opcao <= 7;
    }
    const bool exigida = (acao == u"danfe" && !cl.values.contains(QStringLiteral("pdf"))) ||
                         (acao == u"cancelar" && !cl.values.contains(QStringLiteral("justificativa"))) ||
                         (acao == u"cce" && !cl.values.contains(QStringLiteral("texto")));
    if (!numeroESerie(cl, numero, serie) || !opcoesOk || exigida) {
        err << "uso: kvo nfvenda " << acao << " NUMERO SERIE"
            << (acao == u"transmitir" ? " [--simples N [--credito V --aliquota P]]"
                : acao == u"danfe"    ? " --pdf ARQ"
                : acao == u"cancelar" ? " --justificativa TEXTO"
                : acao == u"cce"      ? " --texto TEXTO"
                                      : "")
            << Qt::endl;
        return 2;
    }
    ObservacaoDaLinhaDeComando observacao(simples);
    IniciadorQueMostra iniciador(out);
    QHash<QString, QString> respostas;
    if (acao == u"cancelar")
        respostas.insert(QStringLiteral("Cancelamento"), cl.values.value(QStringLiteral("justificativa")));
    // Not "nada foi gravado" on a refusal: these steps store as they go (the
    // signed document before sending, the protocol before printing).
    return comNFVenda(
        err, true, false,
        [&](TdmNFVenda& dm) {
            abrirOuRecusar(dm, numero, serie);
            const int pessoa = int(dm.cdsNFVenda().field(QStringLiteral("CODPESSOA")).asInteger());
            nfe::NFeComponent& comp = TdmNFe::gerarInstance().componente();
            TdmNFe::gerarInstance().imprimirSempreEmArquivo(true); // no printer here: DANFEs go to the PDF folder
            if (acao == u"transmitir") {
                if (!dm.cdsNFVenda().field(QStringLiteral("NFV_NFE_NPROT")).asString().trimmed().isEmpty())
                    out << "já autorizada: nada foi enviado" << Qt::endl;
                else
                    dm.NFE_Imprimir(numero, serie, pessoa, false, true);
            } else if (acao == u"consultar") {
                dm.NFE_Consultar(numero, serie);
            } else if (acao == u"danfe") {
                recusarSemProtocolo(dm);
                dm.NFE_Imprimir(numero, serie, pessoa, false);
                const QString destino = cl.values.value(QStringLiteral("pdf"));
                QFile::remove(destino);
                if (!QFile::copy(comp.ArquivoPDF(), destino))
                    throw DatabaseError(QStringLiteral("Não foi possível gravar %1").arg(destino));
                out << destino << Qt::endl;
            } else if (acao == u"email") {
                dm.NFE_Imprimir(numero, serie, pessoa, true);
            } else if (acao == u"cancelar") {
                if (!dm.NFVENDA_Cancelar(numero, serie))
                    return 1;
            } else if (!dm.NFE_CartaCorrecao(numero, serie, cl.values.value(QStringLiteral("texto")))) {
                return 1;
            }
            mostrarNFe(dm, numero, serie, out);
            return 0;
        },
        respostas);
}

// The printed form of an invoice written as a PDF, as it would go to the printer.
int formularioPdf(const QStringList& args, QTextStream& out, QTextStream& err) {
    const CommandLine cl = CommandLine::parse(args, {QStringLiteral("pdf")});
    int numero = 0;
    QString serie;
    const QString destino = cl.values.value(QStringLiteral("pdf"));
    if (!cl.error.isEmpty() || !cl.switches.isEmpty() || !numeroESerie(cl, numero, serie) || destino.isEmpty()) {
        err << "uso: kvo nfvenda formulario NUMERO SERIE --pdf ARQ" << Qt::endl;
        return 2;
    }
    return comNFVenda(err, true, false, [&](TdmNFVenda&) {
        TrelNFVenda::gerarInstance().montar(numero, serie).gravarPDF(destino);
        out << destino << Qt::endl;
        return 0;
    });
}

} // namespace

int runNFVendaCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const QString acao = args.value(0);
    if (ehComandoNFe(acao))
        return comandoNFe(acao, args.mid(1), out, err);
    if (acao == u"formulario")
        return formularioPdf(args.mid(1), out, err);
    const bool deFaturar = acao == u"faturar";
    const bool comoXml = acao == u"xml";
    QSet<QString> comValor;
    if (deFaturar)
        comValor = {QStringLiteral("parcelas"), QStringLiteral("dias")};
    if (comoXml)
        comValor = {QStringLiteral("out")};
    const CommandLine cl =
        CommandLine::parse(args.mid(1), comValor,
                           comoXml ? QSet<QString>{QStringLiteral("assinar")}
                                   : QSet<QString>{QStringLiteral("json"), QStringLiteral("nao-alterar-cfop")});
    int numero = 0;
    QString serie;
    if (cl.error.isEmpty() && acao == u"importar" && !cl.positional.isEmpty() && !cl.switches.contains(QStringLiteral("json")))
        return importar(cl, out, err);
    const bool comNota = cl.error.isEmpty() && numeroESerie(cl, numero, serie) &&
                         !cl.switches.contains(QStringLiteral("nao-alterar-cfop"));
    if (comNota && comoXml) {
        return comNFVenda(err, true, false, [&](TdmNFVenda& dm) {
            abrirOuRecusar(dm, numero, serie);
            TdmNFe& dmNFe = TdmNFe::gerarInstance();
            const bool assinar = cl.switches.contains(QStringLiteral("assinar"));
            // The shop's settings (environment, emission form, certificate) when there are any.
            if (assinar || QFile::exists(nfe::arquivoConfiguracaoPadrao()))
                dmNFe.configurarNFE();
            nfe::NotasFiscais& lista = dmNFe.componente().NotasFiscais;
            lista.Clear();
            nfe::NotaFiscal& nota = dm.NFE_GerarDados(-1, QString(), QString());
            try {
                if (assinar)
                    lista.Assinar();
                else
                    nota.GerarXML();
            } catch (const std::exception& e) {
                throw DatabaseError(QStringLiteral("NF-e não gerada: %1").arg(QString::fromUtf8(e.what())));
            }
            const QString destino = cl.values.value(QStringLiteral("out"));
            if (destino.isEmpty()) {
                out << QString::fromUtf8(nota.XML) << Qt::endl;
                return 0;
            }
            QFile f(destino);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(nota.XML) != nota.XML.size())
                throw DatabaseError(QStringLiteral("Não foi possível gravar %1: %2").arg(destino, f.errorString()));
            out << destino << Qt::endl;
            return 0;
        });
    }
    if (comNota && acao == u"mostrar") {
        return comNFVenda(err, true, false, [&](TdmNFVenda& dm) {
            abrirOuRecusar(dm, numero, serie);
            if (cl.switches.contains(QStringLiteral("json")))
                out << QJsonDocument(nfvendaComoJson(dm)).toJson(QJsonDocument::Indented);
            else
                mostrarTexto(dm, out);
            return 0;
        });
    }
    if (comNota && acao == u"recalcular" && !cl.switches.contains(QStringLiteral("json"))) {
        return comNFVenda(err, true, true, [&](TdmNFVenda& dm) {
            abrirOuRecusar(dm, numero, serie);
            if (dm.cdsNFVenda().field(QStringLiteral("NFV_STATUS")).asString() != u"Aberta")
                throw DatabaseError(QStringLiteral("A nota fiscal %1 da série %2 não está aberta (%3): só uma nota aberta é recalculada")
                                        .arg(numero)
                                        .arg(serie, dm.cdsNFVenda().field(QStringLiteral("NFV_STATUS")).asString()));
            dm.recalcularNFVenda();
            dm.gravarNFVenda();
            abrirOuRecusar(dm, numero, serie);
            mostrarTexto(dm, out);
            return 0;
        });
    }
    if (comNota && (deFaturar || acao == u"reabrir" || acao == u"excluir") && cl.switches.isEmpty())
        return acaoNaNota(acao, cl, numero, serie, out, err);
    if (!cl.error.isEmpty())
        err << cl.error << Qt::endl;
    err << "uso: kvo nfvenda importar ARQ.json [ARQ.json ...] [--nao-alterar-cfop]" << Qt::endl
        << "     kvo nfvenda mostrar NUMERO SERIE [--json]" << Qt::endl
        << "     kvo nfvenda recalcular NUMERO SERIE" << Qt::endl
        << "     kvo nfvenda faturar NUMERO SERIE [--parcelas N] [--dias D]" << Qt::endl
        << "     kvo nfvenda reabrir|excluir NUMERO SERIE   (excluir: a senha vem de KVO_SENHA)" << Qt::endl
        << "     kvo nfvenda xml NUMERO SERIE [--out ARQ] [--assinar]" << Qt::endl
        << "     kvo nfvenda transmitir NUMERO SERIE [--simples N [--credito V --aliquota P]]" << Qt::endl
        << "     kvo nfvenda consultar|email NUMERO SERIE" << Qt::endl
        << "     kvo nfvenda danfe NUMERO SERIE --pdf ARQ" << Qt::endl
        << "     kvo nfvenda formulario NUMERO SERIE --pdf ARQ" << Qt::endl
        << "     kvo nfvenda cancelar NUMERO SERIE --justificativa TEXTO" << Qt::endl
        << "     kvo nfvenda cce NUMERO SERIE --texto TEXTO" << Qt::endl
        << "     kvo nfvenda inutilizar --csv ARQ" << Qt::endl;
    return 2;
}

} // namespace kvo
