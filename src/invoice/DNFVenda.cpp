// The invoice data module: record sets, opening, the new-invoice defaults,
// service lines, correction letters and the read-only helpers. Header
// reactions: DNFVendaCabecalho.cpp; items: DNFVendaItem.cpp and
// DNFVendaUnidades.cpp; arithmetic: DNFVendaTotais.cpp; saving: NumeracaoNFVenda.cpp.
#include "invoice/DNFVenda.h"

#include "core/Clock.h"
#include "framework/db/SqlText.h"
#include "framework/services/ChavesConfiguracao.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DCadastros.h"

namespace kvo {

using namespace nfvenda;

namespace nfvenda {
std::unique_ptr<RecordSet> conjuntoDaNota(Database& db, const QString& select, const QString& tabela,
                                          const QStringList& chaves, const QStringList& juntadas) {
    const auto modelo = db.query(select, {{QStringLiteral("CODNFVENDA"), -1}, {QStringLiteral("CODSERIE"), QString()}});
    auto rs = std::make_unique<RecordSet>(db);
    for (int i = 0; i < modelo->fieldCount(); ++i) {
        const Field& m = modelo->field(i);
        rs->addField(m.name(), m.type(), m.size(), juntadas.contains(m.name()) ? FieldKind::Joined : FieldKind::Data);
    }
    rs->setCommandText(select);
    rs->setUpdateTable(tabela);
    rs->setKeyFields(chaves);
    return rs;
}
} // namespace nfvenda

namespace {
Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }

const char* selectCabecalho =
    "select n.*, p.PES_NOME, p.PES_EMAIL, p.PES_EMAIL_NFE, p.PES_CONTATOS, p.PES_RAZAO_SOCIAL, p.PES_ENDERECO, "
    "p.PES_ENDERECO_NUMERO, p.PES_ENDERECO_COMPLEMENTO, p.PES_BAIRRO, p.PES_CIDADE, p.PES_UF, p.PES_CEP, "
    "p.PES_TELEFONE, p.PES_TELEFONE_DDD, p.PES_CPFCNPJ, p.PES_CONSUMIDOR_FINAL, p.PES_IE, p.PES_NOME_2, "
    "p.PES_RAZAO_SOCIAL_2, "
    "coalesce(p.PES_RAZAO_SOCIAL, '') || ' (' || coalesce(p.PES_NOME, '') || ')' as PES_NOME_RAZAO, "
    "coalesce(p.PES_ENDERECO, '') || ' ' || coalesce(p.PES_ENDERECO_NUMERO, 'S/N') || ' ' || "
    "coalesce(p.PES_ENDERECO_COMPLEMENTO, '') as PES_END_RUA_NUM_COMPL, "
    "c.CFOP_DESCRICAO, c.CFOP_GERAFINANCEIRO, c.CFOP_CLASSIFICACAO, c.CFOP_TIPO, s.SER_TIPO, f.FPG_DESCRICAO, "
    "t.PES_RAZAO_SOCIAL as TRA_RAZAO_SOCIAL, t.PES_NOME as TRA_NOME, t.PES_CPFCNPJ as TRA_CPFCNPJ, "
    "t.PES_ENDERECO as TRA_ENDERECO, t.PES_BAIRRO as TRA_BAIRRO, t.PES_CIDADE as TRA_CIDADE, t.PES_UF as TRA_UF, "
    "t.PES_IE as TRA_IE, v.VEN_NOME "
    "from NFVENDA n join PESSOA p on p.CODPESSOA = n.CODPESSOA join CFOP c on c.CODCFOP = n.CODCFOP "
    "left join SERIE s on s.CODSERIE = n.CODSERIE "
    "left join FORMAPAGAMENTO f on f.CODFORMAPAGAMENTO = n.CODFORMAPAGAMENTO "
    "left join PESSOA t on t.CODPESSOA = n.CODTRANSPORTADORA "
    "left join VENDEDOR v on v.CODVENDEDOR = n.CODVENDEDOR "
    "where n.CODNFVENDA = :CODNFVENDA and n.CODSERIE = :CODSERIE";
} // namespace

TdmNFVenda& TdmNFVenda::gerarInstance() { return Module::current().instance<TdmNFVenda>(); }

TdmNFVenda::TdmNFVenda() {
    m_ultimoTipoPreco = QStringLiteral("01");
    eventoCancelamentoNFe = [this](int numero, const QString& serie) { NFE_EventoCancelamento(numero, serie); };
    Database& db = conexao();
    m_unidadeServico = std::make_unique<RecordSet>(db);
    m_unidadeServico->setCommandText(QStringLiteral(
        "select s.CODSERVICO, s.CODUNIDADE as CODPRODUTOUNIDADE, u.PROU_SIGLA from SERVICOS s "
        "left join PRODUTO_UNIDADE u on u.CODPRODUTOUNIDADE = s.CODUNIDADE where s.CODSERVICO = :CODSERVICO"));
    m_unidadeServico->setReadOnly(true);
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    for (const ChaveConfiguracao& c : chavesNFVenda())
        cfg.verificaConfiguracao(QString::fromUtf8(c.grupo), QString::fromUtf8(c.chave), QString::fromUtf8(c.tipo),
                                 QString::fromUtf8(c.padrao), QString::fromUtf8(c.descricao));
    m_unidadesProduto = std::make_unique<RecordSet>(db);
    m_unidadesProduto->setCommandText(QStringLiteral(
        "select distinct CODPRODUTOUNIDADE, PROU_SIGLA, QTDE from STP_CONS_PRODUTO_UNIDADE(:CODPRODUTO)"));
    m_unidadesProduto->setReadOnly(true);
    m_unidades = m_unidadesProduto.get();

    m_pesqPedidoECF = std::make_unique<TwbtPesquisa>(db);
    m_pesqPedidoECF->configurar(
        QStringLiteral("select e.CODPEDECF, e.PECF_DATA, e.PECF_STATUS, p.PES_NOME, e.PECF_COO, e.PECF_CCF, e.PECF_TOTAL "
                       "from PEDECF e left join PESSOA p on p.CODPESSOA = e.CODPESSOA"),
        QStringLiteral("e.CODPEDECF"), QStringLiteral("Pesquisa de Pedido ECF"), QStringLiteral("Registro não foi encontrado"));
    m_pesqPedidoECF->SetSQL4Where(QStringLiteral("e.PECF_STATUS = 'FINALIZADO'"));
    m_pesqNFVenda = std::make_unique<TwbtPesquisa>(db);
    m_pesqNFVenda->configurar(
        QStringLiteral("select NFVENDA.CODNFVENDA, NFVENDA.CODSERIE, PESSOA.PES_NOME, NFVENDA.CODCFOP, "
                       "NFVENDA.NFV_DTEMISSAO, NFVENDA.NFV_TOTAL_NOTA, CFOP.CFOP_CLASSIFICACAO from NFVENDA "
                       "join CFOP on CFOP.CODCFOP = NFVENDA.CODCFOP join PESSOA on PESSOA.CODPESSOA = NFVENDA.CODPESSOA"),
        QStringLiteral("NFVENDA.CODNFVENDA"), QStringLiteral("Pesquisa de Nota Fiscal"),
        QStringLiteral("Registro não foi encontrado"));

    criarCabecalho();
    criarItens();
    criarServicos();
    criarCCE();
    ligarFilhosAoCabecalho();
}

TdmNFVenda::~TdmNFVenda() = default;

void TdmNFVenda::criarCabecalho() {
    QStringList juntadas = colunasPessoa() + colunasTransportadora() + colunasCfop();
    juntadas << "PES_ENDERECO_NUMERO" << "PES_ENDERECO_COMPLEMENTO" << "PES_TELEFONE_DDD" << "PES_CONSUMIDOR_FINAL"
             << "PES_RAZAO_SOCIAL_2" << "PES_NOME_RAZAO" << "PES_END_RUA_NUM_COMPL" << "SER_TIPO" << "FPG_DESCRICAO"
             << "VEN_NOME";
    m_cab = conjuntoDaNota(conexao(), QString::fromLatin1(selectCabecalho), QStringLiteral("NFVENDA"),
                           {QStringLiteral("CODNFVENDA"), QStringLiteral("CODSERIE")}, juntadas);
    RecordSet& c = *m_cab;
    const std::pair<const char*, const char*> obrigatorios[] = {
        {"CODNFVENDA", "Nr. NF"}, {"CODSERIE", "Série"}, {"CODPESSOA", "Cliente"}, {"CODCFOP", "CFOP"},
        {"NFV_TIPO", "Tipo"}, {"NFV_DTEMISSAO", "Emissão"}, {"NFV_GER_FINANCEIRO", "Ger. Financeiro"},
        {"NFV_ENTREGUE", "Entregue"}, {"NFV_FINALIDADE_EMISSAO", "Finalidade"}};
    for (const auto& [nome, rotulo] : obrigatorios)
        f(c, nome).setRequired(true).setDisplayLabel(QString::fromUtf8(rotulo));
    const std::pair<const char*, int> calculados[] = {
        {"tipo_x", 1}, {"tipo_x_entrada", 1}, {"CODSERIE_2", 3}, {"Selo_AA", 2}, {"SERIE_COD_1", 20},
        {"SERIE_COD_2", 20}, {"CNPJ_Empresa", 20}, {"IE_Empresa", 20}, {"RazaoSocial_Empresa", 40}, {"auxNF", 12}};
    for (const auto& [nome, tamanho] : calculados)
        c.addField(QString::fromLatin1(nome), FieldType::String, tamanho, FieldKind::Calculated);
    c.addField(QStringLiteral("CODNFVENDA_2"), FieldType::Integer, 0, FieldKind::Calculated);
    for (const char* nome : {"Data_Saida", "Data_Emissao_2", "auxDtEmissao"})
        c.addField(QString::fromLatin1(nome), FieldType::Date, 0, FieldKind::Calculated);
    c.addField(QStringLiteral("Hora"), FieldType::Time, 0, FieldKind::Calculated);
    c.onCalcFields = [this](RecordSet& rs) { cdsNFVendaCalcFields(rs); };
    c.onNewRecord = [this](RecordSet&) { cdsNFVendaNewRecord(); };
    ligarCabecalho();
}

void TdmNFVenda::cdsNFVendaCalcFields(RecordSet& c) {
    const bool entrada = str(c, "NFV_TIPO") == u"E";
    set(c, "tipo_x", entrada ? QStringLiteral(" ") : QStringLiteral("X"));
    set(c, "tipo_x_entrada", entrada ? QStringLiteral("X") : QStringLiteral(" "));
    set(c, "CODSERIE_2", f(c, "CODSERIE").value());
    set(c, "CODNFVENDA_2", f(c, "CODNFVENDA").value());
    const QVariant emissao = f(c, "NFV_DTEMISSAO").value();
    for (const char* nome : {"Data_Saida", "Data_Emissao_2", "auxDtEmissao"})
        set(c, nome, emissao);
    set(c, "Hora", Clock::now().time());
    set(c, "Selo_AA", QStringLiteral("AA"));
    const QString serie = QStringLiteral("Série: ") + str(c, "CODSERIE");
    set(c, "SERIE_COD_1", serie);
    set(c, "SERIE_COD_2", serie);
    const Empresa& e = TdmAcesso::gerarInstance().empresa();
    set(c, "CNPJ_Empresa", e.cnpj);
    set(c, "IE_Empresa", e.ie);
    set(c, "RazaoSocial_Empresa", e.razaoSocial);
    const qint64 dev = inteiro(c, "CODNFVENDA_DEV"), compra = inteiro(c, "CODNFCOMPRA_DEV");
    set(c, "auxNF", dev > 0 ? QString::number(dev) : compra > 0 ? QString::number(compra) : QString());
}

void TdmNFVenda::criarServicos() {
    m_serv = conjuntoDaNota(conexao(),
                            QStringLiteral("select * from NFVENDA_SERVICO where CODNFVENDA = :CODNFVENDA and "
                                           "CODSERIE = :CODSERIE order by CODNFVENDASERVICO"),
                            QStringLiteral("NFVENDA_SERVICO"), {QStringLiteral("CODNFVENDASERVICO")}, {});
    RecordSet& s = *m_serv;
    for (const char* nome : {"CODNFVENDASERVICO", "CODNFVENDA", "CODSERIE"})
        f(s, nome).setRequired(true);
    s.onNewRecord = [this](RecordSet&) { cdsNFVendaServicoNewRecord(); };
    s.beforePost = [](RecordSet& rs) {
        if (rs.state() == RecordSet::State::Insert && f(rs, "CODNFVENDASERVICO").isNull())
            set(rs, "CODNFVENDASERVICO", rs.database()->getGeneretor(QStringLiteral("GEN_NFVENDA_SERVICO")));
    };
    for (const char* nome : {"NFVS_QTDE", "NFVS_VLR_UNITARIO"})
        f(s, nome).onValidate = [this](Field&) { CalcularTotalNFVENDASERVICO(); };
}

void TdmNFVenda::criarCCE() {
    m_cce = conjuntoDaNota(conexao(),
                           QStringLiteral("select * from NFVENDA_CCE where CODNFVENDA = :CODNFVENDA and "
                                          "CODSERIE = :CODSERIE order by NFVC_SEQUENCIAL"),
                           QStringLiteral("NFVENDA_CCE"), {QStringLiteral("CODNFVENDACCE")}, {});
    RecordSet& c = *m_cce;
    for (const char* nome : {"CODNFVENDACCE", "CODNFVENDA", "CODSERIE", "NFVC_SEQUENCIAL"})
        f(c, nome).setRequired(true);
    c.onNewRecord = [this](RecordSet&) { cdsNFVendaCCENewRecord(); };
    c.beforePost = [](RecordSet& rs) {
        if (rs.state() == RecordSet::State::Insert && f(rs, "CODNFVENDACCE").isNull())
            set(rs, "CODNFVENDACCE", rs.database()->getGeneretor(QStringLiteral("GEN_NFVENDA_CCE")));
    };
}

// ---------------------------------------------------------------- opening

void TdmNFVenda::abrirFilhos(const QVariant& numero, const QString& serie) {
    for (RecordSet* rs : {m_item.get(), m_cce.get(), m_serv.get()}) {
        rs->close();
        rs->setParam(QStringLiteral("CODNFVENDA"), numero.toInt());
        rs->setParam(QStringLiteral("CODSERIE"), serie);
        rs->open();
    }
}

bool TdmNFVenda::abrirNFVenda(int codnfvenda, const QString& codserie) {
    m_cab->close();
    m_cab->setParam(QStringLiteral("CODNFVENDA"), codnfvenda);
    m_cab->setParam(QStringLiteral("CODSERIE"), codserie);
    m_cab->open(); // the children follow (ligarFilhosAoCabecalho)
    return !m_cab->isEmpty();
}

void TdmNFVenda::fecharNFVenda() { m_cab->close(); }

// Whoever opens or closes the header (this module, a screen, a refresh), its
// items, correction letters and service lines follow it.
void TdmNFVenda::ligarFilhosAoCabecalho() {
    QObject::connect(m_cab.get(), &RecordSet::stateChanged, m_cab.get(), [this] {
        const bool aberto = m_cab->active();
        if (aberto == m_cabecalhoAberto)
            return;
        m_cabecalhoAberto = aberto;
        if (aberto) {
            abrirFilhos(f(*m_cab, "CODNFVENDA").value(), str(*m_cab, "CODSERIE"));
        } else {
            m_serv->close();
            m_item->close();
            m_cce->close();
        }
    });
}

void TdmNFVenda::novaNFVenda() {
    abrirNFVenda(-1, QString());
    m_cab->append();
}

void TdmNFVenda::editarNFVenda() { m_cab->edit(); }

void TdmNFVenda::cancelarNFVenda() {
    for (RecordSet* rs : {m_serv.get(), m_item.get(), m_cce.get(), m_cab.get()})
        if (rs->active())
            rs->cancelUpdates();
}

void TdmNFVenda::setValorCampo(RecordSet& rs, const QString& coluna, const QString& texto) {
    Field& campo = rs.field(coluna);
    if (!emEdicao(rs))
        rs.edit();
    campo.setValue(texto.isEmpty() ? QVariant() : QVariant(texto));
}

bool TdmNFVenda::cabecalhoEditando() const { return emEdicao(*m_cab); }

// ---------------------------------------------------------------- defaults

void TdmNFVenda::cdsNFVendaNewRecord() {
    RecordSet& c = *m_cab;
    TdmConfiguracao& cfg = TdmConfiguracao::gerarInstance();
    TdmParametro& parametro = TdmParametro::gerarInstance();
    m_ultimoTipoPreco = QStringLiteral("01");
    try {
        const int forma = cfg.getInt(QStringLiteral("NFV_CODFORMA"), 0);
        if (forma > 0)
            set(c, "CODFORMAPAGAMENTO", forma);
    } catch (const std::exception&) {
        // the payment-method default is a convenience; an unusable one is left out
    }
    set(c, "NFV_TIPO", QStringLiteral("S"));
    set(c, "NFV_DTEMISSAO", TdmCaixaAbertura::gerarInstance().getDataAbertura(true));
    set(c, "NFV_STATUS", QStringLiteral("Aberta"));
    set(c, "NFV_SELO_FISCAL", parametro.seloFiscalAtual());
    set(c, "NFV_GER_FINANCEIRO", QStringLiteral("S"));
    set(c, "NFV_TP_FRETE", cfg.getStr(QStringLiteral("NFV.TP.FRETE")));
    for (const char* nome : {"NFV_ICMS_BASE", "NFV_ICMS_ALIQ", "NFV_ICMS", "NFV_ISS_BASE", "NFV_ISS", "NFV_ISS_ALIQ",
                             "NFV_IPI", "NFV_FRETE", "NFV_TOTAL_PRODUTOS", "NFV_TOTAL_NOTA", "NFV_PIS_PERC",
                             "NFV_COFINS_PERC", "NFV_CS_PERC", "NFV_ISS_PERC", "NFV_IR_PERC", "NFV_INSS_PERC",
                             "NFV_OUTROS_PERC", "NFV_ICMS_SUBST_BASE", "NFV_ICMS_SUBST"})
        f(c, nome).setValueSilently(0); // zeros: nothing to recompute yet
    set(c, "NFV_FINALIDADE_EMISSAO", QStringLiteral("1"));
    set(c, "NFV_CNF", conexao().getGeneretor(QStringLiteral("GEN_NFVENDA_CNF")) + 1);
    const QString cfopParametro = cfg.getStr(QStringLiteral("NF.CFOP.PAD")).trimmed();
    if (!cfopParametro.isEmpty())
        set(c, "CODCFOP", QString::number(cfopParametro.toInt()));
    set(c, "NFV_BAIXA_ESTOQUE", cfg.getStr(QStringLiteral("NF.BAIXA.ESTQ")));
    set(c, "NFV_ENTREGUE", QStringLiteral("N"));
    set(c, "NFV_OBS", cfg.getStr(QStringLiteral("NF.AUT.OBS")));
    set(c, "CODPARGERAL", TdmAcesso::gerarInstance().empresaAtual());
    const QString seriePadrao = parametro.seriePadrao();
    if (!seriePadrao.isEmpty())
        set(c, "CODSERIE", seriePadrao);
    const QString cfopPadrao = parametro.cfopPadrao();
    if (!cfopPadrao.isEmpty())
        set(c, "CODCFOP", cfopPadrao);
    set(c, "NFV_NAOZERARICMS", QStringLiteral("N"));
}

void TdmNFVenda::cdsNFVendaServicoNewRecord() {
    RecordSet& s = *m_serv;
    set(s, "CODNFVENDA", f(*m_cab, "CODNFVENDA").value());
    set(s, "CODSERIE", f(*m_cab, "CODSERIE").value());
    f(s, "NFVS_QTDE").setValueSilently(1);
    f(s, "NFVS_VLR_UNITARIO").setValueSilently(0);
    set(s, "NFVS_TOTAL", 0);
    set(s, "NFVS_UNIDADE", QStringLiteral("UND"));
}

void TdmNFVenda::cdsNFVendaCCENewRecord() {
    RecordSet& c = *m_cce;
    set(c, "CODNFVENDA", f(*m_cab, "CODNFVENDA").value());
    set(c, "CODSERIE", f(*m_cab, "CODSERIE").value());
    set(c, "NFVC_SEQUENCIAL", ProximoSequencialCCE());
    set(c, "NFVC_DATA", Clock::now());
}

int TdmNFVenda::ProximoSequencialCCE() {
    const QString sql = QStringLiteral("SELECT COUNT(CODNFVENDACCE) FROM NFVENDA_CCE WHERE  CODNFVENDA = %1 AND  CODSERIE = %2")
                            .arg(inteiro(*m_cab, "CODNFVENDA"))
                            .arg(quotedStr(str(*m_cab, "CODSERIE")));
    return conexao().scalar(sql).toInt() + 1;
}

// ---------------------------------------------------------------- helpers

std::unique_ptr<RecordSet> TdmNFVenda::parcelas() {
    return conexao().query(QStringLiteral("select CON_NUMDOC, CON_PARCELA, CON_VLRPARCELA, CON_VLRTOTAL, CON_DTVENC "
                                          "from CONTAS where CODNFVENDA = :N and CODSERIE = :S and CON_STATUS <> 'EXCLUÍDA' "
                                          "order by CON_DTVENC, CODCONTA"),
                           {{QStringLiteral("N"), inteiro(*m_cab, "CODNFVENDA")},
                            {QStringLiteral("S"), str(*m_cab, "CODSERIE")}});
}

std::unique_ptr<RecordSet> TdmNFVenda::meiosDePagamento() {
    return conexao().query(
        QStringLiteral("select m.MOE_NFE_PAG, m.MOE_NFE_BAND, m.MOE_NFE_INTEGRADO, sum(c.CON_VLRPARCELA) as VALOR "
                       "from CONTAS c join MOEDA m on m.CODMOEDA = c.CODMOEDA "
                       "where c.CODNFVENDA = :N and c.CODSERIE = :S and c.CON_STATUS <> 'EXCLUÍDA' "
                       "group by m.MOE_NFE_PAG, m.MOE_NFE_BAND, m.MOE_NFE_INTEGRADO, c.CON_VLRPARCELA"),
        {{QStringLiteral("N"), inteiro(*m_cab, "CODNFVENDA")}, {QStringLiteral("S"), str(*m_cab, "CODSERIE")}});
}

} // namespace kvo
