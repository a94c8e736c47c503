#pragma once
// The memory handles of TWAIN containers and native images: global memory
// on Windows, a table of blocks in the native tests and the fuzzer. The
// source creates, locks and frees handles only through this seam.

#include <cstddef>
#include <cstdint>
#include <span>

#include "twain_protocol.h"

namespace twain {

class HandleMemory {
public:
    virtual ~HandleMemory() = default;
    // A zero-filled block of size bytes, or null.
    virtual TW_HANDLE Allocate(std::size_t size) = 0;
    // The block's bytes while locked; empty for a handle it does not know.
    virtual std::span<std::uint8_t> Lock(TW_HANDLE handle) = 0;
    virtual void Unlock(TW_HANDLE handle) = 0;
    virtual void Free(TW_HANDLE handle) = 0;
};

// Locks a handle for the life of the object.
class LockedHandle {
public:
    LockedHandle(HandleMemory& memory, TW_HANDLE handle)
        : memory_(memory), handle_(handle), bytes_(handle ? memory.Lock(handle) : std::span<std::uint8_t>{}) {}
    ~LockedHandle() {
        if (!bytes_.empty()) memory_.Unlock(handle_);
    }
    LockedHandle(const LockedHandle&) = delete;
    LockedHandle& operator=(const LockedHandle&) = delete;
    std::span<std::uint8_t> Bytes() const { return bytes_; }

private:
    HandleMemory& memory_;
    TW_HANDLE handle_;
    std::span<std::uint8_t> bytes_;
};

}  // namespace twain
