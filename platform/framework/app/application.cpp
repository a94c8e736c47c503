#include "application.h"

namespace {
CApplication* g_application = nullptr;

// Messages that do not change what commands can do: after them the idle
// update need not run again.
bool LeavesCommandsAsTheyWere(const MSG& msg) {
    return msg.message == WM_PAINT || msg.message == WM_TIMER || msg.message == 0x0118 /* caret blink */;
}
}  // namespace

CApplication::CApplication() { g_application = this; }

CApplication::~CApplication() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

CApplication* GetApplication() { return g_application; }

int CApplication::Main(HINSTANCE instance, const wchar_t* commandLine) {
    m_instance = instance;
    m_commandLine = commandLine ? commandLine : L"";
    if (InitInstance()) {
        m_exitCode = Run();
    }
    return ExitInstance();
}

int CApplication::ExitInstance() { return m_exitCode; }

int CApplication::Run() {
    bool idle = true;
    MSG msg{};
    for (;;) {
        if (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            OnIdle();
            idle = false;
        }
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (got == -1) {
            return -1;
        }
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!LeavesCommandsAsTheyWere(msg)) {
            idle = true;
        }
    }
}

void CApplication::OnIdle() {
    if (m_idleUpdate) {
        m_idleUpdate->UpdateCommandStates();
    }
}
