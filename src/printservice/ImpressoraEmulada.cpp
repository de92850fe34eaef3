#include "printservice/ImpressoraEmulada.h"

#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace kvo::impressao {

ImpressoraEmulada::ImpressoraEmulada(quint16 porta, CodePage pagina, QString saida)
    : m_porta(porta), m_pagina(pagina), m_saida(std::move(saida)) {
    if (!escutar())
        throw std::runtime_error(QStringLiteral("Porta %1 indisponível para a impressora emulada").arg(m_porta).toStdString());
    m_thread = std::thread([this] { executar(); });
}

ImpressoraEmulada::~ImpressoraEmulada() {
    m_parar = true;
    m_thread.join();
    if (m_escuta >= 0)
        ::close(m_escuta);
}

bool ImpressoraEmulada::escutar() {
    // Non-blocking: an accept never waits for a connection that went away.
    m_escuta = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int sim = 1;
    ::setsockopt(m_escuta, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(m_porta);
    if (::bind(m_escuta, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(m_escuta, 8) != 0) {
        ::close(m_escuta);
        m_escuta = -1;
        return false;
    }
    socklen_t n = sizeof a;
    ::getsockname(m_escuta, reinterpret_cast<sockaddr*>(&a), &n);
    m_porta = ntohs(a.sin_port);
    return true;
}

void ImpressoraEmulada::setOnline(bool online) {
    std::lock_guard lock(m_mutex);
    if (online == m_online)
        return;
    m_online = online;
    if (!online && m_escuta >= 0) { // closing the listening socket makes new connections fail at once
        ::close(m_escuta);
        m_escuta = -1;
    } else if (online) {
        escutar(); // when the port is still held, the loop tries again
    }
}

QList<ImpressoraEmulada::Documento> ImpressoraEmulada::documentos() const {
    std::lock_guard lock(m_mutex);
    return m_documentos;
}

void ImpressoraEmulada::executar() {
    while (!m_parar) {
        int escuta;
        {
            std::lock_guard lock(m_mutex);
            if (m_online && m_escuta < 0)
                escutar();
            escuta = m_escuta;
        }
        if (escuta < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        pollfd p{escuta, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
            continue;
        int conexao;
        {
            std::lock_guard lock(m_mutex);
            if (escuta != m_escuta)
                continue; // went offline meanwhile
            conexao = ::accept4(escuta, nullptr, nullptr, SOCK_CLOEXEC); // a blocking socket
        }
        if (conexao < 0)
            continue;
        QByteArray bytes;
        char buf[4096];
        for (;;) {
            pollfd c{conexao, POLLIN, 0};
            if (::poll(&c, 1, 5000) <= 0)
                break; // a client that stopped sending: keep what came
            const ssize_t n = ::read(conexao, buf, sizeof buf);
            if (n <= 0)
                break;
            bytes.append(buf, n);
            for (qsizetype i; (i = bytes.indexOf(QByteArray("\x10\x04", 2))) >= 0 && i + 2 < bytes.size();) {
                const char resposta = bytes[i + 2] == 4 && m_semPapel ? char(0x72) : char(0x12);
                bytes.remove(i, 3);
                if (::send(conexao, &resposta, 1, MSG_NOSIGNAL) != 1) // the client may have gone
                    break;
            }
        }
        ::close(conexao);
        if (bytes.isEmpty())
            continue;
        Documento d{bytes, decodeFromPrinter(bytes, m_pagina), std::chrono::steady_clock::now()};
        std::lock_guard lock(m_mutex);
        if (!m_saida.isEmpty()) {
            QFile f(m_saida);
            if (f.open(QIODevice::WriteOnly | QIODevice::Append))
                f.write(d.texto.toUtf8() + "\n======== fim do documento ========\n");
        }
        m_documentos << d;
    }
}

} // namespace kvo::impressao
