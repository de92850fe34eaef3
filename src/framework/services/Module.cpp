#include "framework/services/Module.h"

#include <stdexcept>

namespace kvo {

namespace {
Module*& currentModule() {
    static Module* module = nullptr;
    return module;
}
} // namespace

Module::Module() : m_previous(currentModule()) { currentModule() = this; }

Module::~Module() {
    while (!m_items.empty())
        m_items.pop_back(); // reverse order of creation
    currentModule() = m_previous;
}

Module& Module::current() {
    if (!currentModule())
        throw std::logic_error("no kvo::Module is alive");
    return *currentModule();
}

} // namespace kvo
