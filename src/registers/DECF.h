#pragma once

#include "devices/Digest.h"
#include "devices/FiscalPrinter.h"

#include <QString>

#include <memory>

namespace kvo {

class Database;
class RecordSet;

// The fiscal printer of the terminal (dmECF) with the digest component. It is
// used when the sale parameters say so (PAR_VENDA.PARV_ECF = "S"); this build
// drives the emulated printer, whose memory lives in "<program folder>/ecf"
// and whose documents drop into "<program folder>/ecf/impressao".
class TdmECF {
public:
    static TdmECF& gerarInstance();
    TdmECF();
    TdmECF(Database& db, const QString& pasta);
    ~TdmECF();

    bool Ativo() const { return m_ecf && m_ecf->Ativo(); }
    // Why it is not active (empty when it is).
    const QString& motivoInativo() const { return m_motivo; }
    FiscalPrinter& ecf(); // raises when there is none
    Digest& ead() { return m_digest; }

private:
    void configurar(Database& db, const QString& pasta);

    std::unique_ptr<FiscalPrinter> m_ecf;
    Digest m_digest;
    QString m_motivo;
};

// PAF records (dmPAF): the integrity stamp of a row.
class TdmPAF {
public:
    static TdmPAF& gerarInstance();
    // MD5 of the row's text (RegistroTextoDataSet), for *_MD5 columns.
    QString md5Registro(const RecordSet& rs);
};

} // namespace kvo
