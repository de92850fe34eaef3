#pragma once

// Internal to the XML writer, shared by its two source files.

#include "nfe/NFeFormat.h"
#include "nfe/NFeModel.h"

#include <QXmlStreamWriter>

#include <initializer_list>

namespace kvo::nfe::detail {

inline bool in(const QString& v, std::initializer_list<const char*> set)
{
    for (const char* s : set)
        if (v == QLatin1String(s))
            return true;
    return false;
}

// Writes the document groups in the schema's order; one instance per document.

class Writer {
public:
    explicit Writer(QByteArray* out) : w(out) {}

    void nfe(const NFe& n);
    void proc(const ProcNFe& p);

private:
    void open(const char* name) { w.writeStartElement(QLatin1String(name)); }
    void close() { w.writeEndElement(); }
    void req(const char* name, const QString& v) { w.writeTextElement(QLatin1String(name), v); }
    void txt(const char* name, const QString& v) { req(name, fmt::text(v)); }
    void opt(const char* name, const QString& v)
    {
        const QString t = fmt::text(v);
        if (!t.isEmpty())
            req(name, t);
    }
    void num(const char* name, int v) { req(name, QString::number(v)); }
    void money(const char* name, Currency v) { req(name, fmt::dec(v, 2)); }
    void moneyOpt(const char* name, Currency v)
    {
        if (!v.isZero())
            money(name, v);
    }
    void pct(const char* name, Currency v) { req(name, fmt::rate(v)); }
    void pctOpt(const char* name, Currency v)
    {
        if (!v.isZero())
            pct(name, v);
    }
    void doc(const QString& digits, bool allowForeign = false);

    void ide(const NFe& n, const QString& chave);
    void endereco(const char* name, const Endereco& e, bool emitente);
    void emit(const Emit& e);
    void dest(const Dest& d);
    void det(const Det& d, int nItem);
    void prod(const Prod& p);
    void imposto(const Imposto& i);
    void icms(const ICMS& c);
    void icmsSn(const ICMS& c);
    void fcp(const ICMS& c, bool withBase);
    void fcpSt(const ICMS& c);
    void st(const ICMS& c);
    void stRet(const ICMS& c);
    void pisCofins(const char* group, const char* p, const char* v, const PISCOFINS& x);
    void total(const ICMSTot& t);
    void transp(const Transp& t);
    void cobr(const Cobr& c);
    void pag(const Pag& p);
    void infRespTec(const InfRespTec& r, const QString& chave);

    QXmlStreamWriter w;
};

} // namespace kvo::nfe::detail
