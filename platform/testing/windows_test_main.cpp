// The main of every Windows test program. Test programs run side by side in
// one Wine session, and the program keeps state under the temporary folder
// (the history steps of each controller, among others) that two processes
// must never share: each test process gets a temporary folder of its own.
// TMP and TEMP point into it, so the programs a test starts use it too.
// Its first and last lines go to stderr unbuffered (stdout is buffered when
// it is a file), and so does a crash, so a failed run always says how far
// the process got.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::filesystem::path MakePrivateTempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    const std::filesystem::path parent = length > 0 && length <= MAX_PATH ? base : L"C:\\windows\\temp";
    const std::filesystem::path folder = parent / (L"vizcam-test-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);  // left by an earlier process with this id
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return {};
    }
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    return folder;
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    std::fprintf(stderr, "test process %lu: exception 0x%08lx at %p\n", GetCurrentProcessId(), record->ExceptionCode,
                 record->ExceptionAddress);
    std::fflush(stdout);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(&ReportCrash);
    const std::filesystem::path temp = MakePrivateTempFolder();
    if (temp.empty()) {
        std::fprintf(stderr, "test process %lu: no private temporary folder could be made\n", GetCurrentProcessId());
        return 2;
    }
    std::fprintf(stderr, "test process %lu: temporary folder %ls\n", GetCurrentProcessId(), temp.c_str());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::error_code ignored;
    std::filesystem::remove_all(temp, ignored);
    std::fprintf(stderr, "test process %lu: exit code %d\n", GetCurrentProcessId(), result);
    return result;
}
