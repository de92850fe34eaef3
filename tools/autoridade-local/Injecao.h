#pragma once

#include <QString>

namespace kvo::autoridade {

// A planned misbehaviour for tests, read from "injecao.json" in the state
// folder at every request: a list of rules, the first matching one applies
// and is used up after `vezes` requests (-1: never used up).
//   {"servico": "NFeAutorizacao4" | "*", "vezes": 1, "atrasoMs": 0,
//    "acao": "processar" | "derrubar" | "derrubarAntes" | "responder",
//    "cStat": 656, "xMotivo": "...", "cStatEvento": 136, "xMotivoEvento": "...", "digVal": "...",
//    "fechar": false}
// derrubar: the request is processed, then the connection is closed without
// an answer; derrubarAntes: closed without processing; responder: answered
// with cStat/xMotivo without processing; cStatEvento 136 registers events as
// not linked to the NF-e; xMotivoEvento is the reason of a registered event; digVal replaces the digest in authorisation protocols;
// fechar: after the answer the kept connection is closed unannounced, as a server's idle time-out does.
struct Injecao {
    enum class Acao { Processar, Derrubar, DerrubarAntes, Responder };
    Acao acao = Acao::Processar;
    int atrasoMs = 0;
    int cStat = 0;
    QString xMotivo;
    int cStatEvento = 0;
    QString xMotivoEvento;
    QString digVal;
    bool fechar = false;
};

// The rule for the service, consuming it; a default (plain processing) when none.
Injecao proximaInjecao(const QString& pasta, const QString& servico);

} // namespace kvo::autoridade
