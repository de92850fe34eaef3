#pragma once

#include "core/Currency.h"
#include "nfe/Lista.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Object model of an NF-e (model 55, layout 4.00). Field names are the layout's
// own; an optional group whose fields are all blank or zero is not written.
namespace kvo::nfe {

using kvo::Currency;

struct RefECF {
    QString mod; // "2B", "2C", "2D"
    QString nECF;
    QString nCOO;
    bool operator==(const RefECF&) const = default;
};

struct NFref {
    QString refNFe; // 44 digits
    RefECF refECF;  // used when refNFe is empty
    bool operator==(const NFref&) const = default;
};

struct Ide {
    int cUF = 0;
    int cNF = 0;
    QString natOp;
    int indPag = 0; // kept for the callers; layout 4.00 carries it in detPag
    int mod = 55;
    int serie = 0;
    int nNF = 0;
    QDateTime dEmi;
    QDateTime dSaiEnt;
    int tpNF = 1;
    int idDest = 1;
    int cMunFG = 0;
    int tpImp = 1;
    int tpEmis = 1;
    int cDV = 0;
    int tpAmb = 2;
    int finNFe = 1;
    int indFinal = 0;
    int indPres = 0;
    int procEmi = 0;
    QString verProc;
    QDateTime dhCont;
    QString xJust;
    Lista<nfe::NFref> NFref;
    bool operator==(const Ide&) const = default;
};

struct Endereco {
    QString xLgr, nro, xCpl, xBairro;
    int cMun = 0;
    QString xMun, UF;
    int CEP = 0;
    int cPais = 1058;
    QString xPais = QStringLiteral("BRASIL");
    QString fone;
    bool operator==(const Endereco&) const = default;
};

struct Emit {
    QString CNPJCPF, xNome, xFant;
    Endereco EnderEmit;
    QString IE, IEST, IM, CNAE;
    int CRT = 3;
    bool operator==(const Emit&) const = default;
};

struct Dest {
    QString CNPJCPF; // empty for a foreign customer (idEstrangeiro)
    QString idEstrangeiro;
    QString xNome;
    Endereco EnderDest;
    int indIEDest = 9;
    QString IE, ISUF, email;
    bool operator==(const Dest&) const = default;
};

struct Adi {
    int nAdicao = 0;
    int nSeqAdic = 0;
    QString cFabricante;
    Currency vDescDI;
    bool operator==(const Adi&) const = default;
};

struct DI {
    QString nDI;
    QDate dDI;
    QString xLocDesemb, UFDesemb;
    QDate dDesemb;
    int tpViaTransp = 1;  // 1 sea
    Currency vAFRMM;
    int tpIntermedio = 1; // 1 on own account
    QString cExportador;
    Lista<Adi> adi;
    bool operator==(const DI&) const = default;
};

struct Prod {
    QString cProd, cEAN, xProd, NCM, CEST, CFOP, uCom;
    Currency qCom, vUnCom, vProd;
    QString cEANTrib, uTrib;
    Currency qTrib, vUnTrib, vFrete, vSeg, vDesc, vOutro;
    int indTot = 1;
    Lista<nfe::DI> DI;
    QString xPed;
    void setCFOP(const QString& cfop) { CFOP = cfop; }
    bool operator==(const Prod&) const = default;
};

struct ICMS {
    int orig = 0;
    QString CST;   // "00".."90": the regular regime's group
    QString CSOSN; // "101".."900": Simples Nacional; takes precedence over CST
    int modBC = 3;
    Currency vBC, pRedBC, pICMS, vICMS;
    int modBCST = 4;
    Currency pMVAST, pRedBCST, vBCST, pICMSST, vICMSST;
    Currency vBCFCP, pFCP, vFCP;
    Currency vBCFCPST, pFCPST, vFCPST;
    Currency vBCSTRet, pST, vICMSSubstituto, vICMSSTRet;
    Currency vBCFCPSTRet, pFCPSTRet, vFCPSTRet;
    Currency pCredSN, vCredICMSSN;
    Currency vICMSDeson;
    int motDesICMS = 0;
    bool operator==(const ICMS&) const = default;
};

struct IPI {
    QString cEnq = QStringLiteral("999");
    QString CST; // empty: no IPI group
    Currency vBC, pIPI, vIPI;
    bool operator==(const IPI&) const = default;
};

struct II {
    Currency vBC, vDespAdu, vII, vIOF;
    bool operator==(const II&) const = default;
};

struct PISCOFINS {
    QString CST; // empty: group not sent
    Currency vBC, p, v;
    bool operator==(const PISCOFINS&) const = default;
};

struct ICMSUFDest {
    Currency vBCUFDest, vBCFCPUFDest, pFCPUFDest, pICMSUFDest, pICMSInter, pICMSInterPart;
    Currency vFCPUFDest, vICMSUFDest, vICMSUFRemet;
    bool operator==(const ICMSUFDest&) const = default;
};

struct Imposto {
    Currency vTotTrib;
    nfe::ICMS ICMS;
    nfe::IPI IPI;
    nfe::II II;
    PISCOFINS PIS, COFINS;
    nfe::ICMSUFDest ICMSUFDest;
    bool operator==(const Imposto&) const = default;
};

struct Det {
    int nItem = 0; // 0: numbered by position when written
    nfe::Prod Prod;
    nfe::Imposto Imposto;
    QString infAdProd;
    bool operator==(const Det&) const = default;
};

struct ICMSTot {
    Currency vBC, vICMS, vICMSDeson, vFCPUFDest, vICMSUFDest, vICMSUFRemet, vFCP;
    Currency vBCST, vST, vFCPST, vFCPSTRet, vProd, vFrete, vSeg, vDesc, vII, vIPI;
    Currency vIPIDevol, vPIS, vCOFINS, vOutro, vNF, vTotTrib;
    bool operator==(const ICMSTot&) const = default;
};

struct Total {
    nfe::ICMSTot ICMSTot;
    bool operator==(const Total&) const = default;
};

struct Transporta {
    QString CNPJCPF, xNome, IE, xEnder, xMun, UF;
    bool operator==(const Transporta&) const = default;
};

struct Veiculo {
    QString placa, UF, RNTC;
    bool operator==(const Veiculo&) const = default;
};

struct Vol {
    int qVol = 0;
    QString esp, marca, nVol;
    Currency pesoL, pesoB;
    bool operator==(const Vol&) const = default;
};

struct Transp {
    int modFrete = 9;
    nfe::Transporta Transporta;
    Veiculo veicTransp;
    Lista<nfe::Vol> Vol;
    bool operator==(const Transp&) const = default;
};

struct Fat {
    QString nFat;
    Currency vOrig, vDesc, vLiq;
    bool operator==(const Fat&) const = default;
};

struct Dup {
    QString nDup;
    QDate dVenc;
    Currency vDup;
    bool operator==(const Dup&) const = default;
};

struct Cobr {
    nfe::Fat Fat;
    Lista<nfe::Dup> Dup;
    bool operator==(const Cobr&) const = default;
};

struct DetPag {
    int indPag = -1; // -1: not sent
    QString tPag, xPag;
    Currency vPag;
    int tpIntegra = 0; // 0: no card group; 1 integrated, 2 not integrated
    QString CNPJ, tBand, cAut;
    bool operator==(const DetPag&) const = default;
};

struct Pag : Lista<DetPag> {
    Currency vTroco;
    bool operator==(const Pag&) const = default;
};

struct InfAdic {
    QString infAdFisco, infCpl;
    bool operator==(const InfAdic&) const = default;
};

struct Exporta {
    QString UFSaidaPais, xLocExporta, xLocDespacho;
    bool operator==(const Exporta&) const = default;
};

struct InfRespTec {
    QString CNPJ, xContato, email, fone;
    int idCSRT = 0;
    QString CSRT; // the secret; hashCSRT is written only when it is known
    bool operator==(const InfRespTec&) const = default;
};

// Authorisation protocol (protNFe) kept with the document for printing.
struct ProcNFe {
    int tpAmb = 0;
    QString verAplic, chNFe;
    QDateTime dhRecbto;
    QString nProt, digVal;
    int cStat = 0;
    QString xMotivo;
    bool operator==(const ProcNFe&) const = default;
};

struct NFe {
    QString Id; // "NFe" + 44 digits; computed on writing when empty
    nfe::Ide Ide;
    nfe::Emit Emit;
    nfe::Dest Dest;
    Lista<nfe::Det> Det;
    nfe::Total Total;
    nfe::Transp Transp;
    nfe::Cobr Cobr;
    Pag pag;
    nfe::InfAdic InfAdic;
    Exporta exporta;
    nfe::InfRespTec infRespTec;
    ProcNFe procNFe;
    bool operator==(const NFe&) const = default;
};

} // namespace kvo::nfe
