#include "invoice/pesq/UNFVenda_Pesq.h"

#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "invoice/PesquisaNFVenda.h"
#include "invoice/FerramentasXMLNFe.h"
#include "invoice/ui/TelasNFVenda.h"
#include "registers/ui/CadastroComum.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kvo {

namespace pesq = pesquisaNFVenda;

namespace {
TdmNFVenda& dm() { return TdmNFVenda::gerarInstance(); }
} // namespace

TfrmNFVenda_Pesq::TfrmNFVenda_Pesq(QWidget* parent)
    : TrepPadraoPesquisa(TdmAcesso::gerarInstance().sqlCon(), pesq::selectBase(), parent) {
    setObjectName(QStringLiteral("frmNFVenda_Pesq"));
    setWindowTitle(QStringLiteral("Pesquisa: Nota Fiscal de Saída"));
    adicionarTipoPesquisa(QStringLiteral("Número"), QStringLiteral("CODNFVENDA"));
    adicionarTipoPesquisa(QStringLiteral("Cliente"), QStringLiteral("PES_NOME"));
    adicionarTipoPesquisa(QStringLiteral("CPF/CNPJ"), QStringLiteral("PES_CPFCNPJ"));
    adicionarTipoPesquisa(QStringLiteral("Série"), QStringLiteral("CODSERIE"));
    adicionarTipoPesquisa(QStringLiteral("Status"), QStringLiteral("NFV_STATUS"));
    setOrdem(QStringLiteral("NFVENDA.CODNFVENDA desc, NFVENDA.CODSERIE"));
    // The base condition until the screen shows and builds its own.
    setFiltro(QStringLiteral("COALESCE(SER_ATIVO, 'S') = 'S'"));
    cadastro::rotularColunas(*this,
                             {{QStringLiteral("CODNFVENDA"), QStringLiteral("Número")},
                              {QStringLiteral("CODSERIE"), QStringLiteral("Série")},
                              {QStringLiteral("NFV_STATUS"), QStringLiteral("Status")},
                              {QStringLiteral("NFV_DTEMISSAO"), QStringLiteral("Emissão")},
                              {QStringLiteral("CODPESSOA"), QStringLiteral("Cód.")},
                              {QStringLiteral("PES_NOME"), QStringLiteral("Cliente")},
                              {QStringLiteral("PES_CPFCNPJ"), QStringLiteral("CPF/CNPJ")},
                              {QStringLiteral("PES_UF"), QStringLiteral("UF")},
                              {QStringLiteral("CODCFOP"), QStringLiteral("CFOP")},
                              {QStringLiteral("NFV_TOTAL_NOTA"), QStringLiteral("Total")},
                              {QStringLiteral("PES_EMAIL"), QStringLiteral("E-mail")},
                              {QStringLiteral("SER_TIPO"), QStringLiteral("Tipo da série")},
                              {QStringLiteral("PES_EMAIL_NFE"), QStringLiteral("E-mail NF-e")}},
                             {QStringLiteral("NFV_TOTAL_NOTA")});
    // The type goes with the billing; the grid has no use for it.
    modelo().setColumns({QStringLiteral("CODNFVENDA"), QStringLiteral("CODSERIE"), QStringLiteral("NFV_STATUS"),
                         QStringLiteral("NFV_DTEMISSAO"), QStringLiteral("CODPESSOA"), QStringLiteral("PES_NOME"),
                         QStringLiteral("PES_CPFCNPJ"), QStringLiteral("PES_UF"), QStringLiteral("CODCFOP"),
                         QStringLiteral("NFV_TOTAL_NOTA"), QStringLiteral("PES_EMAIL"), QStringLiteral("SER_TIPO"),
                         QStringLiteral("PES_EMAIL_NFE")});
    PintarCelulas(modelo(), [](const RowView& r) -> std::optional<QColor> {
        if (r.value(QStringLiteral("NFV_STATUS")).toString() == u"Excluída")
            return corExcluida();
        return std::nullopt;
    });

    // Filters, the legend, voiding and the NF-e file tools.
    auto* filtros = new QHBoxLayout;
    m_ocultarExcluidas = new QCheckBox(QStringLiteral("Ocultar NF Excluídas"), this);
    m_ocultarExcluidas->setObjectName(QStringLiteral("chkOcultarExcluidas"));
    m_ocultarInativas = new QCheckBox(QStringLiteral("Ocultar Séries Inat."), this);
    m_ocultarInativas->setObjectName(QStringLiteral("chkOcultarSeriesInativas"));
    m_ocultarInativas->setChecked(true); // as the base condition
    filtros->addWidget(m_ocultarExcluidas);
    filtros->addWidget(m_ocultarInativas);
    auto* legenda = new QLabel(QStringLiteral(" Excluída "), this);
    legenda->setObjectName(QStringLiteral("lblLegendaExcluida"));
    legenda->setAutoFillBackground(true);
    legenda->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray;").arg(corExcluida().name()));
    filtros->addWidget(legenda);
    filtros->addStretch();
    botao(filtros, "btnInutilizar", QStringLiteral("Inutilizar NFs"), [] { dm().NFE_InutilizarFaixa(); });
    botao(filtros, "btnInutilizarCSV", QStringLiteral("..."), [this] { inutilizarCSV(); })
        ->setToolTip(QStringLiteral("Inutilizar as faixas de um arquivo CSV"));
    botao(filtros, "btnXML", QStringLiteral("XML"), [this] {
        NenhumRegistro();
        ferramentasXML::exportarXML(dm(), coluna("CODNFVENDA").toInt(), coluna("CODSERIE"), {});
    });
    botao(filtros, "btnDANFE", QStringLiteral("DANFE"), [this] {
        NenhumRegistro();
        ferramentasXML::imprimirDANFE(dm(), coluna("CODNFVENDA").toInt(), coluna("CODSERIE"));
    });
    botao(filtros, "btnXMLCons", QStringLiteral("XML Cons."), [this] {
        NenhumRegistro();
        const auto arquivo =
            userInterface().chooseFile(QStringLiteral("Salvar XML"), QStringLiteral("XML (*.xml)"), true);
        if (arquivo)
            ferramentasXML::exportarXML(dm(), coluna("CODNFVENDA").toInt(), coluna("CODSERIE"), *arquivo);
    });
    corpo()->addLayout(filtros);

    // The invoice's life cycle on the selected row.
    auto* acoes = new QHBoxLayout;
    m_faturar = botao(acoes, "btnFaturar", QStringLiteral("   &Faturar Nota Fiscal"), [this] {
        naLinha([this](TdmNFVenda& d, int n, const QString& s) {
            pesq::faturar(d, n, s, coluna("NFV_TIPO"));
            return true; // listed again whatever the answers were
        });
    });
    m_cancelar = botao(acoes, "btnCancelar", QStringLiteral("   &Cancelar Nota"), [this] {
        naLinha([](TdmNFVenda& d, int n, const QString& s) { return d.NFVENDA_Cancelar(n, s); });
    });
    m_reabrir = botao(acoes, "btnReabrir", QStringLiteral("   &Reabrir Nota"), [this] {
        naLinha([](TdmNFVenda& d, int n, const QString& s) { return d.NFVENDA_Reabrir(n, s); });
    });
    botao(acoes, "btnEmail", QStringLiteral("   &Enviar via Email"), [this] {
        naLinha([this](TdmNFVenda& d, int n, const QString& s) {
            pesq::enviarEmail(d, n, s, coluna("CODPESSOA").toInt());
            return false;
        });
    });
    m_carta = botao(acoes, "btnCartaCorrecao", QStringLiteral("   &Carta Correção"), [this] {
        naLinha([](TdmNFVenda& d, int n, const QString& s) {
            if (!pesq::podeCartaCorrecao(d, n, s))
                return false;
            exigirTela(bool(telasNFVenda().cartaCorrecao), QStringLiteral("TfrmNFVendaCCE"));
            telasNFVenda().cartaCorrecao(n, s);
            return true;
        });
    });
    // The booklet has no printing of its own in this module: the button only.
    m_carne = botao(acoes, "btnCarne", QStringLiteral("   &Imprimir Carnê"), [] {});
    botao(acoes, "btnCanhoto", QStringLiteral("   &Conhoto da nota"), [this] {
        naLinha([](TdmNFVenda&, int n, const QString& s) {
            exigirTela(bool(telasNFVenda().canhoto), QStringLiteral("TfrmNFVendaCanhoto"));
            telasNFVenda().canhoto(n, s, true);
            return false;
        });
    });
    acoes->addStretch();
    corpo()->addLayout(acoes);

    m_alterar = findChild<QPushButton*>(QStringLiteral("btnAlterar"));
    m_excluir = findChild<QPushButton*>(QStringLiteral("btnExcluir"));
    m_imprimir = findChild<QPushButton*>(QStringLiteral("btnImprimir"));
    m_imprimir->setShortcut(QKeySequence(Qt::Key_F10));
    m_tituloImprimir = m_imprimir->text();
    // The invoice's deletion asks its own question and password, so the
    // base's generic question is not put first.
    disconnect(m_excluir, &QPushButton::clicked, this, nullptr);
    connect(m_excluir, &QPushButton::clicked, this, [this] {
        executar([this] {
            NenhumRegistro();
            excluirRegistro();
        });
    });
    // "&Faturar" is this screen's Alt+F; Esc closes.
    findChild<QPushButton*>(QStringLiteral("btnFechar"))->setText(QStringLiteral("Fechar (Esc)"));

    connect(m_ocultarExcluidas, &QCheckBox::toggled, this, [this] { executar([this] { atualizarFiltro(); }); });
    connect(m_ocultarInativas, &QCheckBox::toggled, this, [this] { executar([this] { atualizarFiltro(); }); });
    m_grade = findChild<QTableView*>(QStringLiteral("dbgPesquisa"));
    connect(&registros(), &RecordSet::reset, this, [this] {
        m_grade->resizeColumnsToContents();
        habilitarBotoes();
    });
    connect(&registros(), &RecordSet::currentChanged, this, [this] { habilitarBotoes(); });
    habilitarBotoes();
    resize(1280, 680);
}

QPushButton* TfrmNFVenda_Pesq::botao(QLayout* barra, const char* nome, const QString& titulo,
                                     std::function<void()> acao) {
    auto* b = new QPushButton(titulo, this);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [acao] { executar(acao); });
    barra->addWidget(b);
    return b;
}

void TfrmNFVenda_Pesq::showEvent(QShowEvent* event) {
    TrepPadraoPesquisa::showEvent(event);
    executar([this] {
        // The screen is kept between openings: the marker file and the key are looked at each time.
        const bool ferramentas = pesq::mostrarFerramentasXML();
        for (const char* nome : {"btnXML", "btnDANFE", "btnXMLCons"})
            findChild<QPushButton*>(QLatin1String(nome))->setVisible(ferramentas);
        m_carne->setVisible(TdmConfiguracao::gerarInstance().getStr(QStringLiteral("NF.CARNE")) == u"S");
        atualizarFiltro();
    });
}

void TfrmNFVenda_Pesq::atualizarFiltro() {
    const auto c = pesq::condicao({m_ocultarExcluidas->isChecked(), m_ocultarInativas->isChecked()});
    setFiltro(c.sql, c.params);
    CarregaDadosCadastro();
}

QString TfrmNFVenda_Pesq::coluna(const char* nome) const {
    return registros().field(QLatin1String(nome)).asString();
}

void TfrmNFVenda_Pesq::habilitarBotoes() {
    const bool temLinha = registros().active() && !registros().isEmpty();
    const auto h = pesq::habilitados(temLinha ? coluna("NFV_STATUS") : QString());
    m_alterar->setEnabled(h.alterar);
    m_excluir->setEnabled(h.excluir);
    m_faturar->setEnabled(h.faturar);
    m_reabrir->setEnabled(h.reabrir);
    m_imprimir->setEnabled(h.imprimir);
    m_cancelar->setEnabled(h.cancelar);
    m_carta->setEnabled(h.cartaCorrecao);
    m_carne->setEnabled(h.carne);
    QString titulo = m_tituloImprimir;
    if (temLinha && TdmAcesso::gerarInstance().empresa().emiteNFe)
        if (const QString t = pesq::tituloImprimir(coluna("SER_TIPO")); !t.isEmpty())
            titulo = t;
    m_imprimir->setText(titulo);
    m_imprimir->setShortcut(QKeySequence(Qt::Key_F10)); // a caption with "&" would have replaced it
}

void TfrmNFVenda_Pesq::naLinha(const std::function<bool(TdmNFVenda&, int, const QString&)>& passo) {
    NenhumRegistro();
    const int numero = coluna("CODNFVENDA").toInt();
    const QString serie = coluna("CODSERIE");
    if (!passo(dm(), numero, serie))
        return;
    CarregaDadosCadastro();
    // The invoice just changed stays selected, when it is still listed.
    RecordSet& rs = registros();
    for (int linha = 1; linha <= rs.recordCount(); ++linha) {
        rs.setRecNo(linha);
        if (coluna("CODNFVENDA").toInt() == numero && coluna("CODSERIE") == serie) {
            m_grade->selectRow(linha - 1);
            return;
        }
    }
    if (!rs.isEmpty()) {
        rs.setRecNo(1);
        m_grade->selectRow(0);
    }
}

bool TfrmNFVenda_Pesq::abrirCadastro(Modo modo) {
    TelasNFVenda& telas = telasNFVenda();
    if (modo == Modo::Incluir) {
        exigirTela(bool(telas.novaNota), QStringLiteral("TfrmNFVenda"));
        return telas.novaNota();
    }
    exigirTela(bool(telas.abrirNota), QStringLiteral("TfrmNFVenda"));
    // Only an open invoice is changed; Enter on another row shows it.
    const bool editar = modo == Modo::Alterar && pesq::habilitados(coluna("NFV_STATUS")).alterar;
    return telas.abrirNota(coluna("CODNFVENDA").toInt(), coluna("CODSERIE"), editar) && editar;
}

void TfrmNFVenda_Pesq::excluirRegistro() {
    naLinha([](TdmNFVenda& d, int n, const QString& s) { return d.NFVENDA_Excluir(n, s); });
}

void TfrmNFVenda_Pesq::imprimir() {
    naLinha([this](TdmNFVenda& d, int n, const QString& s) {
        if (pesq::imprimeDanfe(coluna("SER_TIPO"))) {
            pesq::imprimirNFe(d, n, s, coluna("CODPESSOA").toInt());
        } else {
            exigirTela(bool(telasNFVenda().imprimirFormulario), QStringLiteral("TrelNFVenda"));
            telasNFVenda().imprimirFormulario(n, s);
        }
        return false;
    });
}

void TfrmNFVenda_Pesq::inutilizarCSV() {
    const auto arquivo = userInterface().chooseFile(QStringLiteral("Inutilizar NFs"),
                                                    QStringLiteral("Arquivos CSV (*.csv);;Todos (*)"), false);
    if (!arquivo)
        return;
    const int faixas = dm().NFE_InutilizarCSV(*arquivo);
    Informacao(QStringLiteral("Inutilização concluída: %1 faixa(s).").arg(faixas));
}

} // namespace kvo
