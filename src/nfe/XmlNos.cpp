#include "nfe/XmlNos.h"

#include "nfe/XmlLib.h"

#include <libxml/tree.h>

namespace kvo::nfe::xml {

namespace {

void coletar(xmlNode* pai, const char* nome, bool profundo, QList<xmlNode*>& saida)
{
    for (xmlNode* n = pai ? pai->children : nullptr; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE)
            continue;
        if (xmlStrEqual(n->name, xs(nome)))
            saida << n;
        if (profundo)
            coletar(n, nome, true, saida);
    }
}

} // namespace

QString texto(xmlNode* pai, const char* nome)
{
    xmlNode* n = pai ? findElement(pai->children, nome) : nullptr;
    if (!n)
        return {};
    xmlChar* c = xmlNodeGetContent(n);
    const QString s = QString::fromUtf8(reinterpret_cast<const char*>(c)).trimmed();
    xmlFree(c);
    return s;
}

QList<xmlNode*> elementos(xmlNode* pai, const char* nome, bool profundo)
{
    QList<xmlNode*> saida;
    coletar(pai, nome, profundo, saida);
    return saida;
}

QString atributo(xmlNode* no, const char* nome)
{
    xmlChar* c = no ? xmlGetProp(no, xs(nome)) : nullptr;
    const QString s = c ? QString::fromUtf8(reinterpret_cast<const char*>(c)) : QString();
    xmlFree(c);
    return s;
}

QByteArray bytesDe(xmlDoc* doc, xmlNode* no)
{
    Q_UNUSED(doc);
    // A copy in its own document declares the namespaces it inherited.
    DocPtr copia(xmlNewDoc(xs("1.0")));
    xmlDocSetRootElement(copia.get(), xmlDocCopyNode(no, copia.get(), 1));
    return dumpRoot(copia.get());
}

xmlNode* raiz(xmlDoc* doc) { return xmlDocGetRootElement(doc); }

} // namespace kvo::nfe::xml
