#include "devices/FiscalPrinterState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace kvo {

namespace {

constexpr std::int64_t RawPerCent = Currency::Scale / 100;

QString texto(Currency value) {
    return value.toString();
}

[[noreturn]] void damaged(const QString& what) {
    throw FiscalPrinterError(
        QStringLiteral("Arquivo de estado da impressora fiscal danificado (%1).").arg(what));
}

int inteiro(const QJsonObject& json, const char* key) {
    const QJsonValue v = json.value(QLatin1String(key));
    if (!v.isDouble() || v.toDouble() < 0)
        damaged(QLatin1String(key));
    return v.toInt();
}

Currency valor(const QJsonObject& json, const char* key) {
    const auto v = Currency::parse(json.value(QLatin1String(key)).toString());
    if (!v)
        damaged(QLatin1String(key));
    return *v;
}

QDateTime momento(const QJsonObject& json, const char* key) {
    const QDateTime v = QDateTime::fromString(json.value(QLatin1String(key)).toString(), Qt::ISODate);
    if (!v.isValid())
        damaged(QLatin1String(key));
    return v;
}

QJsonObject itemJson(const CupomFiscalItem& item) {
    return {{"numero", item.numero},
            {"codigo", item.codigo},
            {"descricao", item.descricao},
            {"aliquota", item.aliquota},
            {"unidade", item.unidade},
            {"quantidade", texto(item.quantidade)},
            {"valorUnitario", texto(item.valorUnitario)},
            {"ajuste", texto(item.ajuste)}};
}

// A counter added after the first state files: absent means none yet.
int inteiroNovo(const QJsonObject& json, const char* key) {
    return json.contains(QLatin1String(key)) ? inteiro(json, key) : 0;
}

Currency valorNovo(const QJsonObject& json, const char* key) {
    return json.contains(QLatin1String(key)) ? valor(json, key) : Currency();
}

QJsonArray pagamentosJson(const QList<PagamentoCupom>& pagamentos) {
    QJsonArray a;
    for (const PagamentoCupom& p : pagamentos)
        a.append(QJsonObject{{"forma", p.forma}, {"valor", texto(p.valor)}});
    return a;
}

QList<PagamentoCupom> pagamentosFromJson(const QJsonValue& json) {
    QList<PagamentoCupom> out;
    for (const QJsonValue& v : json.toArray())
        out.append({v.toObject().value(u"forma").toString(), valor(v.toObject(), "valor")});
    return out;
}

CupomFiscalItem itemFromJson(const QJsonObject& json) {
    CupomFiscalItem item;
    item.numero = inteiro(json, "numero");
    item.codigo = json.value(u"codigo").toString();
    item.descricao = json.value(u"descricao").toString();
    item.aliquota = json.value(u"aliquota").toString();
    item.unidade = json.value(u"unidade").toString();
    item.quantidade = valor(json, "quantidade");
    item.valorUnitario = valor(json, "valorUnitario");
    item.ajuste = valor(json, "ajuste");
    return item;
}

} // namespace

Currency CupomFiscalItem::bruto() const {
    // Exact product (eight decimals) cut to whole cents.
    const Int128 product = Int128(quantidade.raw()) * valorUnitario.raw();
    const Int128 cents = product / (Int128(Currency::Scale) * RawPerCent);
    return Currency::fromRaw(std::int64_t(cents) * RawPerCent);
}

Currency CupomFiscal::subtotal() const {
    Currency sum;
    for (const CupomFiscalItem& item : itens)
        sum += item.total();
    return sum;
}

Currency CupomFiscal::pago() const {
    Currency sum;
    for (const PagamentoCupom& p : pagamentos)
        sum += p.valor;
    return sum;
}

Currency FiscalPrinterState::totalPagamento(const QString& forma) const {
    for (const PagamentoCupom& p : totaisPagamento)
        if (p.forma == forma)
            return p.valor;
    return {};
}

void FiscalPrinterState::somarPagamento(const QString& forma, Currency valor) {
    for (PagamentoCupom& p : totaisPagamento)
        if (p.forma == forma) {
            p.valor += valor;
            return;
        }
    totaisPagamento.append({forma, valor});
}

RelatorioGerencialInfo* FiscalPrinterState::relatorio(int indice) {
    for (RelatorioGerencialInfo& r : relatorios)
        if (r.indice == indice)
            return &r;
    return nullptr;
}

QJsonObject FiscalPrinterState::toJson() const {
    QJsonArray kinds;
    for (const RelatorioGerencialInfo& r : relatorios)
        kinds.append(QJsonObject{{"indice", r.indice}, {"descricao", r.descricao}, {"cer", r.contador}});
    QJsonObject json{{"numeroEcf", numeroEcf},
                     {"coo", coo},
                     {"gnf", gnf},
                     {"cancelamentos", cancelamentos},
                     {"ccf", ccf},
                     {"grandeTotal", texto(grandeTotal)},
                     {"totalCancelado", texto(totalCancelado)},
                     {"totalTroco", texto(totalTroco)},
                     {"totaisPagamento", pagamentosJson(totaisPagamento)},
                     {"relatoriosGerenciais", kinds}};
    if (cupom) {
        QJsonArray itens;
        for (const CupomFiscalItem& item : cupom->itens)
            itens.append(itemJson(item));
        json.insert(u"cupomAberto", QJsonObject{{"coo", cupom->coo},
                                                {"ccf", cupom->ccf},
                                                {"abertura", cupom->abertura.toString(Qt::ISODate)},
                                                {"cpfCnpj", cupom->cpfCnpj},
                                                {"nome", cupom->nome},
                                                {"endereco", cupom->endereco},
                                                {"itens", itens},
                                                {"subtotalizado", cupom->subtotalizado},
                                                {"acrescimoDesconto", texto(cupom->acrescimoDesconto)},
                                                {"pagamentos", pagamentosJson(cupom->pagamentos)}});
    }
    if (ultimoCancelado)
        json.insert(u"ultimoCancelado",
                    QJsonObject{{"coo", ultimoCancelado->coo},
                                {"total", texto(ultimoCancelado->total)},
                                {"momento", ultimoCancelado->momento.toString(Qt::ISODate)}});
    return json;
}

FiscalPrinterState FiscalPrinterState::fromJson(const QJsonObject& json) {
    FiscalPrinterState state;
    state.numeroEcf = inteiro(json, "numeroEcf");
    state.coo = inteiro(json, "coo");
    state.gnf = inteiro(json, "gnf");
    state.cancelamentos = inteiro(json, "cancelamentos");
    state.ccf = inteiroNovo(json, "ccf");
    state.grandeTotal = valorNovo(json, "grandeTotal");
    state.totalCancelado = valorNovo(json, "totalCancelado");
    state.totalTroco = valorNovo(json, "totalTroco");
    state.totaisPagamento = pagamentosFromJson(json.value(u"totaisPagamento"));
    if (!json.value(u"relatoriosGerenciais").isArray())
        damaged(QStringLiteral("relatoriosGerenciais"));
    for (const QJsonValue& v : json.value(u"relatoriosGerenciais").toArray()) {
        const QJsonObject r = v.toObject();
        state.relatorios.append({inteiro(r, "indice"), r.value(u"descricao").toString(), inteiro(r, "cer")});
    }
    if (json.contains(u"cupomAberto")) {
        const QJsonObject c = json.value(u"cupomAberto").toObject();
        CupomFiscal cupom;
        cupom.coo = inteiro(c, "coo");
        cupom.ccf = inteiroNovo(c, "ccf");
        cupom.subtotalizado = c.value(u"subtotalizado").toBool();
        cupom.acrescimoDesconto = valorNovo(c, "acrescimoDesconto");
        cupom.pagamentos = pagamentosFromJson(c.value(u"pagamentos"));
        cupom.abertura = momento(c, "abertura");
        cupom.cpfCnpj = c.value(u"cpfCnpj").toString();
        cupom.nome = c.value(u"nome").toString();
        cupom.endereco = c.value(u"endereco").toString();
        for (const QJsonValue& v : c.value(u"itens").toArray())
            cupom.itens.append(itemFromJson(v.toObject()));
        state.cupom = cupom;
    }
    if (json.contains(u"ultimoCancelado")) {
        const QJsonObject c = json.value(u"ultimoCancelado").toObject();
        state.ultimoCancelado = CupomCancelado{inteiro(c, "coo"), valor(c, "total"), momento(c, "momento")};
    }
    return state;
}

std::optional<FiscalPrinterState> FiscalPrinterState::load(const QString& file) {
    QFile f(file);
    if (!f.exists())
        return std::nullopt;
    if (!f.open(QIODevice::ReadOnly))
        throw FiscalPrinterError(
            QStringLiteral("Não foi possível ler o estado da impressora fiscal em %1.").arg(file));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        damaged(file);
    return fromJson(doc.object());
}

void FiscalPrinterState::save(const QString& file) const {
    QSaveFile f(file);
    const QByteArray bytes = QJsonDocument(toJson()).toJson(QJsonDocument::Indented);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw FiscalPrinterError(
            QStringLiteral("Não foi possível gravar o estado da impressora fiscal em %1.").arg(file));
}

} // namespace kvo
