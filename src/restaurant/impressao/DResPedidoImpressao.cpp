#include "restaurant/impressao/DResPedidoImpressao.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/Paths.h"
#include "core/Text.h"
#include "devices/ReceiptPrinterTargets.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/RecordSet.h"
#include "framework/services/ChavesConfiguracao.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace kvo {

namespace {

const QString Gerenciador = QStringLiteral("GERENCIADOR");
const QString Centralizador = QStringLiteral("CENTRALIZADOR");
const QChar SO(14), DC4(20);
const QString Esc = QStringLiteral("\x1b");

QString agoraTexto() { return formatDateTime(u"dd/mm/yyyy hh:nn:ss", Clock::now()); }
QString linha59() { return QString(59, u'-'); }

// The central print queue: one row per ticket through STP_REST_IMPRESSAO.
class CentralizadorTarget : public ReceiptPrinterTarget {
public:
    CentralizadorTarget(Database& db, QString usuario, QString centralizador)
        : m_db(db), m_usuario(std::move(usuario)), m_centralizador(std::move(centralizador)) {}

    QString print(const ReceiptDocument& doc) override {
        try {
            m_db.executeSQL(QStringLiteral("EXECUTE PROCEDURE STP_REST_IMPRESSAO(:IMP_USUARIO, :IMP_CENTRALIZADOR, "
                                           ":IMP_TEXTO, :CODCONTROLE, :IMP_TITULO)"),
                            {{QStringLiteral("IMP_USUARIO"), m_usuario.left(20)},
                             {QStringLiteral("IMP_CENTRALIZADOR"), m_centralizador.left(25)},
                             {QStringLiteral("IMP_TEXTO"), QString::fromUtf8(utf8TextBytes(doc.lines))},
                             {QStringLiteral("CODCONTROLE"), doc.reference},
                             {QStringLiteral("IMP_TITULO"), doc.title.left(40)}});
        } catch (const DatabaseError& e) {
            throw PrintError(QStringLiteral("Centralizador %1: %2").arg(m_centralizador, e.message()));
        }
        return QStringLiteral("CENTRALIZADOR ") + m_centralizador;
    }

private:
    Database& m_db;
    QString m_usuario, m_centralizador;
};

// Which column of a dataset holds the item key, by the dataset's name.
QString colunaItem(const RecordSet& ds) {
    const QString nome = ds.objectName();
    if (nome == u"cdsPEDECF_ITEM" || nome == u"cdsPEDECF_ITEM_PERSO")
        return QStringLiteral("CODPEDECFITEM");
    if (nome == u"cdsPedVendaItem" || nome == u"cdsPedVendaItemPerso")
        return QStringLiteral("CODPEDVENDAITEM");
    if (nome == u"cdsResPedidoItem" || nome == u"cdsResPedidoItemPerso")
        return QStringLiteral("CODPEDIDOITEM");
    return {};
}

bool ehPedEcf(const RecordSet& ds) { return ds.objectName() == u"cdsPEDECF_ITEM"; }

QString texto(const RecordSet& ds, const QString& coluna) {
    const Field* f = ds.findField(coluna);
    return f ? f->asString() : QString();
}
qint64 inteiro(const RecordSet& ds, const QString& coluna) {
    const Field* f = ds.findField(coluna);
    return f ? f->asInteger() : 0;
}

} // namespace

ModeloImpressora modeloImpressora(const QString& valor) {
    const QString v = valor.trimmed().toUpper();
    if (v == u"EPSON")
        return ModeloImpressora::Epson;
    if (v == u"ELGIN" || v == u"BEMATECH")
        return ModeloImpressora::ElginBematech;
    return ModeloImpressora::Daruma;
}

TdmResPedidoImpressao& TdmResPedidoImpressao::gerarInstance() {
    return Module::current().instance<TdmResPedidoImpressao>();
}

TdmResPedidoImpressao::TdmResPedidoImpressao()
    : TdmResPedidoImpressao(TdmAcesso::gerarInstance().sqlCon(), TdmConfiguracao::gerarInstance(),
                            TdmAcesso::gerarInstance().usuario().nome) {}

TdmResPedidoImpressao::TdmResPedidoImpressao(Database& db, TdmConfiguracao& cfg, const QString& usuario)
    : m_db(db), m_cfg(cfg), m_usuario(usuario) {
    registrarChaves(m_cfg);
    par_carrega_restaurante();
    criarPastas();
    m_tmrExtrato.setSingleShot(true);
    m_tmrExtrato.setInterval(10);
    QObject::connect(&m_tmrExtrato, &QTimer::timeout, [this] { tmrExtratoTimer(); });
}

TdmResPedidoImpressao::~TdmResPedidoImpressao() = default;

void TdmResPedidoImpressao::registrarChaves(TdmConfiguracao& cfg) {
    for (const ChaveConfiguracao& c : chavesImpressaoRestaurante())
        cfg.verificaConfiguracao(QString::fromUtf8(c.grupo), QString::fromUtf8(c.chave), QString::fromUtf8(c.tipo),
                                 QString::fromUtf8(c.padrao), QString::fromUtf8(c.descricao));
}

// ---------------------------------------------------------------- parameters

void TdmResPedidoImpressao::par_carrega_restaurante() {
    m_par = ParametrosRestaurante{};
    auto rs = m_db.query(QStringLiteral("SELECT PARR_CONTROLE_NOME, PARR_VLR_SERVICO, PARR_IMP_COZINHA, PARR_IMP_BAR, "
                                        "PARR_IMP_PIZZA, PARR_IMP_CHURRASQUEIRA, PARR_IMP_EXTRATO FROM PAR_RESTAURANTE"));
    if (rs->isEmpty())
        return;
    const auto manter = [&](QString& alvo, const char* coluna) {
        const QString v = rs->field(QString::fromLatin1(coluna)).asString().trimmed();
        if (!v.isEmpty())
            alvo = v;
    };
    manter(m_par.controleNome, "PARR_CONTROLE_NOME");
    if (!rs->field(QStringLiteral("PARR_VLR_SERVICO")).isNull())
        m_par.vlrServico = rs->field(QStringLiteral("PARR_VLR_SERVICO")).asCurrency();
    manter(m_par.impCozinha, "PARR_IMP_COZINHA");
    manter(m_par.impBar, "PARR_IMP_BAR");
    manter(m_par.impPizza, "PARR_IMP_PIZZA");
    manter(m_par.impChurrasqueira, "PARR_IMP_CHURRASQUEIRA");
    manter(m_par.impExtrato, "PARR_IMP_EXTRATO");
}

QString TdmResPedidoImpressao::impressora(Estacao estacao) const {
    switch (estacao) {
    case Estacao::Cozinha: return m_par.impCozinha;
    case Estacao::Bar: return m_par.impBar;
    case Estacao::Pizzaria: return m_par.impPizza;
    case Estacao::Churrasqueira: return m_par.impChurrasqueira;
    }
    return Gerenciador;
}

QString TdmResPedidoImpressao::pastaGerenciador(Estacao estacao) const {
    const QString v = chave(QString::fromLatin1(estacaoInfo(estacao).chavePasta));
    return v.trimmed().isEmpty() ? QStringLiteral("c:\\KVO\\pedidos\\") : v;
}

QString TdmResPedidoImpressao::pastaLocal(Estacao estacao) const { return localPath(pastaGerenciador(estacao)); }

void TdmResPedidoImpressao::criarPastas() {
    QStringList pastas;
    for (Estacao e : todasEstacoes)
        pastas << pastaGerenciador(e);
    pastas << pastaExtrato();
    for (const QString& p : pastas)
        QDir().mkpath(pastaTemporaria(p));
    QDir().mkpath(localPath(QStringLiteral("c:\\KVO\\temp\\")));
}

// QDir joins without doubling the separator a stored folder may end with.
QString TdmResPedidoImpressao::pastaTemporaria(const QString& pastaGuardada) {
    return QDir(localPath(pastaGuardada)).filePath(QStringLiteral("temp"));
}

QString TdmResPedidoImpressao::chave(const QString& nome) const { return m_cfg.getStr(nome); }

// ---------------------------------------------------------------- accessors

qint64 TdmResPedidoImpressao::getCODPEDIDOITEM(const RecordSet& ds) {
    const QString coluna = colunaItem(ds);
    return coluna.isEmpty() ? 0 : inteiro(ds, coluna);
}

qint64 TdmResPedidoImpressao::getCODPEDVENDA(const RecordSet& itens, const RecordSet* pedido) {
    if (ehPedEcf(itens))
        return pedido ? inteiro(*pedido, QStringLiteral("CODPEDVENDA")) : 0;
    return inteiro(itens, QStringLiteral("CODPEDVENDA"));
}

qint64 TdmResPedidoImpressao::getCODPRODUTO(const RecordSet& itens) {
    return inteiro(itens, ehPedEcf(itens) ? QStringLiteral("CODPAFPRODUTO") : QStringLiteral("CODPRODUTO"));
}

QString TdmResPedidoImpressao::getPRO_DESCRICAO(const RecordSet& itens) {
    return texto(itens, ehPedEcf(itens) ? QStringLiteral("PECFI_DESCRICAO") : QStringLiteral("PRO_DESCRICAO"));
}

QString TdmResPedidoImpressao::getPEDI_QTDE(const RecordSet& itens) {
    return texto(itens, ehPedEcf(itens) ? QStringLiteral("PECFI_QTDE") : QStringLiteral("PEDI_QTDE"));
}

QString TdmResPedidoImpressao::getPEDI_OBS(const RecordSet& itens) {
    return texto(itens, ehPedEcf(itens) ? QStringLiteral("PECFI_OBS") : QStringLiteral("PEDI_OBS"));
}

QString TdmResPedidoImpressao::getGRPP_DESCRICAO(const RecordSet& perso) {
    return texto(perso, QStringLiteral("GRPP_DESCRICAO"));
}

// ---------------------------------------------------------------- control sequences

ModeloImpressora TdmResPedidoImpressao::modelo() const { return modeloImpressora(chave(QStringLiteral("REST.DAR.MOD"))); }

namespace {
QString porModelo(ModeloImpressora m, const char* daruma, const char* epson, const char* elgin) {
    const char* s = m == ModeloImpressora::Epson ? epson : m == ModeloImpressora::ElginBematech ? elgin : daruma;
    return QString::fromLatin1(s);
}
} // namespace

QString TdmResPedidoImpressao::getAlinhamentoCentro() const { return porModelo(modelo(), "\x1bj1", "\x1b" "a1", "\x1b" "a1"); }
QString TdmResPedidoImpressao::getAlinhamentoEsquerda() const {
    if (modelo() == ModeloImpressora::Epson)
        return Esc + QStringLiteral("a") + QChar(0);
    return porModelo(modelo(), "\x1bj0", "", "\x1b" "a0 ");
}
QString TdmResPedidoImpressao::getLigaNegrito() const { return porModelo(modelo(), "\x1b" "E", "\x1b" "E1", "\x1b" "E"); }
QString TdmResPedidoImpressao::getDesligaNegrito() const { return porModelo(modelo(), "\x1b" "F", "\x1b" "E0", "\x1b" "F"); }
QString TdmResPedidoImpressao::getLigaExpandido() const { return porModelo(modelo(), "\x1bW1", "", ""); }
QString TdmResPedidoImpressao::getDesligaExpandido() const { return porModelo(modelo(), "\x1bW0", "", ""); }
QString TdmResPedidoImpressao::getLigaAlturaDupla() const { return porModelo(modelo(), "\x1bw1", "", ""); }
QString TdmResPedidoImpressao::getDesligaAlturaDupla() const { return porModelo(modelo(), "\x1bw0", "", ""); }
QString TdmResPedidoImpressao::getCorteTotal() const { return porModelo(modelo(), "\x1bm", "\x1dV0", "\x1bw"); }
QString TdmResPedidoImpressao::getBeep() const { return porModelo(modelo(), "\x07", "", ""); }

int TdmResPedidoImpressao::largura() const {
    bool ok = false;
    const int n = chave(QStringLiteral("REST.DAR.MCOL")).trimmed().toInt(&ok);
    return ok && n > 0 ? n : 48;
}

bool TdmResPedidoImpressao::layoutNovo(Estacao estacao) const {
    return ligado(QStringLiteral("REST.DARUMA")) || ligado(QString::fromLatin1(estacaoInfo(estacao).chaveLayoutNovo));
}

// ---------------------------------------------------------------- station families

void TdmResPedidoImpressao::imprimir(Estacao estacao, QStringList& linhas, const RecordSet& itens,
                                     const RecordSet* pedido, const RecordSet* perso, bool venda, bool balcao,
                                     int numero, Currency valor) {
    if (!venda) {
        // The item row carries the table when joined; otherwise the order does.
        QString mesa = texto(itens, QStringLiteral("CODCONTROLE"));
        if (mesa.isEmpty() && pedido)
            mesa = texto(*pedido, QStringLiteral("CODCONTROLE"));
        imprimirItemRestaurante(estacao, linhas, itens, mesa, perso, valor);
        return;
    }
    imprimirDetalhe(estacao, linhas, true, balcao, numero, QString(), getCODPEDVENDA(itens, pedido), QString(), 0,
                    QString::number(getCODPRODUTO(itens)), getPRO_DESCRICAO(itens), getPEDI_QTDE(itens),
                    getPEDI_OBS(itens), getCODPEDIDOITEM(itens), perso, valor);
}

void TdmResPedidoImpressao::imprimirItemRestaurante(Estacao estacao, QStringList& linhas, const RecordSet& itens,
                                                    const QString& mesa, const RecordSet* perso, Currency valor) {
    imprimirDetalhe(estacao, linhas, false, false, 0, mesa, inteiro(itens, QStringLiteral("CODPEDIDO")),
                    texto(itens, QStringLiteral("PEDI_STATUS")), int(inteiro(itens, QStringLiteral("CODGARCON"))),
                    texto(itens, QStringLiteral("CODPRODUTO")), texto(itens, QStringLiteral("PRO_DESCRICAO")),
                    texto(itens, QStringLiteral("PEDI_QTDE")), texto(itens, QStringLiteral("PEDI_OBS")),
                    inteiro(itens, QStringLiteral("CODPEDIDOITEM")), perso, valor);
}

void TdmResPedidoImpressao::imprimirDetalhe(Estacao estacao, QStringList& linhas, bool venda, bool balcao,
                                            int numeroBalcao, const QString& mesa, qint64 pedido,
                                            const QString& status, int garcon, const QString& produto,
                                            const QString& descricao, const QString& qtde, const QString& obs,
                                            qint64 item, const RecordSet* perso, Currency /*valor*/) {
    try {
        if (layoutNovo(estacao))
            detalheNovo(estacao, linhas, venda, balcao, numeroBalcao, mesa, pedido, status, garcon, produto,
                        descricao, qtde, obs, item, perso);
        else {
            detalheClassico(estacao, linhas, venda, numeroBalcao, mesa, pedido, status, descricao, qtde, garcon, obs);
            imprimirComposicao(produto, linhas, item, perso);
            imprimirFinalItem(estacao, linhas);
        }
    } catch (const Abort&) {
        throw;
    } catch (const std::exception& e) {
        // One bad item must not keep the others from their station.
        Alerta(QStringLiteral("Não foi possivel imprimir o produto: ") + descricao +
               QStringLiteral("\rverifique a impressora.\r") + QString::fromUtf8(e.what()));
    }
}

void TdmResPedidoImpressao::detalheNovo(Estacao estacao, QStringList& l, bool venda, bool balcao, int numeroBalcao,
                                        const QString& mesa, qint64 pedido, const QString& status, int garcon,
                                        const QString& produto, const QString& descricao, const QString& qtde,
                                        const QString& obs, qint64 item, const RecordSet* perso) {
    const QString centro = getAlinhamentoCentro(), esquerda = getAlinhamentoEsquerda();
    l << getReset();
    if (!venda && status == u"CANCELADO") {
        l << centro + getLigaAlturaDupla() + getLigaNegrito() + QStringLiteral("*** ITEM CANCELADO ***") +
                 getDesligaNegrito() + getDesligaAlturaDupla() + esquerda;
        l << QString();
    }
    if (ligado(QStringLiteral("REST.IMP.OPC"))) {
        l << centro + getLigaExpandido() + chave(QString::fromLatin1(estacaoInfo(estacao).chaveNome)) +
                 getDesligaExpandido() + esquerda;
        l << separador();
    }
    QString destino;
    if (!venda)
        destino = QStringLiteral("MESA ") + mesa;
    else if (balcao)
        destino = QStringLiteral("BALCAO ") + formatFloat(u"000", qint64(numeroBalcao));
    else
        destino = QStringLiteral("ENTREGA NR. ") + formatFloat(u"00000", pedido);
    l << centro + getLigaAlturaDupla() + getLigaNegrito() + destino + getDesligaAlturaDupla() + esquerda +
             getDesligaNegrito();
    l << centro + QStringLiteral("SOLICITADO EM ") + agoraTexto() + esquerda;
    if (!venda && garcon > 0)
        l << centro + QStringLiteral("GARCON.: ") + nomeGarcon(garcon) + esquerda;
    l << separador();
    l << getLigaExpandido() + descricao + getDesligaExpandido();
    l << getLigaExpandido() + QStringLiteral("QTDE: ") + qtde + getDesligaExpandido();
    if (!obs.isEmpty()) {
        l << separador();
        l << getLigaExpandido() + QStringLiteral("OBS.: ") + RemoverAcentos(obs) + getDesligaExpandido();
    }
    l << separador();
    imprimirComposicao(produto, l, item, perso);
    l << QString();
    imprimirFinalItem(estacao, l);
    if (ligado(QStringLiteral("REST.DAR.BIP")))
        l << getBeep() << getBeep();
    if (ligado(QStringLiteral("REST.DAR.CORT")))
        l << getCorteTotal();
}

void TdmResPedidoImpressao::detalheClassico(Estacao estacao, QStringList& l, bool venda, int numeroBalcao,
                                            const QString& mesa, qint64 pedido, const QString& status,
                                            const QString& descricao, const QString& qtde, int garcon,
                                            const QString& obs) {
    if (ligado(QStringLiteral("REST.IMP.OPC"))) {
        l << SO + chave(QString::fromLatin1(estacaoInfo(estacao).chaveNome)) + DC4;
        l << linha59();
    }
    if (!venda && status == u"CANCELADO")
        l << linha59() << QStringLiteral("CANCELAMENTO DE ITEM -- ITEM CANCELADO!! ") << linha59();
    const bool expandir = ligado(QStringLiteral("REST.DESC.BEMA"));
    const auto add = [&](const QString& s) { l << (expandir ? SO + s + DC4 : s); };
    add(QStringLiteral("Data/Hora: ") + agoraTexto());
    if (venda) {
        add(QStringLiteral("Pedido.....: ") + formatFloat(u"00000", pedido));
        add(QStringLiteral("Balcao.....: ") + formatFloat(u"000", qint64(numeroBalcao)));
    } else if (!ligado(QStringLiteral("REST.SALDO"))) {
        add(QStringLiteral("Mesa.....: ") + mesa);
    } else {
        auto ctl = m_db.query(QStringLiteral("select CODCONTROLE, CON_SALDO, CON_EAN, CODPESSOA from RES_CONTROLE "
                                             "where CODCONTROLE = :c"),
                              {{QStringLiteral("c"), mesa.toLongLong()}});
        if (!ctl->isEmpty() && ctl->field(QStringLiteral("CODPESSOA")).asInteger() > 0) {
            auto pes = m_db.query(QStringLiteral("select PES_NOME, PES_CELULAR_DDD, PES_CELULAR from PESSOA "
                                                 "where CODPESSOA = :p"),
                                  {{QStringLiteral("p"), ctl->field(QStringLiteral("CODPESSOA")).asInteger()}});
            const auto bloco = [&](const QString& rotulo, const QString& valor) {
                const QString s = SO + rotulo + PadR(valor, 34);
                l << (expandir ? s + DC4 : s);
            };
            bloco(QStringLiteral("Cartão de Consumo: "), ctl->field(QStringLiteral("CON_EAN")).asString());
            bloco(QStringLiteral("SALDO ATUAL: "),
                  formatFloat(u"###,##0.00", ctl->field(QStringLiteral("CON_SALDO")).asCurrency()));
            const QString nome = pes->isEmpty() ? QString() : pes->field(QStringLiteral("PES_NOME")).asString();
            const QString ddd = pes->isEmpty() ? QString() : pes->field(QStringLiteral("PES_CELULAR_DDD")).asString();
            const QString cel = pes->isEmpty() ? QString() : pes->field(QStringLiteral("PES_CELULAR")).asString();
            bloco(QStringLiteral("Nome: "), nome);
            bloco(QStringLiteral("Celular: "), QStringLiteral("(") + ddd + QStringLiteral(") ") + cel);
        }
    }
    add(QStringLiteral("Produto..: ") + descricao);
    add(QStringLiteral("Qtde.....: ") + qtde);
    if (garcon > 0)
        add(QStringLiteral("Garçon...: ") + nomeGarcon(garcon));
    if (!obs.isEmpty())
        add(QStringLiteral("Obs......: ") + RemoverAcentos(obs));
    l << linha59();
}

QString TdmResPedidoImpressao::nomeGarcon(int garcon) const {
    return m_db.scalar(QStringLiteral("select GAR_NOME from RES_GARCON where CODGARCON = :c"),
                       {{QStringLiteral("c"), garcon}})
        .toString()
        .trimmed();
}

void TdmResPedidoImpressao::imprimirComposicao(const QString& produto, QStringList& linhas, qint64 item,
                                               const RecordSet* perso) {
    if (item > 0 && perso && perso->active() && !perso->isEmpty()) {
        const QString coluna = colunaItem(*perso);
        const Field* chaveItem = coluna.isEmpty() ? nullptr : perso->findField(coluna);
        const Field* grupo = perso->findField(QStringLiteral("GRPP_DESCRICAO"));
        const Field* descricao = perso->findField(QStringLiteral("PRO_DESCRICAO"));
        QString ultimoGrupo;
        for (int r = 0; chaveItem && r < perso->recordCount(); ++r) {
            if (perso->valueAt(r, chaveItem->index()).toLongLong() != item)
                continue;
            const QString g = grupo ? perso->valueAt(r, grupo->index()).toString().trimmed() : QString();
            if (g != ultimoGrupo) {
                linhas << g + QStringLiteral(":");
                ultimoGrupo = g;
            }
            linhas << QStringLiteral("  ") + (descricao ? perso->valueAt(r, descricao->index()).toString() : QString());
        }
        linhas << linha59();
    }
    if (!ligado(QStringLiteral("REST.IMP.COMP")))
        return;
    const SqlParams p{{QStringLiteral("p"), produto.toLongLong()}};
    if (m_db.scalar(QStringLiteral(" SELECT    COALESCE(PRODUTO.PRO_COMPOSTO, 'N') AS PRO_COMPOSTO  FROM    PRODUTO  "
                                   "WHERE    PRODUTO.CODPRODUTO = :p"),
                    p)
            .toString() != u"S")
        return;
    auto comp = m_db.query(QStringLiteral("SELECT PRODUTO.PRO_DESCRICAO FROM PRODUTO_COMPOSICAO "
                                          "INNER JOIN PRODUTO ON (PRODUTO.CODPRODUTO = PRODUTO_COMPOSICAO.CODPRODUTOFILHO) "
                                          "WHERE PRODUTO_COMPOSICAO.CODPRODUTO = :p ORDER BY PRODUTO.PRO_DESCRICAO"),
                           p);
    if (comp->isEmpty())
        return;
    linhas << QStringLiteral("COMPOSICAO:");
    for (comp->first(); !comp->eof(); comp->next())
        linhas << comp->field(QStringLiteral("PRO_DESCRICAO")).asString();
    linhas << linha59();
}

void TdmResPedidoImpressao::anexarArquivo(const QString& arquivo, QStringList& linhas) const {
    QFile f(QDir(programFolder()).filePath(arquivo));
    if (linhas.isEmpty() || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&f);
    while (!in.atEnd())
        linhas << in.readLine();
}

void TdmResPedidoImpressao::imprimirFinalItem(Estacao estacao, QStringList& linhas) {
    anexarArquivo(QString::fromLatin1(estacaoInfo(estacao).arquivoFinalItem), linhas);
}

QString TdmResPedidoImpressao::imprimirFinal(Estacao estacao, QStringList& linhas, int mesa, const QString& titulo) {
    if (linhas.isEmpty())
        return {};
    anexarArquivo(QString::fromLatin1(estacaoInfo(estacao).arquivoFinal), linhas);
    return imprimirCustom(estacao, linhas, mesa, titulo);
}

QString TdmResPedidoImpressao::imprimirCustom(Estacao estacao, const QStringList& linhas, int mesa,
                                              const QString& titulo) {
    try {
        auto alvo = destino(impressora(estacao), pastaGerenciador(estacao), QStringLiteral("PED_"),
                            QStringLiteral(".ped"), QString::fromLatin1(estacaoInfo(estacao).nome));
        return alvo->print(ReceiptDocument{titulo, linhas, mesa});
    } catch (const std::exception&) {
        // The ticket goes to the user whole, so it can be passed on by hand.
        QString msg = QStringLiteral("Não foi possivel imprimir o pedido: \r");
        for (const QString& s : linhas)
            msg += QStringLiteral("\r") + s;
        Alerta(msg);
        return {};
    }
}

std::unique_ptr<ReceiptPrinterTarget> TdmResPedidoImpressao::destino(const QString& impressora, const QString& pasta,
                                                                     const QString& prefixo, const QString& extensao,
                                                                     const QString& centralizador) {
    ReceiptTargetSettings s;
    s.managerFolder = pasta;
    s.prefix = prefixo;
    s.extension = extensao;
    s.folderText = FileText::Utf8;
    if (!centralizador.isEmpty())
        s.centralQueue = [this, centralizador] {
            return std::make_unique<CentralizadorTarget>(m_db, m_usuario, centralizador);
        };
    // A printer path gets the printer's bytes; folders and the queue the UTF-8 text.
    return makeReceiptPrinterTarget(impressora, s);
}

// ---------------------------------------------------------------- counter ticket

void TdmResPedidoImpressao::imprimirCabBalcao(QStringList& l, const RecordSet& pedido, int numeroBalcao) {
    const qint64 codPedVenda = inteiro(pedido, QStringLiteral("CODPEDVENDA"));
    const QString contato = texto(pedido, QStringLiteral("CONTATO")).trimmed();
    QString cliente;
    if (const qint64 pessoa = inteiro(pedido, QStringLiteral("CODPESSOA")); pessoa > 0) {
        cliente = texto(pedido, QStringLiteral("PES_NOME"));
        if (cliente.isEmpty())
            cliente = m_db.scalar(QStringLiteral("select PES_NOME from PESSOA where CODPESSOA = :p"),
                                  {{QStringLiteral("p"), pessoa}})
                          .toString();
    }
    const QString centro = getAlinhamentoCentro(), esquerda = getAlinhamentoEsquerda();
    if (ligado(QStringLiteral("REST.DARUMA")) || ligado(QStringLiteral("REST.DAR.BALCAO"))) {
        l << separador();
        l << centro + getLigaAlturaDupla() + getLigaNegrito() + QStringLiteral("BALCAO ") +
                 formatFloat(u"000", qint64(numeroBalcao)) + getDesligaNegrito() + getDesligaAlturaDupla() + esquerda;
        l << centro + QStringLiteral("PEDIDO NR. ") + formatFloat(u"00000", codPedVenda) + esquerda;
        l << centro + QStringLiteral("SOLICITADO EM ") + agoraTexto() + esquerda;
        if (!contato.isEmpty())
            l << separador() << QStringLiteral("Nome.......: ") + contato;
        if (!cliente.isEmpty())
            l << separador() << QStringLiteral("Nome.......: ") + cliente;
        return;
    }
    l << linha59();
    l << QStringLiteral("Pedido.....: ") + formatFloat(u"00000", codPedVenda);
    l << QStringLiteral("Data/Hora..: ") + agoraTexto();
    if (!contato.isEmpty())
        l << QStringLiteral("Nome.......: ") + contato;
    if (!cliente.isEmpty())
        l << QStringLiteral("Nome.......: ") + cliente;
    l << linha59();
    l << QStringLiteral("Balcao.....: ") + formatFloat(u"000", qint64(numeroBalcao));
    l << linha59();
}

void TdmResPedidoImpressao::imprimirBalcao(QStringList& l, const RecordSet& itens, const RecordSet* perso) {
    const QString descricao = getPRO_DESCRICAO(itens), obs = getPEDI_OBS(itens).trimmed();
    if (ligado(QStringLiteral("REST.DARUMA")) || ligado(QStringLiteral("REST.DAR.BALCAO"))) {
        l << separador();
        l << getLigaExpandido() + descricao + getDesligaExpandido();
        l << getLigaExpandido() + QStringLiteral("QTDE: ") + getPEDI_QTDE(itens) + getDesligaExpandido();
        if (!obs.isEmpty())
            l << separador() << getLigaExpandido() + QStringLiteral("OBS.: ") + RemoverAcentos(obs) + getDesligaExpandido();
        imprimirComposicao(QString::number(getCODPRODUTO(itens)), l, getCODPEDIDOITEM(itens), perso);
        return;
    }
    const QString coluna = ehPedEcf(itens) ? QStringLiteral("PECFI_QTDE") : QStringLiteral("PEDI_QTDE");
    const Field* q = itens.findField(coluna);
    l << QStringLiteral("Produto..: ") + descricao;
    l << QStringLiteral("Qtde.....: ") + (q ? formatFloat(u",0.00", q->asCurrency()) : QString());
    const QString linhaObs = QStringLiteral("Obs......: ") + obs;
    l << (ligado(QStringLiteral("REST.DESC.BEMA")) ? SO + linhaObs + DC4 : linhaObs);
    l << linha59();
}

void TdmResPedidoImpressao::imprimirFinalBalcao(QStringList& l) {
    if (!ligado(QStringLiteral("REST.DARUMA")) && !ligado(QStringLiteral("REST.DAR.BALCAO")))
        return;
    l << QString();
    if (ligado(QStringLiteral("REST.DAR.BIP")))
        l << getBeep() << getBeep();
    if (ligado(QStringLiteral("REST.DAR.CORT")))
        l << getCorteTotal();
}

// ---------------------------------------------------------------- bill

void TdmResPedidoImpressao::enviarExtrato(const QStringList& linhas) {
    m_linhasExtrato = linhas;
    m_tmrExtrato.start();
}

QString TdmResPedidoImpressao::tmrExtratoTimer() {
    m_tmrExtrato.stop();
    const QString alvo = m_par.impExtrato.trimmed();
    if (alvo.compare(Centralizador, Qt::CaseInsensitive) == 0 || m_linhasExtrato.isEmpty())
        return {}; // the queue takes bills elsewhere
    try {
        return destino(alvo, pastaExtrato(), QStringLiteral("EXT_"), QStringLiteral(".ext"), QString())
            ->print(ReceiptDocument{QStringLiteral("EXTRATO"), m_linhasExtrato, 0});
    } catch (const std::exception&) {
        QString msg = QStringLiteral("Não foi possivel imprimir o extrato: \r");
        for (const QString& s : m_linhasExtrato)
            msg += QStringLiteral("\r") + s;
        Alerta(msg);
        return {};
    }
}

} // namespace kvo
