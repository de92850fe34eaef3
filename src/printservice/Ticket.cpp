#include "printservice/Ticket.h"

#include <QRegularExpression>

namespace kvo::impressao {

QString marcaReimpressao() { return QStringLiteral("*** REIMPRESSÃO ***"); }

QString comMarcaReimpressao(const QString& texto) {
    const QString linha = marcaReimpressao() + QStringLiteral("\r\n");
    if (texto.startsWith(QStringLiteral("\x1b@"))) {
        const qsizetype fim = texto.indexOf(QStringLiteral("\r\n"));
        if (fim == 2)
            return texto.left(4) + linha + texto.mid(4);
    }
    return linha + texto;
}

QByteArray bytesParaImpressora(const Ticket& ticket, CodePage pagina) {
    return encodeForPrinter(ticket.reimpressao ? comMarcaReimpressao(ticket.texto) : ticket.texto, pagina);
}

int mesaDoTexto(const QString& texto) {
    static const QRegularExpression mesa(QStringLiteral("MESA\\.*:? *(\\d+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = mesa.match(texto);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace kvo::impressao
