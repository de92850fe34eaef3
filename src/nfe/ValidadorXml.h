#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

using xmlDoc = struct _xmlDoc;

namespace kvo::nfe {

// XSD validation with libxml2 against the official schemas. Each schema file
// is parsed once per process and kept.
class ValidadorXml {
public:
    // Folder with the schema files ("<program folder>/Schemas" by default).
    explicit ValidadorXml(QString pastaSchemas);

    // Messages for each problem ("Elemento 'vProd': ..."); empty when valid.
    // `schema` is a file name inside the folder, e.g. "nfe_v4.00.xsd".
    QStringList validar(const QByteArray& xml, const QString& schema) const;
    QStringList validar(xmlDoc* doc, const QString& schema) const;

    // The schema file for the document's root element (NFe, nfeProc, envEvento...).
    static QString schemaPara(const QByteArray& xml);

    const QString& pastaSchemas() const { return m_pasta; }

private:
    QString m_pasta;
};

} // namespace kvo::nfe
