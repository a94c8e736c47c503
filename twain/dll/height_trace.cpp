#include "height_trace.h"

#include <cstdint>
#include <cstdio>

namespace twain::win32 {

void AppendHeightTrace(HANDLE device) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char key[64];
    std::snprintf(key, sizeof key, "%2d-%2d-%2d-%3d = 0x%x ", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(device)));
    WritePrivateProfileStringA(kTraceSection, key, "MV_RES_Y--1", kTraceFile);
}

}  // namespace twain::win32
