#pragma once

#include "framework/ui/ChamadaExterna.h"

#include <QString>

#include <functional>

namespace kvo {

// The bodies of the module's exported entries. Nothing thrown leaves them: a
// refusal the user already saw ends the entry, any other failure is shown as
// the error dialog; the entry then returns false.
namespace entradas {

bool protegido(const std::function<bool()>& corpo);
// Opens a single screen by name; one this build does not have yet is
// reported to the user ("... não está disponível nesta versão.").
bool abrirTela(const QString& tela);
// Keeps what the caller handed over for the screen, then opens it.
bool abrirTelaCom(const QString& tela, const ChamadaExterna& chamada);

} // namespace entradas
} // namespace kvo
