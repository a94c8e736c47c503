// `CxNamedPipe`: the client end of one of the adapter service's named pipes.
// Every message written is 4096 bytes; a read takes at most 4095.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "kernel_handle.h"

namespace kqge {

class CxNamedPipe {
public:
    static constexpr std::size_t kMessageBytes = 4096;
    static constexpr std::size_t kReadBytes = 4095;
    static constexpr int kReadAttempts = 50;

    // `mode` (1 or 2) and its value are kept, never interpreted.
    CxNamedPipe(std::wstring name, std::int32_t mode, std::uint32_t modeValue)
        : name_(std::move(name)), mode_(mode), modeValue_(modeValue) {}
    CxNamedPipe(const CxNamedPipe&) = delete;
    CxNamedPipe& operator=(const CxNamedPipe&) = delete;
    virtual ~CxNamedPipe() = default;

    // Opens the existing pipe for all access, unshared; false when it fails
    // or the pipe is already open.
    bool Open();
    // `data` (at most 4096 bytes) at the start of a zeroed message; true
    // only when all 4096 bytes were written.
    bool Write(std::span<const std::uint8_t> data);
    // Up to 50 reads 5 ms apart until one succeeds; the bytes read (at most
    // 4095) into `out`, or empty when the pipe is not open or all failed.
    std::optional<std::size_t> Read(std::span<std::uint8_t> out);

private:
    std::wstring name_;
    std::int32_t mode_;
    std::uint32_t modeValue_;
    KernelHandle pipe_;
};

}  // namespace kqge
