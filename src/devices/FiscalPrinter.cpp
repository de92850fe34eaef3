#include "devices/FiscalPrinter.h"

namespace kvo {

FiscalPrinterError::FiscalPrinterError(const QString& message) : std::runtime_error(message.toStdString()) {}

} // namespace kvo
