#pragma once

#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

namespace kvo::nfe {

// Code 128 bars of a digit string through zint (an all-digit even-length text
// is encoded in code set C, as the DANFE's key requires).
class CodigoBarras128 {
public:
    // Throws std::runtime_error when zint refuses the data.
    explicit CodigoBarras128(const QString& dados);

    // Bars in module units; width() modules wide, height 1.
    const QVector<QRectF>& barras() const { return m_barras; }
    double largura() const { return m_largura; }

    // Draws the bars stretched over `area` (quiet zone is the caller's).
    void desenhar(QPainter& painter, const QRectF& area) const;

private:
    QVector<QRectF> m_barras;
    double m_largura = 0;
};

} // namespace kvo::nfe
