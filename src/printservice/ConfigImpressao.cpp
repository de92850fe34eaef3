#include "printservice/ConfigImpressao.h"

#include "core/Paths.h"
#include "printservice/PrinterBackend.h"

#include <QDir>
#include <QFileInfo>
#include <QHostInfo>
#include <QSettings>

#include <stdexcept>

namespace kvo::impressao {

namespace {

[[noreturn]] void falha(const QString& arquivo, const QString& texto) {
    throw std::runtime_error(QStringLiteral("%1: %2").arg(arquivo, texto).toStdString());
}

CodePage paginaDe(const QString& arquivo, const QString& secao, const QString& modelo, const QString& pagina) {
    CodePage cp = CodePage::Cp850;
    if (!pagina.trimmed().isEmpty()) {
        if (!codePageByName(pagina, cp))
            falha(arquivo, QStringLiteral("[%1] página de código desconhecida: %2").arg(secao, pagina));
    } else if (!codePageForModel(modelo, cp)) {
        falha(arquivo, QStringLiteral("[%1] modelo de impressora desconhecido: %2 (DARUMA, EPSON, ELGIN, BEMATECH, "
                                      "GENERICO)")
                           .arg(secao, modelo));
    }
    return cp;
}

void validarImpressora(const QString& arquivo, const QString& secao, const QString& destino) {
    try {
        criarImpressora(destino);
    } catch (const std::invalid_argument& e) {
        falha(arquivo, QStringLiteral("[%1] %2").arg(secao, QString::fromUtf8(e.what())));
    }
}

} // namespace

QString ConfigImpressao::arquivoPadrao() {
    return QDir(programFolder()).filePath(QStringLiteral("impressao.ini"));
}

ConfigImpressao ConfigImpressao::ler(const QString& arquivo) {
    if (!QFileInfo::exists(arquivo))
        falha(arquivo, QStringLiteral("arquivo de configuração do serviço de impressão não encontrado"));
    QSettings ini(arquivo, QSettings::IniFormat);
    ConfigImpressao c;
    ini.beginGroup(QStringLiteral("servico"));
    c.instancia = ini.value(QStringLiteral("instancia"), QHostInfo::localHostName()).toString().trimmed().left(40);
    c.intervaloMs = ini.value(QStringLiteral("intervalo"), c.intervaloMs).toInt();
    c.tentativaInicialMs = ini.value(QStringLiteral("tentativaInicial"), c.tentativaInicialMs).toInt();
    c.tentativaMaximaMs = ini.value(QStringLiteral("tentativaMaxima"), c.tentativaMaximaMs).toInt();
    c.timeoutMs = ini.value(QStringLiteral("timeout"), c.timeoutMs).toInt();
    c.expiraReivindicacaoSegundos = ini.value(QStringLiteral("expiraReivindicacao"), c.expiraReivindicacaoSegundos).toInt();
    const QStringList nomes = ini.value(QStringLiteral("estacoes")).toStringList();
    ini.endGroup();
    if (c.instancia.isEmpty())
        c.instancia = QStringLiteral("kvo-impressao");
    // A claim must outlive the slowest attempt of a live instance.
    const int minimo = (2 * c.tentativaMaximaMs + 2 * c.timeoutMs) / 1000 + 1;
    if (c.expiraReivindicacaoSegundos < minimo)
        c.expiraReivindicacaoSegundos = minimo;

    for (const QString& bruto : nomes) {
        const QString nome = bruto.trimmed();
        if (nome.isEmpty())
            continue;
        ini.beginGroup(nome);
        EstacaoServico e;
        e.nome = nome;
        const QString pasta = ini.value(QStringLiteral("pasta")).toString().trimmed();
        if (!pasta.isEmpty())
            e.pasta = localPath(pasta); // relative paths hang under the program folder
        e.centralizador = ini.value(QStringLiteral("centralizador")).toString().trimmed().left(25);
        e.impressora = ini.value(QStringLiteral("impressora")).toString().trimmed();
        e.modelo = ini.value(QStringLiteral("modelo"), e.modelo).toString().trimmed().toUpper();
        e.codePage = paginaDe(arquivo, nome, e.modelo, ini.value(QStringLiteral("pagina")).toString());
        e.confirmar = ini.value(QStringLiteral("confirmacao"), confirmaPorPadrao(e.modelo) ? "S" : "N").toString() == u"S";
        e.reserva = ini.value(QStringLiteral("reserva")).toString().trimmed();
        e.modeloReserva = ini.value(QStringLiteral("modeloReserva"), e.modelo).toString().trimmed().toUpper();
        e.codePageReserva = paginaDe(arquivo, nome, e.modeloReserva, ini.value(QStringLiteral("paginaReserva")).toString());
        e.confirmarReserva = ini.value(QStringLiteral("confirmacaoReserva"), confirmaPorPadrao(e.modeloReserva) ? "S" : "N")
                                 .toString() == u"S";
        e.reservaAposSegundos = ini.value(QStringLiteral("reservaApos"), e.reservaAposSegundos).toInt();
        ini.endGroup();
        if (e.pasta.isEmpty() && e.centralizador.isEmpty())
            falha(arquivo, QStringLiteral("[%1] informe pasta= ou centralizador=").arg(nome));
        validarImpressora(arquivo, nome, e.impressora);
        if (!e.reserva.isEmpty())
            validarImpressora(arquivo, nome, e.reserva);
        c.estacoes << e;
    }
    if (c.estacoes.isEmpty())
        falha(arquivo, QStringLiteral("nenhuma estação em [servico] estacoes="));
    return c;
}

bool confirmaPorPadrao(const QString& modelo) {
    const QString m = modelo.trimmed().toUpper();
    return m == u"EPSON" || m == u"ELGIN" || m == u"BEMATECH";
}

int esperaAposFalhas(const ConfigImpressao& cfg, int tentativas) {
    qint64 espera = cfg.tentativaInicialMs;
    for (int i = 1; i < tentativas && espera < cfg.tentativaMaximaMs; ++i)
        espera *= 2;
    return static_cast<int>(std::min<qint64>(espera, cfg.tentativaMaximaMs));
}

} // namespace kvo::impressao
