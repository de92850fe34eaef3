#pragma once

#include "nfe/NFeModel.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <memory>

using xmlDoc = struct _xmlDoc;

namespace kvo::nfe {

class NFeComponent;

// One document of the component's list: the model, and its XML once generated
// (signed after Assinar).
class NotaFiscal {
public:
    nfe::NFe NFe;
    QByteArray XML;   // the NFe element as last generated or signed
    QString NomeArq;  // file it was loaded from or last written to
    bool Assinada = false;
    // Set once XML may have reached the authority: from then on these exact
    // bytes are the document, never generated or signed again.
    bool Transmitida = false;

    // Writes the model as XML (unsigned) and sets NFe.Id and Ide.cDV.
    void GerarXML();
    // The XML for storage: nfeProc when a protocol is attached, else the NFe.
    QByteArray XMLOriginal() const;
    // Writes XMLOriginal (generating it if needed) to folder/name; an empty
    // folder means the name is a full path. Returns false when it cannot write.
    bool GravarXML(const QString& name, const QString& folder = {});

private:
    friend class NotasFiscais;
    // The signed document as parsed during signing, so validation does not
    // parse it again; dropped whenever XML is regenerated.
    std::shared_ptr<xmlDoc> m_docAssinado;
    nfe::NFe m_modeloGerado; // the model XML was generated from
    bool m_xmlDoModelo = false;
};

// The component's document list.
class NotasFiscais {
public:
    explicit NotasFiscais(NFeComponent* owner) : m_owner(owner) {}

    NotaFiscal& Add() { return m_items.emplace_back(); }
    void Clear() { m_items.clear(); }
    int Count() const { return int(m_items.size()); }
    NotaFiscal& Items(int i) { return m_items.at(std::size_t(i)); }
    NotaFiscal& operator[](int i) { return Items(i); }
    const NotaFiscal& operator[](int i) const { return m_items.at(std::size_t(i)); }

    // Loads a stored XML (NFe or nfeProc) as a new document; throws on failure.
    NotaFiscal& LoadFromFile(const QString& path);
    NotaFiscal& LoadFromString(const QByteArray& xml);
    void GerarNFe();
    void Assinar();
    // Throws std::runtime_error with every schema complaint when one is invalid.
    void Validar();
    // Writes each document as "<key>-nfe.xml" into the folder.
    void GravarXML(const QString& folder);

private:
    NFeComponent* m_owner;
    std::deque<NotaFiscal> m_items;
};

} // namespace kvo::nfe
