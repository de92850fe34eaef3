#include "framework/ui/ScreenRegistry.h"

#include "framework/ui/UserInterface.h"

#include <QHash>

namespace kvo {

namespace {
QHash<QString, ScreenRegistry::Opener>& openers() {
    static QHash<QString, ScreenRegistry::Opener> map;
    return map;
}
} // namespace

void ScreenRegistry::registrar(const QString& name, Opener opener) { openers().insert(name, std::move(opener)); }

void ScreenRegistry::remover(const QString& name) { openers().remove(name); }

bool ScreenRegistry::existe(const QString& name) { return openers().contains(name); }

bool ScreenRegistry::abrir(const QString& name) {
    const auto it = openers().constFind(name);
    if (it == openers().cend())
        return false;
    (*it)();
    return true;
}

void exigirTela(bool existe, const QString& nome) {
    if (!existe)
        Error(QStringLiteral("A tela \"%1\" não está disponível nesta versão.").arg(nome));
}

} // namespace kvo
