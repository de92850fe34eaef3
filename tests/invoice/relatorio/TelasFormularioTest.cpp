// The layout screen and the form's preview, driven from the keyboard on the
// shown windows, with the scripted user interface answering.
#include "FormularioFixture.h"

#include "framework/ui/ScreenRegistry.h"
#include "invoice/relatorio/ui/TelasNFVendaRelatorio.h"
#include "invoice/ui/TelasNFVenda.h"
#include "registers/LayoutImpressaoNF.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QTableView>
#include <QTest>
#include <QPointer>
#include <QTimer>

namespace kvo::test {
namespace {

// Runs `passo` on the modal window once it is shown and active. A step that
// stops half-way (a failed assertion) must not leave the window waiting for
// a user: it is closed after a while, and that is a failure.
void quandoAparecer(const QString& nome, std::function<void(QWidget*)> passo) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, nome, passo] {
        QWidget* tela = QApplication::activeModalWidget();
        if (!tela || tela->objectName() != nome || !tela->isActiveWindow())
            return;
        timer->stop();
        timer->deleteLater();
        QPointer<QWidget> janela(tela);
        passo(tela);
        QTimer::singleShot(3000, [janela, nome] {
            if (janela && janela->isVisible()) {
                ADD_FAILURE() << nome.toStdString() << " still open after the keys";
                janela->close();
            }
        });
    });
    timer->start();
}

// Each character to whatever has the focus then (a grid cell's editor opens on the first).
void teclas(QWidget* tela, const QString& texto) {
    for (QChar c : texto)
        QTest::keyClicks(tela->focusWidget(), QString(c));
}
void tecla(QWidget* tela, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    if (tela->isVisible() && tela->focusWidget())
        QTest::keyClick(tela->focusWidget(), k, m);
}

class TelasFormulario : public FormularioFixture {
protected:
    TelasFormulario() { registrarTelasNFVendaRelatorio(); }
    ~TelasFormulario() override {
        telasNFVenda() = {};
        ScreenRegistry::remover(QStringLiteral("TfrmParametroImpressaoNF"));
    }
    QString linhaLayout(const char* campo) {
        const auto rs = t->query(QStringLiteral("select PARNI_TABELA, PARNI_IMPRIMIR, PARNI_COLUNA, PARNI_LINHA, "
                                                "PARNI_TAMANHO, PARNI_SALTO from PAR_NFVENDA_IMPRESSAO where PARNI_CAMPO = '%1'")
                                     .arg(QLatin1String(campo)));
        if (rs->isEmpty())
            return QStringLiteral("(nenhuma)");
        QStringList v;
        for (int i = 0; i < rs->fieldCount(); ++i)
            v << rs->field(i).asString().trimmed();
        return v.join(u';');
    }
};

TEST_F(TelasFormulario, PosicionaUmCampoDoItemSoPeloTeclado) {
    QStringList camposOferecidos;
    bool fechou = false;
    quandoAparecer(QStringLiteral("frmParametroImpressaoNF"), [&](QWidget* tela) {
        EXPECT_EQ(tela->focusWidget()->objectName(), u"cbxParte");
        tecla(tela, Qt::Key_Down); // "Itens"
        tecla(tela, Qt::Key_Tab);
        auto* campo = tela->findChild<QComboBox*>(QStringLiteral("cbxCampo"));
        for (int i = 0; i < campo->count(); ++i)
            camposOferecidos << campo->itemText(i);
        tecla(tela, Qt::Key_A, Qt::ControlModifier);
        teclas(tela, QStringLiteral("pro_descricao"));
        tecla(tela, Qt::Key_Return); // the new row, focus on its column cell
        teclas(tela, QStringLiteral("8"));
        tecla(tela, Qt::Key_Tab);
        teclas(tela, QStringLiteral("20"));
        tecla(tela, Qt::Key_Tab);
        teclas(tela, QStringLiteral("30")); // still being typed when F2 saves
        tecla(tela, Qt::Key_F2);
        tecla(tela, Qt::Key_Escape); // leaves the cell
        tecla(tela, Qt::Key_Escape);
        fechou = !tela->isVisible();
    });
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmParametroImpressaoNF")));
    EXPECT_TRUE(fechou);
    EXPECT_TRUE(camposOferecidos.contains(QStringLiteral("NFVI_QTDE")));
    EXPECT_FALSE(camposOferecidos.contains(QStringLiteral("NFV_TOTAL_NOTA"))) << "a header column offered for items";
    EXPECT_EQ(ui.lastMessage(), u"Formulário da nota fiscal gravado.");
    EXPECT_EQ(linhaLayout("PRO_DESCRICAO"), u"cdsNFVendaItem;S;8;20;30;1");
}

TEST_F(TelasFormulario, RecusasDoLayoutEGravacaoComF2) {
    posicao("cdsNFVenda", "CODNFVENDA", "S", 70, 2, 8);
    QStringList mensagens;
    ui.onMessage = [&](const ScriptedUi::Message& m) { mensagens << m.text; };
    quandoAparecer(QStringLiteral("frmParametroImpressaoNF"), [&](QWidget* tela) {
        tecla(tela, Qt::Key_Tab);
        tecla(tela, Qt::Key_A, Qt::ControlModifier);
        teclas(tela, QStringLiteral("CODNFVENDA"));
        tecla(tela, Qt::Key_Return); // already placed
        tecla(tela, Qt::Key_A, Qt::ControlModifier);
        teclas(tela, QStringLiteral("NAO_EXISTE"));
        tecla(tela, Qt::Key_Return);
        // In the grid (on its first cell): the print flag takes a lower-case "n",
        // the column refuses "-1".
        tecla(tela, Qt::Key_Tab);
        EXPECT_EQ(tela->focusWidget()->objectName(), u"dbgLayout");
        tecla(tela, Qt::Key_Right);
        teclas(tela, QStringLiteral("n"));
        tecla(tela, Qt::Key_Tab);
        teclas(tela, QStringLiteral("-1")); // still being typed: refused by F2, the rest saved
        tecla(tela, Qt::Key_F2);
        tecla(tela, Qt::Key_Escape); // leaves the cell
        tecla(tela, Qt::Key_Escape);
    });
    ASSERT_TRUE(ScreenRegistry::abrir(QStringLiteral("TfrmParametroImpressaoNF")));
    EXPECT_TRUE(mensagens.contains(QStringLiteral("O campo CODNFVENDA já está no formulário."))) << mensagens.join(u'|').toStdString();
    EXPECT_TRUE(mensagens.contains(QStringLiteral("Campo NAO_EXISTE não existe em Cabeçalho.")));
    EXPECT_TRUE(mensagens.contains(QStringLiteral("O valor de Coluna não pode ser negativo.")));
    EXPECT_TRUE(mensagens.contains(QStringLiteral("Formulário da nota fiscal gravado.")));
    EXPECT_TRUE(ui.questions().isEmpty()) << ui.questions().join(u'|').toStdString();
    EXPECT_EQ(linhaLayout("CODNFVENDA"), u"cdsNFVenda;N;70;2;8;1") << "the refused values were not kept, the lower-case n was";
}

TEST_F(TelasFormulario, PreviaMostraAPaginaEAImpressoraIndisponivelEAvisada) {
    layoutDaLoja();
    nota(41, 6, "5102", "1234.5");
    itemNota(41, 1, 10, "3", "2", "6");
    ASSERT_TRUE(bool(telasNFVenda().imprimirFormulario));
    QString texto;
    bool abertaAposFalha = false;
    quandoAparecer(QStringLiteral("frmPrintPreview"), [&](QWidget* tela) {
        texto = tela->findChild<QPlainTextEdit*>(QStringLiteral("memTexto"))->toPlainText();
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            tecla(tela, Qt::Key_Return); // "Imprimir" is the default button
            abertaAposFalha = tela->isVisible();
        }
        tecla(tela, Qt::Key_Escape);
    });
    telasNFVenda().imprimirFormulario(41, QStringLiteral("F"));
    const QStringList linhas = texto.split(u'\n');
    ASSERT_GT(linhas.size(), 52);
    EXPECT_EQ(linhas[2], QString(70, u' ') + u"41");
    EXPECT_EQ(linhas[20], u"        PARAFUSO" + QString(24, u' ') + u"    3,00  " + u"      2,00  " + u"        6,00");
    EXPECT_EQ(linhas[52], QString(60, u' ') + u"      1.234,50");
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_TRUE(abertaAposFalha);
        EXPECT_EQ(ui.lastMessage(), u"Impressora não disponível: (padrão do sistema)");
    }
}

} // namespace
} // namespace kvo::test

namespace kvo::test {
namespace {

// The rules of the layout rows, without the screen.
TEST_F(FormularioFixture, LinhasDoLayoutRecusamValoresInvalidos) {
    posicao("cdsNFVenda", "CODNFVENDA", "S", 70, 2, 8);
    LayoutImpressaoNF layout(t.db());
    layout.mostrarTabela(QStringLiteral("cdsNFVenda"));
    EXPECT_EQ(layout.camposLivres({QStringLiteral("CODNFVENDA"), QStringLiteral("CODCFOP")}), QStringList{QStringLiteral("CODCFOP")});
    EXPECT_THROW(layout.incluir(QStringLiteral("codnfvenda")), Abort);
    EXPECT_EQ(ui.lastMessage(), u"O campo codnfvenda já está no formulário.");
    RecordSet& rs = layout.registros();
    rs.edit();
    struct Caso {
        const char* campo;
        const char* valor;
        const char* mensagem;
    };
    const Caso recusados[] = {{"PARNI_IMPRIMIR", "X", "Informe S ou N em Imprimir."},
                              {"PARNI_IMPRIMIR", "", "Informe S ou N em Imprimir."},
                              {"PARNI_COLUNA", "-1", "O valor de Coluna não pode ser negativo."},
                              {"PARNI_LINHA", "-3", "O valor de Linha não pode ser negativo."},
                              {"PARNI_TAMANHO", "-1", "O valor de Tamanho não pode ser negativo."}};
    for (const Caso& k : recusados) {
        try {
            rs.field(QLatin1String(k.campo)).setValue(QLatin1String(k.valor));
            ADD_FAILURE() << k.campo << " accepted " << k.valor;
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), k.mensagem);
        }
    }
    rs.field(QStringLiteral("PARNI_IMPRIMIR")).setValue(QStringLiteral("n"));
    layout.incluir(QStringLiteral("CODCFOP"));
    layout.gravar();
    EXPECT_EQ(t->scalar(QStringLiteral("select PARNI_IMPRIMIR || PARNI_COLUNA || ';' || PARNI_SALTO from "
                                      "PAR_NFVENDA_IMPRESSAO where PARNI_CAMPO = 'CODNFVENDA'")).toString(), u"N70;1");
    EXPECT_EQ(t->scalar(QStringLiteral("select PARNI_TABELA || PARNI_IMPRIMIR || PARNI_COLUNA || PARNI_LINHA || "
                                      "PARNI_TAMANHO || PARNI_SALTO from PAR_NFVENDA_IMPRESSAO where PARNI_CAMPO = 'CODCFOP'"))
                  .toString(),
              u"cdsNFVendaS0001");
}

} // namespace
} // namespace kvo::test
