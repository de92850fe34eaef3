#pragma once

#include <memory>
#include <typeindex>
#include <vector>

namespace kvo {

// Owner of the shared instances (data modules, services, screens) created by
// each class's gerarInstance(). They live until the module ends and are
// freed in reverse order of creation. A test creates its own Module, so no
// state leaks from one test to the next.
class Module {
public:
    Module();
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // The innermost live module; throws std::logic_error when there is none.
    static Module& current();

    template <class T, class... Args>
    T& instance(Args&&... args) {
        if (T* existing = find<T>())
            return *existing;
        auto created = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *created;
        m_items.push_back({std::type_index(typeid(T)), Holder(created.release(), [](void* p) { delete static_cast<T*>(p); })});
        return ref;
    }

    template <class T>
    T* find() const {
        for (const auto& item : m_items)
            if (item.type == std::type_index(typeid(T)))
                return static_cast<T*>(item.object.get());
        return nullptr;
    }

private:
    using Holder = std::unique_ptr<void, void (*)(void*)>;
    struct Item {
        std::type_index type;
        Holder object;
    };
    std::vector<Item> m_items;
    Module* m_previous;
};

} // namespace kvo
