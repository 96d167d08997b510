#pragma once

#include <memory>
#include <new>
#include <utility>

namespace vss {

// A new T, built from Args, that Load(T&) accepted; null when Load refuses it
// or memory runs out on the way, so a slot never holds a half-loaded object.
template <typename T, typename Load, typename... Args>
std::unique_ptr<T> MakeLoaded(Load&& load, Args&&... args)
{
    try {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        if (!load(*object))
            return nullptr;
        return object;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace vss
