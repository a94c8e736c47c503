#include "named_pipe.h"

#include <algorithm>
#include <array>

namespace kqge {

bool CxNamedPipe::Open() {
    if (pipe_) return false;
    pipe_ = KernelHandle(CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(pipe_);
}

bool CxNamedPipe::Write(std::span<const std::uint8_t> data) {
    if (!pipe_ || data.size() > kMessageBytes) return false;
    std::array<std::uint8_t, kMessageBytes> message{};
    std::ranges::copy(data, message.begin());
    DWORD written = 0;
    return WriteFile(pipe_.Get(), message.data(), kMessageBytes, &written, nullptr) && written == kMessageBytes;
}

std::optional<std::size_t> CxNamedPipe::Read(std::span<std::uint8_t> out) {
    if (!pipe_) return std::nullopt;
    const DWORD wanted = static_cast<DWORD>(std::min(out.size(), kReadBytes));
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD read = 0;
        // A message longer than 4095 bytes still hands over its first part.
        const BOOL whole = ReadFile(pipe_.Get(), out.data(), wanted, &read, nullptr);
        if (whole || GetLastError() == ERROR_MORE_DATA) return read;
        Sleep(5);
    }
    return std::nullopt;
}

}  // namespace kqge
