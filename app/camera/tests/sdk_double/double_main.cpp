// The double's load and unload, logged as "load", "free" (FreeLibrary
// released it) or "exit" (the process ended with it loaded), and the hooks
// of sdk_double_hooks.h.
#include <windows.h>

#include "double_library.h"

extern const int kDoubleFirstNumber;

extern "C" int WINAPI SdkDouble_SetScript(const char* text) {
    DoubleLibrary::Instance().ReplaceScript(text ? text : "");
    return 0;
}

extern "C" int WINAPI SdkDouble_DeliverFrames(int count) { return DoubleLibrary::Instance().DeliverFrames(count); }

extern "C" int WINAPI SdkDouble_WaitFrames(int total, int timeoutMs) {
    return DoubleLibrary::Instance().WaitFrames(total, static_cast<DWORD>(timeoutMs));
}

extern "C" int WINAPI SdkDouble_CopyLastFrame(unsigned char* out, int capacity, int* width, int* height, int* bits) {
    return DoubleLibrary::Instance().CopyLastFrame(out, capacity, width, height, bits);
}

extern "C" int WINAPI SdkDouble_WaitCompletions(int total, int timeoutMs) {
    return DoubleLibrary::Instance().WaitCompletions(total, static_cast<DWORD>(timeoutMs));
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DoubleLibrary::Instance().SetModule(instance);
        DoubleLibrary::Instance().SetFirstNumber(kDoubleFirstNumber);
        DoubleLibrary::Instance().Log("load");
    } else if (reason == DLL_PROCESS_DETACH) {
        if (!reserved) {
            // Views and completions keep the library loaded while they run,
            // so none is left here; devices the caller never closed are
            // logged as "left open h<number>".
            DoubleLibrary::Instance().Shutdown();
        }
        DoubleLibrary::Instance().Log(reserved ? "exit" : "free");
    }
    return TRUE;
}
