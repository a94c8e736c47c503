#pragma once
// What another process holds, read from outside it: its memory, its kernel
// handles, its GDI objects and its windows.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

struct ProcessSample {
    std::uint64_t privateBytes = 0;  // PROCESS_MEMORY_COUNTERS_EX::PrivateUsage
    std::uint64_t workingSetBytes = 0;
    // Under Wine: the anonymous resident memory of the process's Linux
    // side (RssAnon of /proc/PID/status), where its heaps, stacks and
    // bitmaps live.
    std::optional<std::uint64_t> anonymousBytes;
    DWORD handleCount = 0;                // GetProcessHandleCount
    std::optional<DWORD> kernelHandles;  // its entries in the system's handle list
    DWORD guiGdi = 0;                    // GetGuiResources(GR_GDIOBJECTS)
    DWORD guiUser = 0;                   // GetGuiResources(GR_USEROBJECTS)
    std::optional<DWORD> gdiObjects;     // live entries of its GDI handle table
    DWORD windows = 0;                   // top-level, child and message-only windows
};

// `process` needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ;
// `linuxStatus` is the /proc status file of its Linux process under Wine,
// empty elsewhere.
ProcessSample SampleProcess(HANDLE process, DWORD processId, const std::wstring& linuxStatus);

// Under Wine, the /proc status file (as a Z: path) of the Linux process
// whose command line starts with `program`; empty when there is none.
std::wstring FindLinuxStatusFile(const std::wstring& program);

// The GDI objects the process owns, counted in the handle table the system
// shares with it (the table its environment block names); none when the
// table cannot be read.
std::optional<DWORD> CountGdiObjects(HANDLE process, DWORD processId);
