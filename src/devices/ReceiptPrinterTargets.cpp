#include "devices/ReceiptPrinterTargets.h"

#include "core/Paths.h"
#include "devices/DevicePathTarget.h"
#include "devices/FolderDropTarget.h"

#include <QFileInfo>

namespace kvo {

std::unique_ptr<ReceiptPrinterTarget> makeReceiptPrinterTarget(const QString& setting,
                                                               const ReceiptTargetSettings& settings) {
    const QString value = setting.trimmed();
    if (value.isEmpty())
        throw PrintError(QStringLiteral("Impressora não configurada para este documento."));
    if (value.compare(u"GERENCIADOR", Qt::CaseInsensitive) == 0) {
        if (settings.managerFolder.trimmed().isEmpty())
            throw PrintError(QStringLiteral("Pasta do gerenciador de impressão não configurada."));
        return std::make_unique<FolderDropTarget>(localPath(settings.managerFolder), settings.prefix,
                                                  settings.extension, settings.folderText);
    }
    if (value.compare(u"CENTRALIZADOR", Qt::CaseInsensitive) == 0) {
        if (!settings.centralQueue)
            throw PrintError(QStringLiteral("Centralizador de impressão não disponível."));
        return settings.centralQueue();
    }
    const QString path = localPath(value);
    if (path.endsWith(u'/') || QFileInfo(path).isDir())
        return std::make_unique<FolderDropTarget>(path, settings.prefix, settings.extension, settings.folderText);
    return std::make_unique<DevicePathTarget>(path);
}

} // namespace kvo
