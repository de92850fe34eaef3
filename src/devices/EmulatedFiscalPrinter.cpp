#include "devices/EmulatedFiscalPrinter.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/Text.h"
#include "devices/FiscalDocumentText.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace kvo {

namespace {

[[noreturn]] void recusar(const QString& mensagem) {
    throw FiscalPrinterError(mensagem);
}

QString indiceTexto(int indice) {
    return PadL(QString::number(indice), 2, u'0');
}

bool aliquotaValida(const QString& aliquota) {
    static const QRegularExpression valida(QStringLiteral("^(?:[TS]\\d{2,4}|FF|II|NN|F|I|N)$"));
    return valida.match(aliquota).hasMatch();
}

} // namespace

// Marks the printer busy for one command and checks that it can answer:
// active, switched on, and no failure waiting to be reported.
class EmulatedFiscalPrinter::Comando {
public:
    explicit Comando(EmulatedFiscalPrinter& ecf, bool exigeAtivo = true, QStringView nome = {}) : m_ecf(ecf) {
        m_ecf.m_ocupada = true;
        if (exigeAtivo && !m_ecf.m_ativo)
            fail(QStringLiteral("Impressora fiscal não está ativa."));
        if (m_ecf.m_desligada)
            fail(QStringLiteral("Impressora fiscal desligada ou sem comunicação."));
        if (m_ecf.m_proximaFalha) {
            const QString mensagem = *m_ecf.m_proximaFalha;
            m_ecf.m_proximaFalha.reset();
            fail(mensagem);
        }
        if (m_ecf.m_falhaNoComando && !nome.isEmpty() && m_ecf.m_falhaNoComando->first == nome) {
            const QString mensagem = m_ecf.m_falhaNoComando->second;
            m_ecf.m_falhaNoComando.reset();
            fail(mensagem);
        }
    }
    ~Comando() { m_ecf.m_ocupada = false; }
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;

private:
    // The destructor does not run when the constructor throws.
    [[noreturn]] void fail(const QString& mensagem) {
        m_ecf.m_ocupada = false;
        recusar(mensagem);
    }
    EmulatedFiscalPrinter& m_ecf;
};

EmulatedFiscalPrinter::EmulatedFiscalPrinter(const QString& stateFolder,
                                             std::shared_ptr<ReceiptPrinterTarget> target, int numeroEcf)
    : m_stateFile(QDir(stateFolder).filePath(QStringLiteral("ecf_estado.json"))),
      m_target(std::move(target)) {
    if (auto saved = FiscalPrinterState::load(m_stateFile)) {
        m_state = *saved;
        return;
    }
    if (!QDir().mkpath(stateFolder))
        recusar(QStringLiteral("Não foi possível criar a pasta da impressora fiscal %1.").arg(stateFolder));
    FiscalPrinterState novo;
    novo.numeroEcf = numeroEcf;
    novo.relatorios.append({1, QStringLiteral("CONFERENCIA DE MESA"), 0});
    gravar(novo);
}

void EmulatedFiscalPrinter::Ativar() {
    Comando comando(*this, false);
    m_ativo = true;
}

void EmulatedFiscalPrinter::CarregaRelatoriosGerenciais() {
    Comando comando(*this);
    m_relatoriosCarregados = m_state.relatorios;
}

std::optional<RelatorioGerencialInfo> EmulatedFiscalPrinter::AchaRGIndice(const QString& id) const {
    bool numeric = false;
    const int indice = id.trimmed().toInt(&numeric);
    if (!numeric)
        return std::nullopt;
    for (const RelatorioGerencialInfo& r : m_relatoriosCarregados)
        if (r.indice == indice)
            return r;
    return std::nullopt;
}

void EmulatedFiscalPrinter::RelatorioGerencial(const QStringList& linhas, int copias, int indice) {
    Comando comando(*this);
    exigirPapel();
    if (m_state.cupom)
        recusar(QStringLiteral("Não é possível emitir relatório gerencial com cupom fiscal aberto."));
    if (copias < 1)
        recusar(QStringLiteral("Número de cópias inválido: %1.").arg(copias));
    if (!m_state.relatorio(indice))
        recusar(
            QStringLiteral("Relatório gerencial %1 não programado na impressora.").arg(indiceTexto(indice)));
    for (int copia = 0; copia < copias; ++copia) {
        FiscalPrinterState novo = m_state;
        ++novo.coo;
        ++novo.gnf;
        RelatorioGerencialInfo& tipo = *novo.relatorio(indice);
        ++tipo.contador;
        imprimir(QStringLiteral("RELATORIO GERENCIAL ") + indiceTexto(indice),
                 fiscaltext::relatorioGerencial(novo, tipo, linhas, Clock::now()));
        gravar(novo);
    }
}

QString EmulatedFiscalPrinter::NumCupom() {
    Comando comando(*this);
    return PadL(QString::number(m_state.coo), 6, u'0');
}

QString EmulatedFiscalPrinter::NumECF() {
    Comando comando(*this);
    return PadL(QString::number(m_state.numeroEcf), 3, u'0');
}

void EmulatedFiscalPrinter::TestaPodeAbrirCupom() {
    Comando comando(*this);
    exigirPapel();
    if (m_state.cupom)
        recusar(QStringLiteral("Cupom fiscal já está aberto."));
}

void EmulatedFiscalPrinter::AbreCupom(const QString& cpfCnpj, const QString& nome, const QString& endereco) {
    TestaPodeAbrirCupom();
    Comando comando(*this, true, u"AbreCupom");
    FiscalPrinterState novo = m_state;
    ++novo.coo;
    ++novo.ccf;
    CupomFiscal cupom;
    cupom.coo = novo.coo;
    cupom.ccf = novo.ccf;
    cupom.abertura = Clock::now();
    cupom.cpfCnpj = cpfCnpj.trimmed();
    cupom.nome = nome.trimmed();
    cupom.endereco = endereco.trimmed();
    novo.cupom = cupom;
    gravar(novo);
}

void EmulatedFiscalPrinter::VendeItem(const QString& codigo, const QString& descricao,
                                      const QString& aliquota, Currency quantidade, Currency valorUnitario,
                                      Currency valorDescontoAcrescimo, const QString& unidade,
                                      const QString& tipoDescontoAcrescimo, const QString& descontoAcrescimo,
                                      int /*codDepartamento: the emulator keeps no departments*/) {
    Comando comando(*this, true, u"VendeItem");
    exigirPapel();
    cupomAberto(false);
    CupomFiscalItem item;
    item.numero = int(m_state.cupom->itens.size()) + 1;
    item.codigo = codigo.trimmed();
    item.descricao = descricao.trimmed();
    item.aliquota = aliquota.trimmed().toUpper();
    item.unidade = unidade.trimmed();
    item.quantidade = quantidade;
    item.valorUnitario = valorUnitario;
    if (item.descricao.isEmpty())
        recusar(QStringLiteral("Descrição do item não informada."));
    if (!aliquotaValida(item.aliquota))
        recusar(QStringLiteral("Alíquota inválida: %1").arg(aliquota));
    if (quantidade <= Currency())
        recusar(QStringLiteral("Quantidade inválida."));
    if (valorUnitario < Currency())
        recusar(QStringLiteral("Valor unitário inválido."));
    if (valorDescontoAcrescimo < Currency())
        recusar(QStringLiteral("Valor de desconto ou acréscimo inválido."));

    const QString tipo = tipoDescontoAcrescimo.trimmed();
    const QString sentido = descontoAcrescimo.trimmed().toUpper();
    if (tipo != u"$" && tipo != u"%")
        recusar(QStringLiteral("Tipo de desconto ou acréscimo inválido: %1").arg(tipoDescontoAcrescimo));
    if (sentido != u"D" && sentido != u"A")
        recusar(QStringLiteral("Indicador de desconto ou acréscimo inválido: %1").arg(descontoAcrescimo));
    Currency ajuste = valorDescontoAcrescimo;
    if (tipo == u"%") {
        // A percentage of the item, cut to cents like the item itself.
        const Int128 raw =
            Int128(item.bruto().raw()) * valorDescontoAcrescimo.raw() / (Int128(100) * Currency::Scale);
        ajuste = Currency::fromRaw(std::int64_t(raw / 100 * 100));
    }
    if (sentido == u"D") {
        if (!ajuste.isZero() && ajuste >= item.bruto())
            recusar(QStringLiteral("Desconto maior ou igual ao valor do item."));
        ajuste = -ajuste;
    }
    item.ajuste = ajuste;

    FiscalPrinterState novo = m_state;
    novo.cupom->itens.append(item);
    gravar(novo);
}

void EmulatedFiscalPrinter::CancelaCupom() {
    Comando comando(*this);
    exigirPapel();
    if (!m_state.cupom)
        recusar(QStringLiteral("Não há cupom fiscal aberto para cancelar."));
    const QDateTime agora = Clock::now();
    imprimir(QStringLiteral("CUPOM FISCAL CANCELADO"),
             fiscaltext::cupomCancelado(m_state.numeroEcf, *m_state.cupom, agora));
    FiscalPrinterState novo = m_state;
    novo.ultimoCancelado = CupomCancelado{novo.cupom->coo, novo.cupom->total(), agora};
    ++novo.cancelamentos;
    novo.totalCancelado += novo.cupom->total();
    novo.cupom.reset();
    gravar(novo);
}

void EmulatedFiscalPrinter::SubTotalizaCupom(Currency acrescimoDesconto) {
    Comando comando(*this, true, u"SubTotalizaCupom");
    exigirPapel();
    const CupomFiscal& cupom = cupomAberto(false);
    if (cupom.itens.isEmpty())
        recusar(QStringLiteral("Cupom fiscal sem itens."));
    if (acrescimoDesconto < Currency() && -acrescimoDesconto >= cupom.subtotal())
        recusar(QStringLiteral("Desconto maior ou igual ao valor do cupom."));
    FiscalPrinterState novo = m_state;
    novo.cupom->subtotalizado = true;
    novo.cupom->acrescimoDesconto = acrescimoDesconto.roundHalfUp(2);
    gravar(novo);
}

void EmulatedFiscalPrinter::EfetuaPagamento(const QString& formaPagamento, Currency valor) {
    Comando comando(*this, true, u"EfetuaPagamento");
    exigirPapel();
    cupomAberto(true);
    const QString forma = formaPagamento.trimmed();
    if (forma.isEmpty())
        recusar(QStringLiteral("Forma de pagamento não informada."));
    if (valor <= Currency())
        recusar(QStringLiteral("Valor de pagamento inválido."));
    FiscalPrinterState novo = m_state;
    novo.cupom->pagamentos.append({forma, valor.roundHalfUp(2)});
    gravar(novo);
}

void EmulatedFiscalPrinter::FechaCupom(const QStringList& mensagem) {
    Comando comando(*this, true, u"FechaCupom");
    exigirPapel();
    const CupomFiscal& cupom = cupomAberto(true);
    if (cupom.pago() < cupom.total())
        recusar(QStringLiteral("Pagamento insuficiente: faltam R$ %1.")
                    .arg(formatFloat(u",0.00", cupom.total() - cupom.pago())));
    imprimir(QStringLiteral("CUPOM FISCAL"), fiscaltext::cupomFiscal(m_state.numeroEcf, cupom, Clock::now(), mensagem));
    FiscalPrinterState novo = m_state;
    novo.grandeTotal += cupom.total();
    for (const PagamentoCupom& p : cupom.pagamentos)
        novo.somarPagamento(p.forma, p.valor);
    novo.totalTroco += cupom.troco();
    novo.cupom.reset();
    gravar(novo);
}

QString EmulatedFiscalPrinter::NumCCF() {
    Comando comando(*this);
    return PadL(QString::number(m_state.ccf), 6, u'0');
}

void EmulatedFiscalPrinter::LeituraX() {
    Comando comando(*this);
    exigirPapel();
    if (m_state.cupom)
        recusar(QStringLiteral("Não é possível emitir a Leitura X com cupom fiscal aberto."));
    FiscalPrinterState novo = m_state;
    ++novo.coo;
    ++novo.gnf;
    imprimir(QStringLiteral("LEITURA X"), fiscaltext::leituraX(novo, Clock::now()));
    gravar(novo);
}

void EmulatedFiscalPrinter::programarRelatorioGerencial(int indice, const QString& descricao) {
    if (indice < 1 || indice > 99)
        recusar(QStringLiteral("Índice de relatório gerencial inválido: %1.").arg(indice));
    if (m_state.relatorio(indice))
        recusar(QStringLiteral("Relatório gerencial %1 já programado.").arg(indiceTexto(indice)));
    FiscalPrinterState novo = m_state;
    novo.relatorios.append({indice, descricao.trimmed(), 0});
    std::sort(
        novo.relatorios.begin(), novo.relatorios.end(),
        [](const RelatorioGerencialInfo& a, const RelatorioGerencialInfo& b) { return a.indice < b.indice; });
    gravar(novo);
}

const CupomFiscal& EmulatedFiscalPrinter::cupomAberto(bool subtotalizado) const {
    if (!m_state.cupom)
        recusar(QStringLiteral("Não há cupom fiscal aberto."));
    if (m_state.cupom->subtotalizado && !subtotalizado)
        recusar(QStringLiteral("Cupom fiscal já subtotalizado."));
    if (!m_state.cupom->subtotalizado && subtotalizado)
        recusar(QStringLiteral("Cupom fiscal não subtotalizado."));
    return *m_state.cupom;
}

void EmulatedFiscalPrinter::exigirPapel() const {
    if (m_semPapel)
        recusar(QStringLiteral("Impressora fiscal sem papel."));
}

// Printed before the new counters are kept: a document that did not come out
// leaves the counters as they were.
void EmulatedFiscalPrinter::imprimir(const QString& titulo, const QStringList& linhas) {
    if (!m_target)
        recusar(QStringLiteral("Impressora fiscal sem destino de impressão."));
    try {
        m_target->print({titulo, linhas, 0});
    } catch (const PrintError& e) {
        recusar(QStringLiteral("Falha de impressão na impressora fiscal: ") + e.message());
    }
}

// Kept in memory even when the file cannot be written, so that this session
// never issues a COO twice; the error still reaches the caller.
void EmulatedFiscalPrinter::gravar(const FiscalPrinterState& novo) {
    m_state = novo;
    m_state.save(m_stateFile);
}

} // namespace kvo
