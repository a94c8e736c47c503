#pragma once
// Ownership of a COM interface pointer: released exactly once by its owner.
#include <objbase.h>

#include <memory>

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;
