#pragma once

#include "devices/ReceiptPrinterTarget.h"

#include <functional>
#include <memory>

namespace kvo {

// What a stored printer setting ("GERENCIADOR", "CENTRALIZADOR", a folder or a
// device/file path, in Windows form or not) needs to become a target.
struct ReceiptTargetSettings {
    QString managerFolder; // the print-manager folder, as stored
    QString prefix = QStringLiteral("PED_");
    QString extension = QStringLiteral(".ped");
    FileText folderText = FileText::PrinterBytes; // how folder drops write their files
    // The central print queue is a database procedure, so the layer that owns
    // the connection supplies it; unset, "CENTRALIZADOR" is refused.
    std::function<std::unique_ptr<ReceiptPrinterTarget>()> centralQueue;
};

// "GERENCIADOR" (any case) drops into the manager folder; "CENTRALIZADOR"
// asks settings.centralQueue; a path naming a folder (existing, or ending in
// a separator) drops into it; any other path is appended to. Throws PrintError
// for an empty setting or a missing folder or queue.
std::unique_ptr<ReceiptPrinterTarget> makeReceiptPrinterTarget(const QString& setting,
                                                               const ReceiptTargetSettings& settings);

} // namespace kvo
