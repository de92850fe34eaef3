#include "invoice/DNFVenda.h"

#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "invoice/DNFVendaInterno.h"
#include "invoice/MontagemNFe.h"
#include "nfe/ChaveAcesso.h"
#include "nfe/NFeComponent.h"
#include "registers/DCadastros.h"
#include "registers/DNFe.h"

#include <QCryptographicHash>

#include <optional>

// The NF-e of an invoice: the document assembly, its access key and the
// numeric code the key carries.
namespace kvo {

using namespace nfvenda;

nfe::NotaFiscal& TdmNFVenda::NFE_GerarDados(int opcaoSimples, const QString& valorCredito,
                                            const QString& aliqCredito) {
    nfe::NotaFiscal& nota = TdmNFe::gerarInstance().componente().NotasFiscais.Add();
    // One transaction for every read: the document sees one state of the
    // invoice, customer and receivables, and the reads cost one commit.
    Database& db = TdmAcesso::gerarInstance().sqlCon();
    std::optional<Transaction> leitura;
    if (!db.inTransaction())
        leitura.emplace(db);
    MontagemNFe(*this, nota.NFe, opcaoSimples, valorCredito, aliqCredito).montar();
    if (leitura)
        leitura->commit();
    return nota;
}

int TdmNFVenda::NFE_CodigoNumerico(qint64 cnf, qint64 numero, const QString& serie) {
    if (cnf >= 1 && cnf <= 99999999 && cnf != numero)
        return int(cnf);
    // A code stable for the invoice, so its key can be computed again later.
    const QByteArray h = QCryptographicHash::hash(
        QStringLiteral("%1/%2").arg(serie.trimmed()).arg(numero).toUtf8(), QCryptographicHash::Sha1);
    quint32 v = 0;
    for (int k = 0; k < 4; ++k)
        v = (v << 8) | quint8(h[k]);
    int codigo = int(v % 100000000u);
    while (codigo == numero || codigo == 0)
        codigo = (codigo + 1) % 100000000;
    return codigo;
}

int TdmNFVenda::NFE_Serie(const QString& codserie) {
    if (TdmConfiguracao::gerarInstance().getStr(QStringLiteral("MULTI.EMPRESA")) == u"S") {
        const QString s = TdmSerie::gerarInstance().serieNFe(codserie).trimmed();
        if (!s.isEmpty())
            return s.toInt();
    }
    return codserie.trimmed().toInt();
}

QString TdmNFVenda::GetChaveAcesso() {
    RecordSet& c = *m_cab;
    const Empresa& e = TdmAcesso::gerarInstance().empresa();
    const QString serie = str(c, "CODSERIE");
    const qint64 numero = inteiro(c, "CODNFVENDA");
    return nfe::GerarChaveAcesso(nfe::UFparaCodigo(e.uf), f(c, "NFV_DTEMISSAO").asDate(), OnlyNumber(e.cnpj),
                                 NFE_Serie(serie), int(numero), TdmNFe::gerarInstance().componente().Configuracoes.tpEmis,
                                 NFE_CodigoNumerico(inteiro(c, "NFV_CNF"), numero, serie), 55, -1)
        .mid(3);
}

} // namespace kvo
