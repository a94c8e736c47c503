// The stand-in build of KQGEu.dll, loaded by full path as a client loads the
// library, the exports the tests call bound by name; a missing export fails
// the test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "KQGEu.h"

namespace kqge::fixture {

#define KQGE_STANDIN_EXPORTS(X)                                                                                     \
    X(Initialize)                                                                                                   \
    X(UnInitialize)                                                                                                 \
    X(GetCameraCount) X(GetCameraType) X(GetCameraPort) X(GetCameraInfo) X(InitCamera) X(UnInitCamera) X(LiveStart) \
        X(LiveStop) X(SetResolution) X(SetFrameCallBack) X(GetFrameToImage) X(SetColorMode) X(CaptureStart)         \
            X(CaptureStop) X(UpdateDeviceProgram) X(ReadRegister) X(WriterRegister) X(GetNICFrameRate)      \
                X(GetCameraFrameRate) X(SetAviCompressor)

struct StandInExports {
    StandInExports() : module(LoadLibraryW(KQGE_STANDIN_DLL_PATH)) {
#define KQGE_BIND(name) Bind(name, "KQGE_" #name);
        KQGE_STANDIN_EXPORTS(KQGE_BIND)
#undef KQGE_BIND
    }
    bool Bound() const {
#define KQGE_IS_BOUND(name) &&name != nullptr
        return module != nullptr KQGE_STANDIN_EXPORTS(KQGE_IS_BOUND);
#undef KQGE_IS_BOUND
    }

    HMODULE module;
#define KQGE_ENTRY(name) decltype(&KQGE_##name) name = nullptr;
    KQGE_STANDIN_EXPORTS(KQGE_ENTRY)
#undef KQGE_ENTRY

private:
    template <class F>
    void Bind(F& entry, const char* name) {
        entry = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
        if (!entry) ADD_FAILURE() << name << " is not exported by " << std::filesystem::path(KQGE_STANDIN_DLL_PATH);
    }
};

// One binding for the whole test program.
inline StandInExports& StandIn() {
    static StandInExports exports;
    return exports;
}

}  // namespace kqge::fixture
