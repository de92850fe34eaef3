#pragma once

#include <QString>

#include <functional>

namespace kvo {

// Screens reached by name ("TfrmDav_Pesq.ChamaTela"). Each screen registers
// its opener when its library is linked in; a menu entry whose screen is not
// there yet is shown disabled instead of failing when chosen.
class ScreenRegistry {
public:
    using Opener = std::function<void()>;
    static void registrar(const QString& name, Opener opener);
    static void remover(const QString& name);
    static bool existe(const QString& name);
    // Opens the screen; false when nothing is registered under the name.
    static bool abrir(const QString& name);
};

// Refuses, telling the user, a screen that this build does not have yet
// ("A tela ... não está disponível nesta versão.").
void exigirTela(bool existe, const QString& nome);

} // namespace kvo
