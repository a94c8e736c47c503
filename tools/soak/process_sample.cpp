#include "process_sample.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// One entry of the GDI handle table (64-bit layout): the object's kernel
// address, its owner's process id, its uniqueness bits, type and flags, and
// the user-mode pointer. A free entry has type 0.
#pragma pack(push, 1)
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint16_t ownerProcessId;
    std::uint16_t ownerLock;
    std::uint8_t extendedType;  // bit 7: a stock object
    std::uint8_t generation;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr std::size_t kGdiTableEntries = 0x10000;
// GdiSharedHandleTable in the 64-bit process environment block.
constexpr std::size_t kPebGdiTableOffset = 0xF8;

struct WindowCount {
    DWORD processId;
    DWORD count = 0;
};

BOOL CALLBACK CountChild(HWND hwnd, LPARAM param) {
    auto* count = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == count->processId) ++count->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM param) {
    CountChild(hwnd, param);
    EnumChildWindows(hwnd, &CountChild, param);
    return TRUE;
}

DWORD CountWindows(DWORD processId) {
    WindowCount count{processId};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not on the desktop's list.
    for (HWND hwnd = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd != nullptr;
         hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr)) {
        CountTopLevel(hwnd, reinterpret_cast<LPARAM>(&count));
    }
    return count.count;
}

// SYSTEM_HANDLE_INFORMATION: a count, then one entry per open handle.
struct SystemHandleEntry {
    ULONG ownerProcessId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleList {
    ULONG count;
    SystemHandleEntry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

using QuerySystem = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

std::optional<DWORD> CountKernelHandles(DWORD processId) {
    static const auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return std::nullopt;
    static std::vector<std::uint8_t> buffer(1 << 20);
    NTSTATUS status = 0;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), &needed)) ==
           kInfoLengthMismatch) {
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    }
    if (status != 0) return std::nullopt;
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof(count));
    const std::size_t first = offsetof(SystemHandleList, entries);
    if (first + std::size_t(count) * sizeof(SystemHandleEntry) > buffer.size()) return std::nullopt;
    DWORD owned = 0;
    for (ULONG i = 0; i < count; ++i) {
        SystemHandleEntry entry{};
        std::memcpy(&entry, buffer.data() + first + i * sizeof(SystemHandleEntry), sizeof(entry));
        if (entry.ownerProcessId == processId) ++owned;
    }
    return owned;
}

std::optional<std::uint64_t> ReadAnonymousBytes(const std::wstring& statusFile) {
    if (statusFile.empty()) return std::nullopt;
    std::ifstream file{std::filesystem::path(statusFile)};
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("RssAnon:", 0) == 0) {
            std::istringstream value(line.substr(8));
            std::uint64_t kib = 0;
            if (value >> kib) return kib * 1024;
        }
    }
    return std::nullopt;
}

}  // namespace

std::wstring FindLinuxStatusFile(const std::wstring& program) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(L"Z:\\proc", error)) {
        std::ifstream file(entry.path() / L"cmdline", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // Wine shows the Windows command line, quoted or not.
        std::erase(text, '"');
        const int chars = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
        std::wstring wide(std::size_t(chars), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), chars);
        if (wide.size() >= program.size() && _wcsnicmp(wide.c_str(), program.c_str(), program.size()) == 0) {
            return (entry.path() / L"status").wstring();
        }
    }
    return {};
}

std::optional<DWORD> CountGdiObjects(HANDLE process, DWORD processId) {
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) {
        return std::nullopt;
    }
    std::uint64_t table = 0;
    SIZE_T read = 0;
    const auto* pebTable = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress) + kPebGdiTableOffset;
    if (!ReadProcessMemory(process, pebTable, &table, sizeof(table), &read) || read != sizeof(table) || table == 0) {
        return std::nullopt;
    }
    static std::vector<GdiHandleEntry> entries(kGdiTableEntries);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), &read) ||
        read != entries.size() * sizeof(GdiHandleEntry)) {
        return std::nullopt;
    }
    DWORD count = 0;
    for (const GdiHandleEntry& entry : entries) {
        const bool stock = (entry.extendedType & 0x80) != 0;
        // The table is the process's own under Wine (owner 0), shared by
        // every process on Windows.
        const bool owned = entry.ownerProcessId == 0 || entry.ownerProcessId == (processId & 0xFFFF);
        if (entry.type != 0 && !stock && owned) ++count;
    }
    return count;
}

ProcessSample SampleProcess(HANDLE process, DWORD processId, const std::wstring& linuxStatus) {
    ProcessSample sample;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        sample.privateBytes = memory.PrivateUsage;
        sample.workingSetBytes = memory.WorkingSetSize;
    }
    sample.anonymousBytes = ReadAnonymousBytes(linuxStatus);
    GetProcessHandleCount(process, &sample.handleCount);
    sample.kernelHandles = CountKernelHandles(processId);
    sample.guiGdi = GetGuiResources(process, GR_GDIOBJECTS);
    sample.guiUser = GetGuiResources(process, GR_USEROBJECTS);
    sample.gdiObjects = CountGdiObjects(process, processId);
    sample.windows = CountWindows(processId);
    return sample;
}
