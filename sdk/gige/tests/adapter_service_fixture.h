// The adapter service stand-in (kqge_adapter_service.exe, beside the test
// program) started as its own process: it serves one request for the given
// process id and replies with the given count field and records.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "kernel_handle.h"

namespace kqge::fixture {

struct Service {
    KernelHandle process;
    // Waits for the service to end; 99 when it did not.
    DWORD ExitCode() const {
        DWORD code = 99;
        WaitForSingleObject(process.Get(), 20000);
        GetExitCodeProcess(process.Get(), &code);
        return code;
    }
};

inline std::wstring BesideThisProgram(const wchar_t* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + file;
}

// Starts the service and returns once both pipes exist; its records' driver
// handles count up from `firstHandle`.
inline Service StartService(DWORD expectedId, std::uint32_t countField, std::uint32_t records,
                            std::uint32_t firstHandle = 0xFFFFFF00) {
    const std::wstring readyName = L"Local\\KQGE_service_ready_" + std::to_wstring(GetCurrentProcessId());
    KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    std::wstring command = L"\"" + BesideThisProgram(L"kqge_adapter_service.exe") + L"\" " +
                           std::to_wstring(expectedId) + L" " + std::to_wstring(countField) + L" " +
                           std::to_wstring(records) + L" " + readyName + L" " +
                           std::to_wstring(firstHandle);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    Service service;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "the service did not start: " << GetLastError();
        return service;
    }
    CloseHandle(info.hThread);
    service.process = KernelHandle(info.hProcess);
    const HANDLE waits[] = {ready.Get(), service.process.Get()};
    EXPECT_EQ(WaitForMultipleObjects(2, waits, FALSE, 20000), WAIT_OBJECT_0) << "the service did not get ready";
    return service;
}

}  // namespace kqge::fixture
