// The cross-process control of the simulated-camera build (KQSim.h): when
// KQSIM_CONTROL names a control, a thread of this DLL serves its commands
// for the life of the process through the same KQSim_* functions an
// in-process caller uses.

#include <windows.h>

#include <cwctype>
#include <memory>
#include <string>
#include <type_traits>

#include "KQSim.h"

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct ViewUnmapper {
    void operator()(void* view) const { UnmapViewOfFile(view); }
};

constexpr std::size_t kMaxNameChars = 64;

// The control's name, empty when none is set or it is not a plain name.
std::wstring ControlName() {
    wchar_t value[kMaxNameChars + 2] = {};
    const DWORD n = GetEnvironmentVariableW(L"KQSIM_CONTROL", value, static_cast<DWORD>(std::size(value)));
    if (n == 0 || n > kMaxNameChars) return {};
    for (DWORD i = 0; i < n; ++i) {
        if (!std::iswalnum(value[i]) && value[i] != L'_' && value[i] != L'-') return {};
    }
    return std::wstring(value, n);
}

struct Control {
    OwnedHandle mapping;
    std::unique_ptr<void, ViewUnmapper> view;
    OwnedHandle request;
    OwnedHandle done;

    KQSIM_CONTROL_BLOCK* Block() const { return static_cast<KQSIM_CONTROL_BLOCK*>(view.get()); }
};

int Carry(const KQSIM_CONTROL_BLOCK& command) {
    switch (command.command) {
    case KQSIM_CONTROL_UNPLUG: return KQSim_Unplug(command.camera);
    case KQSIM_CONTROL_REPLUG: return KQSim_Replug(command.camera);
    default: return KQSIM_BAD_ARGUMENT;
    }
}

DWORD WINAPI Serve(void* parameter) {
    const std::unique_ptr<Control> control(static_cast<Control*>(parameter));
    while (WaitForSingleObject(control->request.get(), INFINITE) == WAIT_OBJECT_0) {
        KQSIM_CONTROL_BLOCK* block = control->Block();
        const KQSIM_CONTROL_BLOCK command = *block;
        block->result = Carry(command);
        SetEvent(control->done.get());
    }
    return 0;
}

// Runs while the DLL loads: the thread it starts waits for the loader to
// finish before it runs, and the DLL stays loaded for it.
bool StartControl() {
    const std::wstring name = ControlName();
    if (name.empty()) return false;
    auto control = std::make_unique<Control>();
    control->mapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(KQSIM_CONTROL_BLOCK), name.c_str()));
    if (!control->mapping) return false;
    control->view.reset(MapViewOfFile(control->mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(KQSIM_CONTROL_BLOCK)));
    control->request.reset(CreateEventW(nullptr, FALSE, FALSE, (name + L"_request").c_str()));
    control->done.reset(CreateEventW(nullptr, FALSE, FALSE, (name + L"_done").c_str()));
    if (!control->view || !control->request || !control->done) return false;
    HMODULE pinned = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&Serve), &pinned)) {
        return false;
    }
    const OwnedHandle thread(CreateThread(nullptr, 0, &Serve, control.get(), 0, nullptr));
    if (!thread) return false;
    control.release();  // the thread owns it
    return true;
}

const bool controlServed = StartControl();

}  // namespace
