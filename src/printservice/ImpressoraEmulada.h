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
// It answers the real-time status requests (DLE EOT n) as they arrive and
// leaves them out of the document.
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
    // Answers the paper status request (DLE EOT 4) with "paper end".
    void setSemPapel(bool semPapel) { m_semPapel = semPapel; }
    QList<Documento> documentos() const;

private:
    bool escutar(); // under m_mutex once the thread runs
    void executar();

    quint16 m_porta;
    CodePage m_pagina;
    QString m_saida;
    int m_escuta = -1;
    std::atomic<bool> m_online{true}, m_parar{false}, m_semPapel{false};
    mutable std::mutex m_mutex;
    QList<Documento> m_documentos;
    std::thread m_thread;
};

} // namespace kvo::impressao
