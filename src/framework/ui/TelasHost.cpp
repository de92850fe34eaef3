#include "framework/ui/TelasHost.h"

#include "core/Paths.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/ui/ScreenRegistry.h"
#include "framework/ui/UCaixaAbertura.h"
#include "framework/ui/UConfiguracao.h"
#include "framework/ui/Libgeral.h"
#include "framework/ui/PesquisaDialogo.h"
#include "framework/ui/UUsuario.h"
#include "framework/ui/UserInterface.h"

#include <QDir>
#include <QProcess>

namespace kvo {

void registrarTelasHost() {
    instalarDialogoPesquisa();
    ScreenRegistry::registrar(QStringLiteral("TfrmConfiguracao.chamarTela"), [] { TfrmConfiguracao::chamarTela(); });
    ScreenRegistry::registrar(QStringLiteral("TfrmCaixaAbertura.chamarTela"), [] { TfrmCaixaAbertura::chamarTela(); });
    ScreenRegistry::registrar(QStringLiteral("SuporteRemoto"), [] {
        const QString programa = QDir(programFolder()).filePath(QStringLiteral("Ammyy.exe"));
        if (!QProcess::startDetached(programa, {}))
            Alerta(QStringLiteral("Não foi possível iniciar o suporte remoto (%1).").arg(programa));
    });
    ScreenRegistry::registrar(QStringLiteral("TfrmUsuario_Pesq"), [] {
        Libgeral::ChamaForm(QStringLiteral("TfrmUsuario_Pesq"), [] { return new TfrmUsuario_Pesq; });
    });
    ScreenRegistry::registrar(QStringLiteral("TfrmUsuarioGrupo_Pesq"), [] {
        Libgeral::ChamaForm(QStringLiteral("TfrmUsuarioGrupo_Pesq"), [] { return new TfrmUsuarioGrupo_Pesq; });
    });
    TdmCaixaAbertura::gerarInstance().abrirInterativo = [] { return TfrmCaixaAbertura::chamarTela(); };
}

} // namespace kvo
