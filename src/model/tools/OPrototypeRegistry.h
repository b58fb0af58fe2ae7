// Prototypes per kind, for tools and data outputs: stored objects are decoded into the
// class registered for their kind, and new objects are created from the prototype.
// T needs `CreateNew()` and an overload `int KindOf(const T&)`.
#pragma once

#include <map>
#include <memory>
#include <vector>

template <class T>
class OPrototypeRegistry {
  public:
    OPrototypeRegistry() = default;
    OPrototypeRegistry(const OPrototypeRegistry& other) { *this = other; }
    OPrototypeRegistry& operator=(const OPrototypeRegistry& other) {
        if (this == &other) return *this;
        m_prototypes.clear();
        for (const auto& [kind, proto] : other.m_prototypes)
            m_prototypes[kind] = proto->CreateNew();
        return *this;
    }

    // Keeps `instance` as the prototype of its kind (replacing an earlier one).
    void RegisterKind(std::unique_ptr<T> instance) {
        if (!instance) return;
        const int kind = KindOf(*instance);
        m_prototypes[kind] = std::move(instance);
    }
    bool bHasKind(int kind) const { return m_prototypes.count(kind) != 0; }
    const T* opGetPrototype(int kind) const {
        const auto it = m_prototypes.find(kind);
        return it == m_prototypes.end() ? nullptr : it->second.get();
    }
    // A new object of the kind, or nullptr when the kind is not registered.
    std::unique_ptr<T> Create(int kind) const {
        const T* proto = opGetPrototype(kind);
        return proto ? proto->CreateNew() : nullptr;
    }
    // Registered kinds in registration-independent ascending order.
    std::vector<int> Kinds() const {
        std::vector<int> kinds;
        for (const auto& entry : m_prototypes)
            kinds.push_back(entry.first);
        return kinds;
    }
    void Clear() { m_prototypes.clear(); }

  private:
    std::map<int, std::unique_ptr<T>> m_prototypes;
};
