#pragma once

#include "devices/ReceiptPrinterTarget.h"

#include <QList>

#include <functional>

// A receipt-printer target that keeps what it is given; `onPrint` runs while
// printing and may throw to play a failing printer.
struct RecordingTarget : kvo::ReceiptPrinterTarget {
    QList<kvo::ReceiptDocument> documents;
    std::function<void()> onPrint;

    QString print(const kvo::ReceiptDocument& document) override {
        if (onPrint)
            onPrint();
        documents << document;
        return QStringLiteral("memória");
    }
    QString text(qsizetype i) const { return documents.at(i).lines.join(u'\n'); }
};
