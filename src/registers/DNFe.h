#pragma once

#include <QHash>
#include <QString>

#include <memory>

namespace kvo {

class Database;
namespace nfe {
class NFeComponent;
}

// NF-e settings and the registers the document needs (dmNFe): it owns the
// NF-e component, applies the shop's settings to it, and turns city and
// country names into their official codes.
class TdmNFe {
public:
    static TdmNFe& gerarInstance();
    TdmNFe();
    explicit TdmNFe(Database& db);
    ~TdmNFe();

    nfe::NFeComponent& componente() { return *m_componente; }
    // Certificate, environment, emission form and folders from the settings
    // file of the program folder; stops the operation when they are missing.
    void configurarNFE();
    // Where no printer exists (the command line): every DANFE or letter
    // "printed" is written as a PDF, whatever the settings file says.
    void imprimirSempreEmArquivo(bool sempre);

    // The 7-digit municipality code, from "MunIBGE/MunIBGE-UF<code>.txt" in the
    // program folder, matching names regardless of accents, case and
    // punctuation; stops the operation for an unknown pair.
    QString obterCodigoMunicipio(const QString& cidade, const QString& uf);
    // The same code, empty for an unknown pair (a missing file still stops).
    QString codigoMunicipio(const QString& cidade, const QString& uf);
    // The central bank's code of a country (1058 for Brazil); stops the
    // operation for a country not in the table.
    int obterBacen(const QString& pais);

private:
    bool m_sempreEmArquivo = false;
    const QHash<QString, QString>& municipios(int codigoUf);

    Database& m_db;
    std::unique_ptr<nfe::NFeComponent> m_componente;
    QHash<int, QHash<QString, QString>> m_municipios; // state code -> name key -> code
};

} // namespace kvo
