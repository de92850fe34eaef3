// The header reactions: customer, CFOP (and its check), series, carrier,
// seller and the fields that recompute the totals.
#include "invoice/DNFVenda.h"

#include "framework/services/DAcesso.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVendaInterno.h"
#include "registers/DCadastros.h"
#include "registers/DPessoa.h"

namespace kvo {

using namespace nfvenda;

namespace nfvenda {
const QStringList& colunasPessoa() {
    static const QStringList c = {"PES_NOME", "PES_CPFCNPJ", "PES_CONTATOS", "PES_RAZAO_SOCIAL", "PES_ENDERECO",
                                  "PES_BAIRRO", "PES_CIDADE", "PES_UF", "PES_CEP", "PES_TELEFONE", "PES_IE",
                                  "PES_NOME_2", "PES_EMAIL", "PES_EMAIL_NFE"};
    return c;
}
const QStringList& colunasTransportadora() {
    static const QStringList c = {"TRA_RAZAO_SOCIAL", "TRA_NOME", "TRA_CPFCNPJ", "TRA_ENDERECO",
                                  "TRA_BAIRRO", "TRA_CIDADE", "TRA_UF", "TRA_IE"};
    return c;
}
const QStringList& colunasCfop() {
    static const QStringList c = {"CFOP_DESCRICAO", "CFOP_GERAFINANCEIRO", "CFOP_CLASSIFICACAO", "CFOP_TIPO"};
    return c;
}
} // namespace nfvenda

namespace {
Database& conexao() { return TdmAcesso::gerarInstance().sqlCon(); }

QList<Field*> campos(RecordSet& rs, const QStringList& nomes) {
    QList<Field*> lista;
    for (const QString& n : nomes)
        lista << &rs.field(n);
    return lista;
}

void limpar(RecordSet& rs, const QStringList& nomes) {
    for (const QString& n : nomes)
        rs.field(n).clear();
}
} // namespace

void TdmNFVenda::ligarCabecalho() {
    RecordSet& c = *m_cab;
    f(c, "CODPESSOA").onValidate = [this, &c](Field& campo) {
        if (campo.asInteger() == 0) {
            limpar(c, colunasPessoa());
            return;
        }
        TwbtPesquisa& pesquisa = TdmPessoa::gerarInstance().pesquisa();
        if (!pesquisa.Localizar(campo.value()))
            return;
        pesquisa.Complementar(campos(c, colunasPessoa()));
        ValidaCfop();
        const qint64 transportadora =
            conexao()
                .scalar(QStringLiteral(" SELECT  CODTRANSPORTADORA  from PESSOA  where CODPESSOA = ") +
                        QString::number(campo.asInteger()))
                .toLongLong();
        if (transportadora != 0)
            set(c, "CODTRANSPORTADORA", transportadora);
    };
    f(c, "CODCFOP").onValidate = [this, &c](Field& campo) {
        if (campo.asString().trimmed().isEmpty()) {
            limpar(c, colunasCfop());
            return;
        }
        TwbtPesquisa& pesquisa = TdmCfop::gerarInstance().pesquisa();
        if (pesquisa.Localizar(campo.asString().trimmed())) {
            pesquisa.Complementar(campos(c, colunasCfop() + QStringList{QStringLiteral("NFV_TIPO")}));
            RecordSet& itens = *m_item;
            if (itens.active() && !itens.isEmpty() && Confirma(QStringLiteral("Deseja alterar o CFOP dos itens?"))) {
                for (itens.first(); !itens.eof(); itens.next()) {
                    itens.edit();
                    set(itens, "CODCFOP", campo.asString().trimmed());
                    itens.post();
                }
            }
        }
        ValidaCfop();
    };
    f(c, "CODSERIE").onValidate = [this](Field& campo) { trocarSerie(campo); };
    f(c, "CODTRANSPORTADORA").onValidate = [&c](Field& campo) {
        if (campo.asInteger() == 0) {
            limpar(c, colunasTransportadora());
            return;
        }
        TwbtPesquisa& pesquisa = TdmPessoa::gerarInstance().pesquisaTransportadora();
        if (pesquisa.Localizar(campo.value()))
            pesquisa.Complementar(campos(c, colunasTransportadora()));
    };
    f(c, "CODVENDEDOR").onValidate = [&c](Field& campo) {
        if (campo.asInteger() == 0) {
            f(c, "VEN_NOME").clear();
            return;
        }
        TwbtPesquisa& pesquisa = TdmVendedor::gerarInstance().pesquisa();
        if (pesquisa.Localizar(campo.value()))
            pesquisa.Complementar({&f(c, "VEN_NOME")});
    };
    for (const char* nome : {"NFV_ACRESCIMO", "NFV_DESCVLR", "NFV_FRETE", "NFV_IR_PERC", "NFV_ISS_ALIQ", "NFV_TP_FRETE"})
        f(c, nome).onValidate = [this](Field&) { NFVENDA_CalcularTotal(); };
}

void TdmNFVenda::trocarSerie(Field& campo) {
    RecordSet& c = *m_cab;
    if (c.state() != RecordSet::State::Insert)
        return;
    const QString serie = campo.asString().trimmed();
    if (serie.isEmpty())
        Error(QStringLiteral("Você precisa informa uma Série para essa nota fiscal"));
    const auto linha = conexao().query(QStringLiteral("select SER_SEQ, SER_TIPO from SERIE where CODSERIE = :S"),
                                       {{QStringLiteral("S"), serie}});
    // An unknown series would only fail at saving, on its foreign key.
    if (linha->isEmpty())
        Error(QStringLiteral("Série %1 não cadastrada!").arg(serie));
    set(c, "CODNFVENDA", linha->field(0).value());
    set(c, "SER_TIPO", linha->field(1).value());
    renumerarFilhos(int(inteiro(c, "CODNFVENDA")), campo.asString());
}

void TdmNFVenda::renumerarFilhos(int numero, const QString& serie) {
    for (RecordSet* rs : {m_item.get(), m_serv.get(), m_cce.get()}) {
        if (!rs->active())
            continue;
        rs->checkBrowseMode();
        DisableControls parado(*rs);
        for (rs->first(); !rs->eof(); rs->next()) {
            rs->edit();
            f(*rs, "CODNFVENDA").setValueSilently(numero);
            f(*rs, "CODSERIE").setValueSilently(serie);
            rs->post();
        }
    }
}

void TdmNFVenda::ValidaCfop() {
    RecordSet& c = *m_cab;
    const QString cfop = str(c, "CODCFOP").trimmed();
    const QString uf = str(c, "PES_UF").trimmed();
    if (cfop.isEmpty() || uf.isEmpty())
        return;
    const bool mesmoEstado = uf.compare(TdmAcesso::gerarInstance().empresa().uf.trimmed(), Qt::CaseInsensitive) == 0;
    if (cfop.startsWith(u'6') && mesmoEstado)
        Error(QStringLiteral("Esse Cfop (") + cfop + QStringLiteral(") só aceita pessoas de fora do estado"));
    if (cfop.startsWith(u'5') && !mesmoEstado)
        Error(QStringLiteral("Esse Cfop (") + cfop + QStringLiteral(") só aceita pessoas de dentro do estado"));
}

} // namespace kvo
