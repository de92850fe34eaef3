#include "nfe/DanfeLayout.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace kvo::nfe {

FolhaDanfe::FolhaDanfe(QPainter& painter, double dpi, double margem)
    : m_painter(painter), m_dpmm(dpi / 25.4), m_margem(margem)
{
}

QRectF FolhaDanfe::mm(double x, double y, double w, double h) const
{
    return QRectF((x + m_margem) * m_dpmm, (y + m_margem) * m_dpmm, w * m_dpmm, h * m_dpmm);
}

QFont FolhaDanfe::fonte(double pontos, bool negrito) const
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pontos);
    f.setBold(negrito);
    return f;
}

void FolhaDanfe::moldura(double x, double y, double w, double h)
{
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, 0.2 * m_dpmm));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(mm(x, y, w, h));
    m_painter.restore();
}

void FolhaDanfe::caixa(double x, double y, double w, double h, const QString& rotulo, const QString& valor,
                       Qt::Alignment alinhamento, double pontos, bool negrito)
{
    moldura(x, y, w, h);
    texto(x + 0.6, y + 0.3, w - 1.2, 2.4, rotulo, std::min(4.8, ajustar(rotulo, w - 1.2, 4.8)), Qt::AlignLeft | Qt::AlignTop);
    const double tamanho = ajustar(valor, w - 1.2, pontos, negrito);
    texto(x + 0.6, y + 2.4, w - 1.2, h - 2.6, valor, tamanho, int(alinhamento) | Qt::AlignVCenter, negrito);
}

void FolhaDanfe::titulo(double y, const QString& texto)
{
    this->texto(0, y, 200, 3, texto, 6, Qt::AlignLeft | Qt::AlignVCenter, true);
}

void FolhaDanfe::texto(double x, double y, double w, double h, const QString& texto, double pontos, int flags,
                       bool negrito, bool quebrar)
{
    m_painter.save();
    m_painter.setFont(fonte(pontos, negrito));
    m_painter.setPen(Qt::black);
    const QRectF area = mm(x, y, w, h);
    if (quebrar) {
        m_painter.drawText(area, flags | Qt::TextWordWrap, texto);
    } else {
        const QString cabe = QFontMetricsF(m_painter.font(), m_painter.device()).elidedText(texto, Qt::ElideRight, area.width());
        m_painter.drawText(area, flags, cabe);
    }
    m_painter.restore();
}

double FolhaDanfe::ajustar(const QString& texto, double w, double pontos, bool negrito) const
{
    const double largura = w * m_dpmm;
    while (pontos > 4
           && QFontMetricsF(fonte(pontos, negrito), m_painter.device()).horizontalAdvance(texto) > largura)
        pontos -= 0.5;
    return pontos;
}

} // namespace kvo::nfe
