#pragma once

#include "devices/ReceiptPrinterTarget.h"

namespace kvo {

// A print-manager folder: each document becomes one file
// <folder>/<prefix><yyyymmdd_hhnnss><extension>, written first under
// <folder>/temp/ and then moved in, so the manager never picks up half a file.
// Two documents in the same second get "_2", "_3" ... before the extension
// instead of overwriting each other.
class FolderDropTarget : public ReceiptPrinterTarget {
public:
    FolderDropTarget(const QString& folder, const QString& prefix, const QString& extension,
                     FileText text = FileText::PrinterBytes);
    QString print(const ReceiptDocument& document) override;

    const QString& folder() const { return m_folder; }

private:
    QString m_folder, m_prefix, m_extension;
    FileText m_text;
};

// Renames a file unless `to` exists, atomically: of several processes moving
// files to one name at the same moment exactly one succeeds and no file is
// overwritten. False when `to` exists or the move failed.
bool moveNoReplace(const QString& from, const QString& to);

} // namespace kvo
