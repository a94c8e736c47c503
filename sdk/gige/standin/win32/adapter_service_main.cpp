// A stand-in for the adapter service, never shipped: serves one request on
// "\\.\pipe\KQGE_xPipe" and one reply on "\\.\pipe\KQGE_xPipe_SW".
//
//   kqge_adapter_service <process id> <count field> <records> <ready event>
//                        [<first handle>]
//
// It creates both pipes, sets the named ready event, and reads the request:
// a 4096-byte message whose first four bytes are the expected process id.
// Only then it replies with the count field and that many records (record i:
// handle <first handle> + i, by default 0xFFFFFF00 + i, "Adapter i",
// 10.0.i.1/255.255.255.0, MAC 02-..-i).
// Exit code 0 when it replied, 2 for a wrong request, 1 for a pipe failure.
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "adapter_reply.h"
#include "kernel_handle.h"
#include "le_bytes.h"

namespace {

using kqge::KernelHandle;

constexpr DWORD kMessageBytes = 4096;

KernelHandle ServerPipe(const wchar_t* name) {
    return KernelHandle(CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, kMessageBytes,
                                         kMessageBytes, 0, nullptr));
}

bool Connect(HANDLE pipe) { return ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED; }

std::vector<std::uint8_t> Reply(std::uint32_t countField, std::uint32_t records, std::uint32_t firstHandle) {
    std::vector<std::uint8_t> reply(4 + records * kqge::kAdapterRecordBytes, 0);
    vz::PutLE32(reply, 0, countField);
    for (std::uint32_t i = 0; i < records; ++i) {
        const std::span<std::uint8_t> r = std::span(reply).subspan(4 + i * kqge::kAdapterRecordBytes);
        vz::PutLE32(r, 0, firstHandle + i);
        const std::wstring name = L"Adapter " + std::to_wstring(i);
        const std::wstring description = L"Loopback adapter " + std::to_wstring(i);
        for (std::size_t c = 0; c < name.size(); ++c) vz::PutLE16(r, 8 + 2 * c, static_cast<std::uint16_t>(name[c]));
        for (std::size_t c = 0; c < description.size(); ++c) {
            vz::PutLE16(r, 264 + 2 * c, static_cast<std::uint16_t>(description[c]));
        }
        const std::uint8_t address[] = {10, 0, static_cast<std::uint8_t>(i), 1, 255, 255, 255, 0, 2, 0, 0,
                                        0,  0, static_cast<std::uint8_t>(i)};
        std::copy(std::begin(address), std::end(address), r.begin() + 520);
    }
    return reply;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 && argc != 6) return 1;
    const auto expectedId = static_cast<std::uint32_t>(std::wcstoul(argv[1], nullptr, 10));
    const auto countField = static_cast<std::uint32_t>(std::wcstoul(argv[2], nullptr, 10));
    const auto records = static_cast<std::uint32_t>(std::wcstoul(argv[3], nullptr, 10));
    const auto firstHandle = argc == 6 ? static_cast<std::uint32_t>(std::wcstoul(argv[5], nullptr, 0)) : 0xFFFFFF00u;

    KernelHandle request = ServerPipe(LR"(\\.\pipe\KQGE_xPipe)");
    KernelHandle reply = ServerPipe(LR"(\\.\pipe\KQGE_xPipe_SW)");
    KernelHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]));
    if (!request || !reply || !ready) return 1;
    SetEvent(ready.Get());

    if (!Connect(request.Get())) return 1;
    std::array<std::uint8_t, kMessageBytes + 1> message{};
    DWORD read = 0;
    const bool whole = ReadFile(request.Get(), message.data(), kMessageBytes + 1, &read, nullptr);
    const bool valid = whole && read == kMessageBytes && vz::GetLE32(message, 0) == expectedId;

    if (!Connect(reply.Get())) return 1;
    if (!valid) return 2;
    const auto bytes = Reply(countField, records, firstHandle);
    DWORD written = 0;
    if (!WriteFile(reply.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return 1;
    FlushFileBuffers(reply.Get());
    return 0;
}
