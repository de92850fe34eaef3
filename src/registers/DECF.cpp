#include "registers/DECF.h"

#include "core/Paths.h"
#include "devices/EmulatedFiscalPrinter.h"
#include "devices/FolderDropTarget.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "registers/Kvolibgeral.h"

#include <QDir>

namespace kvo {

TdmECF& TdmECF::gerarInstance() { return Module::current().instance<TdmECF>(); }

TdmECF::TdmECF() { configurar(TdmAcesso::gerarInstance().sqlCon(), QDir(programFolder()).filePath(QStringLiteral("ecf"))); }

TdmECF::TdmECF(Database& db, const QString& pasta) { configurar(db, pasta); }

TdmECF::~TdmECF() = default;

void TdmECF::configurar(Database& db, const QString& pasta) {
    const QVariant usar = db.scalar(QStringLiteral("select PARV_ECF from PAR_VENDA where CODPARVENDA = 1"));
    if (usar.toString() != QLatin1String("S")) {
        m_motivo = QStringLiteral("A venda não está configurada para usar ECF.");
        return;
    }
    try {
        auto destino = std::make_shared<FolderDropTarget>(QDir(pasta).filePath(QStringLiteral("impressao")),
                                                           QStringLiteral("ECF_"), QStringLiteral(".txt"));
        m_ecf = std::make_unique<EmulatedFiscalPrinter>(pasta, destino);
        m_ecf->Ativar();
        m_ecf->CarregaRelatoriosGerenciais();
    } catch (const std::exception& e) {
        // A printer that does not answer leaves the terminal without ECF, not without the program.
        m_motivo = QString::fromUtf8(e.what());
    }
}

FiscalPrinter& TdmECF::ecf() {
    if (!m_ecf)
        Error(QStringLiteral("Impressora (ECF) não disponível! %1").arg(m_motivo));
    return *m_ecf;
}

TdmPAF& TdmPAF::gerarInstance() { return Module::current().instance<TdmPAF>(); }

QString TdmPAF::md5Registro(const RecordSet& rs) { return Digest().MD5FromString(RegistroTextoDataSet(rs)); }

} // namespace kvo
