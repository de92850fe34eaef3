#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

using xmlDoc = struct _xmlDoc;
using xmlNode = struct _xmlNode;

// Reading answers and requests of the web services with libxml2's tree.
namespace kvo::nfe::xml {

// Text of the first descendant element named `nome` (local name); empty when absent.
QString texto(xmlNode* pai, const char* nome);
// Direct child elements named `nome`, or every descendant with `profundo`.
QList<xmlNode*> elementos(xmlNode* pai, const char* nome, bool profundo = false);
QString atributo(xmlNode* no, const char* nome);
// The element serialised on its own, with the namespaces it inherits declared.
QByteArray bytesDe(xmlDoc* doc, xmlNode* no);
xmlNode* raiz(xmlDoc* doc);

} // namespace kvo::nfe::xml
