#pragma once

#include "../NFVendaFixture.h"
#include "core/Paths.h"
#include "invoice/relatorio/RNFVenda.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <ostream>

// Failures show the texts, not their bytes.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '"' << l.join(QStringLiteral("\"|\"")).toStdString() << '"'; }

namespace kvo::test {

// Invoices of the printed-form series "F" written straight into the tables
// with round values, and the layout rows of the form, so the placed boxes can
// be worked out by hand.
class FormularioFixture : public NFVendaFixture {
protected:
    FormularioFixture() {
        setProgramFolder(pasta.path());
        sql(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_UF, PES_CONSUMIDOR_FINAL) "
                           "values (6, 'Consumidor Final', 'SP', 'S')"));
        sql(QStringLiteral("update PESSOA set PES_CONSUMIDOR_FINAL = 'N' where CODPESSOA = 1")); // a taxpayer
        sql(QStringLiteral("insert into CFOP (CODCFOP, CFOP_DESCRICAO, CFOP_TIPO) values ('0000', 'Sem CFOP', 'S')"));
    }
    ~FormularioFixture() override { setProgramFolder(QString()); }

    void nota(int numero, int pessoa, const char* cfop, const char* totalNota) {
        sql(QStringLiteral("insert into NFVENDA (CODNFVENDA, CODSERIE, CODPESSOA, CODCFOP, NFV_DTEMISSAO, "
                           "NFV_ICMS_BASE, NFV_ICMS, NFV_ICMS_SUBST_BASE, NFV_ICMS_SUBST, NFV_TOTAL_PRODUTOS, "
                           "NFV_TOTAL_NOTA) values (%1, 'F', %2, '%3', '2026-12-05', 100, 18, 50, 9, 100, %4)")
                .arg(numero)
                .arg(pessoa)
                .arg(QLatin1String(cfop), QLatin1String(totalNota)));
    }
    void itemNota(int numero, int chave, int produto, const char* qtde, const char* unitario, const char* total) {
        sql(QStringLiteral("insert into NFVENDA_ITEM (CODNFVENDAITEM, CODNFVENDA, CODSERIE, CODPRODUTO, NFVI_QTDE, "
                           "NFVI_VLR_UNITARIO, NFVI_TOTAL, NFVI_CST_IPI) values (%1, %2, 'F', %3, %4, %5, %6, '99')")
                .arg(chave)
                .arg(numero)
                .arg(produto)
                .arg(QLatin1String(qtde), QLatin1String(unitario), QLatin1String(total)));
    }
    void parcela(int numero, int chave, int parcela, const char* vencimento, const char* valor) {
        sql(QStringLiteral("insert into CONTAS (CODCONTA, CON_TIPO, CODPESSOA, CON_PARCELA, CON_DTVENC, CON_VLRPARCELA, "
                           "CON_VLRTOTAL, CON_SALDO, CODNFVENDA, CODSERIE) values (%1, 'R', 1, %2, '%3', %4, 1000, %4, %5, 'F')")
                .arg(chave)
                .arg(parcela)
                .arg(QLatin1String(vencimento), QLatin1String(valor))
                .arg(numero));
    }
    void posicao(const char* tabela, const char* campo, const char* imprimir, int coluna, int linha, int tamanho,
                 int salto = 1) {
        sql(QStringLiteral("insert into PAR_NFVENDA_IMPRESSAO (CODPARNI, PARNI_TABELA, PARNI_CAMPO, PARNI_IMPRIMIR, "
                           "PARNI_COLUNA, PARNI_LINHA, PARNI_TAMANHO, PARNI_SALTO) values (gen_id(GEN_PAR_NFVENDA_IMPRESSAO, 1), "
                           "'%1', '%2', '%3', %4, %5, %6, %7)")
                .arg(QLatin1String(tabela), QLatin1String(campo), QLatin1String(imprimir))
                .arg(coluna)
                .arg(linha)
                .arg(tamanho)
                .arg(salto));
    }
    // The shop's layout: number, CFOP, date, customer, the four ICMS totals
    // (products total not printed), four item columns and the instalments.
    void layoutDaLoja() {
        posicao("cdsNFVenda", "CODNFVENDA", "S", 70, 2, 8);
        posicao("cdsNFVenda", "CODCFOP", "S", 2, 8, 4);
        posicao("cdsNFVenda", "NFV_DTEMISSAO", "S", 60, 8, 10);
        posicao("cdsNFVenda", "PES_NOME", "S", 2, 10, 0);
        posicao("cdsNFVenda", "NFV_ICMS_BASE", "S", 2, 50, 12);
        posicao("cdsNFVenda", "NFV_ICMS", "S", 16, 50, 12);
        posicao("cdsNFVenda", "NFV_ICMS_SUBST_BASE", "S", 30, 50, 12);
        posicao("cdsNFVenda", "NFV_ICMS_SUBST", "S", 44, 50, 12);
        posicao("cdsNFVenda", "NFV_TOTAL_PRODUTOS", "N", 60, 50, 14);
        posicao("cdsNFVenda", "NFV_TOTAL_NOTA", "S", 60, 52, 14);
        posicao("cdsNFVendaItem", "PRO_DESCRICAO", "S", 8, 20, 30);
        posicao("cdsNFVendaItem", "NFVI_QTDE", "S", 40, 0, 8);
        posicao("cdsNFVendaItem", "NFVI_VLR_UNITARIO", "S", 50, 0, 10);
        posicao("cdsNFVendaItem", "NFVI_TOTAL", "S", 62, 0, 12);
        posicao("cdsPesq_Contas", "CON_PARCELA", "S", 2, 40, 3);
        posicao("cdsPesq_Contas", "CON_DTVENC", "S", 8, 40, 10);
        posicao("cdsPesq_Contas", "CON_VLRPARCELA", "S", 20, 40, 12);
    }
    void escreverIni(const QByteArray& conteudo) {
        QFile f(QDir(pasta.path()).filePath(QStringLiteral("nfvenda.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
    QString montar(int numero) { return TrelNFVenda::gerarInstance().montar(numero, QStringLiteral("F")).listaCaixas(); }

    static QString golden(const char* nome) {
        QFile f(QStringLiteral(KVO_FORMULARIO_GOLDEN_DIR "/") + QLatin1String(nome));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("(sem arquivo %1)").arg(nome);
    }

    QTemporaryDir pasta;
};

} // namespace kvo::test
