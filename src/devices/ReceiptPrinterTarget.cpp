#include "devices/ReceiptPrinterTarget.h"

#include "core/Text.h"

namespace kvo {

PrintError::PrintError(const QString& message) : std::runtime_error(message.toStdString()) {}

QByteArray receiptBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += RemoverAcentos(line).toLatin1() + "\r\n";
    return bytes;
}

QByteArray utf8TextBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

} // namespace kvo
