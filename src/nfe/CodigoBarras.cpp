#include "nfe/CodigoBarras.h"

#include <QPainter>

#include <zint.h>

#include <stdexcept>

namespace kvo::nfe {

CodigoBarras128::CodigoBarras128(const QString& dados)
{
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0;
    symbol->whitespace_width = 0;
    symbol->height = 1;
    const QByteArray bytes = dados.toLatin1();
    int rc = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
    if (rc < ZINT_ERROR)
        rc = ZBarcode_Buffer_Vector(symbol, 0);
    if (rc >= ZINT_ERROR || !symbol->vector) {
        const std::string error = symbol->errtxt;
        ZBarcode_Delete(symbol);
        throw std::runtime_error("Código de barras: " + error);
    }
    // zint works in its own units (X dimension scaled); bring them to modules.
    const double module = symbol->width > 0 ? symbol->vector->width / symbol->width : 1.0;
    for (auto* r = symbol->vector->rectangles; r; r = r->next)
        m_barras.append(QRectF(r->x / module, 0, r->width / module, 1));
    m_largura = symbol->width;
    ZBarcode_Delete(symbol);
}

void CodigoBarras128::desenhar(QPainter& painter, const QRectF& area) const
{
    const double escala = area.width() / m_largura;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const QRectF& b : m_barras)
        painter.drawRect(QRectF(area.left() + b.left() * escala, area.top(), b.width() * escala, area.height()));
    painter.restore();
}

} // namespace kvo::nfe
