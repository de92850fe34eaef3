#pragma once

#include "printservice/ConfigImpressao.h"

#include <QTextStream>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kvo {
class Database;
}

namespace kvo::impressao {

class FonteTickets;

// The print service: one worker thread per station, so a printer that hangs
// holds up only its own station. Each worker takes the oldest waiting ticket
// of its folder or queue, sends it and records the outcome; after a failure it
// waits (growing from tentativaInicial to tentativaMaxima) and tries the same
// ticket again, and once the station's printer has been failing for
// reservaApos seconds its tickets go to the fallback printer (the primary is
// tried again every tentativaMaxima).
class ServicoImpressao {
public:
    // `abrirBanco` opens a connection for a worker serving a queue (called in
    // that worker's thread); `log` gets one line per event.
    ServicoImpressao(ConfigImpressao cfg, std::function<std::unique_ptr<Database>()> abrirBanco,
                     std::function<void(const QString&)> log);
    ~ServicoImpressao();
    void iniciar();
    void parar(); // waits for the workers; a ticket being sent is finished first

private:
    void trabalhar(const EstacaoServico& estacao, const QString& origem);
    bool dormir(int ms); // false when stopping

    ConfigImpressao m_cfg;
    std::function<std::unique_ptr<Database>()> m_abrirBanco;
    std::function<void(const QString&)> m_log;
    std::atomic<bool> m_parar{false};
    std::mutex m_mutex;
    std::condition_variable m_acordar;
    std::vector<std::thread> m_threads;
};

// A log line "aaaa-mm-dd hh:mm:ss.zzz texto" on the stream, one writer at a time.
std::function<void(const QString&)> logEm(QTextStream& saida);

} // namespace kvo::impressao
