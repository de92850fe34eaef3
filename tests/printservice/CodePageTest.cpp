// Accented Portuguese text sent through a network printer arrives in the code
// page of each supported model and decodes back to the same text.
#include "printservice/ImpressoraEmulada.h"
#include "printservice/PrinterBackend.h"
#include "printservice/Ticket.h"

#include <QThread>

#include <gtest/gtest.h>

using namespace kvo;
using namespace kvo::impressao;

namespace {

const QString Texto = QStringLiteral("\x1b@\r\nPÃO DE QUEIJO\r\nAÇAÍ\r\nFRANGO À PARMEGIANA\r\n\x1b" "E\x1b" "a\x00" "x\r\n");

QList<ImpressoraEmulada::Documento> esperarDocumentos(const ImpressoraEmulada& p, int n) {
    for (int i = 0; i < 200 && p.documentos().size() < n; ++i)
        QThread::msleep(10);
    return p.documentos();
}

} // namespace

TEST(CodePage, AccentedTextRoundTripsThroughEachModelsPrinter) {
    for (const char* modelo : {"DARUMA", "EPSON", "ELGIN", "BEMATECH"}) {
        CodePage pagina;
        ASSERT_TRUE(codePageForModel(QString::fromLatin1(modelo), pagina)) << modelo;
        ImpressoraEmulada emulada(0, pagina);
        Ticket t;
        t.texto = Texto;
        criarImpressora(QStringLiteral("tcp:127.0.0.1:%1").arg(emulada.porta()))->enviar(bytesParaImpressora(t, pagina));
        const auto docs = esperarDocumentos(emulada, 1);
        ASSERT_EQ(docs.size(), 1) << modelo;
        EXPECT_EQ(docs[0].texto, Texto) << modelo;
        // One byte per character: no UTF-8 reached the printer.
        EXPECT_EQ(docs[0].bytes.size(), Texto.size()) << modelo;
    }
}

TEST(CodePage, ModelsGetTheirOwnTables) {
    CodePage epson, daruma;
    ASSERT_TRUE(codePageForModel(QStringLiteral("EPSON"), epson));
    ASSERT_TRUE(codePageForModel(QStringLiteral("daruma"), daruma));
    EXPECT_EQ(encodeForPrinter(QStringLiteral("ÃÇÍÀ"), daruma), QByteArray("\xC7\x80\xD6\xB7"));
    EXPECT_EQ(encodeForPrinter(QStringLiteral("ÃÇÍÀ"), epson), QByteArray("\x8E\x80\x8B\x91"));
    EXPECT_EQ(decodeFromPrinter(QByteArray("\x8E\x80\x8B\x91"), epson), QStringLiteral("ÃÇÍÀ"));
    EXPECT_EQ(encodeForPrinter(QStringLiteral("Ñandú"), CodePage::Latin1), QByteArray("\xD1" "and\xFA"));
    CodePage x;
    EXPECT_FALSE(codePageForModel(QStringLiteral("XPTO"), x));
}

TEST(CodePage, WhatThePageLacksLosesOnlyItsAccent) {
    CodePage generico;
    ASSERT_TRUE(codePageForModel(QStringLiteral("GENERICO"), generico));
    EXPECT_EQ(encodeForPrinter(QStringLiteral("PÃO DE QUEIJO"), generico), QByteArray("PAO DE QUEIJO"));
    EXPECT_EQ(encodeForPrinter(QStringLiteral("Ő€"), CodePage::Cp860), QByteArray("O?"));
}

TEST(Reimpressao, TheMarkGoesAfterThePrinterResetAndNothingElseIsAdded) {
    EXPECT_EQ(comMarcaReimpressao(QStringLiteral("\x1b@\r\nMESA 3\r\n")),
              QStringLiteral("\x1b@\r\n*** REIMPRESSÃO ***\r\nMESA 3\r\n"));
    EXPECT_EQ(comMarcaReimpressao(QStringLiteral("Mesa.....: 3\r\n")), QStringLiteral("*** REIMPRESSÃO ***\r\nMesa.....: 3\r\n"));
    Ticket t;
    t.texto = QStringLiteral("\x1b@\r\nMESA 3\r\n");
    EXPECT_EQ(bytesParaImpressora(t, CodePage::Cp850), QByteArray("\x1b@\r\nMESA 3\r\n"));
    EXPECT_EQ(mesaDoTexto(QStringLiteral("\x1bj1\x1bw1\x1b" "EMESA 12\x1bw0")), 12);
    EXPECT_EQ(mesaDoTexto(QStringLiteral("Mesa.....: 7\r\n")), 7);
    EXPECT_EQ(mesaDoTexto(QStringLiteral("BALCAO 001")), 0);
}
