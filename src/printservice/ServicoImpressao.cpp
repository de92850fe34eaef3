#include "printservice/ServicoImpressao.h"

#include "framework/db/Database.h"
#include "printservice/FonteFila.h"
#include "printservice/FontePasta.h"
#include "printservice/PrinterBackend.h"

#include <QDateTime>
#include <QElapsedTimer>


namespace kvo::impressao {

ServicoImpressao::ServicoImpressao(ConfigImpressao cfg, std::function<std::unique_ptr<Database>()> abrirBanco,
                                   std::function<void(const QString&)> log)
    : m_cfg(std::move(cfg)), m_abrirBanco(std::move(abrirBanco)), m_log(std::move(log)) {}

ServicoImpressao::~ServicoImpressao() { parar(); }

void ServicoImpressao::iniciar() {
    for (const EstacaoServico& e : m_cfg.estacoes) {
        if (!e.pasta.isEmpty())
            m_threads.emplace_back([this, &e] { trabalhar(e, QStringLiteral("pasta")); });
        if (!e.centralizador.isEmpty())
            m_threads.emplace_back([this, &e] { trabalhar(e, QStringLiteral("fila")); });
    }
}

void ServicoImpressao::parar() {
    {
        std::lock_guard lock(m_mutex);
        m_parar = true;
    }
    m_acordar.notify_all();
    for (std::thread& t : m_threads)
        if (t.joinable())
            t.join();
    m_threads.clear();
}

bool ServicoImpressao::dormir(int ms) {
    std::unique_lock lock(m_mutex);
    m_acordar.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_parar.load(); });
    return !m_parar;
}

void ServicoImpressao::trabalhar(const EstacaoServico& estacao, const QString& origem) {
    const QString quem = QStringLiteral("[%1/%2] ").arg(estacao.nome, origem);
    const auto primaria = criarImpressora(estacao.impressora, m_cfg.timeoutMs, estacao.confirmar);
    const auto reserva =
        estacao.reserva.isEmpty() ? nullptr : criarImpressora(estacao.reserva, m_cfg.timeoutMs, estacao.confirmarReserva);
    std::unique_ptr<Database> db;
    std::unique_ptr<FonteTickets> fonte;
    int falhasSeguidas = 0;
    QElapsedTimer primariaFalhando, desdeRecuperacao, desdeSondagem;

    while (!m_parar) {
        try {
            if (!fonte) {
                if (origem == u"fila") {
                    db = m_abrirBanco();
                    fonte = std::make_unique<FonteFila>(*db, estacao.centralizador, m_cfg.instancia,
                                                        m_cfg.expiraReivindicacaoSegundos);
                } else {
                    fonte = std::make_unique<FontePasta>(estacao.pasta, m_cfg.instancia, m_cfg.expiraReivindicacaoSegundos);
                }
                fonte->recuperar();
                desdeRecuperacao.start();
                m_log(quem + QStringLiteral("atendendo %1 em %2").arg(origem == u"fila" ? estacao.centralizador : estacao.pasta,
                                                                      estacao.impressora));
            }
            if (desdeRecuperacao.elapsed() > 10000) { // claims of instances that stopped
                fonte->recuperar();
                desdeRecuperacao.restart();
            }
            const std::optional<Ticket> t = fonte->reivindicar();
            if (!t) {
                dormir(m_cfg.intervaloMs);
                continue;
            }
            const int limite = estacao.reservaAposSegundos;
            const bool primariaCaida = primariaFalhando.isValid() && primariaFalhando.elapsed() >= qint64(limite) * 1000;
            const bool sondar = !desdeSondagem.isValid() || desdeSondagem.elapsed() >= m_cfg.tentativaMaximaMs;
            const bool ticketAtrasado = t->falhandoHaSegundos >= limite;
            // With the primary down, a fresh ticket now and then tries it again.
            const bool usarReserva = reserva && (ticketAtrasado || (primariaCaida && !sondar));
            Impressora& impressora = usarReserva ? *reserva : *primaria;
            const CodePage pagina = usarReserva ? estacao.codePageReserva : estacao.codePage;
            fonte->enviando(*t);
            try {
                if (!usarReserva)
                    desdeSondagem.restart();
                impressora.enviar(bytesParaImpressora(*t, pagina));
            } catch (const FalhaEnvio& f) {
                fonte->falhou(*t, f.mensagem(), f.incerto());
                if (!usarReserva && !primariaFalhando.isValid())
                    primariaFalhando.start();
                ++falhasSeguidas;
                const int espera = esperaAposFalhas(m_cfg, falhasSeguidas);
                m_log(quem + QStringLiteral("%1 não impresso (tentativa %2%3): %4; nova tentativa em %5 ms")
                                 .arg(t->id)
                                 .arg(t->tentativas + 1)
                                 .arg(f.incerto() ? QStringLiteral(", será reimpresso") : QString(), f.mensagem())
                                 .arg(espera));
                dormir(espera);
                continue;
            }
            fonte->impresso(*t, impressora.descricao());
            if (!usarReserva)
                primariaFalhando.invalidate();
            falhasSeguidas = 0;
            m_log(quem + QStringLiteral("%1 impresso em %2%3").arg(t->id, impressora.descricao(),
                                                                    t->reimpressao ? QStringLiteral(" (REIMPRESSÃO)") : QString()));
        } catch (const std::exception& e) {
            // The database went away or a folder is unreadable: start over.
            m_log(quem + QStringLiteral("erro: %1").arg(QString::fromUtf8(e.what())));
            fonte.reset();
            db.reset();
            dormir(std::max(m_cfg.tentativaInicialMs, 1000));
        }
    }
}

std::function<void(const QString&)> logEm(QTextStream& saida) {
    auto mutex = std::make_shared<std::mutex>();
    return [&saida, mutex](const QString& linha) {
        std::lock_guard lock(*mutex);
        saida << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")) << linha << Qt::endl;
    };
}

} // namespace kvo::impressao
