#include "devices/DevicePathTarget.h"

#include <QFile>

namespace kvo {

QString DevicePathTarget::print(const ReceiptDocument& document) {
    const QByteArray bytes = receiptBytes(document.lines);
    QFile device(m_path);
    if (!device.open(QIODevice::WriteOnly | QIODevice::Append) || device.write(bytes) != bytes.size() ||
        !device.flush())
        throw PrintError(QStringLiteral("Não foi possível imprimir em %1").arg(m_path));
    return m_path;
}

} // namespace kvo
