#pragma once

#include "devices/CodePage.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace kvo::impressao {

// A network receipt printer on a loopback port, for tests and the demo: it
// takes one connection at a time and keeps each connection's bytes as one
// document, decoded from its code page. Offline it refuses connections (a
// document being received is still finished, as a printer's buffer would).
class ImpressoraEmulada {
public:
    struct Documento {
        QByteArray bytes;
        QString texto;
        std::chrono::steady_clock::time_point recebido;
    };

    // Port 0 picks a free port. `saida`, when given, gets every document's
    // text appended, followed by a separator line.
    explicit ImpressoraEmulada(quint16 porta = 0, CodePage pagina = CodePage::Cp850, QString saida = {});
    ~ImpressoraEmulada();

    quint16 porta() const { return m_porta; }
    void setOnline(bool online);
    bool online() const { return m_online; }
    QList<Documento> documentos() const;

private:
    void escutar();
    void executar();

    quint16 m_porta;
    CodePage m_pagina;
    QString m_saida;
    int m_escuta = -1;
    std::atomic<bool> m_online{true}, m_parar{false};
    mutable std::mutex m_mutex;
    QList<Documento> m_documentos;
    std::thread m_thread;
};

} // namespace kvo::impressao
