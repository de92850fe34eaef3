#pragma once

#include "core/Currency.h"
#include "devices/ReceiptPrinterTarget.h"
#include "restaurant/impressao/Estacoes.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace kvo {

class Database;
class RecordSet;
class TdmConfiguracao;

// Printer models of "REST.DAR.MOD" with their own control sequences; any
// other value behaves as DARUMA.
enum class ModeloImpressora { Daruma, Epson, ElginBematech };
ModeloImpressora modeloImpressora(const QString& valor);

// The restaurant parameter row (PAR_RESTAURANTE) as the tickets read it.
struct ParametrosRestaurante {
    QString controleNome = QStringLiteral("Mesas");
    Currency vlrServico;
    QString impCozinha = QStringLiteral("GERENCIADOR");
    QString impBar = QStringLiteral("GERENCIADOR");
    QString impPizza = QStringLiteral("GERENCIADOR");
    QString impChurrasqueira = QStringLiteral("GERENCIADOR");
    QString impExtrato = QStringLiteral("GERENCIADOR");
};

// Production tickets (dmResPedidoImpressao): builds each station's ticket as
// a list of text lines, in the new or the classic layout, and sends it to the
// station's target: the print-manager folder ("GERENCIADOR"), the central
// print queue ("CENTRALIZADOR", procedure STP_REST_IMPRESSAO) or a printer
// path. Also the counter ticket and the bill sending.
//
// Files and queue rows carry the text in UTF-8 with the control bytes; only a
// printer path gets the bytes converted for the printer. Sending never
// changes order data; a failed ticket is shown to the user with its whole
// text and not retried.
class TdmResPedidoImpressao {
public:
    static TdmResPedidoImpressao& gerarInstance();
    TdmResPedidoImpressao(); // on the data-access connection and the shared configuration
    // `usuario` is the logged-in user's name (queue rows carry it).
    TdmResPedidoImpressao(Database& db, TdmConfiguracao& cfg, const QString& usuario);
    ~TdmResPedidoImpressao();

    // The five keys this module registers (group "Restaurante - Impressão").
    static void registrarChaves(TdmConfiguracao& cfg);

    // --- parameters and folders
    void par_carrega_restaurante();
    const ParametrosRestaurante& parametros() const { return m_par; }
    // The stored target setting of a station or of the bill.
    QString impressora(Estacao estacao) const;
    QString impressoraExtrato() const { return m_par.impExtrato; }
    // The manager folder of a station as stored ("c:\KVO\pedidos\" by default),
    // and as a local path.
    QString pastaGerenciador(Estacao estacao) const;
    QString pastaLocal(Estacao estacao) const;
    static QString pastaExtrato() { return QStringLiteral("c:\\KVO\\extrato\\"); }
    // The "temp" sub-folder of a stored folder, as a local path.
    static QString pastaTemporaria(const QString& pastaGuardada);
    // Creates the station folders, the bill folder and their "temp"
    // sub-folders, and "c:\KVO\temp\" (also done on creation).
    void criarPastas();

    // --- item sources: restaurant rows or sale datasets, told apart by the
    // record set's objectName ("cdsPEDECF_ITEM", "cdsPedVendaItem",
    // "cdsResPedidoItem" and their "...Perso" sets).
    static qint64 getCODPEDIDOITEM(const RecordSet& ds);
    static qint64 getCODPEDVENDA(const RecordSet& itens, const RecordSet* pedido);
    static qint64 getCODPRODUTO(const RecordSet& itens);
    static QString getPRO_DESCRICAO(const RecordSet& itens);
    static QString getPEDI_QTDE(const RecordSet& itens);
    static QString getPEDI_OBS(const RecordSet& itens);
    static QString getGRPP_DESCRICAO(const RecordSet& perso);

    // --- printer control sequences of the model in "REST.DAR.MOD"
    ModeloImpressora modelo() const;
    QString getAlinhamentoCentro() const;
    QString getAlinhamentoEsquerda() const;
    QString getLigaNegrito() const;
    QString getDesligaNegrito() const;
    QString getLigaExpandido() const;
    QString getDesligaExpandido() const;
    QString getLigaAlturaDupla() const;
    QString getDesligaAlturaDupla() const;
    QString getCorteTotal() const;
    QString getBeep() const;
    static QString getReset() { return QStringLiteral("\x1b@"); }
    // "REST.DAR.MCOL" as a number, 48 when absent or unreadable.
    int largura() const;
    bool layoutNovo(Estacao estacao) const;

    // --- station families. `itens` is positioned on the item; `pedido` is the
    // order (restaurant: its CODCONTROLE is the table; fiscal pre-sale: its
    // CODPEDVENDA); `perso` the options of the items. For a sale, `balcao`
    // says counter (else delivery) and `numero` is the counter number.
    void imprimir(Estacao estacao, QStringList& linhas, const RecordSet& itens, const RecordSet* pedido,
                  const RecordSet* perso, bool venda, bool balcao, int numero, Currency valor);
    // A restaurant item row (RES_PEDIDO_ITEM with the product's columns) on
    // the ticket of table `mesa`.
    void imprimirItemRestaurante(Estacao estacao, QStringList& linhas, const RecordSet& itens, const QString& mesa,
                                 const RecordSet* perso, Currency valor);
    void imprimirDetalhe(Estacao estacao, QStringList& linhas, bool venda, bool balcao, int numeroBalcao,
                         const QString& mesa, qint64 pedido, const QString& status, int garcon,
                         const QString& produto, const QString& descricao, const QString& qtde,
                         const QString& obs, qint64 item, const RecordSet* perso, Currency valor);
    void imprimirFinalItem(Estacao estacao, QStringList& linhas);
    // Appends the footer file and sends; an empty list sends nothing. Returns
    // where the ticket went (empty when nothing was sent or it failed).
    QString imprimirFinal(Estacao estacao, QStringList& linhas, int mesa, const QString& titulo);
    QString imprimirCustom(Estacao estacao, const QStringList& linhas, int mesa, const QString& titulo);

    void imprimirCozinha(QStringList& l, const RecordSet& i, const RecordSet* ped, const RecordSet* p, bool v, bool b, int n, Currency vl) { imprimir(Estacao::Cozinha, l, i, ped, p, v, b, n, vl); }
    void imprimirBar(QStringList& l, const RecordSet& i, const RecordSet* ped, const RecordSet* p, bool v, bool b, int n, Currency vl) { imprimir(Estacao::Bar, l, i, ped, p, v, b, n, vl); }
    void imprimirPizzaria(QStringList& l, const RecordSet& i, const RecordSet* ped, const RecordSet* p, bool v, bool b, int n, Currency vl) { imprimir(Estacao::Pizzaria, l, i, ped, p, v, b, n, vl); }
    void imprimirChurrasqueira(QStringList& l, const RecordSet& i, const RecordSet* ped, const RecordSet* p, bool v, bool b, int n, Currency vl) { imprimir(Estacao::Churrasqueira, l, i, ped, p, v, b, n, vl); }
    void imprimirFinalItemCozinha(QStringList& l) { imprimirFinalItem(Estacao::Cozinha, l); }
    void imprimirFinalItemBar(QStringList& l) { imprimirFinalItem(Estacao::Bar, l); }
    void imprimirFinalItemPizzaria(QStringList& l) { imprimirFinalItem(Estacao::Pizzaria, l); }
    void imprimirFinalItemChurrasqueira(QStringList& l) { imprimirFinalItem(Estacao::Churrasqueira, l); }
    QString imprimirFinalCozinha(QStringList& l, int mesa, const QString& t) { return imprimirFinal(Estacao::Cozinha, l, mesa, t); }
    QString imprimirFinalBar(QStringList& l, int mesa, const QString& t) { return imprimirFinal(Estacao::Bar, l, mesa, t); }
    QString imprimirFinalPizzaria(QStringList& l, int mesa, const QString& t) { return imprimirFinal(Estacao::Pizzaria, l, mesa, t); }
    QString imprimirFinalChurrasqueira(QStringList& l, int mesa, const QString& t) { return imprimirFinal(Estacao::Churrasqueira, l, mesa, t); }
    QString imprimirCustomCozinha(const QStringList& l, int mesa, const QString& t) { return imprimirCustom(Estacao::Cozinha, l, mesa, t); }
    QString imprimirCustomBar(const QStringList& l, int mesa, const QString& t) { return imprimirCustom(Estacao::Bar, l, mesa, t); }
    QString imprimirCustomPizzaria(const QStringList& l, int mesa, const QString& t) { return imprimirCustom(Estacao::Pizzaria, l, mesa, t); }
    QString imprimirCustomChurrasqueira(const QStringList& l, int mesa, const QString& t) { return imprimirCustom(Estacao::Churrasqueira, l, mesa, t); }

    // Options of the item (from `perso`) and, with "REST.IMP.COMP", the
    // product's composition.
    void imprimirComposicao(const QString& produto, QStringList& linhas, qint64 item, const RecordSet* perso);

    // --- counter ticket (counter sales); `pedido` has CODPEDVENDA, CONTATO
    // and CODPESSOA (PES_NOME read from PESSOA when not in the set).
    void imprimirCabBalcao(QStringList& linhas, const RecordSet& pedido, int numeroBalcao);
    void imprimirBalcao(QStringList& linhas, const RecordSet& itens, const RecordSet* perso = nullptr);
    void imprimirFinalBalcao(QStringList& linhas);

    // --- bill: the prepared lines are sent by tmrExtratoTimer, 10 ms after
    // enviarExtrato (or at once by calling it).
    QStringList& linhasExtrato() { return m_linhasExtrato; }
    void enviarExtrato(const QStringList& linhas);
    QString tmrExtratoTimer();

    // The target a setting names: a manager folder (`pasta`, prefix and
    // extension), the central queue (`centralizador`) or a printer path.
    std::unique_ptr<ReceiptPrinterTarget> destino(const QString& impressora, const QString& pasta,
                                                  const QString& prefixo, const QString& extensao,
                                                  const QString& centralizador);

private:
    QString chave(const QString& nome) const;
    bool ligado(const QString& nome) const { return chave(nome) == QLatin1String("S"); }
    QString separador() const { return QString(largura(), u'-'); }
    void anexarArquivo(const QString& arquivo, QStringList& linhas) const;
    QString nomeGarcon(int garcon) const;
    void detalheNovo(Estacao estacao, QStringList& linhas, bool venda, bool balcao, int numeroBalcao,
                     const QString& mesa, qint64 pedido, const QString& status, int garcon,
                     const QString& produto, const QString& descricao, const QString& qtde, const QString& obs,
                     qint64 item, const RecordSet* perso);
    void detalheClassico(Estacao estacao, QStringList& linhas, bool venda, int numeroBalcao, const QString& mesa,
                         qint64 pedido, const QString& status, const QString& descricao, const QString& qtde,
                         int garcon, const QString& obs);

    Database& m_db;
    TdmConfiguracao& m_cfg;
    QString m_usuario;
    ParametrosRestaurante m_par;
    QStringList m_linhasExtrato;
    QTimer m_tmrExtrato;
};

} // namespace kvo
