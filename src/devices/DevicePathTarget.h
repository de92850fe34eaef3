#pragma once

#include "devices/ReceiptPrinterTarget.h"

namespace kvo {

// A printer device or a file: every document is appended to it.
class DevicePathTarget : public ReceiptPrinterTarget {
public:
    explicit DevicePathTarget(const QString& path) : m_path(path) {}
    QString print(const ReceiptDocument& document) override;

    const QString& path() const { return m_path; }

private:
    QString m_path;
};

} // namespace kvo
