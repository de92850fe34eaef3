#include "nfe/EventoPdf.h"

#include "core/Text.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>

namespace kvo::nfe {

namespace {

// "3526 1211 2223 ..." as printed on the DANFE.
QString chaveEmBlocos(const QString& chave)
{
    QStringList partes;
    for (qsizetype i = 0; i < chave.size(); i += 4)
        partes << chave.mid(i, 4);
    return partes.join(u' ');
}

} // namespace

void gerarCartaCorrecaoPdf(const InfEvento& e, const RetornoEvento& r, const QString& arquivo)
{
    QPdfWriter pdf(arquivo);
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("Carta de Correção ") + OnlyNumber(e.chNFe));
    pdf.setCreator(QStringLiteral("KVO Gestão"));
    prepararPaginaCartaCorrecao(pdf);
    QPainter p;
    if (!p.begin(&pdf))
        throw std::runtime_error("Não foi possível gerar o PDF " + arquivo.toStdString());
    desenharCartaCorrecao(p, pdf, e, r);
    if (!p.end())
        throw std::runtime_error("Não foi possível gerar o PDF " + arquivo.toStdString());
}

void prepararPaginaCartaCorrecao(QPagedPaintDevice& device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

void desenharCartaCorrecao(QPainter& p, QPagedPaintDevice& device, const InfEvento& e, const RetornoEvento& r)
{
    const int largura = device.width();
    const double dpi = device.logicalDpiY();
    const auto mm = [dpi](double v) { return int(v * dpi / 25.4); };
    int y = 0;
    const auto bloco = [&](const QString& rotulo, const QString& texto, int pontos, bool negrito) {
        QFont rot(QStringLiteral("DejaVu Sans"), 7);
        p.setFont(rot);
        const int hRot = p.fontMetrics().height();
        p.drawText(QRect(mm(1), y + mm(0.5), largura - mm(2), hRot), Qt::AlignLeft, rotulo);
        QFont f(QStringLiteral("DejaVu Sans"), pontos);
        f.setBold(negrito);
        p.setFont(f);
        const QRect area(mm(1), y + hRot + mm(1), largura - mm(2), 100000);
        const QRect usado = p.boundingRect(area, Qt::TextWordWrap, texto);
        p.drawText(area, Qt::TextWordWrap, texto);
        const int altura = hRot + usado.height() + mm(2.5);
        p.drawRect(0, y, largura - 1, altura);
        y += altura;
    };
    QFont titulo(QStringLiteral("DejaVu Sans"), 14);
    titulo.setBold(true);
    p.setFont(titulo);
    p.drawText(QRect(0, 0, largura, mm(12)), Qt::AlignCenter, QStringLiteral("CARTA DE CORREÇÃO ELETRÔNICA"));
    y = mm(14);
    const QString formato = QStringLiteral("dd/MM/yyyy HH:mm:ss");
    bloco(QStringLiteral("CHAVE DE ACESSO DA NF-e"), chaveEmBlocos(OnlyNumber(e.chNFe)), 11, true);
    bloco(QStringLiteral("EMITENTE (CNPJ)"), OnlyNumber(e.CNPJ), 10, false);
    bloco(QStringLiteral("SEQUÊNCIA DO EVENTO / DATA DO EVENTO"),
          QStringLiteral("%1  —  %2").arg(e.nSeqEvento).arg(e.dhEvento.toString(formato)), 10, false);
    bloco(QStringLiteral("PROTOCOLO DE REGISTRO / SITUAÇÃO"),
          QStringLiteral("%1  —  %2  —  %3 %4")
              .arg(r.nProt, r.dhRegEvento.toString(formato))
              .arg(r.cStat)
              .arg(r.xMotivo),
          10, false);
    bloco(QStringLiteral("CORREÇÃO"), e.xCorrecao, 11, false);
    bloco(QStringLiteral("CONDIÇÕES DE USO"), condicaoDeUsoCCe(), 8, false);
    if (e.tpAmb == 2)
        bloco(QStringLiteral("AMBIENTE"), QStringLiteral("HOMOLOGAÇÃO — SEM VALOR FISCAL"), 10, true);
}

} // namespace kvo::nfe
