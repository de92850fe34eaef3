#pragma once

#include <QString>
#include <QStringList>

namespace kvo {

// A fixed-width text document for a receipt printer, and the target it goes
// to: a folder (the file is written under a temporary name, then renamed, so a
// print manager never picks up half a file) or a device/file path (appended).
class TextoImpressao {
public:
    void iniciar(const QString& titulo, const QString& destino);
    void addLine(const QString& linha) { m_linhas << linha; }
    const QStringList& linhas() const { return m_linhas; }
    const QString& titulo() const { return m_titulo; }
    const QString& destino() const { return m_destino; }
    // Writes the lines to the target (accents removed, as receipt printers
    // expect); throws std::runtime_error naming the target when it cannot.
    // Returns the file written.
    QString imprimir() const;

private:
    QString m_titulo, m_destino;
    QStringList m_linhas;
};

} // namespace kvo
