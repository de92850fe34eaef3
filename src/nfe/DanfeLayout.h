#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace kvo::nfe {

// Drawing on a page in millimetres: captioned boxes, section titles and
// texts fitted to their box, as the DANFE is made of.
class FolhaDanfe {
public:
    FolhaDanfe(QPainter& painter, double dpi, double margem);

    QRectF mm(double x, double y, double w, double h) const;
    // A framed box with a small caption at the top and its value below.
    void caixa(double x, double y, double w, double h, const QString& rotulo, const QString& valor,
               Qt::Alignment alinhamento = Qt::AlignLeft, double pontos = 7.5, bool negrito = false);
    void moldura(double x, double y, double w, double h);
    void titulo(double y, const QString& texto);
    // Text inside the box; wraps when `quebrar`, else cut to the width.
    void texto(double x, double y, double w, double h, const QString& texto, double pontos,
               int flags = Qt::AlignLeft | Qt::AlignVCenter, bool negrito = false, bool quebrar = false);
    // Texts wider than w at that size are shrunk until they fit (down to 4 pt).
    double ajustar(const QString& texto, double w, double pontos, bool negrito = false) const;
    QPainter& painter() { return m_painter; }

private:
    QFont fonte(double pontos, bool negrito) const;

    QPainter& m_painter;
    double m_dpmm;
    double m_margem;
};

} // namespace kvo::nfe
