#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

using xmlDoc = struct _xmlDoc;
using xmlNode = struct _xmlNode;

// Shared plumbing for libxml2 and xmlsec: one-time initialisation, owned
// documents and the library's error messages.
namespace kvo::nfe::xml {

// libxml2's text type from a C string, without its BAD_CAST macro's C cast.
inline const unsigned char* xs(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

// Initialises libxml2, xmlsec and its OpenSSL backend once per process.
void ensureInitialised();

struct DocDeleter {
    void operator()(xmlDoc* doc) const;
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// Parses the bytes; throws std::runtime_error with libxml2's message on failure.
DocPtr parse(const QByteArray& bytes);
// The root element serialised without an XML declaration; `indent` puts one
// element per line (for reading, never for signed documents).
QByteArray dumpRoot(xmlDoc* doc, bool indent = false);
// First element named `name` (local name) in document order, or nullptr.
xmlNode* findElement(xmlNode* from, const char* name);

// Collects libxml2/xmlsec error texts while alive (per thread).
class ErrorCapture {
public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;
    QStringList messages() const { return m_messages; }
    void add(const QString& message) { m_messages << message; }

private:
    QStringList m_messages;
    ErrorCapture* m_previous;
};

} // namespace kvo::nfe::xml
