#include "invoice/relatorio/PaginaFormulario.h"

#include "core/Paths.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextStream>

#include <stdexcept>

namespace kvo {

namespace {

constexpr double unidadesPorPolegada = 96.0;

// Reads one section of an ini file; keys in lower case.
QMap<QString, QString> secao(const QString& arquivo, const QString& nome) {
    QMap<QString, QString> valores;
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return valores;
    QTextStream in(&f);
    bool dentro = false;
    while (!in.atEnd()) {
        const QString linha = in.readLine().trimmed();
        if (linha.startsWith(u'[')) {
            dentro = linha.mid(1, linha.indexOf(u']') - 1).trimmed().compare(nome, Qt::CaseInsensitive) == 0;
            continue;
        }
        const int igual = linha.indexOf(u'=');
        if (dentro && igual > 0 && !linha.startsWith(u';'))
            valores.insert(linha.left(igual).trimmed().toLower(), linha.mid(igual + 1).trimmed());
    }
    return valores;
}

void lerInteiro(const QMap<QString, QString>& valores, const char* chave, int& destino) {
    bool ok = false;
    const int v = valores.value(QString::fromUtf8(chave).toLower()).toInt(&ok);
    if (ok)
        destino = v;
}

} // namespace

ConfigFormulario ConfigFormulario::ler(const QString& arquivo) {
    ConfigFormulario c;
    const auto valores = secao(arquivo, QStringLiteral("configuracao"));
    lerInteiro(valores, "Altura da Fonte", c.alturaFonte);
    lerInteiro(valores, "Largura Da Fonte", c.larguraFonte);
    lerInteiro(valores, "Altura do Papel", c.alturaPapel);
    lerInteiro(valores, "Largura do Papel", c.larguraPapel);
    lerInteiro(valores, "Altura principal", c.alturaPrincipal);
    // A cell of no size would put every box at the origin.
    if (c.alturaFonte <= 0)
        c.alturaFonte = ConfigFormulario{}.alturaFonte;
    if (c.larguraFonte <= 0)
        c.larguraFonte = ConfigFormulario{}.larguraFonte;
    return c;
}

ConfigFormulario ConfigFormulario::doProgramFolder() {
    return ler(QDir(programFolder()).filePath(QStringLiteral("nfvenda.ini")));
}

QString PaginaFormulario::listaCaixas() const {
    QString saida;
    for (const CaixaTexto& c : m_caixas)
        saida += QStringLiteral("%1;%2;%3;%4;[%5]\n")
                     .arg(c.nome)
                     .arg(c.esquerda)
                     .arg(c.topo)
                     .arg(c.largura)
                     .arg(QString(c.texto).replace(u'\n', QStringLiteral("\\n")));
    return saida;
}

QStringList PaginaFormulario::linhasTexto() const {
    QStringList linhas;
    for (const CaixaTexto& c : m_caixas) {
        const int coluna = c.esquerda / m_config.larguraFonte;
        const int largura = c.largura / m_config.larguraFonte;
        const QStringList partes = c.texto.split(u'\n');
        for (int i = 0; i < partes.size(); ++i) {
            const int linha = c.topo / m_config.alturaFonte + i;
            while (linhas.size() <= linha)
                linhas << QString();
            QString texto = partes[i].left(largura);
            QString& destino = linhas[linha];
            if (destino.size() < coluna + texto.size())
                destino = destino.leftJustified(coluna + int(texto.size()));
            destino.replace(coluna, texto.size(), texto);
        }
    }
    for (QString& l : linhas)
        while (l.endsWith(u' '))
            l.chop(1);
    return linhas;
}

void PaginaFormulario::prepararPagina(QPagedPaintDevice& device) const {
    device.setPageSize(QPageSize(QSizeF(m_config.larguraPapel, m_config.alturaPapel), QPageSize::Millimeter,
                                 QStringLiteral("Formulário")));
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void PaginaFormulario::desenhar(QPainter& p, const QPagedPaintDevice& device) const {
    p.save();
    const double escala = device.logicalDpiX() / unidadesPorPolegada;
    p.scale(escala, device.logicalDpiY() / unidadesPorPolegada);
    QFont fonte(QStringLiteral("DejaVu Sans Mono"));
    fonte.setStyleHint(QFont::TypeWriter);
    fonte.setPixelSize(qMax(6, m_config.alturaFonte * 4 / 5));
    p.setFont(fonte);
    p.setPen(Qt::black);
    const int cw = m_config.larguraFonte, ch = m_config.alturaFonte;
    for (const CaixaTexto& c : m_caixas) {
        p.save();
        p.setClipRect(QRect(c.esquerda, c.topo, c.largura, qMax(c.altura, ch)));
        const QStringList partes = c.texto.split(u'\n');
        // Character by character on the cells, so the columns of the form are
        // kept whatever the font's own advance.
        for (int i = 0; i < partes.size(); ++i)
            for (int k = 0; k < partes[i].size(); ++k)
                p.drawText(QRect(c.esquerda + k * cw, c.topo + i * ch, cw + cw / 2, ch), Qt::AlignLeft | Qt::AlignBottom,
                           partes[i].mid(k, 1));
        p.restore();
    }
    p.restore();
}

void PaginaFormulario::gravarPDF(const QString& arquivo) const {
    QPdfWriter pdf(arquivo);
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("Nota Fiscal"));
    pdf.setCreator(QStringLiteral("KVO Gestão"));
    prepararPagina(pdf);
    QPainter p;
    if (!p.begin(&pdf))
        throw std::runtime_error(QStringLiteral("Não foi possível gerar o PDF %1").arg(arquivo).toStdString());
    desenhar(p, pdf);
    if (!p.end())
        throw std::runtime_error(QStringLiteral("Não foi possível gerar o PDF %1").arg(arquivo).toStdString());
}

void PaginaFormulario::imprimir(const QString& impressora, const QString& documento) const {
    QPrinter printer(QPrinter::HighResolution);
    if (!impressora.isEmpty())
        printer.setPrinterName(impressora);
    printer.setDocName(documento);
    const QString nome = impressora.isEmpty() ? QStringLiteral("(padrão do sistema)") : impressora;
    // A job that would go nowhere is an error, never a silent success.
    if (!printer.isValid() || (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()))
        throw std::runtime_error(QStringLiteral("Impressora não disponível: %1").arg(nome).toStdString());
    prepararPagina(printer);
    QPainter p;
    if (!p.begin(&printer))
        throw std::runtime_error(QStringLiteral("Impressora não disponível: %1").arg(nome).toStdString());
    desenhar(p, printer);
    p.end();
}

} // namespace kvo
