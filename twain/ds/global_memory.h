#pragma once
// Containers and images in movable global memory, as TWAIN applications
// free and lock them.

#include <windows.h>

#include "handle_memory.h"

namespace twain::ds {

class GlobalMemory : public HandleMemory {
public:
    TW_HANDLE Allocate(std::size_t size) override { return GlobalAlloc(GHND, size); }
    std::span<std::uint8_t> Lock(TW_HANDLE handle) override {
        auto* bytes = static_cast<std::uint8_t*>(GlobalLock(handle));
        if (bytes == nullptr) return {};
        return {bytes, GlobalSize(handle)};
    }
    void Unlock(TW_HANDLE handle) override { GlobalUnlock(handle); }
    void Free(TW_HANDLE handle) override { GlobalFree(handle); }
};

}  // namespace twain::ds
