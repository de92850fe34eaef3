// The correction-letter and receipt-stub screens reached through the
// invoice screens' entry table, as the invoice search reaches them.
#include "TelaNFVendaTeste.h"

#include "invoice/ui/RegistroTelasNFVenda.h"
#include "invoice/ui/TelasNFVenda.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace kvo;
using namespace kvo::test;

namespace {

class NFVendaCCECanhoto : public TelaNFVendaTeste {
protected:
    NFVendaCCECanhoto() {
        registrarTelasNFVenda();
        m_numero = notaSalva("1");
        sql(QStringLiteral("update NFVENDA set NFV_STATUS = 'Faturada', NFV_NFE_NPROT = '135260000000001'"));
    }
    int m_numero = 0;
};

TEST_F(NFVendaCCECanhoto, CorrectionTextOf15IsRefusedAnd16ReachesTheQuestion) {
    QStringList mensagens, perguntas;
    QString titulo, foco, numero, sequencial;
    QuandoAbrir cce(QStringLiteral("frmNFVendaCCE"), [&](QWidget* j) {
        titulo = j->windowTitle();
        foco = nomeDoFoco(j);
        numero = textoDe(j, "edtCODNFVENDA");
        sequencial = textoDe(j, "edtNFVC_SEQUENCIAL");
        teclar(j, QStringLiteral("Quantidade: 12.")); // 15 characters
        ui.clear();
        atalho(j, Qt::Key_F2);
        mensagens << ui.lastMessage();
        EXPECT_TRUE(j->isVisible());
        teclar(j, QStringLiteral("!")); // 16
        ui.answerNo();                  // "Confirma enviar Carta Correção?"
        ui.clear();
        atalho(j, Qt::Key_F2);
        perguntas = ui.questions();
        EXPECT_TRUE(j->isVisible()); // answered no: the letter stays on the screen
        tecla(j, Qt::Key_Escape);
    });
    telasNFVenda().cartaCorrecao(m_numero, QStringLiteral("1"));
    ASSERT_TRUE(cce.abriu());
    EXPECT_EQ(foco, u"memNFVC_CORRECAO");
    EXPECT_EQ(numero, QString::number(m_numero));
    EXPECT_EQ(sequencial, u"1");
    EXPECT_EQ(mensagens, QStringList{QStringLiteral("Você precisa colocar um texto maior que 15 caracteres!")});
    EXPECT_EQ(perguntas, QStringList{QStringLiteral("Confirma enviar Carta Correção?")});
    EXPECT_TRUE(ui.allAnswered());
    EXPECT_EQ(t->scalar(QStringLiteral("select count(*) from NFVENDA_CCE")).toInt(), 0);
}

TEST_F(NFVendaCCECanhoto, StubIsWrittenInEditAndOnlyShownOtherwise) {
    QString titulo;
    QuandoAbrir editar(QStringLiteral("frmNFVendaCanhoto"), [&](QWidget* j) {
        titulo = j->windowTitle();
        ASSERT_EQ(nomeDoFoco(j), u"edtNFV_RECEB_NOME");
        for (const char* valor : {"Maria Souza", "12.345.678-9", "02/12/2026"}) {
            teclar(j, QString::fromUtf8(valor));
            tecla(j, Qt::Key_Return);
        }
        teclar(j, QStringLiteral("14:30:00")); // confirmed by F2 while typed
        atalho(j, Qt::Key_F2);
    });
    telasNFVenda().canhoto(m_numero, QStringLiteral("1"), true);
    ASSERT_TRUE(editar.abriu());
    EXPECT_EQ(titulo, u"Movimentação: Nota Fiscal de Venda Canhoto");
    auto r = t->query(QStringLiteral("select NFV_RECEB_NOME, NFV_RECEB_RG, NFV_RECEB_DATA, NFV_RECEB_HORA from NFVENDA"));
    EXPECT_EQ(r->field(0).asString(), u"Maria Souza") << ui.lastMessage().toStdString();
    EXPECT_EQ(r->field(1).asString(), u"12.345.678-9");
    EXPECT_EQ(r->field(2).asDate(), QDate(2026, 12, 2));
    EXPECT_EQ(r->field(3).value().toTime(), QTime(14, 30));

    bool somenteLeitura = false, okHabilitado = true;
    QuandoAbrir ver(QStringLiteral("frmNFVendaCanhoto"), [&](QWidget* j) {
        somenteLeitura = filho<QLineEdit>(j, "edtNFV_RECEB_NOME")->isReadOnly();
        okHabilitado = filho<QPushButton>(j, "btnOk")->isEnabled();
        tecla(j, Qt::Key_Escape);
    });
    telasNFVenda().canhoto(m_numero, QStringLiteral("1"), false);
    ASSERT_TRUE(ver.abriu());
    EXPECT_TRUE(somenteLeitura);
    EXPECT_FALSE(okHabilitado);
}

} // namespace
