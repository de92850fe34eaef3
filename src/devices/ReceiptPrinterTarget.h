#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace kvo {

// One fixed-width text document for a receipt printer.
struct ReceiptDocument {
    QString title; // shown by print queues; not printed
    QStringList lines;
    int reference = 0; // the table or tab the document belongs to (central print queue)
};

// A printing failure; what() is the Portuguese message for the user (UTF-8).
class PrintError : public std::runtime_error {
public:
    explicit PrintError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Where receipt-printer documents go: a print-manager folder, a device or file
// path, or a central print queue.
class ReceiptPrinterTarget {
public:
    virtual ~ReceiptPrinterTarget() = default;
    // Sends the document; throws PrintError when it cannot. Returns where it
    // went (a file name, or a description of the queue entry).
    virtual QString print(const ReceiptDocument& document) = 0;
};

// The bytes a receipt printer gets: accents removed (its code page has none
// we can rely on), Latin-1, CR LF after every line.
QByteArray receiptBytes(const QStringList& lines);
// The text as files and queue rows carry it: UTF-8, control bytes kept, CR LF
// after every line; the program that prints it converts for its printer.
QByteArray utf8TextBytes(const QStringList& lines);

// How a folder drop writes its file.
enum class FileText { PrinterBytes, Utf8 };

} // namespace kvo
